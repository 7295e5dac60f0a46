#include "WinText.h"

#include "WinSystem.h"

namespace marlo::win32 {
namespace {

bool isHighSurrogate(wchar_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(wchar_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void appendSystemWide(std::wstring& wide, std::string_view utf8)
{
    if (utf8.empty())
        return;
    const int size = static_cast<int>(utf8.size());
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    const std::size_t start = wide.size();
    wide.resize(start + static_cast<std::size_t>(length));
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data() + start, length);
}

void appendSystemUtf8(std::string& utf8, std::wstring_view wide)
{
    if (wide.empty())
        return;
    const int size = static_cast<int>(wide.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    const std::size_t start = utf8.size();
    utf8.resize(start + static_cast<std::size_t>(length));
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data() + start, length, nullptr,
                          nullptr);
}

} // namespace

std::wstring widen(std::string_view utf8)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(utf8[at]); };
    std::wstring wide;
    std::size_t run = 0;
    for (std::size_t at = 0; at + 2 < utf8.size(); ++at) {
        // 0xED never continues a sequence, so this is always the start of one.
        if (byte(at) != 0xED || byte(at + 1) < 0xA0 || byte(at + 1) > 0xBF ||
            (byte(at + 2) & 0xC0) != 0x80)
            continue;
        appendSystemWide(wide, utf8.substr(run, at - run));
        wide += static_cast<wchar_t>(0xD000 | (byte(at + 1) & 0x3F) << 6 | (byte(at + 2) & 0x3F));
        run = at + 3;
        at += 2;
    }
    appendSystemWide(wide, utf8.substr(run));
    return wide;
}

std::string narrow(std::wstring_view utf16)
{
    std::string utf8;
    std::size_t run = 0;
    for (std::size_t at = 0; at < utf16.size(); ++at) {
        const wchar_t unit = utf16[at];
        if (isHighSurrogate(unit) && at + 1 < utf16.size() && isLowSurrogate(utf16[at + 1])) {
            ++at;
            continue;
        }
        if (!isHighSurrogate(unit) && !isLowSurrogate(unit))
            continue;
        appendSystemUtf8(utf8, utf16.substr(run, at - run));
        utf8 += static_cast<char>(0xE0 | unit >> 12);
        utf8 += static_cast<char>(0x80 | (unit >> 6 & 0x3F));
        utf8 += static_cast<char>(0x80 | (unit & 0x3F));
        run = at + 1;
    }
    appendSystemUtf8(utf8, utf16.substr(run));
    return utf8;
}

} // namespace marlo::win32
