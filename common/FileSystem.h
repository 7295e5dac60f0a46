#pragma once

#include "Result.h"

#include <functional>
#include <memory>
#include <string>

namespace marlo {

// The host's whole-file operations, with the semantics that the Platform
// interface promises. Paths come as the tools pass them: a path built by the
// tools is the application folder, a backslash and a member's name; any
// other path (one returned by the file chooser) is used literally.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual Result<bool> FileExists(const std::string& path) = 0;
    virtual Status CopyFile(const std::string& source, const std::string& destination,
                            bool overwrite) = 0;
    virtual Status MoveFile(const std::string& source, const std::string& destination) = 0;
    virtual Status DeleteFile(const std::string& path, bool force) = 0;
};

// Folder of the running executable, read from the host anew at every call.
std::string hostApplicationFolder();

// The host's file layer. `applicationFolder` is asked whenever a path must be
// told apart as one the tools built.
std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> applicationFolder);

} // namespace marlo
