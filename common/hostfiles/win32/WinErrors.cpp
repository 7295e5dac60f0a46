#include "WinErrors.h"

#include "SystemWords.h"

namespace marlo {

namespace {

// What a system error code means to the user.
constexpr ErrorMeaning meanings[] = {
    {FileFailure::NoSuchFile, {ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND}},
    {FileFailure::PermissionDenied, {ERROR_ACCESS_DENIED}},
    {FileFailure::NameTaken, {ERROR_ALREADY_EXISTS, ERROR_FILE_EXISTS}},
    {FileFailure::DiskFull, {ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL}},
    {FileFailure::DriveReadOnly, {ERROR_WRITE_PROTECT}},
    {FileFailure::DiskError, {ERROR_CRC, ERROR_IO_DEVICE, ERROR_READ_FAULT, ERROR_WRITE_FAULT}},
    {FileFailure::OtherDrive, {ERROR_NOT_SAME_DEVICE}},
    {FileFailure::NameTooLong, {ERROR_FILENAME_EXCED_RANGE}},
    {FileFailure::NameInvalid, {ERROR_INVALID_NAME, ERROR_BAD_PATHNAME}},
    {FileFailure::TooManyOpenFiles, {ERROR_TOO_MANY_OPEN_FILES}},
    {FileFailure::OutOfMemory, {ERROR_NOT_ENOUGH_MEMORY, ERROR_OUTOFMEMORY}},
    {FileFailure::FileTooLarge, {ERROR_FILE_TOO_LARGE}},
    {FileFailure::InUse, {ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION}},
    {FileFailure::DriveNotReady, {ERROR_NOT_READY}},
    {FileFailure::Cancelled, {ERROR_CANCELLED}},
    {FileFailure::Unsupported, {ERROR_NOT_SUPPORTED}},
};

// A name the system cannot take, or a drive or share that is not there,
// has no file either.
constexpr long noSuchName[] = {
    ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,       ERROR_INVALID_NAME,  ERROR_BAD_PATHNAME,
    ERROR_DIRECTORY,      ERROR_FILENAME_EXCED_RANGE, ERROR_INVALID_DRIVE, ERROR_BAD_NETPATH,
    ERROR_BAD_NET_NAME,   ERROR_CANT_RESOLVE_FILENAME};

std::string ownWords(long error)
{
    return win32::systemWords(static_cast<DWORD>(error));
}

} // namespace

constexpr HostErrorTable hostErrors{meanings, noSuchName, ERROR_GEN_FAILURE, ERROR_CANCELLED,
                                    ownWords};

namespace win32 {

Status lastFailure()
{
    return failure(static_cast<long>(::GetLastError()));
}

bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace win32

} // namespace marlo
