// Linked into the trial's driver alone (through the linker's --wrap), never
// into the tools: with MARLO_POWERCUT_SKIP_DATA_FLUSH set, the file layer's
// flush of a file's data before its rename does nothing, and its copy writes
// the data itself instead of cloning or range-copying it, as on a drive that
// cannot clone. A folder's flush still happens. The trial runs this variant
// to show that it sees a missing flush.
#include <errno.h>
#include <linux/fs.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>

extern "C" {

int __real_fsync(int fd);
int __real_ioctl(int fd, unsigned long request, ...);
ssize_t __real_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                               size_t length, unsigned flags);

static bool skippingDataFlush()
{
    static const bool skipping = std::getenv("MARLO_POWERCUT_SKIP_DATA_FLUSH") != nullptr;
    return skipping;
}

int __wrap_fsync(int fd)
{
    struct stat st;
    if (skippingDataFlush() && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return 0;
    return __real_fsync(fd);
}

int __wrap_ioctl(int fd, unsigned long request, ...)
{
    std::va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (skippingDataFlush() && request == FICLONE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return __real_ioctl(fd, request, argument);
}

ssize_t __wrap_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                               size_t length, unsigned flags)
{
    if (skippingDataFlush()) {
        errno = EXDEV;
        return -1;
    }
    return __real_copy_file_range(in, inOffset, out, outOffset, length, flags);
}

} // extern "C"
