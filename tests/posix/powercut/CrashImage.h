#pragma once

#include "WriteLog.h"

#include <cstddef>
#include <string>
#include <vector>

namespace marlo::test {

// Builds the disk as a power cut would leave it: the pristine image with the
// log's entries up to some point on it, and any chosen writes after that.
// A clean image follows the log forward (points in log order cost least); each
// crash state is a sparse copy of it, which mounting and checking may
// change freely.
class CrashImage {
public:
    CrashImage(const WriteLog& log, const std::string& pristine, const std::string& folder);
    ~CrashImage();
    CrashImage(const CrashImage&) = delete;
    CrashImage& operator=(const CrashImage&) = delete;

    // Writes the state where entries 0..`upTo`-1 reached the disk, and of the
    // later ones those in `extra`, into the crash image, and answers its path.
    const std::string& make(std::size_t upTo, const std::vector<std::size_t>& extra = {});

private:
    const WriteLog& log_;
    std::string pristine_, cleanPath_, crashPath_;
    int clean_ = -1;
    std::size_t applied_ = 0;
};

} // namespace marlo::test
