#include "ProgressDialog.h"

#include "MessageBox.h"
#include "ProgressTexts.h"
#include "QtAppIcon.h"
#include "QtDesign.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace marlo {

namespace {

constexpr int BarSteps = 1000;
constexpr int Width = 380;

} // namespace

ProgressDialog::ProgressDialog(const QString& copying, QWidget* over)
    : copying_(new QLabel(this)), bytes_(new QLabel(this)), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(tr("Cancel"), this))
{
    setObjectName(QStringLiteral("copyProgress"));
    setWindowTitle(QString::fromUtf8(MessageTitle));
    setWindowIcon(appIcon());
    setFont(arialFont(8.25));
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

void ProgressDialog::showProgress(std::uint64_t copied, std::uint64_t total)
{
    if (!cancelling_)
        bytes_->setText(QString::fromStdString(progress::bytesLine(copied, total)));
    bar_->setRange(0, BarSteps);
    bar_->setValue(total == 0 ? BarSteps
                              : static_cast<int>(std::min(copied, total) * BarSteps / total));
    if (copied >= total)
        cancel_->setEnabled(false);
}

void ProgressDialog::showCancelling()
{
    cancelling_ = true;
    cancel_->setEnabled(false);
    bytes_->setText(QString::fromUtf8(progress::Cancelling));
}

void ProgressDialog::finish()
{
    QDialog::accept();
}

void ProgressDialog::reject()
{
    if (cancel_->isEnabled())
        emit cancelRequested();
}

} // namespace marlo
