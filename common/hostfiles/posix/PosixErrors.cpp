#include "HostErrors.h"

#include <cerrno>
#include <cstring>

namespace marlo {

namespace {

// What an error number of the C library means to the user.
constexpr ErrorMeaning meanings[] = {
    {FileFailure::NoSuchFile, {ENOENT}},         {FileFailure::PermissionDenied, {EACCES, EPERM}},
    {FileFailure::NameTaken, {EEXIST}},          {FileFailure::PathIsFolder, {EISDIR}},
    {FileFailure::PathPartNotFolder, {ENOTDIR}}, {FileFailure::DiskFull, {ENOSPC, EDQUOT}},
    {FileFailure::DriveReadOnly, {EROFS}},       {FileFailure::DiskError, {EIO}},
    {FileFailure::OtherDrive, {EXDEV}},          {FileFailure::NameTooLong, {ENAMETOOLONG}},
    {FileFailure::TooManyLinks, {ELOOP}},        {FileFailure::TooManyOpenFiles, {EMFILE, ENFILE}},
    {FileFailure::OutOfMemory, {ENOMEM}},        {FileFailure::FileTooLarge, {EFBIG}},
    {FileFailure::Busy, {EBUSY, ETXTBSY}},       {FileFailure::Cancelled, {ECANCELED}},
    {FileFailure::Unsupported, {EOPNOTSUPP}},
};

// A path through a file or round a loop of links, or a name too long for the
// drive, leads to no file either.
constexpr long noSuchName[] = {ENOENT, ENOTDIR, ENAMETOOLONG, ELOOP};

std::string libraryWords(long error)
{
    return std::strerror(static_cast<int>(error));
}

} // namespace

constexpr HostErrorTable hostErrors{meanings, noSuchName, EIO, ECANCELED, libraryWords};

} // namespace marlo
