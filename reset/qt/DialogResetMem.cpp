#include "DialogResetMem.h"

#include "QtAppIcon.h"
#include "QtDesign.h"
#include "ResetClick.h"
#include "ResetWindowDesign.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace marlo {

namespace {

namespace design = resetwindow;

const QColor Background(design::BackgroundRed, design::BackgroundGreen, design::BackgroundBlue);
const QColor DisabledText(128, 128, 128);

QLabel* addLabel(QWidget* window, const design::LabelDesign& item)
{
    QLabel* label = addDesignLabel(window, item.name, item.text, item.box, Qt::AlignHCenter);
    label->setFont(item.face == design::Face::Arial ? arialFont(item.points, item.weight)
                                                    : arialBlackFont(item.points));
    label->setVisible(item.shown);
    return label;
}

QPushButton* addButton(QWidget* window, const design::ButtonDesign& item)
{
    auto* button = new QPushButton(QString::fromUtf8(item.caption), window);
    button->setObjectName(QString::fromUtf8(item.name));
    button->setGeometry(rectFromTwips(item.box));
    button->setFont(arialFont(design::ButtonPoints));
    return button;
}

} // namespace

DialogResetMem::DialogResetMem(Platform platform)
    : platform_(platform), buttons_(platform, *this), closeWhenIdle_(*this)
{
    setObjectName(QStringLiteral("DialogResetMem"));
    setWindowTitle(QString::fromUtf8(design::Caption));
    setWindowIcon(appIcon());
    // Fixed dialog border: a close box, no minimize or maximize box, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(pixelsFromTwips(design::ClientWidth), pixelsFromTwips(design::ClientHeight));

    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    colours.setColor(QPalette::Button, Background);
    // The style's own greyed text all but vanishes on this background.
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, DisabledText);
    setPalette(colours);
    setAutoFillBackground(true);

    buildControls();
    centreOnScreen();
    platform_.windows.Beep();
}

void DialogResetMem::centreOnScreen()
{
    // Placed here rather than by QDialog, which on X11 guesses a 40-pixel
    // title bar before the window manager has told the real one and so puts
    // the window well above the centre.
    const QRect screen = this->screen()->availableGeometry();
    move(screen.center() - rect().center());
}

void DialogResetMem::buildControls()
{
    // Made bottom-up in stacking order: where boxes overlap, the progress bar
    // and the buttons lie above the labels.
    for (const design::LabelDesign& label : design::Labels)
        addLabel(this, label);
    const auto label = [this](const char* name) {
        return findChild<QLabel*>(QString::fromUtf8(name));
    };
    warning_ = label(design::WarningLabel);
    caution_ = label(design::CautionLabel);
    resetting_ = label(design::ResettingLabel);
    backupNotice_ = label(design::BackupNoticeLabel);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QString::fromUtf8(design::ProgressBarName));
    bar_->setGeometry(rectFromTwips(design::ProgressBarBox));
    bar_->setRange(ProgressLow, ProgressHigh);
    bar_->setValue(0);
    bar_->setTextVisible(false);
    bar_->setVisible(false);

    // Made from the last in tab order, so that the first lies on top.
    QPushButton* next = nullptr;
    for (auto item = design::Buttons.rbegin(); item != design::Buttons.rend(); ++item) {
        QPushButton* button = addButton(this, *item);
        connect(button, &QPushButton::clicked, this, [this, click = item->click] {
            closeWhenIdle_.runHandler([this, click] { runClick(buttons_, click); });
        });
        if (next)
            setTabOrder(button, next);
        next = button;
    }
    resetNow_ = next;
    resetNow_->setFocus();
}

void DialogResetMem::showResetting()
{
    resetNow_->setEnabled(false);
    warning_->setVisible(false);
    caution_->setVisible(false);
    resetting_->setVisible(true);
    bar_->setVisible(true);
}

void DialogResetMem::setProgress(int position)
{
    bar_->setValue(position);
}

void DialogResetMem::showBackupNotice()
{
    backupNotice_->setVisible(true);
}

bool DialogResetMem::takeFocus()
{
    if (!isVisible())
        return false;
    raise();
    activateWindow();
    return true;
}

void DialogResetMem::keyPressEvent(QKeyEvent* event)
{
    // No button answers Escape for the whole window, and the window does not
    // close on it as a dialog would.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void DialogResetMem::closeEvent(QCloseEvent* event)
{
    // The close box waits out the reset, which ends the program itself.
    if (closeWhenIdle_.closeNow(*event))
        QDialog::closeEvent(event);
}

} // namespace marlo
