#include "HostFilesPlatform.h"

#include <utility>

namespace marlo {

HostFilesPlatform::HostFilesPlatform(std::unique_ptr<FileSystem> files,
                                     FolderSource applicationFolder)
    : files_(std::move(files)), applicationFolder_(std::move(applicationFolder))
{
}

std::string HostFilesPlatform::ApplicationFolder()
{
    return applicationFolder_();
}

Result<bool> HostFilesPlatform::FileExists(const std::string& path)
{
    return files_->FileExists(path);
}

Status HostFilesPlatform::CopyFile(const std::string& source, const std::string& destination,
                                   bool overwrite)
{
    return files_->CopyFile(source, destination, overwrite);
}

CopyTask HostFilesPlatform::PrepareCopy(const std::string& source, const std::string& destination,
                                        bool overwrite)
{
    return [files = files_, source, destination, overwrite](const CopyProgress& progress) {
        return files->CopyFileWithProgress(source, destination, overwrite, progress);
    };
}

StageTask HostFilesPlatform::PrepareStagedCopy(const std::string& source,
                                               const std::string& destination)
{
    return [files = files_, source, destination](const CopyProgress& progress) {
        return files->StageCopy(source, destination, progress);
    };
}

Status HostFilesPlatform::KeepBackup(const std::string& file, const std::string& backup)
{
    return files_->KeepBackup(file, backup);
}

Status HostFilesPlatform::MoveFile(const std::string& source, const std::string& destination)
{
    return files_->MoveFile(source, destination);
}

Status HostFilesPlatform::DeleteFile(const std::string& path, bool force)
{
    return files_->DeleteFile(path, force);
}

Status HostFilesPlatform::FilesNotInUse(const std::vector<std::string>& paths)
{
    return files_->FilesNotInUse(paths);
}

} // namespace marlo
