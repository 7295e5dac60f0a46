#pragma once

// The fixed texts of the five file commands, blanks included.
namespace marlo::texts {

inline constexpr const char* ChooserFilter =
    "MS Access DB (*.mdb)|*.mdb|Backup files (*.bak)|*.bak|All files (*.*)|*.*";
inline constexpr const char* ChooserDefaultExt = "*.mdb";

inline constexpr const char* ExportConTitle =
    " MARLO-Corvane: EXPORT MARLOCON.MDB Database to a file...";
inline constexpr const char* ExportSpmTitle =
    " MARLO-Corvane: EXPORT MARLOSPM.MDB Database to a file...";
inline constexpr const char* ImportConTitle =
    " MARLO-Corvane: IMPORT a file to MARLOCON.MDB Database...";
inline constexpr const char* ImportSpmTitle =
    " MARLO-Corvane: IMPORT a file to MARLOSPM.MDB Database...";
inline constexpr const char* DeleteTitle =
    " MARLO-Corvane: DELETE an MARLO-Corvane Database file...";

inline constexpr const char* EnterFilenameFirst = " Please enter a filename first ! ";
inline constexpr const char* OverwriteQuestion =
    " Your selected file already exists ! Overwrite ? ";

inline constexpr const char* ImportMissing = " Your selected file does not exist! Aborting... ";
// A shortcut's own bytes are no database, and the file it leads to is not
// the one the user saw picked.
inline constexpr const char* ImportShortcut =
    " Your selected file is only a shortcut, not a database file! Aborting... ";
inline constexpr const char* ImportConQuestion =
    " Do you really want to import this file? Overwrite original MARLOCON.MDB database? ";
inline constexpr const char* ImportSpmQuestion =
    " Do you really want to import this file? Overwrite original MARLOSPM.MDB database? ";

inline constexpr const char* DeleteEnterFilename = " Please first enter a filename to delete ! ";
inline constexpr const char* DeleteMissing =
    " Your selected file to delete does not exist ! Aborting... ";
inline constexpr const char* DeleteQuestion = " Do you really want to delete the selected file? ";

} // namespace marlo::texts
