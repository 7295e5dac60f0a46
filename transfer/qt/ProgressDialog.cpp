#include "ProgressDialog.h"

#include "MessageBox.h"
#include "ProgressPresenter.h"
#include "ProgressWindowDesign.h"
#include "QtAppIcon.h"
#include "QtDesign.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace marlo {

namespace {

namespace design = progresswindow;

// Laid out by Qt's layouts at the design's width.
constexpr int Width = pixelsFromTwips(design::Width);

} // namespace

ProgressDialog::ProgressDialog(const QString& copying, QWidget* over)
    : copying_(new QLabel(this)), bytes_(new QLabel(this)), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QString::fromUtf8(design::CancelCaption), this))
{
    setObjectName(QStringLiteral("copyProgress"));
    setWindowTitle(QString::fromUtf8(MessageTitle));
    setWindowIcon(appIcon());
    setFont(arialFont(design::FontPoints));
    setModal(true);
    // No minimize box: a hidden modal dialog would leave the window dead.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    copying_->setObjectName(QStringLiteral("Copying"));
    copying_->setTextFormat(Qt::PlainText);
    bytes_->setObjectName(QStringLiteral("Bytes"));
    bytes_->setTextFormat(Qt::PlainText);
    bytes_->setText(QStringLiteral(" ")); // holds its line until the first figures
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setRange(0, 0); // busy until the copy tells its size
    bar_->setTextVisible(false);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &ProgressDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(copying_);
    layout->addWidget(bytes_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    // A long name is shortened in its middle instead of widening the dialog.
    setFixedWidth(Width);
    const QMargins margins = layout->contentsMargins();
    copying_->setText(copying_->fontMetrics().elidedText(copying, Qt::ElideMiddle,
                                                         Width - margins.left() - margins.right()));
    copying_->setToolTip(copying);
    setFixedHeight(sizeHint().height());
    standOver(over);
}

void ProgressDialog::standOver(QWidget* over)
{
    adjustSize();
    if (!over)
        return;
    move(over->frameGeometry().center() - rect().center());
    // A transient parent keeps the dialog above the window without owning it.
    winId();
    if (windowHandle() && over->window()->windowHandle())
        windowHandle()->setTransientParent(over->window()->windowHandle());
}

void ProgressDialog::setBytesLine(const std::string& line)
{
    bytes_->setText(QString::fromStdString(line));
}

void ProgressDialog::setBarPosition(int position)
{
    bar_->setRange(0, BarSteps);
    bar_->setValue(position);
}

void ProgressDialog::disableCancel()
{
    cancel_->setEnabled(false);
}

void ProgressDialog::finish()
{
    QDialog::accept();
}

void ProgressDialog::reject()
{
    emit cancelRequested();
}

// The dialog has no parent, so the window cannot delete it while it runs.
ShowUntilEnded showInProgressDialog(QWidget* window)
{
    return [window = QPointer<QWidget>(window)](CopyJob& job, const std::string& copying) {
        ProgressDialog dialog(QString::fromStdString(copying), window);
        ProgressPresenter presenter(job, dialog);
        QObject::connect(&dialog, &ProgressDialog::cancelRequested,
                         [&presenter] { presenter.requestCancel(); });
        QTimer poll;
        poll.setInterval(design::PollInterval);
        QObject::connect(&poll, &QTimer::timeout, &dialog, [&presenter] { presenter.look(); });
        presenter.look();
        poll.start();
        dialog.exec();
    };
}

} // namespace marlo
