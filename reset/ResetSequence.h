#pragma once

#include <cstdint>

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
    Platform& platform_;
    bool running_ = false;
    std::int16_t loopCounter_ = 0;
};

} // namespace marlo
