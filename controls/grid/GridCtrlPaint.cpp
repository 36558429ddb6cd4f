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
    if (pDC->GetClipBox(ClipRect) == ERROR) return;

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
        if (CellRect.left < CellRect.right && CellRect.top < CellRect.bottom) pDC->FillRect(CellRect, &TextBack);
    }

    if (VisRect.right < ClipRect.right)
        pDC->FillRect(CRect(VisRect.right, ClipRect.top, ClipRect.right, ClipRect.bottom), &Back);
    if (VisRect.bottom < ClipRect.bottom && ClipRect.left < VisRect.right)
        pDC->FillRect(CRect(ClipRect.left, VisRect.bottom, VisRect.right, ClipRect.bottom), &Back);
}

void CGridCtrl::OnDraw(CDC* pDC)
{
    if (!m_bAllowDraw) return;

    CRect clipRect;
    if (pDC->GetClipBox(&clipRect) == ERROR) return;

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

    // The fixed corner is drawn whole; the other blocks only where they meet the clip box.
    DrawCells(pDC, 0, m_nFixedRows - 1, 0, m_nFixedCols - 1, CPoint(0, 0), nullptr);
    DrawCells(pDC, minVisibleRow, maxVisibleRow, 0, m_nFixedCols - 1, CPoint(0, nFixedRowHeight), &clipRect);
    DrawCells(pDC, 0, m_nFixedRows - 1, minVisibleCol, maxVisibleCol, CPoint(nFixedColWidth, 0), &clipRect);
    DrawCells(pDC, minVisibleRow, maxVisibleRow, minVisibleCol, maxVisibleCol, CPoint(nFixedColWidth, nFixedRowHeight),
              &clipRect);

    // Grid lines of the non-fixed cells; fixed cells draw their own edges.
    CPen pen;
    pen.CreatePen(PS_SOLID, 0, m_crGridLineClr);
    pDC->SelectObject(&pen);

    if (m_nGridLines == GVL_BOTH || m_nGridLines == GVL_VERT)
    {
        int x = nFixedColWidth;
        for (int col = minVisibleCol; col <= maxVisibleCol; col++)
        {
            if (GetColumnWidth(col) <= 0) continue;
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
            if (GetRowHeight(row) <= 0) continue;
            y += GetRowHeight(row);
            pDC->MoveTo(nFixedColWidth, y - 1);
            pDC->LineTo(VisRect.right, y - 1);
        }
    }

    pDC->SelectStockObject(NULL_PEN);
}

void CGridCtrl::DrawCells(CDC* pDC, int nMinRow, int nMaxRow, int nMinCol, int nMaxCol, CPoint origin,
                          const CRect* pClip)
{
    CRect rect;
    rect.bottom = origin.y - 1;
    for (int row = nMinRow; row <= nMaxRow; row++)
    {
        if (GetRowHeight(row) <= 0) continue;
        rect.top = rect.bottom + 1;
        rect.bottom = rect.top + GetRowHeight(row) - 1;
        if (pClip && rect.top > pClip->bottom) break;
        if (pClip && rect.bottom < pClip->top) continue;
        rect.right = origin.x - 1;
        for (int col = nMinCol; col <= nMaxCol; col++)
        {
            if (GetColumnWidth(col) <= 0) continue;
            rect.left = rect.right + 1;
            rect.right = rect.left + GetColumnWidth(col) - 1;
            if (pClip && rect.left > pClip->right) break;
            if (pClip && rect.right < pClip->left) continue;
            if (CGridCellBase* pCell = GetCell(row, col))
            {
                pCell->SetCoords(row, col);
                pCell->Draw(pDC, row, col, rect, FALSE);
            }
        }
    }
}

BOOL CGridCtrl::PaintCell(int nRow, int nCol, CDC* pDC)
{
    if (!m_bAllowDraw || !IsCellVisible(nRow, nCol)) return FALSE;

    CRect rect;
    if (!GetCellRect(nRow, nCol, rect)) return FALSE;

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
        if (pCell) bResult = pCell->Draw(pDC, nRow, nCol, rect, TRUE);
    }
    else
    {
        if (pCell) bResult = pCell->Draw(pDC, nRow, nCol, rect, TRUE);

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

    if (bMustReleaseDC) ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::RedrawRow(int row)
{
    CDC* pDC = GetDC();
    if (!pDC) return FALSE;
    BOOL bResult = TRUE;
    for (int col = 0; col < m_nCols; col++) bResult = PaintCell(row, col, pDC) && bResult;
    ReleaseDC(pDC);
    return bResult;
}

BOOL CGridCtrl::RedrawColumn(int col)
{
    CDC* pDC = GetDC();
    if (!pDC) return FALSE;
    BOOL bResult = TRUE;
    for (int row = 0; row < m_nRows; row++) bResult = PaintCell(row, col, pDC) && bResult;
    ReleaseDC(pDC);
    return bResult;
}

// ---------------------------------------------------------------------------------------
// Scrolling

void CGridCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) { Scroll(SB_HORZ, nSBCode); }

void CGridCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) { Scroll(SB_VERT, nSBCode); }

// Both scroll bars work alike: the horizontal one moves over the columns, the vertical one
// over the rows. The codes pair up (SB_LINELEFT == SB_LINEUP, SB_PAGERIGHT == SB_PAGEDOWN,
// SB_LEFT == SB_TOP, ...), so one switch serves both.
void CGridCtrl::Scroll(int nBar, UINT nSBCode)
{
    EndEditing();
    HideTitleTip();

    const BOOL bHorz = (nBar == SB_HORZ);
    const int nScrollMax = bHorz ? m_nHScrollMax : m_nVScrollMax;
    const int nCount = bHorz ? m_nCols : m_nRows;
    const int nFixed = bHorz ? m_nFixedCols : m_nFixedRows;

    const int scrollPos = GetScrollPos32(nBar);
    const CCellID idTopLeft = GetTopleftNonFixedCell();
    const int nTopLeft = bHorz ? idTopLeft.col : idTopLeft.row;

    // What scrolls is the client area beside the fixed columns (below the fixed rows).
    CRect rect;
    GetClientRect(rect);
    if (bHorz)
        rect.left = GetFixedColumnWidth();
    else
        rect.top = GetFixedRowHeight();
    const int nPage = bHorz ? rect.Width() : rect.Height();

    switch (nSBCode)
    {
    case SB_LINEDOWN: // SB_LINERIGHT
        if (scrollPos < nScrollMax)
        {
            // Hidden columns (rows) are passed over.
            int nLine = nTopLeft;
            while (nLine < nCount - 1 && GetLineSize(bHorz, nLine) < 1) nLine++;
            SetScrollPos32(nBar, scrollPos + GetLineSize(bHorz, nLine));
            if (GetScrollPos32(nBar) == scrollPos) break; // at the end already: nothing moved
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_LINEUP: // SB_LINELEFT
        if (scrollPos > 0 && nTopLeft > nFixed)
        {
            int nLine = nTopLeft - 1;
            while (nLine > nFixed && GetLineSize(bHorz, nLine) < 1) nLine--;
            SetScrollPos32(nBar, std::max(0, scrollPos - GetLineSize(bHorz, nLine)));
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_PAGEDOWN: // SB_PAGERIGHT
        if (scrollPos < nScrollMax)
        {
            SetScrollPos32(nBar, std::min(nScrollMax, scrollPos + nPage));
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_PAGEUP: // SB_PAGELEFT
        if (scrollPos > 0)
        {
            SetScrollPos32(nBar, std::max(0, scrollPos - nPage));
            InvalidateRect(rect, TRUE);
        }
        break;

    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        SetScrollPos32(nBar, GetScrollPos32(nBar, TRUE));
        m_TopLeftCell.row = -1;
        if (GetTopleftNonFixedCell() != idTopLeft) InvalidateRect(rect, TRUE);
        break;

    case SB_TOP: // SB_LEFT
        if (scrollPos > 0)
        {
            SetScrollPos32(nBar, 0);
            Invalidate();
        }
        break;

    case SB_BOTTOM: // SB_RIGHT
        if (scrollPos < nScrollMax)
        {
            SetScrollPos32(nBar, nScrollMax);
            Invalidate();
        }
        break;

    default: break;
    }
}

BOOL CGridCtrl::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (m_nWheelLines != WHEEL_PAGESCROLL)
    {
        const int nRowsScrolled = static_cast<int>(m_nWheelLines) * zDelta / 120;
        if (nRowsScrolled > 0)
            for (int i = 0; i < nRowsScrolled; i++) PostMessage(WM_VSCROLL, SB_LINEUP, 0);
        else
            for (int i = 0; i > nRowsScrolled; i--) PostMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    }
    else
    {
        const int nPagesScrolled = zDelta / 120;
        if (nPagesScrolled > 0)
            for (int i = 0; i < nPagesScrolled; i++) PostMessage(WM_VSCROLL, SB_PAGEUP, 0);
        else
            for (int i = 0; i > nPagesScrolled; i--) PostMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    }
    return CWnd::OnMouseWheel(nFlags, zDelta, pt);
}

UINT CGridCtrl::GetMouseScrollLines()
{
    UINT nScrollLines = 3;
    if (!::SystemParametersInfo(SPI_GETWHEELSCROLLLINES, 0, &nScrollLines, 0)) nScrollLines = 3;
    return nScrollLines;
}
