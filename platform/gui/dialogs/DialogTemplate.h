// Dialog templates: the program's dialog resources are C++ tables (res/). A template gives
// the caption, the size in dialog units, the font and each control's window class, id,
// text, style and rectangle in dialog units. Dialogs are built from their template when
// they are created (CDialog::DoModal / Create, property pages when first shown).
//
//   static const DialogItem kItems[] = {
//       {L"Edit", 1008, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 7, 100, 14},
//       {L"Button", IDOK, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 7, 30, 50, 14},
//   };
//   QOR_DIALOG_RESOURCE(312, L"Define Bridge", DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU,
//                       177, 129, kItems);
#pragma once

#include "platform/core/Types.h"
#include "platform/gui/draw/WinDefs.h"

#include <cstddef>

// ---- Dialog styles and messages ---------------------------------------------------------------
#ifndef DS_ABSALIGN
#define DS_ABSALIGN 0x0001u
#define DS_SYSMODAL 0x0002u
#define DS_FIXEDSYS 0x0008u
#define DS_LOCALEDIT 0x0020u
#define DS_SETFONT 0x0040u
#define DS_MODALFRAME 0x0080u
#define DS_NOIDLEMSG 0x0100u
#define DS_SETFOREGROUND 0x0200u
#define DS_3DLOOK 0x0004u
#define DS_CONTROL 0x0400u
#define DS_CENTER 0x0800u
#define DS_CENTERMOUSE 0x1000u
#define DS_CONTEXTHELP 0x2000u
#define DS_SHELLFONT (DS_SETFONT | DS_FIXEDSYS)
#endif

#ifndef WM_NEXTDLGCTL
#define WM_NEXTDLGCTL 0x0028u
#endif
#ifndef DM_GETDEFID
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B
#endif

// One control of a template. The style gets WS_CHILD | WS_VISIBLE added unless the control
// is meant to be hidden (give WS_CHILD without WS_VISIBLE and set `hidden`).
struct DialogItem
{
    LPCTSTR className; // "Edit", "Button", "Static", "ComboBox", "ListBox", "msctls_progress32",
                       // or a registered custom class ("MFCGridCtrl" ...)
    UINT id;
    LPCTSTR text;
    DWORD style;
    short x, y, cx, cy; // dialog units
    DWORD exStyle = 0;
    bool hidden = false;
};

struct DialogTemplate
{
    UINT id = 0; // resource id (0: a template used only directly)
    LPCTSTR caption = L"";
    DWORD style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    short cx = 0, cy = 0; // client area, dialog units
    const DialogItem* items = nullptr;
    std::size_t itemCount = 0;
    LPCTSTR fontName = L"MS Shell Dlg";
    int pointSize = 8;
    DWORD exStyle = 0;
};

namespace qor::gui {

// The resource table: templates are found by id (MAKEINTRESOURCE) or by name.
void RegisterDialogTemplate(const DialogTemplate* tmpl, LPCTSTR name = nullptr);
const DialogTemplate* FindDialogTemplate(UINT id);
const DialogTemplate* FindDialogTemplate(LPCTSTR nameOrId);

struct DialogResourceRegistrar
{
    DialogResourceRegistrar(const DialogTemplate* tmpl, LPCTSTR name = nullptr) { RegisterDialogTemplate(tmpl, name); }
};

} // namespace qor::gui

#define QOR_DIALOG_CONCAT2(a, b) a##b
#define QOR_DIALOG_CONCAT(a, b) QOR_DIALOG_CONCAT2(a, b)
// Defines and registers a dialog resource: id, caption, style, size in dialog units and an
// array of DialogItem.
#define QOR_DIALOG_RESOURCE(resId, caption, style, cx, cy, itemArray)                                                  \
    static const DialogTemplate QOR_DIALOG_CONCAT(qor_dlg_template_, resId){                                           \
        (resId), (caption), (style), (cx), (cy), (itemArray), sizeof(itemArray) / sizeof((itemArray)[0])};             \
    static const ::qor::gui::DialogResourceRegistrar QOR_DIALOG_CONCAT(qor_dlg_registrar_, resId)                      \
    {                                                                                                                  \
        &QOR_DIALOG_CONCAT(qor_dlg_template_, resId)                                                                   \
    }
