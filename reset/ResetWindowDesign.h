#pragma once

#include "ResetClick.h"
#include "TwipBox.h"

#include <array>

// The reset window's design values, the same on every toolkit: boxes in
// twips from the top left corner of the client area.
namespace marlo::resetwindow {

inline constexpr const char* Caption = "MARLO-Corvane:  Reset Database files ?";
inline constexpr int ClientWidth = 7770, ClientHeight = 3195;
// RGB (255, 128, 128) on the window, its labels and its buttons.
inline constexpr int BackgroundRed = 255, BackgroundGreen = 128, BackgroundBlue = 128;

inline constexpr const char* WarningText =
    "Do you really want to reset your existing memory banks, your existing logbook and your "
    "existing skedbook? However, MARLO-Corvane will generate backup files of your existing "
    "database files. They will be renamed as MARLOMDB.BAK and MARLOSPM.BAK and can be reloaded "
    "by using the pull down menu \"FILES -> IMPORT MEM DATABASE\". So if you wish to continue "
    "resetting your existing database files, please press \"RESET NOW\", otherwise press "
    "\"Cancel\" to abort.";

// What the window shows while it resets, and gives as its reason when a
// log-off has to wait.
inline constexpr const char* ResettingText = "Resetting Database files...";

inline constexpr const char* BackupNotice =
    "Backup files will be generated:  MARLOMDB.BAK and MARLOSPM.BAK";

// The controls' names.
inline constexpr const char* WarningLabel = "Label1";
inline constexpr const char* ResettingLabel = "Label2";
inline constexpr const char* BackupNoticeLabel = "Label3";
inline constexpr const char* CautionLabel = "Label4";
inline constexpr const char* ProgressBarName = "ProgressBar1";
inline constexpr const char* OkButtonName = "OKButton";
inline constexpr const char* CancelButtonName = "CancelButton";

using Box = TwipBox;

enum class Face { Arial, ArialBlack };

struct LabelDesign {
    const char* name;
    const char* text;
    Box box;
    Face face;
    double points;
    int weight;
    bool shown;
};

// In drawing order from the bottom; every label is centred and wraps.
inline constexpr std::array<LabelDesign, 4> Labels{{
    {CautionLabel, "CAUTION !", {705, 120, 6285, 540}, Face::ArialBlack, 20.25, 700, true},
    {ResettingLabel, ResettingText, {195, 195, 7440, 675}, Face::ArialBlack, 21.75, 700, false},
    {WarningLabel, WarningText, {165, 675, 7545, 2265}, Face::Arial, 12, 400, true},
    {BackupNoticeLabel, BackupNotice, {705, 1575, 6375, 840}, Face::ArialBlack, 14.25, 400, false},
}};

inline constexpr Box ProgressBarBox{405, 945, 7020, 525};

// What a button's click runs.
using Action = ResetAction;

struct ButtonDesign {
    const char* name;
    const char* caption;
    Box box;
    Action click;
};

// Arial 9.75 pt, regular.
inline constexpr ButtonDesign OkButton{
    OkButtonName, "RESET NOW !", {4050, 2685, 2100, 375}, Action::ResetNow};
inline constexpr ButtonDesign CancelButton{
    CancelButtonName, "Cancel", {1485, 2685, 2100, 375}, Action::Cancel};
// In tab order.
inline constexpr std::array<ButtonDesign, 2> Buttons{{OkButton, CancelButton}};
inline constexpr double ButtonPoints = 9.75;

} // namespace marlo::resetwindow
