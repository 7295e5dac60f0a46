#include "FailureWords.h"
#include "FakePlatform.h"
#include "ResetSequence.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace marlo;
using test::FakePlatform;
using Lines = std::vector<std::string>;

namespace {

const std::string App = "C:\\APP";
std::string at(const std::string& name)
{
    return App + "\\" + name;
}

const std::string Completed = "MsgBox [MARLO-Corvane:] 64 \" Database reset successfully "
                              "completed! \r\n Please restart the program... \"";

std::string family(const std::string& live, const std::string& stem)
{
    std::string line = "FilesNotInUse " + at(live) + " " + at(stem + ".bak");
    for (int g = 2; g <= 5; ++g)
        line += " " + at(stem + ".ba" + std::to_string(g));
    return line;
}

Lines intoProgressState()
{
    // The folder is held first, and what a stopped command may have left is
    // mended.
    Lines lines{"HoldFolder " + App,
                "SeparateBackup " + at("MARLOcon.mdb") + " -> " + at("MARLOmdb.bak"),
                "SeparateBackup " + at("MARLOspm.mdb") + " -> " + at("MARLOspm.bak"),
                "FileExists " + at(".MARLOmdb.ba5.~marlo-old"),
                "FileExists " + at(".MARLOspm.ba5.~marlo-old"),
                "OKButton.Enabled = 0",
                "Label1.Visible = 0",
                "Label4.Visible = 0",
                "Label2.Visible = -1",
                "ProgressBar1.Visible = -1",
                "Sleep 200",
                "FileExists " + at("cvmdb1.bin"),
                "FileExists " + at("cvmdb2.bin")};
    // Each family is looked at as a whole before any of it changes, whether
    // there is a live file to keep is settled, and its template is copied
    // beside its live name; then it is looked at again.
    const std::string live[] = {"MARLOcon.mdb", "MARLOspm.mdb"};
    const std::string stem[] = {"MARLOmdb", "MARLOspm"};
    const std::string templates[] = {"cvmdb1.bin", "cvmdb2.bin"};
    for (int d = 0; d < 2; ++d) {
        lines.push_back(family(live[d], stem[d]));
        lines.push_back("FileExists " + at(live[d]));
        lines.push_back("StageCopy " + at(templates[d]) + " -> " + at(live[d]));
        lines.push_back(family(live[d], stem[d]));
        lines.push_back("CheckDestination " + at(live[d]));
    }
    lines.push_back("ProgressBar1.Value = 0");
    return lines;
}

// What the live databases were like when the reset began.
struct Start {
    bool live = true;   // both live databases exist
    bool aside = false; // both oldest generations were set aside
};

// A live file keeps its name until its template takes it, then the oldest
// generation set aside goes.
Lines countedLoopAndEnd(Start start = {}, int exitStatus = 0,
                        const std::string& message = Completed)
{
    const std::string live[] = {"MARLOcon.mdb", "MARLOspm.mdb"};
    const std::string newest[] = {"MARLOmdb.bak", "MARLOspm.bak"};
    const std::string aside[] = {".MARLOmdb.ba5.~marlo-old", ".MARLOspm.ba5.~marlo-old"};
    Lines lines{"ProgressBar1.Value = 0"};
    for (int i = 0; i <= 100; ++i) {
        lines.push_back("ProgressBar1.Value = " + std::to_string(i));
        if (i == 25)
            lines.push_back("Sleep 200");
        for (int d = 0; d < 2 && i == 75; ++d) {
            if (d == 1)
                lines.push_back("Sleep 50");
            if (start.live)
                lines.push_back("KeepBackup " + at(live[d]) + " -> " + at(newest[d]));
            lines.push_back((start.live ? "PlaceCopy " : "PlaceNew ") + at(live[d]));
            lines.push_back("FlushFolder " + at(live[d]));
            if (start.aside)
                lines.push_back("DeleteFile " + at(aside[d]) + " 0");
        }
        if (i == 50)
            lines.push_back("Label3.Visible = -1");
        lines.push_back("Sleep 50");
        lines.push_back("DoEvents");
    }
    Lines end{"SetFocus",
              "Sleep 2000",
              message,
              "SetFocus",
              "DoEvents",
              "Sleep 2000",
              "End " + std::to_string(exitStatus)};
    lines.insert(lines.end(), end.begin(), end.end());
    return lines;
}

Lines concat(std::initializer_list<Lines> parts)
{
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct ResetFixture : ::testing::Test {
    FakePlatform platform;
    ResetSequence sequence{platform, platform};

    ResetFixture()
    {
        platform.addFile(at("cvmdb1.bin"), "template CON");
        platform.addFile(at("cvmdb2.bin"), "template SPM");
    }
    void addLive()
    {
        platform.addFile(at("MARLOcon.mdb"), "live CON");
        platform.addFile(at("MARLOspm.mdb"), "live SPM");
    }
    // Generations g of both databases, content "CON g" / "SPM g".
    void addGenerations(std::initializer_list<int> con, std::initializer_list<int> spm)
    {
        for (int g : con)
            platform.addFile(generation("MARLOmdb", g), "CON " + std::to_string(g));
        for (int g : spm)
            platform.addFile(generation("MARLOspm", g), "SPM " + std::to_string(g));
    }
    static std::string generation(const std::string& stem, int g)
    {
        return at(stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g)));
    }
    std::string content(const std::string& path)
    {
        return platform.has(path) ? platform.files[path].content : "<none>";
    }
    Lines rotationTests(int upTo) const
    {
        Lines lines;
        for (int g = 5; g >= upTo; --g)
            lines.push_back("FileExists " + generation("MARLOmdb", g));
        return lines;
    }
    // Progress values set between the template tests and the counted loop.
    std::vector<int> rotationProgress() const
    {
        std::vector<int> values;
        auto loopStart =
            std::find(platform.calls.begin(), platform.calls.end(), "ProgressBar1.Value = 1");
        for (auto it = platform.calls.begin(); it != loopStart; ++it)
            if (it->rfind("ProgressBar1.Value = ", 0) == 0)
                values.push_back(std::stoi(it->substr(21)));
        return values;
    }
};

} // namespace

TEST_F(ResetFixture, FirstResetKeepsTheLiveFilesAsBackupsAndPutsTheTemplatesInTheirPlace)
{
    addLive();
    // A kill at any instant finds each live name taken, by the old file or
    // the new one.
    platform.onDoEvents = [&] {
        EXPECT_TRUE(platform.has(at("MARLOcon.mdb")) && platform.has(at("MARLOspm.mdb")));
    };
    sequence.run();

    EXPECT_EQ(platform.calls, concat({intoProgressState(), rotationTests(1), countedLoopAndEnd()}));
    EXPECT_EQ(content(at("MARLOmdb.bak")), "live CON");
    EXPECT_EQ(content(at("MARLOspm.bak")), "live SPM");
    EXPECT_EQ(content(at("MARLOcon.mdb")), "template CON");
    EXPECT_EQ(content(at("MARLOspm.mdb")), "template SPM");
    EXPECT_EQ(content(at("cvmdb1.bin")), "template CON");
    EXPECT_EQ(platform.files.size(), 6u);
    // 7.5 s up to the closing message, 2 s after it.
    EXPECT_EQ(platform.sleptMs, 9500);
    EXPECT_EQ(sequence.loopCounter(), 101);
    EXPECT_EQ(platform.endedWith, 0);
    EXPECT_FALSE(platform.unloadedWith);
    EXPECT_FALSE(sequence.running());
}

TEST_F(ResetFixture, FiveGenerationsDropTheOldestAndShiftTheRestUp)
{
    addLive();
    addGenerations({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5});
    sequence.run();

    auto move = [](const std::string& stem, int from) {
        return "MoveFile " + generation(stem, from) + " -> " + generation(stem, from + 1);
    };
    Lines rotation{"FileExists " + at("MARLOmdb.ba5"),
                   "ProgressBar1.Value = 0",
                   "Sleep 50",
                   "SetAside " + at("MARLOmdb.ba5") + " -> " + at(".MARLOmdb.ba5.~marlo-old"),
                   "ProgressBar1.Value = 10",
                   "Sleep 50",
                   "SetAside " + at("MARLOspm.ba5") + " -> " + at(".MARLOspm.ba5.~marlo-old"),
                   "ProgressBar1.Value = 20",
                   "Sleep 50"};
    int value = 30;
    for (int g = 4; g >= 1; --g)
        for (const char* stem : {"MARLOmdb", "MARLOspm"}) {
            rotation.push_back(move(stem, g));
            rotation.push_back("ProgressBar1.Value = " + std::to_string(value));
            rotation.push_back("Sleep 50");
            value += 10;
        }
    EXPECT_EQ(platform.calls, concat({intoProgressState(), rotation,
                                      countedLoopAndEnd({.live = true, .aside = true})}));

    EXPECT_EQ(platform.files.size(), 14u); // the oldest generations are gone
    for (const char* stem : {"MARLOmdb", "MARLOspm"}) {
        const std::string db = stem == std::string("MARLOmdb") ? "CON" : "SPM";
        EXPECT_EQ(content(generation(stem, 1)), "live " + db);
        for (int g = 2; g <= 5; ++g)
            EXPECT_EQ(content(generation(stem, g)), db + " " + std::to_string(g - 1));
    }
    EXPECT_EQ(platform.sleptMs, 9500 + 550);
    EXPECT_EQ(platform.endedWith, 0);
}

struct RotationCase {
    int rotationCase;
    std::vector<int> progress;
    int extraMs;
};

class ResetRotationCases : public ResetFixture,
                           public ::testing::WithParamInterface<RotationCase> {};

TEST_P(ResetRotationCases, ProgressAndPausesFollowTheCase)
{
    const RotationCase& c = GetParam();
    for (int g = 1; g <= c.rotationCase; ++g)
        addGenerations({g}, {g});
    addLive();
    sequence.run();

    EXPECT_EQ(rotationProgress(), c.progress);
    EXPECT_EQ(platform.sleptMs, 9500 + c.extraMs);
    // Afterwards each database holds one generation more, up to five.
    for (int g = 1; g <= std::min(c.rotationCase + 1, 5); ++g) {
        EXPECT_TRUE(platform.has(generation("MARLOmdb", g))) << g;
        EXPECT_TRUE(platform.has(generation("MARLOspm", g))) << g;
    }
    EXPECT_EQ(platform.endedWith, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ResetRotationCases,
    ::testing::Values(RotationCase{1, {0, 0, 50, 100, 0, 0}, 150},
                      RotationCase{2, {0, 0, 25, 50, 75, 100, 0, 0}, 250},
                      RotationCase{3, {0, 0, 20, 40, 60, 80, 90, 100, 0, 0}, 350},
                      RotationCase{4, {0, 0, 15, 30, 45, 60, 75, 90, 95, 100, 0, 0}, 450},
                      RotationCase{5, {0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 0}, 550}));

TEST_F(ResetFixture, AMissingTemplateAbortsBeforeAnythingChanges)
{
    addLive();
    addGenerations({1}, {1});
    const auto before = platform.files;

    auto abortTrace = [](int which) {
        Lines lines = intoProgressState();
        lines.resize(11 + which); // up to the failing template test
        lines.push_back("MsgBox [MARLO-Corvane:] 16 \" Can't find CVMDB" + std::to_string(which) +
                        ".BIN... Reset aborted...! \"");
        lines.push_back("Unload 1");
        return lines;
    };

    // Template 2 missing: the second message.
    platform.files.erase(at("cvmdb2.bin"));
    ResetSequence second(platform, platform);
    second.run();
    EXPECT_EQ(platform.calls, abortTrace(2));

    // Both missing: only the first message.
    platform.calls.clear();
    platform.files.erase(at("cvmdb1.bin"));
    sequence.run();
    EXPECT_EQ(platform.calls, abortTrace(1));
    EXPECT_FALSE(platform.endedWith);

    // A template test that cannot be made at all aborts the same way.
    platform.calls.clear();
    platform.files = before;
    platform.failOnce("FileExists " + at("cvmdb1.bin"), 429, "cannot create object");
    ResetSequence third(platform, platform);
    third.run();
    EXPECT_EQ(platform.calls, abortTrace(1));
    EXPECT_EQ(platform.files.size(), before.size());
    for (const auto& [path, file] : before)
        EXPECT_EQ(content(path), file.content) << path;
}

TEST_F(ResetFixture, AGapInTheGenerationsMovesUpWithTheRest)
{
    addLive();
    addGenerations({1, 3}, {1, 3});
    sequence.run();

    EXPECT_EQ(rotationProgress(), (std::vector<int>{0, 0, 20, 40, 60, 80, 90, 100, 0, 0}));
    for (const char* stem : {"MARLOmdb", "MARLOspm"}) {
        EXPECT_TRUE(platform.has(generation(stem, 1)));
        EXPECT_TRUE(platform.has(generation(stem, 2)));
        EXPECT_FALSE(platform.has(generation(stem, 3)));
        EXPECT_TRUE(platform.has(generation(stem, 4)));
    }
    EXPECT_EQ(content(at("MARLOmdb.ba4")), "CON 3");
    EXPECT_EQ(platform.endedWith, 0);
}

TEST_F(ResetFixture, FewerSpmGenerationsFollowTheConCase)
{
    addLive();
    addGenerations({1, 2}, {1});
    sequence.run();

    EXPECT_EQ(content(at("MARLOmdb.ba3")), "CON 2");
    EXPECT_EQ(content(at("MARLOmdb.ba2")), "CON 1");
    EXPECT_EQ(content(at("MARLOspm.ba2")), "SPM 1");
    EXPECT_FALSE(platform.has(at("MARLOspm.ba3")));
    EXPECT_EQ(content(at("MARLOmdb.bak")), "live CON");
    EXPECT_EQ(content(at("MARLOspm.bak")), "live SPM");
    EXPECT_EQ(platform.endedWith, 0);
}

TEST_F(ResetFixture, MissingLiveDatabasesAreCreatedFromTheTemplates)
{
    sequence.run();

    EXPECT_EQ(platform.calls,
              concat({intoProgressState(), rotationTests(1), countedLoopAndEnd({.live = false})}));
    EXPECT_EQ(content(at("MARLOcon.mdb")), "template CON");
    EXPECT_EQ(content(at("MARLOspm.mdb")), "template SPM");
    EXPECT_FALSE(platform.has(at("MARLOmdb.bak")));
    EXPECT_EQ(platform.endedWith, 0);
}

TEST_F(ResetFixture, ALiveDatabaseThatCannotBeKeptIsNeverOverwrittenAndItsFamilyGoesBack)
{
    addLive();
    addGenerations({1, 2}, {1, 2});
    platform.failAlways("KeepBackup " + at("MARLOspm.mdb") + " -> " + at("MARLOspm.bak"));
    sequence.run();

    EXPECT_EQ(content(at("MARLOcon.mdb")), "template CON");
    EXPECT_EQ(content(at("MARLOmdb.bak")), "live CON");
    EXPECT_EQ(content(at("MARLOspm.mdb")), "live SPM");
    EXPECT_EQ(content(at("MARLOspm.bak")), "SPM 1");
    EXPECT_EQ(content(at("MARLOspm.ba2")), "SPM 2");
    EXPECT_FALSE(platform.has(at("MARLOspm.ba3")));
    const std::string box = "MsgBox [MARLO-Corvane:] 16 \" MARLOSPM.MDB was not reset... In use! "
                            "Its files were left as they were! \r\n Please restart the "
                            "program... \"";
    EXPECT_NE(std::find(platform.calls.begin(), platform.calls.end(), box), platform.calls.end());
    EXPECT_EQ(platform.endedWith, 1);
}

TEST_F(ResetFixture, AFamilyOutOfStepMakesRoomInsteadOfBlockingItsLiveFile)
{
    // SPM holds generations that CON does not (as an interrupted reset can
    // leave them): SPM generation 1 without any CON backup, and a full SPM
    // family beside four CON generations.
    addLive();
    addGenerations({}, {1});
    sequence.run();
    EXPECT_EQ(content(at("MARLOspm.bak")), "live SPM");
    EXPECT_EQ(content(at("MARLOspm.ba2")), "SPM 1");
    EXPECT_EQ(content(at("MARLOspm.mdb")), "template SPM");
    EXPECT_EQ(platform.endedWith, 0);

    FakePlatform full;
    full.appFolder = App;
    full.addFile(at("cvmdb1.bin"), "template CON");
    full.addFile(at("cvmdb2.bin"), "template SPM");
    full.addFile(at("MARLOcon.mdb"), "live CON");
    full.addFile(at("MARLOspm.mdb"), "live SPM");
    for (int g = 1; g <= 5; ++g) {
        if (g < 5)
            full.addFile(generation("MARLOmdb", g), "CON " + std::to_string(g));
        full.addFile(generation("MARLOspm", g), "SPM " + std::to_string(g));
    }
    ResetSequence second(full, full);
    second.run();
    for (int g = 2; g <= 5; ++g)
        EXPECT_EQ(full.files[generation("MARLOspm", g)].content, "SPM " + std::to_string(g - 1));
    EXPECT_EQ(full.files[at("MARLOspm.bak")].content, "live SPM");
    EXPECT_EQ(full.files[at("MARLOmdb.ba5")].content, "CON 4");
    EXPECT_EQ(full.endedWith, 0);
}

TEST_F(ResetFixture, AReadOnlyOldestGenerationBlocksTheRotationAndKeepsTheLiveFile)
{
    addLive();
    addGenerations({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5});
    platform.files[at("MARLOmdb.ba5")].readOnly = true;
    sequence.run();

    // Nothing of the CON family moved, and its live file stays.
    for (int g = 1; g <= 5; ++g)
        EXPECT_EQ(content(generation("MARLOmdb", g)), "CON " + std::to_string(g));
    EXPECT_EQ(content(at("MARLOcon.mdb")), "live CON");
    // The SPM family was reset as usual.
    EXPECT_EQ(content(at("MARLOspm.mdb")), "template SPM");
    EXPECT_EQ(content(at("MARLOspm.bak")), "live SPM");
    EXPECT_EQ(content(at("MARLOspm.ba5")), "SPM 4");
    EXPECT_EQ(platform.endedWith, 1);
}

TEST_F(ResetFixture, AFamilyHeldOpenByAnotherProgramIsLeftAloneAsAWhole)
{
    addLive();
    addGenerations({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5});
    const auto before = platform.files;
    platform.failOnce(family("MARLOcon.mdb", "MARLOmdb"), 16,
                      "the file is in use by another program (MARLOCON.EXE)");
    sequence.run();

    // Not one CON file moved: the oldest generation is not dropped for a
    // database that cannot be reset. SPM went through the whole rotation.
    for (const auto& [path, file] : before) {
        if (path.find("MARLOspm") == std::string::npos) {
            EXPECT_EQ(content(path), file.content) << path;
        }
    }
    EXPECT_EQ(content(at("MARLOspm.mdb")), "template SPM");
    EXPECT_EQ(content(at("MARLOspm.ba5")), "SPM 4");
    EXPECT_EQ(rotationProgress(),
              (std::vector<int>{0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 0}));
    EXPECT_EQ(platform.sleptMs, 9500 + 550);
    const std::string box = "MsgBox [MARLO-Corvane:] 16 \" MARLOCON.MDB was not reset... The file "
                            "is in use by another program (MARLOCON.EXE)! Its files were left as "
                            "they were! \r\n Please restart the program... \"";
    EXPECT_NE(std::find(platform.calls.begin(), platform.calls.end(), box), platform.calls.end());
    EXPECT_EQ(platform.endedWith, 1);
}

// While another command holds the folder, both families are left as they
// were, with the same pacing, and the closing box says why.
TEST_F(ResetFixture, AFolderHeldByAnotherCommandLeavesBothFamiliesAlone)
{
    addLive();
    addGenerations({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5});
    const auto before = platform.files;
    const std::string held(failureWords(FileFailure::FolderHeld));
    platform.failOnce("HoldFolder " + App, 11, held);
    sequence.run();

    for (const auto& [path, file] : before)
        EXPECT_EQ(content(path), file.content) << path;
    EXPECT_EQ(platform.files.size(), before.size());
    EXPECT_EQ(platform.sleptMs, 9500 + 550);
    std::string box = "MsgBox [MARLO-Corvane:] 16 \"";
    for (const char* live : {"MARLOCON.MDB", "MARLOSPM.MDB"})
        box += std::string(" ") + live + " was not reset... " + capitalised(held) +
               "! Its files were left as they were! \r\n";
    box += " Please restart the program... \"";
    EXPECT_NE(std::find(platform.calls.begin(), platform.calls.end(), box), platform.calls.end());
    EXPECT_EQ(platform.endedWith, 1);
}

// An oldest generation that a stopped command left aside goes back to its
// name where that is free; where the stopped command had moved the next one
// up it is dropped, as that command was to do, and the closing box says so.
TEST_F(ResetFixture, AnOldestGenerationLeftAsideIsPutBackOrDroppedAndTheBoxSaysSo)
{
    addLive();
    addGenerations({1, 2, 3, 4}, {1, 2, 3, 4, 5});
    platform.files[at(".MARLOmdb.ba5.~marlo-old")] = {"CON 5"};
    platform.files[at(".MARLOspm.ba5.~marlo-old")] = {"stopped SPM 5"};
    sequence.run();

    EXPECT_EQ(content(at("MARLOmdb.ba5")), "CON 4"); // back, then dropped by this reset
    EXPECT_EQ(content(at("MARLOspm.ba5")), "SPM 4");
    for (const char* aside : {".MARLOmdb.ba5.~marlo-old", ".MARLOspm.ba5.~marlo-old"})
        EXPECT_FALSE(platform.has(at(aside))) << aside;
    const auto box = std::find_if(platform.calls.begin(), platform.calls.end(),
                                  [](const std::string& l) { return l.starts_with("MsgBox "); });
    ASSERT_NE(box, platform.calls.end());
    EXPECT_TRUE(box->starts_with("MsgBox [MARLO-Corvane:] 64 \" Database reset successfully "
                                 "completed! \r\n The oldest backup that a stopped command had "
                                 "set aside as .MARLOspm.ba5.~marlo-old was removed"))
        << *box;
    EXPECT_EQ(box->find(".MARLOmdb.ba5.~marlo-old"), std::string::npos) << *box;
    EXPECT_EQ(platform.endedWith, 0);
}

// Up to the moment its template takes the live name a family's change can
// be undone; after a failure every generation is back, the oldest included.
TEST_F(ResetFixture, AFailedTemplatePlacementPutsEveryFileBackAndIsNotCalledSuccess)
{
    addLive();
    addGenerations({1, 2, 3, 4, 5}, {});
    platform.files.erase(at("MARLOspm.mdb"));
    const auto before = platform.files;
    platform.failOnce("PlaceCopy " + at("MARLOcon.mdb"));
    platform.failOnce("PlaceNew " + at("MARLOspm.mdb"));
    sequence.run();

    EXPECT_EQ(platform.files.size(), before.size());
    for (const auto& [path, file] : before)
        EXPECT_EQ(content(path), file.content) << path;
    const std::string box = "MsgBox [MARLO-Corvane:] 16 \" MARLOCON.MDB was not reset... In use! "
                            "Its files were left as they were! \r\n MARLOSPM.MDB was not reset... "
                            "In use! Its files were left as they were! \r\n Please restart the "
                            "program... \"";
    Lines tail(platform.calls.end() - 7, platform.calls.end());
    EXPECT_EQ(tail, (Lines{"SetFocus", "Sleep 2000", box, "SetFocus", "DoEvents", "Sleep 2000",
                           "End 1"}));

    // What cannot be undone is named.
    platform.calls.clear();
    ResetSequence again{platform, platform};
    platform.failOnce("PlaceCopy " + at("MARLOcon.mdb"));
    platform.failOnce("RemoveKeptBackup " + at("MARLOmdb.bak"), 5, "disk error");
    again.run();
    EXPECT_EQ(content(at("MARLOmdb.bak")), "live CON");
    EXPECT_EQ(content(at("MARLOmdb.ba2")), "CON 1");
    const auto boxLine =
        std::find_if(platform.calls.begin(), platform.calls.end(), [](const std::string& l) {
            return l.find("was not reset") != std::string::npos;
        });
    ASSERT_NE(boxLine, platform.calls.end());
    EXPECT_NE(boxLine->find(" MARLOCON.MDB was not reset... In use! Not everything could be put "
                            "back: MARLOMDB.BAK is now a second name of MARLOCON.MDB; MARLOMDB.BAK "
                            "is now MARLOMDB.BA2;"),
              std::string::npos)
        << *boxLine;
}

// Any step that changes a name fails, or makes its change and cannot flush
// it: the closing box follows the files. A family whose template took the
// live name is not called "not reset"; one that was rolled back has every
// file as it was and is called "not reset", whatever its steps' flushes
// said.
TEST_F(ResetFixture, AtEveryStepTheClosingBoxFollowsTheFiles)
{
    addLive();
    addGenerations({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5});
    const auto before = platform.files;
    sequence.run();
    Lines steps;
    for (const std::string& call : platform.calls)
        for (const char* verb :
             {"SetAside ", "MoveFile ", "KeepBackup ", "PlaceCopy ", "DeleteFile "})
            if (call.starts_with(verb))
                steps.push_back(call);
    ASSERT_EQ(steps.size(), 16u);
    const std::string live[] = {at("MARLOcon.mdb"), at("MARLOspm.mdb")};
    const std::string stem[] = {"MARLOmdb", "MARLOspm"};
    const std::string shown[] = {"MARLOCON.MDB", "MARLOSPM.MDB"};
    for (const bool unflushed : {false, true})
        for (const std::string& step : steps) {
            SCOPED_TRACE((unflushed ? "unflushed: " : "failed: ") + step);
            platform.files = before;
            platform.calls.clear();
            if (!unflushed)
                platform.failOnce(step);
            else if (step.starts_with("PlaceCopy "))
                platform.failOnce("FlushFolder " + step.substr(10), 5, "not flushed");
            else
                platform.unflushed.insert(step);
            ResetSequence(platform, platform).run();
            const auto box =
                std::find_if(platform.calls.begin(), platform.calls.end(),
                             [](const std::string& l) { return l.starts_with("MsgBox "); });
            ASSERT_NE(box, platform.calls.end());
            for (int d = 0; d < 2; ++d) {
                const bool reset = content(live[d]).starts_with("template");
                EXPECT_EQ(box->find(" " + shown[d] + " was not reset... ") == std::string::npos,
                          reset)
                    << *box;
                if (reset)
                    continue;
                for (const auto& [path, file] : before) {
                    if (path.find(stem[d]) != std::string::npos || path == live[d]) {
                        EXPECT_EQ(content(path), file.content) << path;
                    }
                }
            }
        }
}

// A database that the main program makes where there was none is not
// replaced by the template.
TEST_F(ResetFixture, ADatabaseMadeMeanwhileAtTheLiveNameIsNotReplacedByTheTemplate)
{
    addLive();
    platform.files.erase(at("MARLOcon.mdb"));
    platform.onDoEvents = [&] {
        if (!platform.has(at("MARLOcon.mdb")))
            platform.addFile(at("MARLOcon.mdb"), "made meanwhile");
    };
    sequence.run();

    EXPECT_EQ(content(at("MARLOcon.mdb")), "made meanwhile");
    EXPECT_FALSE(platform.has(at("MARLOmdb.bak")));
    EXPECT_EQ(content(at("MARLOspm.mdb")), "template SPM");
    EXPECT_EQ(platform.endedWith, 1);
}

TEST_F(ResetFixture, FailingStepsAreSkippedAndAFailedRotationTestSelectsItsCase)
{
    addLive();
    platform.failOnce("SetFocus");
    platform.failOnce("FileExists " + at("MARLOmdb.ba5"), 429, "cannot create object");
    sequence.run();

    // Case 5 runs on nothing: its deletes and moves fail and are skipped.
    EXPECT_EQ(rotationProgress(),
              (std::vector<int>{0, 0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 0, 0}));
    EXPECT_EQ(content(at("MARLOcon.mdb")), "template CON");
    EXPECT_EQ(content(at("MARLOmdb.bak")), "live CON");
    EXPECT_EQ(platform.calls.back(), "End 0");
}

// A log-off at any pump waits, told why in the window's own words.
TEST_F(ResetFixture, TheEventPumpSeesTheSequenceRunningAndALogOffToldWhy)
{
    addLive();
    int pumps = 0;
    platform.onDoEvents = [&] {
        EXPECT_TRUE(sequence.running());
        EXPECT_EQ(platform.busyReasons.size(), 1u);
        ++pumps;
    };
    EXPECT_FALSE(sequence.running());
    sequence.run();
    EXPECT_EQ(pumps, 102); // once per pass, once after the closing message
    EXPECT_FALSE(sequence.running());
    EXPECT_EQ(platform.busyReasons,
              (std::vector<FakePlatform::Busy>{{"Resetting Database files...", 0},
                                               {"", platform.calls.size()}}));
}
