#include "FakePlatform.h"
#include "ImportWindow.h"
#include "ModalAnswer.h"
#include "QStringPrinter.h"
#include "WindowSystemInput.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontInfo>
#include <QFrame>
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
    ImportWindow window{p, {}, &chooser};

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
    // As the window system delivers it: to the focus widget, through shortcuts.
    void press(int key) { marlo::test::typeKey(&window, key); }
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
    const QFontInfo face(window.font());
    EXPECT_TRUE(face.family() == "Arial" || face.family() == "Liberation Sans")
        << face.family().toStdString();
    EXPECT_DOUBLE_EQ(window.font().pointSizeF(), 8.25);

    // The frame starts one pixel above the client area and holds the labels.
    auto* frame = window.findChild<QFrame*>("Frame1");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(), QRect(4, -1, 593, 311));
    EXPECT_EQ(frame->frameShape(), QFrame::Box);
    EXPECT_EQ(frame->frameShadow(), QFrame::Plain) << "a plain rectangle, no 3D edge";
    for (const char* name : {"Label1", "Label2", "Label3", "Label4"})
        EXPECT_NE(frame->findChild<QLabel*>(name), nullptr) << name;
    EXPECT_EQ(frame->findChild<QLabel*>("Label3")->geometry(), QRect(55, 146, 459, 69));

    QStringList captions;
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command5", "Command6",
                             "Command7", "Command8"})
        captions << button(name)->text();
    EXPECT_EQ(captions,
              (QStringList{"&EXPORT existing  MARLOCON.MDB", "Exit  (&Restart MARLO-Corvane)",
                           "&IMPORT file as MARLOCON.MDB", "Exit  (&Quit all)",
                           "&IMPORT file as MARLOSPM.MDB", "&Export existing MARLOSPM.MDB",
                           "&Delete file", ""}));
    // The empty button stands 15 twips lower than its row, shown and enabled.
    EXPECT_EQ(button("Command5")->geometry(), QRect(208, 359, 187, 37));
    EXPECT_EQ(button("Command8")->geometry(), QRect(402, 360, 187, 37));
    EXPECT_TRUE(button("Command8")->isEnabled());
}

TEST_F(WindowFixture, StartsWithTheFocusOnCommand1AndTabsThroughTheButtonsInOrder)
{
    showActive();
    EXPECT_EQ(QApplication::focusWidget(), button("Command1"));
    for (const char* next : {"Command2", "Command3", "Command4", "Command5", "Command6", "Command7",
                             "Command8", "Command1"}) {
        press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), button(next)) << next;
    }
    EXPECT_TRUE(p.calls.empty()); // nothing sounds, nothing is touched at start
}

TEST_F(WindowFixture, EscapeLeavesTheWindowOpenAndEnterPressesOnlyTheFocusedButton)
{
    showActive();
    press(Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(p.calls.empty());

    button("Command8")->setFocus();
    press(Qt::Key_Return);
    EXPECT_TRUE(p.calls.empty());

    button("Command7")->setFocus();
    chooser.answers.push_back(std::nullopt);
    press(Qt::Key_Return);
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
    marlo::test::pressCloseBox(&window);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(p.calls.empty());
}

TEST_F(WindowFixture, TheCloseBoxDuringACommandClosesTheWindowOnceTheCommandHasEnded)
{
    showActive();
    bool openMeanwhile = false;
    chooser.answers.push_back(std::nullopt);
    chooser.onShow = [&] {
        marlo::test::pressCloseBox(&window);
        openMeanwhile = window.isVisible();
    };
    button("Command7")->click();
    EXPECT_TRUE(openMeanwhile);
    EXPECT_EQ(p.calls.back(), "ShowOpen"); // the command ran to its end
    EXPECT_FALSE(window.isVisible());
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
    ImportWindow window{p, {}, &chooser};
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
    EXPECT_EQ(p.calls,
              (std::vector<std::string>{
                  "FileExists " + saved, "HoldFolder " + p.appFolder,
                  "SeparateBackup " + p.path("\\MARLOcon.mdb") + " -> " + p.path("\\MARLOmdb.bak"),
                  "SeparateBackup " + p.path("\\MARLOspm.mdb") + " -> " + p.path("\\MARLOspm.bak"),
                  "FileExists " + p.path("\\.MARLOmdb.ba5.~marlo-old"),
                  "FileExists " + p.path("\\.MARLOspm.ba5.~marlo-old"),
                  "StageCopy " + p.path("\\MARLOcon.mdb") + " -> " + saved, "PlaceCopy " + saved,
                  "FlushFolder " + saved}));
    EXPECT_EQ(p.files.at(saved).content, "con");
}

} // namespace
