// Power cuts at every block write: the operations of the tools run in a
// virtual machine whose disk logs every write and flush, and every state a
// power cut could leave is rebuilt, mounted and checked, on ext4 (with its
// defaults and with noauto_da_alloc), XFS and btrfs. A variant of the driver
// that skips the data flush before the rename must be caught. On the
// kernel's FAT and exFAT, which have no journal, the bad states are counted
// by kind and printed, not failed.
//   powercut_trial <driver> <make_initramfs.sh> <guest_init.sh>
// MARLO_POWERCUT_SUBSETS sets the random subsets tried per flush interval
// (4 by default), MARLO_CRASH_SEED repeats a run. Exits 77 (skipped) on a
// machine that cannot run the trial, except under CI, where that fails.
#include "CrashCheck.h"
#include "DriveTrial.h"
#include "RunCommand.h"

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <regex>
#include <string_view>

using namespace marlo::test;

namespace {

constexpr int Skipped = 77;

bool underCi()
{
    const char* ci = std::getenv("CI");
    return ci && std::string_view(ci) == "true";
}

// What this machine lacks for the trial; empty when it has everything.
std::string whatIsMissing(const Guest& guest)
{
    if (::geteuid() != 0)
        return "not root: the trial mounts loop images";
    std::string missing;
    for (const char* tool : {"qemu-system-x86_64", "cpio", "gzip", "modprobe"})
        if (!onPath(tool))
            missing += std::string(tool) + "\n";
    if (guest.kernel.empty())
        missing += "a kernel under /boot with its modules (linux-image-amd64)\n";
    if (!std::filesystem::exists("/bin/busybox"))
        missing += "/bin/busybox (busybox-static)\n";
    missing += missingDriveTools();
    if (!missing.empty())
        return "missing:\n" + missing;
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return "no mount namespace of its own";
    return {};
}

int subsetsPerInterval()
{
    const char* given = std::getenv("MARLO_POWERCUT_SUBSETS");
    return given ? std::max(0, std::atoi(given)) : 4;
}

// Every drive, or those MARLO_POWERCUT_DRIVES names (comma-separated), for a
// shorter run by hand.
std::vector<DriveKind> chosenDrives(const std::vector<DriveKind>& drives)
{
    const char* given = std::getenv("MARLO_POWERCUT_DRIVES");
    std::vector<DriveKind> chosen;
    for (const DriveKind& drive : drives)
        if (!given || std::regex_search(given, std::regex("(^|,)" + drive.name + "(,|$)")))
            chosen.push_back(drive);
    return chosen;
}

void printOperations(const DriveKind& drive, const DriveTally& tally)
{
    for (const OperationTally& op : tally.operations) {
        std::printf("  %-21s %-16s %5zu entries %3zu flushes %5d states (%4d reordered) %5d bad\n",
                    drive.name.c_str(), op.folder.c_str(), op.entries, op.flushes, op.states,
                    op.subsetStates, op.badStates);
        if (op.badStates > 0 && !drive.journaled) {
            std::printf("    %d of them after the operation had succeeded;", op.badCompleted);
            for (const auto& [kind, n] : op.badKinds)
                std::printf(" %s %d,", kind.c_str(), n);
            std::printf("\n");
        }
        for (const std::string& fault : op.firstFaults)
            std::printf("    %s\n", fault.c_str());
    }
}

int totalStates(const DriveTally& tally, bool bad)
{
    int n = 0;
    for (const OperationTally& op : tally.operations)
        n += bad ? op.badStates : op.states;
    return n;
}

// A drive's operations and its line of figures; false when the trial could
// not run there.
bool reportDrive(const DriveKind& drive, const DriveTally& tally)
{
    printOperations(drive, tally);
    std::printf("  %-21s log of %zu entries, %zu flushes; guest %.1f s, %d states checked in "
                "%.1f s, %d bad\n",
                drive.name.c_str(), tally.entries, tally.flushes, tally.guestSeconds,
                totalStates(tally, false), tally.checkSeconds, totalStates(tally, true));
    if (tally.failure.empty())
        return true;
    std::cout << "  FAILED on " << drive.name << ": " << tally.failure << "\n";
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::cerr << "usage: powercut_trial <driver> <make_initramfs.sh> <guest_init.sh>\n";
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const auto [kernel, version] = findGuestKernel();
    TrialSettings settings;
    settings.driver = std::filesystem::absolute(argv[1]);
    settings.guest.kernel = kernel;
    settings.subsetsPerInterval = subsetsPerInterval();

    if (const std::string missing = whatIsMissing(settings.guest); !missing.empty()) {
        if (underCi()) {
            std::cout << "FAILED: the power-cut trial cannot run under CI: " << missing << "\n";
            return 1;
        }
        std::cout << "SKIPPED: the power-cut trial cannot run on this machine: " << missing << "\n";
        return Skipped;
    }

    // Images live in memory where there is room: they are sparse and small.
    std::string work = std::filesystem::exists("/dev/shm") ? "/dev/shm/marlo-powercut-XXXXXX"
                                                           : "/tmp/marlo-powercut-XXXXXX";
    if (!::mkdtemp(work.data())) {
        std::cout << "FAILED: no work folder\n";
        return 1;
    }
    settings.workFolder = work;
    struct RemoveWork {
        std::string path;
        ~RemoveWork() { std::filesystem::remove_all(path); }
    } removeWork{work};

    settings.guest.initramfs = work + "/initramfs.cpio.gz";
    if (CommandResult made =
            runCommand({argv[2], settings.guest.initramfs, settings.driver, argv[3], version}, 120);
        !made.ok()) {
        std::cout << "FAILED: cannot build the guest: " << made.output << "\n";
        return 1;
    }
    auto random = seededGenerator();
    std::cout << "guest kernel " << version << "; " << settings.subsetsPerInterval
              << " random subsets of the unflushed writes per flush interval\n";

    bool passed = true;
    int states = 0;
    std::cout << "\nThe tools' operations:\n";
    for (const DriveKind& drive : chosenDrives(trialDrives())) {
        const DriveTally tally = trialOnDrive(settings, drive, trialCases(), random);
        passed = reportDrive(drive, tally) && passed;
        passed = passed && totalStates(tally, true) == 0;
        states += totalStates(tally, false);
        std::fflush(stdout);
    }

    // The same import without the data flush before its rename: the trial
    // must see what that leaves, or it proves nothing.
    std::cout << "\nThe import without its data flush (must be caught on xfs and btrfs):\n";
    settings.skipDataFlush = true;
    for (const DriveKind& drive : chosenDrives(trialDrives())) {
        const DriveTally tally = trialOnDrive(settings, drive, importCaseOnly(), random);
        const int bad = totalStates(tally, true);
        std::printf("  %-21s %d states checked in %.1f s, %d bad\n", drive.name.c_str(),
                    totalStates(tally, false), tally.checkSeconds, bad);
        if (!tally.operations.empty() && !tally.operations[0].firstFaults.empty())
            std::printf("    first: %s\n", tally.operations[0].firstFaults[0].c_str());
        if (!tally.failure.empty()) {
            std::cout << "  FAILED on " << drive.name << ": " << tally.failure << "\n";
            passed = false;
        }
        if ((drive.name == "xfs" || drive.name == "btrfs") && bad == 0) {
            std::cout << "  FAILED: the missing flush went unseen on " << drive.name << "\n";
            passed = false;
        }
        states += totalStates(tally, false);
        std::fflush(stdout);
    }

    // FAT and exFAT have no journal: what a power cut leaves there is
    // measured and printed, and fails the trial only when it cannot be run.
    std::cout << "\nThe tools' operations on drives without a journal (measured, not judged):\n";
    for (const DriveKind& drive : chosenDrives(unjournaledDrives())) {
        const DriveTally tally = trialOnDrive(settings, drive, trialCases(), random);
        passed = reportDrive(drive, tally) && passed;
        states += totalStates(tally, false);
        std::fflush(stdout);
    }

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("\n%d crash states in %.0f s: %s\n", states, seconds, passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
