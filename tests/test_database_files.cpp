#include "DatabaseFiles.h"
#include "FakePlatform.h"

#include <gtest/gtest.h>

#include <set>

using namespace marlo;

TEST(DatabaseFiles, EveryMemberHasItsOwnSuffixAndTheBackupStemsDiffer)
{
    std::set<std::string_view> suffixes;
    for (const Member& m : allMembers())
        EXPECT_TRUE(suffixes.insert(m.suffix).second) << m.suffix;
    EXPECT_EQ(suffixes.size(), 14u);

    EXPECT_EQ(member(Database::Con, Role::Live).suffix, "\\MARLOcon.mdb");
    EXPECT_EQ(member(Database::Spm, Role::Live).suffix, "\\MARLOspm.mdb");
    EXPECT_EQ(member(Database::Con, Role::Template).userForm, "CVMDB1.BIN");
    EXPECT_EQ(member(Database::Spm, Role::Template).suffix, "\\cvmdb2.bin");
    // The CON backups take the stem MARLOmdb, the newest generation ".bak".
    EXPECT_EQ(backup(Database::Con, 1).suffix, "\\MARLOmdb.bak");
    EXPECT_EQ(backup(Database::Con, 1).userForm, "MARLOMDB.BAK");
    EXPECT_EQ(backup(Database::Con, 5).suffix, "\\MARLOmdb.ba5");
    EXPECT_EQ(backup(Database::Spm, 2).suffix, "\\MARLOspm.ba2");
    EXPECT_THROW(backup(Database::Spm, 6), std::out_of_range);
    EXPECT_THROW(backup(Database::Spm, 0), std::out_of_range);
}

TEST(DatabaseFiles, PathIsTheFolderAskedAnewFollowedByTheSuffixUntouched)
{
    test::FakePlatform platform;
    platform.appFolder = "C:\\";
    // At a root the folder already ends in a separator: two in a row, kept.
    EXPECT_EQ(memberPath(platform, Database::Con, Role::Live), "C:\\\\MARLOcon.mdb");
    platform.appFolder = "/opt/radio ";
    EXPECT_EQ(backupPath(platform, Database::Spm, 3), "/opt/radio \\MARLOspm.ba3");
}
