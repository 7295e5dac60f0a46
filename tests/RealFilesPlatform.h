#pragma once

#include "FakePlatform.h"
#include "FileSystem.h"

#include <memory>

namespace marlo::test {

// The recording fake with its file operations handed to the host's real
// file layer: sequences run on a real folder with a fake clock and scripted
// answers. The application folder is the fake's `appFolder`.
class RealFilesPlatform : public FakePlatform {
public:
    explicit RealFilesPlatform(std::string folder)
        : files_(makeHostFileSystem([this] { return appFolder; }))
    {
        appFolder = std::move(folder);
    }

    Result<bool> FileExists(const std::string& path) override
    {
        if (Status s = record("FileExists " + path); !s)
            return s;
        return files_->FileExists(path);
    }
    Status CopyFile(const std::string& source, const std::string& destination,
                    bool overwrite) override
    {
        if (Status s = record("CopyFile " + source + " -> " + destination); !s)
            return s;
        return files_->CopyFile(source, destination, overwrite);
    }
    // The task copies on the real folder and records nothing, so that it
    // may run on another thread.
    CopyTask PrepareCopy(const std::string& source, const std::string& destination,
                         bool overwrite) override
    {
        if (Status s = record("CopyFile " + source + " -> " + destination); !s)
            return [s](const CopyProgress&) { return s; };
        return [files = files_, source, destination, overwrite](const CopyProgress& progress) {
            return files->CopyFileWithProgress(source, destination, overwrite, progress);
        };
    }
    StageTask PrepareStagedCopy(const std::string& source, const std::string& destination) override
    {
        using Staged = Result<std::unique_ptr<StagedCopy>>;
        if (Status s = record("StageCopy " + source + " -> " + destination); !s)
            return [s](const CopyProgress&) { return Staged(s); };
        return [files = files_, source, destination](const CopyProgress& progress) {
            return files->StageCopy(source, destination, progress);
        };
    }
    Status KeepBackup(const std::string& file, const std::string& backup) override
    {
        if (Status s = record("KeepBackup " + file + " -> " + backup); !s)
            return s;
        return files_->KeepBackup(file, backup);
    }
    Status MoveFile(const std::string& source, const std::string& destination) override
    {
        if (Status s = record("MoveFile " + source + " -> " + destination); !s)
            return s;
        return files_->MoveFile(source, destination);
    }
    Status DeleteFile(const std::string& path, bool force) override
    {
        if (Status s = record("DeleteFile " + path); !s)
            return s;
        return files_->DeleteFile(path, force);
    }

    Status FilesNotInUse(const std::vector<std::string>& paths) override
    {
        if (Status s = FakePlatform::FilesNotInUse(paths); !s)
            return s;
        return files_->FilesNotInUse(paths);
    }

private:
    std::shared_ptr<FileSystem> files_;
};

} // namespace marlo::test
