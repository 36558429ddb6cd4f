// Dialog templates of the application: About, Case Information, Output options.
#include "platform/gui/Afx.h"
#include "res/Resource.h"

namespace {

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kReadOnlyText = ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER;

const DialogItem kAbout[] = {
    {L"AfxWnd", IDC_ABOUT_PICTURE, L"", WS_BORDER, 10, 10, 250, 50},
    {L"Edit", IDC_ABOUT_VERSION, L"", ES_READONLY | ES_AUTOHSCROLL | WS_BORDER, 10, 66, 250, 14},
    {L"Edit", IDC_ABOUT_TEXT, L"", kReadOnlyText, 10, 86, 250, 110},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 210, 204, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_ABOUTBOX, L"About QOR", kDialogStyle, 270, 225, kAbout);

const DialogItem kConfig[] = {
    {L"Static", 0xFFFF, L"Case Reference", SS_LEFT, 7, 7, 295, 8},
    {L"Edit", IDC_CASE_REF, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 17, 295, 14},
    {L"Static", 0xFFFF, L"Case Notes", SS_LEFT, 7, 36, 295, 8},
    {L"Edit", IDC_CASE_NOTES, L"", ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
     7, 46, 295, 72},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 198, 124, 50, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 252, 124, 50, 14},
};
QOR_DIALOG_RESOURCE(IDD_CONFIG, L"Case Information", kDialogStyle, 309, 145, kConfig);

const DialogItem kOutputOptions[] = {
    {L"Button", 0xFFFF, L"Results entities", BS_GROUPBOX, 7, 7, 125, 52},
    {L"Button", IDC_BMSF, L"Bending moment/shear force", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 22, 112, 10},
    {L"Button", IDC_REACTIONS, L"Reactions", BS_AUTOCHECKBOX | WS_TABSTOP, 14, 40, 112, 10},
    {L"Button", 0xFFFF, L"Display types", BS_GROUPBOX, 7, 66, 125, 52},
    {L"Button", IDC_GRAPHS, L"Graphs", BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 14, 81, 112, 10},
    {L"Button", IDC_TABLES, L"Tables", BS_AUTOCHECKBOX | WS_TABSTOP, 14, 99, 112, 10},
    {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 7, 135, 60, 14},
    {L"Button", IDCANCEL, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 72, 135, 60, 14},
};
QOR_DIALOG_RESOURCE(IDD_OUTPUT_OPTIONS, L"Output options", kDialogStyle, 139, 156, kOutputOptions);

} // namespace
