#pragma once

// The tools' own names of the message box styles and answers are the
// system's macros too, with the same values: declared first, they stay
// usable after them.
#include "MessageBox.h"

// The system's declarations without the macros that would rename the
// platform interface's own CopyFile, MoveFile and DeleteFile; code here calls
// the system's wide functions (...W) by their full names. Windows code
// includes this instead of <windows.h>.
#include <windows.h>

#undef CopyFile
#undef MoveFile
#undef DeleteFile
