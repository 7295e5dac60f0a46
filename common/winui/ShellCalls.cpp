#include "ShellCalls.h"

#include <optional>

namespace marlo {
namespace {

// Only from the system's own folder: the application folder is the user's,
// and a DLL of that name there must never be loaded.
HMODULE systemLibrary(const wchar_t* name)
{
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

template <class Call> bool find(HMODULE library, const char* name, Call& call)
{
    // Through the one pointer type that converts to every other without a
    // change of meaning.
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    return call != nullptr;
}

std::optional<ShellCalls> loadShellCalls()
{
    HMODULE ole32 = systemLibrary(L"ole32.dll");
    HMODULE shell32 = systemLibrary(L"shell32.dll");
    ShellCalls calls{};
    if (!ole32 || !shell32 || !find(ole32, "CoInitializeEx", calls.coInitializeEx) ||
        !find(ole32, "CoCreateInstance", calls.coCreateInstance) ||
        !find(ole32, "CoTaskMemFree", calls.coTaskMemFree) ||
        !find(shell32, "SHCreateItemFromParsingName", calls.createItemFromParsingName))
        return std::nullopt;
    return calls;
}

} // namespace

HRESULT shellCallsOnThisThread(const ShellCalls*& calls)
{
    // Both libraries stay loaded, and the thread's apartment open, for the
    // rest of the program: the shell's objects of one showing may outlive it.
    static const std::optional<ShellCalls> loaded = loadShellCalls();
    if (!loaded)
        return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    thread_local const HRESULT apartment =
        loaded->coInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    // A thread that has chosen its apartment already keeps it.
    if (FAILED(apartment) && apartment != RPC_E_CHANGED_MODE)
        return apartment;
    calls = &*loaded;
    return S_OK;
}

} // namespace marlo
