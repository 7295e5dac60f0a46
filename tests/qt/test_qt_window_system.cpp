#include "FileSystem.h"
#include "MessageBox.h"
#include "ModalAnswer.h"
#include "QtWindowSystem.h"
#include "WindowSystemInput.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

using namespace marlo;
using marlo::test::pressCloseBox;
using marlo::test::typeKey;
using marlo::test::whenModal;

namespace {

struct BoxCase {
    const char* how;
    std::string prompt;
    int style;
    std::optional<std::string> title;
    std::function<void(QMessageBox*)> act;
    int answer;
    std::string shownTitle, shownText;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

void enter(QMessageBox* box)
{
    typeKey(box, Qt::Key_Return);
}
void escape(QMessageBox* box)
{
    typeKey(box, Qt::Key_Escape);
}
void closeBox(QMessageBox* box)
{
    pressCloseBox(box);
}

const auto YesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
const std::string Question = " Do you really want to import this file? ";
const std::string Completed =
    " Database reset successfully completed! \r\n Please restart the program... ";

TEST(QtMessageBox, ShowsThePromptAsPassedAndAnswersAsTheKeysAndCloseBoxSay)
{
    const BoxCase cases[] = {
        // Yes is the default; Escape and the close box answer Cancel. Without
        // a title the box shows the tool's name.
        {"Enter", Question, MB_YESNOCANCEL, std::nullopt, enter, IDYES, "dbreset", Question,
         QMessageBox::NoIcon, YesNoCancel},
        {"Escape", Question, MB_YESNOCANCEL, std::nullopt, escape, IDCANCEL, "dbreset", Question,
         QMessageBox::NoIcon, YesNoCancel},
        {"close box", Question, MB_YESNOCANCEL, std::nullopt, closeBox, IDCANCEL, "dbreset",
         Question, QMessageBox::NoIcon, YesNoCancel},
        // CR LF is one line break; the blanks at both ends of each line stay.
        {"notice", Completed, MB_ICONINFORMATION, MessageTitle, closeBox, IDOK, "MARLO-Corvane:",
         " Database reset successfully completed! \n Please restart the program... ",
         QMessageBox::Information, QMessageBox::Ok},
        {"error", " x ", MB_ICONERROR, MessageTitle, escape, IDOK, "MARLO-Corvane:", " x ",
         QMessageBox::Critical, QMessageBox::Ok},
    };
    QWidget window;
    window.show();
    const auto files = makeHostFileSystem([] { return std::string("/"); });
    QtWindowSystem platform{*files, &window, QStringLiteral("dbreset")};
    for (const BoxCase& c : cases) {
        QMessageBox* shown = nullptr;
        whenModal([&](QWidget* modal) {
            shown = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(shown, nullptr);
            EXPECT_EQ(shown->windowTitle().toStdString(), c.shownTitle) << c.how;
            EXPECT_EQ(shown->text().toStdString(), c.shownText) << c.how;
            EXPECT_EQ(shown->icon(), c.icon) << c.how;
            EXPECT_EQ(shown->standardButtons(), c.buttons) << c.how;
            EXPECT_EQ(shown->parentWidget(), &window) << c.how; // modal over it
            c.act(shown);
        });
        Result<int> answer = platform.MsgBox(c.prompt, c.style, c.title);
        ASSERT_NE(shown, nullptr) << c.how;
        ASSERT_TRUE(answer.ok());
        EXPECT_EQ(answer.value(), c.answer) << c.how;
    }
}

TEST(QtWindowSystemPause, HoldsEveryEventBackUntilTheEventPump)
{
    const auto files = makeHostFileSystem([] { return std::string("/"); });
    QtWindowSystem platform{*files, nullptr, QStringLiteral("dbreset")};
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    platform.Sleep(60);
    EXPECT_GE(clock.elapsed(), 60);
    EXPECT_FALSE(ran); // no repaint either
    platform.DoEvents();
    EXPECT_TRUE(ran);
}

} // namespace
