#include "WinTemporaryNames.h"

#include "WinHandle.h"

#include <algorithm>
#include <random>
#include <vector>

namespace marlo::win32 {

namespace {

constexpr std::wstring_view Letters =
    L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::wstring_view Marker = L".~marlo-";
constexpr std::size_t RandomLetters = 6;
constexpr std::wstring_view Ending = L".tmp";
// The whole name must fit the system's 255 characters.
constexpr std::size_t MaxNameInTemporary = 255 - 1 - Marker.size() - RandomLetters - Ending.size();

// "." and as much of the destination's name as fits, and the marker.
std::wstring prefixFor(const std::wstring& name)
{
    std::wstring prefix(1, L'.');
    prefix.append(name, 0, MaxNameInTemporary);
    return prefix.append(Marker);
}

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
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    std::wstring temporary = prefixFor(name);
    for (std::size_t i = 0; i < RandomLetters; ++i)
        temporary += Letters[pick(generator)];
    return temporary.append(Ending);
}

bool isTemporaryOf(std::wstring_view candidate, const std::wstring& name)
{
    const std::wstring prefix = prefixFor(name);
    if (candidate.size() != prefix.size() + RandomLetters + Ending.size() ||
        !sameIgnoringCase(candidate.substr(0, prefix.size()), prefix) ||
        !sameIgnoringCase(candidate.substr(candidate.size() - Ending.size()), Ending))
        return false;
    const std::wstring_view random = candidate.substr(prefix.size(), RandomLetters);
    return std::all_of(random.begin(), random.end(),
                       [](wchar_t c) { return Letters.find(c) != std::wstring_view::npos; });
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
    const std::wstring pattern = folder + prefixFor(destination.name) + L'*';
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found,
                                             FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::vector<std::wstring> stale;
    do {
        if (isTemporaryOf(found.cFileName, destination.name) &&
            !(found.dwFileAttributes & NeverRemoved))
            stale.emplace_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    for (const std::wstring& name : stale)
        removeIfStale(folder + name, source);
}

} // namespace marlo::win32
