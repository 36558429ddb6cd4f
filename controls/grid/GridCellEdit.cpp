// Editing a standard cell in place.
#include "controls/grid/GridCell.h"

#include "controls/grid/GridCtrl.h"

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar)
{
    if (m_bEditing)
    {
        // An editor is open: the character goes to it.
        if (m_pEditWnd)
            m_pEditWnd->SendMessage(WM_CHAR, nChar);
        return TRUE;
    }
    // No in-place editor window in this build: the cell cannot be edited in place.
    return FALSE;
}

void CGridCell::EndEdit()
{
    if (m_pEditWnd)
        m_pEditWnd->SendMessage(WM_KILLFOCUS);
}
