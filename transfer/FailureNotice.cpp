#include "FailureNotice.h"

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

} // namespace

std::string failureNotice(FileCommand command, std::string_view database,
                          const std::string& chosenFile, const OpError& error)
{
    if (error.cancelled && command != FileCommand::Delete)
        return cancelledHeadline(command, database) + "\r\n " + chosenFile +
               " \r\n Nothing was changed... ";
    return headline(command, database) + "\r\n " + chosenFile + " \r\n" + reason(error) +
           "\r\n Nothing was changed... ";
}

} // namespace marlo
