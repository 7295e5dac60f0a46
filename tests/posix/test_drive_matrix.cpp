// The file layer, the reset, export, import and delete, and copies killed
// midway, on every kind of drive users keep their data on: each test binary
// runs again with its temporary folders on a freshly made drive. A drive this
// machine cannot make is reported as skipped, with the reason; under CI, as
// root, it fails instead, so that a drive missing from CI cannot pass unseen.
#include "DriveImage.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <map>
#include <string_view>

using namespace marlo::test;

namespace {

// The test binaries, as the command line names them: name=path.
std::map<std::string, std::string> binaries;

struct Drive {
    const char* kind;
    // Cases that ask of the drive what it cannot hold, and why.
    const char* without;
    const char* because;
};

// Permissions: NTFS through ntfs-3g and exFAT show every file as 0777 and
// FAT as 0700 whatever is asked, so cases about modes and folders without
// access do not apply; NTFS still has its read-only attribute, which the
// read-only cases set. FAT and exFAT have no links of either kind and fold
// the case of names; FAT through fusefat slows down so much on large files
// that its 40 MiB copy is left out, and so are the cancels aimed at the
// reading of a growing file, which its slow writes under load make miss
// their moment.
const Drive drives[] = {
    {"ext4", "", ""},
    {"xfs", "", ""},
    {"btrfs", "", ""},
    {"tmpfs", "", ""},
    {"ntfs", "*KeepsItsPermissions*:*CannotBeMade*", "no permissions"},
    {"exfat",
     "*KeepsItsPermissions*:*CannotBeMade*:*Link*:*ReadOnly*:*Refuses*:*KnownByItself*:"
     "*PatternCharacters*:*OnlyForARegularFile*:*CannotBeInspected*:*ThroughWine*:"
     "*AMemberIsFound*:*TheExactFormWins*:*ChosenPathsWithBackslashes*",
     "no permissions, no read-only mark the host can set, no links, case folded"},
    {"fat",
     "*KeepsItsPermissions*:*CannotBeMade*:*Link*:*ReadOnly*:*Refuses*:*KnownByItself*:"
     "*PatternCharacters*:*OnlyForARegularFile*:*CannotBeInspected*:*ThroughWine*:"
     "*AMemberIsFound*:*TheExactFormWins*:*ChosenPathsWithBackslashes*:"
     "*CopiesTheWholeContent*:*AnyReadingOfAChangingSource*",
     "no permissions, no read-only mark the host can set, no links, case folded, writes too "
     "slow for large files and for a cancel aimed at a growing file"},
};

// Runs one test binary with its temporary folders on the drive; answers its
// exit status and output.
std::pair<int, std::string> runOn(const std::string& binary, const std::string& folder,
                                  const std::string& without)
{
    char output[] = "/tmp/marlo-drive-output-XXXXXX";
    const int out = ::mkstemp(output);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::setenv("TMPDIR", folder.c_str(), 1);
        const std::string filter = "--gtest_filter=-" + without;
        ::execl(binary.c_str(), binary.c_str(), filter.c_str(), nullptr);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    std::string text;
    char buffer[4096];
    ::lseek(out, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(out, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(out);
    ::unlink(output);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), text};
}

// CI runs as root with every drive tool installed: there a drive that cannot
// be made is a broken machine, not a reason to test less.
bool everyDriveMustBeMade()
{
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true" && ::geteuid() == 0;
}

class DriveMatrix : public ::testing::TestWithParam<Drive> {};

} // namespace

TEST_P(DriveMatrix, EveryFlowKeepsItsGuaranteesOnTheDrive)
{
    const Drive& drive = GetParam();
    ASSERT_FALSE(binaries.empty()) << "no test programs were given to run on the drive";
    DriveImage image(drive.kind);
    if (!image.mounted()) {
        if (everyDriveMustBeMade())
            FAIL() << drive.kind << " cannot be made under CI: " << image.whyNot();
        GTEST_SKIP() << drive.kind << " cannot be made on this machine: " << image.whyNot();
    }
    if (*drive.without)
        std::cout << "left out on " << drive.kind << " (" << drive.because << "): " << drive.without
                  << "\n";
    for (const auto& [name, binary] : binaries) {
        const auto [status, output] = runOn(binary, image.path(), drive.without);
        EXPECT_EQ(status, 0) << name << " on " << drive.kind << ":\n" << output;
    }
}

INSTANTIATE_TEST_SUITE_P(Drives, DriveMatrix, ::testing::ValuesIn(drives),
                         [](const auto& info) { return std::string(info.param.kind); });

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const auto equals = argument.find('=');
        if (equals != std::string::npos)
            binaries[argument.substr(0, equals)] = argument.substr(equals + 1);
    }
    if (::geteuid() != 0)
        std::cout << "not root: no drive can be made, each is skipped\n";
    return RUN_ALL_TESTS();
}
