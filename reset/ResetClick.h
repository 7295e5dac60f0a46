#pragma once

namespace marlo {

class ResetButtons;

// What a button of the reset window runs.
enum class ResetAction { ResetNow, Cancel };

// Runs the handler that a button of the reset window is wired to.
void runClick(ResetButtons& buttons, ResetAction action);

} // namespace marlo
