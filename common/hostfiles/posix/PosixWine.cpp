#include "PosixWine.h"

#include "PosixPaths.h"
#include "PosixProc.h"

#include <algorithm>
#include <vector>

namespace marlo::posix {

namespace {

std::string baseName(std::string_view path)
{
    const auto separator = path.find_last_of("/\\");
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

std::string executableOf(int procFd, const std::string& pid)
{
    char target[4096];
    const ssize_t length = ::readlinkat(procFd, (pid + "/exe").c_str(), target, sizeof target - 1);
    return length > 0 ? baseName(std::string_view(target, static_cast<std::size_t>(length)))
                      : std::string();
}

bool endsWithIgnoringCase(std::string_view text, std::string_view ending)
{
    return text.size() >= ending.size() &&
           sameNameIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

// A setting of the process's environment; empty when it has none.
std::string environmentOf(int procFd, const std::string& pid, std::string_view name)
{
    const std::string environment = readProcFile(procFd, pid, "environ");
    for (std::size_t start = 0; start < environment.size();) {
        const std::size_t end = std::min(environment.find('\0', start), environment.size());
        const std::string_view setting(environment.data() + start, end - start);
        if (setting.size() > name.size() && setting.starts_with(name) &&
            setting[name.size()] == '=')
            return std::string(setting.substr(name.size() + 1));
        start = end + 1;
    }
    return {};
}

// The prefix a Wine process works in: WINEPREFIX, else ~/.wine.
std::string prefixOf(int procFd, const std::string& pid)
{
    const std::string prefix = environmentOf(procFd, pid, "WINEPREFIX");
    if (!prefix.empty())
        return prefix;
    const std::string home = environmentOf(procFd, pid, "HOME");
    return home.empty() ? std::string() : home + "/.wine";
}

} // namespace

WineProcess wineProcess(int procFd, const std::string& pid)
{
    const std::string executable = executableOf(procFd, pid);
    if (executable.starts_with("wineserver"))
        return {true, {}};
    if (!executable.starts_with("wine"))
        return {};
    // A Windows program runs under the name of its .exe.
    const std::string commandLine = readProcFile(procFd, pid, "cmdline");
    const std::string first = commandLine.substr(0, commandLine.find('\0'));
    if (!endsWithIgnoringCase(first, ".exe"))
        return {};
    // Wine's own programs live in its Windows folder; its launcher, which
    // the 32-bit loader keeps waiting while a 64-bit program runs, goes by
    // its bare name.
    if (first.size() >= 11 &&
        sameNameIgnoringCase(std::string_view(first).substr(0, 11), "C:\\windows\\"))
        return {};
    if (sameNameIgnoringCase(first, "start.exe"))
        return {};
    return {false, baseName(first)};
}

std::string underWine(const std::string& program)
{
    return program + ", under Wine";
}

std::string windowsProgramsServedBy(int procFd, const std::string& serverPid, pid_t self)
{
    const std::string prefix = prefixOf(procFd, serverPid);
    std::vector<std::string> programs;
    forEachProcess(procFd, self, [&](pid_t, const std::string& pid) {
        const WineProcess wine = wineProcess(procFd, pid);
        if (!wine.program.empty() && prefixOf(procFd, pid) == prefix &&
            std::find(programs.begin(), programs.end(), wine.program) == programs.end())
            programs.push_back(wine.program);
        return true;
    });
    if (programs.empty())
        return "a program under Wine";
    std::string names = programs.front();
    for (std::size_t i = 1; i < programs.size(); ++i)
        names += " or " + programs[i];
    return underWine(names);
}

} // namespace marlo::posix
