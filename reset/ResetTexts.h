#pragma once

namespace marlo::texts {

inline constexpr const char* TemplateMissing1 = " Can't find CVMDB1.BIN... Reset aborted...! ";
inline constexpr const char* TemplateMissing2 = " Can't find CVMDB2.BIN... Reset aborted...! ";
inline constexpr const char* ResetCompleted =
    " Database reset successfully completed! \r\n Please restart the program... ";
inline constexpr const char* PleaseRestart = " Please restart the program... ";

} // namespace marlo::texts
