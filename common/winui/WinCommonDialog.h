#pragma once

#include "FileChooser.h"

#include "WinSystem.h"

#include <string>
#include <vector>

namespace marlo {

// The file chooser on the Windows API: the system's open and save dialogs,
// shown from the request.
class WinCommonDialog : public FileChooser {
public:
    // `owner` is the window the chooser is modal over.
    explicit WinCommonDialog(HWND owner = nullptr) : owner_(owner) {}
    void setOwner(HWND owner) { owner_ = owner; }

protected:
    Result<ChooserAnswer> showChooser(const ChooserRequest& request) override;

private:
    HWND owner_;
};

// The system's list of file types: description and patterns (joined by ';')
// of every type, each ending with a NUL, and a second NUL after the last.
std::wstring systemFilterFor(const std::vector<FileType>& types);

} // namespace marlo
