#include "WinFileInfo.h"

#include "WinErrors.h"

namespace marlo::win32 {

Result<FileIdentity> identityOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info))
        return Result<FileIdentity>(lastFailure());
    return identityOf(info);
}

FileIdentity identityOf(const BY_HANDLE_FILE_INFORMATION& info)
{
    return {info.dwVolumeSerialNumber,
            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

Result<FileStamp> stampOf(HANDLE file)
{
    FILE_BASIC_INFO basic;
    FILE_STANDARD_INFO standard;
    if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic) ||
        !::GetFileInformationByHandleEx(file, FileStandardInfo, &standard, sizeof standard))
        return Result<FileStamp>(lastFailure());
    return FileStamp{standard.EndOfFile.QuadPart, basic.LastWriteTime.QuadPart,
                     basic.ChangeTime.QuadPart};
}

} // namespace marlo::win32
