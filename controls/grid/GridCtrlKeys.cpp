// The grid and the keyboard: moving the focus cell with the arrow, Tab, page, Home and End
// keys (extending the selection with Shift), Tab appending a row, the edit shortcuts, and
// typing into a cell.
#include "controls/grid/GridCtrl.h"

#include <algorithm>

namespace {
bool IsKeyDown(int nVirtKey) { return ::GetKeyState(nVirtKey) < 0; }
} // namespace

UINT CGridCtrl::OnGetDlgCode()
{
    UINT nCode = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (m_bHandleTabKey && !IsKeyDown(VK_CONTROL)) nCode |= DLGC_WANTTAB;
    return nCode;
}

void CGridCtrl::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Keys come here, not to the title tip: any key hides it.
    HideTitleTip();
    if (!IsValid(m_FocusCell))
    {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }

    const bool bCtrl = IsKeyDown(VK_CONTROL);
    const bool bShift = IsKeyDown(VK_SHIFT);
    CCellID next = m_FocusCell;
    BOOL bChangeLine = FALSE; // Tab wrapped to another row
    BOOL bHorzScrolled = FALSE, bVertScrolled = FALSE;

    // The next shown row below (above, not above the first non-fixed row) the given one; -1
    // when there is none. Columns likewise.
    auto rowBelow = [this](int row) {
        for (int r = row + 1; r < m_nRows; r++)
            if (GetRowHeight(r) > 0) return r;
        return -1;
    };
    auto rowAbove = [this](int row) {
        for (int r = row - 1; r >= m_nFixedRows; r--)
            if (GetRowHeight(r) > 0) return r;
        return -1;
    };
    auto colRight = [this](int col) {
        for (int c = col + 1; c < m_nCols; c++)
            if (GetColumnWidth(c) > 0) return c;
        return -1;
    };
    auto colLeft = [this](int col) {
        for (int c = col - 1; c >= m_nFixedCols; c--)
            if (GetColumnWidth(c) > 0) return c;
        return -1;
    };

    if (bCtrl)
    {
        switch (nChar)
        {
        case 'A': OnEditSelectAll(); break;
        case 'X': OnEditCut(); break;
        case VK_INSERT:
        case 'C': OnEditCopy(); break;
        case 'V': OnEditPaste(); break;
        case VK_ADD:
            AutoSizeColumns(GVS_DEFAULT);
            Invalidate();
            break;
        default: break;
        }
    }

    if (bShift && nChar == VK_INSERT)
    {
        OnEditPaste();
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }

    switch (nChar)
    {
    case VK_DELETE: CutSelectedText(); return;

    case VK_DOWN:
        if (const int row = rowBelow(next.row); row >= 0) next.row = row;
        break;

    case VK_UP:
        if (const int row = rowAbove(next.row); row >= 0) next.row = row;
        break;

    case VK_RIGHT:
        if (const int col = colRight(next.col); col >= 0) next.col = col;
        break;

    case VK_TAB:
        if (!bShift)
        {
            if (m_bTabAddsRow && m_FocusCell.col == m_nCols - 1 && m_FocusCell.row == m_nRows - 1)
            {
                SetRowCount(m_nRows + 1);
                SendMessageToParent(m_FocusCell.row, m_nCols, static_cast<int>(GN_ROWADDED));
            }
            if (next.col == m_nCols - 1 && next.row < m_nRows - 1)
            {
                // Wrap to the first column of the next shown row.
                const int row = rowBelow(next.row);
                const int col = (GetColumnWidth(m_nFixedCols) > 0) ? m_nFixedCols : colRight(m_nFixedCols);
                if (row >= 0 && col >= 0)
                {
                    next.row = row;
                    next.col = col;
                    bChangeLine = TRUE;
                }
            }
            else if (const int col = colRight(next.col); col >= 0)
                next.col = col;
            break;
        }
        [[fallthrough]];
    case VK_LEFT:
        if (const int col = colLeft(next.col); col >= 0)
            next.col = col;
        else if (nChar == VK_TAB && next.row > m_nFixedRows)
        {
            // Shift+Tab wraps to the last shown column of the previous shown row.
            const int row = rowAbove(next.row);
            const int lastCol = (GetColumnWidth(m_nCols - 1) > 0) ? m_nCols - 1 : colLeft(m_nCols - 1);
            if (row >= 0 && lastCol >= 0)
            {
                next.row = row;
                next.col = lastCol;
                bChangeLine = TRUE;
            }
        }
        break;

    case VK_NEXT: {
        const CCellID idOldTopLeft = GetTopleftNonFixedCell(TRUE);
        SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
        bVertScrolled = TRUE;
        const int nIncrement = GetTopleftNonFixedCell(TRUE).row - idOldTopLeft.row;
        if (nIncrement)
            next.row = std::min(next.row + nIncrement, m_nRows - 1);
        else
            next.row = m_nRows - 1;
        break;
    }

    case VK_PRIOR: {
        const CCellID idOldTopLeft = GetTopleftNonFixedCell(TRUE);
        SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
        bVertScrolled = TRUE;
        const int nIncrement = GetTopleftNonFixedCell(TRUE).row - idOldTopLeft.row;
        if (nIncrement)
            next.row = std::max(next.row + nIncrement, m_nFixedRows);
        else
            next.row = m_nFixedRows;
        break;
    }

    case VK_HOME:
        if (bCtrl)
        {
            SendMessage(WM_VSCROLL, SB_TOP, 0);
            bVertScrolled = TRUE;
            next.row = m_nFixedRows;
        }
        SendMessage(WM_HSCROLL, SB_LEFT, 0);
        bHorzScrolled = TRUE;
        next.col = m_nFixedCols;
        while (next.col < m_nCols - 1 && GetColumnWidth(next.col) < 1) next.col++;
        while (next.row < m_nRows - 1 && GetRowHeight(next.row) < 1) next.row++;
        break;

    case VK_END:
        if (bCtrl)
        {
            SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
            bVertScrolled = TRUE;
            next.row = m_nRows - 1;
        }
        SendMessage(WM_HSCROLL, SB_RIGHT, 0);
        bHorzScrolled = TRUE;
        next.col = m_nCols - 1;
        while (next.col > m_nFixedCols + 1 && GetColumnWidth(next.col) < 1) next.col--;
        while (next.row > m_nFixedRows + 1 && GetRowHeight(next.row) < 1) next.row--;
        break;

    case VK_F2: OnEditCell(m_FocusCell.row, m_FocusCell.col, CPoint(-1, -1), VK_LBUTTON); return;

    default: CWnd::OnKeyDown(nChar, nRepCnt, nFlags); return;
    }

    if (next == m_FocusCell) return;

    // The new focus cell becomes the selection, or with Shift extends it from the anchor.
    if (m_MouseMode == MOUSE_NOTHING)
    {
        m_PrevSelectedCellMap.Clear();
        m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
        if (!bShift || nChar == VK_TAB) m_SelectionStartCell = next;
        SendMessageToParent(next.row, next.col, static_cast<int>(GVN_SELCHANGING));
        OnSelecting(next);
        SendMessageToParent(next.row, next.col, static_cast<int>(GVN_SELCHANGED));
        m_MouseMode = MOUSE_NOTHING;
    }

    SetFocusCell(next);

    if (!IsCellVisible(next))
    {
        switch (nChar)
        {
        case VK_TAB:
            if (!bShift)
            {
                if (bChangeLine)
                {
                    SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
                    bVertScrolled = TRUE;
                    SetScrollPos32(SB_HORZ, 0);
                }
                else
                {
                    SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
                    bHorzScrolled = TRUE;
                }
            }
            else if (bChangeLine)
            {
                SendMessage(WM_VSCROLL, SB_LINEUP, 0);
                bVertScrolled = TRUE;
                SetScrollPos32(SB_HORZ, m_nHScrollMax);
            }
            else
            {
                SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
                bHorzScrolled = TRUE;
            }
            break;
        case VK_RIGHT:
            SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
            bHorzScrolled = TRUE;
            break;
        case VK_LEFT:
            SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
            bHorzScrolled = TRUE;
            break;
        case VK_DOWN:
            SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
            bVertScrolled = TRUE;
            break;
        case VK_UP:
            SendMessage(WM_VSCROLL, SB_LINEUP, 0);
            bVertScrolled = TRUE;
            break;
        default: break;
        }
        EnsureVisible(next);
        Invalidate();
    }
    EnsureVisible(next);

    if (bHorzScrolled) SendMessage(WM_HSCROLL, SB_ENDSCROLL, 0);
    if (bVertScrolled) SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
}

void CGridCtrl::OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { CWnd::OnSysKeyDown(nChar, nRepCnt, nFlags); }

void CGridCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // A typed character starts an edit of the focus cell, unless a drag or resize is running.
    if (!IsKeyDown(VK_CONTROL) && m_MouseMode == MOUSE_NOTHING && nChar != VK_ESCAPE)
    {
        if (!m_bHandleTabKey || nChar != VK_TAB) OnEditCell(m_FocusCell.row, m_FocusCell.col, CPoint(-1, -1), nChar);
    }
    CWnd::OnChar(nChar, nRepCnt, nFlags);
}

LRESULT CGridCtrl::OnImeChar(WPARAM wCharCode, LPARAM)
{
    const UINT nChar = static_cast<UINT>(wCharCode);
    if (!IsKeyDown(VK_CONTROL) && m_MouseMode == MOUSE_NOTHING && nChar != VK_ESCAPE)
        OnEditCell(m_FocusCell.row, m_FocusCell.col, CPoint(-1, -1), nChar);
    return 0;
}
