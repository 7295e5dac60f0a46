#pragma once

#include "Platform.h"
#include "QtCloseWhenIdle.h"
#include "ResetButtons.h"
#include "ResetView.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace marlo {

// The reset tool's one window. It warns that both databases are about to be
// reset; "RESET NOW !" runs the reset sequence inside it, "Cancel" starts the
// main program and closes it. Every platform call goes through `platform`,
// so tests drive the window against the fake.
class DialogResetMem : public QDialog, public ResetView {
    Q_OBJECT
public:
    // Builds the window in its warning state and beeps once, as it loads.
    explicit DialogResetMem(Platform platform);

    const ResetSequence& sequence() const { return buttons_.sequence(); }

    void showResetting() override;
    void setProgress(int position) override;
    void showBackupNotice() override;
    bool takeFocus() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void centreOnScreen();

    Platform platform_;
    ResetButtons buttons_;
    QtCloseWhenIdle closeWhenIdle_;
    QPushButton* resetNow_ = nullptr;
    QLabel* warning_ = nullptr;
    QLabel* caution_ = nullptr;
    QLabel* resetting_ = nullptr;
    QLabel* backupNotice_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

} // namespace marlo
