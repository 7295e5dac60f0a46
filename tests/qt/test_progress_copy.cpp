// A long export or import on a worker thread with its modal progress dialog,
// through the real window, the real file layer and a copy that the test
// holds at each progress report.
#include "FakePlatform.h"
#include "ImportWindow.h"
#include "ModalAnswer.h"
#include "ProgressCopyRunner.h"
#include "ProgressDialog.h"
#include "QStringPrinter.h"
#include "TempFolder.h"
#include "WindowSystemInput.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace marlo;
using marlo::test::FakeCommonDialog;
using marlo::test::FakePlatform;
using marlo::test::TempFolder;
using marlo::test::waitFor;
using marlo::test::whenModal;

namespace {

constexpr std::uint64_t MiB = 1 << 20;

// Holds the copy at each progress report until the test lets it on.
class Gate {
public:
    // On the worker.
    void pass(std::uint64_t copied)
    {
        std::unique_lock lock(mutex_);
        reports_.push_back(copied);
        changed_.notify_all();
        changed_.wait(lock, [&] { return open_ || permits_ > 0; });
        if (!open_)
            --permits_;
    }

    void allow(int reports)
    {
        const std::lock_guard lock(mutex_);
        permits_ += reports;
        changed_.notify_all();
    }
    void open()
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    std::vector<std::uint64_t> reports()
    {
        const std::lock_guard lock(mutex_);
        return reports_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint64_t> reports_;
    int permits_ = 0;
    bool open_ = false;
};

// Lets a held copy run to its end however the test leaves, so that a failed
// assertion cannot leave the worker waiting.
struct OpenAtEnd {
    Gate& gate;
    ~OpenAtEnd() { gate.open(); }
};

struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Records every progress dialog that is shown.
struct DialogWatch : QObject {
    int shown = 0;
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<ProgressDialog*>(object))
            ++shown;
        return false;
    }
};

// A click as the window system delivers it, so that a modal dialog blocks it.
void clickFromWindowSystem(QWidget* window, QWidget* target)
{
    const QPointF at = target->mapTo(window, target->rect().center());
    const QPointF global = target->mapToGlobal(target->rect().center());
    QMouseEvent press(QEvent::MouseButtonPress, at, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    marlo::test::sendFromWindowSystem(window, press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    marlo::test::sendFromWindowSystem(window, release);
}

std::string pattern(std::uint64_t size, unsigned seed)
{
    std::string content(size, '\0');
    for (std::uint64_t i = 0; i < size; ++i)
        content[i] = static_cast<char>((i * 131 + seed + i / 4096) & 0xff);
    return content;
}

// Byte for byte, without printing megabytes when it fails.
::testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    const auto differ =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    return ::testing::AssertionFailure()
           << actual.size() << " bytes instead of " << expected.size() << ", first difference at "
           << (differ.first - actual.begin()) << (actual == "<none>" ? " (no such file)" : "");
}

QString textOf(QWidget* dialog, const char* label)
{
    return dialog->findChild<QLabel*>(QString::fromLatin1(label))->text();
}

const std::string Question =
    "MsgBox [MARLO-Corvane:] 3 \" Your selected file already exists ! Overwrite ? \"";

struct ProgressCopy : ::testing::Test {
    TempFolder dir;
    FakePlatform p{dir.str()};
    FakeCommonDialog chooser{p};
    Gate gate;
    std::thread::id copiedOn;
    std::unique_ptr<ImportWindow> window;
    PaintCounter painted;
    DialogWatch dialogs;

    const std::string live = pattern(24 * MiB, 1);
    const std::string older = pattern(3 * MiB + 5, 2);

    // How long the window's thread waits quietly before it shows the dialog.
    virtual std::chrono::milliseconds quietFor() const = 0;

    void SetUp() override
    {
        dir.write("MARLOcon.mdb", live);
        window = std::make_unique<ImportWindow>(
            p,
            [this](QWidget* w) {
                return std::make_unique<ProgressCopyRunner>(showInProgressDialog(w), throttled(),
                                                            quietFor());
            },
            &chooser);
        window->installEventFilter(&painted);
        qApp->installEventFilter(&dialogs);
        window->show();
        ASSERT_TRUE(waitFor([&] { return window->windowHandle()->isExposed(); }));
    }
    void TearDown() override { gate.open(); }

    // The host's copy, held by the gate at every progress report.
    CopyWork throttled()
    {
        return [this](const CopyTask& task, const CopyProgress& progress) {
            copiedOn = std::this_thread::get_id();
            return task([&](const CopyStep& step) {
                // Shown, then held, then answered: a cancel
                // meanwhile counts.
                progress(step);
                gate.pass(step.done);
                return progress(step);
            });
        };
    }

    QPushButton* button(const char* name)
    {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // Export of the CON database over the existing "saved.mdb", confirmed.
    void exportOverSaved()
    {
        dir.write("saved.mdb", older);
        chooser.answers.push_back(dir / "saved.mdb");
        p.msgBoxAnswers.push_back(IDYES);
        button("Command1")->click();
    }
    std::string lastCall() const { return p.calls.empty() ? "" : p.calls.back(); }
    // The overwrite question, then the export itself, and nothing after it.
    ::testing::AssertionResult endsWithQuestionAndExport() const
    {
        // Between them the command takes the folder's hold.
        const std::string exported =
            "StageCopy " + dir.str() + "\\MARLOcon.mdb -> " + dir.str() + "/saved.mdb";
        if (!p.calls.empty() && p.calls.back() == exported &&
            std::find(p.calls.begin(), p.calls.end(), Question) != p.calls.end())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "last call: " << lastCall();
    }
};

// Long enough for any copy of the tests that the gate does not hold.
struct ShortCopy : ProgressCopy {
    std::chrono::milliseconds quietFor() const override { return std::chrono::seconds(10); }
};

// The gate holds these copies, so they are long whatever the wait.
struct LongCopy : ProgressCopy {
    std::chrono::milliseconds quietFor() const override { return std::chrono::milliseconds(20); }
};

// ---- A short copy: as before, nothing shows and no event runs.

TEST_F(ShortCopy, AShortCopyShowsNothingAndRunsNoEventMeanwhile)
{
    gate.open();
    bool timerRan = false;
    QTimer::singleShot(0, [&] { timerRan = true; });
    const int paintsBefore = painted.paints;
    window->update();

    exportOverSaved();

    EXPECT_FALSE(timerRan);
    EXPECT_EQ(painted.paints, paintsBefore);
    EXPECT_EQ(dialogs.shown, 0);
    EXPECT_NE(copiedOn, std::this_thread::get_id()); // off the window's thread all the same
    EXPECT_TRUE(sameBytes(dir.read("saved.mdb"), live));
    EXPECT_TRUE(endsWithQuestionAndExport());
    EXPECT_EQ(dir.names(), (std::set<std::string>{"MARLOcon.mdb", "saved.mdb"}));
}

TEST_F(ShortCopy, AShortCopyThatFailsShowsItsReasonAsBefore)
{
    gate.open();
    chooser.answers.push_back(dir / "missing-folder/saved.mdb");
    button("Command1")->click();

    EXPECT_EQ(dialogs.shown, 0);
    ASSERT_FALSE(p.calls.empty());
    EXPECT_TRUE(lastCall().starts_with(
        "MsgBox [MARLO-Corvane:] 16 \" Could not export MARLOCON.MDB to your selected file ! "))
        << lastCall();
    EXPECT_NE(lastCall().find("the destination folder does not exist"), std::string::npos);
}

// ---- A long copy: the dialog, a live window, no second command.

TEST_F(LongCopy, ALongCopyShowsItsProgressWhileTheWindowPaintsAndTakesNoCommand)
{
    std::vector<std::string> callsDuringCopy;
    whenModal([&](QWidget* modal) {
        const OpenAtEnd openAtEnd{gate};
        ASSERT_NE(qobject_cast<ProgressDialog*>(modal), nullptr);
        EXPECT_EQ(textOf(modal, "Copying"), " Copying MARLOCON.MDB to saved.mdb... ");
        EXPECT_EQ(modal->windowTitle(), "MARLO-Corvane:");

        // Held at its second report: the dialog shows that figure.
        gate.allow(1);
        ASSERT_TRUE(waitFor([&] { return gate.reports().size() == 2; }));
        const std::uint64_t copied = gate.reports().at(1);
        EXPECT_GT(copied, 0u);
        const QString expected = QStringLiteral(" %1 of 24 MiB ").arg(copied / MiB);
        EXPECT_TRUE(waitFor([&] { return textOf(modal, "Bytes") == expected; }))
            << textOf(modal, "Bytes").toStdString();

        // The window repaints while the copy runs.
        const int paintsBefore = painted.paints;
        window->update();
        EXPECT_TRUE(waitFor([&] { return painted.paints > paintsBefore; }));

        // Another command's button takes no click.
        chooser.answers.push_back(std::nullopt);
        callsDuringCopy = p.calls;
        clickFromWindowSystem(window.get(), button("Command7"));
        clickFromWindowSystem(window.get(), button("Command3"));
        EXPECT_EQ(p.calls, callsDuringCopy);
        EXPECT_TRUE(modal->isVisible());
    });
    exportOverSaved();

    EXPECT_EQ(dialogs.shown, 1);
    EXPECT_TRUE(sameBytes(dir.read("saved.mdb"), live));
    EXPECT_EQ(p.calls, callsDuringCopy); // nothing shown after the copy
    EXPECT_TRUE(endsWithQuestionAndExport());
    EXPECT_EQ(dir.names(), (std::set<std::string>{"MARLOcon.mdb", "saved.mdb"}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The same click reaches the button once the copy is over.
    clickFromWindowSystem(window.get(), button("Command7"));
    EXPECT_EQ(lastCall(), "ShowOpen");
}

// ---- Cancel: the destination stays byte for byte, and the command says so.

TEST_F(LongCopy, CancelKeepsTheOldExportTargetAndTheCommandSaysSo)
{
    whenModal([&](QWidget* modal) {
        const OpenAtEnd openAtEnd{gate};
        ASSERT_TRUE(waitFor([&] { return gate.reports().size() == 1; }));
        modal->findChild<QPushButton*>("CancelButton")->click();
        // The dialog stays until the copy has stopped.
        EXPECT_TRUE(modal->isVisible());
        EXPECT_FALSE(modal->findChild<QPushButton*>("CancelButton")->isEnabled());
    });
    exportOverSaved();

    EXPECT_TRUE(sameBytes(dir.read("saved.mdb"), older));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"MARLOcon.mdb", "saved.mdb"}));
    EXPECT_EQ(gate.reports().size(), 1u); // the copy went no further
    EXPECT_EQ(lastCall(), "MsgBox [MARLO-Corvane:] 16 \" The export of MARLOCON.MDB to your "
                          "selected file was cancelled ! \r\n " +
                              (dir / "saved.mdb") + " \r\n Nothing was changed... \"");
}

TEST_F(LongCopy, EscapeAndTheCloseBoxCancelAnImportAndTheLiveDatabaseStays)
{
    dir.write("import.mdb", pattern(20 * MiB, 3));
    whenModal([&](QWidget* modal) {
        const OpenAtEnd openAtEnd{gate};
        gate.allow(1);
        ASSERT_TRUE(waitFor([&] { return gate.reports().size() == 2; }));
        EXPECT_EQ(textOf(modal, "Copying"), " Copying import.mdb to MARLOCON.MDB... ");
        marlo::test::pressCloseBox(modal);
        EXPECT_TRUE(modal->isVisible());
        marlo::test::typeKey(modal, Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());
    });
    chooser.answers.push_back(dir / "import.mdb");
    p.msgBoxAnswers.push_back(IDYES);
    button("Command3")->click();

    EXPECT_TRUE(sameBytes(dir.read("MARLOcon.mdb"), live));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"MARLOcon.mdb", "import.mdb"}));
    EXPECT_EQ(lastCall(), "MsgBox [MARLO-Corvane:] 16 \" The import of your selected file as "
                          "MARLOCON.MDB was cancelled ! \r\n " +
                              (dir / "import.mdb") + " \r\n Nothing was changed... \"");
}

// ---- The window closed under the copy takes nothing away from the worker.

TEST_F(LongCopy, AWindowClosedDuringTheCopyLetsItEndWhole)
{
    whenModal([&](QWidget* modal) {
        const OpenAtEnd openAtEnd{gate};
        ASSERT_TRUE(waitFor([&] { return gate.reports().size() == 1; }));
        window->close();
        EXPECT_TRUE(modal->isVisible());
    });
    exportOverSaved();

    EXPECT_TRUE(sameBytes(dir.read("saved.mdb"), live));
    EXPECT_EQ(dir.names(), (std::set<std::string>{"MARLOcon.mdb", "saved.mdb"}));
    EXPECT_TRUE(endsWithQuestionAndExport());
}

// ---- The dialog itself.

TEST(ProgressDialogAlone, ALongNameIsShortenedInsteadOfWideningTheDialog)
{
    const QString name(250, QLatin1Char('n'));
    ProgressDialog wide(QStringLiteral(" Copying MARLOCON.MDB to ") + name + "... ");
    ProgressDialog narrow(QStringLiteral(" Copying MARLOCON.MDB to a.mdb... "));
    EXPECT_EQ(wide.width(), narrow.width());
    const QString shown = textOf(&wide, "Copying");
    EXPECT_TRUE(shown.startsWith(" Copying MARLOCON") && shown.contains(QChar(0x2026)) &&
                shown.endsWith("nnn... "))
        << shown.toStdString();
    EXPECT_EQ(textOf(&narrow, "Copying"), " Copying MARLOCON.MDB to a.mdb... ");
}

} // namespace
