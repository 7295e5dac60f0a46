#include "PosixErrors.h"

#include <cerrno>
#include <cstring>

namespace marlo::posix {

namespace {

// What an error number of the C library means to the user.
FileFailure meaningOf(int error)
{
    switch (error) {
    case ENOENT:
        return FileFailure::NoSuchFile;
    case EACCES:
    case EPERM:
        return FileFailure::PermissionDenied;
    case EEXIST:
        return FileFailure::NameTaken;
    case EISDIR:
        return FileFailure::PathIsFolder;
    case ENOTDIR:
        return FileFailure::PathPartNotFolder;
    case ENOSPC:
    case EDQUOT:
        return FileFailure::DiskFull;
    case EROFS:
        return FileFailure::DriveReadOnly;
    case EIO:
        return FileFailure::DiskError;
    case EXDEV:
        return FileFailure::OtherDrive;
    case ENAMETOOLONG:
        return FileFailure::NameTooLong;
    case ELOOP:
        return FileFailure::TooManyLinks;
    case EMFILE:
    case ENFILE:
        return FileFailure::TooManyOpenFiles;
    case ENOMEM:
        return FileFailure::OutOfMemory;
    case EFBIG:
        return FileFailure::FileTooLarge;
    case EBUSY:
    case ETXTBSY:
        return FileFailure::Busy;
    case ECANCELED:
        return FileFailure::Cancelled;
    case EOPNOTSUPP:
        return FileFailure::Unsupported;
    default:
        return FileFailure::Unexpected;
    }
}

} // namespace

std::string describeError(int error)
{
    const FileFailure meaning = meaningOf(error);
    return failureWords(meaning, meaning == FileFailure::Unexpected ? std::strerror(error) : "");
}

Status failure(int error)
{
    return Status::failure(error != 0 ? error : EIO, describeError(error));
}

Status failure(int error, FileFailure kind, std::string_view more)
{
    return Status::failure(error != 0 ? error : EIO, failureWords(kind, more));
}

Status cancelled()
{
    return Status::cancelled(ECANCELED, std::string(failureWords(FileFailure::Cancelled)));
}

} // namespace marlo::posix
