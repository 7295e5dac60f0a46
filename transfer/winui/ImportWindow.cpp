#include "ImportWindow.h"

#include "ButtonClick.h"
#include "ImportWindowDesign.h"
#include "WinText.h"
#include "WinWindowSystem.h"

#include <commctrl.h>

namespace marlo {

namespace {

namespace design = importwindow;

enum ControlId { FirstButtonId = 100, FirstLabelId = 200, FrameId = 300 };

// The frame control draws only its edge. The window leaves the area of its
// children alone, so the frame fills its inside with the window's own
// background, which follows the system's colours.
LRESULT CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                DWORD_PTR)
{
    if (message == WM_ERASEBKGND) {
        RECT inside{};
        GetClientRect(frame, &inside);
        FillRect(reinterpret_cast<HDC>(wParam), &inside,
                 reinterpret_cast<HBRUSH>(GetClassLongPtrW(GetParent(frame), GCLP_HBRBACKGROUND)));
        return TRUE;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(frame, frameProcedure, 0);
    return DefSubclassProc(frame, message, wParam, lParam);
}

} // namespace

ImportWindow::ImportWindow(FileSystem& files, WinWindowSystem& windows,
                           const CopierFactory& makeCopier)
    : windows_(windows)
{
    // An ordinary window: resizable, with minimize and maximize boxes. It
    // does not paint beneath its children, which would flicker while the
    // window is resized.
    if (!create(L"MarloImportWindow", win32::widen(design::Caption).c_str(),
                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, programIcon(),
                reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)))
        return;
    windows_.setWindow(hwnd());
    layout_.emplace(hwnd(), design::ClientWidth, design::ClientHeight);
    commonDialog1_.setOwner(hwnd());
    commands_ = std::make_unique<TransferCommands>(Platform{files, windows_}, commonDialog1_,
                                                   makeCopier ? makeCopier(hwnd())
                                                              : std::make_unique<DirectCopy>());
    buildControls();
    layout_->sizeAndCentre();
}

ImportWindow::~ImportWindow()
{
    destroy();
}

void ImportWindow::buildControls()
{
    // Children are stacked in the order they are made and Tab follows it:
    // the buttons in tab order, then the labels, the frame at the bottom.
    TwipLayout& layout = *layout_;
    const int font = layout.addFont({L"Arial", design::FontPoints, FW_NORMAL});
    int id = FirstButtonId;
    for (const design::ButtonDesign& button : design::Buttons) {
        HWND control = layout.addControl(WC_BUTTONW, win32::widen(button.caption).c_str(),
                                         WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_NOTIFY,
                                         button.box, id++, font);
        windows_.addControl(button.name, control);
        if (!firstButton_)
            firstButton_ = control;
    }

    id = FirstLabelId;
    const design::Box& frame = design::FrameBox;
    for (const design::LabelDesign& label : design::Labels) {
        const TwipBox box{frame.left + label.box.left, frame.top + label.box.top, label.box.width,
                          label.box.height};
        HWND control = layout.addControl(WC_STATICW, win32::widen(label.text).c_str(),
                                         WS_VISIBLE | SS_LEFT | SS_NOPREFIX, box, id++, font);
        windows_.addControl(label.name, control);
    }

    // A plain rectangle in the window's text colour, without a 3D edge.
    HWND frameControl =
        layout.addControl(WC_STATICW, L"", WS_VISIBLE | SS_BLACKFRAME, frame, FrameId);
    SetWindowSubclass(frameControl, frameProcedure, 0, 0);
    windows_.addControl(design::FrameName, frameControl);
}

void ImportWindow::show()
{
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    focusControl(firstButton_);
    UpdateWindow(hwnd());
}

std::optional<LRESULT> ImportWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND: {
        // Enter and Escape for the whole window arrive as IDOK and IDCANCEL:
        // no button stands in for the window, so both do nothing.
        const int index = LOWORD(wParam) - FirstButtonId;
        if (index < 0 || index >= static_cast<int>(design::Buttons.size()))
            return 0;
        if (HIWORD(wParam) == BN_SETFOCUS)
            // Enter presses the button that has the focus.
            SendMessageW(hwnd(), DM_SETDEFID, LOWORD(wParam), 0);
        else if (HIWORD(wParam) == BN_CLICKED)
            runHandler([this, index] {
                runClick(*commands_, design::Buttons[static_cast<std::size_t>(index)].click);
            });
        return 0;
    }
    case WM_GETDPISCALEDSIZE:
        return layout_->scaledSize(wParam, lParam);
    case WM_DPICHANGED:
        layout_->dpiChanged(wParam, lParam);
        return 0;
    case WM_CLOSE:
        // A command under way runs to its end, its notice shown, and the
        // window closes after it.
        close();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(windows_.exitStatus());
        return 0;
    default:
        return std::nullopt;
    }
}

} // namespace marlo
