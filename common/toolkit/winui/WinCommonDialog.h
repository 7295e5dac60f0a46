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

// Whether the program runs under Wine rather than on Windows; asked once.
bool runsUnderWine();

// The file a save dialog's answer `returned` stands for, `typed` being the
// text of its name field as accepted. Windows' dialog hands back the file
// meant, whatever it shows: with extensions hidden, an existing "foo.txt"
// picked shows as "foo" and comes back as "foo.txt". Wine's appends the
// listed type's extension to a typed name whose own differs ("x.MDB" comes
// back as "x.MDB.mdb"); there the typed name is taken instead.
std::wstring savedFileName(const std::wstring& returned, const std::wstring& typed, bool wine);

} // namespace marlo
