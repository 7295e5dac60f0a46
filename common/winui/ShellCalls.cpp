#include "ShellCalls.h"

#include <optional>

namespace marlo {
namespace {

template <class Call> bool find(HMODULE library, const char* name, Call& call)
{
    // GetProcAddress answers an entry of no particular type; the generic
    // function pointer takes it to the call's own.
    call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
    return call != nullptr;
}

std::optional<ShellCalls> loadShellCalls()
{
    // Both are known DLLs, which the system loads from its own folder only,
    // never from the application folder.
    HMODULE ole32 = LoadLibraryW(L"ole32.dll");
    HMODULE shell32 = LoadLibraryW(L"shell32.dll");
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
