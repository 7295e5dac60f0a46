#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace marlo::test {

// The size of a mark in the write log, and what every mark begins with.
inline constexpr std::size_t MarkSize = 4096;
inline constexpr std::string_view MarkTag = "MARLO-POWERCUT-MARK ";

// Writes one mark, `MarkTag` followed by `text`, to `device` at `offset`
// (past the end of its file system) straight to the disk, without a flush:
// it lands in the write log after every write that completed before it and
// changes nothing the file system would write or flush.
bool markWriteLog(const std::string& device, std::uint64_t offset, const std::string& text);

} // namespace marlo::test
