#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace marlo::test {

// One database whose live name the operation gives new content, keeping the
// old one as the newest of its backup generations.
struct Family {
    std::string live;                     // the live name, "MARLOcon.mdb"
    std::string stem;                     // of its generations, "MARLOmdb"
    std::string aside;                    // where the oldest generation waits to be dropped
    std::optional<std::string> oldLive;   // none when there is no live database
    std::vector<std::string> generations; // .bak, .ba2, ... as they were
    std::string newLive;

    std::string generation(int g) const
    {
        return stem + (g == 1 ? ".bak" : ".ba" + std::to_string(g));
    }
};

// A file the operation replaces (an export's target) or removes (a delete).
struct Replaced {
    std::string name;
    std::string before;
    std::optional<std::string> after; // none: removed
};

// One operation of the trial on an application folder of its own.
struct OperationCase {
    std::string folder;                        // under ops/ on the drive, "1-import-live"
    std::string operation;                     // the driver's
    std::map<std::string, std::string> layout; // every file before, by name
    std::vector<Family> families;
    std::vector<Replaced> replaced;

    // Every file once the operation has completed, by name.
    std::map<std::string, std::string> completed() const;
};

// An import over a live database with five generations, an import where the
// live database is absent, an export over an existing file, a reset with
// five generations and with only .bak, and a delete.
std::vector<OperationCase> trialCases();

// Only the import over a live database: what the variant without the data
// flush runs.
std::vector<OperationCase> importCaseOnly();

} // namespace marlo::test
