#pragma once

#include "FilePath.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace marlo::test {

// A path as the file chooser would return it.
inline FilePath chosenPath(std::string path)
{
    std::string shown = path;
    return FilePath::chosen(std::move(path), std::move(shown));
}

// What the host keeps besides the mode of a file: on Linux a drive's own
// read-only mark (NTFS through ntfs-3g), set to match the owner's write
// permission; nothing on Windows, where the mode is that mark.
void markDriveReadOnly(const std::string& path, bool readOnly);

// Sets a file's permissions as the host keeps them; a drive that keeps none
// (FAT) is left as it is.
inline void setMode(const std::string& path, unsigned mode)
{
    std::error_code keepsNone;
    std::filesystem::permissions(path, static_cast<std::filesystem::perms>(mode), keepsNone);
    markDriveReadOnly(path, (mode & 0200) == 0);
}

// A fresh folder under the system's temporary folder (or under `parent`),
// removed with all it holds when the test ends. Names are written with the
// host's own separator; the tools name a file of it as a chosen path or as a
// member.
class FileTestFolder {
public:
    static constexpr char Separator = std::filesystem::path::preferred_separator;

    explicit FileTestFolder(
        const std::string& parent = std::filesystem::temp_directory_path().string())
    {
        std::random_device random;
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string candidate = parent;
            if (!candidate.ends_with('/') && !candidate.ends_with(Separator))
                candidate += Separator;
            candidate += "marlo-files-" + std::to_string(random());
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot make a temporary folder");
    }
    FileTestFolder(const FileTestFolder&) = delete;
    FileTestFolder& operator=(const FileTestFolder&) = delete;
    ~FileTestFolder()
    {
        // A test may have taken the write access away to see a refusal.
        std::error_code ignored;
        // Windows removes no read-only file.
        for (std::filesystem::recursive_directory_iterator entry(path_, ignored), end; entry != end;
             entry.increment(ignored))
            std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::string& path() const { return path_; }
    // The host path of a name in the folder.
    std::string operator/(const std::string& name) const { return path_ + Separator + name; }
    // A name in the folder as the chooser returns it.
    FilePath chosen(const std::string& name) const { return chosenPath(*this / name); }
    // A member of the folder, as the tools name it.
    FilePath member(const std::string& name) const { return FilePath::member(path_, name); }

    void write(const std::string& name, const std::string& content, unsigned mode = 0644) const
    {
        // Written anew: a drive may keep a file's old length when it is
        // truncated in place (fusefat), and a test's own rewrite must not
        // count against the tools.
        std::error_code none;
        std::filesystem::remove(*this / name, none);
        std::ofstream(*this / name, std::ios::binary | std::ios::trunc) << content;
        setMode(*this / name, mode);
    }
    // Read-only as the host marks it: the write bits on Linux, the read-only
    // attribute on Windows.
    void setReadOnly(const std::string& name, bool readOnly = true) const
    {
        setMode(*this / name, readOnly ? mode(name) & ~0222u : mode(name) | 0200u);
    }
    void makeFolder(const std::string& name) const
    {
        std::filesystem::create_directory(*this / name);
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(*this / name, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    bool has(const std::string& name) const
    {
        std::error_code ignored;
        return std::filesystem::exists(std::filesystem::symlink_status(*this / name, ignored));
    }
    unsigned mode(const std::string& name) const
    {
        return static_cast<unsigned>(std::filesystem::status(*this / name).permissions()) & 07777;
    }
    // Every name in the folder, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }

private:
    std::string path_;
};

} // namespace marlo::test
