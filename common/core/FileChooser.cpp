#include "FileChooser.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace marlo {

namespace {

bool isSeparator(char c, PathForm form)
{
    return c == '/' || (form == PathForm::Windows && c == '\\');
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The length of the root an absolute path starts with ("/", "C:\", the
// "\\" of a server share), or 0 for a path that is not absolute: where such
// a path leads depends on a current folder the chooser may not share.
size_t rootLength(std::string_view path, PathForm form)
{
    if (form == PathForm::Posix)
        return path.starts_with('/') ? 1 : 0;
    if (path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == ':' && isSeparator(path[2], form))
        return 3;
    if (path.size() >= 3 && isSeparator(path[0], form) && isSeparator(path[1], form) &&
        !isSeparator(path[2], form))
        return 2;
    return 0;
}

// A folder in the form two folders are compared in: on Windows one slash and
// one case of the ASCII letters (other letters as written: an "Ä" and an "ä"
// count as two folders), and no separator at the end but the root's own, so
// "C:\APP\" is "C:\APP" while "C:\" stays apart from "C:", which is the
// current folder of drive C. None for a folder that is not absolute.
std::optional<std::string> comparable(std::string_view folder, PathForm form)
{
    const size_t root = rootLength(folder, form);
    if (root == 0)
        return std::nullopt;
    std::string compared(folder);
    if (form == PathForm::Windows)
        for (char& c : compared)
            c = c == '/' ? '\\' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    while (compared.size() > root && isSeparator(compared.back(), form))
        compared.pop_back();
    return compared;
}

// Where the own name of `path` starts: after its last separator.
size_t ownNameStart(std::string_view path, PathForm form)
{
    size_t start = path.size();
    while (start > 0 && !isSeparator(path[start - 1], form))
        --start;
    return start;
}

} // namespace

std::string initialNameFor(const std::string& lastName, const std::string& folder, PathForm form)
{
    const size_t nameStart = ownNameStart(lastName, form);
    if (nameStart == 0 || nameStart == lastName.size())
        return {};
    const std::optional<std::string> chosenIn =
        comparable(std::string_view(lastName).substr(0, nameStart), form);
    const std::optional<std::string> opensIn = comparable(folder, form);
    if (!chosenIn || !opensIn || *chosenIn != *opensIn)
        return {};
    return lastName.substr(nameStart);
}

std::string nameWithDefaultExtension(const std::string& path, const std::string& extension,
                                     PathForm form)
{
    const size_t nameStart = ownNameStart(path, form);
    if (extension.empty() || nameStart == path.size() ||
        path.find('.', nameStart) != std::string::npos)
        return path;
    return path + '.' + extension;
}

bool isShortcutName(const std::string& path, PathForm form)
{
    if (form != PathForm::Windows)
        return false;
    std::string_view own = std::string_view(path).substr(ownNameStart(path, form));
    while (own.ends_with('.') || own.ends_with(' '))
        own.remove_suffix(1);
    constexpr std::string_view suffix = ".lnk";
    if (own.size() < suffix.size())
        return false;
    const std::string_view end = own.substr(own.size() - suffix.size());
    return std::equal(end.begin(), end.end(), suffix.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == b;
    });
}

Status FileChooser::show(bool save)
{
    const ChooserRequest request{
        .save = save,
        .title = dialogTitle_,
        .initialFolder = initDir_,
        .fileTypes = fileTypesFor(filter_),
        .initialName = initialNameFor(fileName_, initDir_, form_),
    };
    const Result<ChooserAnswer> answer = showChooser(request);
    if (!answer)
        return answer.status();
    if (!answer.value()) {
        if (cancelError_)
            return Status::failure(CancelErrorNumber, "Cancel was selected.");
        fileName_.clear();
        return {};
    }
    // An open chooser looks for the name exactly as typed.
    fileName_ =
        save ? nameWithDefaultExtension(*answer.value(), defaultExtensionFor(defaultExt_), form_)
             : *answer.value();
    return {};
}

} // namespace marlo
