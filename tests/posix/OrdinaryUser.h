#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

namespace marlo::test {

// What a body run as an ordinary user found wrong (empty when nothing), or
// why it could not run at all.
struct OrdinaryRun {
    bool ran = false;
    std::string problems;
    std::string whyNot;
    std::string user; // whom it ran as
};

// Runs `body` in a child process as the user nobody (65534, no supplementary
// groups) when we are root, as ourselves otherwise: an ordinary user lacks
// the rights either way. The body answers its problems, one per line, and
// the child reports them through a pipe.
inline OrdinaryRun runAsOrdinaryUser(const std::function<std::string()>& body)
{
    constexpr uid_t Nobody = 65534;
    int report[2];
    if (::pipe(report) != 0)
        return {false, {}, "no pipe", {}};
    const bool root = ::geteuid() == 0;
    const pid_t child = ::fork();
    if (child < 0)
        return {false, {}, "fork failed", {}};
    if (child == 0) {
        ::close(report[0]);
        std::string text;
        int status = 0;
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 ||
                     ::setuid(Nobody) != 0 || ::geteuid() == 0)) {
            text = std::string("cannot become the user nobody: ") + std::strerror(errno);
            status = 2;
        } else {
            text = body();
            status = text.empty() ? 0 : 1;
        }
        for (std::size_t sent = 0; sent < text.size();) {
            const ssize_t n = ::write(report[1], text.data() + sent, text.size() - sent);
            if (n <= 0)
                break;
            sent += static_cast<std::size_t>(n);
        }
        ::_exit(status);
    }
    ::close(report[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(report[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const std::string user =
        root ? "nobody (dropped from root)" : "uid " + std::to_string(::geteuid());
    if (!WIFEXITED(status))
        return {
            true, text + "the child ended by signal " + std::to_string(WTERMSIG(status)), {}, user};
    if (WEXITSTATUS(status) == 2)
        return {false, {}, text, user};
    if (WEXITSTATUS(status) != 0 && text.empty())
        text = "the child exited with status " + std::to_string(WEXITSTATUS(status));
    return {true, text, {}, user};
}

} // namespace marlo::test
