// Runs one export or import of the CON database through the dbtransfer
// command, with the real file layer and Yes to its question:
//   crash_copy_driver <application folder> export|import <chosen file> <ready fd>
// Exits 0 when the copy succeeded, 1 when the command showed its error box.
#include "ChildProcess.h"
#include "TransferOnDisk.h"

#include <string_view>

int main(int argc, char* argv[])
{
    if (argc != 5)
        return 2;
    marlo::test::TransferOnDisk transfer(argv[1]);
    const bool exporting = std::string_view(argv[2]) == "export";
    marlo::test::signalReady(argv[4]);
    const auto errorBox = exporting ? transfer.exportTo(marlo::Database::Con, argv[3])
                                    : transfer.importFrom(marlo::Database::Con, argv[3]);
    return errorBox || !transfer.reachedTheFileOperation() ? 1 : 0;
}
