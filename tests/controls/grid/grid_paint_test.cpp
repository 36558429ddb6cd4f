// Painting checked on pixels: default colours, grid lines, hidden rows and columns, a
// cell's own background, the selection colour, header edges, painting one cell at once.
#include "grid_test_util.h"

using namespace gridtest;

namespace {

constexpr COLORREF kLine = RGB(192, 192, 192);

class GridPaint : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }

    // 6 rows x 5 columns, 1 fixed row and column; columns 40 wide, rows 20 high; a window
    // larger than the cells so the grid background shows right of and below them.
    void SetUp() override
    {
        ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 6, 5, CRect(0, 0, 300, 200), 100, 40, 20));
        Pump();
    }

    COLORREF Pixel(int x, int y) { return qor::test::SurfacePixel(&grid, x, y); }

    void Repaint()
    {
        grid.Invalidate();
        qor::test::PaintNow(&grid);
    }

    CHostWnd host;
    CTestGrid grid;
};

} // namespace

TEST_F(GridPaint, DefaultColoursAndGridLines)
{
    Repaint();
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF back = ::GetSysColor(COLOR_3DSHADOW);

    // Inside an ordinary cell (column 1 spans x 40..79, row 1 spans y 20..39)
    EXPECT_EQ(Pixel(60, 30), window);
    // The vertical line at the right edge of column 1, the horizontal one under row 1
    EXPECT_EQ(Pixel(79, 30), kLine);
    EXPECT_EQ(Pixel(60, 39), kLine);
    // Header cells have the face colour inside and a raised edge
    EXPECT_EQ(Pixel(20, 30), face);
    EXPECT_EQ(Pixel(60, 10), face);
    EXPECT_EQ(Pixel(40, 10), ::GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(Pixel(79, 10), ::GetSysColor(COLOR_3DDKSHADOW));
    // Right of and below the cells: the grid background (cells end at x 200, y 120)
    EXPECT_EQ(Pixel(250, 30), back);
    EXPECT_EQ(Pixel(60, 150), back);
    EXPECT_EQ(Pixel(199, 119), kLine);
}

TEST_F(GridPaint, HiddenColumnsAndRowsTakeNoPixels)
{
    grid.SetColumnWidth(2, 0);
    grid.SetRowHeight(2, 0);
    Repaint();
    // Column 3 now starts where column 2 did: one line at its right edge only.
    EXPECT_EQ(Pixel(79, 50), kLine); // right edge of column 1 (row 3 is at y 40..59)
    EXPECT_EQ(Pixel(80, 50), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Pixel(118, 50), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Pixel(119, 50), kLine); // right edge of column 3
    EXPECT_EQ(Pixel(60, 39), kLine);  // under row 1; row 2 is hidden
    EXPECT_EQ(Pixel(60, 40), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Pixel(159, 50), kLine); // the last column now ends at x 159
    EXPECT_EQ(Pixel(170, 50), ::GetSysColor(COLOR_3DSHADOW));
}

TEST_F(GridPaint, NoGridLinesWhenTurnedOff)
{
    grid.SetGridLines(GVL_NONE);
    Repaint();
    EXPECT_EQ(Pixel(79, 30), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Pixel(60, 39), ::GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(grid.PaintCell(2, 2));
    EXPECT_EQ(Pixel(119, 50), ::GetSysColor(COLOR_WINDOW));

    grid.SetGridLines(GVL_HORZ);
    Repaint();
    EXPECT_EQ(Pixel(79, 30), ::GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(Pixel(60, 39), kLine);
}

TEST_F(GridPaint, OwnBackgroundAndSelection)
{
    grid.GetCell(2, 2)->SetBackClr(RGB(255, 0, 0));
    grid.SetSelectedRange(3, 3, 3, 3);
    Repaint();
    // Own background is painted although the grid draws without erasing.
    EXPECT_EQ(Pixel(100, 50), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(80, 40), RGB(255, 0, 0));
    // The selected cell (x 120..159, y 60..79) has the highlight colour, its lines too
    // until the grid lines are drawn over them.
    EXPECT_EQ(Pixel(140, 70), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(140, 79), kLine);
}

TEST_F(GridPaint, FocusCellIsFramedAndHeadersSink)
{
    grid.SetFocusCell(2, 2);
    Repaint();
    // A one-pixel frame in the text colour inside the grid lines
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(Pixel(80, 50), text);
    EXPECT_EQ(Pixel(100, 40), text);
    EXPECT_EQ(Pixel(118, 50), text);
    EXPECT_EQ(Pixel(100, 58), text);
    EXPECT_EQ(Pixel(100, 50), ::GetSysColor(COLOR_WINDOW));
    // The header of the focus column is sunken: its top-left edge is dark, another header's light.
    EXPECT_NE(Pixel(80, 10), ::GetSysColor(COLOR_3DHIGHLIGHT));
    EXPECT_EQ(Pixel(40, 10), ::GetSysColor(COLOR_3DHIGHLIGHT));

    grid.SetTrackFocusCell(FALSE);
    Repaint();
    EXPECT_EQ(Pixel(80, 10), ::GetSysColor(COLOR_3DHIGHLIGHT));
}

TEST_F(GridPaint, SelectedFocusCellUsesTheHighlight)
{
    grid.SetSelectedRange(2, 2, 2, 2);
    grid.SetFocusCell(2, 2);
    Repaint();
    EXPECT_EQ(Pixel(100, 50), ::GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(Pixel(80, 50), ::GetSysColor(COLOR_HIGHLIGHTTEXT));
}

TEST_F(GridPaint, PaintCellDrawsAtOnce)
{
    Repaint();
    grid.GetCell(4, 1)->SetBackClr(RGB(0, 128, 0));
    ASSERT_TRUE(grid.PaintCell(4, 1));
    EXPECT_EQ(Pixel(60, 90), RGB(0, 128, 0));
    EXPECT_EQ(Pixel(60, 99), kLine);
    EXPECT_EQ(Pixel(79, 90), kLine);
    EXPECT_FALSE(grid.PaintCell(7, 1));

    grid.GetCell(5, 2)->SetBackClr(RGB(0, 0, 200));
    grid.GetCell(5, 3)->SetBackClr(RGB(0, 0, 200));
    ASSERT_TRUE(grid.RedrawRow(5));
    EXPECT_EQ(Pixel(100, 110), RGB(0, 0, 200));
    EXPECT_EQ(Pixel(140, 110), RGB(0, 0, 200));
}

TEST_F(GridPaint, WithoutRowsOnlyTheBackgroundIsDrawn)
{
    grid.SetRowCount(0);
    Repaint();
    EXPECT_EQ(Pixel(10, 10), ::GetSysColor(COLOR_3DSHADOW));
    EXPECT_EQ(Pixel(150, 100), ::GetSysColor(COLOR_3DSHADOW));
}

TEST_F(GridPaint, BackgroundAreasTakeTheDefaultCellsColours)
{
    // Without cells only the erased background shows.
    for (int r = 0; r < grid.GetRowCount(); r++)
        for (int c = 0; c < grid.GetColumnCount(); c++)
        {
            CGridCellBase* cell = grid.GetCell(r, c);
            ASSERT_TRUE(grid.SetCell(r, c, nullptr));
            delete cell;
        }
    const COLORREF both = RGB(1, 100, 1), fixedCol = RGB(2, 0, 200), fixedRow = RGB(200, 0, 3), data = RGB(250, 250, 0),
                   back = RGB(90, 40, 20);
    grid.GetDefaultCell(TRUE, TRUE)->SetBackClr(both);
    grid.GetDefaultCell(FALSE, TRUE)->SetBackClr(fixedCol);
    grid.GetDefaultCell(TRUE, FALSE)->SetBackClr(fixedRow);
    grid.GetDefaultCell(FALSE, FALSE)->SetBackClr(data);
    grid.SetGridBkColor(back);
    Repaint();

    // Fixed width 40, fixed height 20, cells end at (200, 120). The fixed-column band runs
    // from the top over the corner; the fixed-row band starts one pixel left of x = 40.
    EXPECT_EQ(Pixel(5, 5), fixedCol);
    EXPECT_EQ(Pixel(38, 5), fixedCol);
    EXPECT_EQ(Pixel(39, 5), fixedRow);
    EXPECT_EQ(Pixel(60, 19), fixedRow); // no grid lines in the headers
    EXPECT_EQ(Pixel(79, 10), fixedRow);
    EXPECT_EQ(Pixel(20, 60), fixedCol);
    EXPECT_EQ(Pixel(20, 119), fixedCol);
    EXPECT_EQ(Pixel(60, 50), data);
    EXPECT_EQ(Pixel(79, 50), kLine);
    EXPECT_EQ(Pixel(198, 118), data);
    EXPECT_EQ(Pixel(200, 10), back);
    EXPECT_EQ(Pixel(250, 150), back);
    EXPECT_EQ(Pixel(20, 120), back);
    EXPECT_EQ(Pixel(150, 150), back);
    EXPECT_EQ(qor::test::CountSurfacePixels(&grid, CRect(0, 0, 40, 120), both), 0);
}

TEST_F(GridPaint, SingleBufferedPaintingLooksTheSame)
{
    grid.SetDoubleBuffering(FALSE);
    grid.GetCell(2, 2)->SetBackClr(RGB(255, 0, 0));
    Repaint();
    EXPECT_EQ(Pixel(100, 50), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(79, 30), kLine);
    EXPECT_EQ(Pixel(250, 30), ::GetSysColor(COLOR_3DSHADOW));
}

TEST_F(GridPaint, ScrolledGridShowsTheScrolledCells)
{
    grid.SetRowCount(40);
    SetSizes(grid, 40, 20);
    for (int r = 1; r < 40; r++) grid.GetCell(r, 1)->SetBackClr(r % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
    Repaint();
    EXPECT_EQ(Pixel(60, 30), RGB(255, 0, 0)); // row 1
    grid.SendMessage(WM_VSCROLL, SB_LINEDOWN, 0);
    qor::test::PaintNow(&grid);
    EXPECT_EQ(Pixel(60, 30), RGB(0, 0, 255));              // row 2 moved up to the first data line
    EXPECT_EQ(Pixel(60, 10), ::GetSysColor(COLOR_3DFACE)); // the header stays
}

TEST_F(GridPaint, CellTextGoesThroughTheOffScreenBuffer)
{
    grid.GetCell(2, 2)->SetText(_T("WWW"));
    grid.GetCell(2, 3)->SetText(_T("WWW"));
    grid.GetCell(2, 3)->SetTextClr(RGB(255, 0, 0));
    Repaint();
    int dark = 0, red = 0;
    for (int y = 41; y < 58; y++)
        for (int x = 81; x < 118; x++)
        {
            const COLORREF c = Pixel(x, y);
            if (GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100) dark++;
            const COLORREF r = Pixel(x + 40, y);
            if (GetRValue(r) > 150 && GetGValue(r) < 110 && GetBValue(r) < 110) red++;
        }
    EXPECT_GT(dark, 10);
    EXPECT_GT(red, 10);
}
