#pragma once

#include "FileSystem.h"
#include "HostFilesTest.h"

#include <gtest/gtest.h>

#include "WinSystem.h"

#include <string>
#include <vector>

namespace marlo::test {

using Names = std::vector<std::string>;

// The second program of the tests (file_helper.exe), beside the test program.
inline std::string helperProgram()
{
    return hostApplicationFolder() + "\\file_helper.exe";
}

class WinFiles : public HostFilesTest {
protected:
    DWORD attributes(const std::string& name) { return ::GetFileAttributesA((dir / name).c_str()); }
};

// A refusal because another program holds the file, with the holder's name
// where the system tells it.
inline ::testing::AssertionResult inUse(const Status& status)
{
    if (status.ok())
        return ::testing::AssertionFailure() << "succeeded";
    if (!status.error().description.starts_with("the file is in use by another program"))
        return ::testing::AssertionFailure() << status.error().description;
    return ::testing::AssertionSuccess() << status.error().description;
}

} // namespace marlo::test
