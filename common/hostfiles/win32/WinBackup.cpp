#include "WinCopy.h"

#include "WinErrors.h"
#include "WinFileOps.h"
#include "WinInUse.h"

#include "WinSystem.h"

namespace marlo::win32 {

namespace {

// What a drive answers that has no links (FAT, exFAT, some network shares),
// or none more for this file, or none across drives.
bool noLinkHere(DWORD error)
{
    return error == ERROR_INVALID_FUNCTION || error == ERROR_NOT_SUPPORTED ||
           error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_NOT_SAME_DEVICE ||
           error == ERROR_TOO_MANY_LINKS;
}

} // namespace

Status keepBackup(const std::wstring& file, const std::wstring& backup,
                  const CopyProgress& progress)
{
    if (isDevicePath(file) || isDevicePath(backup))
        return failure(ERROR_INVALID_FUNCTION, FileFailure::NameNotOrdinary);
    const DWORD attributes = attributesOf(file);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(::GetLastError()) ? failure(ERROR_FILE_NOT_FOUND, FileFailure::FileMissing)
                                           : lastFailure();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return failure(ERROR_DIRECTORY, FileFailure::NameIsFolder);
    // The link and the rename below refuse a taken name atomically; this only
    // chooses the words.
    if (::GetFileAttributesW(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        return failure(ERROR_ALREADY_EXISTS, FileFailure::NewNameTaken);
    if (::CreateHardLinkW(backup.c_str(), file.c_str(), nullptr))
        return {};
    const DWORD error = ::GetLastError();
    if (error == ERROR_PATH_NOT_FOUND)
        return failure(error, FileFailure::DestinationFolderMissing);
    if (!noLinkHere(error))
        return newNameRefused(error, file);
    // A drive without links: a copy that takes the name only while it is free.
    return placeStaged(stageCopy(file, backup, {false, progress}));
}

} // namespace marlo::win32
