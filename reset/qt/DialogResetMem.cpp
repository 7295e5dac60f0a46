#include "DialogResetMem.h"

#include "QtAppIcon.h"
#include "QtDesign.h"
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

DialogResetMem::DialogResetMem(Platform platform, QWidget* parent)
    : QDialog(parent), platform_(platform), buttons_(platform)
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

    auto* bar = new QProgressBar(this);
    bar->setObjectName(QString::fromUtf8(design::ProgressBarName));
    bar->setGeometry(rectFromTwips(design::ProgressBarBox));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setVisible(false);

    QPushButton* cancel = addButton(this, design::CancelButton);
    QPushButton* resetNow = addButton(this, design::OkButton);
    connect(resetNow, &QPushButton::clicked, this, &DialogResetMem::resetNowClicked);
    connect(cancel, &QPushButton::clicked, this, &DialogResetMem::cancelClicked);

    setTabOrder(resetNow, cancel);
    resetNow->setFocus();
}

void DialogResetMem::resetNowClicked()
{
    buttons_.resetNow();
}

void DialogResetMem::cancelClicked()
{
    buttons_.cancel();
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
    // The close box (a close that comes from the window system) waits out the
    // reset; the sequence's own close when a template is missing goes through.
    if (event->spontaneous() && buttons_.sequence().running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace marlo
