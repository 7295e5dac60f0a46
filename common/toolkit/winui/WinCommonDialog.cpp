#include "WinCommonDialog.h"

#include "ShellCalls.h"
#include "WinText.h"

#include <wrl/client.h>

#include <memory>
#include <string_view>

namespace marlo {
namespace {

using Microsoft::WRL::ComPtr;

// The commands ask their own overwrite question and test the name
// themselves, so the dialog hands back the name as typed, whether it exists,
// is in use or read-only (the save dialog refuses a read-only file by
// default, and the command's question and its failure box would never come).
// The program's current folder stays where it was. A picked shortcut is
// handed back as itself (see FileChooser).
constexpr FILEOPENDIALOGOPTIONS OptionsOn =
    FOS_NOCHANGEDIR | FOS_FORCEFILESYSTEM | FOS_NOVALIDATE | FOS_NODEREFERENCELINKS;
constexpr FILEOPENDIALOGOPTIONS OptionsOff = FOS_OVERWRITEPROMPT | FOS_FILEMUSTEXIST |
                                             FOS_PATHMUSTEXIST | FOS_CREATEPROMPT |
                                             FOS_NOREADONLYRETURN | FOS_STRICTFILETYPES;

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

} // namespace

HRESULT prepareFileDialog(IFileDialog& dialog, const ShellCalls& shell,
                          const ChooserRequest& request)
{
    HRESULT result = setOptions(dialog);
    if (SUCCEEDED(result) && !request.title.empty())
        result = dialog.SetTitle(win32::widen(request.title).c_str());
    if (SUCCEEDED(result))
        result = setFileTypes(dialog, request.fileTypes);
    // No default extension: the dialog's own follows the listed file type;
    // the chooser's rule adds ours to what the dialog hands back.
    if (SUCCEEDED(result) && !request.initialName.empty())
        result = dialog.SetFileName(win32::widen(request.initialName).c_str());
    if (SUCCEEDED(result))
        result = setFolder(dialog, shell, request.initialFolder);
    return result;
}

namespace {

// Keeps the text of the name field as the user accepts it (see
// savedFileName). It lives on the stack of one showing, so counting
// references owns nothing.
class TypedName final : public IFileDialogEvents {
public:
    explicit TypedName(const ShellCalls& shell) : shell_(shell) {}

    std::wstring text;

    IFACEMETHODIMP QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (id != IID_IUnknown && id != IID_IFileDialogEvents) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IFileDialogEvents*>(this);
        return S_OK;
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return 2; }
    IFACEMETHODIMP_(ULONG) Release() override { return 1; }

    IFACEMETHODIMP OnFileOk(IFileDialog* dialog) override
    {
        wchar_t* name = nullptr;
        if (SUCCEEDED(dialog->GetFileName(&name)) && name)
            text = name;
        shell_.coTaskMemFree(name);
        return S_OK;
    }
    IFACEMETHODIMP OnFolderChanging(IFileDialog*, IShellItem*) override { return E_NOTIMPL; }
    IFACEMETHODIMP OnFolderChange(IFileDialog*) override { return E_NOTIMPL; }
    IFACEMETHODIMP OnSelectionChange(IFileDialog*) override { return E_NOTIMPL; }
    IFACEMETHODIMP OnShareViolation(IFileDialog*, IShellItem*,
                                    FDE_SHAREVIOLATION_RESPONSE*) override
    {
        return E_NOTIMPL;
    }
    IFACEMETHODIMP OnTypeChange(IFileDialog*) override { return E_NOTIMPL; }
    IFACEMETHODIMP OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override
    {
        return E_NOTIMPL;
    }

private:
    const ShellCalls& shell_;
};

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
        result = prepareFileDialog(*dialog.Get(), *shell, request);
    TypedName typed(*shell);
    DWORD cookie = 0;
    if (SUCCEEDED(result))
        result = dialog->Advise(&typed, &cookie);
    if (SUCCEEDED(result)) {
        result = dialog->Show(owner);
        dialog->Unadvise(cookie);
    }
    ComPtr<IShellItem> item;
    if (SUCCEEDED(result))
        result = dialog->GetResult(item.GetAddressOf());
    if (SUCCEEDED(result))
        result = pathOf(*item.Get(), *shell, chosen);
    if (SUCCEEDED(result) && request.save)
        chosen = savedFileName(chosen, typed.text, runsUnderWine());
    return result;
}

} // namespace

bool runsUnderWine()
{
    // Wine's own ntdll exports its version; Windows' has no such call.
    static const bool wine = [] {
        const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        return ntdll && GetProcAddress(ntdll, "wine_get_version");
    }();
    return wine;
}

std::wstring savedFileName(const std::wstring& returned, const std::wstring& typed, bool wine)
{
    if (!wine)
        return returned;
    const std::wstring_view own = std::wstring_view(typed).substr(typed.find_last_of(L"\\/") + 1);
    const size_t nameStart = returned.find_last_of(L"\\/") + 1;
    const std::wstring_view chosen = std::wstring_view(returned).substr(nameStart);
    if (own.empty() || chosen.size() <= own.size() || !chosen.starts_with(own) ||
        chosen[own.size()] != L'.')
        return returned;
    return returned.substr(0, nameStart) + std::wstring(own);
}

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
