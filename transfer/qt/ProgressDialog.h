#pragma once

#include "ProgressCopyRunner.h"
#include "ProgressView.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace marlo {

// The modal dialog of a long copy: what is copied, how far it has come, and
// Cancel. Only the copy's end closes it (finish()): Cancel, Escape and the
// close box ask the copy to stop, and the dialog stays up until it has.
class ProgressDialog : public QDialog, public ProgressView {
    Q_OBJECT
public:
    // `copying` names the copy. The dialog has no parent, so that nothing
    // the window does can delete it while it runs; it stands over `over`.
    explicit ProgressDialog(const QString& copying, QWidget* over = nullptr);

    void setBytesLine(const std::string& line) override;
    void setBarPosition(int position) override;
    void disableCancel() override;
    void finish() override;

    // Cancel, Escape and the close box.
    void reject() override;

signals:
    void cancelRequested();

private:
    void standOver(QWidget* over);

    QLabel* copying_;
    QLabel* bytes_;
    QProgressBar* bar_;
    QPushButton* cancel_;
};

// Shows a long copy in a ProgressDialog over `window` until it has ended.
ShowUntilEnded showInProgressDialog(QWidget* window);

} // namespace marlo
