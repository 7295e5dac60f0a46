#include "FileChooser.h"

namespace marlo {

Status FileChooser::show(bool save)
{
    const ChooserRequest request{
        .save = save,
        .title = dialogTitle_,
        .initialFolder = initDir_,
        .fileTypes = fileTypesFor(filter_),
        .defaultExtension = save ? defaultExtensionFor(defaultExt_) : std::string(),
        .lastName = fileName_,
    };
    const Result<ChooserAnswer> answer = showChooser(request);
    if (!answer)
        return answer.status();
    if (!answer.value()) {
        if (cancelError_)
            return Status::failure(CancelErrorNumber, "Cancel was selected.");
        fileName_.clear();
        return {};
    }
    fileName_ = *answer.value();
    return {};
}

} // namespace marlo
