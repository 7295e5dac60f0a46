#pragma once

#include "FileSystem.h"
#include "Platform.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace marlo {

// The part of a platform that every toolkit's shares: the application folder
// and the file operations, handed to the host's file layer. The toolkit's
// platform adds the windows, message boxes and the rest.
class HostFilesPlatform : public Platform {
public:
    using FolderSource = std::function<std::string()>;

    // Tests point `applicationFolder` at a folder of their own.
    HostFilesPlatform(std::unique_ptr<FileSystem> files, FolderSource applicationFolder);

    std::string ApplicationFolder() override;
    Result<bool> FileExists(const std::string& path) override;
    Status CopyFile(const std::string& source, const std::string& destination,
                    bool overwrite) override;
    CopyTask PrepareCopy(const std::string& source, const std::string& destination,
                         bool overwrite) override;
    StageTask PrepareStagedCopy(const std::string& source, const std::string& destination) override;
    Status KeepBackup(const std::string& file, const std::string& backup) override;
    Status MoveFile(const std::string& source, const std::string& destination) override;
    Status DeleteFile(const std::string& path, bool force) override;
    Status FilesNotInUse(const std::vector<std::string>& paths) override;

private:
    // Shared with copies that run on another thread.
    std::shared_ptr<FileSystem> files_;
    FolderSource applicationFolder_;
};

} // namespace marlo
