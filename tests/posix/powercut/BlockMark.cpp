#include "BlockMark.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace marlo::test {

bool markWriteLog(const std::string& device, std::uint64_t offset, const std::string& text)
{
    const int fd = ::open(device.c_str(), O_WRONLY | O_DIRECT | O_CLOEXEC);
    if (fd < 0)
        return false;
    const std::unique_ptr<char, decltype(&std::free)> block(
        static_cast<char*>(std::aligned_alloc(MarkSize, MarkSize)), &std::free);
    std::memset(block.get(), 0, MarkSize);
    const std::string mark = std::string(MarkTag) + text;
    std::memcpy(block.get(), mark.data(), std::min(mark.size(), MarkSize - 1));
    const bool written =
        ::pwrite(fd, block.get(), MarkSize, static_cast<off_t>(offset)) == MarkSize;
    return ::close(fd) == 0 && written;
}

} // namespace marlo::test
