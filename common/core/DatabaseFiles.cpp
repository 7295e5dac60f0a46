#include "DatabaseFiles.h"

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

namespace {

FilePath inFolder(const std::string& folder, const Member& m)
{
    return FilePath::member(folder, std::string(m.suffix.substr(1)), std::string(m.userForm));
}

} // namespace

FilePath memberPath(const std::string& folder, Database database, Role role)
{
    return inFolder(folder, member(database, role));
}

FilePath backupPath(const std::string& folder, Database database, int generation)
{
    return inFolder(folder, backup(database, generation));
}

std::vector<FilePath> familyPaths(const std::string& folder, Database database)
{
    std::vector<FilePath> family{memberPath(folder, database, Role::Live)};
    for (int generation = 1; generation <= BackupGenerations; ++generation)
        family.push_back(backupPath(folder, database, generation));
    return family;
}

// The hidden name is spelled from the oldest generation's, so each family has
// its own and neither is a member.
FilePath asidePath(const std::string& folder, Database database)
{
    std::string name(".");
    name.append(backup(database, BackupGenerations).suffix.substr(1));
    return FilePath::member(folder, name.append(".~marlo-old"));
}

} // namespace marlo
