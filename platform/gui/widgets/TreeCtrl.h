// The tree-view control (class "SysTreeView32"): items with text, images, bold state and data,
// label editing in an edit control of its own, hit tests and the drag notifications. Items
// are addressed by handles that are never reused, so a stale handle finds nothing.
#pragma once

#include "platform/gui/widgets/Controls.h"
#include "platform/gui/widgets/ImageList.h"
#include "platform/gui/window/Wnd.h"

#define WC_TREEVIEW L"SysTreeView32"

struct _TREEITEM;
using HTREEITEM = _TREEITEM*;

// Styles
#define TVS_HASBUTTONS 0x0001u
#define TVS_HASLINES 0x0002u
#define TVS_LINESATROOT 0x0004u
#define TVS_EDITLABELS 0x0008u
#define TVS_DISABLEDRAGDROP 0x0010u
#define TVS_SHOWSELALWAYS 0x0020u
#define TVS_FULLROWSELECT 0x1000u

// Insertion places
#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFD)))

// Item fields
#define TVIF_TEXT 0x0001u
#define TVIF_IMAGE 0x0002u
#define TVIF_PARAM 0x0004u
#define TVIF_STATE 0x0008u
#define TVIF_HANDLE 0x0010u
#define TVIF_SELECTEDIMAGE 0x0020u
#define TVIF_CHILDREN 0x0040u

// Item states
#define TVIS_SELECTED 0x0002u
#define TVIS_CUT 0x0004u
#define TVIS_DROPHILITED 0x0008u
#define TVIS_BOLD 0x0010u
#define TVIS_EXPANDED 0x0020u

// Relations (TVM_GETNEXTITEM, TVM_SELECTITEM)
#define TVGN_ROOT 0x0000u
#define TVGN_NEXT 0x0001u
#define TVGN_PREVIOUS 0x0002u
#define TVGN_PARENT 0x0003u
#define TVGN_CHILD 0x0004u
#define TVGN_FIRSTVISIBLE 0x0005u
#define TVGN_NEXTVISIBLE 0x0006u
#define TVGN_PREVIOUSVISIBLE 0x0007u
#define TVGN_DROPHILITE 0x0008u
#define TVGN_CARET 0x0009u
#define TVGN_LASTVISIBLE 0x000Au

// Expansion
#define TVE_COLLAPSE 0x0001u
#define TVE_EXPAND 0x0002u
#define TVE_TOGGLE 0x0003u

// Hit tests
#define TVHT_NOWHERE 0x0001u
#define TVHT_ONITEMICON 0x0002u
#define TVHT_ONITEMLABEL 0x0004u
#define TVHT_ONITEM (TVHT_ONITEMICON | TVHT_ONITEMLABEL)
#define TVHT_ONITEMINDENT 0x0008u
#define TVHT_ONITEMBUTTON 0x0010u
#define TVHT_ONITEMRIGHT 0x0020u
#define TVHT_ABOVE 0x0100u
#define TVHT_BELOW 0x0200u
#define TVHT_TORIGHT 0x0400u
#define TVHT_TOLEFT 0x0800u

#define TVSIL_NORMAL 0
#define TVSIL_STATE 2

// Messages
#define TV_FIRST 0x1100u
#define TVM_INSERTITEM (TV_FIRST + 50)
#define TVM_DELETEITEM (TV_FIRST + 1)
#define TVM_EXPAND (TV_FIRST + 2)
#define TVM_GETITEMRECT (TV_FIRST + 4)
#define TVM_GETCOUNT (TV_FIRST + 5)
#define TVM_GETINDENT (TV_FIRST + 6)
#define TVM_GETIMAGELIST (TV_FIRST + 8)
#define TVM_SETIMAGELIST (TV_FIRST + 9)
#define TVM_GETNEXTITEM (TV_FIRST + 10)
#define TVM_SELECTITEM (TV_FIRST + 11)
#define TVM_GETITEM (TV_FIRST + 62)
#define TVM_SETITEM (TV_FIRST + 63)
#define TVM_EDITLABEL (TV_FIRST + 65)
#define TVM_GETEDITCONTROL (TV_FIRST + 15)
#define TVM_HITTEST (TV_FIRST + 17)
#define TVM_CREATEDRAGIMAGE (TV_FIRST + 18)
#define TVM_ENSUREVISIBLE (TV_FIRST + 20)
#define TVM_ENDEDITLABELNOW (TV_FIRST + 22)
#define TVM_GETITEMSTATE (TV_FIRST + 39)

// Notifications (WM_NOTIFY to the parent)
#define TVN_FIRST (0u - 400u)
#define TVN_SELCHANGING (TVN_FIRST - 50u)
#define TVN_SELCHANGED (TVN_FIRST - 51u)
#define TVN_ITEMEXPANDING (TVN_FIRST - 54u)
#define TVN_ITEMEXPANDED (TVN_FIRST - 55u)
#define TVN_BEGINDRAG (TVN_FIRST - 56u)
#define TVN_BEGINRDRAG (TVN_FIRST - 57u)
#define TVN_DELETEITEM (TVN_FIRST - 58u)
#define TVN_BEGINLABELEDIT (TVN_FIRST - 59u)
#define TVN_ENDLABELEDIT (TVN_FIRST - 60u)
#define TVN_KEYDOWN (TVN_FIRST - 12u)

// The cause of a selection change (NMTREEVIEW::action)
#define TVC_UNKNOWN 0x0000u
#define TVC_BYMOUSE 0x0001u
#define TVC_BYKEYBOARD 0x0002u

// Tool tips of a control
#define TTN_FIRST (0u - 520u)
#define TTN_SHOW (TTN_FIRST - 1u)

struct TVITEM
{
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    LPTSTR pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};
using TVITEMW = TVITEM;
using LPTVITEM = TVITEM*;

struct TVINSERTSTRUCT
{
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = nullptr;
    TVITEM item;
};
using LPTVINSERTSTRUCT = TVINSERTSTRUCT*;

struct TVHITTESTINFO
{
    POINT pt{};
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

struct NMTREEVIEW
{
    NMHDR hdr{};
    UINT action = 0;
    TVITEM itemOld;
    TVITEM itemNew;
    POINT ptDrag{};
};
using LPNMTREEVIEW = NMTREEVIEW*;

struct NMTVDISPINFO
{
    NMHDR hdr{};
    TVITEM item;
};
using LPNMTVDISPINFO = NMTVDISPINFO*;

struct NMTVKEYDOWN
{
    NMHDR hdr{};
    WORD wVKey = 0;
    UINT flags = 0;
};

class CTreeCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTreeCtrl)
public:
    CTreeCtrl() = default;

    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // ---- Items --------------------------------------------------------------------------
    HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsertStruct);
    HTREEITEM InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState, UINT nStateMask,
                         LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter);
    HTREEITEM InsertItem(LPCTSTR lpszItem, HTREEITEM hParent = TVI_ROOT, HTREEITEM hInsertAfter = TVI_LAST);
    HTREEITEM InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent = TVI_ROOT,
                         HTREEITEM hInsertAfter = TVI_LAST);
    BOOL DeleteItem(HTREEITEM hItem);
    BOOL DeleteAllItems() { return DeleteItem(TVI_ROOT); }
    UINT GetCount() const;

    BOOL GetItem(TVITEM* pItem) const;
    BOOL SetItem(TVITEM* pItem);
    CString GetItemText(HTREEITEM hItem) const;
    BOOL SetItemText(HTREEITEM hItem, LPCTSTR lpszItem);
    DWORD_PTR GetItemData(HTREEITEM hItem) const;
    BOOL SetItemData(HTREEITEM hItem, DWORD_PTR dwData);
    BOOL GetItemImage(HTREEITEM hItem, int& nImage, int& nSelectedImage) const;
    BOOL SetItemImage(HTREEITEM hItem, int nImage, int nSelectedImage);
    UINT GetItemState(HTREEITEM hItem, UINT nStateMask) const;
    BOOL SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask);
    BOOL ItemHasChildren(HTREEITEM hItem) const { return GetChildItem(hItem) != nullptr; }

    // ---- Relations ----------------------------------------------------------------------
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode) const;
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetPrevSiblingItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUS); }
    HTREEITEM GetParentItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetFirstVisibleItem() const { return GetNextItem(nullptr, TVGN_FIRSTVISIBLE); }
    HTREEITEM GetNextVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_NEXTVISIBLE); }
    HTREEITEM GetPrevVisibleItem(HTREEITEM hItem) const { return GetNextItem(hItem, TVGN_PREVIOUSVISIBLE); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }

    // ---- Selection, expansion, visibility -------------------------------------------------
    BOOL Select(HTREEITEM hItem, UINT nCode);
    BOOL SelectItem(HTREEITEM hItem) { return Select(hItem, TVGN_CARET); }
    BOOL SelectDropTarget(HTREEITEM hItem) { return Select(hItem, TVGN_DROPHILITE); }
    BOOL Expand(HTREEITEM hItem, UINT nCode);
    BOOL EnsureVisible(HTREEITEM hItem);
    BOOL GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const;
    HTREEITEM HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    HTREEITEM HitTest(TVHITTESTINFO* pHitTestInfo) const;

    // ---- Label editing ------------------------------------------------------------------
    // Starts editing (TVN_BEGINLABELEDIT may refuse); the edit control, or nullptr.
    CEdit* EditLabel(HTREEITEM hItem);
    CEdit* GetEditControl() const;
    BOOL EndEditLabelNow(BOOL fCancelWithoutSave);

    // ---- Images -------------------------------------------------------------------------
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageListType) const;
    // An image of the item (its picture and label) for a drag; the caller deletes it.
    CImageList* CreateDragImage(HTREEITEM hItem);

private:
    CImageList* m_pNormalImages = nullptr;
};
