// Menus and pop-up menus over the toolkit's menus: the rows of a menu resource, the update
// handlers of the owner's route before the menu opens, the choice sent back as a command.
#include "platform/gui/frame/Menu.h"

#include "platform/gui/dialogs/Dialog.h"
#include "platform/gui/frame/Bars.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/widgets/ToolBarImagesInternal.h"
#include "platform/gui/window/WndInternal.h"

#include <QtGui/QGuiApplication>
#include <QtWidgets/QMenu>

namespace qor::gui {
namespace {

PopupMenuDriver& Driver()
{
    static PopupMenuDriver driver;
    return driver;
}

bool Headless()
{
    const QString p = QGuiApplication::platformName();
    return p == QLatin1String("offscreen") || p == QLatin1String("minimal");
}

// Reads rows into a menu up to the MF_END that closes it (or the end of the table).
size_t ReadRows(const MenuItemDef* rows, size_t count, size_t at, std::vector<CMenu::Item>& out, bool nested)
{
    while (at < count)
    {
        const MenuItemDef& r = rows[at++];
        if (r.flags & MF_END)
        {
            if (nested) return at;
            continue;
        }
        CMenu::Item item;
        item.flags = r.flags;
        item.id = r.nID;
        item.text = r.text ? r.text : L"";
        if (r.flags & MF_POPUP)
        {
            item.sub = std::make_unique<CMenu>();
            item.sub->CreatePopupMenu();
            std::vector<CMenu::Item> subItems;
            at = ReadRows(rows, count, at, subItems, true);
            for (auto& s : subItems)
            {
                CString text = s.text;
                if (s.sub)
                    item.sub->AppendSubMenu(*s.sub, text);
                else
                    item.sub->AppendMenu(s.flags, s.id, text);
            }
        }
        out.push_back(std::move(item));
    }
    return at;
}

// The rows of a menu after its owner's update handlers. A dialog leaves the entries nobody handles
// as the menu has them; a frame greys them as it does in its own menus, and so do the panes here.
void Rows(const CMenu& menu, CCmdTarget* route, BOOL disableIfNoHandler, int depth, std::vector<PopupMenuRow>& out)
{
    for (const CMenu::Item& item : menu.Items())
    {
        PopupMenuRow row;
        row.depth = depth;
        row.separator = (item.flags & MF_SEPARATOR) != 0;
        row.popup = item.sub != nullptr;
        row.id = item.id;
        row.text = item.text;
        row.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED));
        row.check = (item.flags & MF_CHECKED) ? 1 : 0;
        if (!row.separator && !row.popup && route)
        {
            StateCmdUI state;
            state.m_nID = item.id;
            state.DoUpdate(route, disableIfNoHandler);
            row.enabled = row.enabled && state.m_bEnabled;
            row.check = state.m_nCheck;
        }
        out.push_back(row);
        if (item.sub) Rows(*item.sub, route, disableIfNoHandler, depth + 1, out);
    }
}

QString MenuText(const CString& text)
{
    QString t = ToQString(text);
    t.replace(QLatin1Char('\t'), QLatin1String("    "));
    return t;
}

// Builds the toolkit menu of rows[from..] at one depth; the chosen id is written to *chosen.
size_t Build(QMenu* menu, const std::vector<PopupMenuRow>& rows, size_t from, int depth, UINT* chosen)
{
    size_t i = from;
    while (i < rows.size() && rows[i].depth >= depth)
    {
        const PopupMenuRow& r = rows[i];
        if (r.depth > depth)
        {
            ++i;
            continue;
        }
        if (r.separator)
            menu->addSeparator();
        else if (r.popup)
        {
            QMenu* sub = menu->addMenu(MenuText(r.text));
            i = Build(sub, rows, i + 1, depth + 1, chosen);
            continue;
        }
        else
        {
            QAction* a = menu->addAction(MenuText(r.text));
            if (HasMenuImage(r.id)) a->setIcon(ToolBarIcon(r.id));
            a->setEnabled(r.enabled != FALSE);
            if (r.check)
            {
                a->setCheckable(true);
                a->setChecked(true);
            }
            UINT id = r.id;
            QObject::connect(a, &QAction::triggered, a, [chosen, id] { *chosen = id; });
        }
        ++i;
    }
    return i;
}

} // namespace

PopupMenuDriver SetPopupMenuDriver(PopupMenuDriver driver)
{
    PopupMenuDriver previous = std::move(Driver());
    Driver() = std::move(driver);
    return previous;
}

} // namespace qor::gui

using namespace qor::gui;

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    const MenuResource* r = FindMenuResource(nIDResource);
    if (!r) return FALSE;
    m_items.clear();
    m_created = true;
    ReadRows(r->items, r->count, 0, m_items, false);
    return TRUE;
}

BOOL CMenu::CreatePopupMenu()
{
    m_items.clear();
    m_created = true;
    return TRUE;
}

BOOL CMenu::DestroyMenu()
{
    m_items.clear();
    m_created = false;
    return TRUE;
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem)
{
    if (!m_created) return FALSE;
    Item item;
    item.flags = nFlags;
    item.id = static_cast<UINT>(nIDNewItem);
    item.text = lpszNewItem ? lpszNewItem : L"";
    m_items.push_back(std::move(item));
    return TRUE;
}

void CMenu::CopyFrom(const CMenu& other)
{
    m_created = other.m_created;
    m_items.clear();
    for (const Item& i : other.m_items)
    {
        Item copy;
        copy.flags = i.flags;
        copy.id = i.id;
        copy.text = i.text;
        if (i.sub)
        {
            copy.sub = std::make_unique<CMenu>();
            copy.sub->CopyFrom(*i.sub);
        }
        m_items.push_back(std::move(copy));
    }
}

BOOL CMenu::AppendSubMenu(const CMenu& sub, LPCTSTR lpszNewItem)
{
    if (!m_created) return FALSE;
    Item item;
    item.flags = MF_POPUP;
    item.text = lpszNewItem ? lpszNewItem : L"";
    item.sub = std::make_unique<CMenu>();
    item.sub->CopyFrom(sub);
    m_items.push_back(std::move(item));
    return TRUE;
}

UINT CMenu::GetMenuItemID(int nPos) const
{
    if (nPos < 0 || nPos >= static_cast<int>(m_items.size())) return static_cast<UINT>(-1);
    const Item& i = m_items[static_cast<size_t>(nPos)];
    if (i.sub) return static_cast<UINT>(-1);
    return (i.flags & MF_SEPARATOR) ? 0 : i.id;
}

CMenu::Item* CMenu::FindItem(UINT nID, UINT nFlags)
{
    if (nFlags & MF_BYPOSITION) return nID < m_items.size() ? &m_items[nID] : nullptr;
    for (Item& i : m_items)
    {
        if (i.sub)
        {
            if (Item* found = i.sub->FindItem(nID, nFlags)) return found;
        }
        else if (i.id == nID && !(i.flags & MF_SEPARATOR))
        {
            return &i;
        }
    }
    return nullptr;
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    const Item* i = const_cast<CMenu*>(this)->FindItem(nIDItem, nFlags);
    rString = i ? i->text : CString();
    return rString.GetLength();
}

CMenu* CMenu::GetSubMenu(int nPos) const
{
    if (nPos < 0 || nPos >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(nPos)].sub.get();
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable)
{
    Item* i = FindItem(nIDEnableItem, nEnable & MF_BYPOSITION);
    if (!i) return static_cast<UINT>(-1);
    UINT previous = i->flags & (MF_GRAYED | MF_DISABLED);
    i->flags = (i->flags & ~(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
{
    Item* i = FindItem(nIDCheckItem, nCheck & MF_BYPOSITION);
    if (!i) return static_cast<UINT>(-1);
    UINT previous = i->flags & MF_CHECKED;
    i->flags = (i->flags & ~MF_CHECKED) | (nCheck & MF_CHECKED);
    return previous;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT)
{
    if (!m_created || !pWnd || !pWnd->m_hWnd) return FALSE;
    HWND owner = pWnd->m_hWnd;
    std::vector<PopupMenuRow> rows;
    BOOL disableIfNoHandler = TRUE;
    if (dynamic_cast<const CDialog*>(pWnd))
        disableIfNoHandler = FALSE;
    else if (const auto* frame = dynamic_cast<const CFrameWnd*>(pWnd))
        disableIfNoHandler = frame->m_bAutoMenuEnable;
    Rows(*this, pWnd, disableIfNoHandler, 0, rows);
    UINT chosen = 0;
    if (Driver())
    {
        chosen = Driver()(rows, CPoint(x, y));
        auto it = std::find_if(rows.begin(), rows.end(),
                               [chosen](const PopupMenuRow& r) { return !r.separator && !r.popup && r.id == chosen; });
        if (it == rows.end() || !it->enabled) chosen = 0;
    }
    else if (!Headless())
    {
        QMenu menu;
        Build(&menu, rows, 0, 0, &chosen);
        menu.exec(QPoint(x, y));
    }
    if (!chosen || !IsWindow(owner)) return FALSE;
    if (nFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    pWnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    return TRUE;
}

BOOL CContextMenuManager::ShowPopupMenu(UINT uiMenuResId, int x, int y, CWnd* pWndOwner, BOOL bOwnMessage, BOOL)
{
    CMenu menu;
    if (!pWndOwner || !menu.LoadMenu(uiMenuResId)) return FALSE;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup) return FALSE;
    CWnd* target = pWndOwner;
    if (!bOwnMessage)
    {
        if (CWnd* frame = pWndOwner->GetTopLevelParent()) target = frame;
    }
    return popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, target);
}

namespace {
CContextMenuManager g_contextMenuManager;
}
CContextMenuManager* afxContextMenuManager = &g_contextMenuManager;
