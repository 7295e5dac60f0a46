#pragma once

// The system's declarations, without the macros that would take the names of
// the tools' own: CopyFile, MoveFile and DeleteFile of the platform interface
// (code here calls the wide forms, ...W, by their own names), and the message
// box styles and answers, which MessageBox.h declares with the system's very
// names and values. Windows code includes this instead of <windows.h>.
#include <windows.h>

#undef CopyFile
#undef MoveFile
#undef DeleteFile

#undef MB_ICONINFORMATION
#undef MB_ICONERROR
#undef MB_YESNOCANCEL
#undef IDOK
#undef IDCANCEL
#undef IDYES
#undef IDNO
