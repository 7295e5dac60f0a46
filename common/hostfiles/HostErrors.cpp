#include "HostErrors.h"

#include "FileSystem.h"

#include <algorithm>

namespace marlo {

namespace {

FileFailure meaningOf(long error)
{
    for (const ErrorMeaning& meaning : hostErrors.meanings)
        if (error != 0 && std::ranges::find(meaning.numbers, error) != meaning.numbers.end())
            return meaning.kind;
    return FileFailure::Unexpected;
}

int carried(long error)
{
    return static_cast<int>(error != 0 ? error : hostErrors.general);
}

} // namespace

std::string describeError(long error)
{
    const FileFailure meaning = meaningOf(error);
    return failureWords(meaning,
                        meaning == FileFailure::Unexpected ? hostErrors.ownWords(error) : "");
}

Status failure(long error)
{
    return Status::failure(carried(error), describeError(error));
}

Status failure(long error, FileFailure kind, std::string_view more)
{
    return Status::failure(carried(error), failureWords(kind, more));
}

Status cancelled()
{
    return Status::cancelled(static_cast<int>(hostErrors.cancelled),
                             std::string(failureWords(FileFailure::Cancelled)));
}

Status copyCancelled()
{
    return cancelled();
}

bool meansNoSuchName(long error)
{
    return std::ranges::find(hostErrors.noSuchName, error) != hostErrors.noSuchName.end();
}

} // namespace marlo
