#pragma once

#include "WinSystem.h"

#include <utility>

namespace marlo::win32 {

// Owns one handle of the system and releases it exactly once: when the owner
// goes, is reset or is closed. The traits name the handle's type, tell a
// handle from the empty ones and release it:
//   using Handle = ...;
//   static bool valid(Handle);
//   static bool release(Handle); // false, with the error set, when it failed
template <class Traits> class UniqueOf {
public:
    using Handle = typename Traits::Handle;

    UniqueOf() = default;
    explicit UniqueOf(Handle handle) : handle_(handle) {}
    UniqueOf(UniqueOf&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueOf& operator=(UniqueOf&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, Handle{}));
        return *this;
    }
    UniqueOf(const UniqueOf&) = delete;
    UniqueOf& operator=(const UniqueOf&) = delete;
    ~UniqueOf() { reset(); }

    explicit operator bool() const { return Traits::valid(handle_); }
    Handle get() const { return handle_; }
    void reset(Handle handle = Handle{})
    {
        if (*this)
            Traits::release(handle_);
        handle_ = handle;
    }
    // Releases now; answers 0 or the error of the release.
    DWORD close()
    {
        DWORD error = 0;
        if (*this && !Traits::release(handle_))
            error = ::GetLastError();
        handle_ = Handle{};
        return error;
    }
    // The system has released the handle itself (a window it destroyed): it
    // is forgotten, not released again.
    void forget() { handle_ = Handle{}; }

private:
    Handle handle_{};
};

// CreateFileW, OpenProcess, CreateProcessW and the like.
struct KernelHandle {
    using Handle = HANDLE;
    static bool valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static bool release(HANDLE handle) { return ::CloseHandle(handle); }
};

// A search of FindFirstFileExW.
struct FindHandle {
    using Handle = HANDLE;
    static bool valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static bool release(HANDLE handle) { return ::FindClose(handle); }
};

// A font or a brush.
template <class Object> struct GdiObject {
    using Handle = Object;
    static bool valid(Object object) { return object != nullptr; }
    static bool release(Object object) { return ::DeleteObject(object); }
};

// An icon made for one owner (not a shared one of LR_SHARED).
struct IconHandle {
    using Handle = HICON;
    static bool valid(HICON icon) { return icon != nullptr; }
    static bool release(HICON icon) { return ::DestroyIcon(icon); }
};

// A window, unless the system has destroyed it meanwhile.
struct WindowHandle {
    using Handle = HWND;
    static bool valid(HWND window) { return window != nullptr; }
    static bool release(HWND window) { return !::IsWindow(window) || ::DestroyWindow(window); }
};

using UniqueHandle = UniqueOf<KernelHandle>;
using UniqueFind = UniqueOf<FindHandle>;
using UniqueFont = UniqueOf<GdiObject<HFONT>>;
using UniqueBrush = UniqueOf<GdiObject<HBRUSH>>;
using UniqueIcon = UniqueOf<IconHandle>;
using UniqueWindow = UniqueOf<WindowHandle>;

} // namespace marlo::win32
