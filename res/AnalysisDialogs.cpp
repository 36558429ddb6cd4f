// Templates of the analysis choice dialogs (single position, moving load, bridge range,
// reference collection pickers, critical ratios, envelope comparison) and of the reference
// collection dialog.
#include "res/AnalysisDialogs.h"

#include "platform/gui/Afx.h"
#include "platform/gui/widgets/CheckListBox.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kList = LBS_NOTIFY | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kCheckList = LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kReadOnly = ES_AUTOHSCROLL | ES_READONLY | WS_BORDER;
constexpr DWORD kNumber = ES_AUTOHSCROLL | ES_RIGHT | WS_BORDER | WS_TABSTOP;
constexpr DWORD kGroupBox = BS_GROUPBOX;
constexpr DWORD kLabel = SS_LEFT;

const DialogItem kSinglePosition[] = {
    {L"Button", 0xFFFF, L"System Configuration", kGroupBox, 7, 4, 230, 86},
    {L"Static", 0xFFFF, L"Select bridge:", kLabel, 14, 16, 100, 8},
    {L"ListBox", IDC_LIST_BRIDGE, L"", kList | WS_GROUP, 14, 27, 105, 56},
    {L"Static", 0xFFFF, L"Select loadmodel:", kLabel, 125, 16, 100, 8},
    {L"ListBox", IDC_LIST_LOADMODEL, L"", kList | WS_GROUP, 125, 27, 105, 56},
    {L"Button", 0xFFFF, L"Analysis Configuration", kGroupBox, 7, 94, 230, 32},
    {L"Static", 0xFFFF, L"Location of the loadmodel:", kLabel, 14, 108, 96, 8},
    {L"Edit", IDC_EDIT_POSITION, L"", kNumber | WS_GROUP, 112, 106, 60, 14},
    {L"Static", 0xFFFF, L"m", kLabel, 176, 108, 12, 8},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 133, 133, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 187, 133, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_SINGLE_POSITION, L"Single Position Analysis", kDialogStyle, 244, 154, kSinglePosition);

const DialogItem kMovingLoad[] = {
    {L"Button", 0xFFFF, L"Load Configuration", kGroupBox, 7, 4, 158, 158},
    {L"Button", IDC_RADIO_USE_LM, L"Use Load Model", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 16, 140, 10},
    {L"Button", IDC_RADIO_USE_LME, L"Use Load Model Ensemble", BS_AUTORADIOBUTTON, 14, 88, 140, 10},
    {L"Static", 0xFFFF, L"Select loadmodel:", kLabel | WS_GROUP, 14, 29, 140, 8},
    {L"ListBox", IDC_LIST_LOADMODEL, L"", kList | WS_GROUP, 14, 39, 144, 44},
    {L"Static", 0xFFFF, L"Select loadmodel ensemble:", kLabel, 14, 101, 140, 8},
    {L"ListBox", IDC_LIST_LME, L"", kList | WS_GROUP, 14, 111, 144, 44},
    {L"Button", 0xFFFF, L"Bridge Configuration", kGroupBox, 171, 4, 158, 76},
    {L"Static", 0xFFFF, L"Select bridge:", kLabel, 178, 16, 140, 8},
    {L"ListBox", IDC_LIST_BRIDGE, L"", kList | WS_GROUP, 178, 27, 144, 46},
    {L"Button", 0xFFFF, L"Analysis Configuration", kGroupBox, 171, 84, 158, 78},
    {L"Button", IDC_RADIO_BY_STEP, L"Use step distance:", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 178, 98, 80, 10},
    {L"Button", IDC_RADIO_BY_COUNT, L"Use no. of steps:", BS_AUTORADIOBUTTON, 178, 116, 80, 10},
    {L"Edit", IDC_EDIT_STEP, L"", kNumber | WS_GROUP | WS_DISABLED, 262, 96, 48, 14},
    {L"Static", IDC_STATIC_STEP_UNIT, L"m", kLabel | WS_DISABLED, 313, 98, 12, 8},
    {L"Edit", IDC_EDIT_NSTEPS, L"", kNumber | WS_DISABLED, 262, 114, 48, 14},
    {L"Static", IDC_STATIC_NSTEPS_UNIT, L"#", kLabel | WS_DISABLED, 313, 116, 12, 8},
    {L"Button", IDC_CHECK_DISPLAY_EACH, L"Display each sub-analysis result", BS_CHECKBOX | WS_TABSTOP | WS_GROUP, 178,
     140, 145, 10},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 225, 168, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 279, 168, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_MOVING_LOAD, L"Moving Load Analysis", kDialogStyle, 336, 189, kMovingLoad);

const DialogItem kBridgeRange[] = {
    {L"Static", 0xFFFF, L"Select bridge set:", kLabel, 7, 7, 110, 8},
    {L"ListBox", IDC_LIST_BRIDGESET, L"", kList | WS_GROUP, 7, 18, 112, 64},
    {L"Static", 0xFFFF, L"Select loadmodel:", kLabel, 125, 7, 110, 8},
    {L"ListBox", IDC_LIST_LOADMODEL, L"", kList | WS_GROUP, 125, 18, 112, 64},
    {L"Button", 0xFFFF, L"Analysis Configuration", kGroupBox, 7, 88, 230, 50},
    {L"Button", IDC_RADIO_BY_STEP, L"Use step distance:", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 102, 80, 10},
    {L"Button", IDC_RADIO_BY_COUNT, L"Use no. of steps:", BS_AUTORADIOBUTTON, 14, 120, 80, 10},
    {L"Edit", IDC_EDIT_STEP, L"", kNumber | WS_GROUP | WS_DISABLED, 100, 100, 55, 14},
    {L"Static", IDC_STATIC_STEP_UNIT, L"m", kLabel | WS_DISABLED, 159, 102, 12, 8},
    {L"Edit", IDC_EDIT_NSTEPS, L"", kNumber | WS_DISABLED, 100, 118, 55, 14},
    {L"Static", IDC_STATIC_NSTEPS_UNIT, L"#", kLabel | WS_DISABLED, 159, 120, 12, 8},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 133, 145, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 187, 145, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_BRIDGE_RANGE, L"Bridge Range Analysis", kDialogStyle, 244, 166, kBridgeRange);

const DialogItem kAnalyzeRefCollection[] = {
    {L"Static", 0xFFFF, L"Select the reference collection to analyse (may take some time):", kLabel, 7, 7, 230, 8},
    {L"ListBox", IDC_LIST_REFCOLLECTION, L"", kList | WS_GROUP, 7, 19, 230, 72},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 133, 98, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 187, 98, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_ANALYZE_REF_COLLECTION, L"Analyse Reference Collection", kDialogStyle, 244, 119,
                    kAnalyzeRefCollection);

const DialogItem kViewRefCollection[] = {
    {L"Static", 0xFFFF, L"Select reference collection:", kLabel, 7, 7, 230, 8},
    {L"ListBox", IDC_LIST_REFCOLLECTION, L"", kList | WS_GROUP, 7, 19, 230, 72},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 133, 98, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 187, 98, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_VIEW_REF_COLLECTION, L"View Reference Collection", kDialogStyle, 244, 119, kViewRefCollection);

const DialogItem kCritRatio[] = {
    {L"Button", 0xFFFF, L"Proposed", kGroupBox, 7, 4, 158, 158},
    {L"Button", IDC_RADIO_USE_LM, L"Use Load Model", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 16, 140, 10},
    {L"Button", IDC_RADIO_USE_LME, L"Use Load Model Ensemble", BS_AUTORADIOBUTTON, 14, 88, 140, 10},
    {L"Static", 0xFFFF, L"Select load model:", kLabel | WS_GROUP, 14, 29, 140, 8},
    {L"ListBox", IDC_LIST_LOADMODEL, L"", kList | WS_GROUP, 14, 39, 144, 44},
    {L"Static", 0xFFFF, L"Select loadmodel ensemble:", kLabel, 14, 101, 140, 8},
    {L"ListBox", IDC_LIST_LME, L"", kList | WS_GROUP, 14, 111, 144, 44},
    {L"Button", 0xFFFF, L"Reference", kGroupBox, 171, 4, 158, 158},
    {L"Static", 0xFFFF, L"Select Reference Collection:", kLabel, 178, 16, 140, 8},
    {L"ListBox", IDC_LIST_REFCOLLECTION, L"", kList | WS_GROUP, 178, 27, 144, 96},
    {L"Static", 0xFFFF, L"Global multiplier:", kLabel, 178, 134, 70, 8},
    {L"Edit", IDC_EDIT_MULTIPLIER, L"", kNumber | WS_GROUP, 252, 132, 60, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 225, 168, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 279, 168, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_CRIT_RATIO_REF_COLL, L"Make Critical Ratios", kDialogStyle, 336, 189, kCritRatio);

const DialogItem kCompareEnvelopes[] = {
    {L"Static", 0xFFFF, L"Select reference collection:", kLabel, 7, 7, 150, 8},
    {L"ListBox", IDC_LIST_REFCOLLECTION, L"", kList | WS_GROUP, 7, 18, 150, 52},
    {L"Static", 0xFFFF, L"Select reference envelope:", kLabel, 7, 76, 150, 8},
    {L"ListBox", IDC_LIST_REFSET, L"", kList | WS_GROUP, 7, 87, 150, 52},
    {L"Static", 0xFFFF, L"Select bridge:", kLabel, 165, 7, 168, 8},
    {L"ListBox", IDC_LIST_BRIDGE, L"", kList | WS_GROUP, 165, 18, 168, 52},
    {L"Static", 0xFFFF, L"Bridge Set:", kLabel, 165, 79, 78, 8},
    {L"Edit", IDC_EDIT_CMP_BRIDGESET, L"", kReadOnly, 245, 77, 88, 14},
    {L"Static", 0xFFFF, L"Load Model Ensemble:", kLabel, 165, 97, 78, 8},
    {L"Edit", IDC_EDIT_CMP_LME, L"", kReadOnly, 245, 95, 88, 14},
    {L"Static", 0xFFFF, L"Proposed LM/E:", kLabel, 165, 115, 78, 8},
    {L"Edit", IDC_EDIT_CMP_PROPOSED, L"", kReadOnly, 245, 113, 88, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 229, 146, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 283, 146, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_COMPARE_ENVELOPES, L"Compare Critical Envelopes", kDialogStyle, 340, 167, kCompareEnvelopes);

const DialogItem kRefCollection[] = {
    {L"Static", 0xFFFF, L"Description:", kLabel, 7, 9, 44, 8},
    {L"Edit", IDC_EDIT_DESCRIPTION, L"", kEdit | WS_GROUP, 53, 7, 136, 14},
    {L"Static", 0xFFFF, L"ID", kLabel, 197, 9, 10, 8},
    {L"Edit", IDC_EDIT_ID, L"", kReadOnly, 210, 7, 30, 14},
    {L"Button", 0xFFFF, L"System Configuration", kGroupBox, 7, 26, 233, 130},
    {L"Static", 0xFFFF, L"Select bridge set:", kLabel, 14, 38, 150, 8},
    {L"ListBox", IDC_LIST_BRIDGESET, L"", kCheckList | WS_GROUP, 14, 48, 219, 46},
    {L"Static", 0xFFFF, L"Select loadmodel ensemble:", kLabel, 14, 99, 150, 8},
    {L"ListBox", IDC_LIST_LME, L"", kCheckList | WS_GROUP, 14, 109, 219, 40},
    {L"Button", 0xFFFF, L"Analysis Configuration", kGroupBox, 7, 160, 233, 50},
    {L"Button", IDC_RADIO_BY_STEP, L"Use step distance:", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 174, 80, 10},
    {L"Button", IDC_RADIO_BY_COUNT, L"Use no. of steps:", BS_AUTORADIOBUTTON, 14, 192, 80, 10},
    {L"Edit", IDC_EDIT_STEP, L"", kNumber | WS_GROUP | WS_DISABLED, 98, 172, 40, 14},
    {L"Static", IDC_STATIC_STEP_UNIT, L"m", kLabel | WS_DISABLED, 141, 174, 10, 8},
    {L"Edit", IDC_EDIT_NSTEPS, L"", kNumber | WS_DISABLED, 98, 190, 40, 14},
    {L"Static", IDC_STATIC_NSTEPS_UNIT, L"#", kLabel | WS_DISABLED, 141, 192, 10, 8},
    {L"Button", IDC_CHECK_CALCULATED, L"Has been calculated", BS_AUTOCHECKBOX | WS_DISABLED | WS_GROUP, 156, 183, 80,
     10},
    {L"Button", 0xFFFF, L"Overstress Configuration", kGroupBox, 7, 214, 233, 52},
    {L"Button", IDC_CHECK_OVERSTRESS, L"Use Overstress Method", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 228, 120,
     10},
    {L"Static", 0xFFFF, L"Overstress Factor", kLabel, 14, 247, 70, 8},
    {L"Edit", IDC_EDIT_OVERSTRESS_FACTOR, L"", kNumber | WS_GROUP, 88, 245, 55, 14},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 136, 276, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 190, 276, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_REF_COLLECTION, L"Edit Reference Collection", kDialogStyle, 247, 297, kRefCollection);

} // namespace
