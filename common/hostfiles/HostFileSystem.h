#pragma once

#include "FileSystem.h"

#include <functional>
#include <string>
#include <utility>

namespace marlo {

// What every host's file layer shares: the application folder, asked anew
// of its source at every call. The file operations never read it: a member
// carries the folder it was built in.
class HostFileSystem : public FileSystem {
public:
    using FolderSource = std::function<std::string()>;

    explicit HostFileSystem(FolderSource applicationFolder)
        : applicationFolder_(std::move(applicationFolder))
    {
    }

    std::string ApplicationFolder() override { return applicationFolder_(); }

private:
    FolderSource applicationFolder_;
};

} // namespace marlo
