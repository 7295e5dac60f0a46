#include "DialogResetMem.h"

#include "ColouredButton.h"
#include "ResetClick.h"
#include "ResetWindowDesign.h"
#include "WinText.h"

#include <commctrl.h>

#include <string_view>

namespace marlo {

namespace {

namespace design = resetwindow;

constexpr DesignColours Colours{
    RGB(design::BackgroundRed, design::BackgroundGreen, design::BackgroundBlue),
    // The system's greyed text all but vanishes on this background.
    RGB(128, 128, 128)};

enum ControlId { FirstButtonId = 100, ProgressBarId = 200, FirstLabelId };

bool isButton(UINT_PTR id)
{
    return id >= FirstButtonId && id < FirstButtonId + design::Buttons.size();
}

} // namespace

DialogResetMem::DialogResetMem(Platform platform)
    : platform_(platform), buttons_(platform, *this), colours_(Colours)
{
    // A fixed dialog border: system menu and close box, no minimize or
    // maximize box, no resizing. No class brush: the dialog manager paints
    // the background in the brush that WM_CTLCOLORDLG answers, the theme's.
    if (!create({L"MarloResetWindow", design::Caption,
                 WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, nullptr, design::ClientWidth,
                 design::ClientHeight}))
        return;
    buildControls();
    sizeAndCentre();
    platform_.windows.Beep();
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
    TwipLayout& layout = this->layout();
    const int buttonFont = layout.addFont({L"Arial", design::ButtonPoints, FW_NORMAL});
    resetNow_ = addButtons(design::Buttons, FirstButtonId, buttonFont);

    bar_ = layout.addControl(PROGRESS_CLASSW, L"", 0, design::ProgressBarBox, ProgressBarId);
    SendMessageW(bar_, PBM_SETRANGE32, ProgressLow, ProgressHigh);
    SendMessageW(bar_, PBM_SETPOS, 0, 0);

    // The labels from the top of the stack down.
    int id = FirstLabelId;
    for (auto label = design::Labels.rbegin(); label != design::Labels.rend(); ++label) {
        const wchar_t* face = label->face == design::Face::Arial ? L"Arial" : L"Arial Black";
        const int font = layout.addFont({face, label->points, label->weight});
        const DWORD style = SS_CENTER | SS_NOPREFIX | (label->shown ? WS_VISIBLE : 0);
        HWND control = layout.addControl(WC_STATICW, win32::widen(label->text).c_str(), style,
                                         label->box, id++, font);
        const std::string_view name = label->name;
        if (name == design::WarningLabel)
            warning_ = control;
        else if (name == design::CautionLabel)
            caution_ = control;
        else if (name == design::ResettingLabel)
            resetting_ = control;
        else if (name == design::BackupNoticeLabel)
            backupNotice_ = control;
    }
}

void DialogResetMem::showResetting()
{
    EnableWindow(resetNow_, FALSE);
    ShowWindow(warning_, SW_HIDE);
    ShowWindow(caution_, SW_HIDE);
    ShowWindow(resetting_, SW_SHOW);
    ShowWindow(bar_, SW_SHOW);
}

void DialogResetMem::setProgress(int position)
{
    // A themed bar grows towards a higher value over a while, and only while
    // messages are pumped, but steps back to a lower one at once; the reset
    // sets its values between pauses that pump nothing. So each value is
    // reached from just above it (from a range one longer at the end), and
    // drawn now.
    PBRANGE range{};
    SendMessageW(bar_, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    const bool atEnd = position >= range.iHigh;
    if (atEnd)
        SendMessageW(bar_, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), range.iHigh + 1);
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    if (atEnd)
        SendMessageW(bar_, PBM_SETRANGE32, static_cast<WPARAM>(range.iLow), range.iHigh);
    UpdateWindow(bar_);
}

void DialogResetMem::showBackupNotice()
{
    ShowWindow(backupNotice_, SW_SHOW);
}

bool DialogResetMem::takeFocus()
{
    if (!hwnd() || !IsWindowVisible(hwnd()))
        return false;
    SetForegroundWindow(hwnd());
    ::SetFocus(hwnd());
    return true;
}

void DialogResetMem::clicked(int id)
{
    // Enter and Escape for the whole window arrive as IDOK and IDCANCEL:
    // no button stands in for the window, so both do nothing.
    if (isButton(static_cast<UINT_PTR>(id)))
        runClick(buttons_, design::Buttons[static_cast<std::size_t>(id - FirstButtonId)].click);
}

std::optional<LRESULT> DialogResetMem::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
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
            notice->code == NM_CUSTOMDRAW && isButton(notice->idFrom))
            return paintButtonInColour(notice, colours_.palette());
        return std::nullopt;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST)
            colours_.themeChanged(hwnd(), message);
        return std::nullopt;
    case WM_SYSCOLORCHANGE:
        colours_.themeChanged(hwnd(), message);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

} // namespace marlo
