#pragma once

namespace marlo {

class TransferCommands;

// What a button of the import/export window runs.
enum class TransferAction {
    ExportCon,
    ExportSpm,
    ImportCon,
    ImportSpm,
    Delete,
    ExitAndRestart,
    Quit,
    None
};

// Runs the handler that a button of the import/export window is wired to.
void runClick(TransferCommands& commands, TransferAction action);

} // namespace marlo
