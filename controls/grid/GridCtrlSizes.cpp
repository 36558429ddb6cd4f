// The grid's shape: row and column counts, fixed counts, cell creation, sizes, autosizing,
// and the geometry that turns rows and columns into pixels and back.
#include "controls/grid/GridCtrl.h"

#include <algorithm>
#include <memory>
#include <new>
#include <numeric>

namespace {

void ReportOutOfMemory() { AfxMessageBox(_T("Out of memory."), MB_OK | MB_ICONSTOP); }

} // namespace

namespace qor::grid {

BOOL SpreadColumnWidths(std::vector<UINT>& widths, int nFirstColumn, int nClientWidth)
{
    if (nClientWidth <= 0) return FALSE;
    const int nCols = static_cast<int>(widths.size());
    nFirstColumn = std::max(nFirstColumn, 0);

    long long nShown = 0;
    for (int col = nFirstColumn; col < nCols; col++)
        if (widths[static_cast<size_t>(col)] > 0) nShown++;
    if (nShown == 0) return FALSE;

    long long total = 0;
    for (UINT w : widths) total += w;
    const long long difference = nClientWidth - total;
    const long long share = difference / nShown;

    for (int col = nFirstColumn; col < nCols; col++)
    {
        UINT& w = widths[static_cast<size_t>(col)];
        if (w > 0) w = static_cast<UINT>(std::max<long long>(1, static_cast<long long>(w) + share));
    }

    // The remainder goes one pixel per column walked; hidden columns use up their pixel.
    const long long remainder = (difference > 0 ? difference : -difference) % nShown;
    long long walked = 0;
    for (int col = nFirstColumn; col < nCols && walked < remainder; col++, walked++)
    {
        UINT& w = widths[static_cast<size_t>(col)];
        if (difference > 0)
        {
            if (w > 0) w++;
        }
        else if (w > 1)
            w--;
    }
    return TRUE;
}

} // namespace qor::grid

// ---------------------------------------------------------------------------------------
// Counts

BOOL CGridCtrl::SetRowCount(int nRows)
{
    if (nRows == m_nRows) return TRUE;
    if (nRows < 0) return FALSE;

    BOOL bResult = TRUE;
    // Rows added below the last one on show change only the scroll bar (a table filled in slices grows so).
    const BOOL bBelowView = nRows > m_nRows && m_nRows > m_nFixedRows && ::IsWindow(GetSafeHwnd()) &&
                            GetVisibleNonFixedCellRange().GetMaxRow() < m_nRows - 1;
    m_TopLeftCell.row = -1;
    if (nRows < m_nFixedRows) m_nFixedRows = nRows;
    if (m_FocusCell.row >= nRows) SetFocusCell(-1, -1);

    if (nRows < m_nRows)
    {
        for (int row = nRows; row < m_nRows; row++)
        {
            // A row not made holds no cell (a table of a million rows made few).
            if (!m_Rows[static_cast<size_t>(row)]) continue;
            for (int col = 0; col < m_nCols; col++) DestroyCell(row, col);
            delete m_Rows[static_cast<size_t>(row)];
            m_Rows[static_cast<size_t>(row)] = nullptr;
        }
        m_Rows.resize(static_cast<size_t>(nRows));
        m_arRowHeights.resize(static_cast<size_t>(nRows));
        m_nRows = nRows;
    }

    try
    {
        m_arRowHeights.reserve(static_cast<size_t>(nRows));
        m_Rows.reserve(static_cast<size_t>(nRows));
        while (m_nRows < nRows)
        {
            const int row = m_nRows;
            // With a row maker the row gets its cells when one is first asked for.
            std::unique_ptr<GRID_ROW> pRow;
            if (!m_fnFillRow)
            {
                pRow = std::make_unique<GRID_ROW>(static_cast<size_t>(m_nCols), nullptr);
                for (int col = 0; col < m_nCols; col++) (*pRow)[static_cast<size_t>(col)] = CreateCell(row, col);
            }
            m_arRowHeights.push_back(static_cast<UINT>(m_DefaultCell.GetHeight()));
            m_Rows.push_back(pRow.release());
            m_nRows++;
        }
    }
    catch (const std::bad_alloc&)
    {
        // The rows built so far stay; the arrays keep one entry per row.
        m_arRowHeights.resize(static_cast<size_t>(m_nRows));
        m_Rows.resize(static_cast<size_t>(m_nRows));
        ReportOutOfMemory();
        bResult = FALSE;
    }

    SetModified();
    ResetScrollBars();
    if (!bBelowView) Refresh();
    return bResult;
}

BOOL CGridCtrl::SetColumnCount(int nCols)
{
    if (nCols == m_nCols) return TRUE;
    if (nCols < 0) return FALSE;

    BOOL bResult = TRUE;
    m_TopLeftCell.col = -1;
    if (nCols < m_nFixedCols) m_nFixedCols = nCols;
    if (m_FocusCell.col >= nCols) SetFocusCell(-1, -1);

    const int oldCols = m_nCols;
    if (nCols < oldCols)
    {
        for (int row = 0; row < m_nRows; row++)
            for (int col = nCols; col < oldCols; col++) DestroyCell(row, col);
    }

    try
    {
        std::vector<UINT> widths(m_arColWidths);
        widths.resize(static_cast<size_t>(nCols), static_cast<UINT>(m_DefaultFixedColCell.GetWidth()));
        for (GRID_ROW* pRow : m_Rows)
            if (pRow) pRow->reserve(static_cast<size_t>(nCols));
        std::vector<int> order(static_cast<size_t>(nCols));
        std::iota(order.begin(), order.end(), 0);

        // Nothing below allocates except the cells themselves.
        for (int row = 0; row < m_nRows; row++)
        {
            GRID_ROW* pRow = m_Rows[static_cast<size_t>(row)];
            if (!pRow) continue;
            pRow->resize(static_cast<size_t>(nCols), nullptr);
            for (int col = oldCols; col < nCols; col++) (*pRow)[static_cast<size_t>(col)] = CreateCell(row, col);
        }
        m_arColWidths.swap(widths);
        m_arColOrder.swap(order);
        m_nCols = nCols;
    }
    catch (const std::bad_alloc&)
    {
        // Back to the old column count: the cells made for the new columns go again.
        for (GRID_ROW* pRow : m_Rows)
        {
            if (!pRow) continue;
            for (size_t col = static_cast<size_t>(std::min(oldCols, nCols)); col < pRow->size(); col++)
                delete (*pRow)[col];
            pRow->resize(static_cast<size_t>(std::min(oldCols, nCols)));
        }
        m_nCols = std::min(oldCols, nCols);
        m_arColWidths.resize(static_cast<size_t>(m_nCols));
        m_arColOrder.resize(static_cast<size_t>(m_nCols));
        std::iota(m_arColOrder.begin(), m_arColOrder.end(), 0);
        ReportOutOfMemory();
        bResult = FALSE;
    }

    SetModified();
    ResetScrollBars();
    Refresh();
    return bResult;
}

BOOL CGridCtrl::SetFixedRowCount(int nFixedRows)
{
    if (m_nFixedRows == nFixedRows) return TRUE;
    if (nFixedRows < 0) return FALSE;

    ResetSelectedRange();
    m_TopLeftCell.col = -1;

    if (nFixedRows > m_nRows)
        if (!SetRowCount(nFixedRows)) return FALSE;

    if (nFixedRows > m_nFixedRows)
    {
        for (int row = m_nFixedRows; row < nFixedRows; row++)
            for (int col = 0; col < m_nCols && IsRowMade(row); col++)
                SetFixedItemState(row, col, GetItemState(row, col) | GVIS_FIXED | GVIS_FIXEDROW);
    }
    else
    {
        for (int row = nFixedRows; row < m_nFixedRows; row++)
        {
            // A row not made yet gets its cells with the new count's states.
            if (!IsRowMade(row)) continue;
            for (int col = 0; col < m_nFixedCols && col < m_nCols; col++)
                SetItemState(row, col, GetItemState(row, col) & ~GVIS_FIXEDROW);
            for (int col = m_nFixedCols; col < m_nCols; col++)
                SetFixedItemState(row, col, GetItemState(row, col) & ~(GVIS_FIXED | GVIS_FIXEDROW));
        }
    }

    m_nFixedRows = nFixedRows;
    Refresh();
    return TRUE;
}

BOOL CGridCtrl::SetFixedColumnCount(int nFixedCols)
{
    if (m_nFixedCols == nFixedCols) return TRUE;
    if (nFixedCols < 0) return FALSE;

    if (nFixedCols > m_nCols)
        if (!SetColumnCount(nFixedCols)) return FALSE;

    ResetSelectedRange();
    m_TopLeftCell.col = -1;

    if (nFixedCols > m_nFixedCols)
    {
        for (int row = 0; row < m_nRows; row++)
            for (int col = m_nFixedCols; col < nFixedCols && IsRowMade(row); col++)
                SetFixedItemState(row, col, GetItemState(row, col) | GVIS_FIXED | GVIS_FIXEDCOL);
    }
    else
    {
        for (int col = nFixedCols; col < m_nFixedCols; col++)
        {
            for (int row = 0; row < m_nFixedRows && row < m_nRows; row++)
                if (IsRowMade(row)) SetItemState(row, col, GetItemState(row, col) & ~GVIS_FIXEDCOL);
            for (int row = m_nFixedRows; row < m_nRows; row++)
                if (IsRowMade(row)) SetFixedItemState(row, col, GetItemState(row, col) & ~(GVIS_FIXED | GVIS_FIXEDCOL));
        }
    }

    m_nFixedCols = nFixedCols;
    Refresh();
    return TRUE;
}

// A cell that joins or leaves the fixed area takes its new state and the default colours
// of its new place.
void CGridCtrl::SetFixedItemState(int nRow, int nCol, UINT nState)
{
    SetItemState(nRow, nCol, nState);
    if (CGridCellBase* pCell = GetCell(nRow, nCol))
    {
        pCell->SetTextClr(CLR_DEFAULT_GRID);
        pCell->SetBackClr(CLR_DEFAULT_GRID);
    }
}

// ---------------------------------------------------------------------------------------
// Cells

CGridCellBase* CGridCtrl::CreateCell(int nRow, int nCol)
{
    if (!m_pCellClass || !m_pCellClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return nullptr;
    CObject* pObject = m_pCellClass->CreateObject();
    auto* pCell = dynamic_cast<CGridCellBase*>(pObject);
    if (!pCell)
    {
        delete pObject;
        return nullptr;
    }

    pCell->SetGrid(this);
    pCell->SetCoords(nRow, nCol);
    if (nCol < m_nFixedCols) pCell->SetState(pCell->GetState() | GVIS_FIXED | GVIS_FIXEDCOL);
    if (nRow < m_nFixedRows) pCell->SetState(pCell->GetState() | GVIS_FIXED | GVIS_FIXEDROW);
    if (CGridCellBase* pDefault = pCell->GetDefaultCell()) pCell->SetFormat(pDefault->GetFormat());
    return pCell;
}

void CGridCtrl::DestroyCell(int nRow, int nCol)
{
    // A row not made holds no cell (and none of it is selected): nothing to make it for.
    if (nRow >= 0 && nRow < static_cast<int>(m_Rows.size()) && !m_Rows[static_cast<size_t>(nRow)]) return;
    SetItemState(nRow, nCol, 0);
    if (nRow < 0 || nRow >= static_cast<int>(m_Rows.size())) return;
    GRID_ROW* pRow = m_Rows[static_cast<size_t>(nRow)];
    if (!pRow || nCol < 0 || nCol >= static_cast<int>(m_arColOrder.size())) return;
    const size_t stored = static_cast<size_t>(m_arColOrder[static_cast<size_t>(nCol)]);
    if (stored < pRow->size())
    {
        delete (*pRow)[stored];
        (*pRow)[stored] = nullptr;
    }
}

BOOL CGridCtrl::SetCellType(int nRow, int nCol, CRuntimeClass* pRuntimeClass)
{
    if (!IsValid(nRow, nCol)) return FALSE;
    if (!pRuntimeClass || !pRuntimeClass->IsDerivedFrom(RUNTIME_CLASS(CGridCellBase))) return FALSE;

    CObject* pObject = pRuntimeClass->CreateObject();
    auto* pNewCell = dynamic_cast<CGridCellBase*>(pObject);
    if (!pNewCell)
    {
        delete pObject;
        return FALSE;
    }

    CGridCellBase* pCurrCell = GetCell(nRow, nCol);
    // Even without an old cell to copy, the new one belongs to this grid (else it could not draw).
    pNewCell->SetGrid(this);
    if (pCurrCell) *pNewCell = *pCurrCell;
    SetCell(nRow, nCol, pNewCell);
    delete pCurrCell;
    return TRUE;
}

BOOL CGridCtrl::DeleteRow(int nRow)
{
    if (nRow < 0 || nRow >= m_nRows) return FALSE;

    // The selection goes; the focus stays on its cell, which moves up with the rows below.
    const CCellID oldFocus = m_FocusCell;
    ResetSelectedRange();

    GRID_ROW* pRow = m_Rows[static_cast<size_t>(nRow)];
    if (!pRow && !m_fnFillRow) return FALSE;

    for (int col = 0; col < m_nCols; col++) DestroyCell(nRow, col);
    delete pRow;
    m_Rows.erase(m_Rows.begin() + nRow);
    m_arRowHeights.erase(m_arRowHeights.begin() + nRow);
    m_nRows--;
    if (nRow < m_nFixedRows) m_nFixedRows--;
    m_TopLeftCell.row = -1;

    if (oldFocus.row >= 0 && oldFocus.row != nRow)
    {
        const int newRow = (nRow < oldFocus.row) ? oldFocus.row - 1 : oldFocus.row;
        if (IsValid(newRow, oldFocus.col)) SetFocusCell(newRow, oldFocus.col);
    }

    ResetScrollBars();
    m_bModified = TRUE;
    return TRUE;
}

BOOL CGridCtrl::DeleteAllItems()
{
    ResetSelectedRange();

    m_arColWidths.clear();
    m_arRowHeights.clear();

    for (int row = 0; row < static_cast<int>(m_Rows.size()); row++)
    {
        GRID_ROW* pRow = m_Rows[static_cast<size_t>(row)];
        if (!pRow) continue;
        for (int col = 0; col < m_nCols; col++) DestroyCell(row, col);
        delete pRow;
        m_Rows[static_cast<size_t>(row)] = nullptr;
    }
    m_Rows.clear();

    m_FocusCell = CCellID(-1, -1);
    m_nRows = m_nFixedRows = m_nCols = m_nFixedCols = 0;
    m_arColOrder.clear();

    ResetScrollBars();
    SetModified();
    return TRUE;
}

CString CGridCtrl::GetItemText(int nRow, int nCol) const
{
    if (nRow < 0 || nRow >= m_nRows || nCol < 0 || nCol >= m_nCols) return CString();
    const CGridCellBase* pCell = GetCell(nRow, nCol);
    if (!pCell) return CString();
    return CString(pCell->GetText());
}

void CGridCtrl::SetModified(int nRow, int nCol)
{
    if (nRow >= 0 && nCol >= 0) SetItemState(nRow, nCol, GetItemState(nRow, nCol) | GVIS_MODIFIED);
    m_bModified = TRUE;
}

// ---------------------------------------------------------------------------------------
// Sizes

int CGridCtrl::GetRowHeight(int nRow) const
{
    if (nRow < 0 || nRow >= m_nRows || nRow >= static_cast<int>(m_arRowHeights.size())) return -1;
    return static_cast<int>(m_arRowHeights[static_cast<size_t>(nRow)]);
}

int CGridCtrl::GetColumnWidth(int nCol) const
{
    if (nCol < 0 || nCol >= m_nCols || nCol >= static_cast<int>(m_arColOrder.size())) return -1;
    const size_t stored = static_cast<size_t>(m_arColOrder[static_cast<size_t>(nCol)]);
    if (stored >= m_arColWidths.size()) return -1;
    return static_cast<int>(m_arColWidths[stored]);
}

BOOL CGridCtrl::SetRowHeight(int nRow, int height)
{
    if (nRow < 0 || nRow >= m_nRows || height < 0 || nRow >= static_cast<int>(m_arRowHeights.size())) return FALSE;
    m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(height);
    ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::SetColumnWidth(int nCol, int width)
{
    if (nCol < 0 || nCol >= m_nCols || width < 0) return FALSE;
    const size_t stored = static_cast<size_t>(m_arColOrder[static_cast<size_t>(nCol)]);
    if (stored >= m_arColWidths.size()) return FALSE;
    m_arColWidths[stored] = static_cast<UINT>(width);
    ResetScrollBars();
    return TRUE;
}

int CGridCtrl::GetFixedRowHeight() const
{
    int nHeight = 0;
    for (int i = 0; i < m_nFixedRows; i++) nHeight += GetRowHeight(i);
    return nHeight;
}

int CGridCtrl::GetFixedColumnWidth() const
{
    int nWidth = 0;
    for (int i = 0; i < m_nFixedCols; i++) nWidth += GetColumnWidth(i);
    return nWidth;
}

long CGridCtrl::GetVirtualHeight() const
{
    long lVirtualHeight = 0;
    for (UINT h : m_arRowHeights) lVirtualHeight += static_cast<long>(h);
    return lVirtualHeight;
}

long CGridCtrl::GetVirtualWidth() const
{
    long lVirtualWidth = 0;
    for (UINT w : m_arColWidths) lVirtualWidth += static_cast<long>(w);
    return lVirtualWidth;
}

BOOL CGridCtrl::AutoSizeColumn(int nCol, UINT nAutoSizeStyle, BOOL bResetScroll)
{
    if (nCol < 0 || nCol >= m_nCols) return FALSE;
    if (GetColumnWidth(nCol) <= 0) return FALSE; // a hidden column stays hidden

    CDC* pDC = GetDC();
    if (!pDC) return FALSE;

    if (nAutoSizeStyle == GVS_DEFAULT) nAutoSizeStyle = GetAutoSizeStyle();
    const int nStartRow = (nAutoSizeStyle & GVS_HEADER) ? 0 : m_nFixedRows;
    const int nEndRow = (nAutoSizeStyle & GVS_DATA) ? m_nRows - 1 : m_nFixedRows - 1;

    int nWidth = 0;
    bool measured = false;
    // The text reader knows the widest cell without a row being made or measured.
    const int nKnown = m_fnWidth && nStartRow <= nEndRow ? m_fnWidth(nCol, nStartRow, nEndRow, pDC) : -1;
    if (nKnown >= 0)
    {
        nWidth = nKnown;
        measured = nKnown > 0;
    }
    for (int nRow = nStartRow; nRow <= nEndRow && nKnown < 0; nRow++)
    {
        // A row made only to be measured goes again.
        const BOOL bMade = IsRowMade(nRow);
        CGridCellBase* pCell = GetCell(nRow, nCol);
        if (pCell)
        {
            const CSize size = pCell->GetCellExtent(pDC);
            nWidth = std::max(nWidth, static_cast<int>(size.cx));
            measured = true;
        }
        if (!bMade && m_fnFillRow) ForgetRow(nRow);
    }
    // A column with nothing measured keeps its width (0 would hide it for good).
    if (measured)
        m_arColWidths[static_cast<size_t>(m_arColOrder[static_cast<size_t>(nCol)])] = static_cast<UINT>(nWidth);

    ReleaseDC(pDC);
    if (bResetScroll) ResetScrollBars();
    return TRUE;
}

BOOL CGridCtrl::AutoSizeRow(int nRow, BOOL bResetScroll)
{
    if (nRow < 0 || nRow >= m_nRows) return FALSE;
    if (GetRowHeight(nRow) <= 0) return FALSE;

    CDC* pDC = GetDC();
    if (!pDC) return FALSE;

    int nHeight = 0;
    bool measured = false;
    for (int nCol = 0; nCol < m_nCols; nCol++)
    {
        CGridCellBase* pCell = GetCell(nRow, nCol);
        if (!pCell) continue;
        const CSize size = pCell->GetCellExtent(pDC);
        nHeight = std::max(nHeight, static_cast<int>(size.cy));
        measured = true;
    }
    if (measured) m_arRowHeights[static_cast<size_t>(nRow)] = static_cast<UINT>(nHeight);

    ReleaseDC(pDC);
    if (bResetScroll) ResetScrollBars();
    return TRUE;
}

void CGridCtrl::AutoSizeColumns(UINT nAutoSizeStyle)
{
    for (int nCol = 0; nCol < m_nCols; nCol++)
        if (GetColumnWidth(nCol) > 0) AutoSizeColumn(nCol, nAutoSizeStyle, FALSE);
    ResetScrollBars();
}

void CGridCtrl::ExpandColumnsToFit(BOOL bExpandFixed)
{
    if (bExpandFixed)
    {
        if (m_nCols <= 0) return;
    }
    else if (m_nCols <= m_nFixedCols)
        return;

    // A client without width (minimised, not laid out yet) would squeeze every column.
    CRect rect;
    GetClientRect(rect);
    if (rect.Width() <= 0) return;

    EnableScrollBars(SB_HORZ, FALSE);
    GetClientRect(rect);

    std::vector<UINT> widths(static_cast<size_t>(m_nCols));
    for (int col = 0; col < m_nCols; col++)
        widths[static_cast<size_t>(col)] = m_arColWidths[static_cast<size_t>(m_arColOrder[static_cast<size_t>(col)])];

    const int nFirstColumn = bExpandFixed ? 0 : m_nFixedCols;
    if (!qor::grid::SpreadColumnWidths(widths, nFirstColumn, rect.Width())) return;

    for (int col = 0; col < m_nCols; col++)
        m_arColWidths[static_cast<size_t>(m_arColOrder[static_cast<size_t>(col)])] = widths[static_cast<size_t>(col)];

    Refresh();
    ResetScrollBars();
}

// ---------------------------------------------------------------------------------------
// Geometry

CCellID CGridCtrl::GetTopleftNonFixedCell(BOOL bForceRecalculation)
{
    if (m_TopLeftCell.row >= 0 && m_TopLeftCell.col >= 0 && !bForceRecalculation) return m_TopLeftCell;

    const int nVertScroll = GetScrollPos32(SB_VERT);
    const int nHorzScroll = GetScrollPos32(SB_HORZ);

    m_TopLeftCell.col = m_nFixedCols;
    int nRight = 0;
    while (nRight < nHorzScroll && m_TopLeftCell.col < (m_nCols - 1)) nRight += GetColumnWidth(m_TopLeftCell.col++);

    m_TopLeftCell.row = m_nFixedRows;
    int nTop = 0;
    while (nTop < nVertScroll && m_TopLeftCell.row < (m_nRows - 1)) nTop += GetRowHeight(m_TopLeftCell.row++);

    return m_TopLeftCell;
}

BOOL CGridCtrl::GetCellOrigin(int nRow, int nCol, LPPOINT p)
{
    if (!p || !IsValid(nRow, nCol)) return FALSE;

    CCellID idTopLeft;
    if (nCol >= m_nFixedCols || nRow >= m_nFixedRows) idTopLeft = GetTopleftNonFixedCell();

    if ((nRow >= m_nFixedRows && nRow < idTopLeft.row) || (nCol >= m_nFixedCols && nCol < idTopLeft.col)) return FALSE;

    p->x = 0;
    if (nCol < m_nFixedCols)
        for (int i = 0; i < nCol; i++) p->x += GetColumnWidth(i);
    else
    {
        for (int i = 0; i < m_nFixedCols; i++) p->x += GetColumnWidth(i);
        for (int i = idTopLeft.col; i < nCol; i++) p->x += GetColumnWidth(i);
    }

    p->y = 0;
    if (nRow < m_nFixedRows)
        for (int i = 0; i < nRow; i++) p->y += GetRowHeight(i);
    else
    {
        for (int i = 0; i < m_nFixedRows; i++) p->y += GetRowHeight(i);
        for (int i = idTopLeft.row; i < nRow; i++) p->y += GetRowHeight(i);
    }
    return TRUE;
}

BOOL CGridCtrl::GetCellRect(int nRow, int nCol, LPRECT pRect)
{
    CPoint CellOrigin;
    if (!pRect || !GetCellOrigin(nRow, nCol, &CellOrigin)) return FALSE;
    pRect->left = CellOrigin.x;
    pRect->top = CellOrigin.y;
    pRect->right = CellOrigin.x + GetColumnWidth(nCol) - 1;
    pRect->bottom = CellOrigin.y + GetRowHeight(nRow) - 1;
    return TRUE;
}

CPoint CGridCtrl::GetPointClicked(int nRow, int nCol, const CPoint& point)
{
    CPoint origin;
    if (!GetCellOrigin(nRow, nCol, &origin)) return CPoint(0, 0);
    return CPoint(point.x - origin.x, point.y - origin.y);
}

CCellID CGridCtrl::GetCellFromPt(CPoint point, BOOL bAllowFixedCellCheck)
{
    CCellID cellID;
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    if (!bAllowFixedCellCheck && !IsValid(idTopLeft)) return cellID;

    cellID.col = GetLineFromPos(TRUE, point.x, idTopLeft.col, bAllowFixedCellCheck);
    cellID.row = GetLineFromPos(FALSE, point.y, idTopLeft.row, bAllowFixedCellCheck);
    return cellID;
}

int CGridCtrl::GetLineSize(BOOL bHorz, int nIndex) const
{
    return bHorz ? GetColumnWidth(nIndex) : GetRowHeight(nIndex);
}

int CGridCtrl::GetLineFromPos(BOOL bHorz, int nPos, int nTopLeft, BOOL bAllowFixedCellCheck) const
{
    const int nFixedSize = bHorz ? GetFixedColumnWidth() : GetFixedRowHeight();
    if (nPos < 0 || (!bAllowFixedCellCheck && nPos < nFixedSize)) return -1;

    if (nPos < nFixedSize)
    {
        const int nFixed = bHorz ? m_nFixedCols : m_nFixedRows;
        int pos = 0;
        int nLine = 0;
        while (nLine < nFixed)
        {
            pos += GetLineSize(bHorz, nLine);
            if (pos > nPos) break;
            nLine++;
        }
        return nLine;
    }

    const int nCount = bHorz ? m_nCols : m_nRows;
    int pos = nFixedSize;
    int nLine = nTopLeft;
    while (nLine < nCount)
    {
        pos += GetLineSize(bHorz, nLine);
        if (pos > nPos) break;
        nLine++;
    }
    return (nLine >= nCount) ? -1 : nLine;
}

CCellRange CGridCtrl::GetVisibleNonFixedCellRange(LPRECT pRect, BOOL bForceRecalculation)
{
    CRect rect;
    GetClientRect(rect);
    const CCellID idTopLeft = GetTopleftNonFixedCell(bForceRecalculation);

    int bottom = GetFixedRowHeight();
    int i = idTopLeft.row;
    for (; i < m_nRows; i++)
    {
        bottom += GetRowHeight(i);
        if (bottom >= rect.bottom)
        {
            bottom = rect.bottom;
            break;
        }
    }
    const int maxVisibleRow = std::min(i, m_nRows - 1);

    int right = GetFixedColumnWidth();
    i = idTopLeft.col;
    for (; i < m_nCols; i++)
    {
        right += GetColumnWidth(i);
        if (right >= rect.right)
        {
            right = rect.right;
            break;
        }
    }
    const int maxVisibleCol = std::min(i, m_nCols - 1);

    if (pRect)
    {
        pRect->left = pRect->top = 0;
        pRect->right = right;
        pRect->bottom = bottom;
    }
    return CCellRange(idTopLeft.row, idTopLeft.col, maxVisibleRow, maxVisibleCol);
}

CCellRange CGridCtrl::GetVisibleFixedCellRange(LPRECT pRect, BOOL bForceRecalculation)
{
    const CCellRange visible = GetVisibleNonFixedCellRange(pRect, bForceRecalculation);
    CRect rect;
    GetClientRect(rect);

    int right = 0;
    int i = 0;
    for (; i < m_nFixedCols; i++)
    {
        right += GetColumnWidth(i);
        if (right >= rect.right) break;
    }
    const int maxVisibleCol = std::min(i, m_nCols - 1);
    return CCellRange(visible.GetMinRow(), 0, visible.GetMaxRow(), maxVisibleCol);
}

BOOL CGridCtrl::IsCellVisible(int nRow, int nCol)
{
    // A cell outside the grid is never visible.
    if (!::IsWindow(m_hWnd) || !IsValid(nRow, nCol)) return FALSE;

    CCellID TopLeft;
    if (nCol >= m_nFixedCols || nRow >= m_nFixedRows)
    {
        TopLeft = GetTopleftNonFixedCell();
        if (nCol >= m_nFixedCols && nCol < TopLeft.col) return FALSE;
        if (nRow >= m_nFixedRows && nRow < TopLeft.row) return FALSE;
    }

    CRect rect;
    GetClientRect(rect);

    int x = (nCol < m_nFixedCols) ? 0 : GetFixedColumnWidth();
    for (int i = (nCol < m_nFixedCols) ? 0 : TopLeft.col; i <= nCol; i++)
    {
        if (x >= rect.right) return FALSE;
        x += GetColumnWidth(i);
    }

    int y = (nRow < m_nFixedRows) ? 0 : GetFixedRowHeight();
    for (int i = (nRow < m_nFixedRows) ? 0 : TopLeft.row; i <= nRow; i++)
    {
        if (y >= rect.bottom) return FALSE;
        y += GetRowHeight(i);
    }
    return TRUE;
}

void CGridCtrl::EnsureVisible(int nRow, int nCol)
{
    if (!m_bAllowDraw) return;

    CWnd* pFocusWnd = CWnd::GetFocus();
    const HWND hFocusWnd = pFocusWnd ? pFocusWnd->GetSafeHwnd() : nullptr;
    auto restoreFocus = [hFocusWnd]() {
        if (hFocusWnd && ::IsWindow(hFocusWnd)) ::SetFocus(hFocusWnd);
    };

    const CCellRange VisibleCells = GetVisibleNonFixedCellRange();

    int right = nCol - VisibleCells.GetMaxCol();
    int left = VisibleCells.GetMinCol() - nCol;
    int down = nRow - VisibleCells.GetMaxRow();
    int up = VisibleCells.GetMinRow() - nRow;

    int iColumnStart = VisibleCells.GetMaxCol() + 1;
    while (right > 0)
    {
        if (GetColumnWidth(iColumnStart) > 0) SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
        right--;
        iColumnStart++;
    }
    iColumnStart = VisibleCells.GetMinCol() - 1;
    while (left > 0)
    {
        if (GetColumnWidth(iColumnStart) > 0) SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
        left--;
        iColumnStart--;
    }
    int iRowStart = VisibleCells.GetMaxRow() + 1;
    while (down > 0)
    {
        if (GetRowHeight(iRowStart) > 0) SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        down--;
        iRowStart++;
    }
    iRowStart = VisibleCells.GetMinRow() - 1;
    while (up > 0)
    {
        if (GetRowHeight(iRowStart) > 0) SendMessage(WM_VSCROLL, SB_LINEUP, 0);
        up--;
        iRowStart--;
    }

    // A cell only partly shown at the right or bottom edge is scrolled into full view.
    CRect rectCell;
    if (!GetCellRect(nRow, nCol, rectCell))
    {
        restoreFocus();
        return;
    }
    CRect rectWindow;
    GetClientRect(rectWindow);

    while (rectCell.right > rectWindow.right && rectCell.left > GetFixedColumnWidth() && IsVisibleHScroll())
    {
        SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
        if (!GetCellRect(nRow, nCol, rectCell))
        {
            restoreFocus();
            return;
        }
    }
    while (rectCell.bottom > rectWindow.bottom && rectCell.top > GetFixedRowHeight() && IsVisibleVScroll())
    {
        SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
        if (!GetCellRect(nRow, nCol, rectCell))
        {
            restoreFocus();
            return;
        }
    }
    restoreFocus();
}

BOOL CGridCtrl::InvalidateCellRect(int row, int col)
{
    if (!::IsWindow(GetSafeHwnd()) || !m_bAllowDraw) return FALSE;
    if (!IsValid(row, col)) return FALSE;
    if (!IsCellVisible(row, col)) return FALSE;

    CRect rect;
    if (!GetCellRect(row, col, rect)) return FALSE;
    rect.right++;
    rect.bottom++;
    InvalidateRect(rect, TRUE);
    return TRUE;
}

void CGridCtrl::Refresh()
{
    if (GetSafeHwnd() && m_bAllowDraw) Invalidate();
}

BOOL CGridCtrl::MouseOverRowResizeArea(const CPoint& point)
{
    if (point.x >= GetFixedColumnWidth()) return FALSE;

    const CCellID idCurrentCell = GetCellFromPt(point);
    CPoint start;
    if (!GetCellOrigin(idCurrentCell, &start)) return FALSE;

    const int endy = start.y + GetRowHeight(idCurrentCell.row);
    return ((point.y - start.y < m_nResizeCaptureRange && idCurrentCell.row != 0) ||
            endy - point.y < m_nResizeCaptureRange);
}

BOOL CGridCtrl::MouseOverColumnResizeArea(const CPoint& point)
{
    if (point.y >= GetFixedRowHeight()) return FALSE;

    const CCellID idCurrentCell = GetCellFromPt(point);
    CPoint start;
    if (!GetCellOrigin(idCurrentCell, &start)) return FALSE;

    const int endx = start.x + GetColumnWidth(idCurrentCell.col);
    return ((point.x - start.x < m_nResizeCaptureRange && idCurrentCell.col != 0) ||
            endx - point.x < m_nResizeCaptureRange);
}

// ---------------------------------------------------------------------------------------
// Scroll bars

void CGridCtrl::EnableScrollBars(int nBar, BOOL bEnable)
{
    const bool horz = (nBar == SB_HORZ || nBar == SB_BOTH);
    const bool vert = (nBar == SB_VERT || nBar == SB_BOTH);
    if (bEnable)
    {
        if (horz && !IsVisibleHScroll())
        {
            m_nBarState |= GVL_HORZ;
            ShowScrollBar(SB_HORZ, TRUE);
        }
        if (vert && !IsVisibleVScroll())
        {
            m_nBarState |= GVL_VERT;
            ShowScrollBar(SB_VERT, TRUE);
        }
    }
    else
    {
        if (horz && IsVisibleHScroll())
        {
            m_nBarState &= ~GVL_HORZ;
            ShowScrollBar(SB_HORZ, FALSE);
        }
        if (vert && IsVisibleVScroll())
        {
            m_nBarState &= ~GVL_VERT;
            ShowScrollBar(SB_VERT, FALSE);
        }
    }
}

void CGridCtrl::ResetScrollBars()
{
    m_TopLeftCell.row = -1;
    if (!m_bAllowDraw || !::IsWindow(GetSafeHwnd())) return;

    CRect rect;
    GetClientRect(rect);
    if (rect.IsRectEmpty()) return;

    // The client area as it would be without scroll bars.
    if (IsVisibleVScroll()) rect.right += ::GetSystemMetrics(SM_CXVSCROLL) + ::GetSystemMetrics(SM_CXBORDER);
    if (IsVisibleHScroll()) rect.bottom += ::GetSystemMetrics(SM_CYHSCROLL) + ::GetSystemMetrics(SM_CYBORDER);

    const int nFixedColWidth = GetFixedColumnWidth();
    const int nFixedRowHeight = GetFixedRowHeight();
    rect.left += nFixedColWidth;
    rect.top += nFixedRowHeight;
    if (rect.left >= rect.right || rect.top >= rect.bottom)
    {
        EnableScrollBars(SB_BOTH, FALSE);
        return;
    }

    const long scrollHeight = GetVirtualHeight() - nFixedRowHeight;
    const long scrollWidth = GetVirtualWidth() - nFixedColWidth;

    if (rect.bottom - nFixedRowHeight < scrollHeight) rect.right -= ::GetSystemMetrics(SM_CXVSCROLL);
    const int visibleWidth = rect.right - nFixedColWidth;
    if (visibleWidth < scrollWidth) rect.bottom -= ::GetSystemMetrics(SM_CYHSCROLL);
    const int visibleHeight = rect.bottom - nFixedRowHeight;

    if (visibleHeight >= scrollHeight)
    {
        EnableScrollBars(SB_VERT, FALSE);
        m_nVScrollMax = 0;
    }
    else
    {
        EnableScrollBars(SB_VERT, TRUE);
        m_nVScrollMax = static_cast<int>(scrollHeight - 1);
    }

    if (visibleWidth >= scrollWidth)
    {
        EnableScrollBars(SB_HORZ, FALSE);
        m_nHScrollMax = 0;
    }
    else
    {
        EnableScrollBars(SB_HORZ, TRUE);
        m_nHScrollMax = static_cast<int>(scrollWidth - 1);
    }

    SCROLLINFO si{};
    si.cbSize = sizeof(SCROLLINFO);
    si.fMask = SIF_PAGE | SIF_RANGE;
    si.nPage = (m_nHScrollMax > 0) ? static_cast<UINT>(visibleWidth) : 0;
    si.nMin = 0;
    si.nMax = m_nHScrollMax;
    SetScrollInfo(SB_HORZ, &si, TRUE);

    si.fMask |= SIF_DISABLENOSCROLL;
    si.nPage = (m_nVScrollMax > 0) ? static_cast<UINT>(visibleHeight) : 0;
    si.nMin = 0;
    si.nMax = m_nVScrollMax;
    SetScrollInfo(SB_VERT, &si, TRUE);
}

int CGridCtrl::GetScrollPos32(int nBar, BOOL bGetTrackPos)
{
    SCROLLINFO si{};
    si.cbSize = sizeof(SCROLLINFO);
    if (bGetTrackPos)
    {
        if (GetScrollInfo(nBar, &si, SIF_TRACKPOS)) return si.nTrackPos;
    }
    else if (GetScrollInfo(nBar, &si, SIF_POS))
        return si.nPos;
    return 0;
}

BOOL CGridCtrl::SetScrollPos32(int nBar, int nPos, BOOL bRedraw)
{
    m_TopLeftCell.row = -1;
    SCROLLINFO si{};
    si.cbSize = sizeof(SCROLLINFO);
    si.fMask = SIF_POS;
    si.nPos = nPos;
    return SetScrollInfo(nBar, &si, bRedraw);
}
