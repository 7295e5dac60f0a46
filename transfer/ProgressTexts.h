#pragma once

#include <cstdint>
#include <string>

namespace marlo {
class FileSystem;
}

namespace marlo::progress {

// The copy dialog's texts, in the voice of the tool's messages.
inline constexpr const char* Cancelling = " Cancelling... Nothing will be changed. ";

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

} // namespace marlo::progress
