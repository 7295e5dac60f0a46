#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace marlo::test {

// A block-write log in the dm-log-writes format, as QEMU's blklogwrites
// driver writes it: a header sector, then per entry one sector of header
// and its data. Entries stand in the order the writes completed.
class WriteLog {
public:
    struct Entry {
        std::uint64_t sector = 0;  // where the data goes, in log sectors
        std::uint64_t sectors = 0; // how many
        std::uint64_t flags = 0;
        std::uint64_t dataOffset = 0;    // of the data in the log file
        std::optional<std::string> mark; // the text of a mark written past the file system

        bool isFlush() const { return (flags & 1) != 0 && sectors == 0; }
        bool isWrite() const { return (flags & 4) == 0 && sectors > 0 && !mark; }
    };

    // Reads the log; writes at or past `markOffset` (bytes) are marks.
    // Throws std::runtime_error when the file is no such log.
    WriteLog(const std::string& path, std::uint64_t markOffset);
    ~WriteLog();
    WriteLog(const WriteLog&) = delete;
    WriteLog& operator=(const WriteLog&) = delete;

    const std::vector<Entry>& entries() const { return entries_; }
    std::size_t flushes() const;
    // The index of the mark with this text, if the log has one.
    std::optional<std::size_t> findMark(const std::string& text) const;

    // Writes one entry's data (a write; nothing for flushes, discards, marks)
    // into the image behind `imageFd`.
    void apply(const Entry& entry, int imageFd) const;

private:
    int fd_ = -1;
    std::uint32_t sectorSize_ = 512;
    std::vector<Entry> entries_;
};

} // namespace marlo::test
