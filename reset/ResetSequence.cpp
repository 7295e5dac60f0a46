#include "ResetSequence.h"

#include "DatabaseFiles.h"
#include "ErrorPolicies.h"
#include "FailureWords.h"
#include "MessageBox.h"
#include "ResetTexts.h"
#include "ResetWindowDesign.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace marlo {

namespace {

constexpr Database bothDatabases[] = {Database::Con, Database::Spm};

// One step of the rotation: delete generation 5, or move generation g to g+1.
struct RotationStep {
    Database database;
    int generation; // 5: delete it; otherwise move it one up
};

constexpr std::array<RotationStep, 10> rotationSteps{{
    {Database::Con, 5},
    {Database::Spm, 5},
    {Database::Con, 4},
    {Database::Spm, 4},
    {Database::Con, 3},
    {Database::Spm, 3},
    {Database::Con, 2},
    {Database::Spm, 2},
    {Database::Con, 1},
    {Database::Spm, 1},
}};

// Progress after each step, by case; case c starts at step 2 * (5 - c).
constexpr int progressCase5[] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
constexpr int progressCase4[] = {15, 30, 45, 60, 75, 90, 95, 100};
constexpr int progressCase3[] = {20, 40, 60, 80, 90, 100};
constexpr int progressCase2[] = {25, 50, 75, 100};
constexpr int progressCase1[] = {50, 100};

std::span<const int> progressOfCase(int rotationCase)
{
    switch (rotationCase) {
    case 5:
        return progressCase5;
    case 4:
        return progressCase4;
    case 3:
        return progressCase3;
    case 2:
        return progressCase2;
    default:
        return progressCase1;
    }
}

using Outcome = ResetSequence::Outcome;

std::string userForm(Database database, Role role)
{
    return std::string(member(database, role).userForm);
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += (text.empty() ? "" : "; ") + line;
    return text;
}

// One line of the closing message for a database that was not simply reset.
std::string notResetLine(Database database, Outcome outcome, const std::string& reason,
                         const ChangeReport& report)
{
    const std::string live = userForm(database, Role::Live);
    switch (outcome) {
    case Outcome::LeftAlone:
        return " " + live + texts::WasNotReset + capitalised(reason) + texts::LeftAsTheyWere;
    case Outcome::NotPutBack:
        return " " + live + texts::WasNotReset + capitalised(reason) + "! " +
               (report.whereNow.empty() ? std::string(texts::PutBackUnconfirmed)
                                        : texts::NotAllPutBack + joined(report.whereNow) + "! ");
    case Outcome::ResetButNot:
        return " " + live + texts::WasResetBut + reason + "! " +
               capitalised(joined(report.whereNow)) + "! ";
    case Outcome::Reset:
        break;
    }
    return {};
}

} // namespace

void ResetSequence::run()
{
    running_ = true;
    struct NotRunningAtEnd {
        bool& flag;
        ~NotRunningAtEnd() { flag = false; }
    } notRunningAtEnd{running_};
    const BusyReason busy(platform_.windows, resetwindow::ResettingText);

    folder_ = platform_.files.ApplicationFolder();
    holdFolder();
    showProgressState();
    if (!templatesPresent())
        return;
    prepareFamilies();
    onError_.step(setProgress(0));
    rotateBackups();
    onError_.step(setProgress(0));
    countedLoop();
    // Every change is made and flushed: the next command may come.
    if (hold_)
        mended_ = hold_->mended();
    hold_.reset();
    closing();
}

void ResetSequence::showProgressState()
{
    view_.showResetting();
    platform_.windows.Sleep(200);
}

Status ResetSequence::setProgress(int position)
{
    if (position < ResetView::ProgressLow || position > ResetView::ProgressHigh)
        return Status::failure(380, "Invalid property value");
    view_.setProgress(position);
    return {};
}

Status ResetSequence::takeFocus()
{
    if (!view_.takeFocus())
        return Status::failure(5, "Invalid procedure call or argument");
    return {};
}

// Both templates must be there before anything changes on disk. A test that
// cannot be made at all counts as a missing template: going on blind could
// leave a database without a template to rebuild it from.
bool ResetSequence::templatesPresent()
{
    const char* abortPrompts[] = {texts::TemplateMissing1, texts::TemplateMissing2};
    for (int i = 0; i < 2; ++i) {
        Result<bool> present =
            platform_.files.FileExists(memberPath(folder_, bothDatabases[i], Role::Template));
        if (!present.ok() || !present.value()) {
            onError_.step(platform_.windows.MsgBox(abortPrompts[i], MB_ICONERROR, MessageTitle));
            platform_.windows.Unload(1);
            return false;
        }
    }
    return true;
}

// The folder is held from the press of "RESET NOW !" to the last change:
// while another command holds it, both families are left alone.
void ResetSequence::holdFolder()
{
    auto held = CommandHold::take(platform_.files, folder_);
    if (!held) {
        for (Family& family : families_) {
            family.outcome = Outcome::LeftAlone;
            family.reason = held.error().description;
        }
        return;
    }
    hold_.emplace(std::move(held.value()));
}

// A database whose files another program holds open (the main program, say)
// is left alone as a whole, and so is one whose template cannot take its
// live name (a read-only database): nothing of it is changed for nothing.
// The template is copied now, beside the live file, so that nothing can be
// refused once its backups have moved.
void ResetSequence::prepareFamilies()
{
    FileSystem& files = platform_.files;
    for (Family& family : families_) {
        if (!hold_)
            continue;
        family.change.emplace(files, folder_, family.database);
        const FilePath source = memberPath(folder_, family.database, Role::Template);
        const Status prepared = family.change->prepare(
            [&](const FilePath& live) { return files.StageCopy(source, live, {}); });
        if (!prepared) {
            family.change.reset();
            family.outcome = Outcome::LeftAlone;
            family.reason = prepared.error().description;
        }
    }
}

void ResetSequence::giveUp(Family& family, const Status& failed)
{
    family.report = family.change->rollBack();
    family.change.reset();
    family.reason = failed.error().description;
    family.outcome = family.report.changed() ? Outcome::NotPutBack : Outcome::LeftAlone;
}

// The oldest CON generation present selects the case; each case starts at
// its own step of the one table and paces its progress over the rest.
void ResetSequence::rotateBackups()
{
    FileSystem& files = platform_.files;
    WindowSystem& windows = platform_.windows;
    std::optional<int> rotationCase;
    for (int generation = BackupGenerations; generation >= 1 && !rotationCase; --generation)
        if (onError_.test(files.FileExists(backupPath(folder_, Database::Con, generation))))
            rotationCase = generation;
    if (!rotationCase)
        return;
    onError_.step(setProgress(0));
    windows.Sleep(50);
    const std::size_t first = 2 * (BackupGenerations - *rotationCase);
    std::span<const int> progress = progressOfCase(*rotationCase);
    for (std::size_t i = first; i < rotationSteps.size(); ++i) {
        const RotationStep& s = rotationSteps[i];
        // A family left alone keeps its files; the pacing stays the same.
        Family& family = families_[s.database == Database::Spm];
        if (family.change)
            if (Status shifted = family.change->shiftGeneration(s.generation); !shifted)
                giveUp(family, shifted);
        onError_.step(setProgress(progress[i - first]));
        windows.Sleep(50);
    }
}

// The pause between the two live databases at 25, the backup notice at 50,
// each live database to generation 1 and its template to the live name at 75.
void ResetSequence::countedLoop()
{
    WindowSystem& windows = platform_.windows;
    for (loopCounter_ = 0; loopCounter_ <= 100; ++loopCounter_) {
        onError_.step(setProgress(loopCounter_));
        if (loopCounter_ == 25)
            windows.Sleep(200);
        if (loopCounter_ == 50)
            view_.showBackupNotice();
        if (loopCounter_ == 75)
            replaceLiveFiles();
        windows.Sleep(50);
        windows.DoEvents();
    }
}

// Each live database gets its first backup name right before its template
// takes the live name, so that the backup is never left a second name of
// the live file; the live name is never missing.
void ResetSequence::replaceLiveFiles()
{
    for (Family& family : families_) {
        if (&family != &families_[0])
            platform_.windows.Sleep(50);
        if (!family.change)
            continue;
        const Status finished = family.change->finish();
        if (finished)
            continue;
        if (!family.change->report().placed) {
            giveUp(family, finished);
            continue;
        }
        family.outcome = Outcome::ResetButNot;
        family.reason = finished.error().description;
        family.report = family.change->report();
    }
}

void ResetSequence::closing()
{
    WindowSystem& windows = platform_.windows;
    onError_.step(takeFocus());
    windows.Sleep(2000);
    std::string problems;
    std::string mended;
    for (const std::string& line : mended_)
        mended.append(1, ' ').append(capitalised(line)).append("! \r\n");
    for (const Family& family : families_)
        if (family.outcome != Outcome::Reset)
            problems +=
                notResetLine(family.database, family.outcome, family.reason, family.report) +
                "\r\n";
    std::string message;
    if (problems.empty() && mended.empty()) {
        message = texts::ResetCompleted;
    } else if (problems.empty()) {
        message.append(texts::ResetCompletedFirst).append("\r\n").append(mended);
        message.append(texts::PleaseRestart);
    } else {
        message.append(mended).append(problems).append(texts::PleaseRestart);
    }
    onError_.step(windows.MsgBox(message, problems.empty() ? MB_ICONINFORMATION : MB_ICONERROR,
                                 MessageTitle));
    onError_.step(takeFocus());
    windows.DoEvents();
    windows.Sleep(2000);
    windows.End(problems.empty() ? 0 : 1);
}

} // namespace marlo
