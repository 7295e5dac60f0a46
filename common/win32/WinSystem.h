#pragma once

// The system's declarations, without the macros that would rename the tools'
// own CopyFile, MoveFile and DeleteFile to the system's wide calls; code here
// calls the wide forms (...W) by their own names.
#include <windows.h>

#undef CopyFile
#undef MoveFile
#undef DeleteFile
