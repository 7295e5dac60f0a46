#pragma once

#include "FileChooser.h"
#include "MessageBox.h"
#include "Platform.h"
#include "ResetView.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace marlo::test {

// Both sides of the platform, and the reset window as the reset sequence
// sees it, in one, recording every call, in order, as one line of text, and
// answering from a script. File operations work on an
// in-memory folder with the host's semantics (a move never replaces, a
// delete without force refuses a read-only file, a copy onto itself fails),
// or, once `useRealFiles` is called, on a real folder through the host's
// file layer; any single call can be scripted to fail instead.
class FakePlatform : public FileSystem, public WindowSystem, public ResetView {
public:
    FakePlatform() = default;
    // Files in `folder` on the host's file layer, recorded as in memory.
    explicit FakePlatform(std::string folder);
    ~FakePlatform() override;

    // Passed where program logic takes the platform.
    operator Platform() { return {*this, *this}; }

    struct File {
        std::string content;
        bool readOnly = false;
    };

    // The application folder the fake reports; paths are kept as given.
    std::string appFolder = "C:\\APP";
    std::map<std::string, File> files;

    // Every call, e.g. "Sleep 50", "MoveFile C:\APP\a -> C:\APP\b".
    std::vector<std::string> calls;

    // Scripted answers of message boxes, taken in order; IDOK when empty.
    std::deque<int> msgBoxAnswers;
    // Calls that fail, keyed by their recorded line; each entry fails once
    // unless `sticky` is set.
    struct Failure {
        OpError error;
        bool sticky = false;
    };
    std::map<std::string, Failure> failures;
    // Calls that make their change and then answer that the drive did not
    // confirm it on the disk, keyed by their recorded line; each once. Any
    // call that changes a name can be scripted so ("MoveFile a -> b").
    std::set<std::string> unflushed;
    // Ran inside DoEvents, after it is recorded: lets a test click a button.
    std::function<void()> onDoEvents;
    // Whether Shell finds a program to start.
    bool shellFindsProgram = true;

    // Each reason given for a log-off to wait ("" when taken back), with the
    // number of calls recorded before it.
    struct Busy {
        std::string reason;
        std::size_t afterCalls;
        bool operator==(const Busy&) const = default;
    };
    std::vector<Busy> busyReasons;

    // Milliseconds slept so far: the fake clock.
    long long sleptMs = 0;
    std::optional<int> unloadedWith;
    std::optional<int> endedWith;

    void addFile(const std::string& path, std::string content = {}, bool readOnly = false)
    {
        files[path] = File{std::move(content), readOnly};
    }
    bool has(const std::string& path) const { return files.count(path) != 0; }
    std::string path(std::string_view suffix) const { return appFolder + std::string(suffix); }

    // Helper for tests: fail the call recorded as `line` with a fixed error.
    void failOnce(const std::string& line, int number = 70, std::string text = "in use")
    {
        failures[line] = Failure{OpError{number, std::move(text)}, false};
    }
    void failAlways(const std::string& line, int number = 70, std::string text = "in use")
    {
        failures[line] = Failure{OpError{number, std::move(text)}, true};
    }

    std::string ApplicationFolder() override;
    // Recorded as "HoldFolder <folder>"; in memory a hold that excludes.
    Result<std::unique_ptr<FolderHold>> HoldFolder(const std::string& folder) override;
    // In memory no two names are one file: answers false.
    Result<bool> SeparateBackup(const FilePath& file, const FilePath& backup) override;
    std::string NameOf(const std::string& chosenPath) override;
    std::string ChosenPath(const std::string& chosenPath) override;
    // In memory, shortcuts as Windows names them.
    bool IsShortcut(const FilePath& path) override;
    // File operations record and key their files by the text form
    // ("C:\APP\name").
    Result<bool> FileExists(const FilePath& path) override;
    // Stages at once, recorded as "StageCopy" (on the thread that runs the
    // copy); placing is recorded as "PlaceCopy" (or "PlaceNew", which never
    // replaces), takes the content staged, and then "FlushFolder";
    // "CheckDestination" changes nothing.
    Result<std::unique_ptr<StagedCopy>> StageCopy(const FilePath& source,
                                                  const FilePath& destination,
                                                  const CopyOptions& options) override;
    // Keeps at once, reporting the content as one reading before it
    // finishes; a refused report cancels it with nothing kept.
    Status KeepBackup(const FilePath& file, const FilePath& backup,
                      const CopyProgress& progress) override;
    Status RemoveKeptBackup(const FilePath& backup) override;
    Status MoveFile(const FilePath& source, const FilePath& destination) override;
    Status SetAside(const FilePath& path, const FilePath& aside) override;
    Status DeleteFile(const FilePath& path, bool force) override;
    // Passes unless scripted to fail (see `failOnce`).
    Status FilesNotInUse(const std::vector<FilePath>& paths) override;
    Result<int> MsgBox(const std::string& prompt, int style,
                       const std::optional<std::string>& title) override;
    Result<int> Shell(const std::string& program, int windowStyle) override;
    void Unload(int exitStatus) override;
    void End(int exitStatus) override;
    void Sleep(int milliseconds) override;
    void DoEvents() override;
    void Beep() override;
    // Kept in busyReasons, not in the calls.
    void SetBusyReason(const std::string& reason) override;
    // Recorded as the lines of the controls each call moves on screen
    // ("OKButton.Enabled = 0", "ProgressBar1.Value = 5"); taking the focus
    // fails when "SetFocus" is scripted to fail.
    void showResetting() override;
    void setProgress(int position) override;
    void showBackupNotice() override;
    bool takeFocus() override;

    // Records `line`; answers the scripted failure for it, if any.
    Status record(const std::string& line);
    // What a call recorded as `line` answers once it has made its change
    // `done`: unflushed where so scripted.
    Status changed(const std::string& line, Status done);

private:
    Status moveInMemory(const std::string& source, const std::string& destination);

    // The host's file layer behind the recording, or none: files in memory.
    std::unique_ptr<FileSystem> real_;
};

// A chooser that records into the same call list and answers from a script:
// each showing takes the next entry, a name (accepted) or nullopt (cancel).
class FakeCommonDialog : public FileChooser {
public:
    // Paths in the form of the fake's application folder, "C:\APP".
    explicit FakeCommonDialog(FakePlatform& platform)
        : FileChooser(PathForm::Windows), platform_(platform)
    {
    }

    std::deque<std::optional<std::string>> answers;
    // Ran inside a showing, after it is recorded and before it answers: lets
    // a test look at the chooser as the user would find it.
    std::function<void()> onShow;

    void SetCancelError(bool value) override;
    void SetInitDir(const std::string& folder) override;
    void SetDefaultExt(const std::string& extension) override;
    void SetFilter(const std::string& value) override;
    void SetDialogTitle(const std::string& title) override;

protected:
    Result<ChooserAnswer> showChooser(const ChooserRequest& request) override;

private:
    FakePlatform& platform_;
};

} // namespace marlo::test
