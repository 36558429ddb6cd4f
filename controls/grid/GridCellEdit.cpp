// Editing cells in place: the grid starts an edit in a cell and takes the edited text back;
// the standard cell opens its editor.
#include "controls/grid/GridCell.h"

#include "controls/grid/GridCellNumeric.h"
#include "controls/grid/GridCtrl.h"
#include "controls/grid/InPlaceEdit.h"

#include <memory>

// ---------------------------------------------------------------------------------------
// The grid's side

void CGridCtrl::OnEditCell(int nRow, int nCol, CPoint point, UINT nChar)
{
    HideTitleTip();

    if (!IsValid(nRow, nCol) || !m_bEditable) return;
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell || (pCell->GetState() & GVIS_READONLY)) return;

    EnsureVisible(nRow, nCol);
    if (!IsCellVisible(nRow, nCol)) return;
    CRect rect;
    if (!GetCellRect(nRow, nCol, rect)) return;

    // The owner may refuse the edit before any editor exists.
    if (SendMessageToParent(nRow, nCol, static_cast<int>(GVN_BEGINLABELEDIT)) < 0) return;

    // The cell opens its editor over itself; the editor reports its end to this window as
    // GVN_ENDLABELEDIT from IDC_INPLACE_CONTROL (OnEndInPlaceEdit -> OnEndEditCell).
    pCell->Edit(nRow, nCol, rect, point, IDC_INPLACE_CONTROL, nChar);
}

void CGridCtrl::OnEndEditCell(int nRow, int nCol, CString str)
{
    if (!IsValid(nRow, nCol)) return;

    const CString strOld = GetItemText(nRow, nCol);
    CGridCellBase* pCell = GetCell(nRow, nCol);
    const auto* pNumEdit = pCell ? dynamic_cast<const CInPlaceNumEdit*>(pCell->GetEditWnd()) : nullptr;
    if (const CString held = pNumEdit ? pNumEdit->GetHeldRefusal() : CString(); !held.IsEmpty())
    {
        // Keys were held back after a refused one ("2,5" with the comma refused): the editor holds
        // no number, and the cell keeps what it held. The owner refuses the edit as it refuses a
        // number out of range, naming the cell (it reads what was typed from the editor); one
        // that does not is told here.
        if (SendMessageToParent(nRow, nCol, static_cast<int>(GVN_ENDLABELEDIT)) >= 0)
            ::AfxMessageBox(held, MB_OK | MB_ICONEXCLAMATION);
    }
    else if (strOld != str)
    {
        if (pCell)
        {
            pCell->SetText(str);
            SetModified(nRow, nCol);
        }
        if (ValidateEdit(nRow, nCol, str) && SendMessageToParent(nRow, nCol, static_cast<int>(GVN_ENDLABELEDIT)) >= 0)
        {
            SetModified(nRow, nCol);
            PaintCell(nRow, nCol);
        }
        else if (pCell)
        {
            // Refused: the old text comes back (the cell stays marked as modified).
            pCell->SetText(strOld);
            SetModified(nRow, nCol);
        }
    }

    // The cell was painted as being edited (a drop-down list hides its text behind the list) until
    // here: it shows its final text now, not once something else repaints it.
    if (CGridCellBase* pCell = GetCell(nRow, nCol))
    {
        pCell->OnEndEdit();
        RedrawCell(nRow, nCol);
    }
}

BOOL CGridCtrl::ValidateEdit(int nRow, int nCol, LPCTSTR str)
{
    CGridCellBase* pCell = GetCell(nRow, nCol);
    return pCell ? pCell->ValidateEdit(str) : TRUE;
}

void CGridCtrl::OnEndInPlaceEdit(NMHDR* pNMHDR, LRESULT* pResult)
{
    if (pResult) *pResult = 0;
    // The editor may report while the grid is being destroyed.
    if (!pNMHDR || !::IsWindow(GetSafeHwnd())) return;

    const GV_DISPINFO* pDispInfo = reinterpret_cast<const GV_DISPINFO*>(pNMHDR);
    const GV_ITEM& item = pDispInfo->item;
    OnEndEditCell(item.row, item.col, item.strText);

    // Tab and the movement keys carry the edit on into the next cell.
    const UINT nKey = static_cast<UINT>(item.lParam);
    switch (nKey)
    {
    case VK_TAB:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
        OnKeyDown(nKey, 0, 0);
        OnEditCell(m_FocusCell.row, m_FocusCell.col, CPoint(-1, -1), nKey);
        break;
    default: break;
    }
}

CImageList* CGridCtrl::CreateDragImage(CPoint* pHotSpot)
{
    CDC* pDC = GetDC();
    if (!pDC) return nullptr;

    CRect rect;
    const CCellID cell = m_FocusCell;
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    if (!pCell || !GetCellRect(cell.row, cell.col, rect))
    {
        ReleaseDC(pDC);
        return nullptr;
    }

    rect = CRect(0, 0, GetColumnWidth(cell.col), GetRowHeight(cell.row));
    if (rect.IsRectEmpty())
    {
        ReleaseDC(pDC);
        return nullptr;
    }
    if (pHotSpot)
    {
        pHotSpot->x = rect.Width();
        pHotSpot->y = rect.Height();
    }

    auto pList = std::make_unique<CImageList>();
    if (!pList->Create(rect.Width(), rect.Height(), ILC_COLOR | ILC_MASK, 1, 1))
    {
        ReleaseDC(pDC);
        return nullptr;
    }

    CDC memDC;
    CBitmap bm;
    BOOL bOk = memDC.CreateCompatibleDC(pDC) && bm.CreateCompatibleBitmap(pDC, rect.Width(), rect.Height());
    if (bOk)
    {
        CBitmap* pOld = memDC.SelectObject(&bm);
        memDC.FillSolidRect(rect, GetDefaultCell(FALSE, FALSE)->GetBackClr());
        pCell->Draw(&memDC, cell.row, cell.col, rect, FALSE);
        memDC.SelectObject(pOld);
        bOk = pList->Add(&bm, GetDefaultCell(FALSE, FALSE)->GetBackClr()) >= 0;
    }
    ReleaseDC(pDC);
    return bOk ? pList.release() : nullptr;
}

// ---------------------------------------------------------------------------------------
// The standard cell's editor

BOOL CGridCell::Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar)
{
    if (m_bEditing)
    {
        // An editor is open: the character goes to it.
        if (m_pEditWnd) m_pEditWnd->SendMessage(WM_CHAR, nChar);
        return TRUE;
    }

    const DWORD dwFormat = GetFormat();
    DWORD dwStyle = ES_LEFT;
    if (dwFormat & DT_RIGHT)
        dwStyle = ES_RIGHT;
    else if (dwFormat & DT_CENTER)
        dwStyle = ES_CENTER;

    m_bEditing = TRUE;
    return AttachEditor(new CInPlaceEdit(GetGrid(), rect, dwStyle, nID, nRow, nCol, GetText(), nChar));
}

BOOL CGridCell::AttachEditor(CWnd* pEditor)
{
    if (!::IsWindow(pEditor->GetSafeHwnd()))
    {
        delete pEditor;
        m_bEditing = FALSE;
        return FALSE;
    }
    m_pEditWnd = pEditor;
    return TRUE;
}

void CGridCell::EndEdit()
{
    if (m_pEditWnd) m_pEditWnd->SendMessage(WM_KILLFOCUS);
}
