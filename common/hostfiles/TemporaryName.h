#pragma once

#include <algorithm>
#include <cstddef>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>

namespace marlo {

// The name of the hidden file a copy is written to beside its destination,
// on every host: ".<destination's name>.~marlo-XXXXXX.tmp", with six random
// letters or digits. The marker is nothing a user would type, so a file of
// that shape is the tools' own and belongs to that one destination. A host
// names files in units of `Char` (bytes of UTF-8, or UTF-16 units), at most
// 255 of them; a long destination name is cut to fit, never inside a
// character.
template <class Char> class TemporaryName {
public:
    using String = std::basic_string<Char>;
    using View = std::basic_string_view<Char>;

    static String forDestination(View name)
    {
        thread_local std::mt19937 generator{std::random_device{}()};
        std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
        String temporary = prefixFor(name);
        for (std::size_t i = 0; i < RandomLetters; ++i)
            temporary += static_cast<Char>(Letters[pick(generator)]);
        return temporary += widen(Ending);
    }

    // Whether `candidate` is a temporary file of the destination `name`;
    // `same` compares two names as the host's drives do.
    template <class Same> static bool isOf(View candidate, View name, Same same)
    {
        const String prefix = prefixFor(name);
        const String ending = widen(Ending);
        if (candidate.size() != prefix.size() + RandomLetters + ending.size() ||
            !same(candidate.substr(0, prefix.size()), View(prefix)) ||
            !same(candidate.substr(candidate.size() - ending.size()), View(ending)))
            return false;
        const View random = candidate.substr(prefix.size(), RandomLetters);
        return std::all_of(random.begin(), random.end(), [](Char c) {
            const auto unit = static_cast<std::make_unsigned_t<Char>>(c);
            return unit < 128 && Letters.find(static_cast<char>(unit)) != Letters.npos;
        });
    }

    // ".<name>.~marlo-": what every temporary file of `name` begins with.
    static String prefixFor(View name)
    {
        std::size_t cut = std::min(name.size(), MaxNameInTemporary);
        while (cut > 0 && cut < name.size() && continuesACharacter(name[cut]))
            --cut;
        String prefix(1, static_cast<Char>('.'));
        prefix += name.substr(0, cut);
        return prefix += widen(Marker);
    }

private:
    static constexpr std::string_view Letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static constexpr std::string_view Marker = ".~marlo-";
    static constexpr std::string_view Ending = ".tmp";
    static constexpr std::size_t RandomLetters = 6;
    static constexpr std::size_t MaxNameInTemporary =
        255 - 1 - Marker.size() - RandomLetters - Ending.size();

    static String widen(std::string_view ascii) { return String(ascii.begin(), ascii.end()); }

    // The second or a later unit of one character: a UTF-8 continuation
    // byte, or the low half of a UTF-16 surrogate pair.
    static bool continuesACharacter(Char c)
    {
        if constexpr (sizeof(Char) == 1)
            return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        else
            return c >= 0xDC00 && c <= 0xDFFF;
    }
};

} // namespace marlo
