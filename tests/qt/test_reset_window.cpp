#include "DialogResetMem.h"
#include "FakePlatform.h"
#include "ModalAnswer.h"
#include "WindowSystemInput.h"

#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace marlo;
using marlo::test::FakePlatform;
using marlo::test::pressCloseBox;
using marlo::test::typeKey;
using marlo::test::waitFor;
using Lines = std::vector<std::string>;

namespace {

const QColor LightRed(255, 128, 128);

struct ResetWindow : ::testing::Test {
    FakePlatform p;
    DialogResetMem window{p};

    template <class W = QWidget> W* control(const char* name) const
    {
        return window.findChild<W*>(QString::fromLatin1(name));
    }
    void showActive()
    {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
    }
    // Both templates, so that a reset runs to its end against the fake.
    void giveTemplates()
    {
        p.addFile(p.path("\\cvmdb1.bin"), "t1");
        p.addFile(p.path("\\cvmdb2.bin"), "t2");
    }
    bool called(const std::string& prefix) const
    {
        return std::any_of(p.calls.begin(), p.calls.end(),
                           [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
    }
};

// Boxes in pixels (twips / 15) and the texts of the design.
struct Control {
    const char* name;
    QRect box;
    QString text;
    qreal points;
    bool shown;
};

const QString Warning = QStringLiteral(
    "Do you really want to reset your existing memory banks, your existing logbook and your "
    "existing skedbook? However, MARLO-Corvane will generate backup files of your existing "
    "database files. They will be renamed as MARLOMDB.BAK and MARLOSPM.BAK and can be reloaded "
    "by using the pull down menu \"FILES -> IMPORT MEM DATABASE\". So if you wish to continue "
    "resetting your existing database files, please press \"RESET NOW\", otherwise press "
    "\"Cancel\" to abort.");

TEST_F(ResetWindow, StartsInTheWarningStateWithEveryDesignValue)
{
    EXPECT_EQ(p.calls, Lines{"Beep"}); // once, while loading, before showing
    showActive();
    EXPECT_EQ(p.calls, Lines{"Beep"});

    EXPECT_EQ(window.objectName(), "DialogResetMem");
    EXPECT_EQ(window.windowTitle(), "MARLO-Corvane:  Reset Database files ?");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(window.windowIcon().availableSizes().value(0), QSize(64, 64));
    // Fixed dialog border: 518 x 213, close box only.
    EXPECT_EQ(window.size(), QSize(518, 213));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // Centred, as far as the frame that the window system adds allows.
    const QPoint off =
        window.frameGeometry().center() - window.screen()->availableGeometry().center();
    EXPECT_LE(std::abs(off.x()), window.frameGeometry().width() - window.width());
    EXPECT_LE(std::abs(off.y()), window.frameGeometry().height() - window.height());

    const std::vector<Control> labels{
        {"Label4", {47, 8, 419, 36}, "CAUTION !", 20.25, true},
        {"Label2", {13, 13, 496, 45}, "Resetting Database files...", 21.75, false},
        {"Label1", {11, 45, 503, 151}, Warning, 12, true},
        {"Label3",
         {47, 105, 425, 56},
         "Backup files will be generated:  MARLOMDB.BAK and MARLOSPM.BAK",
         14.25,
         false},
    };
    for (const Control& c : labels) {
        auto* label = control<QLabel>(c.name);
        ASSERT_NE(label, nullptr) << c.name;
        EXPECT_EQ(label->geometry(), c.box) << c.name;
        EXPECT_EQ(label->text(), c.text) << c.name;
        EXPECT_EQ(label->isVisible(), c.shown) << c.name;
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), c.points) << c.name;
        EXPECT_EQ(label->alignment(), Qt::AlignHCenter | Qt::AlignTop) << c.name;
        EXPECT_TRUE(label->wordWrap()) << c.name;
        EXPECT_EQ(label->focusPolicy(), Qt::NoFocus) << c.name;
        EXPECT_EQ(label->palette().color(label->backgroundRole()), LightRed) << c.name;
    }
    // Arial where there is one, else a face with its metrics; Arial Black
    // where there is one, else the heaviest sans face.
    const QString arial = QFontInfo(control("Label1")->font()).family();
    EXPECT_TRUE(arial == "Arial" || arial == "Liberation Sans") << arial.toStdString();
    EXPECT_EQ(control("Label1")->font().weight(), QFont::Normal);
    const QFontInfo black(control("Label4")->font());
    EXPECT_TRUE(black.family() == "Arial Black" || black.family() == "DejaVu Sans")
        << black.family().toStdString();
    EXPECT_GE(black.weight(), QFont::Bold);

    auto* bar = control<QProgressBar>("ProgressBar1");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(27, 63, 468, 35));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_FALSE(bar->isTextVisible());
    EXPECT_FALSE(bar->isVisible());

    const std::vector<Control> buttons{
        {"CancelButton", {99, 179, 140, 25}, "Cancel", 9.75, true},
        {"OKButton", {270, 179, 140, 25}, "RESET NOW !", 9.75, true},
    };
    for (const Control& c : buttons) {
        auto* button = control<QPushButton>(c.name);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->geometry(), c.box) << c.name;
        EXPECT_EQ(button->text(), c.text) << c.name;
        EXPECT_DOUBLE_EQ(button->font().pointSizeF(), c.points) << c.name;
        EXPECT_TRUE(button->isVisible() && button->isEnabled()) << c.name;
        EXPECT_EQ(button->palette().color(QPalette::Button), LightRed) << c.name;
        // Drawn above Label1, whose box reaches under both buttons.
        EXPECT_EQ(window.childAt(c.box.center()), button) << c.name;
    }
    EXPECT_EQ(window.palette().color(QPalette::Window), LightRed);

    // The focus starts on "RESET NOW !"; Tab moves between the buttons only.
    EXPECT_EQ(QApplication::focusWidget(), control("OKButton"));
    typeKey(&window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("CancelButton"));
    typeKey(&window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control("OKButton"));
}

TEST_F(ResetWindow, EscapeDoesNothingAndEnterOrSpacePressTheFocusedButton)
{
    showActive();
    typeKey(&window, Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(p.calls, Lines{"Beep"});

    // Enter right after start presses "RESET NOW !": the reset runs (and
    // stops at the missing templates).
    typeKey(&window, Qt::Key_Return);
    ASSERT_GE(p.calls.size(), 2u);
    EXPECT_FALSE(control("OKButton")->isEnabled());
    EXPECT_NE(std::find(p.calls.begin(), p.calls.end(), "Sleep 200"), p.calls.end());
    EXPECT_EQ(p.calls.back(), "Unload 1");

    // Space on "Cancel": the cancel path.
    FakePlatform other;
    DialogResetMem second{other};
    second.show();
    second.activateWindow();
    ASSERT_TRUE(waitFor([&] { return QApplication::activeWindow() == &second; }));
    typeKey(&second, Qt::Key_Tab);
    typeKey(&second, Qt::Key_Space, QStringLiteral(" "));
    EXPECT_EQ(other.calls, (Lines{"Beep", "Shell MARLOCON.EXE 1", "Unload 0"}));
}

TEST_F(ResetWindow, CancelCloseBoxAndEscapeAreIgnoredWhileTheResetRuns)
{
    giveTemplates();
    showActive();
    int pumps = 0;
    bool visibleAfterwards = false;
    p.onDoEvents = [&] {
        if (++pumps != 30)
            return;
        control<QPushButton>("CancelButton")->click();
        pressCloseBox(&window);
        typeKey(&window, Qt::Key_Escape);
        visibleAfterwards = window.isVisible();
    };
    control<QPushButton>("OKButton")->click();

    EXPECT_TRUE(visibleAfterwards);
    EXPECT_FALSE(called("Shell"));
    EXPECT_FALSE(called("Unload"));
    EXPECT_EQ(p.endedWith, 0);
    EXPECT_EQ(p.calls.back(), "End 0");
    EXPECT_FALSE(window.sequence().running());
    EXPECT_FALSE(window.isVisible()) << "the close box's close follows the reset";
}

} // namespace
