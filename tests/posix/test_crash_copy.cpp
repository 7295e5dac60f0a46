// Exports and imports killed at random instants: the destination keeps its
// old content or has the new one, never a torn or empty file, an import's
// new content never stands without the old one kept as its backup, and no
// file is left under a member's name that should not be there.
#include "ChildProcess.h"
#include "CrashCheck.h"
#include "FolderSnapshot.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <thread>

using namespace marlo::test;

namespace {

const char* driverPath = nullptr;
constexpr std::size_t DatabaseSize = 64 << 20;

// Which of the two contents a file holds byte for byte: 0 or 1, or -1 for
// anything else (torn, empty, missing).
int whichOf(const std::string& path, const std::string (&contents)[2])
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return -1;
    bool same[2] = {true, true};
    const auto buffer = std::make_unique_for_overwrite<char[]>(1 << 20);
    std::size_t offset = 0;
    while (in) {
        in.read(buffer.get(), 1 << 20);
        const auto n = static_cast<std::size_t>(in.gcount());
        for (int i = 0; i < 2; ++i)
            same[i] = same[i] && offset + n <= contents[i].size() &&
                      std::memcmp(buffer.get(), contents[i].data() + offset, n) == 0;
        offset += n;
    }
    for (int i = 0; i < 2; ++i)
        if (same[i] && offset == contents[i].size())
            return i;
    return -1;
}

// The application folder with the live CON database and an exported copy,
// and the two contents outside it. A destination is given its old content as
// a hard link of the content's file: no 64 MiB write per round, and the copy
// under test replaces the name, never the linked file (checked at the end).
struct CopyFixture {
    TempFolder root;
    std::string contents[2] = {distinctContent("content A", DatabaseSize),
                               distinctContent("content B", DatabaseSize + 4097)};
    std::string app = root / "app";
    std::string live = app + "/MARLOcon.mdb";
    std::string exported = app + "/exported con.mdb";

    CopyFixture()
    {
        std::filesystem::create_directory(root / "contents");
        std::filesystem::create_directory(app);
        for (int i = 0; i < 2; ++i)
            root.write(contentFile(i), contents[i]);
        give(live, 0);
        give(exported, 1);
    }
    std::string contentFile(int i) const { return "contents/" + std::to_string(i); }
    void give(const std::string& path, int content) const
    {
        std::filesystem::remove(path);
        std::filesystem::create_hard_link(root / contentFile(content), path);
    }
};

std::string generationName(int g)
{
    return marlo::backupPath({}, marlo::Database::Con, g).name();
}

struct Round {
    bool exporting;
    std::string destination, chosen;
    int oldContent;
};

} // namespace

TEST(CrashCopy, ExportsAndImportsKilledAtRandomInstantsLeaveTheOldContentOrTheNew)
{
    ASSERT_NE(driverPath, nullptr);
    CopyFixture f;
    auto random = seededGenerator();

    // What the live database and the exported copy hold, as last checked.
    int liveContent = 0, exportedContent = 1;
    // Sets up a round so that the destination's old and new contents differ.
    const auto prepare = [&](bool exporting) {
        if (exporting) {
            if (exportedContent == liveContent)
                f.give(f.exported, exportedContent = 1 - liveContent);
            return Round{true, f.exported, f.exported, exportedContent};
        }
        // An import meets five generations, so that its oldest must make room.
        // Each is a file of its own: the newest may be a link of a content.
        for (int g = 1; g <= 5; ++g) {
            std::filesystem::remove(f.app + "/" + generationName(g));
            std::ofstream(f.app + "/" + generationName(g), std::ios::binary) << "gen " << g;
        }
        return Round{false, f.live, f.root / f.contentFile(1 - liveContent), liveContent};
    };
    const auto checked = [&](const Round& r, int now) {
        (r.exporting ? exportedContent : liveContent) = now;
    };
    const auto start = [&](const Round& r) {
        return std::make_unique<ChildProcess>(std::vector<std::string>{
            driverPath, f.app, r.exporting ? "export" : "import", r.chosen});
    };

    // How long a whole command takes once the driver is ready.
    std::chrono::microseconds longest{0};
    for (int i = 0; i < 4; ++i) {
        const Round r = prepare(i % 2 == 0);
        auto driver = start(r);
        ASSERT_TRUE(driver->waitReady());
        const auto began = std::chrono::steady_clock::now();
        ASSERT_EQ(driver->wait(), 0) << (r.exporting ? "export" : "import") << " failed";
        longest = std::max(longest, std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::steady_clock::now() - began));
        ASSERT_EQ(whichOf(r.destination, f.contents), 1 - r.oldContent);
        checked(r, 1 - r.oldContent);
    }
    for (const std::string& name : namesIn(f.app))
        if (name.starts_with("MARLOmdb.ba"))
            std::filesystem::remove(f.app + "/" + name);
    std::cout << "a whole command takes up to " << longest.count() / 1000 << " ms" << std::endl;

    // Only a kill that lands before the driver's end counts; a run that
    // ended first is tried again at another instant.
    constexpr int kills = 200;
    int killedMidway = 0, runs = 0, leftovers = 0;
    int killed[2] = {0, 0}, keptOld = 0;
    while (killedMidway < kills && runs < 4 * kills) {
        const bool exporting = runs % 2 == 0;
        SCOPED_TRACE(std::string(exporting ? "export" : "import") + ", run " +
                     std::to_string(runs + 1));
        ++runs;
        const Round r = prepare(exporting);

        auto driver = start(r);
        ASSERT_TRUE(driver->waitReady());
        std::this_thread::sleep_for(std::chrono::microseconds(
            std::uniform_int_distribution<long>(0, longest.count())(random)));
        const bool midway = driver->killNow();
        killedMidway += midway;
        killed[exporting] += midway;

        const int now = whichOf(r.destination, f.contents);
        ASSERT_NE(now, -1) << r.destination << " is torn, empty or gone";
        if (!midway) {
            ASSERT_EQ(now, 1 - r.oldContent) << "a command that ran to its end did not copy";
        }
        keptOld += midway && now == r.oldContent;
        checked(r, now);
        if (exporting) {
            ASSERT_EQ(whichOf(f.live, f.contents), liveContent) << "the exported source changed";
        }

        // A replaced live database is kept as its newest backup, and every
        // generation is under its own name or one up; only the oldest may be
        // gone, and only once the new database holds the live name.
        if (!exporting && now != r.oldContent) {
            ASSERT_EQ(whichOf(f.app + "/MARLOmdb.bak", f.contents), r.oldContent)
                << "the replaced database was not kept";
        }
        for (int g = 1; g <= 5 && !exporting; ++g) {
            const std::string content = "gen " + std::to_string(g);
            const auto holds = [&](const std::string& name) {
                return std::filesystem::exists(f.app + "/" + name) &&
                       f.root.read("app/" + name) == content;
            };
            const bool kept = holds(generationName(g)) || (g < 5 && holds(generationName(g + 1))) ||
                              (g == 5 && holds(".MARLOmdb.ba5.~marlo-old"));
            ASSERT_TRUE(kept || (g == 5 && now != r.oldContent)) << content << " was lost";
        }

        // A killed copy may leave its hidden temporary file, never a file
        // under a member's name; an import leaves whole backups.
        int left = 0;
        for (const std::string& name : namesIn(f.app)) {
            if (f.app + "/" + name == f.live || f.app + "/" + name == f.exported)
                continue;
            if (!exporting &&
                (name.starts_with("MARLOmdb.ba") || name == ".MARLOmdb.ba5.~marlo-old")) {
                if (!f.root.read("app/" + name).starts_with("gen ")) {
                    ASSERT_NE(whichOf(f.app + "/" + name, f.contents), -1) << name << " is torn";
                }
                std::filesystem::remove(f.app + "/" + name);
                continue;
            }
            ASSERT_FALSE(isMemberName(name)) << "a leftover file carries a member's name: " << name;
            ++left;
            std::filesystem::remove(f.app + "/" + name);
        }
        ASSERT_LE(left, 1) << "more than the one temporary file of the killed copy";
        leftovers += left;
    }
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(f.root.read(f.contentFile(i)), f.contents[i]) << "a content's file changed";

    std::cout << killedMidway << " commands killed midway (" << killed[1] << " exports, "
              << killed[0] << " imports) in " << runs << " runs; " << keptOld
              << " destinations kept the old content, " << killedMidway - keptOld
              << " had the new; " << leftovers << " temporary files left and removed" << std::endl;
    EXPECT_EQ(killedMidway, kills);
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        driverPath = argv[1];
    return RUN_ALL_TESTS();
}
