#pragma once

#include "FilePath.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace marlo {

enum class Database { Con, Spm };

// Role of a member within one database's family. Backup1 is the newest
// generation (".bak"), Backup5 the oldest (".ba5").
enum class Role { Live, Template, Backup1, Backup2, Backup3, Backup4, Backup5 };

struct Member {
    Database database;
    Role role;
    std::string_view suffix;   // begins with a backslash, mixed case as created
    std::string_view userForm; // capitals as user texts write it; empty if unused
};

inline constexpr int BackupGenerations = 5;

// Every member of the file set, CON database first.
std::span<const Member> allMembers();

const Member& member(Database database, Role role);

// Generation 1..5 of a database's backups.
const Member& backup(Database database, int generation);

// A member in the application folder `folder`, shown by its user form where
// it has one.
FilePath memberPath(const std::string& folder, Database database, Role role);
FilePath backupPath(const std::string& folder, Database database, int generation);

// The live database and its five backup generations, newest first, as the
// file layer takes them.
std::vector<FilePath> familyPaths(const std::string& folder, Database database);

// Where a database's oldest generation waits to be dropped: beside it, hidden,
// and no member's name.
FilePath asidePath(const std::string& folder, Database database);

} // namespace marlo
