// The kill trials' judge of a family, on folders laid out here: a judge that
// lets a lost generation, a torn database or a shared file pass proves
// nothing.
#include "FamilyJudge.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace marlo;
using namespace marlo::test;

namespace {

// CON with five generations and its template; after one import of "new".
struct Laid {
    TempFolder folder;
    FamilyTrial trial{Database::Con,
                      {"gen 5", "gen 4", "gen 3", "gen 2", "gen 1", "live"},
                      {"new"},
                      "template",
                      1,
                      false,
                      true};

    std::string name(int generation) const
    {
        return generation == 0 ? "MARLOcon.mdb" : backupPath({}, Database::Con, generation).name();
    }
    // The folder as the import leaves it: each content one generation up,
    // the oldest dropped.
    Laid()
    {
        folder.write("cvmdb1.bin", "template");
        folder.write(name(0), "new");
        folder.write(name(1), "live");
        for (int g = 2; g <= 5; ++g)
            folder.write(name(g), "gen " + std::to_string(g - 1));
    }
    void link(int from, int to) const
    {
        std::filesystem::remove(folder / name(to));
        std::filesystem::create_hard_link(folder / name(from), folder / name(to));
    }
};

} // namespace

TEST(FamilyJudge, FindsLossTearingAndSharedFilesAndNothingElse)
{
    struct Case {
        const char* what;
        std::function<void(Laid&)> change;
        std::size_t faults, secondNames;
    };
    const Case cases[] = {
        {"the import's result", [](Laid&) {}, 0, 0},
        {"the oldest kept aside",
         [](Laid& l) { l.folder.write(".MARLOmdb.ba5.~marlo-old", "gen 5"); }, 0, 0},
        {"a middle generation lost", [](Laid& l) { std::filesystem::remove(l.folder / l.name(3)); },
         1, 0},
        {"two dropped where one command ran",
         [](Laid& l) { std::filesystem::remove(l.folder / l.name(5)); }, 1, 0},
        {"the live database missing",
         [](Laid& l) { std::filesystem::remove(l.folder / l.name(0)); }, 1, 0},
        {"the live database torn", [](Laid& l) { l.folder.write(l.name(0), "ne"); }, 1, 0},
        {"the old database still live after a completed import",
         [](Laid& l) { l.folder.write(l.name(0), "live"); }, 1, 0},
        {"the template changed", [](Laid& l) { l.folder.write("cvmdb1.bin", "x"); }, 1, 0},
        {".bak a second name of the live database",
         [](Laid& l) {
             l.folder.write(l.name(0), "live");
             l.link(0, 1);
             l.trial.liveIsNew = false;
         },
         0, 1},
        {".ba2 a second name of .bak", [](Laid& l) { l.link(1, 2); }, 2, 0},
    };
    for (const Case& c : cases) {
        Laid laid;
        c.change(laid);
        const Judgement j = judgeFamily(laid.folder.str(), laid.trial);
        EXPECT_EQ(j.faults.size(), c.faults)
            << c.what << ": " << ::testing::PrintToString(j.faults);
        EXPECT_EQ(j.secondNames.size(), c.secondNames) << c.what;
    }
}
