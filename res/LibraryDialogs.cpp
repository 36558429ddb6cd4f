// Templates of the standard-library dialogs: "LME Parameters" (spacing, allowance and HB units of a
// library entry) and "Generate LME from Load Model" (a load model and its variable axles).
#include "res/LibraryDialogs.h"

#include "platform/gui/Afx.h"
#include "res/Resource.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kNumber = ES_AUTOHSCROLL | ES_RIGHT | WS_BORDER | WS_TABSTOP;
constexpr DWORD kList = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kGroupBox = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kFirstRadio = BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP;

const DialogItem kParameters[] = {
    {L"Button", 0xFFFF, L"Variable Axle", kGroupBox, 7, 4, 131, 54},
    {L"Button", IDC_LMEP_BY_STEP, L"Use step distance:", kFirstRadio, 14, 18, 82, 10},
    {L"Button", IDC_LMEP_BY_COUNT, L"Use number:", BS_AUTORADIOBUTTON, 14, 38, 82, 10},
    {L"Edit", IDC_LMEP_STEP, L"", kNumber | WS_GROUP, 97, 16, 30, 14},
    {L"Static", IDC_LMEP_STEP_UNIT, L"m", kLabel, 129, 18, 7, 8},
    {L"Edit", IDC_LMEP_COUNT, L"", kNumber, 97, 36, 30, 14},
    {L"Static", IDC_LMEP_COUNT_UNIT, L"#", kLabel, 129, 38, 7, 8},
    {L"Button", 0xFFFF, L"Dynamic Amplification Factor", kGroupBox, 7, 64, 131, 54},
    {L"Button", IDC_LMEP_STANDARD_DLA, L"Use load model DAF", kFirstRadio, 14, 78, 110, 10},
    {L"Button", IDC_LMEP_USER_DLA, L"Specify DAF value:", BS_AUTORADIOBUTTON, 14, 98, 82, 10},
    {L"Edit", IDC_LMEP_DLA, L"", kNumber | WS_GROUP, 97, 96, 30, 14},
    {L"Button", 0xFFFF, L"BS5400", kGroupBox, 7, 124, 131, 36},
    {L"Static", IDC_LMEP_HB_LABEL, L"Number of HB units:", kLabel, 14, 140, 80, 8},
    {L"Edit", IDC_LMEP_HB_UNITS, L"", kNumber | WS_GROUP, 97, 138, 30, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 34, 172, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 88, 172, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_LME_PARAMETERS, L"LME Parameters", kDialogStyle, 145, 194, kParameters);

const DialogItem kGenerate[] = {
    {L"Static", 0xFFFF, L"Select loadmodel:", kLabel, 7, 7, 104, 8},
    {L"ListBox", IDC_GENLME_LOADMODEL, L"", kList | WS_GROUP, 7, 18, 104, 150},
    {L"Static", 0xFFFF, L"Variable axle definitions", kLabel, 117, 7, 200, 8},
    {L"MFCGridCtrl", IDC_GENLME_GRID, L"", WS_TABSTOP | WS_BORDER | WS_GROUP, 117, 18, 390, 150},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 403, 176, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 457, 176, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_GENERATE_LME, L"Generate LME from Load Model", kDialogStyle, 514, 197, kGenerate);

} // namespace
