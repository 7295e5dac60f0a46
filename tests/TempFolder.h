#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <stdlib.h>

namespace marlo::test {

// A fresh folder under the system's temporary folder, removed with all its
// content when the object goes.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "marlo-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

    void write(const std::string& name, const std::string& content) const
    {
        std::ofstream(path_ / name, std::ios::binary | std::ios::trunc) << content;
    }
    // The content of a file, or "<none>" when there is no such file.
    std::string read(const std::string& name) const
    {
        std::ifstream in(path_ / name, std::ios::binary | std::ios::ate);
        if (!in)
            return "<none>";
        std::string content(static_cast<std::size_t>(in.tellg()), '\0');
        in.seekg(0);
        in.read(content.data(), static_cast<std::streamsize>(content.size()));
        return content;
    }
    std::set<std::string> names() const
    {
        std::set<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(path_))
            all.insert(entry.path().filename().string());
        return all;
    }

private:
    std::filesystem::path path_;
};

} // namespace marlo::test
