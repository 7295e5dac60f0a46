#pragma once

#include "DatabaseFiles.h"
#include "TempFolder.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

namespace marlo::test {

inline std::string lowered(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

// Whether `name` is a member of the database file set, in any capitalisation.
inline bool isMemberName(const std::string& name)
{
    for (const Member& m : allMembers())
        if (lowered(std::string(m.suffix.substr(1))) == lowered(name))
            return true;
    return false;
}

// A random generator whose seed is printed, and can be given again through
// MARLO_CRASH_SEED to repeat a failing run.
inline std::mt19937_64 seededGenerator()
{
    std::uint64_t seed = std::chrono::steady_clock::now().time_since_epoch().count();
    if (const char* given = std::getenv("MARLO_CRASH_SEED"))
        seed = std::stoull(given);
    std::cout << "seed " << seed << " (MARLO_CRASH_SEED repeats it)" << std::endl;
    return std::mt19937_64(seed);
}

// `size` bytes that begin with `tag` and are unlike any other tag's.
inline std::string distinctContent(const std::string& tag, std::size_t size)
{
    std::string content = tag + "\n";
    std::mt19937 bytes(static_cast<unsigned>(std::hash<std::string>{}(tag)));
    content.reserve(size);
    while (content.size() < size)
        content.push_back(static_cast<char>(bytes()));
    return content;
}

} // namespace marlo::test
