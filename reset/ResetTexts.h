#pragma once

namespace marlo::texts {

inline constexpr const char* TemplateMissing1 = " Can't find CVMDB1.BIN... Reset aborted...! ";
inline constexpr const char* TemplateMissing2 = " Can't find CVMDB2.BIN... Reset aborted...! ";
inline constexpr const char* ResetCompleted =
    " Database reset successfully completed! \r\n Please restart the program... ";
inline constexpr const char* ResetCompletedFirst = " Database reset successfully completed! ";
inline constexpr const char* PleaseRestart = " Please restart the program... ";

// The closing message's line for a database that was not simply reset: its
// live name, then why, then where its files are.
inline constexpr const char* WasNotReset = " was not reset... ";
inline constexpr const char* WasResetBut = " was reset, but ";
inline constexpr const char* LeftAsTheyWere = "! Its files were left as they were! ";
inline constexpr const char* PutBackUnconfirmed =
    "Its files were put back, but the drive did not confirm that it is on the disk! ";
inline constexpr const char* NotAllPutBack = "Not everything could be put back: ";

} // namespace marlo::texts
