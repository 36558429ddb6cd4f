// Menus made at run time or from menu resources, shown as pop-up (context) menus. A pop-up
// menu runs the update handlers of its owner's command route before it opens and sends the
// chosen command to its owner as WM_COMMAND.
#pragma once

#include "platform/gui/window/Resources.h"
#include "platform/gui/window/Wnd.h"

#include <functional>
#include <memory>
#include <vector>

#define TPM_LEFTBUTTON 0x0000u
#define TPM_RIGHTBUTTON 0x0002u
#define TPM_LEFTALIGN 0x0000u
#define TPM_CENTERALIGN 0x0004u
#define TPM_RIGHTALIGN 0x0008u
#define TPM_TOPALIGN 0x0000u
#define TPM_NONOTIFY 0x0080u
#define TPM_RETURNCMD 0x0100u

class CMenu
{
public:
    CMenu() = default;
    virtual ~CMenu() = default;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT nIDResource);
    BOOL CreatePopupMenu();
    BOOL CreateMenu() { return CreatePopupMenu(); }
    BOOL DestroyMenu();
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    // Appends a copy of another menu as a submenu.
    BOOL AppendSubMenu(const CMenu& sub, LPCTSTR lpszNewItem);

    int GetMenuItemCount() const { return m_created ? static_cast<int>(m_items.size()) : -1; }
    // The command id at a position; -1 for a submenu, 0 for a separator.
    UINT GetMenuItemID(int nPos) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    CMenu* GetSubMenu(int nPos) const;
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);

    // Shows the menu at a screen point; the choice goes to pWnd as WM_COMMAND (with
    // TPM_RETURNCMD it is returned instead). Returns FALSE when nothing was chosen.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

    struct Item
    {
        UINT flags = MF_STRING;
        UINT id = 0;
        CString text;
        std::unique_ptr<CMenu> sub;
    };
    const std::vector<Item>& Items() const { return m_items; }

private:
    bool m_created = false;
    std::vector<Item> m_items;
    void CopyFrom(const CMenu& other);
    Item* FindItem(UINT nID, UINT nFlags);
};

namespace qor::gui {

// One row of a pop-up menu as it is about to be shown (after the update handlers).
struct PopupMenuRow
{
    int depth = 0; // 0: the menu itself, 1: a submenu of it, ...
    bool separator = false;
    bool popup = false; // a submenu title
    UINT id = 0;
    CString text;
    BOOL enabled = TRUE;
    int check = 0;
};
// Answers pop-up menus instead of the user: gets the rows and the screen point, returns the
// chosen command (0: none). Without a driver, headless, pop-up menus choose nothing.
using PopupMenuDriver = std::function<UINT(const std::vector<PopupMenuRow>& rows, CPoint at)>;
PopupMenuDriver SetPopupMenuDriver(PopupMenuDriver driver);

} // namespace qor::gui

// Shows pop-up menus of menu resources on behalf of an owner window.
class CContextMenuManager
{
public:
    // Shows the first submenu of menu resource uiMenuResId at (x, y) (screen); with
    // bOwnMessage the owner gets the command, otherwise its frame.
    BOOL ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage = FALSE,
                       BOOL bRightAlign = FALSE);
    UINT TrackPopupMenu(HMENU, int, int, CWnd*, BOOL = FALSE) { return 0; }
};
extern CContextMenuManager* afxContextMenuManager;
