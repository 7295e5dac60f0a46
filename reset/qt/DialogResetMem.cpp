#include "DialogResetMem.h"

#include "ErrorPolicies.h"
#include "MessageBox.h"
#include "Platform.h"
#include "QtAppIcon.h"
#include "QtDesign.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace marlo {

namespace {

const char* const Caption = "MARLO-Corvane:  Reset Database files ?";

const char* const WarningText =
    "Do you really want to reset your existing memory banks, your existing logbook and your "
    "existing skedbook? However, MARLO-Corvane will generate backup files of your existing "
    "database files. They will be renamed as MARLOMDB.BAK and MARLOSPM.BAK and can be reloaded "
    "by using the pull down menu \"FILES -> IMPORT MEM DATABASE\". So if you wish to continue "
    "resetting your existing database files, please press \"RESET NOW\", otherwise press "
    "\"Cancel\" to abort.";

const char* const BackupNotice = "Backup files will be generated:  MARLOMDB.BAK and MARLOSPM.BAK";

const QColor Background(255, 128, 128);
const QColor DisabledText(128, 128, 128);

QLabel* addLabel(QWidget* window, const char* name, const char* text, QRect box, QFont font,
                 bool shown)
{
    auto* label = new QLabel(QString::fromUtf8(text), window);
    label->setObjectName(QString::fromUtf8(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    label->setGeometry(box);
    label->setFont(font);
    label->setVisible(shown);
    return label;
}

QPushButton* addButton(QWidget* window, const char* name, const char* text, QRect box)
{
    auto* button = new QPushButton(QString::fromUtf8(text), window);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(box);
    button->setFont(arialFont(9.75));
    return button;
}

} // namespace

DialogResetMem::DialogResetMem(Platform& platform, QWidget* parent)
    : QDialog(parent), platform_(platform), sequence_(platform)
{
    setObjectName(QStringLiteral("DialogResetMem"));
    setWindowTitle(QString::fromUtf8(Caption));
    setWindowIcon(appIcon());
    // Fixed dialog border: a close box, no minimize or maximize box, no resizing.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(pixelsFromTwips(7770), pixelsFromTwips(3195));

    QPalette colours = palette();
    colours.setColor(QPalette::Window, Background);
    colours.setColor(QPalette::Button, Background);
    // The style's own greyed text all but vanishes on this background.
    colours.setColor(QPalette::Disabled, QPalette::ButtonText, DisabledText);
    setPalette(colours);
    setAutoFillBackground(true);

    buildControls();
    centreOnScreen();
    platform_.Beep();
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
    addLabel(this, "Label4", "CAUTION !", rectFromTwips(705, 120, 6285, 540), arialBlackFont(20.25),
             true);
    addLabel(this, "Label2", "Resetting Database files...", rectFromTwips(195, 195, 7440, 675),
             arialBlackFont(21.75), false);
    addLabel(this, "Label1", WarningText, rectFromTwips(165, 675, 7545, 2265), arialFont(12), true);
    addLabel(this, "Label3", BackupNotice, rectFromTwips(705, 1575, 6375, 840),
             arialBlackFont(14.25), false);

    auto* bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    bar->setGeometry(rectFromTwips(405, 945, 7020, 525));
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setVisible(false);

    QPushButton* cancel =
        addButton(this, "CancelButton", "Cancel", rectFromTwips(1485, 2685, 2100, 375));
    QPushButton* resetNow =
        addButton(this, "OKButton", "RESET NOW !", rectFromTwips(4050, 2685, 2100, 375));
    connect(resetNow, &QPushButton::clicked, this, &DialogResetMem::resetNowClicked);
    connect(cancel, &QPushButton::clicked, this, &DialogResetMem::cancelClicked);

    setTabOrder(resetNow, cancel);
    resetNow->setFocus();
}

void DialogResetMem::resetNowClicked()
{
    // The sequence disables the button first; this also covers a click that
    // was queued before it did.
    if (sequence_.running())
        return;
    sequence_.run();
}

void DialogResetMem::cancelClicked()
{
    // Starting the main program while its databases are being replaced could
    // let it open a half-reset set, so "Cancel" waits out the reset.
    if (sequence_.running())
        return;
    const NextStatement onError;
    onError.step(platform_.Shell(MainProgramName, vbNormalFocus));
    platform_.Unload(0);
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
    if (event->spontaneous() && sequence_.running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace marlo
