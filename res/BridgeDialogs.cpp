// Templates of "Define Bridge" and "Add Bridge Set".
#include "res/BridgeDialogs.h"

#include "platform/gui/Afx.h"
#include "res/Resource.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kNumber = ES_AUTOHSCROLL | ES_RIGHT | WS_BORDER | WS_TABSTOP;
constexpr DWORD kLabel = SS_LEFT;

const DialogItem kBridge[] = {
    {L"Static", 0xFFFF, L"Description:", kLabel, 7, 7, 120, 8},
    {L"Edit", IDC_BRIDGE_DESCRIPTION, L"", kEdit | WS_GROUP, 7, 17, 163, 14},
    {L"Static", 0xFFFF, L"ID", kLabel, 7, 37, 60, 8},
    {L"Edit", IDC_BRIDGE_ID, L"", kNumber | WS_DISABLED, 7, 47, 40, 14},
    {L"Static", 0xFFFF, L"Span length (m)", kLabel, 60, 37, 70, 8},
    {L"Edit", IDC_BRIDGE_SPAN, L"", kNumber | WS_GROUP, 60, 47, 50, 14},
    {L"Button", 0xFFFF, L"Configuration", BS_GROUPBOX, 7, 66, 163, 34},
    {L"Button", IDC_BRIDGE_ONE_SPAN, L"One span", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 12, 80, 46, 10},
    {L"Button", IDC_BRIDGE_TWO_SPAN, L"Two span", BS_AUTORADIOBUTTON, 62, 80, 46, 10},
    {L"Button", IDC_BRIDGE_THREE_SPAN, L"Three span", BS_AUTORADIOBUTTON, 112, 80, 54, 10},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 66, 108, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 120, 108, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_BRIDGE, L"Define Bridge", kDialogStyle, 177, 129, kBridge);

const DialogItem kBridgeSet[] = {
    {L"Static", 0xFFFF, L"Description of this set of bridges:", kLabel, 7, 7, 160, 8},
    {L"Edit", IDC_BRIDGE_DESCRIPTION, L"", kEdit | WS_GROUP, 7, 17, 163, 14},
    {L"Static", 0xFFFF, L"ID", kLabel, 7, 37, 60, 8},
    {L"Edit", IDC_BRIDGE_ID, L"", kNumber | WS_DISABLED, 7, 47, 40, 14},
    {L"Button", 0xFFFF, L"Configuration", BS_GROUPBOX, 7, 66, 163, 34},
    {L"Button", IDC_BRIDGE_ONE_SPAN, L"One span", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 12, 80, 46, 10},
    {L"Button", IDC_BRIDGE_TWO_SPAN, L"Two span", BS_AUTORADIOBUTTON, 62, 80, 46, 10},
    {L"Button", IDC_BRIDGE_THREE_SPAN, L"Three span", BS_AUTORADIOBUTTON, 112, 80, 54, 10},
    {L"Button", 0xFFFF, L"Span range", BS_GROUPBOX, 7, 104, 163, 40},
    {L"Static", 0xFFFF, L"From (m)", kLabel, 14, 116, 50, 8},
    {L"Edit", IDC_BRIDGE_START, L"", kNumber | WS_GROUP, 14, 125, 60, 14},
    {L"Static", 0xFFFF, L"To (m)", kLabel, 96, 116, 50, 8},
    {L"Edit", IDC_BRIDGE_END, L"", kNumber | WS_GROUP, 96, 125, 60, 14},
    {L"Button", 0xFFFF, L"Number of bridges", BS_GROUPBOX, 7, 148, 163, 52},
    {L"Button", IDC_BRIDGE_BY_STEP, L"By step:", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 162, 56, 10},
    {L"Edit", IDC_BRIDGE_STEP, L"", kNumber | WS_GROUP | WS_DISABLED, 76, 160, 60, 14},
    {L"Static", IDC_BRIDGE_STEP_UNIT, L"m", kLabel | WS_DISABLED, 140, 162, 12, 8},
    {L"Button", IDC_BRIDGE_BY_NUMBER, L"By number:", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 14, 182, 56, 10},
    {L"Edit", IDC_BRIDGE_NUMBER, L"", kNumber | WS_GROUP | WS_DISABLED, 76, 180, 60, 14},
    {L"Static", IDC_BRIDGE_NUMBER_MARK, L"#", kLabel | WS_DISABLED, 140, 182, 12, 8},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 66, 206, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 120, 206, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_BRIDGE_SET, L"Add Bridge Set", kDialogStyle, 177, 225, kBridgeSet);

} // namespace
