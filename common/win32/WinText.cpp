#include "WinText.h"

#include "WinSystem.h"

namespace marlo::win32 {

std::wstring widen(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view utf16)
{
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, utf8.data(), length, nullptr, nullptr);
    return utf8;
}

namespace {

constexpr std::wstring_view LongPrefix = L"\\\\?\\";
constexpr std::wstring_view DevicePrefix = L"\\\\.\\";
constexpr std::wstring_view UncPrefix = L"\\\\?\\UNC\\";

std::wstring fullPath(const std::wstring& path)
{
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0)
            return path; // the system will refuse the name itself
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

} // namespace

std::wstring systemPath(const std::string& path)
{
    if (path.empty())
        return {};
    const std::wstring wide = widen(path);
    if (wide.starts_with(LongPrefix) || wide.starts_with(DevicePrefix))
        return wide; // already as the system takes it, literally
    const std::wstring full = fullPath(wide);
    if (full.starts_with(L"\\\\"))
        return std::wstring(UncPrefix) + full.substr(2);
    return std::wstring(LongPrefix) + full;
}

SplitPath splitSystemPath(const std::wstring& path)
{
    const auto separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos)
        return {L".", path};
    std::wstring folder = path.substr(0, separator);
    // "\\?\C:" is no folder; "\\?\C:\" is the drive's root.
    if (folder.ends_with(L':'))
        folder += L'\\';
    return {folder, path.substr(separator + 1)};
}

} // namespace marlo::win32
