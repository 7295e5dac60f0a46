#include "WriteLog.h"

#include "BlockMark.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace marlo::test {

namespace {

constexpr std::uint64_t LogMagic = 0x6a736677736872;

struct LogHeader {
    std::uint64_t magic, version, entries;
    std::uint32_t sectorSize;
};
struct EntryHeader {
    std::uint64_t sector, sectors, flags, dataLength;
};

void readExactly(int fd, void* into, std::size_t size, std::uint64_t offset)
{
    if (::pread(fd, into, size, static_cast<off_t>(offset)) != static_cast<ssize_t>(size))
        throw std::runtime_error("the write log ends inside an entry");
}

} // namespace

WriteLog::WriteLog(const std::string& path, std::uint64_t markOffset)
{
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        throw std::runtime_error("cannot open the write log " + path);
    struct stat st;
    ::fstat(fd_, &st);
    const auto size = static_cast<std::uint64_t>(st.st_size);
    LogHeader header{};
    if (size < sizeof header)
        throw std::runtime_error("the write log is empty");
    readExactly(fd_, &header, sizeof header, 0);
    if (header.magic != LogMagic || header.version != 1 || header.sectorSize < 512)
        throw std::runtime_error("not a write log: " + path);
    sectorSize_ = header.sectorSize;

    // The header's count is brought up to date only now and then: the
    // entries are counted as they stand.
    for (std::uint64_t at = sectorSize_; at + sizeof(EntryHeader) <= size;) {
        EntryHeader h{};
        readExactly(fd_, &h, sizeof h, at);
        Entry entry{h.sector, h.sectors, h.flags, at + sectorSize_, std::nullopt};
        const std::uint64_t next = entry.dataOffset + h.sectors * sectorSize_;
        if (next > size)
            break; // a last entry the log did not finish
        if (h.sectors > 0 && h.sector * sectorSize_ >= markOffset) {
            std::string block(MarkSize, '\0');
            readExactly(fd_, block.data(), MarkSize, entry.dataOffset);
            if (block.starts_with(MarkTag))
                entry.mark = block.substr(MarkTag.size(), block.find('\0') - MarkTag.size());
        }
        entries_.push_back(entry);
        at = next;
    }
}

WriteLog::~WriteLog()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t WriteLog::flushes() const
{
    std::size_t n = 0;
    for (const Entry& e : entries_)
        n += e.isFlush();
    return n;
}

std::optional<std::size_t> WriteLog::findMark(const std::string& text) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].mark == text)
            return i;
    return std::nullopt;
}

void WriteLog::apply(const Entry& entry, int imageFd) const
{
    if (!entry.isWrite())
        return;
    std::string data(entry.sectors * sectorSize_, '\0');
    readExactly(fd_, data.data(), data.size(), entry.dataOffset);
    const auto at = static_cast<off_t>(entry.sector * sectorSize_);
    if (::pwrite(imageFd, data.data(), data.size(), at) != static_cast<ssize_t>(data.size()))
        throw std::runtime_error("cannot write the crash image");
}

} // namespace marlo::test
