#include "VirtualStoreFiles.h"

#include "FailureWords.h"
#include "MessageBox.h"
#include "VirtualStore.h"

namespace marlo {

namespace {

// The numbers Windows gives these refusals of its own.
constexpr int AccessDenied = 5;
constexpr int AlreadyExists = 183;

std::string parentOf(const std::string& path)
{
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

} // namespace

VirtualStoreFiles::VirtualStoreFiles(FileSystem& host, std::string installed, std::string store,
                                     StoreFolders folders)
    : host_(host), installed_(std::move(installed)), store_(std::move(store)),
      folders_(std::move(folders))
{
}

bool VirtualStoreFiles::samePath(const std::string& a, const std::string& b) const
{
    return insideFolder(a, b) && insideFolder(b, a);
}

std::optional<std::string> VirtualStoreFiles::viewName(const FilePath& path) const
{
    for (const std::string* folder : {&installed_, &store_}) {
        const std::string& text = path.text();
        if (insideFolder(text, *folder) && text.size() > folder->size() + 1)
            return text.substr(folder->size() + 1);
    }
    return std::nullopt;
}

FilePath VirtualStoreFiles::inStore(const FilePath& path, const std::string& name) const
{
    if (path.isMember() && samePath(path.folder(), installed_))
        return FilePath::member(store_, path.name(), path.shown());
    return FilePath::chosen(store_ + '\\' + name, path.shown());
}

FilePath VirtualStoreFiles::installedCopy(const FilePath& path, const std::string& name) const
{
    if (path.isMember() && samePath(path.folder(), installed_))
        return path;
    return FilePath::chosen(installed_ + '\\' + name, path.shown());
}

Result<bool> VirtualStoreFiles::installedHas(const FilePath& path, const std::string& name)
{
    return host_.FileExists(installedCopy(path, name));
}

Result<FilePath> VirtualStoreFiles::readFrom(const FilePath& path)
{
    const std::optional<std::string> name = viewName(path);
    if (!name)
        return path;
    const FilePath stored = inStore(path, *name);
    Result<bool> there = host_.FileExists(stored);
    if (!there)
        return there.status();
    return there.value() ? stored : installedCopy(path, *name);
}

Result<FilePath> VirtualStoreFiles::writeTo(const FilePath& path, bool refuseInstalled)
{
    const std::optional<std::string> name = viewName(path);
    if (!name)
        return path;
    if (refuseInstalled) {
        Result<bool> taken = installedHas(path, *name);
        if (!taken)
            return taken.status();
        if (taken.value())
            return Status::failure(AlreadyExists,
                                   std::string(failureWords(FileFailure::NameTaken)) +
                                       " in the installed folder " + installed_);
    }
    const FilePath stored = inStore(path, *name);
    const std::string folder = parentOf(stored.text());
    if (!folders_.exists(folder))
        if (Status made = folders_.make(folder); !made)
            return made;
    return stored;
}

Status VirtualStoreFiles::CheckRemovable(const FilePath& path)
{
    const std::optional<std::string> name = viewName(path);
    if (!name)
        return {};
    Result<bool> installed = installedHas(path, *name);
    if (!installed || !installed.value())
        return installed.status();
    Result<bool> stored = host_.FileExists(inStore(path, *name));
    if (!stored)
        return stored.status();
    const std::string program(MainProgramName);
    if (stored.value())
        return Status::failure(AccessDenied, program + " would then see instead the " +
                                                 path.shown() +
                                                 " that Windows keeps unchanged in the installed "
                                                 "folder " +
                                                 installed_);
    return Status::failure(AccessDenied, path.shown() + " is only in the installed folder " +
                                             installed_ + ", which Windows keeps unchanged for " +
                                             program);
}

Result<std::unique_ptr<FolderHold>> VirtualStoreFiles::HoldFolder(const std::string& folder)
{
    if (!samePath(folder, installed_) && !samePath(folder, store_))
        return host_.HoldFolder(folder);
    if (!folders_.exists(store_))
        if (Status made = folders_.make(store_); !made)
            return made;
    return host_.HoldFolder(store_);
}

Result<bool> VirtualStoreFiles::FileExists(const FilePath& path)
{
    Result<FilePath> from = readFrom(path);
    if (!from)
        return from.status();
    return host_.FileExists(from.value());
}

Result<std::unique_ptr<StagedCopy>> VirtualStoreFiles::StageCopy(const FilePath& source,
                                                                 const FilePath& destination,
                                                                 const CopyOptions& options)
{
    Result<FilePath> from = readFrom(source);
    if (!from)
        return from.status();
    // One file of the view under both names: the host refuses it as such.
    const std::optional<std::string> name = viewName(source), target = viewName(destination);
    if (name && target && samePath(*name, *target))
        return host_.StageCopy(from.value(), from.value(), options);
    if (!options.overwrite)
        if (Result<bool> taken = FileExists(destination); !taken || taken.value())
            return taken
                       ? Status::failure(AlreadyExists,
                                         std::string(failureWords(FileFailure::DestinationExists)))
                       : taken.status();
    Result<FilePath> to = writeTo(destination, false);
    if (!to)
        return to.status();
    return host_.StageCopy(from.value(), to.value(), options);
}

Status VirtualStoreFiles::KeepBackup(const FilePath& file, const FilePath& backup,
                                     const CopyProgress& progress)
{
    Result<FilePath> from = readFrom(file);
    if (!from)
        return from.status();
    Result<FilePath> to = writeTo(backup, true);
    if (!to)
        return to.status();
    const std::optional<std::string> name = viewName(file);
    if (!name || from.value().text() == inStore(file, *name).text())
        return host_.KeepBackup(from.value(), to.value(), progress);
    // A second name of an installed file would be a way to change it.
    Result<std::unique_ptr<StagedCopy>> staged =
        host_.StageCopy(from.value(), to.value(), {false, progress});
    if (!staged)
        return staged.status();
    return staged.value()->PlaceNew();
}

Status VirtualStoreFiles::RemoveKeptBackup(const FilePath& backup)
{
    const std::optional<std::string> name = viewName(backup);
    return host_.RemoveKeptBackup(name ? inStore(backup, *name) : backup);
}

Status VirtualStoreFiles::renamed(const FilePath& source, const FilePath& destination,
                                  Status (FileSystem::*rename)(const FilePath&, const FilePath&))
{
    if (Status removable = CheckRemovable(source); !removable)
        return removable;
    Result<FilePath> from = readFrom(source);
    if (!from)
        return from.status();
    Result<FilePath> to = writeTo(destination, true);
    if (!to)
        return to.status();
    return (host_.*rename)(from.value(), to.value());
}

Status VirtualStoreFiles::MoveFile(const FilePath& source, const FilePath& destination)
{
    return renamed(source, destination, &FileSystem::MoveFile);
}

Result<bool> VirtualStoreFiles::SeparateBackup(const FilePath& file, const FilePath& backup)
{
    const std::optional<std::string> fileName = viewName(file), backupName = viewName(backup);
    return host_.SeparateBackup(fileName ? inStore(file, *fileName) : file,
                                backupName ? inStore(backup, *backupName) : backup);
}

Status VirtualStoreFiles::SetAside(const FilePath& path, const FilePath& aside)
{
    return renamed(path, aside, &FileSystem::SetAside);
}

Status VirtualStoreFiles::DeleteFile(const FilePath& path, bool force)
{
    if (Status removable = CheckRemovable(path); !removable)
        return removable;
    Result<FilePath> from = readFrom(path);
    if (!from)
        return from.status();
    return host_.DeleteFile(from.value(), force);
}

Status VirtualStoreFiles::FilesNotInUse(const std::vector<FilePath>& paths)
{
    std::vector<FilePath> both;
    for (const FilePath& path : paths) {
        const std::optional<std::string> name = viewName(path);
        both.push_back(name ? installedCopy(path, *name) : path);
        if (name)
            both.push_back(inStore(path, *name));
    }
    return host_.FilesNotInUse(both);
}

std::string VirtualStoreFiles::ChooserFolder(const std::string& folder)
{
    if (samePath(folder, installed_) && folders_.exists(store_))
        return store_;
    return folder;
}

} // namespace marlo
