#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace marlo {

// A digest of a file's content, fed piece by piece in reading order. Two
// readings of a file give the same digest when its content did not change in
// between and both were read in the same pieces; it tells a copy whose
// source was written meanwhile from a snapshot, where the file's time stamps
// cannot.
class ContentDigest {
public:
    void add(std::string_view piece)
    {
        const std::uint64_t hash = std::hash<std::string_view>{}(piece);
        value_ = (value_ ^ hash) * 0x100000001b3ULL + piece.size();
    }
    std::uint64_t value() const { return value_; }

private:
    std::uint64_t value_ = 0;
};

} // namespace marlo
