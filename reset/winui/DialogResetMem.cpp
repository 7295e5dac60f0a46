#include "DialogResetMem.h"

#include "ColouredButton.h"
#include "ResetWindowDesign.h"
#include "WinText.h"
#include "WinWindowSystem.h"

#include <commctrl.h>

namespace marlo {

namespace {

namespace design = resetwindow;

constexpr DesignColours Colours{
    RGB(design::BackgroundRed, design::BackgroundGreen, design::BackgroundBlue),
    // The system's greyed text all but vanishes on this background.
    RGB(128, 128, 128)};

enum ControlId { OkButtonId = 100, CancelButtonId, ProgressBarId, FirstLabelId };

} // namespace

DialogResetMem::DialogResetMem(FileSystem& files, WinWindowSystem& windows)
    : windows_(windows), buttons_(Platform{files, windows}), colours_(Colours)
{
    // A fixed dialog border: system menu and close box, no minimize or
    // maximize box, no resizing. No class brush: the dialog manager paints
    // the background in the brush that WM_CTLCOLORDLG answers, the theme's.
    if (!create(L"MarloResetWindow", win32::widen(design::Caption).c_str(),
                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, programIcon(), nullptr))
        return;
    windows_.setWindow(hwnd());
    layout_.emplace(hwnd(), design::ClientWidth, design::ClientHeight);
    buildControls();
    layout_->sizeAndCentre();
    windows_.Beep();
}

DialogResetMem::~DialogResetMem()
{
    destroy();
}

void DialogResetMem::buildControls()
{
    // Children are stacked in the order they are made, the first on top, and
    // Tab follows that order: the buttons first, so that they and the
    // progress bar lie above the labels wherever boxes overlap.
    TwipLayout& layout = *layout_;
    const int buttonFont = layout.addFont({L"Arial", design::ButtonPoints, FW_NORMAL});
    const DWORD buttonStyle = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY;
    resetNow_ = layout.addControl(WC_BUTTONW, win32::widen(design::OkButton.caption).c_str(),
                                  buttonStyle, design::OkButton.box, OkButtonId, buttonFont);
    HWND cancel =
        layout.addControl(WC_BUTTONW, win32::widen(design::CancelButton.caption).c_str(),
                          buttonStyle, design::CancelButton.box, CancelButtonId, buttonFont);
    windows_.addControl(design::OkButtonName, resetNow_);
    windows_.addControl(design::CancelButtonName, cancel);

    HWND bar = layout.addControl(PROGRESS_CLASSW, L"", 0, design::ProgressBarBox, ProgressBarId);
    SendMessageW(bar, PBM_SETRANGE32, 0, 100);
    SendMessageW(bar, PBM_SETPOS, 0, 0);
    windows_.addControl(design::ProgressBarName, bar);

    // The labels from the top of the stack down.
    int id = FirstLabelId;
    for (auto label = design::Labels.rbegin(); label != design::Labels.rend(); ++label) {
        const wchar_t* face = label->face == design::Face::Arial ? L"Arial" : L"Arial Black";
        const int font = layout.addFont({face, label->points, label->weight});
        const DWORD style = SS_CENTER | SS_NOPREFIX | (label->shown ? WS_VISIBLE : 0);
        HWND control = layout.addControl(WC_STATICW, win32::widen(label->text).c_str(), style,
                                         label->box, id++, font);
        windows_.addControl(label->name, control);
    }
}

void DialogResetMem::show()
{
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    focusControl(resetNow_);
    UpdateWindow(hwnd());
}

std::optional<LRESULT> DialogResetMem::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        // Enter and Escape for the whole window arrive as IDOK and IDCANCEL:
        // no button stands in for the window, so both do nothing.
        if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == OkButtonId)
            runHandler([this] { resetNowClicked(); });
        else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == CancelButtonId)
            runHandler([this] { cancelClicked(); });
        else if (HIWORD(wParam) == BN_SETFOCUS)
            // Enter presses the button that has the focus.
            SendMessageW(hwnd(), DM_SETDEFID, LOWORD(wParam), 0);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, colours_.palette().face);
        SetTextColor(dc, colours_.palette().text);
        return reinterpret_cast<LRESULT>(colours_.faceBrush());
    }
    case WM_NOTIFY:
        if (const auto* notice = reinterpret_cast<const NMHDR*>(lParam);
            notice->code == NM_CUSTOMDRAW &&
            (notice->idFrom == OkButtonId || notice->idFrom == CancelButtonId))
            return paintButtonInColour(notice, colours_.palette());
        return std::nullopt;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST)
            colours_.themeChanged(hwnd(), message);
        return std::nullopt;
    case WM_SYSCOLORCHANGE:
        colours_.themeChanged(hwnd(), message);
        return std::nullopt;
    case WM_GETDPISCALEDSIZE:
        return layout_->scaledSize(wParam, lParam);
    case WM_DPICHANGED:
        layout_->dpiChanged(wParam, lParam);
        return 0;
    case WM_CLOSE:
        // The close box waits out the reset, which ends the program itself.
        close();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(windows_.exitStatus());
        return 0;
    default:
        return std::nullopt;
    }
}

void DialogResetMem::resetNowClicked()
{
    buttons_.resetNow();
}

void DialogResetMem::cancelClicked()
{
    buttons_.cancel();
}

} // namespace marlo
