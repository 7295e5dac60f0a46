#pragma once

#include "FileSystem.h"

#include <functional>
#include <optional>
#include <string>

namespace marlo {

// The host's folder operations the merged view needs beside the file layer.
struct StoreFolders {
    std::function<bool(const std::string& folder)> exists;
    // Makes the folder and every missing folder above it.
    std::function<Status(const std::string& folder)> make;
};

// The files of the installed folder as a virtualised main program sees them
// (see VirtualStore.h), over the host's file layer. Every path in the
// installed folder, or in its VirtualStore folder, names one file of the
// merged view:
//  - a read (existence, a copy's source, the in-use checks) takes the
//    VirtualStore copy where there is one, else the installed file;
//  - every change is made in the VirtualStore folder, which is made when
//    missing; the installed files are never changed;
//  - a move, set-aside or delete of a name the installed folder holds is
//    refused before any change: the installed file cannot go, and where a
//    VirtualStore copy hides it, removing the copy would bring it back into
//    the main program's view;
//  - a backup of a file only installed is a copy, never a second name.
// ApplicationFolder() stays the installed folder, where the main program is
// started. Paths elsewhere pass through unchanged.
class VirtualStoreFiles : public FileSystem {
public:
    VirtualStoreFiles(FileSystem& host, std::string installed, std::string store,
                      StoreFolders folders);

    std::string ApplicationFolder() override { return host_.ApplicationFolder(); }
    // The VirtualStore folder is held for the installed one: it is where
    // the commands change files.
    Result<std::unique_ptr<FolderHold>> HoldFolder(const std::string& folder) override;
    Result<bool> FileExists(const FilePath& path) override;
    Result<std::unique_ptr<StagedCopy>> StageCopy(const FilePath& source,
                                                  const FilePath& destination,
                                                  const CopyOptions& options) override;
    Status KeepBackup(const FilePath& file, const FilePath& backup,
                      const CopyProgress& progress) override;
    Status RemoveKeptBackup(const FilePath& backup) override;
    Status MoveFile(const FilePath& source, const FilePath& destination) override;
    Result<bool> SeparateBackup(const FilePath& file, const FilePath& backup) override;
    Status SetAside(const FilePath& path, const FilePath& aside) override;
    Status DeleteFile(const FilePath& path, bool force) override;
    // Both copies of each file: the main program may hold either.
    Status FilesNotInUse(const std::vector<FilePath>& paths) override;
    std::string NameOf(const std::string& chosenPath) override { return host_.NameOf(chosenPath); }
    std::string ChosenPath(const std::string& chosenPath) override
    {
        return host_.ChosenPath(chosenPath);
    }
    bool IsShortcut(const FilePath& path) override { return host_.IsShortcut(path); }
    Status CheckRemovable(const FilePath& path) override;
    // The VirtualStore folder where it exists, else the installed one.
    std::string ChooserFolder(const std::string& folder) override;

private:
    // The name inside the merged view, if `path` lies in it.
    std::optional<std::string> viewName(const FilePath& path) const;
    FilePath inStore(const FilePath& path, const std::string& name) const;
    FilePath installedCopy(const FilePath& path, const std::string& name) const;
    // Where a read of `path` goes.
    Result<FilePath> readFrom(const FilePath& path);
    // Where a change of `path` goes, its folder made; `refuseInstalled`
    // refuses a name the installed folder holds, for a name that must be new.
    Result<FilePath> writeTo(const FilePath& path, bool refuseInstalled);
    Result<bool> installedHas(const FilePath& path, const std::string& name);
    // A move or set-aside in the view: refused for a name the installed
    // folder holds, from where the file is read to a name in the store.
    Status renamed(const FilePath& source, const FilePath& destination,
                   Status (FileSystem::*rename)(const FilePath&, const FilePath&));
    // As Windows compares paths.
    bool samePath(const std::string& a, const std::string& b) const;

    FileSystem& host_;
    std::string installed_, store_;
    StoreFolders folders_;
};

} // namespace marlo
