#include "WinCommonDialog.h"

#include "WinText.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace marlo {

std::wstring systemFilterFor(const std::string& filter)
{
    if (filter.empty())
        return {};
    std::wstring list = win32::widen(filter);
    // An item without its pattern gets an empty one, so that no pair after
    // it shifts.
    if (std::count(list.begin(), list.end(), L'|') % 2 == 0)
        list += L'|';
    list += L'|';
    std::replace(list.begin(), list.end(), L'|', L'\0');
    return list + L'\0';
}

std::wstring defaultExtensionFor(const std::string& defaultExt)
{
    std::wstring extension = win32::widen(defaultExt);
    if (!extension.empty() && extension.front() == L'*')
        extension.erase(0, 1);
    if (!extension.empty() && extension.front() == L'.')
        extension.erase(0, 1);
    if (extension.find_first_of(L"*?") != std::wstring::npos)
        return {};
    return extension;
}

Status WinCommonDialog::ShowOpen()
{
    return show(false);
}

Status WinCommonDialog::ShowSave()
{
    return show(true);
}

Status WinCommonDialog::show(bool save)
{
    // The name field starts with the last name's own part, so that the
    // dialog opens in InitDir, which a folder in the field would override.
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring lastName = win32::widen(fileName_);
    const std::wstring shown = lastName.substr(lastName.find_last_of(L"\\/") + 1);
    if (shown.size() < name.size())
        std::copy(shown.begin(), shown.end(), name.begin());

    const std::wstring filter = systemFilterFor(filter_);
    const std::wstring folder = win32::widen(initDir_);
    const std::wstring title = win32::widen(dialogTitle_);
    // Only a name to be written gets the extension; an open chooser looks
    // for the name exactly as typed.
    const std::wstring extension = save ? defaultExtensionFor(defaultExt_) : std::wstring();

    OPENFILENAMEW chooser{};
    chooser.lStructSize = sizeof chooser;
    chooser.hwndOwner = owner_ && IsWindow(owner_) ? owner_ : nullptr;
    chooser.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    chooser.nFilterIndex = 1;
    chooser.lpstrFile = name.data();
    chooser.nMaxFile = static_cast<DWORD>(name.size());
    chooser.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    chooser.lpstrTitle = title.empty() ? nullptr : title.c_str();
    chooser.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    // No overwrite question and no test of the name: the commands ask their
    // own. The current folder stays where it was.
    chooser.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;

    const BOOL accepted = save ? GetSaveFileNameW(&chooser) : GetOpenFileNameW(&chooser);
    if (!accepted) {
        if (const DWORD error = CommDlgExtendedError(); error != 0)
            return Status::failure(static_cast<int>(error), "The file chooser failed.");
        if (cancelError_)
            return Status::failure(CancelErrorNumber, "Cancel was selected.");
        fileName_.clear();
        return {};
    }
    fileName_ = win32::narrow(name.data());
    return {};
}

} // namespace marlo
