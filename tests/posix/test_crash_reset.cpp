// Resets killed in every phase, and two commands at once on one folder,
// killed or not: no content is lost but the oldest generations the commands
// drop, no live database goes missing or is torn, and no backup stays a
// second name of its live database.
#include "ChildProcess.h"
#include "CrashCheck.h"
#include "FamilyJudge.h"
#include "ResetSequence.h"
#include "ScaledPauses.h"
#include "TrialFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <thread>

using namespace marlo;
using namespace marlo::test;
using Clock = std::chrono::steady_clock;

namespace {

const char* driverPath = nullptr;

// The reset's ten seconds of pauses last 0.3 s.
constexpr double PauseScale = 0.03;

// A reset (with its pauses), an import of the file beside the folder, or a
// delete of the live CON database, started on the trial's folder.
std::unique_ptr<ChildProcess> start(const TrialFolder& t, const std::string& command)
{
    const std::string argument =
        command == "reset"    ? std::to_string(PauseScale)
        : command == "import" ? t.source
                              : t.app + "/" + memberPath(t.app, Database::Con, Role::Live).name();
    return std::make_unique<ChildProcess>(
        std::vector<std::string>{driverPath, t.app, command, argument});
}

// A whole reset without pauses, in this process; answers its exit status.
int resetAgain(const std::string& app)
{
    ScaledPauses platform(app, 0);
    ResetSequence(platform, platform).run();
    return platform.endedWith.value_or(3);
}

// What the judge found, counted by what it said and where.
struct Findings {
    std::map<std::string, int> counts;

    void add(const std::string& where, const std::vector<std::string>& faults)
    {
        for (const std::string& fault : faults)
            ++counts[where + ": " + fault];
    }
    int total() const
    {
        int all = 0;
        for (const auto& [fault, n] : counts)
            all += n;
        return all;
    }
    void expectNone() const
    {
        for (const auto& [fault, n] : counts)
            ADD_FAILURE() << n << " x " << fault;
    }
};

// The folder after the commands of `ran`: its faults are counted; answers
// whether a backup is a second name of its live database, which only a
// kill may leave.
bool judged(const TrialFolder& t, const TrialFolder::Ran& ran, const std::string& where,
            Findings& findings)
{
    const Judgement j = judgeFamilies(t.app, t.after(ran));
    findings.add(where, j.faults);
    return !j.secondNames.empty();
}

// The next reset runs to its end, makes every backup a file of its own and
// loses nothing more.
void resetAgainAndJudge(const TrialFolder& t, TrialFolder::Ran ran, const std::string& where,
                        Findings& findings)
{
    if (const int status = resetAgain(t.app); status != 0)
        findings.add(where, {"the next reset failed (exit status " + std::to_string(status) + ")"});
    ++ran.resets;
    ++ran.resetsCompleted;
    const Judgement j = judgeFamilies(t.app, t.after(ran));
    findings.add(where + ", after the next reset", j.faults);
    findings.add(where + ", after the next reset", j.secondNames);
}

// The phase of the reset that each of its pauses, and the steps up to the
// next one, fall in, as a run on the fake shows them.
std::vector<std::string> pausePhases(const std::vector<std::string>& calls)
{
    std::vector<std::string> phases;
    bool changed = false, inLoop = false;
    int pass = 0; // the counted loop's, as its DoEvents count them
    for (std::size_t i = 0; i < calls.size(); ++i) {
        const std::string& line = calls[i];
        if (line == "DoEvents")
            ++pass;
        changed = changed || line.starts_with("MoveFile ") || line.starts_with("SetAside ");
        if (!line.starts_with("Sleep "))
            continue;
        const bool endOfPass = i + 1 < calls.size() && calls[i + 1] == "DoEvents";
        inLoop = inLoop || endOfPass;
        // An end of pass is followed by the next pass's steps.
        const int next = endOfPass ? pass + 1 : pass;
        if (!inLoop)
            phases.push_back(changed ? "during rotation" : "before rotation");
        else if (pass > 100)
            phases.push_back("closing pauses");
        else if (next == 25 || next == 75)
            phases.push_back("at pass " + std::to_string(next));
        else
            phases.push_back(next < 25   ? "loop before pass 25"
                             : next < 75 ? "loop between passes 25 and 75"
                                         : "loop after pass 75");
    }
    return phases;
}

} // namespace

TEST(CrashReset, AResetKilledInEveryPhaseLosesNothingAndLeavesNoSecondName)
{
    ASSERT_NE(driverPath, nullptr);
    auto random = seededGenerator();

    std::vector<std::string> phases;
    {
        TrialFolder t;
        ScaledPauses platform(t.app, 0);
        ResetSequence(platform, platform).run();
        ASSERT_EQ(platform.endedWith, 0);
        phases = pausePhases(platform.calls);
    }
    std::vector<std::string> phaseNames;
    for (const std::string& phase : phases)
        if (std::find(phaseNames.begin(), phaseNames.end(), phase) == phaseNames.end())
            phaseNames.push_back(phase);
    ASSERT_EQ(phaseNames.size(), 8u);

    // How long each pause and the steps after it last, at most.
    std::vector<Clock::duration> spans(phases.size());
    for (int i = 0; i < 2; ++i) {
        TrialFolder t;
        auto driver = start(t, "reset");
        ASSERT_TRUE(driver->waitReady());
        Clock::time_point last{};
        for (std::size_t p = 0; p <= phases.size(); ++p) {
            const bool signalled = driver->waitReady();
            ASSERT_EQ(signalled, p < phases.size()) << "pause " << p;
            if (p > 0)
                spans[p - 1] = std::max(spans[p - 1], Clock::now() - last);
            last = Clock::now();
        }
        ASSERT_EQ(driver->wait(), 0);
    }

    // Phase by phase in turn, at a random pause of the phase and a random
    // instant of its span; a driver that ended first is tried again.
    const int kills = trialRuns();
    int killed = 0, runs = 0;
    std::map<std::string, int> killedIn, secondNamesIn;
    Findings findings;
    while (killed < kills && runs < 4 * kills) {
        const std::string& phase = phaseNames[static_cast<std::size_t>(killed) % phaseNames.size()];
        std::vector<std::size_t> pauses;
        for (std::size_t p = 0; p < phases.size(); ++p)
            if (phases[p] == phase)
                pauses.push_back(p);
        const std::size_t pause =
            pauses[std::uniform_int_distribution<std::size_t>(0, pauses.size() - 1)(random)];
        ++runs;

        TrialFolder t;
        auto driver = start(t, "reset");
        ASSERT_TRUE(driver->waitReady());
        for (std::size_t p = 0; p <= pause; ++p)
            ASSERT_TRUE(driver->waitReady());
        std::this_thread::sleep_for(
            std::uniform_int_distribution<Clock::rep>(0, spans[pause].count())(random) *
            Clock::duration(1));
        // Every other round a log-off's SIGTERM: that one waits for the
        // placing and never leaves a second name.
        const bool logOff = static_cast<std::size_t>(killed) / phaseNames.size() % 2 == 1;
        if (!driver->killNow(logOff ? SIGTERM : SIGKILL))
            continue;
        ++killed;
        ++killedIn[phase];
        const bool secondName = judged(t, {.resets = 1}, phase, findings);
        secondNamesIn[phase] += secondName;
        if (logOff && secondName)
            findings.add(phase, {"a SIGTERM left a backup a second name of its live database"});
        resetAgainAndJudge(t, {.resets = 1}, phase, findings);
    }
    for (const std::string& phase : phaseNames)
        std::cout << "reset killed " << phase << ": " << killedIn[phase] << " kills, "
                  << secondNamesIn[phase] << " left a second name" << std::endl;
    std::cout << killed << " resets killed in " << runs << " runs; the judge found "
              << findings.total() << " faults" << std::endl;
    findings.expectNone();
    EXPECT_EQ(killed, kills);
}

// Two commands started together on one folder, with a random offset, and
// killed or not: a command that finds the other changing the folder is
// refused, and whatever the order, the folder loses nothing but what the
// commands drop.
TEST(CrashTwoCommands, TwoCommandsAtOnceKeepOneConsistentFolder)
{
    ASSERT_NE(driverPath, nullptr);
    auto random = seededGenerator();
    const auto uniform = [&](Clock::duration span) {
        return std::uniform_int_distribution<Clock::rep>(0, span.count())(random) *
               Clock::duration(1);
    };

    // How long each command takes alone once its driver is ready.
    std::map<std::string, Clock::duration> takes;
    for (const std::string command : {"reset", "import", "delete"}) {
        TrialFolder t;
        auto driver = start(t, command);
        ASSERT_TRUE(driver->waitReady());
        const auto began = Clock::now();
        ASSERT_EQ(driver->wait(), 0) << command;
        takes[command] = Clock::now() - began;
    }

    const std::pair<std::string, std::string> pairs[] = {
        {"reset", "import"}, {"reset", "reset"}, {"import", "delete"}};
    Findings findings;
    for (const auto& [one, other] : pairs) {
        const std::string scenario = one + "+" + other;
        int kills = 0, completed = 0, refused = 0, failed = 0, secondNames = 0;
        const int runs = trialRuns() / 2;
        for (int run = 0; run < runs; ++run) {
            TrialFolder t;
            std::string commands[2] = {one, other};
            if (random() % 2)
                std::swap(commands[0], commands[1]);
            const unsigned killing = random() % 4; // bit i: kill command i
            std::unique_ptr<ChildProcess> drivers[2];
            Clock::time_point killAt[2];
            for (int i = 0; i < 2; ++i) {
                if (i == 1)
                    std::this_thread::sleep_for(uniform(takes[commands[0]]));
                drivers[i] = start(t, commands[i]);
                ASSERT_TRUE(drivers[i]->waitReady());
                killAt[i] = Clock::now() + uniform(takes[commands[i]]);
            }
            const int firstKill = killAt[0] < killAt[1] ? 0 : 1;
            for (int i : {firstKill, 1 - firstKill})
                if (killing & (1u << i)) {
                    std::this_thread::sleep_until(killAt[i]);
                    drivers[i]->killNow();
                }

            TrialFolder::Ran ran;
            bool anyKilled = false;
            for (int i = 0; i < 2; ++i) {
                const int status = drivers[i]->wait();
                const bool killed = status == 128 + SIGKILL;
                anyKilled = anyKilled || killed;
                kills += killed;
                completed += status == 0;
                refused += status == 4;
                failed += status == 1;
                if (status != 0 && status != 1 && status != 4 && !killed)
                    findings.add(scenario, {commands[i] + " ended with exit status " +
                                            std::to_string(status)});
                // A refused command changes nothing; one that failed may have
                // put its content in place first (and says so).
                if (!killed && status != 0 && status != 1)
                    continue;
                if (commands[i] == "reset") {
                    ++ran.resets;
                    ran.resetsCompleted += status == 0;
                } else if (commands[i] == "import") {
                    ++ran.imports;
                    ran.importsCompleted += status == 0;
                } else {
                    ran.deleted = true;
                }
            }
            if (!judged(t, ran, scenario, findings))
                continue;
            if (!anyKilled)
                findings.add(scenario, {"a backup is a second name of its live database "
                                        "although no command was killed"});
            ++secondNames;
            resetAgainAndJudge(t, ran, scenario, findings);
        }
        std::cout << scenario << ": " << runs << " runs, " << kills << " commands killed, "
                  << completed << " completed, " << refused << " refused, " << failed << " failed; "
                  << secondNames << " runs left a second name" << std::endl;
    }
    std::cout << "the judge found " << findings.total() << " faults" << std::endl;
    findings.expectNone();
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The drive matrix names the driver in the environment.
    driverPath = argc > 1 ? argv[1] : std::getenv("MARLO_CRASH_DRIVER");
    return RUN_ALL_TESTS();
}
