#pragma once

#include "WinSystem.h"

#include <string>

namespace marlo::win32 {

// LoadLibraryExW, or a stand-in that a test gives.
using LoadLibraryExFunction = HMODULE WINAPI(const wchar_t*, HANDLE, DWORD);

// The DLL `name` from the system folder, or null. Windows 7 without update
// KB2533623 refuses the flag that searches the system folder alone
// (ERROR_INVALID_PARAMETER); there the DLL is named by its full path in the
// system folder, and the DLLs it needs are searched from that folder first.
inline HMODULE loadSystemDll(const wchar_t* name, LoadLibraryExFunction* load = &::LoadLibraryExW)
{
    if (HMODULE module = load(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
        return module;
    if (::GetLastError() != ERROR_INVALID_PARAMETER)
        return nullptr;
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L'\\' + name;
    return load(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// A DLL of the system folder that only some runs need, loaded when first
// asked for instead of at the program's start. Only the system folder is
// searched: the application folder is the user's, and a DLL of the same name
// there must never be loaded. The DLL stays loaded until the process ends,
// so the functions found in it stay valid; an owner is meant to be a
// function's static, whose first use the compiler makes thread-safe.
class SystemDll {
public:
    explicit SystemDll(const wchar_t* name, LoadLibraryExFunction* load = &::LoadLibraryExW)
        : module_(loadSystemDll(name, load))
    {
    }

    SystemDll(const SystemDll&) = delete;
    SystemDll& operator=(const SystemDll&) = delete;

    // The function of that name, with the type it is declared with, or null
    // when the DLL or the function is missing.
    template <class Function> Function* find(const char* name) const
    {
        if (!module_)
            return nullptr;
        // GetProcAddress answers a pointer of one generic type; the cast
        // through void(*)() says that the type is the declared one.
        return reinterpret_cast<Function*>(
            reinterpret_cast<void (*)()>(::GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

} // namespace marlo::win32
