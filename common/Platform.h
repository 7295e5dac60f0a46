#pragma once

#include "Result.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace marlo {

// Told how far a copy has come, in bytes of the whole; answering false
// cancels the copy. Called on the thread that runs the copy.
using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;

// A copy made ready on the window's thread to run on another. It holds all it
// needs and touches neither the window nor the platform, so the window may
// close while it runs.
using CopyTask = std::function<Status(const CopyProgress& progress)>;

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
    // Whether the copy has taken the destination's name, also where Place
    // failed after it had (the folder could not be flushed to the disk).
    virtual bool Placed() const = 0;
};

// A staged copy made ready on the window's thread to run on another, as a
// CopyTask is.
using StageTask = std::function<Result<std::unique_ptr<StagedCopy>>(const CopyProgress& progress)>;

// Every operation that the tools need of their host. Program logic calls
// nothing else, so it runs unchanged against the Qt/host implementation and
// against the recording fake of the tests.
//
// Paths are byte strings (UTF-8 where they are text). A path that the tools
// build is the application folder, a backslash and a member's name; a path
// that the file chooser returns is passed on exactly as it came back.
class Platform {
public:
    virtual ~Platform() = default;

    // Folder of the running tool's own executable, without a trailing
    // separator except at a root.
    virtual std::string ApplicationFolder() = 0;

    // Whole-file operations. FileExists answers true only for a regular file.
    virtual Result<bool> FileExists(const std::string& path) = 0;
    // Replaces an existing destination only when overwrite is true; fails on
    // a missing source, a read-only destination and source == destination.
    virtual Status CopyFile(const std::string& source, const std::string& destination,
                            bool overwrite) = 0;
    // CopyFile made ready to run off the window's thread, reporting its
    // progress; a copy cancelled through its progress fails and leaves the
    // destination as it was.
    virtual CopyTask PrepareCopy(const std::string& source, const std::string& destination,
                                 bool overwrite) = 0;
    // The first half of an overwriting copy, made ready to run off the
    // window's thread: the content staged beside the destination, to be put
    // in place later with one rename (see StagedCopy).
    virtual StageTask PrepareStagedCopy(const std::string& source,
                                        const std::string& destination) = 0;
    // Gives `backup` the content that `file` has now without taking `file`'s
    // name away; never replaces `backup`.
    virtual Status KeepBackup(const std::string& file, const std::string& backup) = 0;
    // Never replaces a name; a failed move leaves both names as they were.
    virtual Status MoveFile(const std::string& source, const std::string& destination) = 0;
    // With force false a read-only file is refused.
    virtual Status DeleteFile(const std::string& path, bool force) = 0;
    // Fails, naming the program, when another program holds any of the
    // files open; missing files pass. Lets a caller leave a whole family of
    // files alone before it changes the first of them.
    virtual Status FilesNotInUse(const std::vector<std::string>& paths) = 0;

    // Modal message box. Without a title the box shows the application title.
    // Answers IDOK, IDYES, IDNO or IDCANCEL (Escape and the close box).
    virtual Result<int> MsgBox(const std::string& prompt, int style,
                               const std::optional<std::string>& title) = 0;

    // Starts a program by its bare name without waiting for it; answers a
    // task number.
    virtual Result<int> Shell(const std::string& program, int windowStyle) = 0;

    // Closes and destroys the window; the running handler goes on to its end.
    // The tool then ends with the given exit status.
    virtual void Unload(int exitStatus = 0) = 0;
    // Ends the tool; the caller returns straight away after it.
    virtual void End(int exitStatus = 0) = 0;

    // Blocks the window's thread; the window neither repaints nor reacts.
    virtual void Sleep(int milliseconds) = 0;
    // Runs every pending window event, possibly another handler, then returns.
    virtual void DoEvents() = 0;
    virtual void Beep() = 0;

    // Puts on the named controls of the tool's window.
    virtual Status SetEnabled(std::string_view control, bool enabled) = 0;
    virtual Status SetVisible(std::string_view control, bool visible) = 0;
    virtual Status SetValue(std::string_view control, float value) = 0;
    // Gives the window itself the input focus.
    virtual Status SetFocus() = 0;
};

} // namespace marlo
