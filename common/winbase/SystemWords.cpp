#include "SystemWords.h"

#include "WinText.h"

namespace marlo::win32 {

std::string systemWords(DWORD error)
{
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text ? text : L"", length);
    ::LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' ||
                              words.back() == L'.' || words.back() == L' '))
        words.pop_back();
    if (words.empty())
        return "error " + std::to_string(error);
    return narrow(words);
}

} // namespace marlo::win32
