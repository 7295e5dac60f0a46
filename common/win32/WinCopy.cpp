#include "WinCopy.h"

#include "WinErrors.h"
#include "WinFileOps.h"
#include "WinHandle.h"
#include "WinInUse.h"
#include "WinText.h"

#include "WinSystem.h"

#include <cerrno>
#include <cstdint>
#include <random>
#include <vector>

namespace marlo::win32 {

namespace {

constexpr DWORD BufferSize = 1 << 20;
// ".<name>.XXXXXX.tmp" must fit the system's 255 characters of a name.
constexpr std::size_t MaxNameInTemporary = 255 - 12;
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::wstring randomLetters(std::size_t count)
{
    static constexpr wchar_t letters[] =
        L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(letters) - 2);
    std::wstring text(count, L' ');
    for (wchar_t& c : text)
        c = letters[pick(generator)];
    return text;
}

bool setDeleteOnClose(HANDLE file, bool remove)
{
    FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(remove)};
    return ::SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                        sizeof disposition) != FALSE;
}

// The temporary file the copy is written to. While open it is marked for
// deletion, so that a kill leaves nothing behind; it goes again unless kept.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        file_.reset();
        if (!path_.empty() && !markedForDeletion_)
            ::DeleteFileW(path_.c_str());
    }

    Status create(const SplitPath& destination, DWORD attributes)
    {
        std::wstring base = destination.folder;
        if (!base.ends_with(L'\\'))
            base += L'\\';
        base += L'.';
        base.append(destination.name, 0, MaxNameInTemporary);
        base += L'.';
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::wstring path = base;
            path.append(randomLetters(6)).append(L".tmp");
            file_ = UniqueHandle(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                               CREATE_NEW, attributes, nullptr));
            if (file_) {
                path_ = std::move(path);
                markedForDeletion_ = setDeleteOnClose(file_.get(), true);
                return {};
            }
            if (const DWORD error = ::GetLastError();
                error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                return failure(error);
        }
        return failure(ERROR_FILE_EXISTS, "no temporary file could be made beside the destination");
    }

    HANDLE handle() const { return file_.get(); }
    const std::wstring& path() const { return path_; }

    // Takes the deletion mark away and closes the file, to be moved in place.
    Status close()
    {
        if (markedForDeletion_ && !setDeleteOnClose(file_.get(), false))
            return lastFailure();
        markedForDeletion_ = false;
        if (const DWORD error = file_.close(); error != 0)
            return failure(error);
        return {};
    }
    void keep() { path_.clear(); }

private:
    UniqueHandle file_;
    std::wstring path_;
    bool markedForDeletion_ = false;
};

struct FileIdentity {
    DWORD volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

Result<FileIdentity> identityOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info))
        return Result<FileIdentity>(lastFailure());
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

// What stands at the destination now, and whether the copy may replace it.
struct Destination {
    bool exists = false;
    DWORD attributes = 0;
};

Status examine(const std::wstring& destination, const FileIdentity& source, bool overwrite,
               Destination& found)
{
    found = {};
    if (isDevicePath(destination))
        return failure(ERROR_INVALID_FUNCTION, "the destination is not an ordinary file");
    const DWORD attributes = attributesOf(destination);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (isMissing(error))
            return {};
        return failure(error);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return failure(ERROR_DIRECTORY, "the destination is a folder");
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
        return failure(ERROR_INVALID_PARAMETER, "the source and the destination are the same file");
    if (!overwrite)
        return failure(ERROR_FILE_EXISTS, "the destination already exists");
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return failure(ERROR_ACCESS_DENIED, "the destination file is read-only");
    found = {true, attributes};
    return {};
}

Status copyContent(HANDLE in, HANDLE out, std::uint64_t size, const CopyProgress& progress,
                   std::uint64_t& copied)
{
    const auto cancelled = [] { return failure(ECANCELED, "the copy was cancelled"); };
    if (progress && !progress(0, size))
        return cancelled();
    std::vector<char> buffer(BufferSize);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in, buffer.data(), BufferSize, &got, nullptr))
            return lastFailure();
        if (got == 0)
            return {};
        for (DWORD written = 0; written < got;) {
            DWORD now = 0;
            if (!::WriteFile(out, buffer.data() + written, got - written, &now, nullptr))
                return lastFailure();
            written += now;
        }
        copied += got;
        if (progress && !progress(copied, size))
            return cancelled();
    }
}

} // namespace

Status copyFileCrashSafe(const std::wstring& source, const std::wstring& destination,
                         const CopyOptions& options)
{
    if (isDevicePath(source))
        return failure(ERROR_INVALID_FUNCTION, "the source is not an ordinary file");
    const DWORD sourceAttributes = attributesOf(source);
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES)
        return isMissing(::GetLastError())
                   ? failure(ERROR_FILE_NOT_FOUND, "the source file does not exist")
                   : lastFailure();
    if (sourceAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return failure(ERROR_DIRECTORY, "the source is a folder");
    const UniqueHandle in(::CreateFileW(
        source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!in) {
        const DWORD error = ::GetLastError();
        return error == ERROR_SHARING_VIOLATION ? inUse(source) : failure(error);
    }
    const auto from = identityOf(in.get());
    if (!from)
        return from.status();
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(in.get(), &size))
        return lastFailure();

    Destination target;
    if (Status fit = examine(destination, from.value(), options.overwrite, target); !fit)
        return fit;
    if (target.exists)
        if (Status unused = refuseIfInUse(destination); !unused)
            return unused;
    const SplitPath split = splitSystemPath(destination);
    if (split.name.empty())
        return failure(ERROR_DIRECTORY, "the destination is a folder");
    const DWORD folder = ::GetFileAttributesW(split.folder.c_str());
    if (folder == INVALID_FILE_ATTRIBUTES || !(folder & FILE_ATTRIBUTE_DIRECTORY))
        return failure(ERROR_PATH_NOT_FOUND, "the destination folder does not exist");

    TemporaryFile temporary;
    const DWORD kept = target.attributes & KeptAttributes;
    if (Status created = temporary.create(split, kept ? kept : FILE_ATTRIBUTE_NORMAL); !created)
        return created;
    const auto total = static_cast<std::uint64_t>(size.QuadPart);
    std::uint64_t copied = 0;
    if (Status done = copyContent(in.get(), temporary.handle(), total, options.progress, copied);
        !done)
        return done;
    if (copied != total)
        return failure(ERROR_INVALID_DATA, "the source file changed while it was being copied");
    // A failed flush is not retried: the copy is abandoned instead.
    if (!::FlushFileBuffers(temporary.handle()))
        return lastFailure();

    // Look again just before replacing: the destination may have changed
    // during the copy.
    if (Status fit = examine(destination, from.value(), options.overwrite, target); !fit)
        return fit;
    if (target.exists)
        if (Status unused = refuseIfInUse(destination); !unused)
            return unused;
    if (Status closed = temporary.close(); !closed)
        return closed;
    const DWORD how = MOVEFILE_WRITE_THROUGH | (options.overwrite ? MOVEFILE_REPLACE_EXISTING : 0);
    if (!::MoveFileExW(temporary.path().c_str(), destination.c_str(), how)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
            (error == ERROR_ACCESS_DENIED && !refuseIfInUse(destination)))
            return inUse(destination);
        return failure(error);
    }
    temporary.keep();
    return {};
}

} // namespace marlo::win32
