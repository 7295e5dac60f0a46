#include "DatabaseFiles.h"

#include "FileSystem.h"

#include <stdexcept>

namespace marlo {

namespace {

constexpr std::array<Member, 14> members{{
    {Database::Con, Role::Live, "\\MARLOcon.mdb", "MARLOCON.MDB"},
    {Database::Spm, Role::Live, "\\MARLOspm.mdb", "MARLOSPM.MDB"},
    {Database::Con, Role::Template, "\\cvmdb1.bin", "CVMDB1.BIN"},
    {Database::Spm, Role::Template, "\\cvmdb2.bin", "CVMDB2.BIN"},
    {Database::Con, Role::Backup1, "\\MARLOmdb.bak", "MARLOMDB.BAK"},
    {Database::Con, Role::Backup2, "\\MARLOmdb.ba2", ""},
    {Database::Con, Role::Backup3, "\\MARLOmdb.ba3", ""},
    {Database::Con, Role::Backup4, "\\MARLOmdb.ba4", ""},
    {Database::Con, Role::Backup5, "\\MARLOmdb.ba5", ""},
    {Database::Spm, Role::Backup1, "\\MARLOspm.bak", "MARLOSPM.BAK"},
    {Database::Spm, Role::Backup2, "\\MARLOspm.ba2", ""},
    {Database::Spm, Role::Backup3, "\\MARLOspm.ba3", ""},
    {Database::Spm, Role::Backup4, "\\MARLOspm.ba4", ""},
    {Database::Spm, Role::Backup5, "\\MARLOspm.ba5", ""},
}};

} // namespace

std::span<const Member> allMembers()
{
    return members;
}

const Member& member(Database database, Role role)
{
    for (const Member& m : members)
        if (m.database == database && m.role == role)
            return m;
    throw std::logic_error("no such member"); // unreachable: the table is complete
}

const Member& backup(Database database, int generation)
{
    if (generation < 1 || generation > BackupGenerations)
        throw std::out_of_range("backup generation");
    return member(database, static_cast<Role>(static_cast<int>(Role::Backup1) + generation - 1));
}

std::string memberPath(FileSystem& files, Database database, Role role)
{
    return files.ApplicationFolder() + std::string(member(database, role).suffix);
}

std::string backupPath(FileSystem& files, Database database, int generation)
{
    return files.ApplicationFolder() + std::string(backup(database, generation).suffix);
}

} // namespace marlo
