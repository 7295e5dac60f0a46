#pragma once

#include "DatabaseFiles.h"

#include <optional>
#include <string>
#include <vector>

namespace marlo::test {

// One database's files as a trial laid them out, and what the commands run
// on them may have done: each command that put a new content under the live
// name may have dropped the oldest content still kept, and a delete of the
// live database may have removed the content it found there.
struct FamilyTrial {
    Database database;
    // Every content of the family before, the oldest generation first and
    // the live database last: none may be lost but as said above.
    std::vector<std::string> kept{};
    // What the commands may have put under the live name (a template, an
    // import's source).
    std::vector<std::string> brought{};
    // The family's template where the folder has one, which no command
    // changes.
    std::optional<std::string> templateContent{};
    int mayDrop = 0;
    bool mayDelete = false;
    // A command that brings content ran to its end: the live name holds
    // brought content (or nothing, after a delete).
    bool liveIsNew = false;
};

struct Judgement {
    // Lost, torn or unknown content, a missing live database, a template
    // that changed, two generations that are one file.
    std::vector<std::string> faults;
    // Backups that are a second name of the live database: its content is
    // no backup while the main program writes the live one. A command
    // killed between giving the name and replacing the live database leaves
    // one; the next command must make it a file of its own.
    std::vector<std::string> secondNames;
    bool clean() const { return faults.empty() && secondNames.empty(); }
};

// Judges the family's names in `folder` (the live database, its five
// generations and the set-aside oldest) by content and by identity.
Judgement judgeFamily(const std::string& folder, const FamilyTrial& family);

// Both families judged at once; the faults of each name their file.
Judgement judgeFamilies(const std::string& folder, const std::vector<FamilyTrial>& families);

} // namespace marlo::test
