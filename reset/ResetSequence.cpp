#include "ResetSequence.h"

#include "DatabaseFiles.h"
#include "ErrorPolicies.h"
#include "ImportBackup.h"
#include "MessageBox.h"
#include "ResetTexts.h"
#include "ResetWindowDesign.h"

#include <array>
#include <cctype>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace marlo {

namespace design = resetwindow;

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

std::string notResetLine(Database database, Outcome outcome, const std::string& inUseReason)
{
    const std::string live = userForm(database, Role::Live);
    const std::string templ = userForm(database, Role::Template);
    switch (outcome) {
    case Outcome::LeftInPlace:
        return " " + live + " was not reset... The file was left as it was! ";
    case Outcome::SavedNotReset:
        return " " + live + " was not reset... It was saved as " +
               userForm(database, Role::Backup1) + ", but " + templ + " could not be copied! ";
    case Outcome::MissingNotMade:
        return " " + live + " was not reset... " + templ + " could not be copied! ";
    case Outcome::InUse: {
        std::string reason = inUseReason;
        if (!reason.empty())
            reason[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(reason[0])));
        return " " + live + " was not reset... " + reason + "! Its files were left as they were! ";
    }
    case Outcome::Reset:
        break;
    }
    return {};
}

} // namespace

Status ResetSequence::moveToGeneration(Database database, const std::string& source, int generation)
{
    FileSystem& files = platform_.files;
    const std::string destination = backupPath(files, database, generation);
    Status moved = files.MoveFile(source, destination);
    if (moved.ok())
        return moved;
    Result<bool> taken = files.FileExists(destination);
    if (!taken.ok() || !taken.value())
        return moved;
    Result<bool> present = files.FileExists(source);
    if (!present.ok() || !present.value())
        return moved;
    Status room = generation == BackupGenerations
                      ? files.DeleteFile(destination, false)
                      : moveToGeneration(database, destination, generation + 1);
    if (!room.ok())
        return moved;
    return files.MoveFile(source, destination);
}

void ResetSequence::run()
{
    running_ = true;
    struct NotRunningAtEnd {
        bool& flag;
        ~NotRunningAtEnd() { flag = false; }
    } notRunningAtEnd{running_};

    showProgressState();
    if (!templatesPresent())
        return;
    findFamiliesInUse();
    onError_.step(platform_.windows.SetValue(design::ProgressBarName, 0));
    rotateBackups();
    onError_.step(platform_.windows.SetValue(design::ProgressBarName, 0));
    countedLoop();
    closing();
}

void ResetSequence::showProgressState()
{
    WindowSystem& windows = platform_.windows;
    onError_.step(windows.SetEnabled(design::OkButtonName, false));
    onError_.step(windows.SetVisible(design::WarningLabel, false));
    onError_.step(windows.SetVisible(design::CautionLabel, false));
    onError_.step(windows.SetVisible(design::ResettingLabel, true));
    onError_.step(windows.SetVisible(design::ProgressBarName, true));
    windows.Sleep(200);
}

// Both templates must be there before anything changes on disk. A test that
// cannot be made at all counts as a missing template: going on blind could
// leave a database without a template to rebuild it from.
bool ResetSequence::templatesPresent()
{
    const char* abortPrompts[] = {texts::TemplateMissing1, texts::TemplateMissing2};
    for (int i = 0; i < 2; ++i) {
        Result<bool> present = platform_.files.FileExists(
            memberPath(platform_.files, bothDatabases[i], Role::Template));
        if (!present.ok() || !present.value()) {
            onError_.step(platform_.windows.MsgBox(abortPrompts[i], MB_ICONERROR, MessageTitle));
            platform_.windows.Unload(1);
            return false;
        }
    }
    return true;
}

// A database whose files another program holds open (the main program, say)
// is left alone as a whole: rotating its backups and then failing to move
// its live file would drop its oldest backup for nothing.
void ResetSequence::findFamiliesInUse()
{
    for (Family& family : families_)
        if (Status free =
                platform_.files.FilesNotInUse(familyPaths(platform_.files, family.database));
            !free)
            family.inUse = free.error().description;
}

// The oldest CON generation present selects the case; each case starts at
// its own step of the one table and paces its progress over the rest.
void ResetSequence::rotateBackups()
{
    FileSystem& files = platform_.files;
    WindowSystem& windows = platform_.windows;
    std::optional<int> rotationCase;
    for (int generation = BackupGenerations; generation >= 1 && !rotationCase; --generation)
        if (onError_.test(files.FileExists(backupPath(files, Database::Con, generation))))
            rotationCase = generation;
    if (!rotationCase)
        return;
    onError_.step(windows.SetValue(design::ProgressBarName, 0));
    windows.Sleep(50);
    const std::size_t first = 2 * (BackupGenerations - *rotationCase);
    std::span<const int> progress = progressOfCase(*rotationCase);
    for (std::size_t i = first; i < rotationSteps.size(); ++i) {
        const RotationStep& s = rotationSteps[i];
        // A family left alone keeps its files; the pacing stays the same.
        if (!families_[s.database == Database::Spm].inUse) {
            const std::string generation = backupPath(files, s.database, s.generation);
            if (s.generation == BackupGenerations)
                onError_.step(files.DeleteFile(generation, false));
            else
                onError_.step(moveToGeneration(s.database, generation, s.generation + 1));
        }
        onError_.step(
            windows.SetValue(design::ProgressBarName, static_cast<float>(progress[i - first])));
        windows.Sleep(50);
    }
}

// Live databases to generation 1 at 25, the backup notice at 50, the
// templates to the live names at 75.
void ResetSequence::countedLoop()
{
    WindowSystem& windows = platform_.windows;
    for (loopCounter_ = 0; loopCounter_ <= 100; ++loopCounter_) {
        onError_.step(windows.SetValue(design::ProgressBarName, loopCounter_));
        if (loopCounter_ == 25)
            moveLiveFilesAside();
        if (loopCounter_ == 50)
            onError_.step(windows.SetVisible(design::BackupNoticeLabel, true));
        if (loopCounter_ == 75)
            copyTemplates();
        windows.Sleep(50);
        windows.DoEvents();
    }
}

void ResetSequence::moveLiveFilesAside()
{
    for (Family& family : families_) {
        if (&family != &families_[0])
            platform_.windows.Sleep(200);
        if (family.inUse)
            continue;
        family.movedAside =
            moveToGeneration(family.database,
                             memberPath(platform_.files, family.database, Role::Live), 1)
                .ok();
    }
}

void ResetSequence::copyTemplates()
{
    for (Family& family : families_) {
        if (&family != &families_[0])
            platform_.windows.Sleep(50);
        family.outcome = family.inUse ? Outcome::InUse : copyTemplate(family);
    }
}

// A template goes to the live name only where nothing would be lost: the
// live file was moved to generation 1, or there was none to begin with. A
// test that cannot be made counts as a live file still in place.
Outcome ResetSequence::copyTemplate(const Family& family)
{
    FileSystem& files = platform_.files;
    const std::string live = memberPath(files, family.database, Role::Live);
    if (!family.movedAside) {
        Result<bool> present = files.FileExists(live);
        if (!present.ok() || present.value())
            return Outcome::LeftInPlace;
    }
    // The live name is free now; a file that has appeared there since (made
    // by another program meanwhile) is not replaced.
    Status copied = files.CopyFile(memberPath(files, family.database, Role::Template), live, false);
    if (copied.ok())
        return Outcome::Reset;
    return family.movedAside ? Outcome::SavedNotReset : Outcome::MissingNotMade;
}

void ResetSequence::closing()
{
    WindowSystem& windows = platform_.windows;
    onError_.step(windows.SetFocus());
    windows.Sleep(2000);
    std::string problems;
    for (const Family& family : families_)
        if (family.outcome != Outcome::Reset)
            problems +=
                notResetLine(family.database, family.outcome, family.inUse.value_or("")) + "\r\n";
    if (problems.empty())
        onError_.step(windows.MsgBox(texts::ResetCompleted, MB_ICONINFORMATION, MessageTitle));
    else
        onError_.step(windows.MsgBox(problems + texts::PleaseRestart, MB_ICONERROR, MessageTitle));
    onError_.step(windows.SetFocus());
    windows.DoEvents();
    windows.Sleep(2000);
    windows.End(problems.empty() ? 0 : 1);
}

} // namespace marlo
