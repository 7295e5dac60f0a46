#include "WinHandedOn.h"

#include "WinErrors.h"
#include "WinHandle.h"

namespace marlo::win32 {

namespace {

constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr SECURITY_INFORMATION Kept =
    OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

bool keepsAccessRules(HANDLE file)
{
    DWORD flags = 0;
    return ::GetVolumeInformationByHandleW(file, nullptr, 0, nullptr, nullptr, &flags, nullptr,
                                           0) &&
           (flags & FILE_PERSISTENT_ACLS);
}

Status readSecurity(HANDLE file, std::vector<BYTE>& security)
{
    DWORD needed = 256;
    do {
        security.resize(needed);
        if (::GetKernelObjectSecurity(file, Kept, security.data(), static_cast<DWORD>(security.size()), &needed))
            return {};
    } while (::GetLastError() == ERROR_INSUFFICIENT_BUFFER && needed > security.size());
    return lastFailure();
}

} // namespace

Result<HandedOn> handedOnBy(const std::wstring& path)
{
    const UniqueHandle file(::CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return isMissing(error) ? Result<HandedOn>(HandedOn{}) : Result<HandedOn>(failure(error));
    }
    FILE_BASIC_INFO basic;
    if (!::GetFileInformationByHandleEx(file.get(), FileBasicInfo, &basic, sizeof basic))
        return Result<HandedOn>(lastFailure());
    HandedOn from{basic.FileAttributes & KeptAttributes, basic.CreationTime, {}};
    if (keepsAccessRules(file.get()))
        if (Status read = readSecurity(file.get(), from.security); !read)
            return Result<HandedOn>(read);
    return from;
}

Status takeSecurity(HANDLE file, const HandedOn& from)
{
    if (from.security.empty())
        return {};
    auto* descriptor = const_cast<BYTE*>(from.security.data());
    // Before the access rules, which need not let us change the owner.
    const UniqueHandle owning(
        ::ReOpenFile(file, WRITE_OWNER, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, 0));
    if (owning)
        (void)::SetKernelObjectSecurity(owning.get(), OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION,
                         descriptor);
    if (!::SetKernelObjectSecurity(file, DACL_SECURITY_INFORMATION, descriptor))
        return lastFailure();
    return {};
}

} // namespace marlo::win32
