#include "FakePlatform.h"
#include "ImportWindow.h"
#include "ModalAnswer.h"
#include "QStringPrinter.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace marlo;
using marlo::test::FakeCommonDialog;
using marlo::test::FakePlatform;
using marlo::test::waitFor;
using marlo::test::whenModal;

namespace {

struct WindowFixture : ::testing::Test {
    FakePlatform p;
    FakeCommonDialog chooser{p};
    ImportWindow window{p, &chooser};

    QPushButton* button(const char* name) const
    {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void showActive()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    }
    void press(QWidget* target, int key)
    {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(target, &down);
        QApplication::sendEvent(target, &up);
    }
};

// Boxes in pixels: twips / 15.
struct Box {
    const char* name;
    QRect pixels;
    QString text;
};

TEST_F(WindowFixture, CarriesTheDesignValues)
{
    EXPECT_EQ(window.objectName(), "import");
    EXPECT_EQ(window.windowTitle(), "MARLO-Corvane: Import / Export Memory Database Files 1.0");
    EXPECT_EQ(window.size(), QSize(600, 455));
    EXPECT_FALSE(window.windowIcon().isNull());
    // An ordinary window: title bar, minimize, maximize and close boxes.
    EXPECT_EQ(window.windowType(), Qt::Window);
    EXPECT_FALSE(window.windowFlags() & Qt::CustomizeWindowHint);
    EXPECT_EQ(window.minimumSize(), QSize(0, 0));

    const QFontInfo face(window.font());
    EXPECT_TRUE(face.family() == "Arial" || face.family() == "Liberation Sans")
        << face.family().toStdString();
    EXPECT_DOUBLE_EQ(window.font().pointSizeF(), 8.25);
    EXPECT_EQ(window.font().weight(), QFont::Normal);

    auto* frame = window.findChild<QFrame*>("Frame1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(), QRect(4, -1, 593, 311));
    EXPECT_EQ(frame->focusPolicy(), Qt::NoFocus);

    const std::vector<Box> labels{
        {"Label1", {56, 54, 457, 43}, "This program part lets you import or export the"},
        {"Label2", {55, 100, 459, 42}, "Please keep in mind, that if you import"},
        {"Label3", {55, 146, 459, 69}, "However, there is still a simple security available"},
        {"Label4", {54, 219, 458, 52}, "Important: MARLO-Corvane is using two different"},
    };
    for (const Box& expected : labels) {
        auto* label = frame->findChild<QLabel*>(expected.name);
        ASSERT_NE(label, nullptr) << expected.name;
        EXPECT_EQ(label->geometry(), expected.pixels) << expected.name;
        EXPECT_TRUE(label->text().startsWith(expected.text)) << expected.name;
        EXPECT_TRUE(label->wordWrap());
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    }
    EXPECT_TRUE(frame->findChild<QLabel*>("Label3")->text().endsWith(
        "(.bak, .ba2, .ba3, .ba4 and .ba5), so you will always be able to recall the last five "
        "used database files."));

    const std::vector<Box> buttons{
        {"Command1", {14, 319, 187, 37}, "&EXPORT existing  MARLOCON.MDB"},
        {"Command2", {73, 409, 200, 37}, "Exit  (&Restart MARLO-Corvane)"},
        {"Command3", {208, 319, 187, 37}, "&IMPORT file as MARLOCON.MDB"},
        {"Command4", {294, 409, 200, 37}, "Exit  (&Quit all)"},
        {"Command5", {208, 359, 187, 37}, "&IMPORT file as MARLOSPM.MDB"},
        {"Command6", {14, 359, 187, 37}, "&Export existing MARLOSPM.MDB"},
        {"Command7", {402, 319, 187, 37}, "&Delete file"},
        {"Command8", {402, 360, 187, 37}, ""},
    };
    for (const Box& expected : buttons) {
        QPushButton* b = button(expected.name);
        ASSERT_NE(b, nullptr) << expected.name;
        EXPECT_EQ(b->parentWidget(), &window) << expected.name;
        EXPECT_EQ(b->geometry(), expected.pixels) << expected.name;
        EXPECT_EQ(b->text(), expected.text) << expected.name;
        EXPECT_TRUE(b->isEnabled());
        EXPECT_FALSE(b->isDefault()) << expected.name;
    }
}

TEST_F(WindowFixture, StartsWithTheFocusOnCommand1AndTabsThroughTheButtonsInOrder)
{
    showActive();
    EXPECT_EQ(QApplication::focusWidget(), button("Command1"));
    for (const char* next : {"Command2", "Command3", "Command4", "Command5", "Command6", "Command7",
                             "Command8", "Command1"}) {
        press(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), button(next)) << next;
    }
    EXPECT_TRUE(p.calls.empty()); // nothing sounds, nothing is touched at start
}

TEST_F(WindowFixture, EscapeLeavesTheWindowOpenAndEnterPressesOnlyTheFocusedButton)
{
    showActive();
    press(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(p.calls.empty());

    button("Command8")->setFocus();
    press(button("Command8"), Qt::Key_Return);
    EXPECT_TRUE(p.calls.empty());

    button("Command7")->setFocus();
    chooser.answers.push_back(std::nullopt);
    press(button("Command7"), Qt::Key_Return);
    EXPECT_EQ(p.calls.back(), "ShowOpen");
}

TEST_F(WindowFixture, ResizingLeavesEveryControlWhereItIs)
{
    showActive();
    std::vector<QRect> before;
    const auto controls = window.findChildren<QWidget*>();
    for (QWidget* w : controls)
        before.push_back(w->geometry());
    for (QSize size : {QSize(900, 700), QSize(300, 200)}) {
        window.resize(size);
        QApplication::processEvents();
        for (qsizetype i = 0; i < controls.size(); ++i)
            EXPECT_EQ(controls[i]->geometry(), before[i])
                << controls[i]->objectName().toStdString();
    }
}

TEST_F(WindowFixture, TheCloseBoxClosesTheWindowWithoutStartingAnything)
{
    showActive();
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(p.calls.empty());
}

// Each button runs its own command; the cancelled chooser shows whose.
struct Wiring {
    const char* button;
    std::string firstDifference; // the line that tells the command apart
};

class ButtonWiring : public ::testing::TestWithParam<Wiring> {};

TEST_P(ButtonWiring, EachButtonRunsItsCommand)
{
    FakePlatform p;
    FakeCommonDialog chooser{p};
    ImportWindow window{p, &chooser};
    chooser.answers.push_back(std::nullopt);
    window.findChild<QPushButton*>(GetParam().button)->click();
    if (GetParam().firstDifference.empty()) {
        EXPECT_TRUE(p.calls.empty());
        return;
    }
    ASSERT_FALSE(p.calls.empty());
    const bool fileCommand = p.calls.front() == "CancelError = -1";
    EXPECT_EQ(fileCommand ? p.calls.at(4) + " / " + p.calls.at(5) : p.calls.front(),
              GetParam().firstDifference);
}

INSTANTIATE_TEST_SUITE_P(
    Window, ButtonWiring,
    ::testing::Values(
        Wiring{"Command1", "DialogTitle =  MARLO-Corvane: EXPORT MARLOCON.MDB Database to a "
                           "file... / ShowSave"},
        Wiring{"Command6", "DialogTitle =  MARLO-Corvane: EXPORT MARLOSPM.MDB Database to a "
                           "file... / ShowSave"},
        Wiring{
            "Command3",
            "DialogTitle =  MARLO-Corvane: IMPORT a file to MARLOCON.MDB Database... / ShowOpen"},
        Wiring{
            "Command5",
            "DialogTitle =  MARLO-Corvane: IMPORT a file to MARLOSPM.MDB Database... / ShowOpen"},
        Wiring{"Command7",
               "DialogTitle =  MARLO-Corvane: DELETE an MARLO-Corvane Database file... / ShowOpen"},
        Wiring{"Command2", "Shell MARLOCON.EXE 1"}, Wiring{"Command4", "Unload 0"},
        Wiring{"Command8", ""}),
    [](const auto& info) { return std::string(info.param.button); });

// The window's own chooser: the command's settings reach the real dialog and
// the name typed there comes back to the command.
TEST(ImportWindowChooser, TheWindowsOwnChooserServesItsCommands)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    FakePlatform p;
    p.appFolder = folder.path().toStdString();
    p.addFile(p.path("\\MARLOcon.mdb"), "con");
    ImportWindow window{p};

    QString title, directory;
    whenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        directory = dialog->directory().path();
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("saved");
        static_cast<QDialog*>(dialog)->accept();
    });
    window.findChild<QPushButton*>("Command1")->click();

    EXPECT_EQ(title, " MARLO-Corvane: EXPORT MARLOCON.MDB Database to a file...");
    EXPECT_EQ(QDir(directory), QDir(folder.path()));
    const std::string saved = folder.filePath("saved.mdb").toStdString();
    EXPECT_EQ(p.calls, (std::vector<std::string>{"FileExists " + saved,
                                                 "CopyFile " + p.path("\\MARLOcon.mdb") + " -> " +
                                                     saved + " -1"}));
    EXPECT_EQ(p.files.at(saved).content, "con");
}

} // namespace
