// The one operation of a power-cut trial, through the tools' own commands
// and the host's file layer, on an application folder:
//   powercut_driver import-live|import-absent <folder>   imports NEW.MDB as the CON database
//   powercut_driver export <folder>                      exports the CON database to EXPORT.MDB
//   powercut_driver reset <folder>                       a whole reset, without pauses
//   powercut_driver delete <folder>                      deletes OLD.MDB
//   powercut_driver mark <device> <byte offset> <text>   marks the write log
// Exits 0 when the operation succeeded, 1 when it showed its error box.
#include "BlockMark.h"
#include "FakePlatform.h"
#include "ResetSequence.h"
#include "TransferOnDisk.h"

#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>

namespace {

class NoPauses : public marlo::test::FakePlatform {
public:
    using FakePlatform::FakePlatform;
    void Sleep(int) override {}
};

int reset(const std::string& folder)
{
    NoPauses platform(folder);
    marlo::ResetSequence sequence(platform, platform);
    sequence.run();
    return platform.endedWith.value_or(3) == 0 ? 0 : 1;
}

int transfer(std::string_view operation, const std::string& folder)
{
    marlo::test::TransferOnDisk transfer(folder);
    std::optional<std::string> errorBox;
    if (operation == "export")
        errorBox = transfer.exportTo(marlo::Database::Con, folder + "/EXPORT.MDB");
    else if (operation == "delete")
        errorBox = transfer.remove(folder + "/OLD.MDB");
    else
        errorBox = transfer.importFrom(marlo::Database::Con, folder + "/NEW.MDB");
    if (errorBox)
        std::cerr << *errorBox << '\n';
    return errorBox || !transfer.reachedTheFileOperation() ? 1 : 0;
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string_view operation = argc > 1 ? argv[1] : "";
    if (operation == "mark" && argc == 5)
        return marlo::test::markWriteLog(argv[2], std::strtoull(argv[3], nullptr, 10), argv[4]) ? 0
                                                                                                : 1;
    if (argc != 3)
        return 2;
    if (operation == "reset")
        return reset(argv[2]);
    if (operation == "import-live" || operation == "import-absent" || operation == "export" ||
        operation == "delete")
        return transfer(operation, argv[2]);
    return 2;
}
