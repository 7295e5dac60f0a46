// A Windows program that opens the file it is given, says so on its output,
// and holds the file until it is ended.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::puts("holding");
    std::fflush(stdout);
    Sleep(INFINITE);
    return 0;
}
