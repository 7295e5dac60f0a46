#include "ResetSequence.h"

#include "DatabaseFiles.h"
#include "ErrorPolicies.h"
#include "ImportBackup.h"
#include "MessageBox.h"
#include "Platform.h"
#include "ResetTexts.h"

#include <array>
#include <cctype>
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

constexpr const char* ProgressBar = "ProgressBar1";

// What became of one database in the counted loop.
enum class Outcome {
    Reset,          // the template now stands under the live name
    LeftInPlace,    // the live file could not be moved aside and was kept
    SavedNotReset,  // the live file went to generation 1, the template copy failed
    MissingNotMade, // there was no live file, and the template copy failed
    InUse,          // another program held its files; none of them was touched
};

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
    Platform& p = platform_;
    const std::string destination = backupPath(p, database, generation);
    Status moved = p.MoveFile(source, destination);
    if (moved.ok())
        return moved;
    Result<bool> taken = p.FileExists(destination);
    if (!taken.ok() || !taken.value())
        return moved;
    Result<bool> present = p.FileExists(source);
    if (!present.ok() || !present.value())
        return moved;
    Status room = generation == BackupGenerations
                      ? p.DeleteFile(destination, false)
                      : moveToGeneration(database, destination, generation + 1);
    if (!room.ok())
        return moved;
    return p.MoveFile(source, destination);
}

void ResetSequence::run()
{
    Platform& p = platform_;
    running_ = true;
    struct NotRunningAtEnd {
        bool& flag;
        ~NotRunningAtEnd() { flag = false; }
    } notRunningAtEnd{running_};

    const NextStatement onError;

    // Into the progress state.
    onError.step(p.SetEnabled("OKButton", false));
    onError.step(p.SetVisible("Label1", false));
    onError.step(p.SetVisible("Label4", false));
    onError.step(p.SetVisible("Label2", true));
    onError.step(p.SetVisible(ProgressBar, true));
    p.Sleep(200);

    // Both templates must be there before anything changes on disk. A test
    // that cannot be made at all counts as a missing template: going on
    // blind could leave a database without a template to rebuild it from.
    const char* abortPrompts[] = {texts::TemplateMissing1, texts::TemplateMissing2};
    for (int i = 0; i < 2; ++i) {
        Result<bool> present = p.FileExists(memberPath(p, bothDatabases[i], Role::Template));
        if (!present.ok() || !present.value()) {
            onError.step(p.MsgBox(abortPrompts[i], MB_ICONERROR, MessageTitle));
            p.Unload(1);
            return;
        }
    }
    // A database whose files another program holds open (the main program,
    // say) is left alone as a whole: rotating its backups and then failing
    // to move its live file would drop its oldest backup for nothing.
    std::optional<std::string> inUse[2];
    for (int i = 0; i < 2; ++i) {
        if (Status free = p.FilesNotInUse(familyPaths(p, bothDatabases[i])); !free)
            inUse[i] = free.error().description;
    }
    auto leftAlone = [&](Database database) {
        return inUse[database == Database::Spm].has_value();
    };

    onError.step(p.SetValue(ProgressBar, 0));

    // The rotation: the oldest CON generation present selects the case.
    std::optional<int> rotationCase;
    for (int generation = BackupGenerations; generation >= 1 && !rotationCase; --generation)
        if (onError.test(p.FileExists(backupPath(p, Database::Con, generation))))
            rotationCase = generation;
    if (rotationCase) {
        onError.step(p.SetValue(ProgressBar, 0));
        p.Sleep(50);
        const std::size_t first = 2 * (BackupGenerations - *rotationCase);
        std::span<const int> progress = progressOfCase(*rotationCase);
        for (std::size_t i = first; i < rotationSteps.size(); ++i) {
            const RotationStep& s = rotationSteps[i];
            // A family left alone keeps its files; the pacing stays the same.
            if (!leftAlone(s.database)) {
                if (s.generation == BackupGenerations)
                    onError.step(p.DeleteFile(backupPath(p, s.database, s.generation), false));
                else
                    onError.step(moveToGeneration(
                        s.database, backupPath(p, s.database, s.generation), s.generation + 1));
            }
            onError.step(p.SetValue(ProgressBar, static_cast<float>(progress[i - first])));
            p.Sleep(50);
        }
    }
    onError.step(p.SetValue(ProgressBar, 0));

    // A template goes to the live name only where nothing would be lost: the
    // live file was moved to generation 1, or there was none to begin with.
    // A test that cannot be made counts as a live file still in place.
    auto copyTemplate = [&](Database database, bool movedAside) {
        if (!movedAside) {
            Result<bool> live = p.FileExists(memberPath(p, database, Role::Live));
            if (!live.ok() || live.value())
                return Outcome::LeftInPlace;
        }
        // The live name is free now; a file that has appeared there since
        // (made by another program meanwhile) is not replaced.
        Status copied = p.CopyFile(memberPath(p, database, Role::Template),
                                   memberPath(p, database, Role::Live), false);
        if (copied.ok())
            return Outcome::Reset;
        return movedAside ? Outcome::SavedNotReset : Outcome::MissingNotMade;
    };

    // The counted loop: live databases to generation 1 at 25, the backup
    // notice at 50, the templates to the live names at 75.
    bool movedAside[2] = {false, false};
    Outcome outcome[2] = {Outcome::Reset, Outcome::Reset};
    for (loopCounter_ = 0; loopCounter_ <= 100; ++loopCounter_) {
        onError.step(p.SetValue(ProgressBar, loopCounter_));
        if (loopCounter_ == 25) {
            for (int i = 0; i < 2; ++i) {
                if (i == 1)
                    p.Sleep(200);
                if (leftAlone(bothDatabases[i]))
                    continue;
                Status moved = moveToGeneration(bothDatabases[i],
                                                memberPath(p, bothDatabases[i], Role::Live), 1);
                movedAside[i] = moved.ok();
            }
        }
        if (loopCounter_ == 50)
            onError.step(p.SetVisible("Label3", true));
        if (loopCounter_ == 75) {
            for (int i = 0; i < 2; ++i) {
                if (i == 1)
                    p.Sleep(50);
                outcome[i] = leftAlone(bothDatabases[i])
                                 ? Outcome::InUse
                                 : copyTemplate(bothDatabases[i], movedAside[i]);
            }
        }
        p.Sleep(50);
        p.DoEvents();
    }

    onError.step(p.SetFocus());
    p.Sleep(2000);
    std::string problems;
    for (int i = 0; i < 2; ++i)
        if (outcome[i] != Outcome::Reset)
            problems += notResetLine(bothDatabases[i], outcome[i], inUse[i].value_or("")) + "\r\n";
    if (problems.empty())
        onError.step(p.MsgBox(texts::ResetCompleted, MB_ICONINFORMATION, MessageTitle));
    else
        onError.step(p.MsgBox(problems + texts::PleaseRestart, MB_ICONERROR, MessageTitle));
    onError.step(p.SetFocus());
    p.DoEvents();
    p.Sleep(2000);
    p.End(problems.empty() ? 0 : 1);
}

} // namespace marlo
