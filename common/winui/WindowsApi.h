#pragma once

// The tools' own names of the message box styles and answers are the
// system's macros too: declared first, they stay usable after them.
#include "MessageBox.h"

// The Windows API without the macros that would rename the platform
// interface's own CopyFile, MoveFile and DeleteFile; the code calls the
// system's wide functions by their full names.
#include <windows.h>

#undef CopyFile
#undef MoveFile
#undef DeleteFile
