#pragma once

#include "WinSystem.h"

#include <memory>
#include <type_traits>

namespace marlo {

// Owners of the handles the windows make: each is released exactly once,
// when its owner goes.
struct GdiObjectRelease {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct KernelHandleRelease {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct WindowRelease {
    void operator()(HWND window) const
    {
        if (IsWindow(window))
            DestroyWindow(window);
    }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectRelease>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectRelease>;
using UniqueHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, KernelHandleRelease>;
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowRelease>;

} // namespace marlo
