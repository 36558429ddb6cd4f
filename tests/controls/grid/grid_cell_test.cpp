// The cells: drawing and printing into a memory bitmap, measuring text and cells, fonts.
#include "grid_test_util.h"

using namespace gridtest;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

// A memory DC with a white bitmap of the given size.
class Canvas
{
public:
    Canvas(int w, int h)
    {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bitmap.CreateCompatibleBitmap(&screen, w, h);
        old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(0, 0, w, h, kWhite);
        width = w;
        height = h;
    }
    ~Canvas() { dc.SelectObject(old); }

    int Count(const CRect& area, COLORREF c)
    {
        int n = 0;
        for (int y = area.top; y < area.bottom; y++)
            for (int x = area.left; x < area.right; x++)
                if (dc.GetPixel(x, y) == c) n++;
        return n;
    }

    CDC dc;
    CBitmap bitmap;
    CBitmap* old = nullptr;
    int width, height;
};

class GridCells : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }
    void SetUp() override
    {
        grid.SetRowCount(3);
        grid.SetColumnCount(3);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
    }
    CGridCtrl grid;
};

} // namespace

TEST_F(GridCells, DrawFailsQuietlyWithoutGridContextOrArea)
{
    Canvas canvas(50, 30);
    CGridCell lone;
    EXPECT_FALSE(lone.Draw(&canvas.dc, 0, 0, CRect(0, 0, 40, 20), TRUE));
    CGridCellBase* cell = grid.GetCell(1, 1);
    EXPECT_FALSE(cell->Draw(nullptr, 1, 1, CRect(0, 0, 40, 20), TRUE));
    EXPECT_FALSE(cell->Draw(&canvas.dc, 1, 1, CRect(10, 10, 10, 20), TRUE));
    EXPECT_EQ(canvas.Count(CRect(0, 0, 50, 30), kWhite), 50 * 30);
}

TEST_F(GridCells, DrawErasesWithTheDefaultOrOwnBackground)
{
    Canvas canvas(60, 40);
    CGridCellBase* cell = grid.GetCell(1, 1);
    grid.GetDefaultCell(FALSE, FALSE)->SetBackClr(RGB(0, 200, 0));

    // Asked not to erase and no own colour: the background stays.
    ASSERT_TRUE(cell->Draw(&canvas.dc, 1, 1, CRect(0, 0, 39, 19), FALSE));
    EXPECT_EQ(canvas.dc.GetPixel(20, 10), kWhite);
    // Asked to erase: the default cell's colour, on the rectangle widened by one pixel.
    ASSERT_TRUE(cell->Draw(&canvas.dc, 1, 1, CRect(0, 0, 39, 19), TRUE));
    EXPECT_EQ(canvas.dc.GetPixel(20, 10), RGB(0, 200, 0));
    EXPECT_EQ(canvas.dc.GetPixel(39, 19), RGB(0, 200, 0));
    EXPECT_EQ(canvas.dc.GetPixel(40, 20), kWhite);
    // An own colour is always painted.
    cell->SetBackClr(RGB(0, 0, 120));
    ASSERT_TRUE(cell->Draw(&canvas.dc, 1, 1, CRect(0, 0, 39, 19), FALSE));
    EXPECT_EQ(canvas.dc.GetPixel(20, 10), RGB(0, 0, 120));
}

TEST_F(GridCells, TextIsDrawnInTheTextColour)
{
    Canvas canvas(120, 30);
    CGridCellBase* cell = grid.GetCell(1, 1);
    cell->SetText(_T("WWW&WWW"));
    cell->SetTextClr(RGB(255, 0, 0));
    ASSERT_TRUE(cell->Draw(&canvas.dc, 1, 1, CRect(0, 0, 119, 29), TRUE));
    // Text is antialiased: count the pixels that are clearly red.
    int red = 0;
    for (int y = 0; y < 30; y++)
        for (int x = 0; x < 120; x++)
        {
            const COLORREF c = canvas.dc.GetPixel(x, y);
            if (GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110) red++;
        }
    EXPECT_GT(red, 10);
}

TEST_F(GridCells, PrintCellShadesOnlyWhenAsked)
{
    CGridCellBase* cell = grid.GetCell(1, 1);
    cell->SetBackClr(RGB(255, 0, 0));
    {
        Canvas canvas(60, 40);
        ASSERT_TRUE(cell->PrintCell(&canvas.dc, 1, 1, CRect(0, 0, 39, 19)));
        EXPECT_EQ(canvas.dc.GetPixel(20, 10), RGB(255, 0, 0));
    }
    {
        grid.SetShadedPrintOut(FALSE);
        Canvas canvas(60, 40);
        cell->SetText(_T("WWWW"));
        cell->SetTextClr(RGB(0, 0, 255));
        ASSERT_TRUE(cell->PrintCell(&canvas.dc, 1, 1, CRect(0, 0, 59, 39)));
        EXPECT_EQ(canvas.Count(CRect(0, 0, 60, 40), RGB(255, 0, 0)), 0);
        EXPECT_EQ(canvas.Count(CRect(0, 0, 60, 40), RGB(0, 0, 255)), 0); // black text instead
        EXPECT_GT(canvas.Count(CRect(0, 0, 60, 40), RGB(0, 0, 0)), 0);
    }
    {
        // Shaded, but the own colour is the default one: no background.
        grid.SetShadedPrintOut(TRUE);
        cell->SetText(_T(""));
        cell->SetBackClr(grid.GetDefaultCell(FALSE, FALSE)->GetBackClr());
        Canvas canvas(60, 40);
        canvas.dc.FillSolidRect(0, 0, 60, 40, RGB(1, 2, 3));
        ASSERT_TRUE(cell->PrintCell(&canvas.dc, 1, 1, CRect(0, 0, 39, 19)));
        EXPECT_EQ(canvas.dc.GetPixel(20, 10), RGB(1, 2, 3));
    }
}

TEST_F(GridCells, TextExtentOfWrappedAndVerticalText)
{
    CClientDC dc(nullptr);
    CGridCellBase* cell = grid.GetCell(1, 1);
    const int margin = static_cast<int>(cell->GetMargin());
    CFont* font = cell->GetFontObject();
    ASSERT_NE(font, nullptr);
    CFont* old = dc.SelectObject(font);
    const CSize longLine = dc.GetTextExtent(CString(_T("a much longer line")));
    const CSize oneLine = dc.GetTextExtent(CString(_T("a much longer line\nshort")));
    dc.SelectObject(old);

    cell->SetFormat(DT_WORDBREAK | DT_LEFT);
    const CSize wrapped = cell->GetTextExtent(_T("short\na much longer line"), &dc);
    EXPECT_NEAR(wrapped.cx, longLine.cx + 2 * margin, 1);
    EXPECT_GE(wrapped.cy, 2 * longLine.cy + 2 * margin - 1);

    cell->SetFormat(DT_SINGLELINE);
    const CSize single = cell->GetTextExtent(_T("a much longer line\nshort"), &dc);
    EXPECT_EQ(single.cx, oneLine.cx + 2 * margin);

    // Vertical text: width and height swap, with four more margins along the text.
    LOGFONT lf = *cell->GetFont();
    lf.lfEscapement = 900;
    cell->SetFont(&lf);
    const CSize horizontal = CSize(single.cx, single.cy);
    const CSize vertical = cell->GetTextExtent(_T("a much longer line\nshort"), &dc);
    EXPECT_FALSE(cell->IsDefaultFont());
    EXPECT_NEAR(vertical.cx, horizontal.cy, 2);
    EXPECT_NEAR(vertical.cy, horizontal.cx + 4 * margin, 2);
    cell->SetFont(nullptr);
    EXPECT_TRUE(cell->IsDefaultFont());

    // Without text: the default cell's size.
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    EXPECT_EQ(cell->GetTextExtent(_T(""), &dc), CSize(def->GetWidth(), def->GetHeight()));
}

TEST_F(GridCells, CellExtentAddsAPixelAndOneMoreForHeaders)
{
    CClientDC dc(nullptr);
    CGridCellBase* cell = grid.GetCell(1, 1);
    CGridCellBase* header = grid.GetCell(0, 1);
    cell->SetText(_T("Value"));
    header->SetText(_T("Value"));
    const CSize text = cell->GetTextExtent(_T("Value"), &dc);
    EXPECT_EQ(cell->GetCellExtent(&dc), CSize(text.cx + 1, text.cy + 1));
    EXPECT_EQ(header->GetCellExtent(&dc), CSize(text.cx + 2, text.cy + 2));
}

TEST_F(GridCells, DefaultCellsMeasureTheirFont)
{
    CGridDefaultCell* def = grid.GetDefaultCell(FALSE, FALSE);
    CClientDC dc(nullptr);
    CFont* old = dc.SelectObject(def->GetFontObject());
    const CSize blank = dc.GetTextExtent(CString(_T(" ")));
    const CSize wide = dc.GetTextExtent(CString(_T(" XXXXXXXXXXXX ")));
    dc.SelectObject(old);
    EXPECT_EQ(static_cast<int>(def->GetMargin()), blank.cx);
    EXPECT_EQ(def->GetWidth(), wide.cx);
    EXPECT_EQ(def->GetHeight(), wide.cy * 3 / 2);
    EXPECT_GT(def->GetWidth(), 40);
}

TEST_F(GridCells, OwnFontsShareOneFontObject)
{
    LOGFONT lf = *grid.GetDefaultCell(FALSE, FALSE)->GetFont();
    lf.lfWeight = FW_BOLD;
    CGridCellBase* a = grid.GetCell(1, 1);
    CGridCellBase* b = grid.GetCell(2, 2);
    a->SetFont(&lf);
    b->SetFont(&lf);
    CFont* fa = a->GetFontObject();
    LOGFONT got{};
    ASSERT_NE(fa->GetLogFont(&got), 0);
    EXPECT_EQ(got.lfWeight, FW_BOLD);
    EXPECT_EQ(b->GetFontObject(), fa);
    EXPECT_EQ(grid.GetCell(1, 2)->GetFontObject(), grid.GetDefaultCell(FALSE, FALSE)->GetFontObject());
}
