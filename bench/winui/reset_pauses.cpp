// The reset's pauses with the real clock: the whole reset sequence runs on
// the tests' in-memory platform, as after a press of "RESET NOW !" with both
// databases and one backup generation present, and each of its pauses is
// made by the pause under test and timed. Prints, for ::Sleep and for the
// window side's PrecisePause, the nominal sum of the pauses, the time they
// took and the ratio. Usage: reset_pauses [rounds]
#include "FakePlatform.h"
#include "PrecisePause.h"
#include "ResetSequence.h"
#include "WinSystem.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace marlo;

namespace {

double seconds()
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency);
}

// The fake platform whose pauses really pause, and are timed.
class TimedPauses : public test::FakePlatform {
public:
    explicit TimedPauses(std::function<void(int)> pause) : pause_(std::move(pause)) {}

    void Sleep(int milliseconds) override
    {
        FakePlatform::Sleep(milliseconds);
        const double start = seconds();
        pause_(milliseconds);
        const double over = (seconds() - start) * 1000 - milliseconds;
        measuredMs += milliseconds + over;
        worstOverMs = std::max(worstOverMs, over);
    }

    double measuredMs = 0;
    double worstOverMs = 0;

private:
    std::function<void(int)> pause_;
};

struct Run {
    long long nominalMs;
    double measuredMs;
    double worstOverMs;
};

Run resetWith(const std::function<void(int)>& pause)
{
    TimedPauses platform(pause);
    for (const char* name : {"cvmdb1.bin", "cvmdb2.bin", "MARLOcon.mdb", "MARLOspm.mdb",
                             "MARLOmdb.bak", "MARLOspm.bak"})
        platform.addFile(platform.path(std::string("\\") + name), name);
    ResetSequence(platform, platform).run();
    return {platform.sleptMs, platform.measuredMs, platform.worstOverMs};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const PrecisePause precise;
    struct Candidate {
        const char* name;
        std::function<void(int)> pause;
        std::vector<double> ratios, worst;
        long long nominalMs = 0;
    } candidates[] = {
        {"::Sleep", [](int ms) { ::Sleep(static_cast<DWORD>(ms)); }, {}, {}},
        {"PrecisePause", [&precise](int ms) { precise(ms); }, {}, {}},
    };
    for (int r = 0; r < rounds; ++r)
        for (Candidate& c : candidates) {
            const Run run = resetWith(c.pause);
            c.nominalMs = run.nominalMs;
            c.ratios.push_back(run.measuredMs / static_cast<double>(run.nominalMs));
            c.worst.push_back(run.worstOverMs);
        }
    std::printf("%-14s %12s %12s %8s %22s\n", "pause", "nominal (ms)", "taken (ms)", "ratio",
                "worst pause over (ms)");
    for (const Candidate& c : candidates) {
        const double ratio = median(c.ratios);
        std::printf("%-14s %12lld %12.0f %8.4f %22.2f\n", c.name, c.nominalMs,
                    ratio * static_cast<double>(c.nominalMs), ratio, median(c.worst));
    }
    std::printf("(medians of %d alternating rounds of the whole reset's pauses)\n", rounds);
    return 0;
}
