#include "ChooserFilter.h"

#include <string_view>

namespace marlo {

namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The pieces of `text` between the separators, empty ones included.
std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (size_t start = 0;;) {
        const size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return pieces;
        start = end + 1;
    }
}

} // namespace

std::vector<FileType> fileTypesFor(const std::string& filter)
{
    if (filter.empty())
        return {};
    const std::vector<std::string_view> items = split(filter, '|');
    std::vector<FileType> types;
    for (size_t i = 0; i + 1 < items.size(); i += 2) {
        FileType type{std::string(items[i]), {}};
        for (std::string_view pattern : split(items[i + 1], ';'))
            if (!trimmed(pattern).empty())
                type.patterns.emplace_back(trimmed(pattern));
        if (type.patterns.empty())
            type.patterns.emplace_back("*");
        types.push_back(std::move(type));
    }
    return types;
}

std::string defaultExtensionFor(const std::string& defaultExt)
{
    std::string_view extension = trimmed(defaultExt);
    if (extension.starts_with('*'))
        extension.remove_prefix(1);
    if (extension.starts_with('.'))
        extension.remove_prefix(1);
    if (extension.find_first_of("*?") != std::string_view::npos)
        return {};
    return std::string(extension);
}

} // namespace marlo
