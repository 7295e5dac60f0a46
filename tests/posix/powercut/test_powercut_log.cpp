// The trial's reading of a write log and its choice of crash states, on a
// log made here: a misread log would make every power-cut state vacuous.
#include "BlockMark.h"
#include "CrashStates.h"
#include "TempFolder.h"
#include "WriteLog.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <fstream>

using namespace marlo::test;

namespace {

constexpr std::uint64_t Sector = 512;
constexpr std::uint64_t MarkOffset = 64 * Sector;

// A log as QEMU's blklogwrites writes it, built entry by entry.
class LogBuilder {
public:
    void write(std::uint64_t sector, std::string data)
    {
        data.resize((data.size() + Sector - 1) / Sector * Sector, '\0');
        entry(sector, data.size() / Sector, 0, data);
    }
    void flush() { entry(0, 0, 1, {}); }
    void mark(const std::string& text)
    {
        std::string block(MarkSize, '\0');
        const std::string tagged = std::string(MarkTag) + text;
        std::memcpy(block.data(), tagged.data(), tagged.size());
        entry(MarkOffset / Sector, MarkSize / Sector, 0, block);
    }
    std::string save(const TempFolder& folder)
    {
        std::string header(Sector, '\0');
        const std::uint64_t fields[3] = {0x6a736677736872, 1, count_};
        const std::uint32_t sectorSize = Sector;
        std::memcpy(header.data(), fields, sizeof fields);
        std::memcpy(header.data() + sizeof fields, &sectorSize, sizeof sectorSize);
        const std::string path = folder.str() + "/writes.log";
        std::ofstream(path, std::ios::binary) << header << body_;
        return path;
    }

private:
    void entry(std::uint64_t sector, std::uint64_t sectors, std::uint64_t flags,
               const std::string& data)
    {
        std::string head(Sector, '\0');
        const std::uint64_t fields[4] = {sector, sectors, flags, 0};
        std::memcpy(head.data(), fields, sizeof fields);
        body_ += head + data;
        ++count_;
    }
    std::string body_;
    std::uint64_t count_ = 0;
};

} // namespace

TEST(PowercutLog, EntriesMarksAndFlushesAreReadAsWrittenAndWritesLandWhereTheySay)
{
    TempFolder folder;
    LogBuilder builder;
    builder.write(1, "before");                     // 0
    builder.flush();                                // 1
    builder.mark("start op");                       // 2
    builder.write(2, "first");                      // 3
    builder.write(3, "second");                     // 4
    builder.flush();                                // 5
    builder.mark("end op");                         // 6
    builder.write(4, std::string(2 * Sector, 'x')); // 7
    const WriteLog log(builder.save(folder), MarkOffset);

    ASSERT_EQ(log.entries().size(), 8u);
    EXPECT_EQ(log.flushes(), 2u);
    EXPECT_EQ(log.findMark("start op"), 2u);
    EXPECT_EQ(log.findMark("end op"), 6u);
    EXPECT_FALSE(log.findMark("start other"));
    EXPECT_FALSE(log.entries()[2].isWrite()) << "a mark is no write of the file system";

    const std::string image = folder.str() + "/disk.img";
    std::ofstream(image, std::ios::binary) << std::string(8 * Sector, '\0');
    const int fd = ::open(image.c_str(), O_RDWR);
    for (const auto& entry : log.entries())
        log.apply(entry, fd);
    ::close(fd);
    const std::string disk = folder.read("disk.img");
    EXPECT_EQ(disk.substr(Sector, 6), "before");
    EXPECT_EQ(disk.substr(3 * Sector, 6), "second");
    EXPECT_EQ(disk.substr(4 * Sector, 2 * Sector), std::string(2 * Sector, 'x'));
}

TEST(PowercutLog, EveryCutOfTheOperationIsJudgedInItsPhaseAndReorderingsStayWithinAFlush)
{
    TempFolder folder;
    LogBuilder builder;
    builder.write(1, "before");
    builder.flush();
    builder.mark("start op");  // 2
    builder.write(2, "a");     // 3
    builder.write(3, "b");     // 4
    builder.write(4, "c");     // 5
    builder.flush();           // 6
    builder.mark("end op");    // 7
    builder.write(5, "after"); // 8
    const WriteLog log(builder.save(folder), MarkOffset);
    std::mt19937_64 random(1);

    const auto states = crashStates(log, "op", log.entries().size(), 100, random);
    std::vector<std::size_t> cuts;
    for (const CrashState& s : states) {
        if (!s.extra.empty()) {
            // After the flush that preceded them, some of a, b and c only.
            EXPECT_EQ(s.upTo, 2u);
            for (std::size_t e : s.extra)
                EXPECT_TRUE(e >= 3 && e <= 5) << e;
            EXPECT_EQ(s.phase, Phase::During);
            continue;
        }
        cuts.push_back(s.upTo);
        const Phase expected = s.upTo == 2   ? Phase::Before
                               : s.upTo <= 7 ? Phase::During
                                             : Phase::Completed;
        EXPECT_EQ(s.phase, expected) << s.upTo;
    }
    // Each cut once; the flush's and the marks' own cuts change nothing but
    // the end's phase.
    EXPECT_EQ(cuts, (std::vector<std::size_t>{2, 4, 5, 6, 8, 9}));
    // Of the 8 subsets of a, b and c, the empty one and the first runs are
    // cuts already: 4 remain ({b}, {c}, {a c}, {b c}).
    EXPECT_EQ(states.size() - cuts.size(), 4u);

    EXPECT_THROW(crashStates(log, "other", log.entries().size(), 4, random), std::runtime_error);
}

TEST(PowercutLog, AFileThatIsNoWriteLogIsRefused)
{
    TempFolder folder;
    folder.write("other.log", std::string(4096, 'z'));
    EXPECT_THROW(WriteLog(folder.str() + "/other.log", MarkOffset), std::runtime_error);
}
