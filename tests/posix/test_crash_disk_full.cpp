// Exports and imports onto a drive without room for the file: the command
// shows its error box with the reason, the destination keeps its content,
// and no temporary file is left behind.
#include "CrashCheck.h"
#include "ErrorBoxExpect.h"
#include "FolderSnapshot.h"
#include "SmallDrive.h"
#include "TempFolder.h"
#include "TransferOnDisk.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <functional>
#include <memory>

using namespace marlo;
using namespace marlo::test;

namespace {

constexpr std::size_t MiB = 1 << 20;
const std::string DiskFullReason = "the disk is full";
const std::string TooLargeReason = "the file is too large for the destination drive";

std::uint64_t freeBytes(const std::string& folder)
{
    struct statvfs st {};
    ::statvfs(folder.c_str(), &st);
    return static_cast<std::uint64_t>(st.f_bavail) * st.f_frsize;
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}

// The live CON database of 12 MiB in an application folder on the ordinary
// disk, and files to import; the folder `full` is made an application folder
// of its own (a 5 MiB CON database) with a small exported copy beside it.
class DiskFull : public ::testing::Test {
protected:
    TempFolder root;
    const std::string app = root / "app";
    const std::string full = root / "full";
    const std::string big = distinctContent("live CON", 12 * MiB);

    void SetUp() override
    {
        std::filesystem::create_directory(app);
        std::filesystem::create_directory(full);
        writeFile(app + "/MARLOcon.mdb", big);
        root.write("big.mdb", distinctContent("import of 12 MiB", 12 * MiB));
        root.write("same size.mdb", distinctContent("import of 5 MiB", 5 * MiB));
        root.write("small.mdb", distinctContent("import of 1 MiB", MiB));
    }

    void fillFull() const
    {
        writeFile(full + "/MARLOcon.mdb", distinctContent("old CON", 5 * MiB));
        writeFile(full + "/MARLOspm.mdb", "old SPM");
        writeFile(full + "/backup.mdb", "old export");
    }

    // Every copy onto `full` fails with `reason` while `limit` (if any)
    // stands, and leaves the folder exactly as it was, and a drive of its
    // own its free space too:
    // the CON database exported onto an existing and onto a new name, and a
    // 12 MiB and a 5 MiB file imported over its 5 MiB CON database (the
    // latter would fit the drive, but not beside the old content). Answers
    // how many were tried.
    int expectEveryCopyRefused(const std::string& reason, std::optional<rlim_t> limit,
                               bool ownDrive)
    {
        TransferOnDisk exporting(app), importing(full);
        using Command = std::function<std::optional<std::string>()>;
        const std::pair<std::string, Command> copies[] = {
            {full + "/backup.mdb",
             [&] { return exporting.exportTo(Database::Con, full + "/backup.mdb"); }},
            {full + "/new.mdb",
             [&] { return exporting.exportTo(Database::Con, full + "/new.mdb"); }},
            {root / "big.mdb",
             [&] { return importing.importFrom(Database::Con, root / "big.mdb"); }},
            {root / "same size.mdb",
             [&] { return importing.importFrom(Database::Con, root / "same size.mdb"); }},
        };
        for (const auto& [chosen, copy] : copies) {
            SCOPED_TRACE(chosen);
            const Snapshot before = snapshot(full);
            const std::uint64_t freeBefore = freeBytes(full);
            std::optional<std::string> box;
            {
                std::unique_ptr<FileSizeLimit> limited;
                if (limit)
                    limited = std::make_unique<FileSizeLimit>(*limit);
                box = copy();
            }
            EXPECT_TRUE(errorBoxNames(box, chosen, reason));
            EXPECT_EQ(snapshot(full), before);
            if (ownDrive) {
                EXPECT_EQ(freeBytes(full), freeBefore) << "space is still taken by a lost file";
            }
        }
        // A copy that fits goes through: the refusals were for want of space.
        EXPECT_EQ(importing.importFrom(Database::Con, root / "small.mdb"), std::nullopt);
        EXPECT_EQ(root.read("full/MARLOcon.mdb"), root.read("small.mdb"));
        return static_cast<int>(std::size(copies));
    }
};

} // namespace

TEST_F(DiskFull, ASmallTmpfsRefusesCopiesLargerThanTheSpaceLeft)
{
    const MountedDrive drive(full, "tmpfs", "size=8m,mode=0755");
    if (!drive.mounted())
        GTEST_SKIP() << drive.whyNot() << "; the file-size limit cases stand in for a full disk";
    fillFull();
    const int tried = expectEveryCopyRefused(DiskFullReason, std::nullopt, true);
    std::cout << "tmpfs of 8 MiB: " << tried << " copies refused, \"" << DiskFullReason
              << "\", drive unchanged" << std::endl;
}

TEST_F(DiskFull, ATmpfsWithoutRoomForOneMoreFileRefusesTheTemporaryFile)
{
    const MountedDrive drive(full, "tmpfs", "size=64m,nr_inodes=16,mode=0755");
    if (!drive.mounted())
        GTEST_SKIP() << drive.whyNot() << "; the file-size limit cases stand in for a full disk";
    fillFull();
    // Empty files take the last free inodes.
    for (int filler = 0;; ++filler) {
        const int fd = ::open((full + "/filler " + std::to_string(filler)).c_str(),
                              O_CREAT | O_EXCL | O_WRONLY, 0644);
        if (fd < 0) {
            ASSERT_EQ(errno, ENOSPC);
            break;
        }
        ::close(fd);
    }

    TransferOnDisk exporting(app), importing(full);
    const Snapshot before = snapshot(full);
    EXPECT_TRUE(errorBoxNames(exporting.exportTo(Database::Con, full + "/backup.mdb"),
                              full + "/backup.mdb", DiskFullReason));
    EXPECT_TRUE(errorBoxNames(importing.importFrom(Database::Con, root / "small.mdb"),
                              root / "small.mdb", DiskFullReason));
    EXPECT_EQ(snapshot(full), before);
    std::cout << "tmpfs without a free inode: 2 copies refused, \"" << DiskFullReason
              << "\", drive unchanged" << std::endl;
}

TEST_F(DiskFull, ADriveThatReservesNoSpaceFailsPartWayAndCleansUp)
{
    const MountedDrive drive(full, "ramfs", "mode=0755");
    if (!drive.mounted())
        GTEST_SKIP() << drive.whyNot() << "; the file-size limit cases stand in for a full disk";
    fillFull();
    const int probe = ::open((full + "/probe").c_str(), O_CREAT | O_WRONLY, 0644);
    const bool reserves = ::fallocate(probe, 0, 0, MiB) == 0;
    ::close(probe);
    ::unlink((full + "/probe").c_str());

    const int tried = expectEveryCopyRefused(TooLargeReason, 4 * MiB, true);
    std::cout << "ramfs under a 4 MiB file-size limit ("
              << (reserves ? "it reserves space: the copy stops before writing"
                           : "no space reserved ahead: the copy fails part-way")
              << "): " << tried << " copies refused, \"" << TooLargeReason << "\", drive unchanged"
              << std::endl;
}

TEST_F(DiskFull, AFileSizeLimitOnTheOrdinaryDiskRefusesLargerCopies)
{
    fillFull();
    const int tried = expectEveryCopyRefused(TooLargeReason, 4 * MiB, false);
    std::cout << "ordinary disk under a 4 MiB file-size limit: " << tried << " copies refused, \""
              << TooLargeReason << "\", folder unchanged" << std::endl;
}
