#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace marlo::test {

// What a folder holds, to tell whether anything changed: every entry below
// it by relative name, with its kind, permissions, owner and content (short
// contents as they are, long ones as size and hash, a link as its target).
using Snapshot = std::map<std::string, std::string>;

// The names in one folder.
inline std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

inline std::string contentSummary(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = content.str();
    if (bytes.size() <= 64)
        return '"' + bytes + '"';
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (unsigned char c : bytes)
        hash = (hash ^ c) * 1099511628211ull;
    return std::to_string(bytes.size()) + " bytes, hash " + std::to_string(hash);
}

inline Snapshot snapshot(const std::string& folder)
{
    Snapshot all;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(
             folder, std::filesystem::directory_options::skip_permission_denied)) {
        const std::string path = entry.path().string();
        struct stat st {};
        ::lstat(path.c_str(), &st);
        std::string what = std::to_string(st.st_mode & 07777) + " " + std::to_string(st.st_uid) +
                           ":" + std::to_string(st.st_gid) + " ";
        if (S_ISLNK(st.st_mode))
            what += "link -> " + std::filesystem::read_symlink(entry.path()).string();
        else if (S_ISDIR(st.st_mode))
            what += "folder";
        else
            what += "file " + contentSummary(path);
        all[std::filesystem::relative(entry.path(), folder).string()] = what;
    }
    return all;
}

} // namespace marlo::test
