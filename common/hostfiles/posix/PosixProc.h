#pragma once

#include "PosixFd.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace marlo::posix {

// The number of a process folder under /proc.
inline std::optional<pid_t> pidOf(std::string_view name)
{
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (error != std::errc() || end != name.data() + name.size() || pid <= 0)
        return std::nullopt;
    return pid;
}

// A small file of /proc read whole; empty when it cannot be read.
inline std::string readProcFile(int procFd, const std::string& pid, const char* name)
{
    UniqueFd file(::openat(procFd, (pid + "/" + name).c_str(), O_RDONLY | O_CLOEXEC));
    std::string text;
    if (!file)
        return text;
    char buffer[4096];
    for (ssize_t n;
         (n = retryOnInterrupt([&] { return ::read(file.get(), buffer, sizeof buffer); })) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// The target of a link (e.g. a descriptor under /proc); empty when it cannot
// be read.
inline std::string readLink(int folderFd, const char* name)
{
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlinkat(folderFd, name, target.data(), target.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

// Visits every process under /proc but `self` until `visit` answers false.
template <class Visit> void forEachProcess(int procFd, pid_t self, Visit visit)
{
    const UniqueDir proc = openListing(procFd, ".");
    if (!proc)
        return;
    while (const dirent* entry = ::readdir(proc.get())) {
        const auto pid = pidOf(entry->d_name);
        if (pid && *pid != self && !visit(*pid, std::string(entry->d_name)))
            return;
    }
}

} // namespace marlo::posix
