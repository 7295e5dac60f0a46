#pragma once

#include "CommonDialog.h"

#include "WinSystem.h"

#include <string>

namespace marlo {

// The file chooser on the Windows API: the system's open and save dialogs,
// shown from the properties, which outlive every showing. The chooser
// never asks its own overwrite question and returns a typed name whether or
// not it exists; the commands test the name themselves.
class WinCommonDialog : public CommonDialog {
public:
    // `owner` is the window the chooser is modal over.
    explicit WinCommonDialog(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }

    void SetCancelError(bool cancelError) override { cancelError_ = cancelError; }
    void SetInitDir(const std::string& folder) override { initDir_ = folder; }
    void SetDefaultExt(const std::string& extension) override { defaultExt_ = extension; }
    void SetFilter(const std::string& filter) override { filter_ = filter; }
    void SetDialogTitle(const std::string& title) override { dialogTitle_ = title; }
    Status ShowOpen() override;
    Status ShowSave() override;
    std::string FileName() const override { return fileName_; }

private:
    Status show(bool save);

    HWND owner_;
    bool cancelError_ = false;
    std::string initDir_, defaultExt_, filter_, dialogTitle_, fileName_;
};

// The system's list of file types for a filter "desc|pattern|desc|pattern":
// every item ends with a NUL and the list with a second one.
std::wstring systemFilterFor(const std::string& filter);

// The extension that a typed name without one receives: "*.mdb", ".mdb"
// and "mdb" give "mdb"; a pattern matching anything gives none.
std::wstring defaultExtensionFor(const std::string& defaultExt);

// Number of a showing that is cancelled with CancelError set.
inline constexpr int CancelErrorNumber = 32755;

} // namespace marlo
