// Item state, the selection, the focus cell, selections by rows, columns and cells,
// and the clicks on header cells.
#include "controls/grid/GridCtrl.h"

#include <algorithm>

BOOL CGridCtrl::SetItemState(int nRow, int nCol, UINT state)
{
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell) return FALSE;
    // The selected bit lives in the selection; the cell keeps the others.
    const bool bSelected = m_SelectedCellMap.Contains(nRow, nCol);
    if (bSelected != ((state & GVIS_SELECTED) != 0))
    {
        const CCellRange cell(nRow, nCol, nRow, nCol);
        if (bSelected)
            m_SelectedCellMap.Remove(cell);
        else
            m_SelectedCellMap.Add(cell);
    }
    pCell->SetState(state & ~GVIS_SELECTED);
    return TRUE;
}

UINT CGridCtrl::GetItemState(int nRow, int nCol) const
{
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell) return 0;
    return (pCell->GetState() & ~GVIS_SELECTED) | (m_SelectedCellMap.Contains(nRow, nCol) ? GVIS_SELECTED : 0u);
}

BOOL CGridCtrl::SetItemText(int nRow, int nCol, LPCTSTR str)
{
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell) return FALSE;
    pCell->SetText(str);
    SetModified(nRow, nCol);
    return TRUE;
}

BOOL CGridCtrl::IsCellSelected(int nRow, int nCol) const
{
    return m_bEnableSelection && IsValid(nRow, nCol) && m_SelectedCellMap.Contains(nRow, nCol);
}

BOOL CGridCtrl::IsCellEditable(int nRow, int nCol) const
{
    if (!m_bEditable) return FALSE;
    return (GetItemState(nRow, nCol) & GVIS_READONLY) == 0;
}

BOOL CGridCtrl::IsCellEditable(const CCellID& cell) const { return IsCellEditable(cell.row, cell.col); }

CCellRange CGridCtrl::GetSelectedCellRange() const { return m_SelectedCellMap.Bounds(m_nRows, m_nCols); }

int CGridCtrl::GetSelectedCount() const { return static_cast<int>(m_SelectedCellMap.Count()); }

void CGridCtrl::ResetSelectedRange()
{
    m_PrevSelectedCellMap.Clear();
    SetSelectedRange(-1, -1, -1, -1, FALSE, TRUE);
    SetFocusCell(-1, -1);
}

void CGridCtrl::SetSelectedRange(const CCellRange& Range, BOOL bForceRepaint, BOOL bSelectCells)
{
    SetSelectedRange(Range.GetMinRow(), Range.GetMinCol(), Range.GetMaxRow(), Range.GetMaxCol(), bForceRepaint,
                     bSelectCells);
}

void CGridCtrl::SetSelectedRange(int nMinRow, int nMinCol, int nMaxRow, int nMaxCol, BOOL bForceRepaint,
                                 BOOL bSelectCells)
{
    if (!m_bEnableSelection) return;

    if (nMinRow >= 0 && nMinRow < m_nFixedRows) nMinRow = m_nFixedRows;
    if (nMaxRow >= 0 && nMaxRow < m_nFixedRows) nMaxRow = m_nFixedRows;
    if (nMinCol >= 0 && nMinCol < m_nFixedCols) nMinCol = m_nFixedCols;
    if (nMaxCol >= 0 && nMaxCol < m_nFixedCols) nMaxCol = m_nFixedCols;

    const bool allBounds = nMinRow >= 0 && nMinCol >= 0 && nMaxRow >= 0 && nMaxCol >= 0;
    const CCellSelection before = m_SelectedCellMap;

    if (bSelectCells)
    {
        m_SelectedCellMap.Clear();
        // What was selected before a Ctrl-drag began stays selected.
        if (!GetSingleRowSelection() && allBounds)
        {
            m_PrevSelectedCellMap.Clip(m_nRows, m_nCols);
            for (const CCellRange& range : m_PrevSelectedCellMap.Ranges()) m_SelectedCellMap.Add(range);
        }
    }

    if (allBounds && nMaxRow < m_nRows && nMaxCol < m_nCols && nMinRow <= nMaxRow && nMinCol <= nMaxCol)
    {
        const CCellRange range(nMinRow, nMinCol, nMaxRow, nMaxCol);
        if (bSelectCells)
            m_SelectedCellMap.Add(range);
        else
            m_SelectedCellMap.Remove(range);
    }

    // Of the cells on the screen, those that changed are drawn again.
    if (!::IsWindow(GetSafeHwnd())) return;
    CDC* pDC = bForceRepaint ? GetDC() : nullptr;
    for (const CCellRange& shown : {GetVisibleNonFixedCellRange(), GetVisibleFixedCellRange()})
    {
        if (!shown.IsValid()) continue;
        for (int row = shown.GetMinRow(); row <= shown.GetMaxRow(); row++)
            for (int col = shown.GetMinCol(); col <= shown.GetMaxCol(); col++)
            {
                if (before.Contains(row, col) == m_SelectedCellMap.Contains(row, col)) continue;
                if (pDC)
                    PaintCell(row, col, pDC);
                else
                    InvalidateCellRect(row, col);
            }
    }
    if (pDC) ReleaseDC(pDC);
}

CCellID CGridCtrl::SetFocusCell(CCellID cell) { return SetFocusCell(cell.row, cell.col); }

CCellID CGridCtrl::SetFocusCell(int nRow, int nCol)
{
    const CCellID cell(nRow, nCol);
    if (cell == m_FocusCell) return m_FocusCell;

    const CCellID idPrev = m_FocusCell;
    if (nRow != -1 && nRow < m_nFixedRows) nRow = m_nFixedRows;
    if (nCol != -1 && nCol < m_nFixedCols) nCol = m_nFixedCols;
    m_FocusCell = CCellID(nRow, nCol);

    auto repaintFixed = [this](const CCellID& focus, const CCellID& other) {
        if (!m_bTrackFocusCell) return;
        if (focus.col != other.col)
            for (int row = 0; row < m_nFixedRows; row++) PaintCell(row, focus.col);
        if (focus.row != other.row)
            for (int col = 0; col < m_nFixedCols; col++) PaintCell(focus.row, col);
    };

    if (IsValid(idPrev))
    {
        SetItemState(idPrev.row, idPrev.col, GetItemState(idPrev.row, idPrev.col) & ~GVIS_FOCUSED);
        PaintCell(idPrev.row, idPrev.col);
        repaintFixed(idPrev, m_FocusCell);
    }
    if (IsValid(m_FocusCell))
    {
        SetItemState(m_FocusCell.row, m_FocusCell.col, GetItemState(m_FocusCell.row, m_FocusCell.col) | GVIS_FOCUSED);
        PaintCell(m_FocusCell.row, m_FocusCell.col);
        repaintFixed(m_FocusCell, idPrev);
    }
    return idPrev;
}

void CGridCtrl::EndEditing()
{
    const CCellID cell = m_FocusCell;
    if (!IsValid(cell)) return;
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) pCell->EndEdit();
}

// ---------------------------------------------------------------------------------------
// Selections as the mouse and the keys make them

namespace {
// The anchor of an extended selection; one that was never set counts as the cell itself.
CCellID AnchorOr(const CCellID& anchor, const CCellID& cell) { return anchor.IsValid() ? anchor : cell; }
} // namespace

void CGridCtrl::SelectAllCells()
{
    if (!m_bEnableSelection) return;
    BringAllRows();
    SetSelectedRange(m_nFixedRows, m_nFixedCols, m_nRows - 1, m_nCols - 1, FALSE, TRUE);
}

void CGridCtrl::SelectColumns(CCellID currentCell, BOOL, BOOL)
{
    if (!m_bEnableSelection || currentCell.col < m_nFixedCols || !IsValid(currentCell)) return;
    BringAllRows();

    const CCellID anchor = AnchorOr(m_SelectionStartCell, currentCell);
    int nFirstCol = currentCell.col;
    int nLastCol = currentCell.col;
    if (!m_bSingleColSelection)
    {
        nFirstCol = std::min(anchor.col, currentCell.col);
        nLastCol = std::max(anchor.col, currentCell.col);
    }
    SetSelectedRange(m_nFixedRows, nFirstCol, m_nRows - 1, nLastCol, FALSE, TRUE);
}

void CGridCtrl::SelectRows(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (!m_bEnableSelection || currentCell.row < m_nFixedRows || !IsValid(currentCell)) return;

    const CCellID anchor = AnchorOr(m_SelectionStartCell, currentCell);
    int nFirstRow = currentCell.row;
    int nLastRow = currentCell.row;
    if (!GetSingleRowSelection())
    {
        nFirstRow = std::min(anchor.row, currentCell.row);
        nLastRow = std::max(anchor.row, currentCell.row);
    }
    SetSelectedRange(nFirstRow, m_nFixedCols, nLastRow, m_nCols - 1, bForceRedraw, bSelectCells);
}

void CGridCtrl::SelectCells(CCellID currentCell, BOOL bForceRedraw, BOOL bSelectCells)
{
    if (!m_bEnableSelection || !IsValid(currentCell) || currentCell.row < m_nFixedRows ||
        currentCell.col < m_nFixedCols)
        return;

    const CCellID anchor = AnchorOr(m_SelectionStartCell, currentCell);
    SetSelectedRange(std::min(anchor.row, currentCell.row), std::min(anchor.col, currentCell.col),
                     std::max(anchor.row, currentCell.row), std::max(anchor.col, currentCell.col), bForceRedraw,
                     bSelectCells);
}

void CGridCtrl::OnSelecting(const CCellID& currentCell)
{
    if (!m_bEnableSelection) return;

    switch (m_MouseMode)
    {
    case MOUSE_SELECT_ALL: SelectAllCells(); break;
    case MOUSE_SELECT_COL: SelectColumns(currentCell, FALSE, TRUE); break;
    case MOUSE_SELECT_ROW: SelectRows(currentCell, FALSE, TRUE); break;
    case MOUSE_SELECT_CELLS: SelectCells(currentCell, FALSE, TRUE); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------------------
// Clicks on header cells (sorting by a header click is not part of this grid)

void CGridCtrl::OnFixedRowClick(CCellID& cell)
{
    if (!IsValid(cell) || !m_bFixedRowSelection) return;
    m_MouseMode = (cell.col < m_nFixedCols) ? MOUSE_SELECT_ALL : MOUSE_SELECT_COL;
    OnSelecting(cell);
}

void CGridCtrl::OnFixedColumnClick(CCellID& cell)
{
    if (!IsValid(cell) || !m_bFixedColumnSelection) return;
    m_MouseMode = (cell.row < m_nFixedRows) ? MOUSE_SELECT_ALL : MOUSE_SELECT_ROW;
    OnSelecting(cell);
}
