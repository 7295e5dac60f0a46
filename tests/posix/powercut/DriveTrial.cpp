#include "DriveTrial.h"

#include "CrashImage.h"
#include "CrashStates.h"
#include "RunCommand.h"
#include "StateJudge.h"
#include "WriteLog.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <set>

namespace marlo::test {

namespace {

constexpr std::size_t FaultsKept = 3;

// Judges one crash state of one operation; answers its faults.
std::vector<std::string> checkState(const TrialSettings& settings, const DriveKind& drive,
                                    const std::string& image, const OperationCase& c, Phase phase)
{
    const std::string mountPoint = settings.workFolder + "/mnt";
    const std::string folder = mountPoint + "/ops/" + c.folder;
    std::vector<std::string> faults;
    {
        MountedImage mounted(drive, image, mountPoint);
        if (!mounted.failure().empty())
            return {"the drive does not mount: " + mounted.failure()};
        // A file the drive cannot read back is a bad state, not a trial
        // that cannot run.
        try {
            faults = judgeFolder(folder, c, phase);
        } catch (const std::exception& e) {
            faults.push_back(std::string("a file cannot be read: ") + e.what());
        }
        if (std::string failed = mounted.unmount(); !failed.empty())
            faults.push_back(failed);
    }
    if (std::string report = checkDrive(drive, image); !report.empty())
        faults.push_back("the drive's checker: " + report.substr(0, 2000));

    MountedImage again(drive, image, mountPoint);
    if (!again.failure().empty())
        faults.push_back("the drive does not mount again: " + again.failure());
    else if (canRunAgain(folder, c)) {
        const CommandResult next = runCommand({settings.driver, c.operation, folder}, 60);
        try {
            for (std::string& fault : judgeNextRun(folder, c, next.status))
                faults.push_back(fault + (next.output.empty() ? "" : ": " + next.output));
        } catch (const std::exception& e) {
            faults.push_back(std::string("after the next run, a file cannot be read: ") + e.what());
        }
    }
    return faults;
}

bool isLiveName(const std::string& name, const OperationCase& c)
{
    for (const Family& f : c.families)
        if (name == f.live)
            return true;
    for (const Replaced& r : c.replaced)
        if (name == r.name && r.after)
            return true;
    return false;
}

// The kinds of a state's faults, as the trial reports them on a drive
// without a journal.
std::set<std::string> faultKinds(const std::vector<std::string>& faults, const OperationCase& c)
{
    std::set<std::string> kinds;
    for (const std::string& fault : faults) {
        const std::string name = fault.substr(0, fault.find(' '));
        if (fault.starts_with("the drive's checker")) {
            // A FAT that was mounted when the power went carries the mark
            // of an unclean unmount, and its free count is only a hint:
            // lost clusters and damaged files are what matter beyond that.
            kinds.insert("checker complaint");
            for (const char* worse : {"Reclaimed", "FATs differ", "ERROR", "orphan"})
                if (fault.find(worse) != std::string::npos)
                    kinds.insert("checker: lost clusters or damaged files");
        } else if (fault.find("does not mount") != std::string::npos)
            kinds.insert("does not mount");
        else if (fault.starts_with("the next") || fault.starts_with("after the next"))
            kinds.insert("next run fails");
        else if (fault.ends_with(" is missing") && isLiveName(name, c))
            kinds.insert("live file missing");
        else if (fault.find("torn") != std::string::npos || fault.ends_with(" empty"))
            kinds.insert("torn or empty");
        else if (fault.find("neither under its name nor") != std::string::npos ||
                 (fault.ends_with(" is missing") && name.find(".ba") != std::string::npos))
            kinds.insert("generation lost");
        else
            kinds.insert("other");
    }
    return kinds;
}

std::vector<CrashState> sampled(const std::vector<CrashState>& states, const WriteLog& log)
{
    std::vector<CrashState> kept;
    int cut = 0;
    for (std::size_t i = 0; i < states.size(); ++i) {
        const CrashState& s = states[i];
        const bool atFlush = s.upTo < log.entries().size() && log.entries()[s.upTo].isFlush();
        const bool edge = i == 0 || s.phase == Phase::Completed || i + 1 == states.size();
        if (!s.extra.empty() || atFlush || edge || cut++ % 3 == 0)
            kept.push_back(s);
    }
    return kept;
}

} // namespace

DriveTally trialOnDrive(const TrialSettings& settings, const DriveKind& drive,
                        const std::vector<OperationCase>& cases, std::mt19937_64& random)
{
    DriveTally tally;
    const std::string pristine = settings.workFolder + "/pristine.img";
    const std::string image = settings.workFolder + "/guest.img";
    const std::string logPath = settings.workFolder + "/writes.log";
    std::filesystem::create_directories(settings.workFolder + "/mnt");

    std::map<std::string, std::string> files;
    for (const OperationCase& c : cases)
        for (const auto& [name, content] : c.layout)
            files["ops/" + c.folder + "/" + name] = content;
    if (std::string failed = makePristine(drive, pristine, settings.workFolder + "/mnt", files);
        !failed.empty()) {
        tally.failure = "cannot make the drive: " + failed;
        return tally;
    }
    std::filesystem::copy_file(pristine, image, std::filesystem::copy_options::overwrite_existing);
    const GuestResult guest =
        runGuest(settings.guest, drive, image, logPath, settings.skipDataFlush);
    tally.guestSeconds = guest.seconds;
    std::filesystem::remove(image);
    if (!guest.failure.empty()) {
        tally.failure = "the guest run failed: " + guest.failure;
        return tally;
    }

    const auto checkStart = std::chrono::steady_clock::now();
    try {
        const WriteLog log(logPath, drive.markOffset());
        tally.entries = log.entries().size();
        tally.flushes = log.flushes();
        CrashImage crash(log, pristine, settings.workFolder);
        for (std::size_t i = 0; i < cases.size(); ++i) {
            const OperationCase& c = cases[i];
            OperationTally op;
            op.folder = c.folder;
            const std::size_t windowEnd =
                i + 1 < cases.size() ? log.findMark("start " + cases[i + 1].folder).value_or(0)
                                     : log.entries().size();
            // Without a journal the states are measured, not judged: one
            // reordering per flush interval, and of the cuts in log order
            // those at a flush, the first and last, and every third, keep
            // the run short.
            auto states = crashStates(log, c.folder, windowEnd,
                                      drive.journaled ? settings.subsetsPerInterval
                                                      : std::min(settings.subsetsPerInterval, 1),
                                      random);
            if (!drive.journaled)
                states = sampled(states, log);
            const std::size_t first = *log.findMark("start " + c.folder);
            const std::size_t last = *log.findMark("end " + c.folder);
            op.entries = last - first - 1;
            for (std::size_t e = first; e < last; ++e)
                op.flushes += log.entries()[e].isFlush();
            for (const CrashState& state : states) {
                const std::string& path = crash.make(state.upTo, state.extra);
                const std::vector<std::string> faults =
                    checkState(settings, drive, path, c, state.phase);
                ++op.states;
                op.subsetStates += !state.extra.empty();
                if (faults.empty())
                    continue;
                ++op.badStates;
                op.badCompleted += state.phase == Phase::Completed;
                for (const std::string& kind : faultKinds(faults, c))
                    ++op.badKinds[kind];
                if (op.firstFaults.size() < FaultsKept) {
                    std::string text = state.describe(log.entries().size()) + ":";
                    for (const std::string& fault : faults)
                        text += "\n      " + fault;
                    op.firstFaults.push_back(text);
                }
            }
            tally.operations.push_back(op);
        }
    } catch (const std::exception& e) {
        tally.failure = e.what();
    }
    tally.checkSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - checkStart).count();
    std::filesystem::remove(pristine);
    std::filesystem::remove(logPath);
    return tally;
}

} // namespace marlo::test
