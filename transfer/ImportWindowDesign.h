#pragma once

#include "ButtonClick.h"
#include "TwipBox.h"

#include <array>

// The import/export window's design values, the same on every toolkit:
// boxes in twips, the labels' from the frame's top left corner, the frame's
// and the buttons' from the client area's.
namespace marlo::importwindow {

inline constexpr const char* Caption = "MARLO-Corvane: Import / Export Memory Database Files 1.0";
inline constexpr int ClientWidth = 9000, ClientHeight = 6825;
// Arial 8.25 pt, regular, for the whole window.
inline constexpr double FontPoints = 8.25;

using Box = TwipBox;

// The file chooser, which shows nothing in the window itself.
inline constexpr const char* ChooserName = "CommonDialog1";

// A plain rectangle without a caption; it starts above the client area.
inline constexpr const char* FrameName = "Frame1";
inline constexpr Box FrameBox{60, -15, 8895, 4665};

struct LabelDesign {
    const char* name;
    Box box;
    const char* text;
};

inline constexpr std::array<LabelDesign, 4> Labels{{
    {"Label1",
     {840, 810, 6855, 645},
     "This program part lets you import or export the MARLO-Corvane database files. You can use "
     "this function to either load different database files, or you can use this function to "
     "make backup copies of your existing memory banks, logbook or skedbook entries."},
    {"Label2",
     {825, 1500, 6885, 630},
     "Please keep in mind, that if you import a previously saved database, your active database "
     "will be overwritten. So please make a backup copy first, if you want to save your existing "
     "memory banks, your logbook or your skedbook."},
    {"Label3",
     {825, 2190, 6885, 1035},
     "However, there is still a simple security available, in case you forget to make backup "
     "copies. If you are using the IMPORT function, then the active database will be copied to a "
     "file with a suffix \".bak\", if a \".bak\" file still exists, then this backup will be "
     "renamed also. The program uses up to five backup-files (.bak, .ba2, .ba3, .ba4 and .ba5), "
     "so you will always be able to recall the last five used database files."},
    {"Label4",
     {810, 3285, 6870, 780},
     "Important: MARLO-Corvane is using two different Microsoft Access 97 Database files. They "
     "are originally named MARLOCON.MDB and MARLOSPM.MDB. So please take care of both database "
     "files!"},
}};

// What a button's click runs.
using Action = TransferAction;

struct ButtonDesign {
    const char* name;
    const char* caption;
    Box box;
    Action click;
};

// In tab order.
inline constexpr std::array<ButtonDesign, 8> Buttons{{
    {"Command1", "&EXPORT existing  MARLOCON.MDB", {210, 4785, 2805, 555}, Action::ExportCon},
    {"Command2", "Exit  (&Restart MARLO-Corvane)", {1095, 6135, 3000, 555}, Action::ExitAndRestart},
    {"Command3", "&IMPORT file as MARLOCON.MDB", {3120, 4785, 2805, 555}, Action::ImportCon},
    {"Command4", "Exit  (&Quit all)", {4410, 6135, 3000, 555}, Action::Quit},
    {"Command5", "&IMPORT file as MARLOSPM.MDB", {3120, 5385, 2805, 555}, Action::ImportSpm},
    {"Command6", "&Export existing MARLOSPM.MDB", {210, 5385, 2805, 555}, Action::ExportSpm},
    {"Command7", "&Delete file", {6030, 4785, 2805, 555}, Action::Delete},
    // 15 twips lower than its row; no caption, no click.
    {"Command8", "", {6030, 5400, 2805, 555}, Action::None},
}};

} // namespace marlo::importwindow
