// Menus, accelerator tables and toolbars as C++ tables (the program's own live in res/).
//
//   static const MenuItemDef kMainMenu[] = {
//       {MF_POPUP, 0, L"&File"}, {MF_STRING, ID_FILE_NEW, L"&New\tCtrl+N"}, {MF_SEPARATOR},
//       {MF_END}, ...};
//   QOR_MENU_RESOURCE(128, kMainMenu);
//   static const ACCEL kKeys[] = {{FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW}};
//   QOR_ACCEL_RESOURCE(128, kKeys);
//   static const UINT kButtons[] = {ID_FILE_NEW, ID_SEPARATOR, ID_FILE_PRINT};
//   QOR_TOOLBAR_RESOURCE(128, kButtons);
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <cstddef>

// Menu rows: MF_POPUP opens a submenu (its rows follow, closed by MF_END).
#define MF_STRING 0x0000u
#define MF_GRAYED 0x0001u
#define MF_DISABLED 0x0002u
#define MF_CHECKED 0x0008u
#define MF_POPUP 0x0010u
#define MF_SEPARATOR 0x0800u
#define MF_END 0x0080u
#define MF_BYCOMMAND 0x0000u
#define MF_BYPOSITION 0x0400u
#define MF_ENABLED 0x0000u
#define MF_UNCHECKED 0x0000u

struct MenuItemDef
{
    UINT flags = MF_STRING;
    UINT nID = 0;
    const wchar_t* text = nullptr;
};

// Accelerators
#define FVIRTKEY 0x01
#define FNOINVERT 0x02
#define FSHIFT 0x04
#define FCONTROL 0x08
#define FALT 0x10

struct ACCEL
{
    BYTE fVirt;
    WORD key;
    WORD cmd;
};

namespace qor::gui {

struct MenuResource
{
    UINT id;
    const MenuItemDef* items;
    size_t count;
};
struct AccelResource
{
    UINT id;
    const ACCEL* items;
    size_t count;
};
struct ToolBarResource
{
    UINT id;
    const UINT* buttons;
    size_t count;
};

const MenuResource* FindMenuResource(UINT id);
// A menu item's text as a name: without its mnemonic and its key ("&Open...\tCtrl+O" is "Open...").
CString MenuItemName(const wchar_t* text);
// The name of a command as the first menu that has it shows it, without a closing "..." (empty: no menu
// has it).
CString CommandMenuName(UINT nID);
const AccelResource* FindAccelResource(UINT id);
const ToolBarResource* FindToolBarResource(UINT id);

struct ResourceRegistrar
{
    explicit ResourceRegistrar(const MenuResource* r);
    explicit ResourceRegistrar(const AccelResource* r);
    explicit ResourceRegistrar(const ToolBarResource* r);
};

} // namespace qor::gui

#define QOR_RES_CONCAT2(a, b) a##b
#define QOR_RES_CONCAT(a, b) QOR_RES_CONCAT2(a, b)
#define QOR_MENU_RESOURCE(resId, itemArray)                                                                            \
    static const ::qor::gui::MenuResource QOR_RES_CONCAT(qor_menu_, resId){                                            \
        (resId), (itemArray), sizeof(itemArray) / sizeof((itemArray)[0])};                                             \
    static const ::qor::gui::ResourceRegistrar QOR_RES_CONCAT(qor_menu_reg_, resId)                                    \
    {                                                                                                                  \
        &QOR_RES_CONCAT(qor_menu_, resId)                                                                              \
    }
#define QOR_ACCEL_RESOURCE(resId, accelArray)                                                                          \
    static const ::qor::gui::AccelResource QOR_RES_CONCAT(qor_accel_, resId){                                          \
        (resId), (accelArray), sizeof(accelArray) / sizeof((accelArray)[0])};                                          \
    static const ::qor::gui::ResourceRegistrar QOR_RES_CONCAT(qor_accel_reg_, resId)                                   \
    {                                                                                                                  \
        &QOR_RES_CONCAT(qor_accel_, resId)                                                                             \
    }
#define QOR_TOOLBAR_RESOURCE(resId, idArray)                                                                           \
    static const ::qor::gui::ToolBarResource QOR_RES_CONCAT(qor_toolbar_, resId){                                      \
        (resId), (idArray), sizeof(idArray) / sizeof((idArray)[0])};                                                   \
    static const ::qor::gui::ResourceRegistrar QOR_RES_CONCAT(qor_toolbar_reg_, resId)                                 \
    {                                                                                                                  \
        &QOR_RES_CONCAT(qor_toolbar_, resId)                                                                           \
    }
