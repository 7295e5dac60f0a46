// What the copy dialog and the cancelled command say.
#include "FailureNotice.h"
#include "FakePlatform.h"
#include "ProgressTexts.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>

using namespace marlo;
using namespace marlo::progress;

namespace {

constexpr std::uint64_t MiB = 1 << 20;

TEST(BytesLine, CountsWholeMiBFromTenOnAndShowsTheWholeOnlyWhenDone)
{
    EXPECT_EQ(bytesLine(123 * MiB, 456 * MiB), " 123 of 456 MiB ");
    EXPECT_EQ(bytesLine(0, 2048 * MiB), " 0 of 2048 MiB ");
    EXPECT_EQ(bytesLine(1024 * MiB, 2048 * MiB), " 1024 of 2048 MiB ");
    // A part of a MiB more than whole MiB: the whole rounds up, the copied
    // part down, so the two meet only at the end.
    EXPECT_EQ(bytesLine(456 * MiB, 456 * MiB + 1), " 456 of 457 MiB ");
    EXPECT_EQ(bytesLine(456 * MiB + 1, 456 * MiB + 1), " 457 of 457 MiB ");
    EXPECT_EQ(bytesLine(24 * MiB - 1, 24 * MiB), " 23 of 24 MiB ");
    EXPECT_EQ(bytesLine(10 * MiB, 10 * MiB), " 10 of 10 MiB ");
}

TEST(BytesLine, CountsTenthsBelowTenMiB)
{
    EXPECT_EQ(bytesLine(MiB / 2, 10 * MiB - 1), " 0.5 of 10.0 MiB ");
    EXPECT_EQ(bytesLine(0, MiB), " 0.0 of 1.0 MiB ");
    EXPECT_EQ(bytesLine(MiB, MiB), " 1.0 of 1.0 MiB ");
    EXPECT_EQ(bytesLine(3 * MiB, 9 * MiB + MiB / 4), " 3.0 of 9.3 MiB ");
    EXPECT_EQ(bytesLine(1, 1), " 0.1 of 0.1 MiB ");
    EXPECT_EQ(bytesLine(0, 0), " 0.0 of 0.0 MiB ");
}

TEST(ShownName, NamesAMemberAsUserTextsDoAndAnyOtherFileByItsOwnName)
{
    test::FakePlatform files;
    files.appFolder = "/srv/radio";
    const std::string folder = files.appFolder;
    EXPECT_EQ(shownName(folder + "\\MARLOcon.mdb", folder, files), "MARLOCON.MDB");
    EXPECT_EQ(shownName(folder + "\\marlospm.MDB", folder, files), "MARLOSPM.MDB");
    // A member without a user form keeps its own.
    EXPECT_EQ(shownName(folder + "\\MARLOmdb.ba2", folder, files), "MARLOmdb.ba2");
    // The chooser's paths are the host's, even inside the application folder.
    EXPECT_EQ(shownName(folder + "/MARLOcon.mdb", folder, files), "MARLOcon.mdb");
    EXPECT_EQ(shownName("C:\\Users\\op\\old.mdb", folder, files), "old.mdb");
    EXPECT_EQ(shownName("plain.mdb", folder, files), "plain.mdb");
    EXPECT_EQ(shownName("/home/op/", folder, files), "/home/op/");
    // A folder that merely begins like the application folder is another.
    EXPECT_EQ(shownName("/srv/radio2\\MARLOcon.mdb", folder, files), "MARLOcon.mdb");
    // At a root the built path has two separators in a row.
    test::FakePlatform atRoot;
    atRoot.appFolder = std::string(1, '/');
    EXPECT_EQ(shownName("/\\MARLOcon.mdb", atRoot.appFolder, atRoot), "MARLOCON.MDB");
}

// ---- The command's box after a cancelled copy.

TEST(CancelledNotice, SaysCancelledAndNothingChangedWithoutAReason)
{
    const OpError cancelled = Status::cancelled(1, "the copy was cancelled").error();
    EXPECT_EQ(failureNotice(FileCommand::Export, "MARLOCON.MDB", "/home/op/x.mdb", cancelled),
              " The export of MARLOCON.MDB to your selected file was cancelled ! \r\n"
              " /home/op/x.mdb \r\n Nothing was changed... ");
    EXPECT_EQ(failureNotice(FileCommand::Import, "MARLOSPM.MDB", "/home/op/x.mdb", cancelled),
              " The import of your selected file as MARLOSPM.MDB was cancelled ! \r\n"
              " /home/op/x.mdb \r\n Nothing was changed... ");
}

// Only the cancelled state reads as a cancel, never a number: the C
// library's ECANCELED is a Windows error code too (105 on MinGW), and a
// delete cannot be cancelled at all.
TEST(CancelledNotice, OnlyACancelledCopyReadsAsCancelled)
{
    EXPECT_EQ(failureNotice(FileCommand::Export, "MARLOCON.MDB", "/home/op/x.mdb",
                            OpError{ECANCELED, "operation canceled"}),
              " Could not export MARLOCON.MDB to your selected file ! \r\n /home/op/x.mdb \r\n"
              " Reason: operation canceled. \r\n Nothing was changed... ");
    EXPECT_EQ(failureNotice(FileCommand::Delete, {}, "/home/op/x.mdb",
                            Status::cancelled(ECANCELED, "operation canceled").error()),
              " Could not delete your selected file ! \r\n /home/op/x.mdb \r\n"
              " Reason: operation canceled. \r\n Nothing was changed... ");
}

// A copy placed or a file deleted whose folder then failed to flush was
// done: the box says so, never that nothing was changed.
TEST(FailureNotice, AChangeMadeButNotFlushedIsToldAsMade)
{
    const OpError unflushed =
        Status::unflushed(5, "the folder could not be flushed to the disk: disk error").error();
    const std::string tail = "\r\n /home/op/x.mdb \r\n Reason: the folder could not be flushed to "
                             "the disk: disk error. \r\n The drive did not confirm that the "
                             "change is on the disk... ";
    EXPECT_EQ(failureNotice(FileCommand::Export, "MARLOCON.MDB", "/home/op/x.mdb", unflushed),
              " MARLOCON.MDB was exported to your selected file ! " + tail);
    EXPECT_EQ(failureNotice(FileCommand::Delete, {}, "/home/op/x.mdb", unflushed),
              " Your selected file was deleted ! " + tail);
}

} // namespace
