#pragma once

#include "BriefHold.h"
#include "Result.h"
#include "WinSystem.h"

#include <string>

namespace marlo::win32 {

// Operations on system paths (see systemPath). Each failure says in plain
// words what stood in the way, in the words of the Linux layer.

// True only for an existing file (or a link to one); false for a folder and
// for a name that cannot exist. Fails only when the test cannot be made.
Result<bool> regularFileExists(const std::wstring& path);

// Gives a file a new name; never replaces one, and a failed move leaves both
// names as they were. A file that another program holds is refused.
Status moveNoReplace(const std::wstring& source, const std::wstring& destination);

// Whether a file call refused with `error` may go through in a moment: a
// virus scanner, an indexer or a sync client opens a file just closed, or the
// destination, and holds it briefly; a file it held while it was deleted
// keeps its name until it lets go.
bool heldForAMoment(DWORD error);
// Calls `call` (a single file call that answers whether it succeeded), and
// again within BriefHoldPatience while the file is held for a moment; answers
// 0, or the error of the last attempt.
template <class Call> DWORD patiently(const Call& call)
{
    DWORD error = 0;
    retryWithin(BriefHoldPatience, [&] {
        if (call()) {
            error = 0;
            return true;
        }
        error = ::GetLastError();
        return !heldForAMoment(error);
    });
    return error;
}
// MoveFileExW with `how`, made patiently.
DWORD renamePatiently(const std::wstring& from, const std::wstring& to, DWORD how);

// Why a call that gives `file` a new name without replacing one failed with
// `error`: the name was taken, or another program holds the file.
Status newNameRefused(DWORD error, const std::wstring& file);

// moveNoReplace for a file that is to be deleted later: refused, too, where
// deleteFile(source, false) would refuse it for being read-only.
Status setAside(const std::wstring& source, const std::wstring& destination);

// Takes away one name of a file that has another. The system still refuses
// it while a program holds the file without sharing its deletion.
Status removeName(const std::wstring& path);

// Removes exactly the one file named; unless `force`, a read-only file is
// refused, and so is a file that another program holds.
Status deleteFile(const std::wstring& path, bool force);

// Whether the name is one of the system's devices (NUL, COM1...), never a
// file of ours.
bool isDevicePath(const std::wstring& path);

// The attributes of a name, following a link to what it points to;
// INVALID_FILE_ATTRIBUTES with the error left for GetLastError when there
// is nothing to follow.
unsigned long attributesOf(const std::wstring& path);

} // namespace marlo::win32
