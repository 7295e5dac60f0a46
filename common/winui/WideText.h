#pragma once

#include <string>
#include <string_view>

namespace marlo {

// The platform interface speaks UTF-8; the Windows calls speak UTF-16.
std::wstring wideFromUtf8(std::string_view text);
std::string utf8FromWide(std::wstring_view text);

} // namespace marlo
