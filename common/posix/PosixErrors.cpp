#include "PosixErrors.h"

#include <cerrno>
#include <cstring>

namespace marlo::posix {

std::string describeError(int error)
{
    switch (error) {
    case ENOENT:
        return "no such file or folder";
    case EACCES:
    case EPERM:
        return "permission denied";
    case EEXIST:
        return "a file of that name already exists";
    case EISDIR:
        return "the name is a folder";
    case ENOTDIR:
        return "a part of the path is not a folder";
    case ENOSPC:
    case EDQUOT:
        return "the disk is full";
    case EROFS:
        return "the drive is read-only";
    case EIO:
        return "the disk could not be read or written";
    case EXDEV:
        return "the file cannot be moved to another drive";
    case ENAMETOOLONG:
        return "the name is too long";
    case ELOOP:
        return "the path has too many links in it";
    case EMFILE:
    case ENFILE:
        return "too many files are open";
    case ENOMEM:
        return "there is not enough memory";
    case EFBIG:
        return "the file is too large for the destination drive";
    case EBUSY:
    case ETXTBSY:
        return "the file is in use";
    case ECANCELED:
        return "the copy was cancelled";
    case EOPNOTSUPP:
        return "the drive does not support this operation";
    default:
        return std::string("an unexpected error occurred (") + std::strerror(error) + ")";
    }
}

Status failure(int error)
{
    return failure(error, describeError(error));
}

Status failure(int error, std::string description)
{
    return Status::failure(error != 0 ? error : EIO, std::move(description));
}

} // namespace marlo::posix
