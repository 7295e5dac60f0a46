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
    // Given to a typed name without an extension; empty for an open chooser,
    // which looks for the name exactly as typed.
    std::string defaultExtension;
    // Full path of the name chosen at the last accepted showing, or empty.
    std::string lastName;
};

// The name accepted in a showing, or none when the user cancelled it.
using ChooserAnswer = std::optional<std::string>;

// The chooser's properties and the rules of a showing, for every toolkit:
// a toolkit shows its own dialog from the request and hands back the name.
// It never asks an overwrite question of its own and accepts a typed name
// whether or not it exists; the commands test the name themselves.
class FileChooser : public CommonDialog {
public:
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

    bool cancelError_ = false;
    std::string initDir_, defaultExt_, filter_, dialogTitle_, fileName_;
};

} // namespace marlo
