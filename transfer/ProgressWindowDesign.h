#pragma once

#include "TwipBox.h"

#include <chrono>

// The progress window's design values, the same on every toolkit: boxes in
// twips from the top left corner of the client area. It carries the title
// of the message boxes and Arial 8.25 pt, regular.
namespace marlo::progresswindow {

inline constexpr double FontPoints = 8.25;
inline constexpr const char* CancelCaption = "Cancel";
// How often the window looks at the copy's figures.
inline constexpr std::chrono::milliseconds PollInterval{50};

inline constexpr int Width = 5700, Margin = 165, LineHeight = 240, BarHeight = 270,
                     ButtonWidth = 1200, ButtonHeight = 360, Gap = 120;
inline constexpr int Inner = Width - 2 * Margin;
// What is copied; a long name is shortened in its middle instead of widening
// the window.
inline constexpr TwipBox NameBox{Margin, Margin, Inner, LineHeight};
inline constexpr TwipBox BytesBox{Margin, NameBox.top + LineHeight + Gap / 2, Inner, LineHeight};
inline constexpr TwipBox BarBox{Margin, BytesBox.top + LineHeight + Gap / 2, Inner, BarHeight};
inline constexpr TwipBox CancelBox{Width - Margin - ButtonWidth, BarBox.top + BarHeight + Gap,
                                   ButtonWidth, ButtonHeight};
inline constexpr int Height = CancelBox.top + ButtonHeight + Margin;

} // namespace marlo::progresswindow
