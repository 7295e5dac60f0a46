#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace marlo::test {

// Sets a file's permissions. A drive that keeps a read-only attribute instead
// (NTFS through ntfs-3g) gets that set to match the owner's write permission.
inline void setMode(const std::string& path, mode_t mode)
{
    ::chmod(path.c_str(), mode);
    constexpr const char* attributes = "system.ntfs_attrib_be";
    unsigned char bytes[4];
    if (::getxattr(path.c_str(), attributes, bytes, sizeof bytes) == sizeof bytes) {
        bytes[3] = static_cast<unsigned char>((mode & S_IWUSR) ? bytes[3] & ~1u : bytes[3] | 1u);
        ::setxattr(path.c_str(), attributes, bytes, sizeof bytes, 0);
    }
}

// A fresh folder under the system's temporary folder, removed with all it
// holds when the test ends.
class FileTestFolder {
public:
    explicit FileTestFolder(const std::string& parent = std::filesystem::temp_directory_path())
    {
        std::string pattern = parent + "/marlo-files-XXXXXX";
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    FileTestFolder(const FileTestFolder&) = delete;
    FileTestFolder& operator=(const FileTestFolder&) = delete;
    ~FileTestFolder()
    {
        // A test may have taken the write access away to see a refusal.
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }

    const std::string& path() const { return path_; }
    // The host path of a name in the folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // The path the tools build for a member: the folder, a backslash, the name.
    std::string member(const std::string& name) const { return path_ + "\\" + name; }

    void write(const std::string& name, const std::string& content, mode_t mode = 0644) const
    {
        std::ofstream(*this / name, std::ios::binary | std::ios::trunc) << content;
        setMode(*this / name, mode);
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
        struct stat st;
        return ::lstat((*this / name).c_str(), &st) == 0;
    }
    mode_t mode(const std::string& name) const
    {
        struct stat st {};
        ::stat((*this / name).c_str(), &st);
        return st.st_mode & 07777;
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

// Runs `body` in a child process as an unprivileged user when we are root
// (as ourselves otherwise) and answers its exit status.
inline int runUnprivileged(const std::function<int()>& body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
}

} // namespace marlo::test
