#pragma once

#include <string>
#include <string_view>

namespace marlo::win32 {

// UTF-8 at the interface, UTF-16 for the system's wide calls. A Windows name
// is any sequence of 16-bit units, so a surrogate without its partner is kept
// too, as its own three bytes (0xED 0xA0..0xBF, continuation), which no valid
// UTF-8 holds; a name read from the system converts back to the same name.
// Valid text converts as the system converts it; so does invalid UTF-8
// around such three bytes.
std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

} // namespace marlo::win32
