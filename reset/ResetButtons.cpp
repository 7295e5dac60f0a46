#include "ResetButtons.h"

#include "ErrorPolicies.h"
#include "MessageBox.h"
#include "Platform.h"

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
    onError.step(platform_.Shell(MainProgramName, vbNormalFocus));
    platform_.Unload(0);
}

} // namespace marlo
