#pragma once

#include "WinSystem.h"

#include <utility>

namespace marlo::win32 {

// Owns a handle of CreateFileW and the like, closed when it goes.
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other)
            reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    void reset(HANDLE handle = nullptr)
    {
        if (*this)
            ::CloseHandle(handle_);
        handle_ = handle;
    }
    // Closes now; answers 0 or the error of the close.
    DWORD close()
    {
        DWORD error = 0;
        if (*this && !::CloseHandle(handle_))
            error = ::GetLastError();
        handle_ = nullptr;
        return error;
    }

private:
    HANDLE handle_ = nullptr;
};

} // namespace marlo::win32
