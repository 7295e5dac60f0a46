#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace marlo {

class FileSystem;

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

// The application folder (asked of the file side anew) followed by the suffix.
std::string memberPath(FileSystem& files, Database database, Role role);
std::string backupPath(FileSystem& files, Database database, int generation);

} // namespace marlo
