#pragma once

#include "CopyRunner.h"
#include "DatabaseFiles.h"
#include "Platform.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace marlo {

class CommonDialog;
class LeaveHandler;

// The handlers of the import/export window's buttons, free of widgets. They
// share what the window owns: the chooser CommonDialog1 (its properties stay
// from one showing and one command to the next) and the last answer.
class TransferCommands {
public:
    TransferCommands(Platform platform, CommonDialog& commonDialog1,
                     std::unique_ptr<CopyRunner> copier = std::make_unique<DirectCopy>());

    // Command1 (CON) and Command6 (SPM): the live database to a chosen name.
    void exportDatabase(Database database);
    // Command3 (CON) and Command5 (SPM): a chosen file over the live database.
    void importDatabase(Database database);
    // Command7: a chosen file is deleted.
    void deleteFile();
    // Command2: starts the main program, then closes the window.
    void exitAndRestart();
    // Command4: closes the window.
    void quit();

    // The answer to the most recent question of any file command; empty
    // until the first question.
    std::optional<int> lastAnswer() const { return lastAnswer_; }

    // What tells the file commands apart up to their copy or delete.
    struct ChooserFlow;

private:
    // A file command's flow; it leaves a notice for the end section when its
    // confirmed copy or delete fails.
    using FileCommandFlow =
        std::function<void(const LeaveHandler& onError, std::optional<std::string>& notice)>;

    void runFileCommand(const FileCommandFlow& flow);
    // The chosen file when the command goes on to its copy or delete.
    // `folder`: the application folder as the chooser last showed it, which
    // the command then works in.
    std::optional<FilePath> choose(const LeaveHandler& onError, const ChooserFlow& flow,
                                   std::string& folder);
    // The five chooser settings, in this order, before every showing; answers
    // the application folder, read anew for each.
    std::string prepareChooser(const char* title);
    // The path the chooser returned, as the command works with it from its
    // existence test to its end.
    FilePath chosenFile(const std::string& returned, const std::string& folder);
    // Asks a Yes/No/Cancel question and keeps the answer as the last answer.
    int ask(const LeaveHandler& onError, const char* question);

    Platform platform_;
    CommonDialog& commonDialog1_;
    std::unique_ptr<CopyRunner> copier_;
    std::optional<int> lastAnswer_;
    // From the user's last answer to the end of a copy's command, its notice
    // included.
    std::optional<BusyReason> busy_;
};

} // namespace marlo
