#pragma once

#include "FileSystem.h"

#include <cstdint>
#include <string>

namespace marlo::progress {

// The copy dialog's texts, in the voice of the tool's messages.
inline constexpr const char* Cancelling = " Cancelling... Nothing will be changed. ";
// A copy that has reported nothing for a while.
inline constexpr const char* WaitingForDrive = " Waiting for the drive... ";
inline constexpr const char* Checking = " Checking the file for changes... ";

// What the dialog calls a chosen file: one that names a member of the
// application folder by the member's name as user texts write it
// ("MARLOCON.MDB"), any other by its own name as the host splits paths.
std::string shownName(const std::string& path, const std::string& applicationFolder,
                      FileSystem& files);

// " Copying MARLOCON.MDB to backup.mdb... "
std::string copyingLine(const std::string& sourceName, const std::string& destinationName);

// " 123 of 456 MiB ": whole MiB from 10 MiB on, tenths below. The copied
// part rounds down, so the line shows the whole only once it is copied.
std::string bytesLine(std::uint64_t copied, std::uint64_t total);

// The line of a step of the copy: its figures against the source's size as
// last seen, " The file changed; copying again: 12 of 456 MiB " once it
// starts over, or Checking.
std::string stepLine(const CopyStep& step);

} // namespace marlo::progress
