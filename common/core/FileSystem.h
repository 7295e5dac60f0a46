#pragma once

#include "FilePath.h"
#include "Result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace marlo {

// How far a copy has come. It reads its source, and where the drive's
// stamps cannot tell a change it reads the whole source again to check it;
// a source that changed meanwhile is read again from its start. Every one of
// these can stop. Once the copy is finishing only its flush and rename
// remain, and those cannot.
struct CopyStep {
    enum class Phase { Reading, Checking, Finishing };
    Phase phase = Phase::Reading;
    // Bytes read in this phase, of the source's size as last seen: a source
    // that grows while it is read shows its new size.
    std::uint64_t done = 0, total = 0;
    int attempt = 1; // from 2 on, the source changed and is read again
};

// Told how far a copy has come; answering false cancels the copy, except
// once it is finishing. Called on the thread that runs the copy.
using CopyProgress = std::function<bool(const CopyStep& step)>;

// How a host's file layer copies: whether it may replace an existing
// destination, and whom it tells of its progress.
struct CopyOptions {
    bool overwrite = true;
    CopyProgress progress; // optional
};

// A copy written in full and flushed beside its destination, not yet under
// the destination's name. Unless placed it goes when this object goes, and
// leaves nothing behind.
class StagedCopy {
public:
    virtual ~StagedCopy() = default;
    // Takes the destination's name in one rename, replacing what is there: a
    // kill at any instant leaves the old content or the new. Fails, leaving
    // the destination as it was, when the destination has meanwhile become
    // read-only, held by another program or the source itself.
    virtual Status Place() = 0;
    // Place for a destination that did not exist: takes the name only while
    // it is free, so a file made there meanwhile is kept and this fails.
    virtual Status PlaceNew() = 0;
    // Looks at the destination as Place will, and changes nothing: lets a
    // caller refuse before it changes anything else.
    virtual Status CheckDestination() = 0;
    // Whether the copy has taken the destination's name, also where Place
    // failed after it had (the folder could not be flushed to the disk).
    virtual bool Placed() const = 0;
};

// A staged copy put in place, unless staging failed.
inline Status placeStaged(Result<std::unique_ptr<StagedCopy>> staged)
{
    if (!staged)
        return staged.status();
    return staged.value()->Place();
}

// While it lives, no other command of the tools, in this process or in
// another, changes files in the same folder. The system lets go of it
// however the process ends, and it leaves no file behind.
class FolderHold {
public:
    virtual ~FolderHold() = default;
    // False on a drive that keeps no locks: the hold then holds nothing, and
    // the command goes on as it would have without it.
    virtual bool excludes() const = 0;
};

// The file side of the host: the application folder and the whole-file
// operations. Program logic reaches files through nothing else, so it runs
// unchanged on the host's file layer and on the recording fake of the tests.
//
// Files are named by FilePath values: a member of the application folder, or
// a path as the file chooser returned it, used exactly as it came back. Each
// host maps one to its own path once per call. Paths are byte strings (UTF-8
// where they are text).
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Folder of the running tool's own executable, without a trailing
    // separator except at a root.
    virtual std::string ApplicationFolder() = 0;

    // Takes the hold of `folder` for a command that changes files there,
    // without waiting: refused with FileFailure::FolderHeld while another
    // command holds it.
    virtual Result<std::unique_ptr<FolderHold>> HoldFolder(const std::string& folder) = 0;

    // Answers true only for a regular file.
    virtual Result<bool> FileExists(const FilePath& path) = 0;
    // The one copy of the file layer: the whole of `source` written and
    // flushed beside `destination`, to take its name later in one rename.
    // Refused before anything is written on a missing source, a destination
    // that is the source itself, a folder or read-only, and, unless
    // options.overwrite, one that exists. A copy cancelled through
    // options.progress fails and leaves nothing behind. A new destination is
    // never read-only (a read-only template must not make a read-only
    // database). The copy is the source at one instant. May run off the
    // window's thread; the file layer outlives it.
    virtual Result<std::unique_ptr<StagedCopy>>
    StageCopy(const FilePath& source, const FilePath& destination, const CopyOptions& options) = 0;
    // Gives `backup` the content that `file` has now without taking `file`'s
    // name away, and never replaces `backup`: a second link to the file where
    // the drive has links, else a crash-safe copy that takes the name only
    // while it is free, reporting to `progress` as StageCopy does.
    virtual Status KeepBackup(const FilePath& file, const FilePath& backup,
                              const CopyProgress& progress) = 0;
    // Takes away a name that KeepBackup gave, the file keeping its other
    // name. Not refused because another program holds the file: its data is
    // not touched.
    virtual Status RemoveKeptBackup(const FilePath& backup) = 0;
    // Never replaces a name; a failed move leaves both names as they were.
    virtual Status MoveFile(const FilePath& source, const FilePath& destination) = 0;
    // Where `backup` is a second name of `file` (one file under two names),
    // gives `backup` a file of its own with the same content, crash-safely:
    // a kill leaves the second name or the copy, never less. Answers whether
    // it did; where they are two files, or either is missing, it changes
    // nothing. Not refused because another program holds the file.
    virtual Result<bool> SeparateBackup(const FilePath& file, const FilePath& backup) = 0;
    // Moves a file that is to be deleted once the command can no longer fail
    // to the name `aside`, never replacing one; refused, leaving both names
    // as they were, wherever DeleteFile(path, false) would refuse it
    // (read-only, in use).
    virtual Status SetAside(const FilePath& path, const FilePath& aside) = 0;
    // With force false a read-only file is refused.
    virtual Status DeleteFile(const FilePath& path, bool force) = 0;
    // Fails, naming the program, when another program holds any of the
    // files open; missing files pass. Lets a caller leave a whole family of
    // files alone before it changes the first of them.
    virtual Status FilesNotInUse(const std::vector<FilePath>& paths) = 0;

    // The last part of a path the chooser returned, its own name as the host
    // splits paths: what the copy dialog shows of a chosen file.
    virtual std::string NameOf(const std::string& chosenPath) = 0;
    // The path every call of a command takes for a name the chooser handed
    // back, settled once, so that the existence test, the question and the
    // copy or delete all mean one file: the name as written where it names
    // something that exists, else the new name as the host takes it (Windows
    // drops the trailing dots and spaces of a new name: "backup." is
    // "backup"). A host that takes every name as written answers the path.
    virtual std::string ChosenPath(const std::string& chosenPath) { return chosenPath; }
    // Refuses, changing nothing, a file that a view of the files can show but
    // not move or delete (one only Windows' installed folder holds): lets a
    // caller refuse before its first change what would fail midway. The
    // host's own layer refuses nothing here.
    virtual Status CheckRemovable(const FilePath& /*path*/) { return {}; }
    // The folder a chooser for `folder`'s files opens in: where the view
    // keeps the files it changes.
    virtual std::string ChooserFolder(const std::string& folder) { return folder; }
    // Whether a chosen path names a shortcut, which the host's shell follows
    // to another file (isShortcutName). A host without them answers false.
    virtual bool IsShortcut(const FilePath&) { return false; }
};

// A whole copy: staged, then placed. Replaces an existing destination only
// when options.overwrite is true; a failure or a cancel leaves the destination
// as it was.
inline Status copyFile(FileSystem& files, const FilePath& source, const FilePath& destination,
                       const CopyOptions& options = {})
{
    return placeStaged(files.StageCopy(source, destination, options));
}

// A copy that the user stopped, as the host's file layer fails it: what a
// program answers for a copy it gave up waiting for.
Status copyCancelled();

// Folder of the running executable, read from the host anew at every call.
std::string hostApplicationFolder();

// The host's file layer with the given application folder; tests point it
// at their own.
std::unique_ptr<FileSystem> makeHostFileSystem(std::function<std::string()> applicationFolder);

// `host` as the main program sees its application folder: where Windows
// virtualises the main program, a merged view of that folder and its
// VirtualStore (VirtualStoreFiles.h); elsewhere `host` as it is.
std::unique_ptr<FileSystem> filesAsMainProgramSees(std::unique_ptr<FileSystem> host);

// The host's file layer in the folder of the running executable.
inline std::unique_ptr<FileSystem> makeHostFileSystem()
{
    return makeHostFileSystem(hostApplicationFolder);
}

} // namespace marlo
