#pragma once

#include "ChooserFilter.h"
#include "CommonDialog.h"

#include <optional>
#include <string>
#include <vector>

namespace marlo {

// Number and description of a showing that is cancelled with CancelError set.
inline constexpr int CancelErrorNumber = 32755;

// Everything a toolkit's chooser is shown from.
struct ChooserRequest {
    bool save = false; // a name to be written, else one to be read
    std::string title;
    std::string initialFolder;
    std::vector<FileType> fileTypes;
    // The bare name the name field starts with, or empty.
    std::string initialName;
};

// How a host writes the paths its chooser hands back.
enum class PathForm {
    // Either slash between the parts, a drive ("C:\") or a server share
    // ("\\server\share") before them; folders that differ only in the case
    // of ASCII letters are the same.
    Windows,
    // '/' between the parts and before them; every other byte, a backslash
    // too, belongs to a name, and folders are the same only byte for byte.
    Posix,
};

// The name a showing that opens in `folder` may start with: the own part of
// `lastName` where that name lies right in `folder`, else empty. A name
// offered in another folder than it was chosen in would be another file of
// the same name there, perhaps a live database to be deleted; so whatever
// cannot be told the same for sure (a relative path, a folder written
// otherwise) counts as another folder.
std::string initialNameFor(const std::string& lastName, const std::string& folder, PathForm form);

// `path` with ".extension" added where its own name has no suffix (no dot
// in it), else as given: "x.ba2", "x.MDB" and "x." keep their names whatever
// file type the chooser lists. Every toolkit's dialog gets its own idea of a
// default extension, which follows the listed file type on Windows and
// differs again under Wine; so the toolkits are given none, and this one
// rule is applied to what they hand back.
std::string nameWithDefaultExtension(const std::string& path, const std::string& extension,
                                     PathForm form);

// Whether `path` names a shortcut: on Windows a file whose own name ends in
// ".lnk", in any case, which the shell follows to another file and lists
// without its suffix. Trailing dots and blanks count for nothing, as on every
// Windows path. Posix hosts have none: a link there is followed by every
// read.
bool isShortcutName(const std::string& path, PathForm form);

// The name accepted in a showing, or none when the user cancelled it.
using ChooserAnswer = std::optional<std::string>;

// The chooser's properties and the rules of a showing, for every toolkit:
// a toolkit shows its own dialog from the request and hands back the name.
// It never asks an overwrite question of its own, adds no extension and
// accepts a typed name whether or not it exists; the commands test the name
// themselves, and a save's name gets the default extension here. A picked
// shortcut comes back as the file itself, never as the file it leads to: a
// delete or an export acts on the shortcut, and an import refuses it
// (isShortcutName), so no command ever reaches a file the user did not see.
class FileChooser : public CommonDialog {
public:
    // `form`: how the toolkit's chooser writes the paths it hands back.
    explicit FileChooser(PathForm form) : form_(form) {}

    void SetCancelError(bool cancelError) override { cancelError_ = cancelError; }
    void SetInitDir(const std::string& folder) override { initDir_ = folder; }
    void SetDefaultExt(const std::string& extension) override { defaultExt_ = extension; }
    void SetFilter(const std::string& filter) override { filter_ = filter; }
    void SetDialogTitle(const std::string& title) override { dialogTitle_ = title; }
    Status ShowOpen() override { return show(false); }
    Status ShowSave() override { return show(true); }
    std::string FileName() const override { return fileName_; }

protected:
    // Shows the toolkit's chooser, modal, and answers the full path of the
    // name accepted, none when cancelled, or the failure of the chooser
    // itself, which leaves FileName as it was.
    virtual Result<ChooserAnswer> showChooser(const ChooserRequest& request) = 0;

private:
    Status show(bool save);

    PathForm form_;
    bool cancelError_ = false;
    std::string initDir_, defaultExt_, filter_, dialogTitle_, fileName_;
};

} // namespace marlo
