#include "WinCommonDialog.h"

#include "ShellCalls.h"
#include "WinText.h"

#include <wrl/client.h>

#include <memory>

namespace marlo {
namespace {

using Microsoft::WRL::ComPtr;

// The commands ask their own overwrite question and test the name
// themselves, so the dialog hands back the name as typed, whether it exists,
// is in use or not. The program's current folder stays where it was.
constexpr FILEOPENDIALOGOPTIONS OptionsOn = FOS_NOCHANGEDIR | FOS_FORCEFILESYSTEM | FOS_NOVALIDATE;
constexpr FILEOPENDIALOGOPTIONS OptionsOff =
    FOS_OVERWRITEPROMPT | FOS_FILEMUSTEXIST | FOS_PATHMUSTEXIST | FOS_CREATEPROMPT;

HRESULT setOptions(IFileDialog& dialog)
{
    FILEOPENDIALOGOPTIONS options = 0;
    HRESULT result = dialog.GetOptions(&options);
    if (SUCCEEDED(result))
        result = dialog.SetOptions((options | OptionsOn) & ~OptionsOff);
    return result;
}

HRESULT setFileTypes(IFileDialog& dialog, const std::vector<FileType>& types)
{
    const std::vector<SystemFileType> systemTypes = systemFileTypesFor(types);
    if (systemTypes.empty())
        return S_OK;
    std::vector<COMDLG_FILTERSPEC> entries;
    for (const SystemFileType& type : systemTypes)
        entries.push_back({type.name.c_str(), type.patterns.c_str()});
    HRESULT result = dialog.SetFileTypes(static_cast<UINT>(entries.size()), entries.data());
    if (SUCCEEDED(result))
        result = dialog.SetFileTypeIndex(1);
    return result;
}

// Sets the folder the dialog opens in at this showing, whatever was chosen
// at an earlier one. A folder that is gone leaves the system's choice.
HRESULT setFolder(IFileDialog& dialog, const ShellCalls& shell, const std::string& folder)
{
    ComPtr<IShellItem> item;
    if (folder.empty() ||
        FAILED(shell.createItemFromParsingName(win32::widen(folder).c_str(), nullptr,
                                               IID_PPV_ARGS(item.GetAddressOf()))))
        return S_OK;
    return dialog.SetFolder(item.Get());
}

HRESULT prepare(IFileDialog& dialog, const ShellCalls& shell, const ChooserRequest& request)
{
    HRESULT result = setOptions(dialog);
    if (SUCCEEDED(result) && !request.title.empty())
        result = dialog.SetTitle(win32::widen(request.title).c_str());
    if (SUCCEEDED(result))
        result = setFileTypes(dialog, request.fileTypes);
    if (SUCCEEDED(result) && !request.defaultExtension.empty())
        result = dialog.SetDefaultExtension(win32::widen(request.defaultExtension).c_str());
    if (SUCCEEDED(result) && !request.initialName.empty())
        result = dialog.SetFileName(win32::widen(request.initialName).c_str());
    if (SUCCEEDED(result))
        result = setFolder(dialog, shell, request.initialFolder);
    return result;
}

HRESULT pathOf(IShellItem& item, const ShellCalls& shell, std::wstring& path)
{
    wchar_t* name = nullptr;
    const HRESULT result = item.GetDisplayName(SIGDN_FILESYSPATH, &name);
    const std::unique_ptr<wchar_t, decltype(shell.coTaskMemFree)> owned(name, shell.coTaskMemFree);
    if (SUCCEEDED(result))
        path = name;
    return result;
}

HRESULT showDialog(const ChooserRequest& request, HWND owner, std::wstring& chosen)
{
    const ShellCalls* shell = nullptr;
    HRESULT result = shellCallsOnThisThread(shell);
    if (FAILED(result))
        return result;
    ComPtr<IFileDialog> dialog;
    result =
        shell->coCreateInstance(request.save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                                CLSCTX_INPROC_SERVER, IID_PPV_ARGS(dialog.GetAddressOf()));
    if (SUCCEEDED(result))
        result = prepare(*dialog.Get(), *shell, request);
    if (SUCCEEDED(result))
        result = dialog->Show(owner);
    ComPtr<IShellItem> item;
    if (SUCCEEDED(result))
        result = dialog->GetResult(item.GetAddressOf());
    if (SUCCEEDED(result))
        result = pathOf(*item.Get(), *shell, chosen);
    return result;
}

} // namespace

std::vector<SystemFileType> systemFileTypesFor(const std::vector<FileType>& types)
{
    std::vector<SystemFileType> list;
    for (const FileType& type : types) {
        std::wstring patterns;
        for (const std::string& pattern : type.patterns)
            patterns += (patterns.empty() ? L"" : L";") + win32::widen(pattern);
        list.push_back({win32::widen(type.description), patterns});
    }
    return list;
}

Result<ChooserAnswer> WinCommonDialog::showChooser(const ChooserRequest& request)
{
    std::wstring chosen;
    const HRESULT shown =
        showDialog(request, owner_ && IsWindow(owner_) ? owner_ : nullptr, chosen);
    if (shown == HRESULT_FROM_WIN32(ERROR_CANCELLED))
        return ChooserAnswer();
    if (FAILED(shown))
        return Result<ChooserAnswer>::failure(static_cast<int>(shown), "The file chooser failed.");
    return ChooserAnswer(win32::narrow(chosen));
}

} // namespace marlo
