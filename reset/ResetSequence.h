#pragma once

#include "CommandHold.h"
#include "DatabaseFiles.h"
#include "ErrorPolicies.h"
#include "FamilyChange.h"
#include "FileSystem.h"
#include "Platform.h"
#include "ResetView.h"
#include "Result.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace marlo {

// What the press of "RESET NOW !" does: template tests, rotation of the
// backup generations, live databases to generation 1, templates to the live
// names, the closing message and the end of the program. Runs on the
// window's thread against the platform alone.
class ResetSequence {
public:
    ResetSequence(Platform platform, ResetView& view) : platform_(platform), view_(view) {}

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

    // What became of one database.
    enum class Outcome {
        Reset,       // the template stands under the live name, the old file as its backup
        ResetButNot, // reset, but a step after that failed (see the report)
        LeftAlone,   // refused or failed before the template took the live name; every
                     // file is as it was
        NotPutBack,  // failed, and not every file could be put back (see the report)
    };

private:
    // One database's course through the sequence.
    struct Family {
        Database database;
        std::optional<FamilyChange> change{}; // while the family is being reset
        Outcome outcome = Outcome::Reset;
        std::string reason{}; // why it was not simply reset
        ChangeReport report{};
    };

    void showProgressState();
    // The view's calls that can fail, with the errors the window gives.
    Status setProgress(int position);
    Status takeFocus();
    // False, after the abort message and Unload, when a template is missing.
    bool templatesPresent();
    void holdFolder();
    // Right before the first change: a family that another program holds, or
    // whose template copy cannot be made, is left alone as a whole.
    void prepareFamilies();
    void rotateBackups();
    void countedLoop();
    void replaceLiveFiles();
    // Ends a family's change after a failed step: every name is put back.
    void giveUp(Family& family, const Status& failed);
    void closing();

    Platform platform_;
    std::string folder_; // the application folder, read once as the sequence starts
    ResetView& view_;
    const NextStatement onError_{};
    Family families_[2] = {{Database::Con}, {Database::Spm}};
    std::optional<CommandHold> hold_;
    std::vector<std::string> mended_; // what taking the hold mended
    bool running_ = false;
    std::int16_t loopCounter_ = 0;
};

} // namespace marlo
