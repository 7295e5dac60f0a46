#pragma once

#include "FileChooser.h"

#include "WinSystem.h"

#include <shobjidl.h>

#include <string>
#include <vector>

namespace marlo {

// The file chooser on the Windows API: the system's open and save dialogs
// (the Common Item Dialog), shown from the request.
class WinCommonDialog : public FileChooser {
public:
    // `owner` is the window the chooser is modal over.
    explicit WinCommonDialog(HWND owner = nullptr) : FileChooser(PathForm::Windows), owner_(owner)
    {
    }
    void setOwner(HWND owner) { owner_ = owner; }

protected:
    Result<ChooserAnswer> showChooser(const ChooserRequest& request) override;

private:
    HWND owner_;
};

struct ShellCalls;

// Sets `dialog` up for a showing of `request`: its options, title, file
// types, name and folder.
HRESULT prepareFileDialog(IFileDialog& dialog, const ShellCalls& shell,
                          const ChooserRequest& request);

// One file type as the system's dialog lists it: its description, and its
// patterns joined by ';'.
struct SystemFileType {
    std::wstring name, patterns;
    bool operator==(const SystemFileType&) const = default;
};
std::vector<SystemFileType> systemFileTypesFor(const std::vector<FileType>& types);

} // namespace marlo
