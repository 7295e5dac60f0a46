#include "WinCopy.h"

#include "WinCopyContent.h"
#include "WinErrors.h"
#include "WinFileInfo.h"
#include "WinFileOps.h"
#include "WinHandedOn.h"
#include "WinInUse.h"
#include "WinTemporaryFile.h"

#include "WinSystem.h"

#include <optional>

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

// The file a name leads to; none where the name is missing.
Result<std::optional<FileIdentity>> identityAt(const std::wstring& path)
{
    using Identity = Result<std::optional<FileIdentity>>;
    // No data is read: a handle for the identity alone passes every sharing.
    const UniqueHandle file(::CreateFileW(path.c_str(), 0,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return isMissing(error) ? Identity(std::nullopt) : Identity(failure(error));
    }
    const Result<FileIdentity> identity = identityOf(file.get());
    return identity ? Identity(identity.value()) : Identity(identity.status());
}

// Whether both names lead to one file.
Result<bool> oneFile(const std::wstring& file, const std::wstring& backup)
{
    const auto first = identityAt(file);
    if (!first)
        return Result<bool>(first.status());
    const auto second = identityAt(backup);
    if (!second)
        return Result<bool>(second.status());
    return first.value() && second.value() && *first.value() == *second.value();
}

} // namespace

Result<bool> separateBackup(const std::wstring& file, const std::wstring& backup)
{
    if (isDevicePath(file) || isDevicePath(backup))
        return false;
    if (const Result<bool> same = oneFile(file, backup); !same || !same.value())
        return same;
    const DWORD attributes = attributesOf(file);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return Result<bool>(failure(ERROR_ACCESS_DENIED, FileFailure::FileReadOnly));
    auto in = openForCopy(file);
    if (!in)
        return Result<bool>(in.status());
    TemporaryFile copy;
    if (Status created = copy.create(splitSystemPath(backup)); !created)
        return Result<bool>(created);
    if (Status copied = copySnapshot(in.value(), copy.handle(), {}); !copied)
        return Result<bool>(copied);
    if (!::FlushFileBuffers(copy.handle()))
        return Result<bool>(lastFailure());
    in.value().handle.reset();
    // Nothing else has taken the name meanwhile: only the second name is
    // replaced.
    if (const Result<bool> same = oneFile(file, backup); !same || !same.value())
        return same;
    // The copy takes what the one file of both names had.
    const Result<HandedOn> from = handedOnBy(backup);
    if (!from)
        return Result<bool>(from.status());
    if (Status finished = copy.finish(from.value()); !finished)
        return Result<bool>(finished);
    if (const DWORD error = renamePatiently(copy.path(), backup,
                                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        error != 0)
        return Result<bool>(failure(error));
    copy.keep();
    return true;
}

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
    const DWORD error = patiently(
        [&] { return ::CreateHardLinkW(backup.c_str(), file.c_str(), nullptr) != FALSE; });
    if (error == 0)
        return {};
    if (error == ERROR_PATH_NOT_FOUND)
        return failure(error, FileFailure::DestinationFolderMissing);
    if (!noLinkHere(error))
        return newNameRefused(error, file);
    // A drive without links: a copy that takes the name only while it is free.
    return placeStaged(stageCopy(file, backup, {false, progress}));
}

} // namespace marlo::win32
