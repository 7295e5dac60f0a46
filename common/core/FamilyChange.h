#pragma once

#include "DatabaseFiles.h"
#include "FileSystem.h"
#include "Result.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace marlo {

class FileSystem;

// Runs `keep`, the KeepBackup of `file` under the name `backup`, with the
// progress hook it is to report to: where the drive has no links that is a
// whole copy, which a program may show as its other long copies.
using KeepRunner =
    std::function<Status(const FilePath& file, const FilePath& backup,
                         const std::function<Status(const CopyProgress& progress)>& keep)>;

// What a change of one family left behind when it did not simply succeed, in
// the user's words: what was done that could not be undone, and where the
// old data now is.
struct ChangeReport {
    bool placed = false;               // the new file holds the live name
    std::vector<std::string> whereNow; // "MARLOMDB.BA2 is now MARLOMDB.BA3"
    bool unflushed = false;            // a change the drive did not confirm on the disk
    bool changed() const { return placed || !whereNow.empty() || unflushed; }
};

// Puts a new file under a database's live name so that the file it replaces
// becomes the newest backup, and nothing is lost on the way. The import and
// the reset both go through it, step by step:
//  - prepare: nothing changes yet; the family is refused while another
//    program holds it, whether there is a live database to keep is settled,
//    the new content is staged beside the live name, and right before the
//    first change the holders and the destination are looked at again;
//  - the generations move one up, oldest first; the oldest is not dropped but
//    set aside, and deleted only once the new file holds the live name;
//  - finish: the old database gets its backup name while it keeps its live
//    name, and at once the new file takes the live name in one rename, so the
//    live name is never missing and the backup is a second name of the live
//    database only between two consecutive calls;
//  - until then, rollBack puts every name back as it was, and so does the
//    destructor of a change that was neither finished nor rolled back.
// Each step answers its failure; the caller then rolls back.
class FamilyChange {
public:
    // Stages the new content for the live name `live`.
    using Stager = std::function<Result<std::unique_ptr<StagedCopy>>(const FilePath& live)>;

    // `folder`: the application folder, read once by the command.
    FamilyChange(FileSystem& files, std::string folder, Database database);
    ~FamilyChange();
    FamilyChange(const FamilyChange&) = delete;
    FamilyChange& operator=(const FamilyChange&) = delete;

    // Everything before the first change; a failure has changed nothing.
    Status prepare(const Stager& stage);

    // The run of generations from the newest on moves one up, where there is
    // a live database to take the newest name; the oldest is set aside only
    // when all five exist, and a gap ends the run.
    Status shiftRun();
    // Generation `generation` moves one up, or is set aside when it is the
    // oldest; a missing one is no failure. Where the next generation is still
    // taken (the families went out of step), the older ones make room first.
    Status shiftGeneration(int generation);
    // The live database, where there is one, gets the newest backup name and
    // at once the staged copy takes the live name (as a new file where there
    // was none, never replacing one that appeared meanwhile); then the
    // set-aside oldest is dropped. Fails before the placing with nothing
    // placed, or after it with report().placed set. `run` runs the
    // KeepBackup; without one it runs as it is.
    Status finish(const KeepRunner& run = {});
    // Puts every name back; answers what is left changed.
    ChangeReport rollBack();

    // After finish: what the user must know although the new file is in
    // place (the old database's new name, an oldest generation kept aside).
    const ChangeReport& report() const { return report_; }

private:
    enum class Kind { SetAside, Moved, Kept };
    struct Step {
        Kind kind;
        int generation; // Moved: from this one to the next; else unused
    };

    Status record(Status done, Step step);
    Result<bool> liveThere();
    Status keepLive(const KeepRunner& run);
    Status place();
    Status setAsideOldest();
    FilePath generationPath(int generation) const;
    FilePath livePath() const;
    FilePath asideFile() const;
    std::string userForm(int generation) const;

    FileSystem& files_;
    std::string folder_;
    Database database_;
    std::optional<bool> livePresent_;
    std::unique_ptr<StagedCopy> staged_;
    std::vector<Step> done_;
    bool finished_ = false; // placed or rolled back
    ChangeReport report_;
};

} // namespace marlo
