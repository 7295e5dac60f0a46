#include "DatabaseFiles.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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

TEST(DatabaseFiles, PathIsTheFolderFollowedByTheSuffixUntouched)
{
    // At a root the folder already ends in a separator: two in a row, kept.
    EXPECT_EQ(memberPath("C:\\", Database::Con, Role::Live).text(), "C:\\\\MARLOcon.mdb");
    EXPECT_EQ(backupPath("/opt/radio ", Database::Spm, 3).text(), "/opt/radio \\MARLOspm.ba3");
}

// The copy dialog names a member by its user form, else by its name as
// written; the family's files are the live one and its generations in order.
TEST(DatabaseFiles, AMemberCarriesItsFolderItsNameAndTheNameShown)
{
    const FilePath live = memberPath("/opt/radio", Database::Spm, Role::Live);
    EXPECT_TRUE(live.isMember());
    EXPECT_EQ(live.folder(), "/opt/radio");
    EXPECT_EQ(live.name(), "MARLOspm.mdb");
    EXPECT_EQ(live.shown(), "MARLOSPM.MDB");
    EXPECT_EQ(backupPath("/opt/radio", Database::Con, 2).shown(), "MARLOmdb.ba2");
    EXPECT_EQ(asidePath("/opt/radio", Database::Con).text(),
              "/opt/radio\\.MARLOmdb.ba5.~marlo-old");
    std::vector<std::string> family;
    for (const FilePath& path : familyPaths("F", Database::Con))
        family.push_back(path.text());
    EXPECT_EQ(family,
              (std::vector<std::string>{"F\\MARLOcon.mdb", "F\\MARLOmdb.bak", "F\\MARLOmdb.ba2",
                                        "F\\MARLOmdb.ba3", "F\\MARLOmdb.ba4", "F\\MARLOmdb.ba5"}));
}
