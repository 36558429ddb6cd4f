// The tree of the element pane: turns the tree's notifications into registered messages to its
// parent window and runs the drag of an item onto another.
#pragma once

#include "platform/gui/Afx.h"

class CViewTree : public CTreeCtrl
{
public:
    CViewTree() = default;
    ~CViewTree() override;

    // Registered messages to the parent; the parent's result goes back as described.
    static const UINT UWM_TREEITEMDBLCLICK;    // wParam parent item, lParam item
    static const UINT UWM_TREEITEMSELECT;      // lParam the selected item
    static const UINT UWM_TREEITEMLABELCHANGE; // wParam CString* (empty: cancelled), lParam item
    static const UINT UWM_TREEITEMDRAGDROP;    // wParam dragged, lParam drop item; result: item to select
    // Asked before a label edit starts (lParam item); non-zero refuses it.
    static const UINT UWM_TREEITEMBEGINEDIT;

    CImageList* m_pDragImage = nullptr;
    BOOL m_bDragging = FALSE;
    HTREEITEM m_hitemDrag = nullptr;
    HTREEITEM m_hitemDrop = nullptr;

protected:
    void OnDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    void OnSelChanged(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnEndLabelEdit(NMHDR* pNMHDR, LRESULT* pResult);
    void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    void OnQuiet(NMHDR* pNMHDR, LRESULT* pResult);
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void EndDrag();
    DECLARE_MESSAGE_MAP()
};
