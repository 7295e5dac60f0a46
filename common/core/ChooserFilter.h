#pragma once

#include <string>
#include <vector>

namespace marlo {

// One file type the chooser offers: what the user reads, and the patterns
// of the names it lists.
struct FileType {
    std::string description;
    std::vector<std::string> patterns;

    bool operator==(const FileType&) const = default;
};

// The file types of a filter "desc|pattern|desc|pattern...": one per pair,
// in order, every item separated from the next by one vertical bar. The
// patterns of a pair are split at ';' and trimmed; a pair without any
// matches every name ("*"). A description left without its pattern at the
// end is no file type and is dropped.
std::vector<FileType> fileTypesFor(const std::string& filter);

// The extension that a name typed without one receives: "*.mdb", ".mdb" and
// "mdb" give "mdb"; a pattern matching more than one extension gives none.
std::string defaultExtensionFor(const std::string& defaultExt);

} // namespace marlo
