#pragma once

#include <string>
#include <string_view>

namespace marlo::win32 {

// UTF-8 at the interface, UTF-16 for the system's wide calls.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace marlo::win32
