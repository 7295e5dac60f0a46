#pragma once

#include "DatabaseFiles.h"
#include "Result.h"

#include <cstdint>
#include <string>

namespace marlo {

class Platform;

// What the press of "RESET NOW !" does: template tests, rotation of the
// backup generations, live databases to generation 1, templates to the live
// names, the closing message and the end of the program. Runs on the
// window's thread against the platform alone.
class ResetSequence {
public:
    explicit ResetSequence(Platform& platform) : platform_(platform) {}

    // Runs the whole sequence. It ends with Platform::Unload (abort, exit
    // status 1) or Platform::End (0 when both databases were reset, 1 when
    // one was not), and returns right after either.
    void run();

    // True from the first step until run() returns; the window ignores
    // "Cancel" and its close box meanwhile.
    bool running() const { return running_; }

    // The loop counter of the counted loop; it belongs to the window and is
    // left at 101.
    std::int16_t loopCounter() const { return loopCounter_; }

private:
    // Moves `source` to backup generation `generation` of `database`. When
    // that generation is still taken although the source is there (the
    // families went out of step, say after an interrupted reset), the older
    // generations make room first, the oldest being dropped as the rotation
    // always drops it, and the move is tried once more.
    Status moveToGeneration(Database database, const std::string& source, int generation);

    Platform& platform_;
    bool running_ = false;
    std::int16_t loopCounter_ = 0;
};

} // namespace marlo
