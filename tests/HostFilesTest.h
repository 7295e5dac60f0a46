#pragma once

#include "FileSystem.h"
#include "FileTestFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace marlo::test {

// The host's file layer on a fresh folder that is also its application
// folder.
class HostFilesTest : public ::testing::Test {
protected:
    FileTestFolder dir;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return dir.path(); });

    // FileExists where the test must be possible.
    bool exists(const FilePath& path)
    {
        const auto answer = files->FileExists(path);
        EXPECT_TRUE(answer.ok()) << path.text();
        return answer.ok() && answer.value();
    }
};

} // namespace marlo::test
