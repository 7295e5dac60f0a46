#include "FamilyChange.h"

#include "ChangeTexts.h"
#include "FileSystem.h"
#include "SessionEnd.h"

#include <algorithm>
#include <cctype>

namespace marlo {

namespace {

std::string capitals(std::string_view name)
{
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool tookEffect(const Status& status)
{
    return status.ok() || status.error().changeMade;
}

} // namespace

FamilyChange::FamilyChange(FileSystem& files, std::string folder, Database database)
    : files_(files), folder_(std::move(folder)), database_(database)
{
}

FamilyChange::~FamilyChange()
{
    if (!finished_ && !done_.empty())
        (void)rollBack();
}

FilePath FamilyChange::generationPath(int generation) const
{
    return backupPath(folder_, database_, generation);
}

FilePath FamilyChange::livePath() const
{
    return memberPath(folder_, database_, Role::Live);
}

FilePath FamilyChange::asideFile() const
{
    return asidePath(folder_, database_);
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
    const FilePath oldest = generationPath(BackupGenerations);
    Status setAside = files_.SetAside(oldest, asideFile());
    if (!tookEffect(setAside)) {
        Result<bool> present = files_.FileExists(oldest);
        if (present.ok() && !present.value())
            return {}; // nothing to drop
        return because(setAside, texts::oldestCannotMakeRoom(oldest.name()));
    }
    return record(setAside, {Kind::SetAside, BackupGenerations});
}

Status FamilyChange::prepare(const Stager& stage)
{
    const std::vector<FilePath> family = familyPaths(folder_, database_);
    if (Status free = files_.FilesNotInUse(family); !free)
        return free;
    // A generation that could not move would stop the change midway.
    for (int generation = 1; generation <= BackupGenerations; ++generation)
        if (Status movable = files_.CheckRemovable(generationPath(generation)); !movable)
            return because(movable, texts::backupCannotMoveUp(generationPath(generation).name()));
    // A database that appears at the live name after this is not replaced.
    if (Result<bool> live = liveThere(); !live)
        return live.status();
    auto staged = stage(livePath());
    if (!staged)
        return staged.status();
    staged_ = std::move(staged.value());
    // The main program may have been started during the copy.
    if (Status free = files_.FilesNotInUse(family); !free)
        return free;
    return staged_->CheckDestination();
}

Result<bool> FamilyChange::liveThere()
{
    if (!livePresent_) {
        Result<bool> present = files_.FileExists(livePath());
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
        const FilePath from = generationPath(generation);
        Status moved = record(files_.MoveFile(from, generationPath(generation + 1)),
                              {Kind::Moved, generation});
        if (!moved)
            return because(moved, texts::backupCannotMoveUp(from.name()));
    }
    return {};
}

Status FamilyChange::shiftGeneration(int generation)
{
    if (generation == BackupGenerations)
        return setAsideOldest();
    const FilePath from = generationPath(generation);
    const FilePath to = generationPath(generation + 1);
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
        return because(moved, texts::backupCannotMoveUp(from.name()));
    return moved;
}

Status FamilyChange::keepLive(const KeepRunner& run)
{
    const FilePath live = livePath();
    Result<bool> present = liveThere();
    if (!present || !present.value())
        return present.status(); // nothing to keep: the new file comes as a new one
    const FilePath newest = generationPath(1);
    // Holds nothing of this change: a runner may leave it running.
    const auto keep = [&files = files_, live, newest](const CopyProgress& progress) {
        return files.KeepBackup(live, newest, progress);
    };
    const auto keepBackup = [&] { return run ? run(live, newest, keep) : keep({}); };
    Status kept = record(keepBackup(), {Kind::Kept, 1});
    if (tookEffect(kept))
        return kept;
    Result<bool> taken = files_.FileExists(newest);
    if (taken.ok() && taken.value()) {
        if (Status room = shiftGeneration(1); !room)
            return room;
        kept = record(keepBackup(), {Kind::Kept, 1});
    }
    return kept;
}

Status FamilyChange::finish(const KeepRunner& run)
{
    // Nothing may end the tool between the backup name and the placing.
    const SessionEndDeferred uncut;
    if (Status kept = keepLive(run); !kept)
        return kept;
    return place();
}

Status FamilyChange::place()
{
    const bool liveKept =
        std::any_of(done_.begin(), done_.end(), [](const Step& s) { return s.kind == Kind::Kept; });
    Status placed = liveKept ? staged_->Place() : staged_->PlaceNew();
    if (!placed && !staged_->Placed())
        return placed;
    // The placed copy is the live database now: the tool lets go of it, or
    // the next command would find it in use.
    staged_.reset();
    finished_ = true;
    report_.placed = true;
    if (liveKept)
        report_.whereNow.push_back(texts::oldDatabaseIsNow(
            std::string(member(database_, Role::Live).userForm), userForm(1)));
    report_.unflushed = report_.unflushed || !placed;
    const bool setAside = std::any_of(done_.begin(), done_.end(),
                                      [](const Step& s) { return s.kind == Kind::SetAside; });
    if (!setAside)
        return placed;
    const FilePath aside = asideFile();
    Status dropped = files_.DeleteFile(aside, false);
    if (dropped.ok() || dropped.error().changeMade) {
        report_.unflushed = report_.unflushed || !dropped.ok();
        return placed.ok() ? dropped : placed;
    }
    report_.whereNow.push_back(texts::oldestKeptAside(userForm(BackupGenerations), aside.name()));
    return placed.ok() ? dropped : placed;
}

ChangeReport FamilyChange::rollBack()
{
    finished_ = true;
    staged_.reset();
    const std::string live(member(database_, Role::Live).userForm);
    for (auto it = done_.rbegin(); it != done_.rend(); ++it) {
        Status undone;
        std::string left;
        switch (it->kind) {
        case Kind::Kept:
            undone = files_.RemoveKeptBackup(generationPath(1));
            left = texts::secondNameOf(userForm(1), live);
            break;
        case Kind::Moved:
            undone =
                files_.MoveFile(generationPath(it->generation + 1), generationPath(it->generation));
            left = texts::isNow(userForm(it->generation), userForm(it->generation + 1));
            break;
        case Kind::SetAside:
            undone = files_.MoveFile(asideFile(), generationPath(BackupGenerations));
            left = texts::isNow(userForm(BackupGenerations), asideFile().name());
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
