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

inline std::string notSeparated(const std::string& backup, const std::string& live)
{
    return backup + " is a second name of " + live + " and could not be made a copy of its own";
}

inline std::string leftoverDropped(const std::string& aside, const std::string& oldest)
{
    return "the oldest backup that a stopped command had set aside as " + aside +
           " was removed, as that command was to do, since " + oldest + " was taken meanwhile";
}

} // namespace marlo::texts
