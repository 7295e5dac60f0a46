#pragma once

#include "WinSystem.h"

#include <string>

namespace marlo::test {

// The file helper program, started with a command line; it is ended when
// this goes. Its output comes through a pipe, its input can be closed.
class HelperProcess {
public:
    HelperProcess(const std::string& program, const std::string& arguments)
    {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE outRead = nullptr, outWrite = nullptr, inRead = nullptr, inWrite = nullptr;
        ::CreatePipe(&outRead, &outWrite, &inherit, 0);
        ::CreatePipe(&inRead, &inWrite, &inherit, 0);
        ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
        ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOA start{};
        start.cb = sizeof start;
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdOutput = outWrite;
        start.hStdError = outWrite;
        start.hStdInput = inRead;
        std::string line = "\"" + program + "\" " + arguments;
        started_ = ::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                    nullptr, &start, &info_) != FALSE;
        ::CloseHandle(outWrite);
        ::CloseHandle(inRead);
        output_ = outRead;
        input_ = inWrite;
    }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;
    ~HelperProcess()
    {
        kill();
        ::CloseHandle(output_);
        closeInput();
        if (started_) {
            ::CloseHandle(info_.hThread);
            ::CloseHandle(info_.hProcess);
        }
    }

    // Waits for the helper's "ready" line; false when it ended first.
    bool ready()
    {
        std::string seen;
        char c = 0;
        DWORD got = 0;
        while (started_ && ::ReadFile(output_, &c, 1, &got, nullptr) && got == 1) {
            if (c == '\n')
                return seen.starts_with("ready");
            seen += c;
        }
        return false;
    }
    void closeInput()
    {
        if (input_)
            ::CloseHandle(input_);
        input_ = nullptr;
    }
    // Ends the helper at once, as a crash or a kill would.
    void kill()
    {
        if (started_ && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(info_.hProcess, 9);
            ::WaitForSingleObject(info_.hProcess, INFINITE);
        }
    }
    // Its exit code once it ended by itself, or -1 after `milliseconds`.
    int wait(DWORD milliseconds)
    {
        if (!started_ || ::WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0)
            return -1;
        DWORD code = 0;
        ::GetExitCodeProcess(info_.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    bool started_ = false;
    PROCESS_INFORMATION info_{};
    HANDLE output_ = nullptr;
    HANDLE input_ = nullptr;
};

} // namespace marlo::test
