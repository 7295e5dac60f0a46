#include "FileSystem.h"
#include "MessageBox.h"
#include "ModalAnswer.h"
#include "QtWindowSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

using namespace marlo;

namespace {

// An application folder and the only folder on PATH, both empty at first.
struct ProgramStart : ::testing::Test {
    QTemporaryDir appFolder, pathFolder;
    std::unique_ptr<FileSystem> files =
        makeHostFileSystem([this] { return QFile::encodeName(appFolder.path()).toStdString(); });
    QtWindowSystem platform{*files, nullptr, QStringLiteral("dbreset")};
    QByteArray savedPath = qgetenv("PATH");

    ProgramStart() { qputenv("PATH", QFile::encodeName(pathFolder.path())); }
    ~ProgramStart() override { qputenv("PATH", savedPath); }

    // A script that notes its first argument and working folder in "started".
    void writeScript(const QString& path, const QString& tag) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\necho \"%1 $1 $(pwd)\" >> '%2'\n")
                       .arg(tag, appFolder.filePath("started"))
                       .toUtf8());
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
    }
    // The first line written to "started", once it is complete.
    std::string started() const
    {
        QByteArray line;
        test::waitFor([&] {
            QFile file(appFolder.filePath("started"));
            line = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            return line.endsWith('\n');
        });
        return line.toStdString();
    }
    Result<int> startMainProgram() { return platform.Shell(MainProgramName, vbNormalFocus); }
    QString app() const { return QDir(appFolder.path()).canonicalPath(); }
};

TEST_F(ProgramStart, LooksInTheApplicationFolderWhateverTheCaseBeforePath)
{
    writeScript(appFolder.filePath("marlocon.exe"), "app");
    writeScript(pathFolder.filePath("MARLOCON.EXE"), "path");
    ASSERT_TRUE(startMainProgram().ok());
    EXPECT_EQ(started(),
              ("app  " + app() + "\n").toStdString()); // its working folder is the application's

    QFile::remove(appFolder.filePath("marlocon.exe"));
    QFile::remove(appFolder.filePath("started"));
    ASSERT_TRUE(startMainProgram().ok());
    EXPECT_EQ(started(), ("path  " + app() + "\n").toStdString());
}

TEST_F(ProgramStart, StartsAWindowsProgramThroughWine)
{
    QFile exe(appFolder.filePath("MARLOCON.EXE"));
    ASSERT_TRUE(exe.open(QIODevice::WriteOnly));
    exe.write("MZ\x90\0", 4); // not executable by itself
    exe.close();
    writeScript(pathFolder.filePath("wine"), "wine");
    ASSERT_TRUE(startMainProgram().ok());
    EXPECT_EQ(started(), ("wine " + exe.fileName() + " " + app() + "\n").toStdString());
}

TEST_F(ProgramStart, FailsWhenNothingCanBeStarted)
{
    EXPECT_FALSE(startMainProgram().ok()); // found nowhere
    QFile exe(appFolder.filePath("MARLOCON.EXE"));
    for (const char* content : {"not a program", "MZ"}) { // no wine on PATH for the second
        ASSERT_TRUE(exe.open(QIODevice::WriteOnly | QIODevice::Truncate));
        exe.write(content);
        exe.close();
        EXPECT_FALSE(startMainProgram().ok()) << content;
    }
}

} // namespace
