#include "FamilyChange.h"

#include "FileSystem.h"

#include <algorithm>
#include <cctype>

namespace marlo {

namespace {

// The hidden name is spelled from the oldest generation's, so each family has
// its own and neither is a member.
std::string asideName(Database database)
{
    std::string name(".");
    name.append(backup(database, BackupGenerations).suffix.substr(1));
    return name.append(".~marlo-old");
}

std::string capitals(std::string_view name)
{
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

Status because(const Status& failed, const std::string& what)
{
    OpError error = failed.error();
    error.description = what + ": " + error.description;
    return Status::failure(std::move(error));
}

bool tookEffect(const Status& status)
{
    return status.ok() || status.error().changeMade;
}

} // namespace

std::vector<std::string> familyPaths(FileSystem& files, Database database)
{
    std::vector<std::string> family{memberPath(files, database, Role::Live)};
    for (int generation = 1; generation <= BackupGenerations; ++generation)
        family.push_back(backupPath(files, database, generation));
    return family;
}

std::string asidePath(FileSystem& files, Database database)
{
    return files.ApplicationFolder() + "\\" + asideName(database);
}

FamilyChange::~FamilyChange()
{
    if (!finished_ && !done_.empty())
        (void)rollBack();
}

std::string FamilyChange::generationPath(int generation)
{
    return backupPath(files_, database_, generation);
}

std::string FamilyChange::userForm(int generation) const
{
    const Member& m = backup(database_, generation);
    return m.userForm.empty() ? capitals(m.suffix.substr(1)) : std::string(m.userForm);
}

// A step that took effect is undone by rollBack, also one whose change the
// drive did not confirm; that one still ends the change as a failure.
Status FamilyChange::record(Status done, Step step)
{
    if (tookEffect(done))
        done_.push_back(step);
    if (!done.ok() && done.error().changeMade)
        report_.unflushed = true;
    return done;
}

Status FamilyChange::setAsideOldest()
{
    const std::string oldest = generationPath(BackupGenerations);
    const std::string aside = asidePath(files_, database_);
    Status setAside = files_.SetAside(oldest, aside);
    if (!tookEffect(setAside)) {
        Result<bool> present = files_.FileExists(oldest);
        if (present.ok() && !present.value())
            return {}; // nothing to drop
        // One an earlier command set aside and was stopped before it dropped:
        // it was to go then.
        Result<bool> leftover = files_.FileExists(aside);
        if (leftover.ok() && leftover.value() && files_.DeleteFile(aside, false).ok())
            setAside = files_.SetAside(oldest, aside);
    }
    if (!tookEffect(setAside))
        return because(setAside,
                       "the oldest backup, " + files_.NameOf(oldest) + ", cannot make room");
    return record(setAside, {Kind::SetAside, BackupGenerations});
}

Result<bool> FamilyChange::liveThere()
{
    if (!livePresent_) {
        Result<bool> present = files_.FileExists(memberPath(files_, database_, Role::Live));
        if (!present)
            return present;
        livePresent_ = present.value();
    }
    return *livePresent_;
}

Status FamilyChange::shiftRun()
{
    Result<bool> live = liveThere();
    if (!live || !live.value())
        return live.status(); // without a database to keep, nothing moves
    int run = 0;
    while (run < BackupGenerations) {
        Result<bool> present = files_.FileExists(generationPath(run + 1));
        if (!present)
            return present.status();
        if (!present.value())
            break;
        ++run;
    }
    if (run == BackupGenerations) {
        if (Status room = setAsideOldest(); !room)
            return room;
        --run;
    }
    for (int generation = run; generation >= 1; --generation) {
        const std::string from = generationPath(generation);
        Status moved = record(files_.MoveFile(from, generationPath(generation + 1)),
                              {Kind::Moved, generation});
        if (!moved)
            return because(moved, "the backup " + files_.NameOf(from) + " cannot move up");
    }
    return {};
}

Status FamilyChange::shiftGeneration(int generation)
{
    if (generation == BackupGenerations)
        return setAsideOldest();
    const std::string from = generationPath(generation);
    const std::string to = generationPath(generation + 1);
    Status moved = record(files_.MoveFile(from, to), {Kind::Moved, generation});
    if (tookEffect(moved))
        return moved;
    Result<bool> present = files_.FileExists(from);
    if (present.ok() && !present.value())
        return {}; // a gap moves up with the rest
    Result<bool> taken = files_.FileExists(to);
    if (taken.ok() && taken.value() && present.ok()) {
        if (Status room = shiftGeneration(generation + 1); !room)
            return room;
        moved = record(files_.MoveFile(from, to), {Kind::Moved, generation});
    }
    if (!moved)
        return because(moved, "the backup " + files_.NameOf(from) + " cannot move up");
    return moved;
}

Status FamilyChange::keepLive()
{
    const std::string live = memberPath(files_, database_, Role::Live);
    Result<bool> present = liveThere();
    if (!present || !present.value())
        return present.status(); // nothing to keep: the new file comes as a new one
    const std::string newest = generationPath(1);
    Status kept = record(files_.KeepBackup(live, newest), {Kind::Kept, 1});
    if (tookEffect(kept))
        return kept;
    Result<bool> taken = files_.FileExists(newest);
    if (taken.ok() && taken.value()) {
        if (Status room = shiftGeneration(1); !room)
            return room;
        kept = record(files_.KeepBackup(live, newest), {Kind::Kept, 1});
    }
    return kept;
}

Status FamilyChange::place(StagedCopy& staged)
{
    const bool liveKept =
        std::any_of(done_.begin(), done_.end(), [](const Step& s) { return s.kind == Kind::Kept; });
    Status placed = liveKept ? staged.Place() : staged.PlaceNew();
    if (!placed && !staged.Placed())
        return placed;
    finished_ = true;
    report_.placed = true;
    if (liveKept)
        report_.whereNow.push_back("the old " +
                                   std::string(member(database_, Role::Live).userForm) +
                                   " is now " + userForm(1));
    report_.unflushed = report_.unflushed || !placed;
    const bool setAside = std::any_of(done_.begin(), done_.end(),
                                      [](const Step& s) { return s.kind == Kind::SetAside; });
    if (!setAside)
        return placed;
    const std::string aside = asidePath(files_, database_);
    Status dropped = files_.DeleteFile(aside, false);
    if (dropped.ok() || dropped.error().changeMade) {
        report_.unflushed = report_.unflushed || !dropped.ok();
        return placed.ok() ? dropped : placed;
    }
    report_.whereNow.push_back("the oldest backup " + userForm(BackupGenerations) +
                               " could not be removed and is kept as " + files_.NameOf(aside));
    return placed.ok() ? dropped : placed;
}

ChangeReport FamilyChange::rollBack()
{
    finished_ = true;
    const std::string live(member(database_, Role::Live).userForm);
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
        Status undone;
        std::string left;
        switch (it->kind) {
        case Kind::Kept:
            undone = files_.RemoveKeptBackup(generationPath(1));
            left = userForm(1) + " is now a second name of " + live;
            break;
        case Kind::Moved:
            undone =
                files_.MoveFile(generationPath(it->generation + 1), generationPath(it->generation));
            left = userForm(it->generation) + " is now " + userForm(it->generation + 1);
            break;
        case Kind::SetAside:
            undone =
                files_.MoveFile(asidePath(files_, database_), generationPath(BackupGenerations));
            left = userForm(BackupGenerations) + " is now " +
                   files_.NameOf(asidePath(files_, database_));
            break;
        }
        if (!tookEffect(undone))
            report_.whereNow.push_back(left);
        else if (!undone.ok())
            report_.unflushed = true;
    }
    done_.clear();
    return report_;
}

} // namespace marlo
