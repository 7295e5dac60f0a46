#pragma once

#include <string>

// The words a change of a database's family uses for what it did and what it
// left behind, blanks included.
namespace marlo::texts {

inline std::string oldestCannotMakeRoom(const std::string& name)
{
    return "the oldest backup, " + name + ", cannot make room";
}

inline std::string backupCannotMoveUp(const std::string& name)
{
    return "the backup " + name + " cannot move up";
}

inline std::string oldDatabaseIsNow(const std::string& live, const std::string& backup)
{
    return "the old " + live + " is now " + backup;
}

inline std::string oldestKeptAside(const std::string& oldest, const std::string& aside)
{
    return "the oldest backup " + oldest + " could not be removed and is kept as " + aside;
}

inline std::string secondNameOf(const std::string& backup, const std::string& live)
{
    return backup + " is now a second name of " + live;
}

inline std::string isNow(const std::string& was, const std::string& now)
{
    return was + " is now " + now;
}

} // namespace marlo::texts
