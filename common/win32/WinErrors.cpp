#include "WinErrors.h"

#include "WinText.h"

namespace marlo::win32 {

namespace {

std::string systemWords(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text ? text : L"", length);
    ::LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                              words.back() == L'.' || words.back() == L' '))
        words.pop_back();
    if (words.empty())
        return "error " + std::to_string(error);
    return narrow(words);
}

} // namespace

std::string describeError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "no such file or folder";
    case ERROR_ACCESS_DENIED:
        return "permission denied";
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
        return "a file of that name already exists";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "the disk is full";
    case ERROR_WRITE_PROTECT:
        return "the drive is read-only";
    case ERROR_CRC:
    case ERROR_IO_DEVICE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return "the disk could not be read or written";
    case ERROR_NOT_SAME_DEVICE:
        return "the file cannot be moved to another drive";
    case ERROR_FILENAME_EXCED_RANGE:
        return "the name is too long";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
        return "the name is not valid";
    case ERROR_TOO_MANY_OPEN_FILES:
        return "too many files are open";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "there is not enough memory";
    case ERROR_FILE_TOO_LARGE:
        return "the file is too large for the destination drive";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "the file is in use by another program";
    case ERROR_NOT_READY:
        return "the drive is not ready";
    case ERROR_CANCELLED:
        return "the copy was cancelled";
    case ERROR_NOT_SUPPORTED:
        return "the drive does not support this operation";
    default:
        return "an unexpected error occurred (" + systemWords(error) + ")";
    }
}

Status failure(DWORD error)
{
    return failure(error, describeError(error));
}

Status failure(DWORD error, std::string description)
{
    return Status::failure(error != 0 ? static_cast<int>(error) : ERROR_GEN_FAILURE,
                           std::move(description));
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
