#include "ImportBackup.h"

#include "FileSystem.h"

namespace marlo {

namespace {

std::string nameOf(Database database, int generation)
{
    return std::string(backup(database, generation).suffix.substr(1));
}

// Moves the run of generations that starts at the newest one up by one, and
// undoes what it did unless it is kept.
class Rotation {
public:
    Rotation(FileSystem& files, Database database) : p_(files), database_(database) {}
    ~Rotation()
    {
        if (!kept_)
            undo();
    }
    Rotation(const Rotation&) = delete;
    Rotation& operator=(const Rotation&) = delete;

    Status makeRoom()
    {
        int run = 0;
        while (run < BackupGenerations) {
            Result<bool> present = p_.FileExists(backupPath(p_, database_, run + 1));
            if (!present)
                return present.status();
            if (!present.value())
                break;
            ++run;
        }
        if (run == BackupGenerations) {
            Status dropped = p_.DeleteFile(backupPath(p_, database_, BackupGenerations), false);
            if (!dropped)
                return Status::failure(dropped.error().number,
                                       "the oldest backup, " +
                                           nameOf(database_, BackupGenerations) +
                                           ", cannot make room: " + dropped.error().description);
            --run;
        }
        for (int generation = run; generation >= 1; --generation) {
            Status moved = p_.MoveFile(backupPath(p_, database_, generation),
                                       backupPath(p_, database_, generation + 1));
            if (!moved)
                return Status::failure(moved.error().number,
                                       "the backup " + nameOf(database_, generation) +
                                           " cannot move up: " + moved.error().description);
            moved_.push_back(generation);
        }
        return {};
    }

    void keep() { kept_ = true; }

private:
    void undo()
    {
        for (auto it = moved_.rbegin(); it != moved_.rend(); ++it)
            (void)p_.MoveFile(backupPath(p_, database_, *it + 1), backupPath(p_, database_, *it));
        moved_.clear();
    }

    FileSystem& p_;
    Database database_;
    std::vector<int> moved_; // generations moved up, in the order moved
    bool kept_ = false;
};

} // namespace

std::vector<std::string> familyPaths(FileSystem& files, Database database)
{
    std::vector<std::string> family{memberPath(files, database, Role::Live)};
    for (int generation = 1; generation <= BackupGenerations; ++generation)
        family.push_back(backupPath(files, database, generation));
    return family;
}

Status placeKeepingBackup(FileSystem& files, Database database, StagedCopy& staged)
{
    const std::string live = memberPath(files, database, Role::Live);
    Result<bool> present = files.FileExists(live);
    if (!present)
        return present.status();
    if (!present.value())
        return staged.Place(); // nothing to keep

    Rotation rotation(files, database);
    if (Status room = rotation.makeRoom(); !room)
        return room;
    const std::string newest = backupPath(files, database, 1);
    if (Status kept = files.KeepBackup(live, newest); !kept)
        return kept;
    const Status placed = staged.Place();
    if (!placed && !staged.Placed()) {
        // The old database still stands under its live name.
        (void)files.DeleteFile(newest, false);
        return placed;
    }
    // Once the new content has the live name, the backup is the old one's
    // only name; a failure after that point keeps it.
    rotation.keep();
    return placed;
}

} // namespace marlo
