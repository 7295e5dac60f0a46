#pragma once

#include "Platform.h"
#include "Result.h"

#include <string>

namespace marlo {

// Runs the one confirmed copy of an export or an import. The program's
// ProgressCopyRunner copies off the window's thread and shows a modal
// progress dialog with Cancel when the copy lasts; a cancelled copy fails
// like any other without touching the destination, so the commands need not
// know which runner they have.
class CopyRunner {
public:
    virtual ~CopyRunner() = default;
    virtual Status copy(Platform& platform, const std::string& source,
                        const std::string& destination) = 0;
};

// Copies straight through the platform on the window's thread.
class DirectCopy : public CopyRunner {
public:
    Status copy(Platform& platform, const std::string& source,
                const std::string& destination) override
    {
        return platform.CopyFile(source, destination, true);
    }
};

} // namespace marlo
