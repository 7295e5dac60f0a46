#include "TransferCommands.h"

#include "CommandHold.h"
#include "CommonDialog.h"
#include "ErrorPolicies.h"
#include "FailureNotice.h"
#include "FamilyChange.h"
#include "MessageBox.h"
#include "Platform.h"
#include "ProgressTexts.h"
#include "TransferTexts.h"

#include <utility>

namespace marlo {

struct TransferCommands::ChooserFlow {
    const char* chooserTitle;
    bool save;             // ShowSave, else ShowOpen
    const char* emptyName; // notice for an empty name; the chooser then shows again
    const char* missing;   // notice that ends the command; nullptr: go on without a question
    const char* question;  // asked when the name exists
    // Notice that ends the command for a shortcut; nullptr: a shortcut is a
    // file like any other, deleted or replaced itself.
    const char* shortcut = nullptr;
};

namespace {

using ChooserFlow = TransferCommands::ChooserFlow;

ChooserFlow exportFlow(Database database)
{
    return {database == Database::Con ? texts::ExportConTitle : texts::ExportSpmTitle, true,
            texts::EnterFilenameFirst, nullptr, texts::OverwriteQuestion};
}

ChooserFlow importFlow(Database database)
{
    const bool con = database == Database::Con;
    return {con ? texts::ImportConTitle : texts::ImportSpmTitle,
            false,
            texts::EnterFilenameFirst,
            texts::ImportMissing,
            con ? texts::ImportConQuestion : texts::ImportSpmQuestion,
            texts::ImportShortcut};
}

const ChooserFlow deleteFlow{texts::DeleteTitle, false, texts::DeleteEnterFilename,
                             texts::DeleteMissing, texts::DeleteQuestion};

std::string userForm(Database database)
{
    return std::string(member(database, Role::Live).userForm);
}

} // namespace

TransferCommands::TransferCommands(Platform platform, CommonDialog& commonDialog1,
                                   std::unique_ptr<CopyRunner> copier)
    : platform_(platform), commonDialog1_(commonDialog1), copier_(std::move(copier))
{
}

std::string TransferCommands::prepareChooser(const char* title)
{
    std::string folder = platform_.files.ApplicationFolder();
    commonDialog1_.SetCancelError(true);
    commonDialog1_.SetInitDir(platform_.files.ChooserFolder(folder));
    commonDialog1_.SetDefaultExt(texts::ChooserDefaultExt);
    commonDialog1_.SetFilter(texts::ChooserFilter);
    commonDialog1_.SetDialogTitle(title);
    return folder;
}

int TransferCommands::ask(const LeaveHandler& onError, const char* question)
{
    lastAnswer_ = onError.must(platform_.windows.MsgBox(question, MB_YESNOCANCEL, MessageTitle));
    return *lastAnswer_;
}

// The loop that the file commands share: chooser, empty name, existence test
// of the name as the host takes it, question. A cancelled chooser or any other
// failure leaves the flow.
std::optional<FilePath> TransferCommands::choose(const LeaveHandler& onError,
                                                 const ChooserFlow& flow, std::string& folder)
{
    for (;;) {
        folder = prepareChooser(flow.chooserTitle);
        onError.must(flow.save ? commonDialog1_.ShowSave() : commonDialog1_.ShowOpen());
        std::string name = commonDialog1_.FileName();
        if (name.empty()) {
            onError.must(
                platform_.windows.MsgBox(flow.emptyName, MB_ICONINFORMATION, std::nullopt));
            continue;
        }
        FilePath chosen = chosenFile(name, folder);
        if (!onError.must(platform_.files.FileExists(chosen))) {
            if (!flow.missing)
                return chosen;
            onError.must(platform_.windows.MsgBox(flow.missing, MB_ICONINFORMATION, std::nullopt));
            return std::nullopt;
        }
        if (flow.shortcut && platform_.files.IsShortcut(chosen)) {
            onError.must(platform_.windows.MsgBox(flow.shortcut, MB_ICONINFORMATION, std::nullopt));
            return std::nullopt;
        }
        const int answer = ask(onError, flow.question);
        if (answer == IDYES)
            return chosen;
        if (answer != IDNO)
            return std::nullopt;
    }
}

void TransferCommands::exportDatabase(Database database)
{
    runFileCommand([&](const LeaveHandler& onError, std::optional<std::string>& notice) {
        std::string folder;
        const std::optional<FilePath> chosen = choose(onError, exportFlow(database), folder);
        if (!chosen)
            return;
        FileSystem& files = platform_.files;
        const FilePath source = memberPath(folder, database, Role::Live);
        const FilePath& target = *chosen;
        busy_.emplace(platform_.windows, progress::copyingLine(source.shown(), target.shown()));
        const auto refuse = [&](const Status& failed) {
            if (!failed)
                notice = failureNotice(FileCommand::Export, userForm(database), target.text(),
                                       failed.error());
            onError.must(failed);
        };
        const auto hold = CommandHold::take(files, folder);
        refuse(hold.status());
        refuse(copier_->copy(source.shown(), target.shown(),
                             [&files, source, target](const CopyProgress& progress) {
                                 return copyFile(files, source, target, {true, progress});
                             }));
    });
}

void TransferCommands::importDatabase(Database database)
{
    runFileCommand([&](const LeaveHandler& onError, std::optional<std::string>& notice) {
        std::string folder;
        const std::optional<FilePath> chosen = choose(onError, importFlow(database), folder);
        if (!chosen)
            return;
        FileSystem& files = platform_.files;
        const FilePath& source = *chosen;
        busy_.emplace(platform_.windows,
                      progress::copyingLine(source.shown(),
                                            memberPath(folder, database, Role::Live).shown()));
        const auto refuse = [&](const Status& failed, const ChangeReport& report = {}) {
            notice = failureNotice(FileCommand::Import, userForm(database), source.text(),
                                   failed.error(), report);
            onError.must(failed);
        };
        const auto hold = CommandHold::take(files, folder);
        if (!hold)
            return refuse(hold.status());
        FamilyChange change(files, folder, database);
        Status step = change.prepare([&](const FilePath& live) {
            return copier_->copy(source.shown(), live.shown(),
                                 [&files, source, live](const CopyProgress& progress) {
                                     return files.StageCopy(source, live, {true, progress});
                                 });
        });
        if (step)
            step = change.shiftRun();
        if (step)
            step = change.finish(
                [this](const FilePath& file, const FilePath& backup, const auto& keep) {
                    return copier_->copy(file.shown(), backup.shown(), keep);
                });
        if (step)
            return;
        if (change.report().placed)
            return refuse(step, change.report());
        return refuse(step, change.rollBack());
    });
}

void TransferCommands::deleteFile()
{
    runFileCommand([&](const LeaveHandler& onError, std::optional<std::string>& notice) {
        std::string folder;
        const std::optional<FilePath> chosen = choose(onError, deleteFlow, folder);
        if (!chosen)
            return;
        const auto refuse = [&](const Status& failed) {
            if (!failed)
                notice = failureNotice(FileCommand::Delete, {}, chosen->text(), failed.error());
            onError.must(failed);
        };
        const auto hold = CommandHold::take(platform_.files, folder);
        refuse(hold.status());
        refuse(platform_.files.DeleteFile(*chosen, false));
    });
}

FilePath TransferCommands::chosenFile(const std::string& returned, const std::string& folder)
{
    std::string path = platform_.files.ChosenPath(returned);
    std::string shown =
        progress::shownName(path, platform_.files.ChooserFolder(folder), platform_.files);
    return FilePath::chosen(std::move(path), std::move(shown));
}

// Every end, normal or failed, passes the same end section. It is silent
// except after a confirmed copy or delete that failed: the user must not
// take that for a success.
void TransferCommands::runFileCommand(const FileCommandFlow& flow)
{
    const LeaveHandler onError;
    std::optional<std::string> notice;
    onError.run([&] { flow(onError, notice); },
                [&](const OpError&) {
                    if (notice)
                        platform_.windows.MsgBox(*notice, MB_ICONERROR, MessageTitle);
                });
    busy_.reset();
}

void TransferCommands::exitAndRestart()
{
    const NextStatement onError;
    onError.step(platform_.windows.Shell(MainProgramName, vbNormalFocus));
    platform_.windows.Unload(0);
}

void TransferCommands::quit()
{
    platform_.windows.Unload(0);
}

} // namespace marlo
