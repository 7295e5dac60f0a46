#include "FileSystem.h"
#include "PosixPaths.h"

#include <gtest/gtest.h>

#include <cerrno>

using namespace marlo;
using posix::hostPath;

TEST(FilePaths, AMemberIsItsFolderASlashAndItsName)
{
    const auto built = hostPath(FilePath::member("/opt/radio", "MARLOcon.mdb"));
    EXPECT_EQ(built.path, "/opt/radio/MARLOcon.mdb");
    EXPECT_TRUE(built.member);
    EXPECT_EQ(built.folder, "/opt/radio");
    EXPECT_EQ(built.name, "MARLOcon.mdb");

    // At the root the folder already ends in a separator.
    EXPECT_EQ(hostPath(FilePath::member("/", "MARLOcon.mdb")).path, "/MARLOcon.mdb");
    // Nothing else is trimmed: blanks belong to the names, and a backslash in
    // the folder is a letter of a Linux name.
    EXPECT_EQ(hostPath(FilePath::member("/opt/radio ", " cvmdb1.bin")).path,
              "/opt/radio / cvmdb1.bin");
    EXPECT_EQ(hostPath(FilePath::member("/opt/ra\\dio", "MARLOcon.mdb")).path,
              "/opt/ra\\dio/MARLOcon.mdb");
}

TEST(FilePaths, AChosenPathIsTakenLiterally)
{
    for (const std::string path : {
             "/home/ham/export.mdb",      // chosen elsewhere
             "/opt/radio/MARLOcon.mdb",   // chosen in the folder itself
             "/opt/radio\\MARLOcon.mdb",  // spelled as the tools write a member
             "/opt/radio\\sub\\x.mdb",    // more than one name after the folder
             "/opt/radio\\sub/x.mdb",     // a folder follows
             "/opt/radiox\\MARLOcon.mdb", // another folder that begins alike
             "/opt/radio\\",              // no name at all
             "/opt/radio\\..",            // not a name of a file
             "/opt/radio/a\\b.mdb",       // a backslash inside a Linux name
         }) {
        const auto host = hostPath(FilePath::chosen(path, "shown"));
        EXPECT_EQ(host.path, path);
        EXPECT_FALSE(host.member) << path;
    }
}

TEST(FilePaths, NamesMatchWithoutRegardToTheCaseOfLettersOnly)
{
    EXPECT_TRUE(posix::sameNameIgnoringCase("MARLOcon.mdb", "marlocon.MDB"));
    EXPECT_FALSE(posix::sameNameIgnoringCase("MARLOcon.mdb", "MARLOcon.mdb "));
    EXPECT_FALSE(posix::sameNameIgnoringCase("MARLOmdb.bak", "MARLOmdb.ba2"));
    // Only ASCII letters fold; other bytes must be equal.
    EXPECT_FALSE(posix::sameNameIgnoringCase("\xc3\xa9", "\xc3\x89"));
    EXPECT_FALSE(posix::sameNameIgnoringCase("[", "{"));
}

TEST(FilePaths, ApplicationFolderIsTheFolderOfTheRunningExecutable)
{
    EXPECT_EQ(posix::folderOf("/opt/radio/dbreset"), "/opt/radio");
    EXPECT_EQ(posix::folderOf("/dbreset"), "/");

    const std::string folder = hostApplicationFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(folder == "/" || !folder.ends_with('/'));
    // The test's own executable is a file of that folder, as the tools name it.
    auto files = makeHostFileSystem(hostApplicationFolder);
    const auto found = files->FileExists(FilePath::member(folder, program_invocation_short_name));
    ASSERT_TRUE(found.ok());
    EXPECT_TRUE(found.value());
    // A chosen file's own name: a backslash is a letter of a Linux name.
    EXPECT_EQ(files->NameOf("/home/op/back up/old\\one.mdb"), "old\\one.mdb");
}
