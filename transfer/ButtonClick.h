#pragma once

#include "ImportWindowDesign.h"
#include "TransferCommands.h"

namespace marlo {

// Runs the handler that a button of the import/export window is wired to.
inline void runClick(TransferCommands& commands, importwindow::Action action)
{
    using importwindow::Action;
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
