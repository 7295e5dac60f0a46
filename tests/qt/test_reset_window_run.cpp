#include "DialogResetMem.h"
#include "FileSystem.h"
#include "ModalAnswer.h"
#include "QtWindowSystem.h"
#include "WindowSystemInput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace marlo;
using marlo::test::pressCloseBox;
using marlo::test::typeKey;
using marlo::test::whenModal;
using Files = std::map<QString, QByteArray>;

namespace {

// The window as the program runs it: the real Qt platform and file layer on
// a temporary application folder, and a clock that only counts the pauses.
// What the window shows is noted at every pause.
struct ResetThroughWindow : ::testing::Test {
    struct Seen {
        int value;
        bool notice;
    };

    QTemporaryDir app;
    long long sleptMs = 0;
    std::vector<Seen> seen;
    std::unique_ptr<FileSystem> files = makeHostFileSystem([this] { return folder(); });
    QtWindowSystem platform{*files, nullptr, QStringLiteral("dbreset")};
    DialogResetMem window{{*files, platform}};

    ResetThroughWindow()
    {
        platform.setWindow(&window);
        platform.setSleeper([this](int ms) {
            sleptMs += ms;
            seen.push_back(now());
        });
    }
    void TearDown() override
    {
        while (QWidget* leftover = QApplication::activeModalWidget())
            leftover->close();
    }

    std::string folder() const { return QFile::encodeName(app.path()).toStdString(); }
    bool shown(const char* name) const
    {
        return window.findChild<QWidget*>(QString::fromLatin1(name))->isVisible();
    }
    Seen now() const
    {
        // Every pause falls in the progress state.
        EXPECT_TRUE(shown("ProgressBar1") && shown("Label2") && !shown("Label1") &&
                    !shown("Label4"));
        EXPECT_FALSE(window.findChild<QPushButton*>(QStringLiteral("OKButton"))->isEnabled());
        return {window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->value(),
                shown("Label3")};
    }

    void lay(const Files& files) const
    {
        for (const auto& [name, content] : files) {
            QFile f(app.filePath(name));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
    }
    Files onDisk() const
    {
        Files files;
        for (const QString& name : QDir(app.path()).entryList(QDir::Files)) {
            QFile f(app.filePath(name));
            EXPECT_TRUE(f.open(QIODevice::ReadOnly));
            files[name] = f.readAll();
        }
        return files;
    }
    // A stand-in main program that notes each start in "started".
    void layStandIn() const
    {
        QFile exe(app.filePath(QStringLiteral("MARLOCON.EXE")));
        ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
        exe.write("#!/bin/sh\necho started >> \"$(dirname \"$0\")/started\"\n");
        exe.close();
        exe.setPermissions(exe.permissions() | QFile::ExeOwner);
    }

    // Shows the window and runs the event loop as main() does, with `act` as
    // the user's first move; a guard ends a loop that would never end.
    int runAsTheProgram(const std::function<void()>& act)
    {
        window.show();
        QTimer::singleShot(0, act);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        guard.start(20000);
        return QApplication::exec();
    }
    // Answers the next message box with Enter, noting what it showed.
    void answerWithEnter(QString& title, QString& text, QMessageBox::Icon& icon)
    {
        whenModal([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            typeKey(box, Qt::Key_Return);
        });
    }
};

const Files LaidOut{
    {"cvmdb1.bin", "empty CON"},  {"cvmdb2.bin", "empty SPM"},   {"MARLOcon.mdb", "CON live"},
    {"MARLOspm.mdb", "SPM live"}, {"MARLOmdb.bak", "CON gen 1"}, {"MARLOspm.bak", "SPM gen 1"},
};

TEST_F(ResetThroughWindow, AWholeResetShowsItsProgressAndEndsTheProgramWithStatus0)
{
    lay(LaidOut);
    QString title, text;
    QMessageBox::Icon icon{};
    answerWithEnter(title, text, icon);

    const int status = runAsTheProgram([&] { typeKey(&window, Qt::Key_Return); });

    EXPECT_EQ(status, 0);
    EXPECT_EQ(platform.exitStatus(), 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(title.toStdString(), "MARLO-Corvane:");
    EXPECT_EQ(text.toStdString(),
              " Database reset successfully completed! \n Please restart the program... ");
    EXPECT_EQ(icon, QMessageBox::Information);

    // What the reset leaves on disk and its pauses are the sequence's, which
    // its own tests and those on disk check; here, what the window shows.
    EXPECT_EQ(onDisk().at("MARLOcon.mdb"), "empty CON");

    // The bar runs through the rotation, back to 0 and up in steps of one.
    std::vector<int> values;
    for (const Seen& s : seen)
        if (values.empty() || values.back() != s.value)
            values.push_back(s.value);
    std::vector<int> expected{0, 50, 100};
    for (int i = 0; i <= 100; ++i)
        expected.push_back(i);
    EXPECT_EQ(values, expected);

    // The backup notice joins at 50 in the counted loop and stays.
    const std::size_t loopStart = 4; // 200, case start, two case steps
    for (std::size_t i = loopStart; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].notice, seen[i].value >= 50) << i;
}

TEST_F(ResetThroughWindow, AMissingTemplateClosesTheWindowWithStatus1AndChangesNothing)
{
    Files laid = LaidOut;
    laid.erase("cvmdb2.bin");
    lay(laid);
    layStandIn();
    const Files before = onDisk();
    QString title, text;
    QMessageBox::Icon icon{};
    answerWithEnter(title, text, icon);

    const int status = runAsTheProgram([&] { typeKey(&window, Qt::Key_Return); });

    EXPECT_EQ(status, 1);
    EXPECT_EQ(platform.exitStatus(), 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(title.toStdString(), "MARLO-Corvane:");
    EXPECT_EQ(text.toStdString(), " Can't find CVMDB2.BIN... Reset aborted...! ");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(sleptMs, 200);
    QThread::msleep(200); // time for a wrongly started main program to show
    EXPECT_EQ(onDisk(), before);
}

TEST_F(ResetThroughWindow, CancelStartsTheMainProgramOnceThenTheWindowIsGone)
{
    lay(LaidOut);
    layStandIn();
    const Files before = onDisk();

    const int status = runAsTheProgram(
        [&] { window.findChild<QPushButton*>(QStringLiteral("CancelButton"))->click(); });

    EXPECT_EQ(status, 0);
    EXPECT_EQ(platform.exitStatus(), 0);
    EXPECT_FALSE(window.isVisible());
    ASSERT_TRUE(test::waitFor([&] { return QFile::exists(app.filePath("started")); }));
    QThread::msleep(200);
    Files after = onDisk();
    EXPECT_EQ(after.extract("started").mapped(), "started\n"); // once
    EXPECT_EQ(after, before);
}

TEST_F(ResetThroughWindow, TheCloseBoxEndsTheProgramWithStatus0AndStartsNothing)
{
    lay(LaidOut);
    layStandIn();
    const Files before = onDisk();

    const int status = runAsTheProgram([&] { pressCloseBox(&window); });

    EXPECT_EQ(status, 0);
    EXPECT_EQ(platform.exitStatus(), 0);
    EXPECT_FALSE(window.isVisible());
    QThread::msleep(200);
    EXPECT_EQ(onDisk(), before);
}

} // namespace
