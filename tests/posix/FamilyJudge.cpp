#include "FamilyJudge.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <utility>

namespace marlo::test {

namespace {

struct Found {
    std::string name;
    std::string content;
    dev_t device;
    ino_t inode;
};

std::optional<Found> look(const FilePath& path)
{
    const std::string file = path.folder() + "/" + path.name();
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0)
        return std::nullopt;
    std::string content(static_cast<std::size_t>(st.st_size), '\0');
    std::ifstream in(file, std::ios::binary);
    in.read(content.data(), st.st_size);
    content.resize(static_cast<std::size_t>(in.gcount()));
    return Found{path.name(), std::move(content), st.st_dev, st.st_ino};
}

bool among(const std::vector<std::string>& contents, const std::string& content)
{
    return std::find(contents.begin(), contents.end(), content) != contents.end();
}

// A content as the judge's reader knows it: its first line is its tag.
std::string tagOf(const std::string& content)
{
    return content.substr(0, std::min(content.find('\n'), std::size_t{40}));
}

} // namespace

Judgement judgeFamily(const std::string& folder, const FamilyTrial& f)
{
    Judgement j;
    std::vector<Found> names; // the live database first, then .bak to .ba5
    for (const FilePath& path : familyPaths(folder, f.database))
        if (auto found = look(path))
            names.push_back(*found);
    const std::optional<Found> aside = look(asidePath(folder, f.database));
    const std::string live = memberPath(folder, f.database, Role::Live).name();

    for (const Found& n : names)
        if (!among(f.kept, n.content) && !among(f.brought, n.content))
            j.faults.push_back(n.name + " is torn or of unknown content (" +
                               std::to_string(n.content.size()) + " bytes)");
    const bool liveThere = !names.empty() && names.front().name == live;
    if (!liveThere && !f.mayDelete)
        j.faults.push_back(live + " is missing");
    if (liveThere && f.liveIsNew && among(f.kept, names.front().content))
        j.faults.push_back(live + " is " + tagOf(names.front().content) +
                           " still, not the new content of a command that completed");

    // What is gone may only be the oldest contents, one for each command
    // that put a new one in place, and the live one a delete found.
    int lost = 0;
    for (std::size_t i = 0; i < f.kept.size(); ++i) {
        const std::string& content = f.kept[i];
        const bool there = std::any_of(names.begin(), names.end(),
                                       [&](const Found& n) { return n.content == content; }) ||
                           (aside && aside->content == content);
        if (there)
            continue;
        const bool oldest = static_cast<int>(i) < f.mayDrop && static_cast<int>(i) == lost;
        const bool deleted = f.mayDelete && i + 1 == f.kept.size();
        if (oldest)
            ++lost;
        else if (!deleted)
            j.faults.push_back(tagOf(content) + " was lost");
    }

    const std::string newest = backupPath(folder, f.database, 1).name();
    for (std::size_t a = 0; a < names.size(); ++a)
        for (std::size_t b = a + 1; b < names.size(); ++b)
            if (names[a].device == names[b].device && names[a].inode == names[b].inode)
                (names[a].name == live && names[b].name == newest ? j.secondNames : j.faults)
                    .push_back(names[b].name + " is a second name of " + names[a].name);

    const FilePath templ = memberPath(folder, f.database, Role::Template);
    if (f.templateContent) {
        const std::optional<Found> templateNow = look(templ);
        if (!templateNow || templateNow->content != *f.templateContent)
            j.faults.push_back(templ.name() + " changed");
    }
    return j;
}

Judgement judgeFamilies(const std::string& folder, const std::vector<FamilyTrial>& families)
{
    Judgement all;
    for (const FamilyTrial& f : families) {
        Judgement j = judgeFamily(folder, f);
        all.faults.insert(all.faults.end(), j.faults.begin(), j.faults.end());
        all.secondNames.insert(all.secondNames.end(), j.secondNames.begin(), j.secondNames.end());
    }
    return all;
}

} // namespace marlo::test
