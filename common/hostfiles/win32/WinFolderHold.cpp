#include "WinFolderHold.h"

namespace marlo::win32 {

namespace {

// Holds nothing yet: every command goes on as it did before holds.
class NoHold : public FolderHold {
public:
    bool excludes() const override { return false; }
};

} // namespace

Result<std::unique_ptr<FolderHold>> holdFolder(const std::wstring&)
{
    return std::unique_ptr<FolderHold>(std::make_unique<NoHold>());
}

Result<bool> separateBackup(const std::wstring&, const std::wstring&)
{
    return false;
}

} // namespace marlo::win32
