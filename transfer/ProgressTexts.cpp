#include "ProgressTexts.h"

#include "DatabaseFiles.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace marlo::progress {

namespace {

constexpr std::uint64_t MiB = 1 << 20;

bool sameLetters(std::string_view a, std::string_view b)
{
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// A count of tenths of a MiB, as "12.3".
std::string tenths(std::uint64_t count)
{
    return std::to_string(count / 10) + '.' + std::to_string(count % 10);
}

} // namespace

std::string shownName(const std::string& path, const std::string& applicationFolder,
                      FileSystem& files)
{
    const std::string_view built(path);
    if (built.starts_with(applicationFolder) && built.size() > applicationFolder.size() &&
        built[applicationFolder.size()] == '\\') {
        const std::string_view suffix = built.substr(applicationFolder.size());
        for (const Member& m : allMembers())
            if (!m.userForm.empty() && sameLetters(suffix, m.suffix))
                return std::string(m.userForm);
        return std::string(suffix.substr(1));
    }
    const std::string name = files.NameOf(path);
    return name.empty() ? path : name;
}

std::string copyingLine(const std::string& sourceName, const std::string& destinationName)
{
    return " Copying " + sourceName + " to " + destinationName + "... ";
}

std::string bytesLine(std::uint64_t copied, std::uint64_t total)
{
    const std::uint64_t scale = total >= 10 * MiB ? 1 : 10; // whole MiB or tenths
    const std::uint64_t whole = (total * scale + MiB - 1) / MiB;
    const std::uint64_t done = copied >= total ? whole : copied * scale / MiB;
    if (scale == 1)
        return ' ' + std::to_string(done) + " of " + std::to_string(whole) + " MiB ";
    return ' ' + tenths(done) + " of " + tenths(whole) + " MiB ";
}

std::string stepLine(const CopyStep& step)
{
    if (step.phase == CopyStep::Phase::Checking)
        return Checking;
    const std::string figures = bytesLine(step.done, step.total);
    if (step.phase == CopyStep::Phase::Reading && step.attempt > 1)
        return " The file changed; copying again:" + figures;
    return figures;
}

} // namespace marlo::progress
