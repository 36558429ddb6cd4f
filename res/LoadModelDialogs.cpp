// Dialog templates of the load-model property sheet's pages and of the load model ensemble
// dialog, and the row menu of the grids that edit tables of numbers.
#include "res/LoadModelDialogs.h"
#include "controls/grid/GridCtrl.h"
#include "platform/gui/Afx.h"
#include "res/WindowClasses.h"

namespace {

constexpr UINT kLabel = 0xFFFF; // labels are never addressed
constexpr DWORD kPageStyle = WS_CHILD | WS_CAPTION | DS_CONTROL;
constexpr DWORD kEdit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
constexpr DWORD kNumber = ES_AUTOHSCROLL | ES_RIGHT | WS_BORDER | WS_TABSTOP;
constexpr DWORD kGrid = WS_BORDER | WS_TABSTOP;

const DialogItem kOverviewItems[] = {
    {L"Static", kLabel, L"Description:", SS_LEFT, 7, 9, 44, 8},
    {L"Edit", IDC_LM_DESCRIPTION, L"", kEdit, 54, 7, 182, 14},
    {L"Static", kLabel, L"ID:", SS_RIGHT, 242, 9, 14, 8},
    {L"Edit", IDC_LM_ID, L"", kNumber | WS_DISABLED, 259, 7, 34, 14},
    {L"Button", IDC_LM_IS_EDITABLE, L"Is Editable?", BS_AUTOCHECKBOX | WS_DISABLED, 7, 27, 64, 10},
    {L"Button", IDC_LM_STATIONARY, L"Stationary load model", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 80, 27, 100,
     10},
    {L"Button", IDC_LM_MOVING, L"Moving load model", BS_AUTORADIOBUTTON, 190, 27, 100, 10},
    {DRAWCTRL_CLASSNAME, IDC_LM_DRAWING, L"", WS_GROUP, 7, 44, 286, 152},
};
QOR_DIALOG_RESOURCE(IDD_PROPPAGE_LM_OVERVIEW, L"Overview", kPageStyle, 300, 203, kOverviewItems);

const DialogItem kVehicleItems[] = {
    {L"Static", kLabel, L"Location of front axle in the loadmodel coordinate system (m):", SS_LEFT, 7, 9, 214, 8},
    {L"Edit", IDC_LM_FRONT_AXLE, L"", kNumber, 225, 7, 68, 14},
    {GRIDCTRL_CLASSNAME, IDC_LM_GRID, L"", kGrid, 7, 26, 286, 118},
    {L"Static", kLabel, L"Factor for axle loads:", SS_LEFT, 7, 152, 90, 8},
    {L"Edit", IDC_LM_PL_FACTOR, L"", kNumber, 100, 150, 68, 14},
    {L"Static", kLabel, L"Total vehicle weight:", SS_LEFT, 7, 170, 90, 8},
    {L"Edit", IDC_LM_TOTAL_WEIGHT, L"", kNumber, 100, 168, 68, 14},
    {L"Static", kLabel, L"Total vehicle length:", SS_LEFT, 7, 188, 90, 8},
    {L"Edit", IDC_LM_TOTAL_LENGTH, L"", kNumber, 100, 186, 68, 14},
    {L"Static", kLabel, L"m", SS_LEFT, 172, 188, 12, 8},
};
QOR_DIALOG_RESOURCE(IDD_PROPPAGE_LM_VEHICLE, L"Vehicle", kPageStyle, 300, 203, kVehicleItems);

const DialogItem kUDLItems[] = {
    {GRIDCTRL_CLASSNAME, IDC_LM_GRID, L"", kGrid, 7, 7, 286, 168},
    {L"Static", kLabel, L"Factor for UDLs:", SS_LEFT, 7, 184, 90, 8},
    {L"Edit", IDC_LM_UDL_FACTOR, L"", kNumber, 100, 182, 68, 14},
};
QOR_DIALOG_RESOURCE(IDD_PROPPAGE_LM_UDLS, L"UDLs", kPageStyle, 300, 203, kUDLItems);

const DialogItem kPartialUDLItems[] = {
    {GRIDCTRL_CLASSNAME, IDC_LM_GRID, L"", kGrid, 7, 7, 286, 168},
    {L"Static", kLabel, L"Factor for PUDLs:", SS_LEFT, 7, 184, 90, 8},
    {L"Edit", IDC_LM_PUDL_FACTOR, L"", kNumber, 100, 182, 68, 14},
};
QOR_DIALOG_RESOURCE(IDD_PROPPAGE_LM_PARTIAL_UDLS, L"Partial UDLs", kPageStyle, 300, 203, kPartialUDLItems);

const DialogItem kFactorItems[] = {
    {GRIDCTRL_CLASSNAME, IDC_LM_GRID, L"", kGrid, 7, 7, 286, 96},
    {L"Static", kLabel, L"Width factor:", SS_LEFT, 7, 114, 90, 8},
    {L"ComboBox", IDC_LM_WIDTH_FACTOR, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 100, 112, 110, 14},
    {L"Static", kLabel, L"Overall factor:", SS_LEFT, 7, 134, 90, 8},
    {L"Edit", IDC_LM_OVERALL_FACTOR, L"", kNumber | WS_DISABLED, 100, 132, 110, 14},
};
QOR_DIALOG_RESOURCE(IDD_PROPPAGE_LM_FACTORS, L"Factors", kPageStyle, 300, 203, kFactorItems);

const DialogItem kApplicableItems[] = {
    {L"Button", kLabel, L"Load effects", BS_GROUPBOX, 7, 7, 110, 84},
    {L"Button", IDC_LM_USE_BM, L"Bending moment", BS_AUTOCHECKBOX | WS_TABSTOP, 15, 24, 95, 10},
    {L"Button", IDC_LM_USE_SF, L"Shear Force", BS_AUTOCHECKBOX | WS_TABSTOP, 15, 40, 95, 10},
    {L"Button", IDC_LM_REACTIONS, L"Reactions", BS_AUTOCHECKBOX | WS_DISABLED, 15, 56, 95, 10},
    {L"Button", kLabel, L"Bridge lengths", BS_GROUPBOX, 125, 7, 168, 84},
    {L"Button", IDC_LM_USE_MIN, L"Does not apply below length", BS_AUTOCHECKBOX | WS_TABSTOP, 133, 24, 150, 10},
    {L"Edit", IDC_LM_MIN_LENGTH, L"", kNumber, 133, 36, 60, 14},
    {L"Static", IDC_LM_MIN_UNIT, L"m", SS_LEFT, 197, 39, 12, 8},
    {L"Button", IDC_LM_USE_MAX, L"Does not apply above length", BS_AUTOCHECKBOX | WS_TABSTOP, 133, 56, 150, 10},
    {L"Edit", IDC_LM_MAX_LENGTH, L"", kNumber, 133, 68, 60, 14},
    {L"Static", IDC_LM_MAX_UNIT, L"m", SS_LEFT, 197, 71, 12, 8},
    {L"Static", kLabel, L"Adjust to bridge:", SS_LEFT, 7, 104, 70, 8},
    {L"ComboBox", IDC_LM_RULE, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 80, 102, 140, 14},
};
QOR_DIALOG_RESOURCE(IDD_PROPPAGE_LM_APPLICABLE, L"Applicability", kPageStyle, 300, 203, kApplicableItems);

const DialogItem kEnsembleItems[] = {
    {L"Static", kLabel, L"Description:", SS_LEFT, 7, 9, 44, 8},
    {L"Edit", IDC_LM_DESCRIPTION, L"", kEdit, 54, 7, 190, 14},
    {L"Static", kLabel, L"ID:", SS_RIGHT, 250, 9, 14, 8},
    {L"Edit", IDC_LM_ID, L"", kNumber | WS_DISABLED, 267, 7, 36, 14},
    {L"Static", kLabel, L"Available load models:", SS_LEFT, 7, 28, 140, 8},
    {L"ListBox", IDC_LME_AVAILABLE, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 7, 39,
     145, 130},
    {L"Static", kLabel, L"Included load models:", SS_LEFT, 158, 28, 140, 8},
    {L"ListBox", IDC_LME_INCLUDED, L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 158,
     39, 145, 130},
    {L"Static", kLabel,
     L"To add load models to an ensemble, using the mouse, drag from the \"Available load models\" box into the "
     L"\"Included load models\" box. To remove load models from the ensemble, drag and drop in the opposite "
     L"direction. Double click to view the load model.",
     SS_LEFT, 7, 175, 296, 34},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 199, 214, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 253, 214, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_LOAD_MODEL_ENSEMBLE, L"Load Model Ensemble Definition",
                    DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU, 310, 235, kEnsembleItems);

const MenuItemDef kGridRowMenu[] = {
    {MF_POPUP, 0, L"Row"},
    {MF_STRING, ID_GRID_DELETE_ROW, L"&Delete Row"},
    {MF_STRING, ID_GRID_SELECT_ALL, L"Select &All\tCtrl+A"},
    {MF_END},
};
QOR_MENU_RESOURCE(IDR_POPUP_GRID_ROW, kGridRowMenu);

} // namespace
