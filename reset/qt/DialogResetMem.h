#pragma once

#include "Platform.h"
#include "ResetButtons.h"

#include <QDialog>

namespace marlo {

// The reset tool's one window. It warns that both databases are about to be
// reset; "RESET NOW !" runs the reset sequence inside it, "Cancel" starts the
// main program and closes it. Every platform call goes through `platform`,
// so tests drive the window against the fake.
class DialogResetMem : public QDialog {
    Q_OBJECT
public:
    // Builds the window in its warning state and beeps once, as it loads.
    explicit DialogResetMem(Platform platform, QWidget* parent = nullptr);

    const ResetSequence& sequence() const { return buttons_.sequence(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void centreOnScreen();
    void resetNowClicked();
    void cancelClicked();

    Platform platform_;
    ResetButtons buttons_;
};

} // namespace marlo
