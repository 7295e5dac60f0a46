#pragma once

#include "WinSystem.h"

namespace marlo {

// Paints a push button in `background` instead of the system's button face:
// answer to the button's NM_CUSTOMDRAW, which the parent receives. The
// button keeps all its behaviour (focus, default, access key, Space).
LRESULT paintButtonInColour(const NMHDR* notice, COLORREF background, COLORREF disabledText);

} // namespace marlo
