#pragma once

#include "WindowColours.h"

#include "WinSystem.h"

namespace marlo {

// Paints a push button in `colours` instead of the system's button face:
// answer to the button's NM_CUSTOMDRAW, which the parent receives. The
// button keeps all its behaviour (focus, default, access key, Space).
LRESULT paintButtonInColour(const NMHDR* notice, const Palette& colours);

} // namespace marlo
