// The trial's judge of a folder after a power cut, on folders laid out here:
// a judge that lets a lost generation or a torn file pass proves nothing.
#include "StateJudge.h"
#include "TempFolder.h"
#include "TrialCases.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using namespace marlo::test;

namespace {

OperationCase importOverLive()
{
    return importCaseOnly().front();
}

void layOut(const TempFolder& folder, const std::map<std::string, std::string>& files)
{
    for (const auto& [name, content] : files)
        folder.write(name, content);
}

// The folder midway through the import: generations moved up, the oldest
// set aside, the old database kept as .bak beside its live name.
void layOutMidway(const TempFolder& folder, const OperationCase& c)
{
    const Family& f = c.families.front();
    layOut(folder, c.layout);
    folder.write(f.aside, f.generations[4]);
    for (int g = 5; g >= 2; --g)
        folder.write(f.generation(g), f.generations[static_cast<std::size_t>(g) - 2]);
    folder.write(f.generation(1), *f.oldLive);
}

} // namespace

TEST(PowercutJudge, EveryStepOfAnImportPassesAndWhatItLeavesIsAccepted)
{
    const OperationCase c = importOverLive();
    const Family& f = c.families.front();
    {
        TempFolder folder;
        layOut(folder, c.layout);
        EXPECT_TRUE(judgeFolder(folder.str(), c, Phase::Before).empty());
        EXPECT_TRUE(judgeFolder(folder.str(), c, Phase::During).empty());
    }
    {
        TempFolder folder;
        layOutMidway(folder, c);
        folder.write(".MARLOcon.mdb.~marlo-Ab12Cd.tmp", "half a copy");
        EXPECT_TRUE(judgeFolder(folder.str(), c, Phase::During).empty());
    }
    {
        // Done, but the set-aside oldest not dropped yet.
        TempFolder folder;
        layOut(folder, c.completed());
        folder.write(f.aside, f.generations[4]);
        EXPECT_TRUE(judgeFolder(folder.str(), c, Phase::During).empty());
        EXPECT_TRUE(judgeFolder(folder.str(), c, Phase::Completed).empty());
        EXPECT_TRUE(judgeNextRun(folder.str(), c, 0).empty())
            << "a set-aside generation may wait for the command that needs its name";
    }
}

TEST(PowercutJudge, ALostGenerationATornOrMissingDatabaseOrAStrayFileIsAFault)
{
    const OperationCase c = importOverLive();
    const Family& f = c.families.front();
    const auto faultsWith = [&](const std::function<void(const TempFolder&)>& change, Phase phase) {
        TempFolder folder;
        layOutMidway(folder, c);
        change(folder);
        return judgeFolder(folder.str(), c, phase).size();
    };
    EXPECT_GT(
        faultsWith([&](auto& d) { std::filesystem::remove(d / f.generation(3)); }, Phase::During),
        0u);
    EXPECT_GT(faultsWith([&](auto& d) { std::filesystem::remove(d / f.aside); }, Phase::During), 0u)
        << "the oldest may go only once the new database holds the live name";
    EXPECT_GT(faultsWith([&](auto& d) { std::filesystem::remove(d / f.live); }, Phase::During), 0u);
    EXPECT_GT(faultsWith([&](auto& d) { d.write(f.live, ""); }, Phase::During), 0u);
    EXPECT_GT(
        faultsWith(
            [&](auto& d) { d.write(f.live, f.newLive.substr(0, 4096) + f.oldLive->substr(4096)); },
            Phase::During),
        0u);
    EXPECT_GT(faultsWith([&](auto& d) { d.write("MARLOspm.mdb", ""); }, Phase::During), 0u);
    EXPECT_GT(faultsWith([&](auto& d) { d.write("stray.txt", "x"); }, Phase::During), 0u);
    EXPECT_GT(faultsWith([](auto&) {}, Phase::Before), 0u);
    EXPECT_GT(faultsWith([](auto&) {}, Phase::Completed), 0u);

    TempFolder folder;
    layOut(folder, c.completed());
    folder.write(".MARLOcon.mdb.~marlo-Ab12Cd.tmp", "half a copy");
    EXPECT_FALSE(judgeNextRun(folder.str(), c, 0).empty()) << "the next copy removes a temporary";
    EXPECT_FALSE(judgeNextRun(folder.str(), c, 1).empty());
}
