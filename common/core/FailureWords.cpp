#include "FailureWords.h"

#include <cctype>

namespace marlo {

std::string_view failureWords(FileFailure failure)
{
    switch (failure) {
    case FileFailure::Cancelled:
        return "the copy was cancelled";
    case FileFailure::SourceMissing:
        return "the source file does not exist";
    case FileFailure::SourceIsFolder:
        return "the source is a folder";
    case FileFailure::SourceNotOrdinary:
        return "the source is not an ordinary file";
    case FileFailure::SourceChanged:
        return "the file changed while it was being copied; close the main program and try again";
    case FileFailure::SameFile:
        return "the source and the destination are the same file";
    case FileFailure::DestinationIsFolder:
        return "the destination is a folder";
    case FileFailure::DestinationNotOrdinary:
        return "the destination is not an ordinary file";
    case FileFailure::DestinationLinkMissing:
        return "the destination is a link to a missing file";
    case FileFailure::DestinationFolderMissing:
        return "the destination folder does not exist";
    case FileFailure::DestinationExists:
        return "the destination already exists";
    case FileFailure::DestinationReadOnly:
        return "the destination file is read-only";
    case FileFailure::NewCopyHeld:
        return "the new copy was held open by another program, such as a virus scanner";
    case FileFailure::NoTemporaryFile:
        return "no temporary file could be made beside the destination";
    case FileFailure::FileMissing:
        return "the file does not exist";
    case FileFailure::FolderMissing:
        return "the folder does not exist";
    case FileFailure::NameIsFolder:
        return "the name is a folder, not a file";
    case FileFailure::NameNotOrdinary:
        return "the name is not an ordinary file";
    case FileFailure::FileReadOnly:
        return "the file is read-only";
    case FileFailure::NewNameTaken:
        return "a file of the new name already exists";
    case FileFailure::InUse:
        return "the file is in use by another program";
    case FileFailure::FolderLocked:
        return "another copy of the tools is working in this folder; try again when it has "
               "finished";
    case FileFailure::FolderHeld:
        return "another command is changing the database files in this folder; try again when "
               "it has finished";
    case FileFailure::NoSafeRename:
        return "the drive cannot rename a file without the risk of replacing another";
    case FileFailure::FolderNotFlushed:
        return "the folder could not be flushed to the disk";
    case FileFailure::NoSuchFile:
        return "no such file or folder";
    case FileFailure::PermissionDenied:
        return "permission denied";
    case FileFailure::NameTaken:
        return "a file of that name already exists";
    case FileFailure::PathIsFolder:
        return "the name is a folder";
    case FileFailure::PathPartNotFolder:
        return "a part of the path is not a folder";
    case FileFailure::DiskFull:
        return "the disk is full";
    case FileFailure::DriveReadOnly:
        return "the drive is read-only";
    case FileFailure::DiskError:
        return "the disk could not be read or written";
    case FileFailure::OtherDrive:
        return "the file cannot be moved to another drive";
    case FileFailure::NameTooLong:
        return "the name is too long";
    case FileFailure::NameInvalid:
        return "the name is not valid";
    case FileFailure::TooManyLinks:
        return "the path has too many links in it";
    case FileFailure::TooManyOpenFiles:
        return "too many files are open";
    case FileFailure::OutOfMemory:
        return "there is not enough memory";
    case FileFailure::FileTooLarge:
        return "the file is too large for the destination drive";
    case FileFailure::Busy:
        return "the file is in use";
    case FileFailure::DriveNotReady:
        return "the drive is not ready";
    case FileFailure::Unsupported:
        return "the drive does not support this operation";
    case FileFailure::Unexpected:
        break;
    }
    return "an unexpected error occurred";
}

std::string failureWords(FileFailure failure, std::string_view more)
{
    std::string words(failureWords(failure));
    if (more.empty())
        return words;
    if (failure == FileFailure::FolderNotFlushed)
        return words.append(": ").append(more);
    return words.append(" (").append(more).append(")");
}

std::string capitalised(std::string phrase)
{
    if (!phrase.empty())
        phrase[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(phrase[0])));
    return phrase;
}

} // namespace marlo
