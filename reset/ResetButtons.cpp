#include "ResetButtons.h"

#include "ResetClick.h"

#include "ErrorPolicies.h"
#include "MessageBox.h"

namespace marlo {

void ResetButtons::resetNow()
{
    // The sequence disables the button first; this also covers a click that
    // was queued before it did.
    if (sequence_.running())
        return;
    sequence_.run();
}

void ResetButtons::cancel()
{
    // Starting the main program while its databases are being replaced could
    // let it open a half-reset set, so "Cancel" waits out the reset.
    if (sequence_.running())
        return;
    const NextStatement onError;
    onError.step(platform_.windows.Shell(MainProgramName, vbNormalFocus));
    platform_.windows.Unload(0);
}

void runClick(ResetButtons& buttons, ResetAction action)
{
    switch (action) {
    case ResetAction::ResetNow:
        return buttons.resetNow();
    case ResetAction::Cancel:
        return buttons.cancel();
    }
}

} // namespace marlo
