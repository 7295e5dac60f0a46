#include "FakePlatform.h"

#include <utility>

namespace marlo::test {

namespace {

std::string flag(bool value)
{
    return value ? "-1" : "0";
}

} // namespace

Status FakePlatform::record(const std::string& line)
{
    calls.push_back(line);
    auto it = failures.find(line);
    if (it == failures.end())
        return {};
    Status failed = Status::failure(it->second.error);
    if (!it->second.sticky)
        failures.erase(it);
    return failed;
}

Status FakePlatform::changed(const std::string& line, Status done)
{
    if (done.ok() && unflushed.erase(line) != 0)
        return Status::unflushed(5, "the folder could not be flushed to the disk");
    return done;
}

namespace {

class FakeHold : public FolderHold {
public:
    bool excludes() const override { return true; }
};

} // namespace

Result<std::unique_ptr<FolderHold>> FakePlatform::HoldFolder(const std::string& folder)
{
    if (Status s = record("HoldFolder " + folder); !s)
        return s;
    if (real_)
        return real_->HoldFolder(folder);
    return std::unique_ptr<FolderHold>(std::make_unique<FakeHold>());
}

Result<bool> FakePlatform::SeparateBackup(const FilePath& file, const FilePath& backup)
{
    const std::string line = "SeparateBackup " + file.text() + " -> " + backup.text();
    if (Status s = record(line); !s)
        return s;
    if (real_)
        return real_->SeparateBackup(file, backup);
    return false;
}

FakePlatform::FakePlatform(std::string folder)
    : appFolder(std::move(folder)), real_(makeHostFileSystem([this] { return appFolder; }))
{
}

FakePlatform::~FakePlatform() = default;

std::string FakePlatform::ApplicationFolder()
{
    return appFolder;
}

std::string FakePlatform::NameOf(const std::string& chosenPath)
{
    if (real_)
        return real_->NameOf(chosenPath);
    return chosenPath.substr(chosenPath.find_last_of("\\/") + 1);
}

std::string FakePlatform::ChosenPath(const std::string& chosenPath)
{
    return real_ ? real_->ChosenPath(chosenPath) : chosenPath;
}

bool FakePlatform::IsShortcut(const FilePath& path)
{
    return real_ ? real_->IsShortcut(path) : isShortcutName(path.text(), PathForm::Windows);
}

namespace {

class FakeStagedCopy : public StagedCopy {
public:
    FakeStagedCopy(FakePlatform& platform, std::string destination, std::string content,
                   bool overwrite)
        : platform_(platform), destination_(std::move(destination)), content_(std::move(content)),
          overwrite_(overwrite)
    {
    }
    Status CheckDestination() override
    {
        if (Status s = platform_.record("CheckDestination " + destination_); !s)
            return s;
        return fits();
    }
    Status Place() override { return placeAs("PlaceCopy ", overwrite_); }
    Status PlaceNew() override { return placeAs("PlaceNew ", false); }
    bool Placed() const override { return placed_; }

private:
    Status fits()
    {
        if (platform_.has(destination_) && platform_.files[destination_].readOnly)
            return Status::failure(70, "Permission denied");
        return {};
    }
    Status placeAs(const std::string& verb, bool replace)
    {
        if (Status s = platform_.record(verb + destination_); !s)
            return s;
        if (Status fit = fits(); !fit)
            return fit;
        if (!replace && platform_.has(destination_))
            return Status::failure(58, "File already exists");
        platform_.files[destination_] = FakePlatform::File{content_, false};
        placed_ = true;
        // The drive may then fail to flush the folder: the name is taken all
        // the same.
        Status flushed = platform_.record("FlushFolder " + destination_);
        if (!flushed)
            return Status::unflushed(flushed.error().number, flushed.error().description);
        return {};
    }

    FakePlatform& platform_;
    std::string destination_, content_;
    bool overwrite_;
    bool placed_ = false;
};

} // namespace

Result<std::unique_ptr<StagedCopy>> FakePlatform::StageCopy(const FilePath& sourceFile,
                                                            const FilePath& destinationFile,
                                                            const CopyOptions& options)
{
    const std::string& source = sourceFile.text();
    const std::string& destination = destinationFile.text();
    if (Status s = record("StageCopy " + source + " -> " + destination); !s)
        return s;
    if (real_)
        return real_->StageCopy(sourceFile, destinationFile, options);
    if (!has(source))
        return Status::failure(53, "File not found");
    if (source == destination || (has(destination) && files[destination].readOnly))
        return Status::failure(70, "Permission denied");
    if (!options.overwrite && has(destination))
        return Status::failure(58, "File already exists");
    return std::unique_ptr<StagedCopy>(std::make_unique<FakeStagedCopy>(
        *this, destination, files[source].content, options.overwrite));
}

Status FakePlatform::KeepBackup(const FilePath& fileKept, const FilePath& backupFile,
                                const CopyProgress& progress)
{
    const std::string& file = fileKept.text();
    const std::string& backup = backupFile.text();
    const std::string line = "KeepBackup " + file + " -> " + backup;
    if (Status s = record(line); !s)
        return s;
    if (real_)
        return changed(line, real_->KeepBackup(fileKept, backupFile, progress));
    if (!has(file))
        return Status::failure(53, "File not found");
    if (has(backup))
        return Status::failure(58, "File already exists");
    const std::uint64_t size = files[file].content.size();
    for (const CopyStep& step : {CopyStep{CopyStep::Phase::Reading, size, size},
                                 CopyStep{CopyStep::Phase::Finishing, size, size}})
        if (progress && !progress(step))
            return Status::cancelled(18, "the copy was cancelled");
    files[backup] = files[file];
    return changed(line, {});
}

Status FakePlatform::RemoveKeptBackup(const FilePath& backupFile)
{
    const std::string& backup = backupFile.text();
    const std::string line = "RemoveKeptBackup " + backup;
    if (Status s = record(line); !s)
        return s;
    if (real_)
        return changed(line, real_->RemoveKeptBackup(backupFile));
    if (!has(backup))
        return Status::failure(53, "File not found");
    files.erase(backup);
    return changed(line, {});
}

Status FakePlatform::SetAside(const FilePath& file, const FilePath& asideFile)
{
    const std::string& path = file.text();
    const std::string& aside = asideFile.text();
    const std::string line = "SetAside " + path + " -> " + aside;
    if (Status s = record(line); !s)
        return s;
    if (real_)
        return changed(line, real_->SetAside(file, asideFile));
    if (has(path) && files[path].readOnly)
        return Status::failure(70, "Permission denied");
    return changed(line, moveInMemory(path, aside));
}

Status FakePlatform::moveInMemory(const std::string& source, const std::string& destination)
{
    if (!has(source))
        return Status::failure(53, "File not found");
    if (has(destination))
        return Status::failure(58, "File already exists");
    files[destination] = files[source];
    files.erase(source);
    return {};
}

Result<bool> FakePlatform::FileExists(const FilePath& file)
{
    if (Status s = record("FileExists " + file.text()); !s)
        return s;
    if (real_)
        return real_->FileExists(file);
    return has(file.text());
}

Status FakePlatform::MoveFile(const FilePath& source, const FilePath& destination)
{
    const std::string line = "MoveFile " + source.text() + " -> " + destination.text();
    if (Status s = record(line); !s)
        return s;
    if (real_)
        return changed(line, real_->MoveFile(source, destination));
    return changed(line, moveInMemory(source.text(), destination.text()));
}

Status FakePlatform::DeleteFile(const FilePath& file, bool force)
{
    const std::string& path = file.text();
    const std::string line = "DeleteFile " + path + " " + flag(force);
    if (Status s = record(line); !s)
        return s;
    if (real_)
        return changed(line, real_->DeleteFile(file, force));
    if (!has(path))
        return Status::failure(53, "File not found");
    if (files[path].readOnly && !force)
        return Status::failure(70, "Permission denied");
    files.erase(path);
    return changed(line, {});
}

Status FakePlatform::FilesNotInUse(const std::vector<FilePath>& paths)
{
    std::string line = "FilesNotInUse";
    for (const FilePath& path : paths)
        line += " " + path.text();
    if (Status s = record(line); !s || !real_)
        return s;
    return real_->FilesNotInUse(paths);
}

Result<int> FakePlatform::MsgBox(const std::string& prompt, int style,
                                 const std::optional<std::string>& title)
{
    if (Status s = record("MsgBox [" + title.value_or("<none>") + "] " + std::to_string(style) +
                          " \"" + prompt + "\"");
        !s)
        return s;
    if (msgBoxAnswers.empty())
        return IDOK;
    int answer = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return answer;
}

Result<int> FakePlatform::Shell(const std::string& program, int windowStyle)
{
    if (Status s = record("Shell " + program + " " + std::to_string(windowStyle)); !s)
        return s;
    if (!shellFindsProgram)
        return Result<int>::failure(53, "File not found");
    return 4242;
}

void FakePlatform::Unload(int exitStatus)
{
    record("Unload " + std::to_string(exitStatus));
    unloadedWith = exitStatus;
}

void FakePlatform::End(int exitStatus)
{
    record("End " + std::to_string(exitStatus));
    endedWith = exitStatus;
}

void FakePlatform::Sleep(int milliseconds)
{
    record("Sleep " + std::to_string(milliseconds));
    sleptMs += milliseconds;
}

void FakePlatform::DoEvents()
{
    record("DoEvents");
    if (onDoEvents)
        onDoEvents();
}

void FakePlatform::Beep()
{
    record("Beep");
}

void FakePlatform::SetBusyReason(const std::string& reason)
{
    busyReasons.push_back({reason, calls.size()});
}

void FakePlatform::showResetting()
{
    for (const char* line : {"OKButton.Enabled = 0", "Label1.Visible = 0", "Label4.Visible = 0",
                             "Label2.Visible = -1", "ProgressBar1.Visible = -1"})
        record(line);
}

void FakePlatform::setProgress(int position)
{
    record("ProgressBar1.Value = " + std::to_string(position));
}

void FakePlatform::showBackupNotice()
{
    record("Label3.Visible = -1");
}

bool FakePlatform::takeFocus()
{
    return record("SetFocus").ok();
}

void FakeCommonDialog::SetCancelError(bool value)
{
    platform_.record(std::string("CancelError = ") + (value ? "-1" : "0"));
    FileChooser::SetCancelError(value);
}

void FakeCommonDialog::SetInitDir(const std::string& folder)
{
    platform_.record("InitDir = " + folder);
    FileChooser::SetInitDir(folder);
}

void FakeCommonDialog::SetDefaultExt(const std::string& extension)
{
    platform_.record("DefaultExt = " + extension);
    FileChooser::SetDefaultExt(extension);
}

void FakeCommonDialog::SetFilter(const std::string& value)
{
    platform_.record("Filter = " + value);
    FileChooser::SetFilter(value);
}

void FakeCommonDialog::SetDialogTitle(const std::string& title)
{
    platform_.record("DialogTitle = " + title);
    FileChooser::SetDialogTitle(title);
}

Result<ChooserAnswer> FakeCommonDialog::showChooser(const ChooserRequest& request)
{
    if (Status s = platform_.record(request.save ? "ShowSave" : "ShowOpen"); !s)
        return s;
    if (onShow)
        onShow();
    ChooserAnswer answer;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    return answer;
}

} // namespace marlo::test
