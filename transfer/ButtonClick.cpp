#include "ButtonClick.h"

#include "TransferCommands.h"

namespace marlo {

void runClick(TransferCommands& commands, TransferAction action)
{
    using Action = TransferAction;
    switch (action) {
    case Action::ExportCon:
        return commands.exportDatabase(Database::Con);
    case Action::ExportSpm:
        return commands.exportDatabase(Database::Spm);
    case Action::ImportCon:
        return commands.importDatabase(Database::Con);
    case Action::ImportSpm:
        return commands.importDatabase(Database::Spm);
    case Action::Delete:
        return commands.deleteFile();
    case Action::ExitAndRestart:
        return commands.exitAndRestart();
    case Action::Quit:
        return commands.quit();
    case Action::None:
        return;
    }
}

} // namespace marlo
