#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;

namespace marlo {

// The modal dialog of a long copy: what is copied, how far it has come, and
// Cancel. Only the copy's end closes it (finish()): Cancel, Escape and the
// close box ask the copy to stop, and the dialog stays up until it has.
class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    // `copying` names the copy. The dialog has no parent, so that nothing
    // the window does can delete it while it runs; it stands over `over`.
    explicit ProgressDialog(const QString& copying, QWidget* over = nullptr);

    // Once the whole is copied only the final sync and rename remain, which
    // cannot be cancelled: Cancel greys out.
    void showProgress(std::uint64_t copied, std::uint64_t total);
    // The copy will stop: Cancel greys out and the dialog says so.
    void showCancelling();
    // The copy has ended: the dialog closes.
    void finish();

    // Cancel, Escape and the close box: ask, while Cancel is enabled.
    void reject() override;

signals:
    void cancelRequested();

private:
    void standOver(QWidget* over);

    QLabel* copying_;
    QLabel* bytes_;
    QProgressBar* bar_;
    QPushButton* cancel_;
    bool cancelling_ = false;
};

} // namespace marlo
