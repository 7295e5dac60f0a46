#include "ImportWindow.h"

#include "ButtonClick.h"
#include "ImportWindowDesign.h"
#include "WinText.h"

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

ImportWindow::ImportWindow(Platform platform, const CopierFactory& makeCopier)
{
    // An ordinary window: resizable, with minimize and maximize boxes. It
    // does not paint beneath its children, which would flicker while the
    // window is resized.
    if (!create({L"MarloImportWindow", design::Caption, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), design::ClientWidth,
                 design::ClientHeight}))
        return;
    commonDialog1_.setOwner(hwnd());
    commands_ = std::make_unique<TransferCommands>(
        platform, commonDialog1_, makeCopier ? makeCopier(hwnd()) : std::make_unique<DirectCopy>());
    buildControls();
    sizeAndCentre();
}

void ImportWindow::buildControls()
{
    // Children are stacked in the order they are made and Tab follows it:
    // the buttons in tab order, then the labels, the frame at the bottom.
    TwipLayout& layout = this->layout();
    const int font = layout.addFont({L"Arial", design::FontPoints, FW_NORMAL});
    addButtons(design::Buttons, FirstButtonId, font);

    int id = FirstLabelId;
    const design::Box& frame = design::FrameBox;
    for (const design::LabelDesign& label : design::Labels) {
        const TwipBox box{frame.left + label.box.left, frame.top + label.box.top, label.box.width,
                          label.box.height};
        layout.addControl(WC_STATICW, win32::widen(label.text).c_str(),
                          WS_VISIBLE | SS_LEFT | SS_NOPREFIX, box, id++, font);
    }

    // A plain rectangle in the window's text colour, without a 3D edge.
    HWND frameControl =
        layout.addControl(WC_STATICW, L"", WS_VISIBLE | SS_BLACKFRAME, frame, FrameId);
    SetWindowSubclass(frameControl, frameProcedure, 0, 0);
}

void ImportWindow::clicked(int id)
{
    // Enter and Escape for the whole window arrive as IDOK and IDCANCEL:
    // no button stands in for the window, so both do nothing. A close asked
    // during a command waits for its end and its notice.
    const int index = id - FirstButtonId;
    if (index >= 0 && index < static_cast<int>(design::Buttons.size()))
        runClick(*commands_, design::Buttons[static_cast<std::size_t>(index)].click);
}

} // namespace marlo
