// A reset killed at random instants loses no database content, and the
// next reset completes.
#include "ChildProcess.h"
#include "CrashCheck.h"
#include "FakePlatform.h"
#include "ResetSequence.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

using namespace marlo;
using namespace marlo::test;

namespace {

const char* driverPath = nullptr;

class NoPauses : public FakePlatform {
public:
    using FakePlatform::FakePlatform;
    void Sleep(int) override {}
};

std::string generation(const std::string& stem, int g)
{
    return stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g));
}

// Every file of a full folder, by name, with its own content.
std::map<std::string, std::string> fullFolder()
{
    constexpr std::size_t size = 1 << 20;
    std::map<std::string, std::string> files;
    files["cvmdb1.bin"] = distinctContent("template CON", 4 * size);
    files["cvmdb2.bin"] = distinctContent("template SPM", 4 * size);
    files["MARLOcon.mdb"] = distinctContent("live CON", size);
    files["MARLOspm.mdb"] = distinctContent("live SPM", size);
    for (int g = 1; g <= 5; ++g) {
        files[generation("MARLOmdb", g)] = distinctContent("CON " + std::to_string(g), size);
        files[generation("MARLOspm", g)] = distinctContent("SPM " + std::to_string(g), size);
    }
    return files;
}

} // namespace

TEST(CrashReset, AResetKilledAtRandomInstantsLosesNoDatabase)
{
    ASSERT_NE(driverPath, nullptr);
    const auto original = fullFolder();
    auto random = seededGenerator();

    // How long a whole reset takes once the driver is ready.
    std::chrono::microseconds longest{0};
    for (int i = 0; i < 3; ++i) {
        TempFolder folder;
        for (const auto& [name, content] : original)
            folder.write(name, content);
        ChildProcess driver({driverPath, folder.str()});
        ASSERT_TRUE(driver.waitReady());
        auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(driver.wait(), 0);
        longest = std::max(longest, std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now() - start));
    }

    // Only a kill that lands before the driver's end counts; a run that
    // ended first is tried again at another instant.
    constexpr int kills = 100;
    int killedMidway = 0;
    int round = 0;
    while (killedMidway < kills && round < 4 * kills) {
        SCOPED_TRACE("round " + std::to_string(++round));
        TempFolder folder;
        for (const auto& [name, content] : original)
            folder.write(name, content);

        ChildProcess driver({driverPath, folder.str()});
        ASSERT_TRUE(driver.waitReady());
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<long>(0, longest.count())(random)));
        killedMidway += driver.killNow();

        // Every content but the oldest generations' is still under a member
        // name, and no file is torn: each holds one of the original contents.
        std::map<std::string, int> found;
        for (const std::string& name : folder.names()) {
            if (!isMemberName(name))
                continue;
            const std::string content = folder.read(name);
            bool known = false;
            for (const auto& [origin, originalContent] : original)
                if (content == originalContent) {
                    ++found[origin];
                    known = true;
                }
            ASSERT_TRUE(known) << name << " holds a torn or unknown content";
        }
        for (const auto& [origin, content] : original) {
            if (origin != "MARLOmdb.ba5" && origin != "MARLOspm.ba5") {
                ASSERT_GE(found[origin], 1) << origin << " was lost";
            }
        }
        ASSERT_EQ(folder.read("cvmdb1.bin"), original.at("cvmdb1.bin"));
        // Each live name holds the old database or its template, never nothing.
        for (const auto& [live, templ] :
             {std::pair{"MARLOcon.mdb", "cvmdb1.bin"}, std::pair{"MARLOspm.mdb", "cvmdb2.bin"}}) {
            const std::string now = folder.read(live);
            ASSERT_TRUE(now == original.at(live) || now == original.at(templ))
                << live << " is missing or torn";
        }

        // The next reset runs to its end and leaves both databases reset.
        std::string before;
        for (const std::string& name : folder.names())
            before += name + " ";
        NoPauses platform(folder.str());
        ResetSequence sequence(platform, platform);
        sequence.run();
        ASSERT_EQ(platform.endedWith, 0) << "folder after the kill: " << before << "\n"
                                         << platform.calls[platform.calls.size() - 5];
        ASSERT_EQ(folder.read("MARLOcon.mdb"), original.at("cvmdb1.bin"));
        ASSERT_EQ(folder.read("MARLOspm.mdb"), original.at("cvmdb2.bin"));
    }
    std::cout << killedMidway << " resets killed midway, in " << round << " runs" << std::endl;
    EXPECT_EQ(killedMidway, kills);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        driverPath = argv[1];
    return RUN_ALL_TESTS();
}
