// The grid and the mouse, through real input events: clicks select and move the focus,
// Shift and Ctrl clicks, drags with the auto-scroll timer, border drags and double clicks
// that size columns and rows, header clicks, right and double clicks, cursor shapes.
#include "grid_input_util.h"

using namespace gridinput;
using namespace qor::test;

namespace {

const int kSelChanging = -100, kSelChanged = -101, kClick = -2, kDblClk = -3, kRClick = -5, kBeginEdit = -175;

class GridMouse : public GridInput
{};

HCURSOR Std(LPCTSTR id) { return ::LoadCursor(nullptr, id); }

} // namespace

TEST_F(GridMouse, ClickSelectsTheCellMovesTheFocusAndTellsTheOwner)
{
    MakeGrid();
    Click(&grid, Center(2, 3));

    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 1);
    EXPECT_TRUE(grid.IsCellSelected(2, 3));
    EXPECT_TRUE(grid.GetItemState(2, 3) & GVIS_FOCUSED);
    EXPECT_EQ(Codes(), (std::vector<int>{kSelChanging, kSelChanged, kClick}));
    for (const auto& n : host.notices)
    {
        EXPECT_EQ(n.row, 2);
        EXPECT_EQ(n.col, 3);
    }
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_NOTHING);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    EXPECT_EQ(grid.TimerId(), 0u);

    // The release posts WM_COMMAND with the control id to the parent.
    ASSERT_TRUE(PumpUntil([&] { return !host.commands.empty(); }));
    EXPECT_EQ(host.commands[0].first, MAKEWPARAM(77, 0));
    EXPECT_EQ(host.commands[0].second, reinterpret_cast<LPARAM>(grid.GetSafeHwnd()));

    // A second click elsewhere moves both.
    Click(&grid, Center(4, 1));
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 1));
    EXPECT_FALSE(grid.IsCellSelected(2, 3));
    EXPECT_FALSE(grid.GetItemState(2, 3) & GVIS_FOCUSED);
    EXPECT_EQ(grid.GetSelectedCount(), 1);
}

TEST_F(GridMouse, ShiftClickExtendsFromTheAnchorAndCtrlClickToggles)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    Click(&grid, Center(4, 3), VK_LBUTTON, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 6);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));

    // Shift again from the same anchor shrinks the rectangle.
    Click(&grid, Center(3, 2), VK_LBUTTON, MK_SHIFT);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 3, 2));
    EXPECT_EQ(grid.GetSelectedCount(), 2);

    // Ctrl adds a cell and keeps the rest; Ctrl on a selected cell takes it out.
    Click(&grid, Center(5, 5), VK_LBUTTON, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    EXPECT_TRUE(grid.IsCellSelected(2, 2));
    EXPECT_TRUE(grid.IsCellSelected(5, 5));
    Click(&grid, Center(2, 2), VK_LBUTTON, MK_CONTROL);
    EXPECT_FALSE(grid.IsCellSelected(2, 2));
    EXPECT_TRUE(grid.IsCellSelected(3, 2));
    EXPECT_TRUE(grid.IsCellSelected(5, 5));
    EXPECT_EQ(grid.GetSelectedCount(), 2);
}

TEST_F(GridMouse, CtrlClickInListModeTakesOutTheRow)
{
    MakeGrid();
    grid.SetListMode(TRUE);
    Click(&grid, Center(2, 2));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 1, 2, 5));
    Click(&grid, Center(4, 3), VK_LBUTTON, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 10);
    Click(&grid, Center(2, 4), VK_LBUTTON, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(4, 1, 4, 5));
}

TEST_F(GridMouse, DragSelectsARectangleAndCtrlDragKeepsTheEarlierSelection)
{
    MakeGrid();
    MouseDown(&grid, Center(2, 2));
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_SELECT_CELLS);
    EXPECT_NE(grid.TimerId(), 0u); // the auto-scroll timer runs while the button is down
    MouseMove(&grid, Center(3, 3), MK_LBUTTON);
    MouseMove(&grid, Center(4, 4), MK_LBUTTON);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 4));
    MouseUp(&grid, Center(4, 4));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 4));
    EXPECT_EQ(grid.GetSelectedCount(), 9);
    EXPECT_EQ(grid.TimerId(), 0u);

    MouseDown(&grid, Center(7, 1), VK_LBUTTON, MK_CONTROL);
    MouseMove(&grid, Center(8, 1), MK_LBUTTON | MK_CONTROL);
    MouseUp(&grid, Center(8, 1), VK_LBUTTON, MK_CONTROL);
    EXPECT_EQ(grid.GetSelectedCount(), 11);
    EXPECT_TRUE(grid.IsCellSelected(3, 3));
    EXPECT_TRUE(grid.IsCellSelected(8, 1));
}

TEST_F(GridMouse, DragBelowTheWindowScrollsByTimerUntilTheButtonComesUp)
{
    MakeGrid(40, 6);
    const CRect rc = Client();
    MouseDown(&grid, Center(2, 2));
    CPoint below(Center(2, 2).x, rc.bottom + 30);
    MouseMove(&grid, below, MK_LBUTTON);
    CPoint screen = below;
    grid.ClientToScreen(&screen);
    qor::gui::SetLastMousePos(screen);

    ASSERT_TRUE(PumpUntil([&] { return grid.ScrollPos(SB_VERT) >= 3 * kHeight; }, 3000));
    EXPECT_GT(grid.GetFocusCell().row, 5);
    EXPECT_EQ(grid.GetFocusCell().col, 2);
    // The selection follows down from the anchor.
    const CCellRange sel = grid.GetSelectedCellRange();
    EXPECT_EQ(sel.GetMinRow(), 2);
    EXPECT_EQ(sel.GetMinCol(), 2);
    EXPECT_GT(sel.GetMaxRow(), 5);

    MouseUp(&grid, below);
    const int pos = grid.ScrollPos(SB_VERT);
    EXPECT_EQ(grid.TimerId(), 0u);
    Pump(150);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), pos); // the timer is gone
}

TEST_F(GridMouse, DragLeftOfTheDataScrollsBackLeft)
{
    MakeGrid(10, 30);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    ASSERT_EQ(grid.ScrollPos(SB_HORZ), 2 * kWidth);
    const CCellID first = grid.GetCellFromPt(Center(3, 2));
    MouseDown(&grid, Center(3, 2));
    CPoint left(10, Center(3, 2).y); // over the fixed column
    MouseMove(&grid, left, MK_LBUTTON);
    CPoint screen = left;
    grid.ClientToScreen(&screen);
    qor::gui::SetLastMousePos(screen);
    ASSERT_TRUE(PumpUntil([&] { return grid.ScrollPos(SB_HORZ) == 0; }, 3000));
    MouseUp(&grid, left);
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(3, 1, 3, first.col));
}

TEST_F(GridMouse, DraggingAColumnBorderResizesWithAnInvertedBand)
{
    MakeGrid();
    // The border between columns 2 and 3 is at x = 150.
    const CPoint onBorder(149, 10);
    MouseMove(&grid, onBorder);
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_OVER_COL_DIVIDE);
    EXPECT_EQ(::GetCursor(), Std(IDC_SIZEWE));

    PaintNow(&grid);
    const COLORREF before149 = SurfacePixel(&grid, 149, 100);
    const COLORREF before190 = SurfacePixel(&grid, 190, 100);
    MouseDown(&grid, onBorder);
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_SIZING_COL);
    EXPECT_NE(SurfacePixel(&grid, 149, 100), before149); // the band is drawn at once
    EXPECT_EQ(SurfacePixel(&grid, 149, 100), before149 ^ 0x00FFFFFF);

    MouseMove(&grid, CPoint(190, 10), MK_LBUTTON);
    EXPECT_EQ(SurfacePixel(&grid, 149, 100), before149); // old band erased
    EXPECT_EQ(SurfacePixel(&grid, 190, 100), before190 ^ 0x00FFFFFF);
    EXPECT_EQ(::GetCursor(), Std(IDC_SIZEWE)); // the sizing cursor stays during the drag

    MouseUp(&grid, CPoint(190, 10));
    EXPECT_EQ(grid.GetColumnWidth(2), 90); // 190 - left edge 100
    EXPECT_EQ(grid.GetColumnWidth(3), kWidth);
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_NOTHING);
    EXPECT_EQ(grid.GetSelectedCount(), 0); // a border drag selects nothing
}

TEST_F(GridMouse, APressJustRightOfABorderSizesTheColumnBeforeIt)
{
    MakeGrid();
    MouseMove(&grid, CPoint(151, 10));
    MouseDown(&grid, CPoint(151, 10));
    MouseMove(&grid, CPoint(130, 10), MK_LBUTTON);
    MouseUp(&grid, CPoint(130, 10));
    EXPECT_EQ(grid.GetColumnWidth(2), 30);
    EXPECT_EQ(grid.GetColumnWidth(3), kWidth);
}

TEST_F(GridMouse, DraggingABorderLeftOfTheColumnGivesItsSmallestWidth)
{
    MakeGrid();
    MouseMove(&grid, CPoint(149, 10));
    MouseDown(&grid, CPoint(149, 10));
    MouseMove(&grid, CPoint(60, 10), MK_LBUTTON);
    MouseUp(&grid, CPoint(60, 10));
    EXPECT_EQ(grid.GetColumnWidth(2), 0); // columns may be hidden this way

    grid.AllowColHide(FALSE);
    MouseMove(&grid, CPoint(149, 10));
    MouseDown(&grid, CPoint(149, 10));
    MouseMove(&grid, CPoint(60, 10), MK_LBUTTON);
    MouseUp(&grid, CPoint(60, 10));
    // Column 3 now starts at 100 (column 2 is hidden).
    EXPECT_EQ(grid.GetColumnWidth(3), 1);
}

TEST_F(GridMouse, DraggingARowBorderInTheFixedColumnResizesTheRow)
{
    MakeGrid();
    // The border between rows 3 and 4 is at y = 80.
    MouseMove(&grid, CPoint(25, 79));
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_OVER_ROW_DIVIDE);
    EXPECT_EQ(::GetCursor(), Std(IDC_SIZENS));
    MouseDown(&grid, CPoint(25, 79));
    MouseMove(&grid, CPoint(25, 95), MK_LBUTTON);
    MouseUp(&grid, CPoint(25, 95));
    EXPECT_EQ(grid.GetRowHeight(3), 35);

    // Without row resizing the border is an ordinary header cell.
    grid.SetRowResize(FALSE);
    MouseMove(&grid, CPoint(25, 94));
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_NOTHING);
}

TEST_F(GridMouse, DoubleClickOnAColumnBorderAutosizesTheColumn)
{
    MakeGrid();
    grid.SetColumnWidth(2, 140);
    grid.SetItemText(3, 2, _T("a rather long text in the column"));
    // Column 2 spans 100..239; its right border is at 240.
    Click(&grid, CPoint(239, 10));
    MouseDoubleClick(&grid, CPoint(239, 10));
    MouseUp(&grid, CPoint(239, 10));
    const int autosized = grid.GetColumnWidth(2);
    EXPECT_NE(autosized, 140);
    EXPECT_GT(autosized, kWidth);
    grid.AutoSizeColumn(2, grid.GetAutoSizeStyle(), TRUE);
    EXPECT_EQ(grid.GetColumnWidth(2), autosized); // what autosizing gives
    EXPECT_EQ(grid.GetColumnWidth(3), kWidth);
}

TEST_F(GridMouse, HeaderClicksSelectAColumnARowOrEverything)
{
    MakeGrid();
    Click(&grid, Center(0, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 3, 9, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 9);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(1, 3));

    // A drag along the header selects the columns passed.
    MouseDown(&grid, Center(0, 2));
    MouseMove(&grid, Center(0, 4), MK_LBUTTON);
    MouseUp(&grid, Center(0, 4));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(1, 2, 9, 4));

    Click(&grid, Center(5, 0));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(5, 1, 5, 5));

    Click(&grid, Center(0, 0));
    EXPECT_EQ(grid.GetSelectedCount(), 9 * 5);

    // With header selection off a header click selects nothing.
    grid.SetFixedRowSelection(FALSE);
    grid.ResetSelectedRange();
    Click(&grid, Center(0, 3));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST_F(GridMouse, RightClickMovesTheFocusAndSendsItsNotification)
{
    MakeGrid(4, 3); // cells end at x = 150, y = 80
    Click(&grid, Center(2, 2), VK_RBUTTON);
    ASSERT_EQ(NoticesOf(static_cast<UINT>(kRClick)).size(), 1u);
    EXPECT_EQ(NoticesOf(static_cast<UINT>(kRClick))[0].row, 2);
    EXPECT_EQ(NoticesOf(static_cast<UINT>(kRClick))[0].col, 2);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    // Off the cells it reports (-1, -1).
    host.notices.clear();
    Click(&grid, CPoint(250, 150), VK_RBUTTON);
    ASSERT_EQ(NoticesOf(static_cast<UINT>(kRClick)).size(), 1u);
    EXPECT_EQ(NoticesOf(static_cast<UINT>(kRClick))[0].row, -1);
    EXPECT_EQ(NoticesOf(static_cast<UINT>(kRClick))[0].col, -1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));
}

TEST_F(GridMouse, DoubleClickInACellStartsAnEditAndNotifies)
{
    MakeGrid();
    Click(&grid, Center(3, 2));
    host.notices.clear();
    MouseDoubleClick(&grid, Center(3, 2));
    MouseUp(&grid, Center(3, 2));
    auto begin = NoticesOf(static_cast<UINT>(kBeginEdit));
    ASSERT_GE(begin.size(), 1u);
    EXPECT_EQ(begin[0].row, 3);
    EXPECT_EQ(begin[0].col, 2);
    EXPECT_GE(CRecordingCell::s_nEdits, 1);
    EXPECT_EQ(CRecordingCell::s_nLastChar, static_cast<UINT>(VK_LBUTTON));
    EXPECT_EQ(CRecordingCell::s_nLastId, static_cast<UINT>(IDC_INPLACE_CONTROL));
    ASSERT_EQ(NoticesOf(static_cast<UINT>(kDblClk)).size(), 1u);
    EXPECT_EQ(NoticesOf(static_cast<UINT>(kDblClk))[0].row, 3);

    // A read-only cell is not edited, but the double click is still reported.
    CRecordingCell::ResetCounts();
    host.notices.clear();
    grid.SetItemState(5, 2, grid.GetItemState(5, 2) | GVIS_READONLY);
    Click(&grid, Center(5, 2));
    MouseDoubleClick(&grid, Center(5, 2));
    MouseUp(&grid, Center(5, 2));
    EXPECT_EQ(CRecordingCell::s_nEdits, 0);
    EXPECT_TRUE(NoticesOf(static_cast<UINT>(kBeginEdit)).empty());
    EXPECT_EQ(NoticesOf(static_cast<UINT>(kDblClk)).size(), 1u);
}

TEST_F(GridMouse, AClickInTheFocusCellsTextEditsItOnRelease)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    EXPECT_EQ(CRecordingCell::s_nEdits, 0);
    MouseDown(&grid, Center(2, 2));
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_PREPARE_EDIT);
    EXPECT_EQ(CRecordingCell::s_nEdits, 0);
    MouseUp(&grid, Center(2, 2));
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(2, 2));

    // The owner may veto it.
    host.notifyResult = -1;
    Click(&grid, Center(2, 2));
    EXPECT_EQ(CRecordingCell::s_nEdits, 1);
}

TEST_F(GridMouse, APressInTheFocusCellThatMovesOffDragsOutASelection)
{
    MakeGrid();
    Click(&grid, Center(2, 2));
    MouseDown(&grid, Center(2, 2));
    MouseMove(&grid, Center(2, 2) + CPoint(3, 2), MK_LBUTTON); // within the cell: still an edit
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_PREPARE_EDIT);
    MouseMove(&grid, Center(4, 3), MK_LBUTTON);
    MouseUp(&grid, Center(4, 3));
    EXPECT_EQ(CRecordingCell::s_nEdits, 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(4, 3));
    EXPECT_EQ(grid.GetSelectedCellRange(), CCellRange(2, 2, 4, 3));
}

TEST_F(GridMouse, WithDragAndDropAClickOnASelectedCellClearsTheSelectionAndFocus)
{
    MakeGrid();
    grid.AllowDragAndDrop(TRUE);
    Click(&grid, Center(2, 2));
    Click(&grid, Center(3, 3), VK_LBUTTON, MK_SHIFT);
    ASSERT_EQ(grid.GetSelectedCount(), 4);
    host.notices.clear();
    Click(&grid, Center(2, 3)); // selected, not the focus cell
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetFocusCell(), CCellID(-1, -1));
    EXPECT_EQ(Codes(), (std::vector<int>{kClick, kSelChanging, kSelChanged}));
}

TEST_F(GridMouse, CursorFollowsWhatIsUnderThePointer)
{
    MakeGrid();
    MouseMove(&grid, CPoint(149, 10));
    EXPECT_EQ(::GetCursor(), Std(IDC_SIZEWE));
    MouseMove(&grid, Center(3, 3));
    EXPECT_EQ(grid.GetMouseMode(), CGridCtrl::MOUSE_NOTHING);
    EXPECT_EQ(::GetCursor(), Std(IDC_ARROW));
    MouseMove(&grid, CPoint(25, 39));
    EXPECT_EQ(::GetCursor(), Std(IDC_SIZENS));
    EXPECT_EQ(grid.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(grid.GetSafeHwnd()),
                               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)),
              TRUE);
}

TEST_F(GridMouse, LosingTheCaptureStopsTheAutoScrollTimer)
{
    MakeGrid();
    MouseDown(&grid, Center(2, 2));
    ASSERT_NE(grid.TimerId(), 0u);
    host.SetCapture();
    EXPECT_EQ(grid.TimerId(), 0u);
    ::ReleaseCapture();
    MouseUp(&grid, Center(2, 2));
}
