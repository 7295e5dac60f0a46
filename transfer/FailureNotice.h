#pragma once

#include "Result.h"

#include <string>
#include <string_view>

namespace marlo {

// The file command whose confirmed copy or delete failed.
enum class FileCommand { Export, Import, Delete };

// The error box's prompt for a confirmed copy or delete that failed: which
// command, on which file, the reason as the file layer put it, and that
// nothing was changed (the copy is crash-safe, a refused delete leaves the
// file). A copy the user cancelled (an error marked cancelled) is called
// cancelled, without a reason. `database` is the live database's name as user
// texts write it ("MARLOCON.MDB"; unused for Delete), `chosenFile` the name
// from the chooser.
std::string failureNotice(FileCommand command, std::string_view database,
                          const std::string& chosenFile, const OpError& error);

} // namespace marlo
