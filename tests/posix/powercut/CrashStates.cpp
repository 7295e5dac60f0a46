#include "CrashStates.h"

#include <algorithm>
#include <set>
#include <stdexcept>

namespace marlo::test {

std::string CrashState::describe(std::size_t entries) const
{
    std::string text =
        "power cut after entry " + std::to_string(upTo) + " of " + std::to_string(entries);
    if (!extra.empty()) {
        text += ", and of the unflushed writes after it only entries";
        for (std::size_t index : extra)
            text.append(" ").append(std::to_string(index + 1));
    }
    return text;
}

std::vector<CrashState> crashStates(const WriteLog& log, const std::string& folder,
                                    std::size_t windowEnd, int subsetsPerInterval,
                                    std::mt19937_64& random)
{
    const auto start = log.findMark("start " + folder);
    const auto end = log.findMark("end " + folder);
    if (!start || !end)
        throw std::runtime_error("the write log has no marks for " + folder);
    const auto& entries = log.entries();

    std::vector<CrashState> states{{*start, {}, Phase::Before}};
    for (std::size_t upTo = *start + 1; upTo <= windowEnd; ++upTo) {
        const Phase phase = upTo <= *end ? Phase::During : Phase::Completed;
        // An entry that writes nothing leaves the state as it was; the state
        // at the end is judged once more, as the completed operation.
        if (entries[upTo - 1].isWrite() ||
            (phase == Phase::Completed && states.back().phase != Phase::Completed))
            states.push_back({upTo, {}, phase});
    }

    // The flush intervals the operation wrote in: each from just after a
    // flush (or the log's start) to the next flush.
    std::size_t intervalStart = 0;
    for (std::size_t i = 0; i <= entries.size(); ++i) {
        if (i < entries.size() && !entries[i].isFlush())
            continue;
        std::vector<std::size_t> writes;
        for (std::size_t w = intervalStart; w < i; ++w)
            if (entries[w].isWrite())
                writes.push_back(w);
        const bool operations = !writes.empty() && writes.back() > *start && writes.front() < *end;
        if (operations && writes.size() > 1) {
            std::set<std::vector<std::size_t>> tried;
            for (int attempt = 0; static_cast<int>(tried.size()) < subsetsPerInterval &&
                                  attempt < 8 * subsetsPerInterval;
                 ++attempt) {
                std::vector<std::size_t> subset;
                for (std::size_t w : writes)
                    if (random() & 1)
                        subset.push_back(w);
                // A first run of the interval's writes is a cut already checked.
                const bool prefix = std::equal(subset.begin(), subset.end(), writes.begin());
                if (!prefix && tried.insert(subset).second)
                    states.push_back({intervalStart, subset, Phase::During});
            }
        }
        intervalStart = i + 1;
    }
    std::stable_sort(states.begin(), states.end(),
                     [](const CrashState& a, const CrashState& b) { return a.upTo < b.upTo; });
    return states;
}

} // namespace marlo::test
