#include "WinCommonDialog.h"

#include "WinText.h"

#include <commdlg.h>

#include <algorithm>

namespace marlo {

std::wstring systemFilterFor(const std::vector<FileType>& types)
{
    std::wstring list;
    for (const FileType& type : types) {
        std::wstring patterns;
        for (const std::string& pattern : type.patterns)
            patterns += (patterns.empty() ? L"" : L";") + win32::widen(pattern);
        list += win32::widen(type.description) + L'\0' + patterns + L'\0';
    }
    return list.empty() ? list : list + L'\0';
}

Result<ChooserAnswer> WinCommonDialog::showChooser(const ChooserRequest& request)
{
    // The name field starts with the last name's own part, so that the
    // dialog opens in the initial folder, which a folder in the field would
    // override.
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring lastName = win32::widen(request.lastName);
    const std::wstring shown = lastName.substr(lastName.find_last_of(L"\\/") + 1);
    if (shown.size() < name.size())
        std::copy(shown.begin(), shown.end(), name.begin());

    const std::wstring filter = systemFilterFor(request.fileTypes);
    const std::wstring folder = win32::widen(request.initialFolder);
    const std::wstring title = win32::widen(request.title);
    const std::wstring extension = win32::widen(request.defaultExtension);

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

    if (request.save ? GetSaveFileNameW(&chooser) : GetOpenFileNameW(&chooser))
        return ChooserAnswer(win32::narrow(name.data()));
    if (const DWORD error = CommDlgExtendedError(); error != 0)
        return Result<ChooserAnswer>::failure(static_cast<int>(error), "The file chooser failed.");
    return ChooserAnswer();
}

} // namespace marlo
