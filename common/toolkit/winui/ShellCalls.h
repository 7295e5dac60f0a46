#pragma once

#include "WinSystem.h"

#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <shobjidl.h>

namespace marlo {

// The calls of ole32 and shell32 that the file chooser makes, and the start
// of a program that asks for administrator rights. They are loaded when first
// needed, so that a program start loads neither.
struct ShellCalls {
    decltype(&::OleInitialize) oleInitialize;
    decltype(&::CoCreateInstance) coCreateInstance;
    decltype(&::CoTaskMemFree) coTaskMemFree;
    decltype(&::SHCreateItemFromParsingName) createItemFromParsingName;
    decltype(&::ShellExecuteExW) shellExecuteEx;
};

// Sets `calls` to the calls, with OLE initialised on the calling thread (a
// single-threaded apartment with drag and drop and the clipboard, which the
// chooser's file view uses, and which the shell's start of a program asks
// for), or answers why they cannot be had. Call it on the thread of the
// chooser's owner window.
HRESULT shellCallsOnThisThread(const ShellCalls*& calls);

} // namespace marlo
