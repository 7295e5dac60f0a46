#pragma once

#include <string>
#include <string_view>

namespace marlo {

// Every failure that a host's file layer reports. The layer picks the kind
// and keeps its own error number; the words that the user reads are written
// here once, for every host.
enum class FileFailure {
    // What a copy, a move, a backup or a delete found in its way.
    Cancelled,
    SourceMissing,
    SourceIsFolder,
    SourceNotOrdinary,
    SourceChanged,
    SameFile,
    DestinationIsFolder,
    DestinationNotOrdinary,
    DestinationLinkMissing,
    DestinationFolderMissing,
    DestinationExists,
    DestinationReadOnly,
    NewCopyHeld,
    NoTemporaryFile,
    FileMissing,
    FolderMissing,
    NameIsFolder,
    NameNotOrdinary,
    FileReadOnly,
    NewNameTaken,
    InUse, // more: the program that holds the file
    FolderLocked,
    FolderHeld,
    NoSafeRename,
    FolderNotFlushed, // more: what the drive answered
    // What a host's error number means.
    NoSuchFile,
    PermissionDenied,
    NameTaken,
    PathIsFolder,
    PathPartNotFolder,
    DiskFull,
    DriveReadOnly,
    DiskError,
    OtherDrive,
    NameTooLong,
    NameInvalid,
    TooManyLinks,
    TooManyOpenFiles,
    OutOfMemory,
    FileTooLarge,
    Busy,
    DriveNotReady,
    Unsupported,
    Unexpected, // more: the host's own words; stays last
};

// The words for a failure: a phrase that stands inside the user's sentence
// ("the file is read-only"), in lower case and without a full stop.
std::string_view failureWords(FileFailure failure);

// The words followed by what more the host knows, where it knows more: the
// program that holds the file ("... (MARLOCON.EXE)"), or the system's words.
std::string failureWords(FileFailure failure, std::string_view more);

// A phrase made the start of a sentence: its first letter a capital.
std::string capitalised(std::string phrase);

} // namespace marlo
