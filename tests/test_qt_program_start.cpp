#include "MessageBox.h"
#include "ModalAnswer.h"
#include "QtPlatform.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace marlo;
using marlo::test::waitFor;

namespace {

// An application folder and a folder on PATH, each empty at first, and a
// platform whose application folder is the first. PATH holds only the second
// while a test runs, so that nothing of the host's can answer.
struct ProgramStart : ::testing::Test {
    QTemporaryDir appFolder, pathFolder;
    QtPlatform platform{nullptr, QStringLiteral("dbreset"),
                        makeHostFileSystem([this] { return folder(); }),
                        [this] { return folder(); }};
    QByteArray savedPath = qgetenv("PATH");

    ProgramStart() { qputenv("PATH", QFile::encodeName(pathFolder.path())); }
    ~ProgramStart() override { qputenv("PATH", savedPath); }

    std::string folder() const { return QFile::encodeName(appFolder.path()).toStdString(); }

    // A stand-in main program: a script that appends its tag and working
    // folder to `started` in the application folder.
    void writeStandIn(const QTemporaryDir& where, const QString& name, const QString& tag) const
    {
        writeScript(where.filePath(name),
                    QStringLiteral("echo \"%1 $(pwd)\" >> '%2'\n")
                        .arg(tag, appFolder.filePath(QStringLiteral("started"))));
    }
    static void writeScript(const QString& path, const QString& body)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body.toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    // The lines the stand-ins wrote, once `count` of them are there.
    QStringList started(int count = 1) const
    {
        QStringList lines;
        waitFor([&] {
            QFile file(appFolder.filePath(QStringLiteral("started")));
            if (file.open(QIODevice::ReadOnly))
                lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
            return lines.size() >= count;
        });
        return lines;
    }
    Result<int> startMainProgram() { return platform.Shell(MainProgramName, vbNormalFocus); }
};

TEST_F(ProgramStart, FindsTheMainProgramInTheApplicationFolderWhateverItsCase)
{
    writeStandIn(appFolder, QStringLiteral("marlocon.exe"), QStringLiteral("app"));
    writeStandIn(pathFolder, QStringLiteral("MARLOCON.EXE"), QStringLiteral("path"));

    Result<int> task = startMainProgram();
    ASSERT_TRUE(task.ok());
    EXPECT_GT(task.value(), 0);
    // The application folder wins over PATH, and is the working folder.
    EXPECT_EQ(started(), QStringList{"app " + QDir(appFolder.path()).canonicalPath()});
}

TEST_F(ProgramStart, PrefersTheExactSpellingAndFallsBackToPath)
{
    writeStandIn(appFolder, QStringLiteral("MarloCon.exe"), QStringLiteral("mixed"));
    writeStandIn(appFolder, QStringLiteral("MARLOCON.EXE"), QStringLiteral("exact"));
    ASSERT_TRUE(startMainProgram().ok());
    EXPECT_EQ(started().value(0).section(' ', 0, 0), "exact");

    QFile::remove(appFolder.filePath(QStringLiteral("MarloCon.exe")));
    QFile::remove(appFolder.filePath(QStringLiteral("MARLOCON.EXE")));
    writeStandIn(pathFolder, QStringLiteral("Marlocon.Exe"), QStringLiteral("path"));
    ASSERT_TRUE(startMainProgram().ok());
    EXPECT_EQ(started(2).value(1).section(' ', 0, 0), "path");
}

TEST_F(ProgramStart, StartsAWindowsProgramThroughWine)
{
    QFile exe(appFolder.filePath(QStringLiteral("MARLOCON.EXE")));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.write("MZ\x90\0", 4); // not executable by itself
    exe.close();
    // A stand-in for wine that tells what it was asked to run, and where.
    writeScript(pathFolder.filePath(QStringLiteral("wine")),
                QStringLiteral("echo \"wine $1 $(pwd)\" >> '%1'\n")
                    .arg(appFolder.filePath(QStringLiteral("started"))));

    ASSERT_TRUE(startMainProgram().ok());
    const QString app = QDir(appFolder.path()).canonicalPath();
    EXPECT_EQ(started(), QStringList{"wine " + exe.fileName() + " " + app});
}

TEST_F(ProgramStart, FailsSilentlyWhenNothingCanBeStarted)
{
    EXPECT_FALSE(startMainProgram().ok()); // nowhere at all

    // A file of that name that is neither executable nor a Windows program.
    QFile text(appFolder.filePath(QStringLiteral("MARLOCON.EXE")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a program");
    text.close();
    EXPECT_FALSE(startMainProgram().ok());

    // A Windows program where there is no wine.
    ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
    text.write("MZ");
    text.close();
    EXPECT_FALSE(startMainProgram().ok());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // and nothing is shown
}

} // namespace
