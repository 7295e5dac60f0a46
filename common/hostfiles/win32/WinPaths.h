#pragma once

#include <string>

namespace marlo::win32 {

// A path as the wide file calls take it, exactly as written: made whole
// against the current folder ('/' as '\', repeated separators as one, "."
// and ".." resolved) and marked "\\?\", so that no call trims the trailing
// dots and spaces of a name ("MARLOCON.MDB." listed from a Samba share is
// never MARLOCON.MDB) and names past 260 characters work. A path marked
// already is taken as it is. Empty stays empty.
std::wstring systemPath(const std::string& path);

// The path that the file calls of a command take for a name the user gave:
// as written where it names something that exists, else as the system
// takes a new name, without the trailing dots and spaces of its last name
// ("backup." is "backup"), in the folder as written where that exists.
std::string chosenPathAsTaken(const std::string& path);

// The folder part of a system path (with its separator at a root) and the
// last name in it.
struct SplitPath {
    std::wstring folder;
    std::wstring name;
};
SplitPath splitSystemPath(const std::wstring& path);

} // namespace marlo::win32
