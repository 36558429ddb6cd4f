// The grid as a window: creation, notifications to the owner or parent, geometry with
// hidden rows and columns, scrolling by line, page and thumb, the wheel, EnsureVisible,
// autosizing and spreading columns over the client.
#include "grid_test_util.h"

using namespace gridtest;

namespace {

class GridWindow : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }

    void SetUp() override { ASSERT_TRUE(host.CreateHost(600, 400)); }

    // A grid of rows x cols (1 fixed row and column), every column `width` and every row
    // `height` pixels, in a window of the given size.
    void MakeGrid(int rows, int cols, int width, int height, CRect rect)
    {
        grid.SetRowCount(rows);
        grid.SetColumnCount(cols);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        ASSERT_TRUE(grid.Create(rect, &host, 321, WS_CHILD | WS_VISIBLE));
        SetSizes(grid, width, height);
        Pump();
    }

    CRect Client()
    {
        CRect rc;
        grid.GetClientRect(rc);
        return rc;
    }

    CHostWnd host;
    CTestGrid grid;
};

} // namespace

TEST_F(GridWindow, CreatesTheGridWindowClass)
{
    MakeGrid(3, 3, 40, 20, CRect(0, 0, 200, 100));
    EXPECT_TRUE(::IsWindow(grid.GetSafeHwnd()));
    EXPECT_EQ(grid.GetClassName(), CString(GRIDCTRL_CLASSNAME));
    EXPECT_EQ(grid.GetDlgCtrlID(), 321);
    EXPECT_TRUE(grid.GetExStyle() & WS_EX_CLIENTEDGE);

    WNDCLASS wc{};
    ASSERT_TRUE(::GetClassInfo(AfxGetInstanceHandle(), GRIDCTRL_CLASSNAME, &wc));
    EXPECT_EQ(wc.style, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

TEST_F(GridWindow, NotificationsReachTheParentWithTheirRecord)
{
    MakeGrid(4, 4, 40, 20, CRect(0, 0, 200, 100));
    host.notifyResult = -1;
    const LRESULT result = grid.SendMessageToParent(2, 3, static_cast<int>(GVN_ENDLABELEDIT));
    EXPECT_EQ(result, -1); // the receiver's answer comes back
    ASSERT_EQ(host.notices.size(), 1u);
    const auto& n = host.notices[0];
    EXPECT_EQ(n.hdr.hwndFrom, grid.GetSafeHwnd());
    EXPECT_EQ(n.hdr.idFrom, 321u);
    EXPECT_EQ(n.hdr.code, static_cast<UINT>(-176));
    EXPECT_EQ(n.wParam, 321u);
    EXPECT_EQ(n.row, 2);
    EXPECT_EQ(n.col, 3);

    // Each code keeps its value.
    for (UINT code :
         {GVN_SELCHANGING, GVN_SELCHANGED, GVN_BEGINLABELEDIT, GVN_CLICK, GVN_DBLCLK, GVN_RCLICK, GN_ROWADDED})
        grid.SendMessageToParent(-1, -1, static_cast<int>(code));
    ASSERT_EQ(host.notices.size(), 8u);
    const UINT expected[] = {static_cast<UINT>(-100),
                             static_cast<UINT>(-101),
                             static_cast<UINT>(-175),
                             static_cast<UINT>(-2),
                             static_cast<UINT>(-3),
                             static_cast<UINT>(-5),
                             288u};
    for (size_t i = 0; i < 7; i++) EXPECT_EQ(host.notices[i + 1].hdr.code, expected[i]);
}

TEST_F(GridWindow, NotificationsPreferTheOwner)
{
    MakeGrid(4, 4, 40, 20, CRect(0, 0, 200, 100));
    CHostWnd owner;
    ASSERT_TRUE(owner.CreateHost(100, 100));
    owner.notifyResult = 5;
    grid.SetOwner(&owner);
    EXPECT_EQ(grid.SendMessageToParent(1, 1, static_cast<int>(GVN_RCLICK)), 5);
    EXPECT_EQ(owner.notices.size(), 1u);
    EXPECT_TRUE(host.notices.empty());
    grid.SetOwner(nullptr);
}

TEST_F(GridWindow, WithoutAWindowNothingIsSent)
{
    CGridCtrl lone(3, 3);
    EXPECT_EQ(lone.SendMessageToParent(1, 1, static_cast<int>(GVN_CLICK)), 0);
}

TEST_F(GridWindow, CommandIsPostedNotSent)
{
    MakeGrid(3, 3, 40, 20, CRect(0, 0, 200, 100));
    ASSERT_TRUE(grid.PostCommandToParent());
    EXPECT_TRUE(host.commands.empty()); // posted: arrives later
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !host.commands.empty(); }));
    EXPECT_EQ(host.commands[0].first, MAKEWPARAM(321, 0));
    EXPECT_EQ(host.commands[0].second, reinterpret_cast<LPARAM>(grid.GetSafeHwnd()));
}

TEST_F(GridWindow, GeometryWithHiddenRowsAndColumns)
{
    MakeGrid(10, 6, 60, 20, CRect(0, 0, 200, 120));
    grid.SetColumnWidth(0, 50);
    grid.SetColumnWidth(2, 0); // hidden column
    grid.SetRowHeight(3, 0);   // hidden row
    const CRect client = Client();
    ASSERT_GT(client.Width(), 170);
    ASSERT_LE(client.Width(), 200);
    ASSERT_GT(client.Height(), 80);
    ASSERT_LE(client.Height(), 120);

    // Cell (4, 3): x = 50 + 60 + 0, y = 20 + 20 + 20 + 0.
    CRect rc;
    ASSERT_TRUE(grid.GetCellRect(4, 3, rc));
    EXPECT_EQ(rc, CRect(110, 60, 169, 79));
    ASSERT_TRUE(grid.GetCellRect(0, 0, rc));
    EXPECT_EQ(rc, CRect(0, 0, 49, 19));
    ASSERT_TRUE(grid.GetCellRect(3, 2, rc)); // a hidden cell has an empty rectangle
    EXPECT_EQ(rc.Width(), -1);
    EXPECT_EQ(rc.Height(), -1);

    EXPECT_EQ(grid.GetCellFromPt(CPoint(115, 65)), CCellID(4, 3));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(110, 60)), CCellID(4, 3));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(109, 59)), CCellID(2, 1));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(10, 10)), CCellID(0, 0));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(10, 10), FALSE), CCellID(-1, -1));
    EXPECT_EQ(grid.GetCellFromPt(CPoint(-1, 10)).col, -1);
    EXPECT_EQ(grid.GetPointClicked(4, 3, CPoint(115, 65)), CPoint(5, 5));

    // Columns end at 110, 110, 170, 230: column 4 starts inside the client, column 5 not.
    CRect vis;
    const CCellRange range = grid.GetVisibleNonFixedCellRange(vis);
    EXPECT_EQ(range.GetMinRow(), 1);
    EXPECT_EQ(range.GetMinCol(), 1);
    EXPECT_EQ(range.GetMaxCol(), 4);
    EXPECT_EQ(vis.right, client.right);
    EXPECT_TRUE(grid.IsCellVisible(1, 4));
    EXPECT_FALSE(grid.IsCellVisible(1, 5));
    EXPECT_FALSE(grid.IsCellVisible(-1, 1)); // cells outside the grid are never visible
    EXPECT_FALSE(grid.IsCellVisible(0, 6));
    EXPECT_FALSE(grid.InvalidateCellRect(10, 1));
    // Rows end at 20, 40, 60, 60, 80, 100, ...
    EXPECT_EQ(range.GetMaxRow(), client.Height() > 100 ? 6 : (client.Height() > 80 ? 5 : 4));

    const CCellRange fixed = grid.GetVisibleFixedCellRange();
    EXPECT_EQ(fixed.GetMinCol(), 0);
    EXPECT_EQ(fixed.GetMaxRow(), range.GetMaxRow());

    // Resize areas lie on the borders of the headers only.
    CPoint onRowBorder(10, 39);
    EXPECT_TRUE(grid.MouseOverRowResizeArea(onRowBorder));
    CPoint insideRow(10, 30);
    EXPECT_FALSE(grid.MouseOverRowResizeArea(insideRow));
    CPoint onColBorder(108, 5);
    EXPECT_TRUE(grid.MouseOverColumnResizeArea(onColBorder));
    CPoint dataCell(108, 30);
    EXPECT_FALSE(grid.MouseOverColumnResizeArea(dataCell));
}

TEST_F(GridWindow, ScrollingByLineSkipsHiddenRowsAndStopsAtTheEnd)
{
    MakeGrid(40, 12, 50, 20, CRect(0, 0, 300, 200));
    ASSERT_TRUE(grid.IsVisibleVScroll());
    ASSERT_TRUE(grid.IsVisibleHScroll());
    EXPECT_EQ(grid.VScrollMax(), 39 * 20 - 1);
    EXPECT_EQ(grid.HScrollMax(), 11 * 50 - 1);

    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 20);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(2, 1));

    grid.SetRowHeight(2, 0); // the next row to scroll past is hidden
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 40);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 4);

    grid.SendMessage(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 20);

    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 50);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().col, 2);
    grid.SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);
    grid.SendMessage(WM_HSCROLL, SB_LINELEFT, 0); // at the start: nothing
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);

    // At the end of the range a line to the right changes nothing and repaints nothing.
    grid.SendMessage(WM_HSCROLL, SB_RIGHT, 0);
    const int endPos = grid.ScrollPos(SB_HORZ);
    EXPECT_GT(endPos, 0);
    const CCellID topLeft = grid.GetTopleftNonFixedCell();
    qor::test::PaintNow(&grid);
    CRect update;
    ASSERT_FALSE(grid.GetUpdateRect(update));
    grid.SendMessage(WM_HSCROLL, SB_LINERIGHT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), endPos);
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), topLeft);
    EXPECT_FALSE(grid.GetUpdateRect(update));

    grid.SendMessage(WM_HSCROLL, SB_LEFT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), 0);
}

TEST_F(GridWindow, ScrollingByPageAndThumb)
{
    MakeGrid(40, 12, 50, 20, CRect(0, 0, 300, 200));
    const CRect client = Client();
    const int pageHeight = client.Height() - 20;

    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), pageHeight);
    grid.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);
    grid.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);

    grid.SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(grid.ScrollPos(SB_HORZ), client.Width() - 50);

    // Dragging the thumb moves the top-left cell with it.
    qor::test::ScrollBarDrag(&grid, SB_VERT, {100, 205});
    Pump();
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 205);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1 + 11); // rows of 20 pixels until 220 >= 205

    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_GT(grid.ScrollPos(SB_VERT), 0);
    EXPECT_TRUE(grid.IsCellVisible(39, grid.GetTopleftNonFixedCell().col));
    EXPECT_TRUE(grid.IsCellVisible(39, 0));
    grid.SendMessage(WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(grid.ScrollPos(SB_VERT), 0);
    EXPECT_EQ(grid.GetTopleftNonFixedCell().row, 1);
}

TEST_F(GridWindow, OneWheelNotchPostsThreeLinesUp)
{
    MakeGrid(40, 4, 50, 20, CRect(0, 0, 300, 200));
    grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    grid.vscrollCodes.clear();

    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(120)), MAKELPARAM(10, 10));
    EXPECT_TRUE(grid.vscrollCodes.empty()); // posted, not sent
    ASSERT_TRUE(qor::test::PumpUntil([&] { return grid.vscrollCodes.size() >= 3; }));
    Pump();
    EXPECT_EQ(grid.vscrollCodes, (std::vector<UINT>{SB_LINEUP, SB_LINEUP, SB_LINEUP}));

    grid.vscrollCodes.clear();
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), MAKELPARAM(10, 10));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return grid.vscrollCodes.size() >= 6; }));
    Pump();
    EXPECT_EQ(grid.vscrollCodes, std::vector<UINT>(6, SB_LINEDOWN));
}

TEST_F(GridWindow, EnsureVisibleScrollsTheCellIntoFullView)
{
    MakeGrid(60, 20, 50, 20, CRect(0, 0, 300, 200));
    EXPECT_FALSE(grid.IsCellVisible(45, 15));
    grid.EnsureVisible(45, 15);
    EXPECT_TRUE(grid.IsCellVisible(45, 15));
    CRect rc;
    ASSERT_TRUE(grid.GetCellRect(45, 15, rc));
    const CRect client = Client();
    EXPECT_LE(rc.right, client.right);
    EXPECT_LE(rc.bottom, client.bottom);

    grid.EnsureVisible(2, 2);
    EXPECT_TRUE(grid.IsCellVisible(2, 2));
    EXPECT_EQ(grid.GetTopleftNonFixedCell(), CCellID(2, 2));
}

TEST_F(GridWindow, ScrollBarsFollowTheSizes)
{
    MakeGrid(3, 3, 50, 20, CRect(0, 0, 300, 200));
    EXPECT_FALSE(grid.IsVisibleVScroll());
    EXPECT_FALSE(grid.IsVisibleHScroll());
    EXPECT_EQ(grid.VScrollMax(), 0);
    grid.SetRowCount(30);
    EXPECT_TRUE(grid.IsVisibleVScroll());
    EXPECT_FALSE(grid.IsVisibleHScroll());
    grid.SetRowCount(3);
    EXPECT_FALSE(grid.IsVisibleVScroll());
}

TEST_F(GridWindow, AutoSizeLeavesHiddenAndUnmeasuredColumns)
{
    MakeGrid(4, 3, 50, 20, CRect(0, 0, 300, 200));
    grid.GetCell(0, 1)->SetText(_T("Hd"));
    grid.GetCell(2, 1)->SetText(_T("A much longer text in a data row"));

    ASSERT_TRUE(grid.AutoSizeColumn(1, GVS_HEADER));
    const int headerWidth = grid.GetColumnWidth(1);
    ASSERT_TRUE(grid.AutoSizeColumn(1, GVS_DATA));
    const int dataWidth = grid.GetColumnWidth(1);
    EXPECT_GT(headerWidth, 0);
    EXPECT_GT(dataWidth, headerWidth);
    ASSERT_TRUE(grid.AutoSizeColumn(1)); // both by default
    EXPECT_EQ(grid.GetColumnWidth(1), dataWidth);

    grid.SetColumnWidth(2, 0);
    EXPECT_FALSE(grid.AutoSizeColumn(2));
    EXPECT_EQ(grid.GetColumnWidth(2), 0);

    // No fixed rows to measure: the column keeps its width instead of vanishing.
    grid.SetFixedRowCount(0);
    grid.SetColumnWidth(1, 44);
    EXPECT_TRUE(grid.AutoSizeColumn(1, GVS_HEADER));
    EXPECT_EQ(grid.GetColumnWidth(1), 44);

    ASSERT_TRUE(grid.AutoSizeRow(2));
    EXPECT_GT(grid.GetRowHeight(2), 0);
    grid.SetRowHeight(3, 0);
    EXPECT_FALSE(grid.AutoSizeRow(3));
    EXPECT_EQ(grid.GetRowHeight(3), 0);
}

TEST_F(GridWindow, ExpandColumnsToFitFillsTheClient)
{
    MakeGrid(3, 4, 30, 20, CRect(0, 0, 300, 100));
    grid.SetColumnWidth(2, 0);
    grid.ExpandColumnsToFit();
    const CRect client = Client();
    EXPECT_EQ(grid.GetColumnWidth(2), 0);
    const int total = grid.GetColumnWidth(0) + grid.GetColumnWidth(1) + grid.GetColumnWidth(3);
    EXPECT_GE(total, client.Width() - 2); // the remainder walk may spend pixels on the hidden column
    EXPECT_LE(total, client.Width());

    grid.ExpandColumnsToFit(FALSE); // the fixed column keeps its width
    const int fixedWidth = grid.GetColumnWidth(0);
    grid.SetColumnWidth(1, 10);
    grid.ExpandColumnsToFit(FALSE);
    EXPECT_EQ(grid.GetColumnWidth(0), fixedWidth);
}

TEST_F(GridWindow, ExpandColumnsToFitSpreadsTheDifferenceByHand)
{
    MakeGrid(3, 3, 30, 20, CRect(0, 0, 300, 100));
    const int cw = Client().Width();
    ASSERT_GT(cw, 200);

    // 10 pixels to spare over 3 columns: 3 each, the remaining pixel to the first.
    grid.SetColumnWidth(0, 50);
    grid.SetColumnWidth(1, 60);
    grid.SetColumnWidth(2, cw - 10 - 110);
    grid.ExpandColumnsToFit();
    EXPECT_EQ(grid.GetColumnWidth(0), 54);
    EXPECT_EQ(grid.GetColumnWidth(1), 63);
    EXPECT_EQ(grid.GetColumnWidth(2), cw - 10 - 110 + 3);
    EXPECT_FALSE(grid.IsVisibleHScroll());

    // 2 pixels too wide: one from each of the first two; the horizontal bar goes.
    grid.SetColumnWidth(0, 50);
    grid.SetColumnWidth(1, 60);
    grid.SetColumnWidth(2, cw + 2 - 110);
    ASSERT_TRUE(grid.IsVisibleHScroll());
    grid.ExpandColumnsToFit();
    EXPECT_EQ(grid.GetColumnWidth(0), 49);
    EXPECT_EQ(grid.GetColumnWidth(1), 59);
    EXPECT_EQ(grid.GetColumnWidth(2), cw + 2 - 110);
    EXPECT_FALSE(grid.IsVisibleHScroll());
    EXPECT_EQ(grid.GetVirtualWidth(), cw);
}

TEST_F(GridWindow, ExpandColumnsToFitWalksOverHiddenColumns)
{
    MakeGrid(3, 4, 30, 20, CRect(0, 0, 300, 100));
    const int cw = Client().Width();
    // Without the fixed column: columns 2 and 3 share 11 pixels, 5 each; the odd pixel
    // falls on the hidden column 1, where the walk starts, and is lost.
    grid.SetColumnWidth(0, 40);
    grid.SetColumnWidth(1, 0);
    grid.SetColumnWidth(2, 50);
    grid.SetColumnWidth(3, cw - 11 - 90);
    grid.ExpandColumnsToFit(FALSE);
    EXPECT_EQ(grid.GetColumnWidth(0), 40);
    EXPECT_EQ(grid.GetColumnWidth(1), 0);
    EXPECT_EQ(grid.GetColumnWidth(2), 55);
    EXPECT_EQ(grid.GetColumnWidth(3), cw - 11 - 90 + 5);
}

TEST_F(GridWindow, ExpandColumnsToFitWithoutClientWidthDoesNothing)
{
    MakeGrid(3, 4, 30, 20, CRect(0, 0, 0, 100));
    grid.ExpandColumnsToFit();
    for (int c = 0; c < 4; c++) EXPECT_EQ(grid.GetColumnWidth(c), 30);

    CGridCtrl lone(2, 3); // no window at all
    const int w = lone.GetColumnWidth(1);
    lone.ExpandColumnsToFit();
    EXPECT_EQ(lone.GetColumnWidth(1), w);
}

TEST_F(GridWindow, SetFontReachesTheDefaultCells)
{
    MakeGrid(3, 3, 40, 20, CRect(0, 0, 200, 100));
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(200, _T("Arial")));
    const int oldHeight = grid.GetDefaultCell(FALSE, FALSE)->GetHeight();
    grid.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
    LOGFONT expected{};
    font.GetLogFont(&expected);
    for (BOOL fixedRow : {FALSE, TRUE})
        for (BOOL fixedCol : {FALSE, TRUE})
            EXPECT_EQ(grid.GetDefaultCell(fixedRow, fixedCol)->GetFont()->lfHeight, expected.lfHeight);
    EXPECT_GT(grid.GetDefaultCell(FALSE, FALSE)->GetHeight(), oldHeight);
    const LRESULT hFont = grid.SendMessage(WM_GETFONT);
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(hFont), grid.GetDefaultCell(FALSE, FALSE)->GetFontObject()->GetSafeHandle());
}

TEST_F(GridWindow, AttachesToACustomControlWindow)
{
    // A dialog template's custom control: a window of the grid's class made elsewhere.
    CWnd control;
    ASSERT_TRUE(control.Create(GRIDCTRL_CLASSNAME, nullptr, WS_CHILD | WS_VISIBLE, CRect(10, 10, 210, 110), &host, 55));
    const HWND hWnd = control.Detach();
    ASSERT_TRUE(grid.SubclassWindow(hWnd));
    EXPECT_TRUE(grid.GetExStyle() & WS_EX_CLIENTEDGE);
    CRect rc;
    grid.GetWindowRect(rc);
    host.ScreenToClient(rc);
    EXPECT_EQ(rc, CRect(10, 10, 210, 110)); // moved out and back
    grid.SetRowCount(3);
    grid.SetColumnCount(3);
    EXPECT_EQ(grid.GetCell(2, 2)->GetGrid(), &grid);
    EXPECT_EQ(grid.SendMessageToParent(0, 0, static_cast<int>(GVN_CLICK)), 0);
    EXPECT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0].hdr.idFrom, 55u);
}
