#include "CommandHold.h"

#include "ChangeTexts.h"
#include "DatabaseFiles.h"

namespace marlo {

namespace {

constexpr Database bothDatabases[] = {Database::Con, Database::Spm};

std::string userForm(Database database, Role role)
{
    return std::string(member(database, role).userForm);
}

// A leftover of a stopped command back where it was, or dropped where its
// name is taken; any failure leaves it as it is, for the command's own
// set-aside to refuse.
void putBackLeftover(FileSystem& files, const std::string& folder, Database database,
                     std::vector<std::string>& mended)
{
    const FilePath aside = asidePath(folder, database);
    Result<bool> left = files.FileExists(aside);
    if (!left.ok() || !left.value())
        return;
    const FilePath oldest = backupPath(folder, database, BackupGenerations);
    if (files.MoveFile(aside, oldest).ok())
        return;
    Result<bool> taken = files.FileExists(oldest);
    if (taken.ok() && taken.value() && files.DeleteFile(aside, false).ok())
        mended.push_back(texts::leftoverDropped(aside.name(), userForm(database, Role::Backup5)));
}

} // namespace

Result<CommandHold> CommandHold::take(FileSystem& files, const std::string& folder)
{
    auto held = files.HoldFolder(folder);
    if (!held)
        return held.status();
    CommandHold hold(std::move(held.value()));
    for (Database database : bothDatabases) {
        Result<bool> separated = files.SeparateBackup(memberPath(folder, database, Role::Live),
                                                      backupPath(folder, database, 1));
        // One that made its copy but could not flush it is a copy all the same.
        if (!separated && !separated.error().changeMade)
            return because(separated.status(),
                           texts::notSeparated(userForm(database, Role::Backup1),
                                               userForm(database, Role::Live)));
    }
    if (hold.excludes())
        for (Database database : bothDatabases)
            putBackLeftover(files, folder, database, hold.mended_);
    return hold;
}

} // namespace marlo
