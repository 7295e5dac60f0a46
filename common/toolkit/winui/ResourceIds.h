#pragma once

// Resource numbers that the programs' resource scripts and code share.
#define MARLO_PROGRAM_ICON 1

#ifndef RC_INVOKED
namespace marlo {
inline constexpr int ProgramIconId = MARLO_PROGRAM_ICON;
} // namespace marlo
#endif
