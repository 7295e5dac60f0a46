#pragma once

namespace marlo {

// What the reset sequence shows in its window, as the sequence means it.
// Each toolkit's reset window does it with its own controls. The window
// starts in its warning state: the warning and the caution shown, "RESET
// NOW !" enabled, the bar hidden at 0.
class ResetView {
public:
    // The bar's range; a position outside it is refused before the view
    // sees it.
    static constexpr int ProgressLow = 0, ProgressHigh = 100;

    // "RESET NOW !" greys out, the warning and the caution go, the
    // "resetting" line and the bar show.
    virtual void showResetting() = 0;
    virtual void setProgress(int position) = 0;
    // The notice that backups of the databases are made shows.
    virtual void showBackupNotice() = 0;
    // Gives the window the input focus; false when the window is not shown
    // and so cannot take it.
    virtual bool takeFocus() = 0;

protected:
    ~ResetView() = default;
};

} // namespace marlo
