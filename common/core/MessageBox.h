#pragma once

// Message box styles and answers, with the platform's own names and values.
namespace marlo {

inline constexpr int MB_ICONINFORMATION = 0x40; // information icon, OK only
inline constexpr int MB_ICONERROR = 0x10;       // stop icon, OK only
inline constexpr int MB_YESNOCANCEL = 3;        // Yes (default), No, Cancel

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Shell window style: a normal window that receives the focus.
inline constexpr int vbNormalFocus = 1;

// The bare name by which both tools start the main program.
inline constexpr const char* MainProgramName = "MARLOCON.EXE";

// Title of the tools' own messages and questions.
inline constexpr const char* MessageTitle = "MARLO-Corvane:";

} // namespace marlo
