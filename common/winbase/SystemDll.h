#pragma once

#include "WinSystem.h"

namespace marlo::win32 {

// A DLL of the system folder that only some runs need, loaded when first
// asked for instead of at the program's start. Only the system folder is
// searched: the application folder is the user's, and a DLL of the same name
// there must never be loaded. The DLL stays loaded until the process ends,
// so the functions found in it stay valid; an owner is meant to be a
// function's static, whose first use the compiler makes thread-safe.
class SystemDll {
public:
    explicit SystemDll(const wchar_t* name)
        : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
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
