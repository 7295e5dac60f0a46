#pragma once

#include "DatabaseFiles.h"
#include "ErrorPolicies.h"
#include "Platform.h"
#include "Result.h"

#include <cstdint>
#include <optional>
#include <string>

namespace marlo {

// What the press of "RESET NOW !" does: template tests, rotation of the
// backup generations, live databases to generation 1, templates to the live
// names, the closing message and the end of the program. Runs on the
// window's thread against the platform alone.
class ResetSequence {
public:
    explicit ResetSequence(Platform platform) : platform_(platform) {}

    // Runs the whole sequence. It ends with Unload (abort, exit status 1) or
    // End (0 when both databases were reset, 1 when one was not), and
    // returns right after either.
    void run();

    // True from the first step until run() returns; the window ignores
    // "Cancel" and its close box meanwhile.
    bool running() const { return running_; }

    // The loop counter of the counted loop; it belongs to the window and is
    // left at 101.
    std::int16_t loopCounter() const { return loopCounter_; }

    // What became of one database in the counted loop.
    enum class Outcome {
        Reset,          // the template now stands under the live name
        LeftInPlace,    // the live file could not be moved aside and was kept
        SavedNotReset,  // the live file went to generation 1, the template copy failed
        MissingNotMade, // there was no live file, and the template copy failed
        InUse,          // another program held its files; none of them was touched
    };

private:
    // One database's course through the sequence.
    struct Family {
        Database database;
        std::optional<std::string> inUse{}; // why another program's hold leaves it alone
        bool movedAside = false;            // its live file went to generation 1
        Outcome outcome = Outcome::Reset;
    };

    void showProgressState();
    // False, after the abort message and Unload, when a template is missing.
    bool templatesPresent();
    void findFamiliesInUse();
    void rotateBackups();
    void countedLoop();
    void moveLiveFilesAside();
    void copyTemplates();
    Outcome copyTemplate(const Family& family);
    void closing();

    // Moves `source` to backup generation `generation` of `database`. When
    // that generation is still taken although the source is there (the
    // families went out of step, say after an interrupted reset), the older
    // generations make room first, the oldest being dropped as the rotation
    // always drops it, and the move is tried once more.
    Status moveToGeneration(Database database, const std::string& source, int generation);

    Platform platform_;
    const NextStatement onError_{};
    Family families_[2] = {{Database::Con}, {Database::Spm}};
    bool running_ = false;
    std::int16_t loopCounter_ = 0;
};

} // namespace marlo
