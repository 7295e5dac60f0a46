#include "WinCopy.h"

#include "WinCopyContent.h"
#include "WinErrors.h"
#include "WinFileInfo.h"
#include "WinFileOps.h"
#include "WinHandedOn.h"
#include "WinInUse.h"
#include "WinPaths.h"
#include "WinTemporaryFile.h"
#include "WinTemporaryNames.h"

#include "WinSystem.h"

#include <utility>

namespace marlo::win32 {

namespace {

// Whether a file stands at the destination now.
struct Destination {
    bool exists = false;
};

Status examine(const std::wstring& destination, const FileIdentity& source, bool overwrite,
               Destination& found)
{
    found = {};
    if (isDevicePath(destination))
        return failure(ERROR_INVALID_FUNCTION, FileFailure::DestinationNotOrdinary);
    const DWORD attributes = attributesOf(destination);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (isMissing(error))
            return {};
        return failure(error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return failure(ERROR_DIRECTORY, FileFailure::DestinationIsFolder);
    // Read no data: a handle for the identity alone passes every sharing.
    const UniqueHandle existing(::CreateFileW(
        destination.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing)
        return lastFailure();
    const auto identity = identityOf(existing.get());
    if (!identity)
        return identity.status();
    if (identity.value() == source)
        return failure(ERROR_INVALID_PARAMETER, FileFailure::SameFile);
    if (!overwrite)
        return failure(ERROR_FILE_EXISTS, FileFailure::DestinationExists);
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return failure(ERROR_ACCESS_DENIED, FileFailure::DestinationReadOnly);
    found = {true};
    return {};
}

// examine, and a destination that another program holds is refused too.
Status mayReplace(const std::wstring& destination, const FileIdentity& source, bool overwrite,
                  Destination& found)
{
    if (Status fit = examine(destination, source, overwrite, found); !fit)
        return fit;
    return found.exists ? refuseIfInUse(destination) : Status();
}

// The copy written and flushed into its temporary file, waiting to take the
// destination's name.
class WinStagedCopy : public StagedCopy {
public:
    WinStagedCopy(std::wstring destination, const FileIdentity& source, bool overwrite)
        : destination_(std::move(destination)), source_(source), overwrite_(overwrite)
    {
    }

    TemporaryFile& temporary() { return temporary_; }

    Status CheckDestination() override
    {
        Destination found;
        return mayReplace(destination_, source_, overwrite_, found);
    }

    Status Place() override { return placeAs(overwrite_); }
    Status PlaceNew() override { return placeAs(false); }

    // The rename with write-through is the last step: it takes the name or
    // fails as a whole.
    bool Placed() const override { return placed_; }

private:
    Status placeAs(bool replace)
    {
        // Look again just before replacing: the destination may have changed
        // since the copy began.
        Destination found;
        if (Status fit = mayReplace(destination_, source_, replace, found); !fit)
            return fit;
        HandedOn from;
        if (found.exists) {
            auto handed = handedOnBy(destination_);
            if (!handed)
                return handed.status();
            from = std::move(handed.value());
        }
        if (Status finished = temporary_.finish(from); !finished)
            return finished;
        const DWORD how = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : DWORD{0});
        const DWORD error = renamePatiently(temporary_.path(), destination_, how);
        if (error == 0) {
            temporary_.keep();
            placed_ = true;
            return {};
        }
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
            return failure(error, FileFailure::DestinationExists);
        if (!heldForAMoment(error))
            return failure(error);
        // The words name what really stood in the way.
        if (Status fit = mayReplace(destination_, source_, replace, found); !fit)
            return fit;
        return failure(error, FileFailure::NewCopyHeld);
    }

    TemporaryFile temporary_;
    std::wstring destination_;
    FileIdentity source_;
    bool overwrite_;
    bool placed_ = false;
};

} // namespace

Result<std::unique_ptr<StagedCopy>>
stageCopy(const std::wstring& source, const std::wstring& destination, const CopyOptions& options)
{
    using Staged = Result<std::unique_ptr<StagedCopy>>;
    if (isDevicePath(source))
        return Staged(failure(ERROR_INVALID_FUNCTION, FileFailure::SourceNotOrdinary));
    const DWORD sourceAttributes = attributesOf(source);
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES)
        return Staged(isMissing(::GetLastError())
                          ? failure(ERROR_FILE_NOT_FOUND, FileFailure::SourceMissing)
                          : lastFailure());
    if (sourceAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return Staged(failure(ERROR_DIRECTORY, FileFailure::SourceIsFolder));
    auto in = openForCopy(source);
    if (!in)
        return Staged(in.status());
    const auto from = identityOf(in.value().handle.get());
    if (!from)
        return Staged(from.status());

    Destination target;
    if (Status fit = mayReplace(destination, from.value(), options.overwrite, target); !fit)
        return Staged(fit);
    const SplitPath split = splitSystemPath(destination);
    if (split.name.empty())
        return Staged(failure(ERROR_DIRECTORY, FileFailure::DestinationIsFolder));
    const DWORD folder = ::GetFileAttributesW(split.folder.c_str());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
        return Staged(failure(ERROR_PATH_NOT_FOUND, FileFailure::DestinationFolderMissing));

    removeStaleTemporaries(split, from.value());
    auto staged = std::make_unique<WinStagedCopy>(destination, from.value(), options.overwrite);
    TemporaryFile& temporary = staged->temporary();
    if (Status created = temporary.create(split); !created)
        return Staged(created);
    if (Status done = copySnapshot(in.value(), temporary.handle(), options.progress); !done)
        return Staged(done);
    // A failed flush is not retried: the copy is abandoned instead.
    if (!::FlushFileBuffers(temporary.handle()))
        return Staged(lastFailure());
    if (const DWORD error = in.value().handle.close(); error != 0)
        return Staged(failure(error));
    return Staged(std::unique_ptr<StagedCopy>(std::move(staged)));
}

} // namespace marlo::win32
