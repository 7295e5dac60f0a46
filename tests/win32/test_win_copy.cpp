// Copies on Windows beside other programs: one that writes to the source
// while it is read, one that holds the destination, one that opens the new
// copy the moment it is closed (a virus scanner); and what a copy leaves
// beside its destination.
#include "FileLayerExpect.h"
#include "HelperProcess.h"
#include "WinFilesTest.h"
#include "WinHandle.h"

#include <gtest/gtest.h>

#include "WinSystem.h"

#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

using namespace marlo;
using test::failedWith;
using test::helperProgram;
using test::inUse;
using test::Names;
using test::WinFiles;
using win32::UniqueHandle;

namespace {

UniqueHandle openFile(const std::string& path, DWORD access, DWORD share)
{
    return UniqueHandle(
        ::CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr));
}

// Writes through a handle of its own, as the main program writes to its
// database while it runs.
void writeAt(HANDLE file, LONGLONG offset, const std::string& bytes)
{
    LARGE_INTEGER at;
    at.QuadPart = offset;
    DWORD written = 0;
    ASSERT_TRUE(::SetFilePointerEx(file, at, nullptr, offset < 0 ? FILE_END : FILE_BEGIN));
    ASSERT_TRUE(
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

// The one hidden temporary file beside the files the test made.
std::string temporaryIn(const test::FileTestFolder& dir)
{
    for (const std::string& name : dir.names())
        if (name.starts_with("."))
            return name;
    return {};
}

// Opens a file the moment its copy lets go of it, and keeps it open for
// `hold` milliseconds, sharing reading and writing but not its removal or
// renaming, as a virus scanner does.
class Scanner {
public:
    Scanner(std::string path, DWORD hold)
        : thread_([this, path = std::move(path), hold](std::stop_token stop) {
              while (!stop.stop_requested()) {
                  const UniqueHandle file =
                      openFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
                  if (file) {
                      settle(GotIn);
                      ::Sleep(hold);
                      return;
                  }
              }
              settle(GaveUp);
          })
    {
    }
    // Whether it had the file open before the rename took the name away; it
    // may hold it on after.
    bool gotIn()
    {
        thread_.request_stop();
        std::unique_lock lock(mutex_);
        settled_.wait(lock, [this] { return state_ != Looking; });
        return state_ == GotIn;
    }

private:
    enum State { Looking, GotIn, GaveUp };
    void settle(State state)
    {
        {
            const std::lock_guard lock(mutex_);
            state_ = state;
        }
        settled_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable settled_;
    State state_ = Looking;
    std::jthread thread_;
};

} // namespace

TEST_F(WinFiles, ACopyIsTheSourceAsItStoodAtOneInstant)
{
    const std::string live = dir / "MARLOcon.mdb";
    const std::string content(3 << 20, 'c'); // read in several pieces
    dir.write("MARLOcon.mdb", content);
    dir.write("export.mdb", "old");
    ::Sleep(50); // so that a write below moves the file's times

    // No one writes to it: writers are shut out while it is read.
    int writersLetIn = 0;
    const auto tryWriters = [&](const CopyStep&) {
        writersLetIn += bool(openFile(live, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE));
        return true;
    };
    ASSERT_TRUE(
        copyFile(*files, dir.chosen("MARLOcon.mdb"), dir.chosen("export.mdb"), {true, tryWriters})
            .ok());
    EXPECT_EQ(writersLetIn, 0);
    EXPECT_TRUE(dir.read("export.mdb") == content);

    // The main program has it open for writing and shares it.
    const UniqueHandle mainProgram =
        openFile(live, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(mainProgram);
    dir.write("export.mdb", "old");
    ASSERT_TRUE(copyFile(*files, dir.chosen("MARLOcon.mdb"), dir.chosen("export.mdb")).ok());
    EXPECT_TRUE(dir.read("export.mdb") == content);

    // Written in place once while it is read: copied again, as it is now.
    int attempts = 0;
    const auto writeOnce = [&](const CopyStep& step) {
        if (step.phase == CopyStep::Phase::Reading && step.done == 0 && attempts++ == 0)
            writeAt(mainProgram.get(), 0, "w");
        return true;
    };
    dir.write("export.mdb", "old");
    ASSERT_TRUE(
        copyFile(*files, dir.chosen("MARLOcon.mdb"), dir.chosen("export.mdb"), {true, writeOnce})
            .ok());
    EXPECT_EQ(attempts, 2);
    std::string written = content;
    written[0] = 'w';
    EXPECT_TRUE(dir.read("export.mdb") == written);

    // Written all the while: refused, and nothing is left of the copy.
    attempts = 0;
    const auto writeAlways = [&](const CopyStep&) {
        ++attempts;
        writeAt(mainProgram.get(), -1, "a");
        return true;
    };
    dir.write("export.mdb", "old");
    EXPECT_TRUE(failedWith(
        copyFile(*files, dir.chosen("MARLOcon.mdb"), dir.chosen("export.mdb"), {true, writeAlways}),
        FileFailure::SourceChanged));
    EXPECT_GE(attempts, 3);
    EXPECT_EQ(dir.read("export.mdb"), "old");
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "export.mdb"}));
}

TEST_F(WinFiles, ACopyWritesToAHiddenTemporaryNamedForItsDestinationAndClearsOldOnes)
{
    dir.write("src", "new");
    dir.write("MARLOcon.mdb", "old");
    {
        const auto staged = files->StageCopy(dir.chosen("src"), dir.member("MARLOcon.mdb"), {});
        ASSERT_TRUE(staged.ok()) << staged.error().description;
        const std::string temporary = temporaryIn(dir);
        EXPECT_TRUE(temporary.starts_with(".MARLOcon.mdb.~marlo-")) << temporary;
        EXPECT_TRUE(temporary.ends_with(".tmp")) << temporary;
        EXPECT_EQ(temporary.size(), std::string(".MARLOcon.mdb.~marlo-XXXXXX.tmp").size());
        EXPECT_TRUE(attributes(temporary) & FILE_ATTRIBUTE_HIDDEN);
        EXPECT_EQ(dir.names().size(), 3u);
    }

    // What killed copies may have left, and what only looks like it.
    const Names leftovers{".MARLOcon.mdb.~marlo-a1B2c3.tmp", ".marlocon.MDB.~marlo-zzzzzz.tmp"};
    const Names kept{".MARLOcon.mdb.~marlo-held00.tmp", ".MARLOcon.mdb.~marlo-q1w2e3.tmp",
                     ".MARLOcon.mdb.~marlo-short.tmp",  ".MARLOcon.mdb.~marlo-source.tmp",
                     ".MARLOspm.mdb.~marlo-a1B2c3.tmp", "MARLOcon.mdb.~marlo-a1B2c3.tmp"};
    for (const Names& names : {leftovers, kept})
        for (const std::string& name : names)
            dir.write(name, name);
    dir.setReadOnly(".MARLOcon.mdb.~marlo-q1w2e3.tmp");
    const UniqueHandle held =
        openFile(dir / ".MARLOcon.mdb.~marlo-held00.tmp", GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(held);

    ASSERT_TRUE(
        copyFile(*files, dir.chosen(".MARLOcon.mdb.~marlo-source.tmp"), dir.member("MARLOcon.mdb"))
            .ok());
    EXPECT_EQ(dir.read("MARLOcon.mdb"), ".MARLOcon.mdb.~marlo-source.tmp");
    Names expected = kept;
    expected.insert(expected.end(), {"MARLOcon.mdb", "src"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dir.names(), expected);
    EXPECT_FALSE(attributes("MARLOcon.mdb") & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(WinFiles, PlacingWaitsForNoHolderOfTheDestinationButBrieflyForAScannerOfTheCopy)
{
    dir.write("src", "new");
    dir.write("MARLOcon.mdb", "old");
    const FilePath live = dir.member("MARLOcon.mdb");
    {
        auto staged = files->StageCopy(dir.chosen("src"), live, {});
        ASSERT_TRUE(staged.ok()) << staged.error().description;
        {
            test::HelperProcess holder(helperProgram(), "hold \"" + (dir / "MARLOcon.mdb") + "\"");
            ASSERT_TRUE(holder.ready());
            EXPECT_TRUE(inUse(staged.value()->Place()));
            holder.closeInput();
            ASSERT_EQ(holder.wait(10000), 0);
        }
        EXPECT_EQ(dir.read("MARLOcon.mdb"), "old");
        // The staged copy is still whole once the holder lets go.
        ASSERT_TRUE(staged.value()->Place().ok());
        EXPECT_EQ(dir.read("MARLOcon.mdb"), "new");
    }

    // The scanner must get in between the copy's close and its rename, which
    // takes a few rounds.
    const auto placeWhileScanned = [&](DWORD hold, const std::string& content) {
        dir.write("src", content);
        std::optional<Scanner> scanner; // outlives the staged copy
        auto staged = files->StageCopy(dir.chosen("src"), live, {});
        EXPECT_TRUE(staged.ok()) << staged.error().description;
        if (!staged)
            return std::pair{staged.status(), false};
        scanner.emplace(dir / temporaryIn(dir), hold);
        const Status placed = staged.value()->Place();
        return std::pair{placed, scanner->gotIn()};
    };
    bool waited = false;
    int round = 0;
    for (; round < 100 && !waited; ++round) {
        const auto [placed, scanned] = placeWhileScanned(300, "scanned " + std::to_string(round));
        ASSERT_TRUE(placed.ok()) << placed.error().description;
        EXPECT_EQ(dir.read("MARLOcon.mdb"), "scanned " + std::to_string(round));
        waited = scanned;
    }
    EXPECT_TRUE(waited) << "the scanner never got in";
    std::cout << "  the scanner got in after " << round << " rounds\n";

    // A scanner that holds on: refused, but not as if the database were in
    // use. The copy it held cannot go at once; the next copy clears it.
    bool refused = false;
    for (round = 0; round < 100 && !refused; ++round) {
        const std::string before = dir.read("MARLOcon.mdb");
        const auto [placed, scanned] = placeWhileScanned(3000, "held " + std::to_string(round));
        if (!scanned)
            continue;
        refused = true;
        EXPECT_TRUE(failedWith(placed, FileFailure::NewCopyHeld));
        EXPECT_EQ(dir.read("MARLOcon.mdb"), before);
    }
    EXPECT_TRUE(refused) << "the scanner never got in";
    ASSERT_TRUE(copyFile(*files, dir.chosen("src"), live).ok());
    EXPECT_EQ(dir.names(), (Names{"MARLOcon.mdb", "src"}));
}
