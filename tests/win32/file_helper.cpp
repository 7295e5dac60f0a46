// A second Windows program for the file-layer tests:
//   file_helper hold <path>       holds the file open, sharing nothing, until
//                                 its input closes or it is ended
//   file_helper share <how> <path> <ms>
//                                 holds the file open for `ms` milliseconds
//                                 or, given 0, as hold does: "read" and
//                                 "write" share everything, "read-keep"
//                                 reads and shares all but deletion
//   file_helper copy <src> <dst>  copies as the tools do
//   file_helper hold-folder <dir> holds the folder for a command, as the
//                                 tools do, until its input closes or it is
//                                 ended
// It says "ready" on its output once it holds or starts copying.
#include "FileSystem.h"

#include "WinSystem.h"

#include <cstdio>
#include <string>

int main(int argc, char* argv[])
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if ((mode == "hold" && argc == 3) || (mode == "share" && argc == 5)) {
        const std::string how = argc == 5 ? argv[2] : "";
        const DWORD access = how.starts_with("read") ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
        const DWORD share = how.empty() ? 0
                                        : FILE_SHARE_READ | FILE_SHARE_WRITE |
                                              (how == "read-keep" ? 0 : FILE_SHARE_DELETE);
        const HANDLE file = ::CreateFileA(argv[argc == 3 ? 2 : 3], access, share, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return 2;
        std::puts("ready");
        std::fflush(stdout);
        if (const DWORD hold = argc == 5 ? std::stoul(argv[4]) : 0; hold != 0)
            ::Sleep(hold);
        else
            while (std::getchar() != EOF) {
            }
        ::CloseHandle(file);
        return 0;
    }
    if (mode == "hold-folder" && argc == 3) {
        const auto files = marlo::makeHostFileSystem([] { return std::string(); });
        const auto held = files->HoldFolder(argv[2]);
        if (!held)
            return 2;
        std::puts("ready");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        return 0;
    }
    if (mode == "copy" && argc == 4) {
        const auto files = marlo::makeHostFileSystem([] { return std::string(); });
        std::puts("ready");
        std::fflush(stdout);
        const auto chosen = [](const char* path) { return marlo::FilePath::chosen(path, path); };
        return copyFile(*files, chosen(argv[2]), chosen(argv[3])).ok() ? 0 : 1;
    }
    return 3;
}
