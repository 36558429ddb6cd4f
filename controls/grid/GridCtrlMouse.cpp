// The grid and the mouse: the mouse-mode state machine, selection by click and drag with
// the auto-scroll timer, resizing rows and columns by dragging their borders, double and
// right clicks, and the cursor shapes.
#include "controls/grid/GridCtrl.h"

#include <algorithm>
#include <cstdlib>

namespace {
// Identifier of the auto-scroll timer of a mouse selection.
constexpr UINT_PTR kSelectionTimer = WM_LBUTTONDOWN;

void SetStandardCursor(LPCTSTR id) { ::SetCursor(::LoadCursor(nullptr, id)); }
} // namespace

BOOL CGridCtrl::IsPointInCellText(const CCellID& cell, CPoint point)
{
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    CRect rect;
    if (!pCell || !GetCellRect(cell.row, cell.col, rect)) return FALSE;
    if (!pCell->GetTextRect(rect)) return FALSE;
    return rect.PtInRect(point);
}

BOOL CGridCtrl::TrackResizeArea(CPoint point)
{
    if (m_bAllowColumnResize && MouseOverColumnResizeArea(point))
    {
        if (m_MouseMode != MOUSE_OVER_COL_DIVIDE)
        {
            SetStandardCursor(IDC_SIZEWE);
            m_MouseMode = MOUSE_OVER_COL_DIVIDE;
        }
        return TRUE;
    }
    if (m_bAllowRowResize && MouseOverRowResizeArea(point))
    {
        if (m_MouseMode != MOUSE_OVER_ROW_DIVIDE)
        {
            SetStandardCursor(IDC_SIZENS);
            m_MouseMode = MOUSE_OVER_ROW_DIVIDE;
        }
        return TRUE;
    }
    return FALSE;
}

void CGridCtrl::StartSelectionTimer()
{
    if (m_nTimerID) KillTimer(m_nTimerID);
    m_nTimerID = SetTimer(kSelectionTimer, static_cast<UINT>(m_nTimerInterval), nullptr);
}

// ---------------------------------------------------------------------------------------
// Resizing by dragging a border; columns (bHorz) and rows work alike.

void CGridCtrl::InvertResizeBand(BOOL bHorz, CPoint point)
{
    CRect rect;
    GetClientRect(rect);
    const CRect band =
        bHorz ? CRect(point.x, rect.top, point.x + 2, rect.bottom) : CRect(rect.left, point.y, rect.right, point.y + 2);
    CDC* pDC = GetDC();
    if (!pDC) return;
    pDC->InvertRect(band);
    ReleaseDC(pDC);
}

void CGridCtrl::BeginResize(BOOL bHorz, CPoint point)
{
    m_MouseMode = bHorz ? MOUSE_SIZING_COL : MOUSE_SIZING_ROW;

    // A lookup that fails ends the drag before it begins.
    auto abandon = [this]() {
        m_MouseMode = MOUSE_NOTHING;
        if (CWnd::GetCapture() == this) ::ReleaseCapture();
    };

    int& nLine = bHorz ? m_LeftClickDownCell.col : m_LeftClickDownCell.row;
    const int nCount = bHorz ? m_nCols : m_nRows;
    const int nPointPos = bHorz ? point.x : point.y;
    const BOOL bReopenHidden = bHorz ? m_bReopenHiddenColumns : m_bReopenHiddenRows;
    auto origin = [&](int nIndex, CPoint* p) {
        return bHorz ? GetCellOrigin(0, nIndex, p) : GetCellOrigin(nIndex, 0, p);
    };

    // A last line thinner than the capture range is taken by a press on the far edge.
    CRect visRect;
    GetVisibleNonFixedCellRange(visRect);
    const int nVisEdge = bHorz ? visRect.right : visRect.bottom;
    if (GetLineSize(bHorz, nCount - 1) < m_nResizeCaptureRange &&
        std::abs(nPointPos - nVisEdge) < m_nResizeCaptureRange)
        nLine = nCount - 1;

    CPoint start;
    if (!origin(nLine, &start))
    {
        abandon();
        return;
    }
    const int nStart = bHorz ? start.x : start.y;
    const BOOL bNearStart = (nPointPos - nStart) < m_nResizeCaptureRange;

    if (!bReopenHidden && (bNearStart || nLine != nCount - 1))
    {
        // Hidden lines are passed over: the border belongs to the nearest shown line.
        const int k = bNearStart ? 1 : 0;
        for (;;)
        {
            if (nLine - k < 0)
            {
                abandon();
                return;
            }
            if (GetLineSize(bHorz, nLine - k) >= 1) break;
            nLine--;
        }
    }

    InvertResizeBand(bHorz, point);

    // A press just past the border resizes the line before it.
    if (bNearStart && (nLine < nCount - 1 || GetLineSize(bHorz, nCount - 1) >= m_nResizeCaptureRange))
    {
        nLine--;
        if (!origin(nLine, &start))
        {
            InvertResizeBand(bHorz, point);
            abandon();
            return;
        }
    }
    // The toolkit cannot confine the pointer; the band may go anywhere, and the new size
    // is bounded when the button comes up.
}

void CGridCtrl::EndResize(BOOL bHorz, CPoint point)
{
    InvertResizeBand(bHorz, m_LastMousePoint);

    if (point == m_LeftClickDownPoint || point == CPoint(0, 0)) return;

    CPoint start;
    if (!GetCellOrigin(m_LeftClickDownCell, &start)) return;

    const int nMin = (bHorz ? m_bAllowColHide : m_bAllowRowHide) ? 0 : 1;
    const int nSize = std::max(nMin, bHorz ? point.x - start.x : point.y - start.y);
    if (bHorz)
        SetColumnWidth(m_LeftClickDownCell.col, nSize);
    else
        SetRowHeight(m_LeftClickDownCell.row, nSize);
    ResetScrollBars();
    Invalidate();
}

BOOL CGridCtrl::AutoSizeAtBorder(BOOL bHorz, CCellID cell, CPoint point)
{
    int nLine = bHorz ? cell.col : cell.row;
    CPoint start;
    if (!GetCellOrigin(cell, &start)) return FALSE;
    if ((bHorz ? point.x - start.x : point.y - start.y) < m_nResizeCaptureRange) nLine--;

    // From there leftwards (upwards) the first line that is shown.
    while (nLine >= 0 && GetLineSize(bHorz, nLine) <= 0) nLine--;
    if (nLine < 0) return FALSE;

    if (bHorz)
        AutoSizeColumn(nLine, m_nAutoSizeColumnStyle, TRUE);
    else
        AutoSizeRow(nLine, TRUE);
    Invalidate();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Left button

void CGridCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();

    m_LeftClickDownPoint = point;
    m_bLMouseButtonDown = TRUE;
    m_LeftClickDownCell = GetCellFromPt(point);
    if (!IsValid(m_LeftClickDownCell)) return;
    const CCellID cell = m_LeftClickDownCell;
    const BOOL bCtrl = (nFlags & MK_CONTROL) != 0;

    // Without Shift the click anchors a new selection; with Shift it extends the old one.
    if (!(nFlags & MK_SHIFT))
        m_SelectionStartCell = cell;
    else if (!IsValid(m_SelectionStartCell))
        m_SelectionStartCell = m_FocusCell;

    EndEditing();
    if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
        pCell->OnClickDown(GetPointClicked(cell.row, cell.col, point));
    const BOOL bInText = IsPointInCellText(cell, point);

    // A click in the text of the focus cell edits it when the button comes up.
    if (cell == m_FocusCell && !bCtrl && bInText && IsCellEditable(cell))
    {
        m_MouseMode = MOUSE_PREPARE_EDIT;
        return;
    }

    const BOOL bFixed = cell.row < m_nFixedRows || cell.col < m_nFixedCols;
    if (!IsCellSelected(cell))
    {
        if (m_MouseMode != MOUSE_OVER_ROW_DIVIDE && m_MouseMode != MOUSE_OVER_COL_DIVIDE)
        {
            if (bFixed)
                SetFocusCell(-1, -1);
            else
                SetFocusCell(cell);
            if (m_nRows > m_nFixedRows && m_nCols > m_nFixedCols)
                SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
        }
    }
    else
    {
        SetFocusCell(cell);
        if (bCtrl)
        {
            // Ctrl+click takes a selected cell (its row in list mode) out of the selection.
            if (m_bListMode)
                SelectRows(cell, TRUE, FALSE);
            else
                SelectCells(cell, TRUE, FALSE);
            return;
        }
        if (m_bAllowDragAndDrop) m_MouseMode = MOUSE_PREPARE_DRAG;
    }

    SetCapture();

    if (m_MouseMode == MOUSE_NOTHING) TrackResizeArea(point);

    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE)
        BeginResize(TRUE, point);
    else if (m_MouseMode == MOUSE_OVER_ROW_DIVIDE)
        BeginResize(FALSE, point);
    else if (m_MouseMode != MOUSE_PREPARE_DRAG)
    {
        SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_SELCHANGING));

        // With Ctrl the selection made so far stays while the new one is dragged out.
        m_PrevSelectedCellMap.Clear();
        if (bCtrl) m_PrevSelectedCellMap = m_SelectedCellMap;

        CCellID clicked = cell;
        if (cell.row < m_nFixedRows)
            OnFixedRowClick(clicked);
        else if (cell.col < m_nFixedCols)
            OnFixedColumnClick(clicked);
        else
        {
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            OnSelecting(cell);
            StartSelectionTimer();
        }
    }

    m_LastMousePoint = point;
}

void CGridCtrl::ShowTitleTipFor(const CCellID& cell)
{
    CGridCellBase* pCell = GetCell(cell.row, cell.col);
    if (!pCell || pCell->IsEditing()) return;
    const LPCTSTR szTipText = pCell->GetTipText();
    if (!szTipText || !*szTipText) return;
    CRect rectCell, rectText;
    if (!GetCellRect(cell.row, cell.col, rectCell)) return;
    rectText = rectCell;
    if (!pCell->GetTipTextRect(rectText)) return;
    m_TitleTip.SetParentWnd(this);
    m_TitleTip.Show(rectText, szTipText, rectCell, pCell->GetFont(), m_crTipTextClr, m_crTipBackClr);
}

void CGridCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    CRect rect;
    GetClientRect(rect);
    if (!rect.PtInRect(point) && m_MouseMode != MOUSE_DRAGGING) return;

    const BOOL bButtonDown = (nFlags & MK_LBUTTON) != 0;
    if (!bButtonDown || m_MouseMode == MOUSE_NOTHING)
    {
        if (!TrackResizeArea(point) && m_MouseMode != MOUSE_NOTHING)
        {
            SetStandardCursor(IDC_ARROW);
            m_MouseMode = MOUSE_NOTHING;
        }
        if (m_MouseMode == MOUSE_NOTHING)
        {
            const CCellID cell = GetCellFromPt(point);
            if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) pCell->OnMouseOver();
            // A cell whose text does not fit shows it whole in the title tip.
            if (m_bTitleTips && !m_bRMouseButtonDown) ShowTitleTipFor(cell);
        }
        m_LastMousePoint = point;
        return;
    }

    if (!IsValid(m_LeftClickDownCell))
    {
        m_LastMousePoint = point;
        return;
    }

    switch (m_MouseMode)
    {
    case MOUSE_SELECT_ALL:
    case MOUSE_SELECT_COL:
    case MOUSE_SELECT_ROW:
    case MOUSE_SELECT_CELLS: {
        const CCellID cell = GetCellFromPt(point);
        if (!IsValid(cell)) break;
        if (cell != m_FocusCell)
        {
            OnSelecting(cell);
            if ((cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) || m_MouseMode == MOUSE_SELECT_COL ||
                m_MouseMode == MOUSE_SELECT_ROW)
                SetFocusCell(cell);
        }
        break;
    }

    case MOUSE_SIZING_ROW:
    case MOUSE_SIZING_COL: {
        const BOOL bHorz = (m_MouseMode == MOUSE_SIZING_COL);
        InvertResizeBand(bHorz, m_LastMousePoint);
        InvertResizeBand(bHorz, point);
        break;
    }

    case MOUSE_PREPARE_EDIT:
    case MOUSE_PREPARE_DRAG:
        if (m_bAllowDragAndDrop)
        {
            m_MouseMode = MOUSE_PREPARE_DRAG;
            OnBeginDrag();
        }
        else
        {
            // Without drag and drop, a press in the focus cell's text that moves off the
            // cell drags out a selection instead (within the cell the edit still starts).
            const CCellID cell = GetCellFromPt(point);
            if (!IsValid(cell) || cell == m_LeftClickDownCell) break;
            SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_SELCHANGING));
            m_PrevSelectedCellMap.Clear();
            m_MouseMode = m_bListMode ? MOUSE_SELECT_ROW : MOUSE_SELECT_CELLS;
            SetCapture();
            OnSelecting(cell);
            if (cell.row >= m_nFixedRows && cell.col >= m_nFixedCols) SetFocusCell(cell);
            StartSelectionTimer();
        }
        break;

    default: break;
    }

    m_LastMousePoint = point;
}

void CGridCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnLButtonUp(nFlags, point);

    m_bLMouseButtonDown = FALSE;
    if (CWnd::GetCapture() == this)
    {
        ::ReleaseCapture();
        if (m_nTimerID) KillTimer(m_nTimerID);
        m_nTimerID = 0;
    }

    const CPoint pointClickedRel = GetPointClicked(m_FocusCell.row, m_FocusCell.col, point);
    CGridCellBase* pFocus = GetCell(m_FocusCell.row, m_FocusCell.col);

    switch (m_MouseMode)
    {
    case MOUSE_PREPARE_EDIT: OnEditCell(m_FocusCell.row, m_FocusCell.col, pointClickedRel, VK_LBUTTON); break;

    case MOUSE_PREPARE_DRAG:
        // A click on a selected cell that never became a drag clears the selection.
        if (pFocus) pFocus->OnClick(pointClickedRel);
        SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_CLICK));
        SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_SELCHANGING));
        m_PrevSelectedCellMap.Clear();
        SetSelectedRange(-1, -1, -1, -1, FALSE, TRUE);
        SetFocusCell(-1, -1);
        SendMessageToParent(m_FocusCell.row, m_FocusCell.col, static_cast<int>(GVN_SELCHANGED));
        break;

    case MOUSE_SIZING_COL: EndResize(TRUE, point); break;

    case MOUSE_SIZING_ROW: EndResize(FALSE, point); break;

    default:
        SendMessageToParent(m_FocusCell.row, m_FocusCell.col, static_cast<int>(GVN_SELCHANGED));
        if (pFocus) pFocus->OnClick(pointClickedRel);
        SendMessageToParent(m_LeftClickDownCell.row, m_LeftClickDownCell.col, static_cast<int>(GVN_CLICK));
        break;
    }

    m_MouseMode = MOUSE_NOTHING;
    SetStandardCursor(IDC_ARROW);

    if (IsValid(m_LeftClickDownCell)) PostCommandToParent();
}

void CGridCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    const CCellID cell = GetCellFromPt(point);
    if (!IsValid(cell)) return;

    // No move may have come between the click and the double click: look at the border
    // under the pointer again.
    if (m_MouseMode == MOUSE_NOTHING) TrackResizeArea(point);

    if (m_MouseMode == MOUSE_OVER_COL_DIVIDE || m_MouseMode == MOUSE_OVER_ROW_DIVIDE)
    {
        if (!AutoSizeAtBorder(m_MouseMode == MOUSE_OVER_COL_DIVIDE, cell, point)) return;
    }
    else if (m_MouseMode == MOUSE_NOTHING)
    {
        const CPoint pointClickedRel = GetPointClicked(cell.row, cell.col, point);
        const BOOL bFixed = cell.row < m_nFixedRows || cell.col < m_nFixedCols;
        const BOOL bInText = IsPointInCellText(cell, point);
        if (!bFixed && bInText && (IsValid(m_LeftClickDownCell) || m_bListMode))
            OnEditCell(cell.row, cell.col, pointClickedRel, VK_LBUTTON);

        if (CGridCellBase* pCell = GetCell(cell.row, cell.col)) pCell->OnDblClick(pointClickedRel);
        SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_DBLCLK));
    }

    CWnd::OnLButtonDblClk(nFlags, point);
}

// ---------------------------------------------------------------------------------------
// Right button

void CGridCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    CWnd::OnRButtonDown(nFlags, point);
    m_bRMouseButtonDown = TRUE;
}

void CGridCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    CWnd::OnRButtonUp(nFlags, point);
    m_bRMouseButtonDown = FALSE;

    const CCellID cell = GetCellFromPt(point);
    EndEditing();
    if (IsValid(cell))
    {
        SetFocusCell(-1, -1);
        SetFocusCell(std::max(cell.row, m_nFixedRows), std::max(cell.col, m_nFixedCols));
        if (CGridCellBase* pCell = GetCell(cell.row, cell.col))
            pCell->OnRClick(GetPointClicked(cell.row, cell.col, point));
        SendMessageToParent(cell.row, cell.col, static_cast<int>(GVN_RCLICK));
    }
    else
        SendMessageToParent(-1, -1, static_cast<int>(GVN_RCLICK));
}

// ---------------------------------------------------------------------------------------
// Auto-scroll, capture and cursor

void CGridCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kSelectionTimer) return;

    CPoint origPt;
    if (!::GetCursorPos(&origPt)) return;
    ScreenToClient(&origPt);

    CRect rect;
    GetClientRect(rect);
    const int nFixedRowHeight = GetFixedRowHeight();
    const int nFixedColWidth = GetFixedColumnWidth();

    CPoint pt = origPt;
    if (pt.y > rect.bottom)
    {
        SendMessage(WM_KEYDOWN, VK_DOWN, 0);
        pt.x = std::clamp(pt.x, rect.left, std::max(rect.left, rect.right));
        pt.y = rect.bottom;
        OnSelecting(GetCellFromPt(pt));
    }
    else if (pt.y < nFixedRowHeight)
    {
        SendMessage(WM_KEYDOWN, VK_UP, 0);
        pt.x = std::clamp(pt.x, rect.left, std::max(rect.left, rect.right));
        pt.y = nFixedRowHeight + 1;
        OnSelecting(GetCellFromPt(pt));
    }

    pt = origPt;
    if (pt.x > rect.right)
    {
        SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
        pt.y = std::clamp(pt.y, rect.top, std::max(rect.top, rect.bottom));
        pt.x = rect.right;
        OnSelecting(GetCellFromPt(pt));
    }
    else if (pt.x < nFixedColWidth)
    {
        SendMessage(WM_KEYDOWN, VK_LEFT, 0);
        pt.y = std::clamp(pt.y, rect.top, std::max(rect.top, rect.bottom));
        pt.x = nFixedColWidth + 1;
        OnSelecting(GetCellFromPt(pt));
    }
}

void CGridCtrl::OnCaptureChanged(CWnd* pWnd)
{
    if (pWnd == this) return;
    if (m_nTimerID) KillTimer(m_nTimerID);
    m_nTimerID = 0;
    if (m_MouseMode == MOUSE_DRAGGING) m_MouseMode = MOUSE_NOTHING;
}

BOOL CGridCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest != HTCLIENT) return CWnd::OnSetCursor(pWnd, nHitTest, message);

    switch (m_MouseMode)
    {
    // The toolkit asks for the cursor during a captured drag too: a border drag keeps the
    // sizing cursor.
    case MOUSE_OVER_COL_DIVIDE:
    case MOUSE_SIZING_COL: SetStandardCursor(IDC_SIZEWE); break;
    case MOUSE_OVER_ROW_DIVIDE:
    case MOUSE_SIZING_ROW: SetStandardCursor(IDC_SIZENS); break;
    case MOUSE_DRAGGING: break;
    default: {
        const DWORD pos = ::GetMessagePos();
        CPoint pt(GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos)));
        ScreenToClient(&pt);
        const CCellID cell = GetCellFromPt(pt);
        CGridCellBase* pCell = IsValid(cell) ? GetCell(cell.row, cell.col) : nullptr;
        if (pCell)
            pCell->OnSetCursor();
        else
            SetStandardCursor(IDC_ARROW);
        break;
    }
    }
    return TRUE;
}
