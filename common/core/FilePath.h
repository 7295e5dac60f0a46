#pragma once

#include <string>
#include <utility>

namespace marlo {

// A file the tools name, made once and passed on as it is: a member of the
// application folder (the folder, the name as the tools write it, and the
// name user texts give it), or a path as the file chooser returned it.
class FilePath {
public:
    // `shown` empty: the member is shown by its own name.
    static FilePath member(std::string folder, std::string name, std::string shown = {})
    {
        FilePath path;
        path.text_ = folder + '\\' + name;
        path.shown_ = shown.empty() ? name : std::move(shown);
        path.folder_ = std::move(folder);
        path.name_ = std::move(name);
        path.member_ = true;
        return path;
    }
    // Used exactly as it came back; `shown` is its name as the host splits
    // paths.
    static FilePath chosen(std::string path, std::string shown)
    {
        FilePath chosen;
        chosen.text_ = std::move(path);
        chosen.shown_ = std::move(shown);
        return chosen;
    }

    // The path as the tools write it: the folder, a backslash and the name
    // for a member, a chosen path as it is. Windows takes it as its path;
    // Linux maps a member by its parts.
    const std::string& text() const { return text_; }
    // What the copy dialog calls the file.
    const std::string& shown() const { return shown_; }
    bool isMember() const { return member_; }
    // Of a member: the application folder and the name in it.
    const std::string& folder() const { return folder_; }
    const std::string& name() const { return name_; }

private:
    FilePath() = default;

    std::string text_, shown_, folder_, name_;
    bool member_ = false;
};

} // namespace marlo
