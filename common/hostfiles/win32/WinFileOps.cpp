#include "WinFileOps.h"

#include "WinErrors.h"
#include "WinHandle.h"
#include "WinInUse.h"
#include "WinPaths.h"

#include "WinSystem.h"

#include <cwctype>

namespace marlo::win32 {

namespace {

Status missingFile()
{
    return failure(ERROR_FILE_NOT_FOUND, FileFailure::FileMissing);
}

Status notAFile(DWORD attributes)
{
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return failure(ERROR_DIRECTORY, FileFailure::NameIsFolder);
    return failure(ERROR_INVALID_FUNCTION, FileFailure::NameNotOrdinary);
}

DWORD deletePatiently(const std::wstring& path)
{
    return patiently([&] { return ::DeleteFileW(path.c_str()) != FALSE; });
}

bool isFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

bool isDevicePath(const std::wstring& path)
{
    if (path.starts_with(L"\\\\.\\"))
        return true;
    // The reserved names stay devices with any extension ("NUL.mdb").
    std::wstring name = splitSystemPath(path).name;
    name = name.substr(0, name.find(L'.'));
    while (name.ends_with(L' '))
        name.pop_back();
    for (wchar_t& c : name)
        c = static_cast<wchar_t>(::towupper(c));
    if (name == L"CON" || name == L"PRN" || name == L"AUX" || name == L"NUL")
        return true;
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
           name[3] >= L'1' && name[3] <= L'9';
}

unsigned long attributesOf(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return attributes;
    const UniqueHandle target(
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!target || !::GetFileInformationByHandle(target.get(), &info))
        return INVALID_FILE_ATTRIBUTES;
    return info.dwFileAttributes;
}

Result<bool> regularFileExists(const std::wstring& path)
{
    if (path.empty() || isDevicePath(path))
        return false;
    const DWORD attributes = attributesOf(path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    const DWORD error = ::GetLastError();
    if (meansNoSuchName(error))
        return false;
    return Result<bool>(failure(error));
}

Status moveNoReplace(const std::wstring& source, const std::wstring& destination)
{
    if (isDevicePath(source))
        return notAFile(INVALID_FILE_ATTRIBUTES);
    const DWORD attributes = ::GetFileAttributesW(source.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(::GetLastError()) ? missingFile() : lastFailure();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return notAFile(attributes);
    // A program that has the file open would go on writing under the new name.
    if (Status unused = refuseIfInUse(source); !unused)
        return unused;
    if (!isFolder(splitSystemPath(destination).folder))
        return failure(ERROR_PATH_NOT_FOUND, FileFailure::DestinationFolderMissing);
    // Without MOVEFILE_REPLACE_EXISTING the system refuses a taken name
    // atomically; the test before it only chooses the words, and refuses a
    // name that differs in case alone, which the system would let through.
    if (::GetFileAttributesW(destination.c_str()) != INVALID_FILE_ATTRIBUTES)
        return failure(ERROR_ALREADY_EXISTS, FileFailure::NewNameTaken);
    if (const DWORD error = renamePatiently(source, destination, MOVEFILE_WRITE_THROUGH))
        return newNameRefused(error, source);
    return {};
}

bool heldForAMoment(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
           error == ERROR_ACCESS_DENIED;
}

DWORD renamePatiently(const std::wstring& from, const std::wstring& to, DWORD how)
{
    return patiently([&] { return ::MoveFileExW(from.c_str(), to.c_str(), how) != FALSE; });
}

Status newNameRefused(DWORD error, const std::wstring& file)
{
    switch (error) {
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return failure(error, FileFailure::NewNameTaken);
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return inUse(file);
    default:
        return failure(error);
    }
}

Status setAside(const std::wstring& source, const std::wstring& destination)
{
    const DWORD attributes = attributesOf(source);
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        (attributes & FILE_ATTRIBUTE_READONLY))
        return failure(ERROR_ACCESS_DENIED, FileFailure::FileReadOnly);
    return moveNoReplace(source, destination);
}

Status removeName(const std::wstring& path)
{
    const DWORD error = deletePatiently(path);
    if (error == 0)
        return {};
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return inUse(path);
    return isMissing(error) ? missingFile() : failure(error);
}

Status deleteFile(const std::wstring& path, bool force)
{
    if (isDevicePath(path))
        return notAFile(INVALID_FILE_ATTRIBUTES);
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(::GetLastError()) ? missingFile() : lastFailure();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return notAFile(attributes);
    if (!force && (attributes & FILE_ATTRIBUTE_READONLY))
        return failure(ERROR_ACCESS_DENIED, FileFailure::FileReadOnly);
    if (Status unused = refuseIfInUse(path); !unused)
        return unused;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    const DWORD error = deletePatiently(path);
    if (error == 0)
        return {};
    if (attributes & FILE_ATTRIBUTE_READONLY)
        ::SetFileAttributesW(path.c_str(), attributes); // as it was
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return inUse(path);
    return isMissing(error) ? missingFile() : failure(error);
}

} // namespace marlo::win32
