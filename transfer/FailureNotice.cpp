#include "FailureNotice.h"

#include "FailureWords.h"

#include <vector>

namespace marlo {

namespace {

std::string headline(FileCommand command, std::string_view database)
{
    switch (command) {
    case FileCommand::Export:
        return " Could not export " + std::string(database) + " to your selected file ! ";
    case FileCommand::Import:
        return " Could not import your selected file as " + std::string(database) + " ! ";
    case FileCommand::Delete:
        break;
    }
    return " Could not delete your selected file ! ";
}

// The description is a phrase for users ("the file is read-only"); it gets
// exactly one full stop whether or not it brought one.
std::string reason(const OpError& error)
{
    std::string text = error.description;
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    while (!text.empty() && text.front() == ' ')
        text.erase(text.begin());
    if (text.empty())
        text = "the system gave no reason";
    return " Reason: " + text + ". ";
}

// The user stopped the copy; there is no other reason to give.
std::string cancelledHeadline(FileCommand command, std::string_view database)
{
    if (command == FileCommand::Import)
        return " The import of your selected file as " + std::string(database) +
               " was cancelled ! ";
    return " The export of " + std::string(database) + " to your selected file was cancelled ! ";
}

// The command did what it was asked, and something after that failed.
std::string doneHeadline(FileCommand command, std::string_view database)
{
    switch (command) {
    case FileCommand::Export:
        return " " + std::string(database) + " was exported to your selected file ! ";
    case FileCommand::Import:
        return " Your selected file was imported as " + std::string(database) + " ! ";
    case FileCommand::Delete:
        break;
    }
    return " Your selected file was deleted ! ";
}

std::string sentences(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text.append(" ").append(capitalised(line)).append(".");
    return text;
}

// What the files are like now.
std::string outcome(bool done, const ChangeReport& report, bool unflushed)
{
    if (done)
        return sentences(report.whereNow) +
               (unflushed ? " The drive did not confirm that the change is on the disk... " : " ");
    if (!report.whereNow.empty())
        return " Not everything could be put back:" + sentences(report.whereNow) + ".. ";
    if (unflushed)
        return " Every file was put back, but the drive did not confirm that it is on the "
               "disk... ";
    return " Nothing was changed... ";
}

} // namespace

std::string failureNotice(FileCommand command, std::string_view database,
                          const std::string& chosenFile, const OpError& error,
                          const ChangeReport& report)
{
    // An import is done only where its new file holds the live name: one
    // rolled back is not, whatever its steps' flushes said. The other
    // commands have one step, done where it made its change.
    const bool done = command == FileCommand::Import ? report.placed : error.changeMade;
    const bool unflushed = report.unflushed || error.changeMade;
    if (error.cancelled && command != FileCommand::Delete && !report.changed())
        return cancelledHeadline(command, database) + "\r\n " + chosenFile +
               " \r\n Nothing was changed... ";
    return (done ? doneHeadline(command, database) : headline(command, database)) + "\r\n " +
           chosenFile + " \r\n" + reason(error) + "\r\n" + outcome(done, report, unflushed);
}

} // namespace marlo
