#include "WinPaths.h"

#include "WinText.h"

#include "WinSystem.h"

#include <vector>

namespace marlo::win32 {

namespace {

constexpr std::wstring_view LongPrefix = L"\\\\?\\";
constexpr std::wstring_view DevicePrefix = L"\\\\.\\";
constexpr std::wstring_view UncPrefix = L"\\\\?\\UNC\\";

bool isSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool isDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The system's own full path: every name loses its trailing dots and
// spaces, as any path call that normalises would take it.
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

// Where the names of an absolute path start, after "C:\" or
// "\\server\share\"; 0 for a path that depends on a current folder.
std::size_t rootEnd(const std::wstring& path)
{
    if (path.size() >= 3 && isDriveLetter(path[0]) && path[1] == L':' && isSeparator(path[2]))
        return 3;
    if (path.size() < 3 || !isSeparator(path[0]) || !isSeparator(path[1]) || isSeparator(path[2]))
        return 0;
    std::size_t at = 2;
    for (int part = 0; part < 2 && at < path.size(); ++part) { // the server, then the share
        while (at < path.size() && !isSeparator(path[at]))
            ++at;
        if (at < path.size())
            ++at;
    }
    return at;
}

// The current folder that a path which is not absolute hangs from: the
// drive's own ("C:x"), the current drive's root ("\x"), or the current one.
std::wstring currentFolderOf(const std::wstring& path, std::size_t& namesStart)
{
    if (path.size() >= 2 && isDriveLetter(path[0]) && path[1] == L':') {
        namesStart = 2;
        return fullPath(path.substr(0, 2));
    }
    namesStart = !path.empty() && isSeparator(path[0]) ? 1 : 0;
    return fullPath(namesStart ? L"\\" : L".");
}

void addNames(const std::wstring& path, std::size_t from, std::vector<std::wstring>& names)
{
    while (from < path.size()) {
        std::size_t end = from;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const std::wstring name = path.substr(from, end - from);
        if (name == L"..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != L".") {
            names.push_back(name);
        }
        from = end + 1;
    }
}

// The whole path with every name as written, without the "\\?\" mark.
std::wstring exactFullPath(const std::wstring& path)
{
    std::wstring absolute = path;
    std::size_t root = rootEnd(path);
    if (root == 0) {
        std::size_t namesStart = 0;
        absolute = currentFolderOf(path, namesStart);
        root = rootEnd(absolute);
        if (root == 0)
            return fullPath(path);
        absolute += L'\\' + path.substr(namesStart);
    }
    std::wstring whole = absolute.substr(0, root);
    for (wchar_t& c : whole)
        if (c == L'/')
            c = L'\\';
    if (!whole.ends_with(L'\\'))
        whole += L'\\'; // "\\server\share" named alone
    std::vector<std::wstring> names;
    addNames(absolute, root, names);
    for (std::size_t i = 0; i < names.size(); ++i)
        whole += (i ? L"\\" : L"") + names[i];
    return whole;
}

std::wstring marked(const std::wstring& full)
{
    if (full.starts_with(L"\\\\"))
        return std::wstring(UncPrefix) + full.substr(2);
    return std::wstring(LongPrefix) + full;
}

bool namesSomething(const std::wstring& full)
{
    return ::GetFileAttributesW(marked(full).c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::wstring systemPath(const std::string& path)
{
    if (path.empty())
        return {};
    const std::wstring wide = widen(path);
    if (wide.starts_with(LongPrefix) || wide.starts_with(DevicePrefix))
        return wide; // already as the system takes it, literally
    return marked(exactFullPath(wide));
}

std::string chosenPathAsTaken(const std::string& path)
{
    const std::wstring wide = widen(path);
    if (path.empty() || wide.starts_with(LongPrefix) || wide.starts_with(DevicePrefix))
        return path;
    const std::wstring exact = exactFullPath(wide);
    if (namesSomething(exact))
        return path;
    const SplitPath split = splitSystemPath(exact);
    std::wstring name = split.name;
    while (!name.empty() && (name.back() == L'.' || name.back() == L' '))
        name.pop_back();
    if (name == split.name)
        return path;
    // A name of dots and spaces alone, or one in a folder that is not there
    // as written: the system's own reading of the whole path.
    if (name.empty() || !namesSomething(split.folder))
        return narrow(fullPath(wide));
    return narrow(split.folder + (split.folder.ends_with(L'\\') ? L"" : L"\\") + name);
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
