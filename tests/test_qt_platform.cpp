#include "MessageBox.h"
#include "ModalAnswer.h"
#include "QtPlatform.h"
#include "WindowSystemInput.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

using namespace marlo;
using marlo::test::pressCloseBox;
using marlo::test::typeKey;
using marlo::test::waitFor;
using marlo::test::whenModal;

namespace {

// The tool's window with a few named controls, behind a real Qt platform.
struct QtPlatformFixture : ::testing::Test {
    QWidget window;
    QtPlatform platform{&window, QStringLiteral("dbreset"), makeHostFileSystem([] { return "/"; }),
                        [] { return std::string("/nonexistent-app-folder"); }};

    QtPlatformFixture()
    {
        for (const char* name : {"Label1", "Label2"})
            (new QLabel(&window))->setObjectName(QString::fromLatin1(name));
        auto* bar = new QProgressBar(&window);
        bar->setObjectName(QStringLiteral("ProgressBar1"));
        bar->setRange(0, 100);
        (new QPushButton(&window))->setObjectName(QStringLiteral("OKButton"));
    }
    void TearDown() override
    {
        while (QWidget* leftover = QApplication::activeModalWidget())
            leftover->close();
    }
    template <class W> W* child(const char* name)
    {
        return window.findChild<W*>(QString::fromLatin1(name));
    }
};

// What a message box showed, and the answer that the platform handed back.
struct Shown {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QWidget* parent = nullptr;
    int answer = 0;
};

Shown showAndAnswer(QtPlatform& platform, const std::string& prompt, int style,
                    const std::optional<std::string>& title,
                    const std::function<void(QMessageBox*)>& answer)
{
    Shown shown;
    whenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown.title = box->windowTitle();
        shown.text = box->text();
        shown.icon = box->icon();
        shown.buttons = box->standardButtons();
        shown.defaultButton = box->standardButton(box->defaultButton());
        shown.parent = box->parentWidget();
        answer(box);
    });
    Result<int> result = platform.MsgBox(prompt, style, title);
    EXPECT_TRUE(result.ok());
    shown.answer = result.ok() ? result.value() : -1;
    return shown;
}

TEST_F(QtPlatformFixture, QuestionAnswersYesOnEnterAndCancelOnEscapeAndOnItsCloseBox)
{
    const std::string prompt = " Do you really want to import this file? ";
    struct Case {
        const char* how;
        std::function<void(QMessageBox*)> act;
        int answer;
    };
    const Case cases[] = {
        {"Enter", [](QMessageBox* box) { typeKey(box, Qt::Key_Return); }, IDYES},
        {"Escape", [](QMessageBox* box) { typeKey(box, Qt::Key_Escape); }, IDCANCEL},
        {"close box", [](QMessageBox* box) { pressCloseBox(box); }, IDCANCEL},
        {"No", [](QMessageBox* box) { box->button(QMessageBox::No)->click(); }, IDNO},
    };
    for (const Case& c : cases) {
        Shown shown = showAndAnswer(platform, prompt, MB_YESNOCANCEL, std::nullopt, c.act);
        EXPECT_EQ(shown.answer, c.answer) << c.how;
        // Without a title the box shows the tool's name, nothing else.
        EXPECT_EQ(shown.title.toStdString(), "dbreset");
        EXPECT_EQ(shown.text.toStdString(), prompt);
        EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
        EXPECT_EQ(shown.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(shown.defaultButton, QMessageBox::Yes);
    }
}

TEST_F(QtPlatformFixture, NoticesShowTheirIconTitleAndBothLinesAndAnswerOkHoweverClosed)
{
    window.show();
    const std::string twoLines =
        " Database reset successfully completed! \r\n Please restart the program... ";
    const std::function<void(QMessageBox*)> closings[] = {
        [](QMessageBox* box) { typeKey(box, Qt::Key_Return); },
        [](QMessageBox* box) { typeKey(box, Qt::Key_Escape); },
        [](QMessageBox* box) { pressCloseBox(box); },
    };
    for (const auto& close : closings) {
        Shown info = showAndAnswer(platform, twoLines, MB_ICONINFORMATION, MessageTitle, close);
        EXPECT_EQ(info.answer, IDOK);
        EXPECT_EQ(info.title.toStdString(), "MARLO-Corvane:");
        // CR LF is one line break; the blanks at both ends of each line stay.
        EXPECT_EQ(info.text.toStdString(),
                  " Database reset successfully completed! \n Please restart the program... ");
        EXPECT_EQ(info.icon, QMessageBox::Information);
        EXPECT_EQ(info.buttons, QMessageBox::Ok);
        // Over the visible window, which takes no input meanwhile.
        EXPECT_EQ(info.parent, &window);
    }
    Shown error =
        showAndAnswer(platform, " Can't find CVMDB1.BIN... Reset aborted...! ", MB_ICONERROR,
                      MessageTitle, [](QMessageBox* box) { typeKey(box, Qt::Key_Return); });
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QMessageBox::Ok);
    EXPECT_EQ(error.answer, IDOK);
}

TEST_F(QtPlatformFixture, PutsReachTheNamedControlsAndFailOnAnythingElse)
{
    EXPECT_TRUE(platform.SetVisible("Label2", false).ok());
    EXPECT_TRUE(child<QLabel>("Label2")->isHidden());
    EXPECT_TRUE(platform.SetEnabled("OKButton", false).ok());
    EXPECT_FALSE(child<QPushButton>("OKButton")->isEnabled());
    EXPECT_TRUE(platform.SetValue("ProgressBar1", 25).ok());
    EXPECT_EQ(child<QProgressBar>("ProgressBar1")->value(), 25);

    EXPECT_FALSE(platform.SetVisible("Label9", true).ok());    // no such control
    EXPECT_FALSE(platform.SetValue("Label1", 5).ok());         // not a progress bar
    EXPECT_FALSE(platform.SetValue("ProgressBar1", 101).ok()); // outside the bar's range
    EXPECT_EQ(child<QProgressBar>("ProgressBar1")->value(), 25);

    EXPECT_FALSE(platform.SetFocus().ok()); // a hidden window takes no focus
    window.show();
    EXPECT_TRUE(platform.SetFocus().ok());
    EXPECT_TRUE(waitFor([&] { return QApplication::activeWindow() == &window; }));
}

TEST_F(QtPlatformFixture, SleepHoldsEveryEventBackUntilTheEventPump)
{
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    platform.Sleep(60);
    EXPECT_GE(clock.elapsed(), 60);
    EXPECT_FALSE(ran); // the window would not have repainted either
    platform.DoEvents();
    EXPECT_TRUE(ran);
}

TEST_F(QtPlatformFixture, UnloadAndEndCloseTheWindowAndHandTheirStatusToTheMainLoop)
{
    // As main() runs it: the event loop ends once the handler has returned.
    struct Case {
        void (QtPlatform::*call)(int);
        int status;
    };
    for (const Case c :
         {Case{&QtPlatform::Unload, 1}, Case{&QtPlatform::End, 0}, Case{&QtPlatform::End, 1}}) {
        window.show();
        bool handlerRanOn = false;
        QTimer::singleShot(0, [&] {
            (platform.*c.call)(c.status);
            handlerRanOn = true;
        });
        const int loopStatus = QApplication::exec();
        EXPECT_TRUE(handlerRanOn);
        EXPECT_EQ(loopStatus, c.status);
        EXPECT_EQ(platform.exitStatus(), c.status);
        EXPECT_FALSE(window.isVisible());
    }
}

TEST(QtPlatformWithoutWindow, ABoxWithoutAWindowStillShowsAndPutsFail)
{
    QtPlatform platform{nullptr, QStringLiteral("dbtransfer"),
                        makeHostFileSystem([] { return std::string("/"); }),
                        [] { return std::string("/"); }};
    Shown shown = showAndAnswer(platform, " Please enter a filename first ! ", MB_ICONINFORMATION,
                                std::nullopt, [](QMessageBox* box) { pressCloseBox(box); });
    EXPECT_EQ(shown.title.toStdString(), "dbtransfer");
    EXPECT_EQ(shown.parent, nullptr);
    EXPECT_EQ(shown.answer, IDOK);
    EXPECT_FALSE(platform.SetVisible("Label1", true).ok());
    platform.Unload(0); // nothing to close, and no crash
    EXPECT_EQ(platform.exitStatus(), 0);
}

} // namespace
