#include "DriveTrial.h"

#include "CrashImage.h"
#include "CrashStates.h"
#include "RunCommand.h"
#include "StateJudge.h"
#include "WriteLog.h"

#include <chrono>
#include <filesystem>
#include <map>

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
        faults = judgeFolder(folder, c, phase);
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
        for (std::string& fault : judgeNextRun(folder, c, next.status))
            faults.push_back(fault + (next.output.empty() ? "" : ": " + next.output));
    }
    return faults;
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
            const auto states =
                crashStates(log, c.folder, windowEnd, settings.subsetsPerInterval, random);
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
