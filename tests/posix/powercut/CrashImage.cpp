#include "CrashImage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

namespace marlo::test {

namespace {

// Copies only the data of a sparse image; holes stay holes.
void copySparse(int from, const std::string& to)
{
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (out < 0)
        throw std::runtime_error("cannot make the crash image " + to);
    struct stat st;
    ::fstat(from, &st);
    bool ok = ::ftruncate(out, st.st_size) == 0;
    for (off_t data = ::lseek(from, 0, SEEK_DATA); ok && data >= 0 && data < st.st_size;) {
        off_t hole = ::lseek(from, data, SEEK_HOLE);
        if (hole < 0)
            hole = st.st_size;
        for (off_t in = data, at = data; ok && in < hole;) {
            const ssize_t n =
                ::copy_file_range(from, &in, out, &at, static_cast<std::size_t>(hole - in), 0);
            ok = n > 0;
        }
        data = ::lseek(from, hole, SEEK_DATA);
    }
    ::close(out);
    if (!ok)
        throw std::runtime_error("cannot copy the image into " + to);
}

} // namespace

CrashImage::CrashImage(const WriteLog& log, const std::string& pristine, const std::string& folder)
    : log_(log), pristine_(pristine), cleanPath_(folder + "/clean.img"),
      crashPath_(folder + "/crash.img")
{
    const int source = ::open(pristine.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        throw std::runtime_error("cannot open " + pristine);
    copySparse(source, cleanPath_);
    ::close(source);
    clean_ = ::open(cleanPath_.c_str(), O_RDWR | O_CLOEXEC);
}

CrashImage::~CrashImage()
{
    ::close(clean_);
    std::filesystem::remove(cleanPath_);
    std::filesystem::remove(crashPath_);
}

const std::string& CrashImage::make(std::size_t upTo, const std::vector<std::size_t>& extra)
{
    if (upTo < applied_) {
        // Back to the start: the clean image only moves forward.
        const int source = ::open(pristine_.c_str(), O_RDONLY | O_CLOEXEC);
        ::close(clean_);
        copySparse(source, cleanPath_);
        ::close(source);
        clean_ = ::open(cleanPath_.c_str(), O_RDWR | O_CLOEXEC);
        applied_ = 0;
    }
    for (; applied_ < upTo; ++applied_)
        log_.apply(log_.entries()[applied_], clean_);
    copySparse(clean_, crashPath_);
    const int crash = ::open(crashPath_.c_str(), O_RDWR | O_CLOEXEC);
    for (std::size_t index : extra)
        log_.apply(log_.entries()[index], crash);
    ::close(crash);
    return crashPath_;
}

} // namespace marlo::test
