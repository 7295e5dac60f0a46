#pragma once

#include "WinSystem.h"

#include <objbase.h>
#include <shobjidl.h>

namespace marlo {

// The calls of ole32 and shell32 that the file chooser makes. They are
// loaded when a chooser first opens, so that a program start loads neither.
struct ShellCalls {
    decltype(&::CoInitializeEx) coInitializeEx;
    decltype(&::CoCreateInstance) coCreateInstance;
    decltype(&::CoTaskMemFree) coTaskMemFree;
    decltype(&::SHCreateItemFromParsingName) createItemFromParsingName;
};

// Sets `calls` to the calls, with COM initialised on the calling thread as a
// single-threaded apartment, or answers why they cannot be had.
HRESULT shellCallsOnThisThread(const ShellCalls*& calls);

} // namespace marlo
