#include "WinTemporaryFile.h"

#include "WinErrors.h"
#include "WinTemporaryNames.h"

namespace marlo::win32 {

namespace {

// Out of sight, and out of the indexer's way, until it is placed.
constexpr DWORD WhileWritten = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

} // namespace

TemporaryFile::~TemporaryFile()
{
    file_.reset(); // a marked file goes as it closes
    if (!path_.empty() && !marked_)
        ::DeleteFileW(path_.c_str());
}

Status TemporaryFile::create(const SplitPath& destination)
{
    std::wstring folder = destination.folder;
    if (!folder.ends_with(L'\\'))
        folder += L'\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring path = folder + temporaryNameFor(destination.name);
        file_ = UniqueHandle(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE | WRITE_DAC, 0,
                                           nullptr, CREATE_NEW, WhileWritten, nullptr));
        if (file_) {
            path_ = std::move(path);
            marked_ = markForDeletion(file_.get(), true);
            return marked_ ? Status() : lastFailure();
        }
        if (const DWORD error = ::GetLastError();
            error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return failure(error);
    }
    return failure(ERROR_FILE_EXISTS, FileFailure::NoTemporaryFile);
}

Status TemporaryFile::finish(const HandedOn& from)
{
    if (!file_)
        return {};
    if (marked_ && !markForDeletion(file_.get(), false))
        return lastFailure();
    marked_ = false;
    if (Status taken = takeSecurity(file_.get(), from); !taken)
        return taken;
    // Times left at zero stay as they are.
    FILE_BASIC_INFO basic{};
    basic.CreationTime = from.created;
    basic.FileAttributes = from.attributes | FILE_ATTRIBUTE_ARCHIVE;
    if (!::SetFileInformationByHandle(file_.get(), FileBasicInfo, &basic, sizeof basic))
        return lastFailure();
    if (const DWORD error = file_.close(); error != 0)
        return failure(error);
    return {};
}

} // namespace marlo::win32
