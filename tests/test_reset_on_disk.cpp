#include "FakePlatform.h"
#include "ResetSequence.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

using namespace marlo;
using test::FakePlatform;
using test::TempFolder;

namespace {

std::string generation(const std::string& stem, int g)
{
    return stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g));
}

struct OnDisk : ::testing::Test {
    TempFolder folder;
    FakePlatform platform{folder.str()};

    void layOut(int generations)
    {
        folder.write("cvmdb1.bin", "template CON");
        folder.write("cvmdb2.bin", "template SPM");
        folder.write("MARLOcon.mdb", "live CON");
        folder.write("MARLOspm.mdb", "live SPM");
        for (int g = 1; g <= generations; ++g) {
            folder.write(generation("MARLOmdb", g), "CON " + std::to_string(g));
            folder.write(generation("MARLOspm", g), "SPM " + std::to_string(g));
        }
    }
    void run()
    {
        ResetSequence sequence(platform, platform);
        sequence.run();
    }
};

class OnDiskCases : public OnDisk, public ::testing::WithParamInterface<int> {};

} // namespace

TEST_P(OnDiskCases, EveryCaseKeepsTheNewestFiveAndRebuildsFromTheTemplates)
{
    const int generations = GetParam();
    layOut(generations);
    run();

    EXPECT_EQ(folder.read("MARLOcon.mdb"), "template CON");
    EXPECT_EQ(folder.read("MARLOspm.mdb"), "template SPM");
    EXPECT_EQ(folder.read("cvmdb1.bin"), "template CON");
    EXPECT_EQ(folder.read("cvmdb2.bin"), "template SPM");
    EXPECT_EQ(folder.read("MARLOmdb.bak"), "live CON");
    EXPECT_EQ(folder.read("MARLOspm.bak"), "live SPM");
    const int kept = std::min(generations + 1, 5);
    for (int g = 2; g <= kept; ++g) {
        EXPECT_EQ(folder.read(generation("MARLOmdb", g)), "CON " + std::to_string(g - 1));
        EXPECT_EQ(folder.read(generation("MARLOspm", g)), "SPM " + std::to_string(g - 1));
    }
    // Nothing else: no sixth generation, no leftover temporary file.
    EXPECT_EQ(folder.names().size(), 4u + 2u * kept);
    EXPECT_EQ(platform.endedWith, 0);
}

INSTANTIATE_TEST_SUITE_P(Generations, OnDiskCases, ::testing::Values(0, 1, 2, 3, 4, 5));

TEST_F(OnDisk, MembersAreFoundUnderAnyCapitalisation)
{
    folder.write("CVMDB1.BIN", "template CON");
    folder.write("cvmdb2.bin", "template SPM");
    folder.write("MARLOCON.MDB", "live CON");
    folder.write("marlospm.mdb", "live SPM");
    folder.write("MARLOMDB.BAK", "CON 1");
    run();

    // The rotation and the moves found the capitalised members; the names
    // made anew take the mixed forms. A replaced file keeps its own, or takes
    // the mixed form where the drive folds case: read it as listed, since
    // such a drive may answer an old size for another spelling a moment.
    const auto listed = [&](std::string name) {
        for (const std::string& entry : folder.names())
            if (std::equal(entry.begin(), entry.end(), name.begin(), name.end(),
                           [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
                return folder.read(entry);
        return std::string("<none>");
    };
    EXPECT_EQ(folder.read("MARLOmdb.ba2"), "CON 1");
    EXPECT_EQ(folder.read("MARLOmdb.bak"), "live CON");
    EXPECT_EQ(folder.read("MARLOspm.bak"), "live SPM");
    EXPECT_EQ(listed("MARLOcon.mdb"), "template CON");
    EXPECT_EQ(listed("MARLOspm.mdb"), "template SPM");
    EXPECT_EQ(folder.read("CVMDB1.BIN"), "template CON");
    EXPECT_EQ(folder.names().size(), 7u);
    EXPECT_EQ(platform.endedWith, 0);
}

TEST_F(OnDisk, AReadOnlyOldestGenerationKeepsItsWholeFamilyAndItsLiveFile)
{
    layOut(5);
    folder.setReadOnly("MARLOmdb.ba5");
    run();

    for (int g = 1; g <= 5; ++g)
        EXPECT_EQ(folder.read(generation("MARLOmdb", g)), "CON " + std::to_string(g));
    EXPECT_EQ(folder.read("MARLOcon.mdb"), "live CON");
    EXPECT_EQ(folder.read("MARLOspm.mdb"), "template SPM");
    EXPECT_EQ(folder.read("MARLOspm.bak"), "live SPM");
    EXPECT_EQ(platform.endedWith, 1);
}

TEST_F(OnDisk, AMissingTemplateChangesNothing)
{
    layOut(2);
    std::filesystem::remove(folder / "cvmdb2.bin");
    const auto before = folder.names();
    run();
    EXPECT_EQ(folder.names(), before);
    EXPECT_EQ(folder.read("MARLOcon.mdb"), "live CON");
    EXPECT_EQ(platform.unloadedWith, 1);
}
