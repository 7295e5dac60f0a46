#include "ShellCalls.h"

#include "SystemDll.h"

#include <optional>
#include <type_traits>

namespace marlo {
namespace {

std::optional<ShellCalls> loadShellCalls()
{
    static const win32::SystemDll ole32(L"ole32.dll");
    static const win32::SystemDll shell32(L"shell32.dll");
    const ShellCalls calls{
        ole32.find<std::remove_pointer_t<decltype(ShellCalls::oleInitialize)>>("OleInitialize"),
        ole32.find<std::remove_pointer_t<decltype(ShellCalls::coCreateInstance)>>(
            "CoCreateInstance"),
        ole32.find<std::remove_pointer_t<decltype(ShellCalls::coTaskMemFree)>>("CoTaskMemFree"),
        shell32.find<std::remove_pointer_t<decltype(ShellCalls::createItemFromParsingName)>>(
            "SHCreateItemFromParsingName"),
        shell32.find<std::remove_pointer_t<decltype(ShellCalls::shellExecuteEx)>>(
            "ShellExecuteExW")};
    if (!calls.oleInitialize || !calls.coCreateInstance || !calls.coTaskMemFree ||
        !calls.createItemFromParsingName || !calls.shellExecuteEx)
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
    thread_local const HRESULT apartment = loaded->oleInitialize(nullptr);
    // A thread that has chosen its apartment already keeps it.
    if (FAILED(apartment) && apartment != RPC_E_CHANGED_MODE)
        return apartment;
    calls = &*loaded;
    return S_OK;
}

} // namespace marlo
