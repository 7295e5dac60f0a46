#pragma once

// What each program says of itself, the same on every host: its version
// and its file description. Macros, so that the Windows resource scripts
// read them too.
#define MARLO_VERSION_TEXT "1.00"
// With its trailing blank.
#define MARLO_RESET_DESCRIPTION "MARLO-Corvane Database Reset Engine "
#define MARLO_TRANSFER_DESCRIPTION "MARLO-Corvane Database Import/Export Module"

#ifndef RC_INVOKED
namespace marlo::identity {

inline constexpr const char* Version = MARLO_VERSION_TEXT;
inline constexpr const char* ResetDescription = MARLO_RESET_DESCRIPTION;
inline constexpr const char* TransferDescription = MARLO_TRANSFER_DESCRIPTION;

} // namespace marlo::identity
#endif
