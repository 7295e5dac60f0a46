#pragma once

#include "FileTestFolder.h"

#include <set>
#include <string>

namespace marlo::test {

// A fresh temporary folder, as the crash and on-disk tests look at it: a
// missing file reads as "<none>", and the names come as a set.
class TempFolder : public FileTestFolder {
public:
    using FileTestFolder::FileTestFolder;
    std::string str() const { return path(); }

    // The content of a file, or "<none>" when there is no such file.
    std::string read(const std::string& name) const
    {
        return has(name) ? FileTestFolder::read(name) : "<none>";
    }
    std::set<std::string> names() const
    {
        const std::vector<std::string> all = FileTestFolder::names();
        return {all.begin(), all.end()};
    }
};

} // namespace marlo::test
