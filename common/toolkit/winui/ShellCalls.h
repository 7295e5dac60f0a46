#pragma once

#include "WinSystem.h"

#include <objbase.h>
#include <ole2.h>
#include <shobjidl.h>

namespace marlo {

// The calls of ole32 and shell32 that the file chooser makes. They are
// loaded when a chooser first opens, so that a program start loads neither.
struct ShellCalls {
    decltype(&::OleInitialize) oleInitialize;
    decltype(&::CoCreateInstance) coCreateInstance;
    decltype(&::CoTaskMemFree) coTaskMemFree;
    decltype(&::SHCreateItemFromParsingName) createItemFromParsingName;
};

// Sets `calls` to the calls, with OLE initialised on the calling thread (a
// single-threaded apartment with drag and drop and the clipboard, which the
// chooser's file view uses), or answers why they cannot be had. Call it on
// the thread of the chooser's owner window.
HRESULT shellCallsOnThisThread(const ShellCalls*& calls);

} // namespace marlo
