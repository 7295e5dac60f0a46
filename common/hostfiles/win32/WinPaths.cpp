#include "WinPaths.h"

#include "WinText.h"

#include "WinSystem.h"

namespace marlo::win32 {

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
