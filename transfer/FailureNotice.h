#pragma once

#include "FamilyChange.h"
#include "Result.h"

#include <string>
#include <string_view>

namespace marlo {

// The file command whose confirmed copy or delete failed.
enum class FileCommand { Export, Import, Delete };

// The error box's prompt for a confirmed copy or delete that failed: which
// command, on which file, the reason as the file layer put it, and exactly
// what was changed: "Nothing was changed" only where nothing was, else what
// was done and where the old data now is (`report`, of an import). A copy
// the user cancelled (an error marked cancelled) is called cancelled, without
// a reason. `database` is the live database's name as user texts write it
// ("MARLOCON.MDB"; unused for Delete), `chosenFile` the name from the
// chooser.
std::string failureNotice(FileCommand command, std::string_view database,
                          const std::string& chosenFile, const OpError& error,
                          const ChangeReport& report = {});

} // namespace marlo
