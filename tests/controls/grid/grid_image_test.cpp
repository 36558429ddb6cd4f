// Cell images from the grid's image list, checked on pixels: drawn at the cell's top-left
// inside its margin with the mask colour transparent, text moved past the image, images that
// do not fit left out, and the image counted in the cell's extent.
#include "grid_test_util.h"

using namespace gridtest;

namespace {

constexpr COLORREF kMaskClr = RGB(255, 0, 255);
constexpr COLORREF kImageClr = RGB(200, 0, 0);
constexpr int kMargin = 2;

class GridImage : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }

    // 4 x 4 cells, one fixed row and column, 60 x 24 each; images 10 x 8 whose left three
    // columns have the mask colour; a 30 x 30 image in a second list.
    void SetUp() override
    {
        ASSERT_TRUE(gridtest::CreateHostedGrid(host, grid, 4, 4, CRect(0, 0, 300, 200), 100, 60, 24, 400, 300));

        ASSERT_TRUE(images.Create(10, 8, ILC_COLOR24 | ILC_MASK, 1, 1));
        CBitmap bm;
        qor::test::MakeBitmap(bm, 10, 8, [](int x, int) { return x < 3 ? kMaskClr : kImageClr; });
        ASSERT_EQ(images.Add(&bm, kMaskClr), 0);
        ASSERT_TRUE(large.Create(30, 30, ILC_COLOR24, 1, 1));
        CBitmap big;
        qor::test::MakeBitmap(big, 30, 30, [](int, int) { return kImageClr; });
        ASSERT_EQ(large.Add(&big, kMaskClr), 0);

        cell = grid.GetCell(1, 1);
        ASSERT_NE(cell, nullptr);
        cell->SetMargin(kMargin);
        Pump();
    }

    void Repaint()
    {
        grid.Invalidate();
        qor::test::PaintNow(&grid);
    }
    COLORREF Pixel(int x, int y) { return qor::test::SurfacePixel(&grid, x, y); }
    CRect CellRect()
    {
        CRect r;
        EXPECT_TRUE(grid.GetCellRect(1, 1, &r));
        return r;
    }
    // Pixels in a column range of the cell's inside that are not the colour.
    int CountNot(int x0, int x1, COLORREF c)
    {
        const CRect r = CellRect();
        int n = 0;
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            for (int x = x0; x < x1; ++x)
                if (Pixel(x, y) != c) ++n;
        return n;
    }

    CHostWnd host;
    CTestGrid grid;
    CImageList images, large;
    CGridCellBase* cell = nullptr;
};

} // namespace

TEST_F(GridImage, ImageListIsKeptByTheGrid)
{
    EXPECT_EQ(grid.GetImageList(), nullptr);
    grid.SetImageList(&images);
    EXPECT_EQ(grid.GetImageList(), &images);
    cell->SetImage(0);
    EXPECT_EQ(cell->GetImage(), 0);
    grid.SetImageList(nullptr);
    EXPECT_EQ(grid.GetImageList(), nullptr);
}

TEST_F(GridImage, CellDrawsItsImageAtTheMarginWithTheMaskTransparent)
{
    grid.SetImageList(&images);
    cell->SetImage(0);
    Repaint();
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const CRect r = CellRect();
    const CPoint at(r.left + kMargin, r.top + kMargin);

    // The masked columns show the cell's background; the rest is the image, 7 x 8 pixels.
    for (int y = at.y; y < at.y + 8; ++y)
    {
        for (int x = at.x; x < at.x + 3; ++x) EXPECT_EQ(Pixel(x, y), window) << x << "," << y;
        for (int x = at.x + 3; x < at.x + 10; ++x) EXPECT_EQ(Pixel(x, y), kImageClr) << x << "," << y;
    }
    EXPECT_EQ(Pixel(at.x + 5, at.y - 1), window);
    EXPECT_EQ(Pixel(at.x + 5, at.y + 8), window);
    EXPECT_EQ(Pixel(at.x + 10, at.y + 4), window);
    // No other cell shows it.
    EXPECT_EQ(Pixel(r.right + 1 + kMargin + 5, at.y + 4), window);
}

TEST_F(GridImage, TextStartsPastTheImage)
{
    grid.SetImageList(&images);
    cell->SetImage(0);
    cell->SetText(_T("WWWW"));
    CRect text(0, 0, 100, 20);
    cell->GetTextRect(text);
    EXPECT_EQ(text.left, 10 + 1 + kMargin);

    Repaint();
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    const CRect r = CellRect();
    const int textLeft = r.left + kMargin + 10 + 1 + kMargin;
    // Between the image and the text start: nothing; from there on: the text's ink.
    EXPECT_EQ(CountNot(r.left + kMargin + 10, textLeft, window), 0);
    EXPECT_GT(CountNot(textLeft, r.right, window), 0);

    // Without an image the text starts at the margin.
    cell->SetImage(-1);
    Repaint();
    EXPECT_GT(CountNot(r.left + kMargin, r.left + kMargin + 4, window), 0);
    EXPECT_NE(Pixel(r.left + kMargin + 6, r.top + kMargin + 4), kImageClr);
}

TEST_F(GridImage, SelectedCellShowsTheHighlightThroughTheMask)
{
    grid.SetImageList(&images);
    cell->SetImage(0);
    grid.SetSelectedRange(1, 1, 1, 1, TRUE);
    Repaint();
    const CRect r = CellRect();
    const CPoint at(r.left + kMargin, r.top + kMargin);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    ASSERT_EQ(Pixel(r.right - 3, r.bottom - 3), highlight);
    EXPECT_EQ(Pixel(at.x + 1, at.y + 4), highlight);
    EXPECT_EQ(Pixel(at.x + 6, at.y + 4), kImageClr); // drawn in normal style: not blended
}

TEST_F(GridImage, ImageTooLargeForTheCellIsLeftOutButMovesTheText)
{
    grid.SetImageList(&large);
    cell->SetImage(0);
    Repaint();
    const CRect r = CellRect();
    EXPECT_EQ(CountNot(r.left + 1, r.right - 1, kImageClr), (r.right - r.left - 2) * (r.Height() - 2));
    CRect text(0, 0, 100, 20);
    cell->GetTextRect(text);
    EXPECT_EQ(text.left, 30 + 1 + kMargin);
}

TEST_F(GridImage, MissingListOrImageDrawsNothing)
{
    cell->SetImage(0); // no list
    Repaint();
    const CRect r = CellRect();
    const int inside = (r.right - r.left - 2) * (r.Height() - 2);
    EXPECT_EQ(CountNot(r.left + 1, r.right - 1, kImageClr), inside);
    CRect text(0, 0, 100, 20);
    cell->GetTextRect(text);
    EXPECT_EQ(text.left, 0);

    grid.SetImageList(&images);
    cell->SetImage(5); // beyond the list
    Repaint();
    EXPECT_EQ(CountNot(r.left + 1, r.right - 1, kImageClr), inside);
    text = CRect(0, 0, 100, 20);
    cell->GetTextRect(text);
    EXPECT_EQ(text.left, 0);
}

TEST_F(GridImage, CellExtentMakesRoomForTheImage)
{
    cell->SetText(_T("Span"));
    CClientDC dc(&grid);
    const CSize plain = cell->GetCellExtent(&dc);
    grid.SetImageList(&images);
    cell->SetImage(0);
    const CSize with = cell->GetCellExtent(&dc);
    // Text wider than two margins: image width + margin more; height at least image + margins + 1.
    EXPECT_EQ(with.cx, plain.cx + 10 + kMargin);
    EXPECT_EQ(with.cy, std::max<LONG>(plain.cy, 8 + 2 * kMargin + 1));

    grid.SetImageList(&large);
    const CSize tall = cell->GetCellExtent(&dc);
    EXPECT_EQ(tall.cx, plain.cx + 30 + kMargin);
    EXPECT_EQ(tall.cy, 30 + 2 * kMargin + 1);
}
