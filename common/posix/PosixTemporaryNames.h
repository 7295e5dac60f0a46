#pragma once

#include <string>
#include <string_view>

namespace marlo::posix {

// A hidden temporary file of the tools: ".<name>.XXXXXX.tmp", which no
// member's name can match.
std::string temporaryNameFor(const std::string& name);
bool isTemporaryName(std::string_view name);

// Removes the temporary files that killed copies left in the folder: those of
// the tools' own pattern that no running copy holds locked and no program has
// open. The caller holds the folder's lock, under which every copy locks its
// temporary file as it makes it.
void removeAbandonedTemporaries(int folderFd);

} // namespace marlo::posix
