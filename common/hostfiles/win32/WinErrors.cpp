#include "WinErrors.h"

#include "SystemWords.h"

namespace marlo::win32 {

namespace {

// What a system error code means to the user.
FileFailure meaningOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return FileFailure::NoSuchFile;
    case ERROR_ACCESS_DENIED:
        return FileFailure::PermissionDenied;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return FileFailure::NameTaken;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return FileFailure::DiskFull;
    case ERROR_WRITE_PROTECT:
        return FileFailure::DriveReadOnly;
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return FileFailure::DiskError;
    case ERROR_NOT_SAME_DEVICE:
        return FileFailure::OtherDrive;
    case ERROR_FILENAME_EXCED_RANGE:
        return FileFailure::NameTooLong;
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return FileFailure::NameInvalid;
    case ERROR_TOO_MANY_OPEN_FILES:
        return FileFailure::TooManyOpenFiles;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return FileFailure::OutOfMemory;
    case ERROR_FILE_TOO_LARGE:
        return FileFailure::FileTooLarge;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return FileFailure::InUse;
    case ERROR_NOT_READY:
        return FileFailure::DriveNotReady;
    case ERROR_CANCELLED:
        return FileFailure::Cancelled;
    case ERROR_NOT_SUPPORTED:
        return FileFailure::Unsupported;
    default:
        return FileFailure::Unexpected;
    }
}

// Plain words for a system error code, fit to be shown to a user inside a
// sentence ("the disk is full").
std::string describeError(DWORD error)
{
    const FileFailure meaning = meaningOf(error);
    return failureWords(meaning, meaning == FileFailure::Unexpected ? systemWords(error) : "");
}

} // namespace

Status failure(DWORD error)
{
    return Status::failure(error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE,
                           describeError(error));
}

Status failure(DWORD error, FileFailure kind, std::string_view more)
{
    return Status::failure(error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE,
                           failureWords(kind, more));
}

Status cancelled()
{
    return Status::cancelled(ERROR_CANCELLED, std::string(failureWords(FileFailure::Cancelled)));
}

Status lastFailure()
{
    return failure(::GetLastError());
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace marlo::win32
