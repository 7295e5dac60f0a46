#include "WinTemporaryNames.h"

#include "TemporaryName.h"

#include "WinHandle.h"

#include <algorithm>
#include <random>
#include <vector>

namespace marlo::win32 {

namespace {

bool sameIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

constexpr DWORD NeverRemoved =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

void removeIfStale(const std::wstring& path, const FileIdentity& source)
{
    // Asking for the file alone fails while any handle is open on it: a copy
    // still writing it, or waiting to put it in place, holds one.
    const UniqueHandle file(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file)
        return;
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file.get(), &info) ||
        (info.dwFileAttributes & NeverRemoved) || identityOf(info) == source)
        return;
    // Exactly the file examined goes, whatever took its name meanwhile.
    markForDeletion(file.get(), true);
}

} // namespace

std::wstring temporaryNameFor(const std::wstring& name)
{
    return TemporaryName<wchar_t>::forDestination(name);
}

bool isTemporaryOf(std::wstring_view candidate, const std::wstring& name)
{
    return TemporaryName<wchar_t>::isOf(candidate, name, sameIgnoringCase);
}

bool markForDeletion(HANDLE file, bool remove)
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(remove)};
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                        sizeof disposition) != FALSE;
}

void removeStaleTemporaries(const SplitPath& destination, const FileIdentity& source)
{
    std::wstring folder = destination.folder;
    if (!folder.ends_with(L'\\'))
        folder += L'\\';
    const std::wstring pattern =
        folder + TemporaryName<wchar_t>::prefixFor(destination.name) + L'*';
    WIN32_FIND_DATAW found;
    UniqueFind search(::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, 0));
    if (!search)
        return;
    std::vector<std::wstring> stale;
    do {
        if (isTemporaryOf(found.cFileName, destination.name) &&
            !(found.dwFileAttributes & NeverRemoved))
            stale.emplace_back(found.cFileName);
    } while (::FindNextFileW(search.get(), &found));
    search.reset();
    for (const std::wstring& name : stale)
        removeIfStale(folder + name, source);
}

} // namespace marlo::win32
