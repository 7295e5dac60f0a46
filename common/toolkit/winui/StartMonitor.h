#pragma once

#include "WinSystem.h"

#include <cstddef>
#include <optional>
#include <span>

namespace marlo {

// Which of `monitors` (their whole rectangles) a program's window opens on:
// the one that shows most of `foreground`, the window the user worked in
// when the program started (the folder window it was opened from); else,
// when there is none or it covers several monitors whole (the desktop's),
// the one under `cursor`; nullopt when neither tells (the caller takes the
// primary monitor then).
std::optional<std::size_t> startMonitor(std::span<const RECT> monitors,
                                        const std::optional<RECT>& foreground,
                                        const std::optional<POINT>& cursor);

// Where a new window is made: a small rectangle amid the work area of the
// monitor it opens on (its owner's, for an owned window). Made there, the
// window has that monitor's scale from its first frame.
RECT openingRect(HWND owner);

} // namespace marlo
