// Painting and scrolling of the grid.
#include "controls/grid/GridCtrl.h"

#include "controls/grid/MemDC.h"

#include <algorithm>

void CGridCtrl::OnPaint()
{
    CPaintDC dc(this);
    if (m_bDoubleBuffer)
    {
        CMemoryDC MemDC(&dc);
        OnDraw(&MemDC);
    }
    else
        OnDraw(&dc);
}

BOOL CGridCtrl::OnEraseBkgnd(CDC* pDC)
{
    // OnDraw paints the background itself.
    return TRUE;
}

void CGridCtrl::EraseBkgnd(CDC* pDC)
{
    CRect ClipRect;
    if (pDC->GetClipBox(ClipRect) == ERROR)
        return;

    CBrush FixedRowColBack(GetDefaultCell(TRUE, TRUE)->GetBackClr());
    CBrush FixedRowBack(GetDefaultCell(TRUE, FALSE)->GetBackClr());
    CBrush FixedColBack(GetDefaultCell(FALSE, TRUE)->GetBackClr());
    CBrush TextBack(GetDefaultCell(FALSE, FALSE)->GetBackClr());
    CBrush Back(GetGridBkColor());

    CRect VisRect;
    GetVisibleNonFixedCellRange(VisRect);
    const int nFixedColumnWidth = GetFixedColumnWidth();
    const int nFixedRowHeight = GetFixedRowHeight();

    if (ClipRect.left < nFixedColumnWidth && ClipRect.top < nFixedRowHeight)
        pDC->FillRect(CRect(ClipRect.left, ClipRect.top, nFixedColumnWidth, nFixedRowHeight), &FixedRowColBack);

    if (ClipRect.left < nFixedColumnWidth && ClipRect.top < VisRect.bottom)
        pDC->FillRect(CRect(ClipRect.left, ClipRect.top, nFixedColumnWidth, VisRect.bottom), &FixedColBack);

    if (ClipRect.top < nFixedRowHeight && ClipRect.right > nFixedColumnWidth && ClipRect.left < VisRect.right)
        pDC->FillRect(CRect(nFixedColumnWidth - 1, ClipRect.top, VisRect.right, nFixedRowHeight), &FixedRowBack);

    CRect rect;
    if (rect.IntersectRect(VisRect, ClipRect))
    {
        CRect CellRect(std::max(nFixedColumnWidth, static_cast<int>(rect.left)),
                       std::max(nFixedRowHeight, static_cast<int>(rect.top)), rect.right, rect.bottom);
        // Nothing left when the headers fill the client.
        if (CellRect.left < CellRect.right && CellRect.top < CellRect.bottom)
            pDC->FillRect(CellRect, &TextBack);
    }

    if (VisRect.right < ClipRect.right)
        pDC->FillRect(CRect(VisRect.right, ClipRect.top, ClipRect.right, ClipRect.bottom), &Back);
    if (VisRect.bottom < ClipRect.bottom && ClipRect.left < VisRect.right)
        pDC->FillRect(CRect(ClipRect.left, VisRect.bottom, VisRect.right, ClipRect.bottom), &Back);
}

void CGridCtrl::OnDraw(CDC* pDC)
{
    if (!m_bAllowDraw)
        return;

    CRect clipRect;
    if (pDC->GetClipBox(&clipRect) == ERROR)
        return;

    EraseBkgnd(pDC);

    const int nFixedRowHeight = GetFixedRowHeight();
    const int nFixedColWidth = GetFixedColumnWidth();

    const CCellID idTopLeft = GetTopleftNonFixedCell();
    const int minVisibleRow = idTopLeft.row;
    const int minVisibleCol = idTopLeft.col;

    CRect VisRect;
    const CCellRange VisCellRange = GetVisibleNonFixedCellRange(VisRect);
    const int maxVisibleRow = VisCellRange.GetMaxRow();
    const int maxVisibleCol = VisCellRange.GetMaxCol();

    auto drawCell = [pDC, this](int row, int col, const CRect& rect) {
        if (CGridCellBase* pCell = GetCell(row, col))
        {
            pCell->SetCoords(row, col);
            pCell->Draw(pDC, row, col, rect, FALSE);
        }
    };

    CRect rect;

    // Fixed rows x fixed columns
    rect.bottom = -1;
    for (int row = 0; row < m_nFixedRows; row++)
    {
        if (GetRowHeight(row) <= 0)
            continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        rect.right = -1;
        for (int col = 0; col < m_nFixedCols; col++)
        {
            if (GetColumnWidth(col) <= 0)
                continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            drawCell(row, col, rect);
        }
    }

    // Visible rows x fixed columns
    rect.bottom = nFixedRowHeight - 1;
    for (int row = minVisibleRow; row <= maxVisibleRow; row++)
    {
        if (GetRowHeight(row) <= 0)
            continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (rect.top > clipRect.bottom)
            break;
        if (rect.bottom < clipRect.top)
            continue;
        rect.right = -1;
        for (int col = 0; col < m_nFixedCols; col++)
        {
            if (GetColumnWidth(col) <= 0)
                continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (rect.left > clipRect.right)
                break;
            if (rect.right < clipRect.left)
                continue;
            drawCell(row, col, rect);
        }
    }

    // Fixed rows x visible columns
    rect.bottom = -1;
    for (int row = 0; row < m_nFixedRows; row++)
    {
        if (GetRowHeight(row) <= 0)
            continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (rect.top > clipRect.bottom)
            break;
        if (rect.bottom < clipRect.top)
            continue;
        rect.right = nFixedColWidth - 1;
        for (int col = minVisibleCol; col <= maxVisibleCol; col++)
        {
            if (GetColumnWidth(col) <= 0)
                continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (rect.left > clipRect.right)
                break;
            if (rect.right < clipRect.left)
                continue;
            drawCell(row, col, rect);
        }
    }

    // Visible rows x visible columns
    rect.bottom = nFixedRowHeight - 1;
    for (int row = minVisibleRow; row <= maxVisibleRow; row++)
    {
        if (GetRowHeight(row) <= 0)
            continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (rect.top > clipRect.bottom)
            break;
        if (rect.bottom < clipRect.top)
            continue;
        rect.right = nFixedColWidth - 1;
        for (int col = minVisibleCol; col <= maxVisibleCol; col++)
        {
            if (GetColumnWidth(col) <= 0)
                continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (rect.left > clipRect.right)
                break;
            if (rect.right < clipRect.left)
                continue;
            drawCell(row, col, rect);
        }
    }

    // Grid lines of the non-fixed cells; fixed cells draw their own edges.
    CPen pen;
    pen.CreatePen(PS_SOLID, 0, m_crGridLineClr);
    pDC->SelectObject(&pen);

    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
    {
        int x = nFixedColWidth;
        for (int col = minVisibleCol; col <= maxVisibleCol; col++)
        {
            if (GetColumnWidth(col) <= 0)
                continue;
            x += GetColumnWidth(col);
            pDC->MoveTo(x - 1, nFixedRowHeight);
            pDC->LineTo(x - 1, VisRect.bottom);
        }
    }
    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ)
    {
        int y = nFixedRowHeight;
        for (int row = minVisibleRow; row <= maxVisibleRow; row++)
        {
            if (GetRowHeight(row) <= 0)
                continue;
            y += GetRowHeight(row);
            pDC->MoveTo(nFixedColWidth, y - 1);
            pDC->LineTo(VisRect.right, y - 1);
        }
    }

    pDC->SelectStockObject(NULL_PEN);
}

BOOL CGridCtrl::PaintCell(int nRow, int nCol, CDC* pDC)
{
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol))
        return FALSE;

    CRect rect;
    if (!GetCellRect(nRow, nCol, rect))
        return FALSE;

    BOOL bMustReleaseDC = FALSE;
    if (!pDC)
    {
        pDC = GetDC();
        if (!pDC)
        {
            InvalidateRect(rect, TRUE);
            return TRUE;
        }
        bMustReleaseDC = TRUE;
    }

    BOOL bResult = TRUE;
    CGridCellBase* pCell = GetCell(nRow, nCol);
    if (nRow < m_nFixedRows || nCol < m_nFixedCols)
    {
        if (pCell)
            bResult = pCell->Draw(pDC, nRow, nCol, rect, TRUE);
    }
    else
    {
        if (pCell)
            bResult = pCell->Draw(pDC, nRow, nCol, rect, TRUE);

        CPen pen;
        pen.CreatePen(PS_SOLID, 0, m_crGridLineClr);
        CPen* pOldPen = pDC->SelectObject(&pen);
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_HORZ)
        {
            pDC->MoveTo(rect.left, rect.bottom);
            pDC->LineTo(rect.right + 1, rect.bottom);
        }
        if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
        {
            pDC->MoveTo(rect.right, rect.top);
            pDC->LineTo(rect.right, rect.bottom + 1);
        }
        pDC->SelectObject(pOldPen);
    }

    if (bMustReleaseDC)
        ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::RedrawRow(int row)
{
    CDC* pDC = GetDC();
    if (!pDC)
        return FALSE;
    BOOL bResult = TRUE;
    for (int col = 0; col < m_nCols; col++)
        bResult = PaintCell(row, col, pDC) && bResult;
    ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::RedrawColumn(int col)
{
    CDC* pDC = GetDC();
    if (!pDC)
        return FALSE;
    BOOL bResult = TRUE;
    for (int row = 0; row < m_nRows; row++)
        bResult = PaintCell(row, col, pDC) && bResult;
    ReleaseDC(pDC);
    return bResult;
}

// ---------------------------------------------------------------------------------------
// Scrolling

void CGridCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    EndEditing();
    HideTitleTip();

    const int scrollPos = GetScrollPos32(SB_HORZ);
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    CRect rect;
    GetClientRect(rect);
    const int nFixedColWidth = GetFixedColumnWidth();

    switch (nSBCode)
    {
    case SB_LINERIGHT:
        if (scrollPos < m_nHScrollMax)
        {
            // Hidden columns are passed over.
            int col = idTopLeft.col;
            while (col < m_nCols - 1 && GetColumnWidth(col) < 1)
                col++;
            const int xScroll = GetColumnWidth(col);
            SetScrollPos32(SB_HORZ, scrollPos + xScroll);
            if (GetScrollPos32(SB_HORZ) == scrollPos)
                break;  // at the end already: nothing moved
            rect.left = nFixedColWidth;
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_LINELEFT:
        if (scrollPos > 0 && idTopLeft.col > m_nFixedCols)
        {
            int col = idTopLeft.col - 1;
            while (col > m_nFixedCols && GetColumnWidth(col) < 1)
                col--;
            const int xScroll = GetColumnWidth(col);
            SetScrollPos32(SB_HORZ, std::max(0, scrollPos - xScroll));
            rect.left = nFixedColWidth;
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_PAGERIGHT:
        if (scrollPos < m_nHScrollMax)
        {
            rect.left = nFixedColWidth;
            const int pos = std::min(m_nHScrollMax, scrollPos + rect.Width());
            SetScrollPos32(SB_HORZ, pos);
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_PAGELEFT:
        if (scrollPos > 0)
        {
            rect.left = nFixedColWidth;
            const int pos = std::max(0, scrollPos - rect.Width());
            SetScrollPos32(SB_HORZ, pos);
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
    {
        SetScrollPos32(SB_HORZ, GetScrollPos32(SB_HORZ, TRUE));
        m_TopLeftCell.row = -1;
        const CCellID idNewTopLeft = GetTopleftNonFixedCell();
        if (idNewTopLeft != idTopLeft)
        {
            rect.left = nFixedColWidth;
            InvalidateRect(rect, TRUE);
        }
        break;
    }

    case SB_LEFT:
        if (scrollPos > 0)
        {
            SetScrollPos32(SB_HORZ, 0);
            Invalidate();
        }
        break;

    case SB_RIGHT:
        if (scrollPos < m_nHScrollMax)
        {
            SetScrollPos32(SB_HORZ, m_nHScrollMax);
            Invalidate();
        }
        break;

    default:
        break;
    }
}

void CGridCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    EndEditing();
    HideTitleTip();

    const int scrollPos = GetScrollPos32(SB_VERT);
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    CRect rect;
    GetClientRect(rect);
    const int nFixedRowHeight = GetFixedRowHeight();

    switch (nSBCode)
    {
    case SB_LINEDOWN:
        if (scrollPos < m_nVScrollMax)
        {
            int row = idTopLeft.row;
            while (row < m_nRows - 1 && GetRowHeight(row) < 1)
                row++;
            const int yScroll = GetRowHeight(row);
            SetScrollPos32(SB_VERT, scrollPos + yScroll);
            if (GetScrollPos32(SB_VERT) == scrollPos)
                break;
            rect.top = nFixedRowHeight;
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_LINEUP:
        if (scrollPos > 0 && idTopLeft.row > m_nFixedRows)
        {
            int row = idTopLeft.row - 1;
            while (row > m_nFixedRows && GetRowHeight(row) < 1)
                row--;
            const int yScroll = GetRowHeight(row);
            SetScrollPos32(SB_VERT, std::max(0, scrollPos - yScroll));
            rect.top = nFixedRowHeight;
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_PAGEDOWN:
        if (scrollPos < m_nVScrollMax)
        {
            rect.top = nFixedRowHeight;
            const int pos = std::min(m_nVScrollMax, scrollPos + rect.Height());
            SetScrollPos32(SB_VERT, pos);
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_PAGEUP:
        if (scrollPos > 0)
        {
            rect.top = nFixedRowHeight;
            const int pos = std::max(0, scrollPos - rect.Height());
            SetScrollPos32(SB_VERT, pos);
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
    {
        SetScrollPos32(SB_VERT, GetScrollPos32(SB_VERT, TRUE));
        m_TopLeftCell.row = -1;
        const CCellID idNewTopLeft = GetTopleftNonFixedCell();
        if (idNewTopLeft != idTopLeft)
        {
            rect.top = nFixedRowHeight;
            InvalidateRect(rect, TRUE);
        }
        break;
    }

    case SB_TOP:
        if (scrollPos > 0)
        {
            SetScrollPos32(SB_VERT, 0);
            Invalidate();
        }
        break;

    case SB_BOTTOM:
        if (scrollPos < m_nVScrollMax)
        {
            SetScrollPos32(SB_VERT, m_nVScrollMax);
            Invalidate();
        }
        break;

    default:
        break;
    }
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (m_nWheelLines != WHEEL_PAGESCROLL)
    {
        const int nRowsScrolled = static_cast<int>(m_nWheelLines) * zDelta / 120;
        if (nRowsScrolled > 0)
            for (int i = 0; i < nRowsScrolled; i++)
                PostMessage(WM_VSCROLL, SB_LINEUP, 0);
        else
            for (int i = 0; i > nRowsScrolled; i--)
                PostMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    }
    else
    {
        const int nPagesScrolled = zDelta / 120;
        if (nPagesScrolled > 0)
            for (int i = 0; i < nPagesScrolled; i++)
                PostMessage(WM_VSCROLL, SB_PAGEUP, 0);
        else
            for (int i = 0; i > nPagesScrolled; i--)
                PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    }
    return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

UINT CGridCtrl::GetMouseScrollLines()
{
    UINT nScrollLines = 3;
    if (!::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &nScrollLines, 0))
        nScrollLines = 3;
    return nScrollLines;
}
