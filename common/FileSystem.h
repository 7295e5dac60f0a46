#pragma once

#include "Platform.h"
#include "Result.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

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
    // CopyFile that reports its progress; a cancelled copy fails and leaves
    // the destination as it was. A layer that cannot report copies plainly.
    virtual Status CopyFileWithProgress(const std::string& source, const std::string& destination,
                                        bool overwrite, const CopyProgress& /*progress*/)
    {
        return CopyFile(source, destination, overwrite);
    }
    // The first half of an overwriting CopyFile: the whole source written
    // and flushed beside the destination, refused as CopyFile refuses, but
    // not yet under the destination's name. Reports progress as
    // CopyFileWithProgress does.
    virtual Result<std::unique_ptr<StagedCopy>> StageCopy(const std::string& source,
                                                          const std::string& destination,
                                                          const CopyProgress& progress) = 0;
    // Gives `backup` the content that `file` has now without taking `file`'s
    // name away, and never replaces `backup`: a second link to the file where
    // the drive has links, else a crash-safe copy that takes the name only
    // while it is free.
    virtual Status KeepBackup(const std::string& file, const std::string& backup) = 0;
    virtual Status MoveFile(const std::string& source, const std::string& destination) = 0;
    virtual Status DeleteFile(const std::string& path, bool force) = 0;
    // Fails, naming the program, when another program holds any of the
    // files open; missing files pass.
    virtual Status FilesNotInUse(const std::vector<std::string>& paths) = 0;
};

// Folder of the running executable, read from the host anew at every call.
std::string hostApplicationFolder();

// The host's file layer. `applicationFolder` is asked whenever a path must be
// told apart as one the tools built.
std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> applicationFolder);

} // namespace marlo
