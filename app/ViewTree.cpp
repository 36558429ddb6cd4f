// The element pane's tree: notifications to registered messages, and dragging an item onto
// another (a drag always copies; the pane decides what the drop means).
#include "app/ViewTree.h"

const UINT CViewTree::UWM_TREEITEMDBLCLICK = RegisterWindowMessage(L"UWM_TREEITEMDBLCLICK");
const UINT CViewTree::UWM_TREEITEMSELECT = RegisterWindowMessage(L"UWM_TREEITEMSELECT");
const UINT CViewTree::UWM_TREEITEMLABELCHANGE = RegisterWindowMessage(L"UWM_TREEITEMLABELCHANGE");
const UINT CViewTree::UWM_TREEITEMDRAGDROP = RegisterWindowMessage(L"UWM_TREEITEMDRAGDROP");
const UINT CViewTree::UWM_TREEITEMBEGINEDIT = RegisterWindowMessage(L"UWM_TREEITEMBEGINEDIT");

BEGIN_MESSAGE_MAP(CViewTree, CTreeCtrl)
ON_NOTIFY_REFLECT(NM_DBLCLK, OnDblClk)
ON_NOTIFY_REFLECT(TVN_SELCHANGED, OnSelChanged)
ON_NOTIFY_REFLECT(TVN_BEGINLABELEDIT, OnBeginLabelEdit)
ON_NOTIFY_REFLECT(TVN_ENDLABELEDIT, OnEndLabelEdit)
ON_NOTIFY_REFLECT(TVN_BEGINDRAG, OnBeginDrag)
ON_NOTIFY_REFLECT(TVN_ITEMEXPANDING, OnQuiet)
ON_NOTIFY_REFLECT(NM_SETFOCUS, OnQuiet)
ON_NOTIFY_REFLECT(NM_KILLFOCUS, OnQuiet)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CViewTree::~CViewTree() { delete m_pDragImage; }

void CViewTree::OnQuiet(NMHDR*, LRESULT* pResult) { *pResult = 0; }

void CViewTree::OnDblClk(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    HTREEITEM item = GetSelectedItem();
    if (item && GetParent())
        *pResult = GetParent()->SendMessage(UWM_TREEITEMDBLCLICK, reinterpret_cast<WPARAM>(GetParentItem(item)),
                                            reinterpret_cast<LPARAM>(item));
}

void CViewTree::OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    *pResult = 0;
    if (nm->action == TVC_BYMOUSE || nm->action == TVC_BYKEYBOARD)
    {
        HTREEITEM item = GetSelectedItem();
        if (item && GetParent())
            *pResult = GetParent()->SendMessage(UWM_TREEITEMSELECT, 0, reinterpret_cast<LPARAM>(item));
    }
    else if (nm->action == 0x1000)
    {
        *pResult = 1;
    }
}

void CViewTree::OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    *pResult = GetParent()
                   ? GetParent()->SendMessage(UWM_TREEITEMBEGINEDIT, 0, reinterpret_cast<LPARAM>(info->item.hItem))
                   : 1;
}

void CViewTree::OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* info = reinterpret_cast<NMTVDISPINFO*>(pNMHDR);
    *pResult = 0;
    HTREEITEM item = info->item.hItem;
    if (!item || !GetParent()) return;
    CString text = info->item.pszText ? info->item.pszText : L"";
    *pResult = GetParent()->SendMessage(UWM_TREEITEMLABELCHANGE, reinterpret_cast<WPARAM>(&text),
                                        reinterpret_cast<LPARAM>(item));
}

void CViewTree::OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult)
{
    auto* nm = reinterpret_cast<NMTREEVIEW*>(pNMHDR);
    *pResult = 0;
    m_hitemDrag = nm->itemNew.hItem;
    m_hitemDrop = nullptr;
    delete m_pDragImage;
    m_pDragImage = CreateDragImage(m_hitemDrag);
    if (!m_pDragImage) return;
    m_bDragging = TRUE;
    m_pDragImage->BeginDrag(0, CPoint(-15, -15));
    CPoint pt = nm->ptDrag;
    ClientToScreen(&pt);
    CImageList::DragEnter(nullptr, pt);
    SetCapture();
}

void CViewTree::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bDragging)
    {
        CPoint screen = point;
        ClientToScreen(&screen);
        CImageList::DragMove(screen);
        UINT flags = 0;
        HTREEITEM hit = HitTest(point, &flags);
        if (hit)
        {
            CImageList::DragShowNolock(FALSE);
            SelectDropTarget(hit);
            m_hitemDrop = hit;
            if (HTREEITEM prev = GetPrevVisibleItem(hit)) EnsureVisible(prev);
            if (HTREEITEM next = GetNextVisibleItem(hit)) EnsureVisible(next);
            CImageList::DragShowNolock(TRUE);
        }
    }
    CTreeCtrl::OnMouseMove(nFlags, point);
}

void CViewTree::EndDrag()
{
    m_bDragging = FALSE;
    CImageList::DragLeave(this);
    CImageList::EndDrag();
    ReleaseCapture();
    delete m_pDragImage;
    m_pDragImage = nullptr;
    SelectDropTarget(nullptr);
}

void CViewTree::OnLButtonUp(UINT nFlags, CPoint point)
{
    CTreeCtrl::OnLButtonUp(nFlags, point);
    if (!m_bDragging) return;
    EndDrag();
    HTREEITEM drag = m_hitemDrag, drop = m_hitemDrop;
    if (!drag || !drop || drag == drop) return;
    // Nothing is dropped into its own subtree.
    for (HTREEITEM p = GetParentItem(drop); p; p = GetParentItem(p))
        if (p == drag) return;
    Expand(drop, TVE_EXPAND);
    if (!GetParent()) return;
    auto select = reinterpret_cast<HTREEITEM>(
        GetParent()->SendMessage(UWM_TREEITEMDRAGDROP, reinterpret_cast<WPARAM>(drag), reinterpret_cast<LPARAM>(drop)));
    if (select) SelectItem(select);
}
