#include "ImportWindow.h"

#include "QtAppIcon.h"
#include "QtDesign.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <array>
#include <functional>

namespace marlo {

namespace {

const char* const Caption = "MARLO-Corvane: Import / Export Memory Database Files 1.0";

// Boxes in twips; the labels' from the frame's corner, the buttons' from
// the client area's.
struct LabelDesign {
    const char* name;
    int left, top, width, height;
    const char* text;
};

constexpr std::array<LabelDesign, 4> labels{{
    {"Label1", 840, 810, 6855, 645,
     "This program part lets you import or export the MARLO-Corvane database files. You can use "
     "this function to either load different database files, or you can use this function to "
     "make backup copies of your existing memory banks, logbook or skedbook entries."},
    {"Label2", 825, 1500, 6885, 630,
     "Please keep in mind, that if you import a previously saved database, your active database "
     "will be overwritten. So please make a backup copy first, if you want to save your existing "
     "memory banks, your logbook or your skedbook."},
    {"Label3", 825, 2190, 6885, 1035,
     "However, there is still a simple security available, in case you forget to make backup "
     "copies. If you are using the IMPORT function, then the active database will be copied to a "
     "file with a suffix \".bak\", if a \".bak\" file still exists, then this backup will be "
     "renamed also. The program uses up to five backup-files (.bak, .ba2, .ba3, .ba4 and .ba5), "
     "so you will always be able to recall the last five used database files."},
    {"Label4", 810, 3285, 6870, 780,
     "Important: MARLO-Corvane is using two different Microsoft Access 97 Database files. They "
     "are originally named MARLOCON.MDB and MARLOSPM.MDB. So please take care of both database "
     "files!"},
}};

struct ButtonDesign {
    const char* name;
    const char* caption;
    int left, top, width, height;
    std::function<void(TransferCommands&)> click; // empty: the button does nothing
};

// In tab order.
const std::array<ButtonDesign, 8> buttons{{
    {"Command1", "&EXPORT existing  MARLOCON.MDB", 210, 4785, 2805, 555,
     [](TransferCommands& c) { c.exportDatabase(Database::Con); }},
    {"Command2", "Exit  (&Restart MARLO-Corvane)", 1095, 6135, 3000, 555,
     [](TransferCommands& c) { c.exitAndRestart(); }},
    {"Command3", "&IMPORT file as MARLOCON.MDB", 3120, 4785, 2805, 555,
     [](TransferCommands& c) { c.importDatabase(Database::Con); }},
    {"Command4", "Exit  (&Quit all)", 4410, 6135, 3000, 555, [](TransferCommands& c) { c.quit(); }},
    {"Command5", "&IMPORT file as MARLOSPM.MDB", 3120, 5385, 2805, 555,
     [](TransferCommands& c) { c.importDatabase(Database::Spm); }},
    {"Command6", "&Export existing MARLOSPM.MDB", 210, 5385, 2805, 555,
     [](TransferCommands& c) { c.exportDatabase(Database::Spm); }},
    {"Command7", "&Delete file", 6030, 4785, 2805, 555,
     [](TransferCommands& c) { c.deleteFile(); }},
    {"Command8", "", 6030, 5400, 2805, 555, {}},
}};

// MS Sans Serif, or the nearest installed sans face.
QFont msSansSerifFont(qreal pointSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace

ImportWindow::ImportWindow(Platform& platform, CommonDialog* commonDialog1, QWidget* parent,
                           const CopierFactory& makeCopier)
    : QWidget(parent), qtCommonDialog1_(this),
      commands_(platform, commonDialog1 ? *commonDialog1 : qtCommonDialog1_,
                makeCopier ? makeCopier(this) : std::make_unique<DirectCopy>())
{
    setObjectName(QStringLiteral("import"));
    setWindowTitle(QString::fromUtf8(Caption));
    setWindowIcon(appIcon());
    setFont(arialFont(8.25));
    // An ordinary resizable window; without layouts every control keeps its
    // place and size, and a smaller window cuts controls off.
    resize(pixelsFromTwips(9000), pixelsFromTwips(6825));
    buildControls();
}

void ImportWindow::buildControls()
{
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(rectFromTwips(60, -15, 8895, 4665));
    frame->setFont(msSansSerifFont(8.25));
    frame->setFocusPolicy(Qt::NoFocus);

    for (const LabelDesign& design : labels) {
        auto* label = new QLabel(QString::fromUtf8(design.text), frame);
        label->setObjectName(QString::fromUtf8(design.name));
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        label->setGeometry(rectFromTwips(design.left, design.top, design.width, design.height));
        // The paragraphs read in the window's face, which their boxes fit.
        label->setFont(font());
    }

    QPushButton* previous = nullptr;
    for (const ButtonDesign& design : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(design.caption), this);
        button->setObjectName(QString::fromUtf8(design.name));
        button->setGeometry(rectFromTwips(design.left, design.top, design.width, design.height));
        // Enter presses the focused button, as on the platform the window
        // comes from; no button stands in for the whole window.
        button->setAutoDefault(true);
        if (design.click)
            connect(button, &QPushButton::clicked, this,
                    [this, click = design.click] { click(commands_); });
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
    }
}

void ImportWindow::showCentred()
{
    const QRect screenArea = screen()->availableGeometry();
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screenArea));
    show();
}

} // namespace marlo
