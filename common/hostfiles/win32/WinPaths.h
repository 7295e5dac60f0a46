#pragma once

#include <string>

namespace marlo::win32 {

// A path as the wide file calls take it: made whole by the system's own rules
// (relative to the current folder, '/' as '\', repeated separators as one)
// and marked so that names past 260 characters work. Empty stays empty.
std::wstring systemPath(const std::string& path);

// The folder part of a system path (with its separator at a root) and the
// last name in it.
struct SplitPath {
    std::wstring folder;
    std::wstring name;
};
SplitPath splitSystemPath(const std::wstring& path);

} // namespace marlo::win32
