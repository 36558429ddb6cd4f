// The print preview renders its pages on a worker: a page shows white until its rendering comes, then what
// is printed on it; a page slow to render does not hold the window, and a preview closed while a page renders
// drops the render.
#include "platform/gui/Afx.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "platform/test/PrintTest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace qor::test;

namespace {

// A4 at 600 dpi with quarter-inch margins: the page's device pixels and where the drawing's origin is.
constexpr double kPaperW = 4958, kPaperH = 7017, kMargin = 150;

class PreviewRender : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        unsetenv("QOR_PRINT_TO_PDF");
        qor::gui::SetDefaultLandscape(false);
    }
    void TearDown() override
    {
        PumpUntil([] { return CPrintPreviewWnd::GetRenderingWorkers() == 0; }, 30000);
    }
};

// Prints a job of `pages` pages through a driven print dialog; draw(dc, n) draws page n (1-based).
template <class Draw>
void PrintJob(const std::string& path, int pages, Draw draw)
{
    DrivenPrinting printing(path);
    CPrintDialog dlg(FALSE);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    CDC dc;
    ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
    ASSERT_GT(dc.StartDoc(L"Preview"), 0);
    for (int n = 1; n <= pages; ++n)
    {
        ASSERT_GT(dc.StartPage(), 0);
        draw(dc, n);
        ASSERT_GT(dc.EndPage(), 0);
    }
    ASSERT_GT(dc.EndDoc(), 0);
}

// A black block on page n: the top left of the printed area on page 1, its bottom right on page 2.
CRect BlockOf(int n) { return n == 1 ? CRect(300, 300, 1800, 2400) : CRect(2700, 4200, 4300, 6400); }

// Where a point of the printer's drawing shows in the preview, inside the page's rectangle.
CPoint Shown(const CRect& page, CPoint device)
{
    return CPoint(page.left + static_cast<int>((device.x + kMargin) / kPaperW * page.Width()),
                  page.top + static_cast<int>((device.y + kMargin) / kPaperH * page.Height()));
}

bool Dark(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60; }

} // namespace

TEST_F(PreviewRender, PagesShowWhiteUntilRenderedThenTheirDrawingAndAClosedPreviewDropsItsRender)
{
    const std::string path = TempPdfPath("preview-render.pdf");
    ASSERT_NO_FATAL_FAILURE(PrintJob(path, 3, [](CDC& dc, int n) {
        if (n <= 2) dc.FillSolidRect(BlockOf(n), RGB(0, 0, 0));
    }));
    CPrintPreviewWnd* preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case");
    ASSERT_NE(preview, nullptr);
    ASSERT_EQ(preview->GetPageCount(), 3);

    auto pixelAt = [&](int n, CPoint device) {
        const CPoint p = Shown(preview->GetPageRect(n), device);
        return SurfacePixel(preview, p.x, p.y);
    };

    // Painted at once (no message taken meanwhile): a white page, its rendering asked for; the page's block
    // shows when it has come.
    preview->UpdateWindow();
    ASSERT_FALSE(preview->GetPageRect(1).IsRectEmpty());
    EXPECT_FALSE(preview->IsPageRendered(1));
    EXPECT_EQ(pixelAt(1, BlockOf(1).CenterPoint()), RGB(255, 255, 255));
    ASSERT_TRUE(PumpUntil([&] { return preview->IsPageRendered(1); }, 30000));
    EXPECT_TRUE(Dark(pixelAt(1, BlockOf(1).CenterPoint())));
    EXPECT_EQ(pixelAt(1, BlockOf(2).CenterPoint()), RGB(255, 255, 255));

    // Zoomed in, the page is rendered again at its new size; until then its earlier rendering stands in,
    // scaled, so the block is there at once. Zoomed out, its rendering at that size is still at hand.
    Click(preview->GetDlgItem(AFX_ID_PREVIEW_ZOOMIN), CPoint(5, 5));
    preview->UpdateWindow();
    EXPECT_FALSE(preview->IsPageRendered(1));
    EXPECT_TRUE(Dark(pixelAt(1, BlockOf(1).CenterPoint())));
    ASSERT_TRUE(PumpUntil([&] { return preview->IsPageRendered(1); }, 30000));
    EXPECT_TRUE(Dark(pixelAt(1, BlockOf(1).CenterPoint())));
    Click(preview->GetDlgItem(AFX_ID_PREVIEW_ZOOMOUT), CPoint(5, 5));
    preview->UpdateWindow();
    EXPECT_TRUE(preview->IsPageRendered(1));

    // Next Page: page 2 is rendered in its turn and shows its own block.
    Click(preview->GetDlgItem(AFX_ID_PREVIEW_NEXT), CPoint(5, 5));
    EXPECT_FALSE(preview->IsPageRendered(2));
    ASSERT_TRUE(PumpUntil([&] { return preview->IsPageRendered(2); }, 30000));
    EXPECT_TRUE(Dark(pixelAt(2, BlockOf(2).CenterPoint())));
    EXPECT_EQ(pixelAt(2, BlockOf(1).CenterPoint()), RGB(255, 255, 255));

    // Closed with page 3 asked for: the window and its file go at once, the render ends on its worker and is
    // dropped, and its message, if it was posted, finds no window.
    Click(preview->GetDlgItem(AFX_ID_PREVIEW_NEXT), CPoint(5, 5));
    ASSERT_EQ(preview->GetCurrentPage(), 3);
    preview->UpdateWindow();
    const HWND h = preview->m_hWnd;
    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(PumpUntil([] { return CPrintPreviewWnd::GetRenderingWorkers() == 0; }, 30000));
    Pump();
}

// A page of many thousands of curves takes a good part of a second to render: the window goes on answering
// while it opens and renders, and a preview closed while that page renders does not wait for it.
TEST_F(PreviewRender, APageSlowToRenderDoesNotHoldTheWindow)
{
    const std::string path = TempPdfPath("preview-slow.pdf");
    ASSERT_NO_FATAL_FAILURE(PrintJob(path, 2, [](CDC& dc, int n) {
        CPen thin(PS_SOLID, 1, RGB(0, 0, 128));
        CPen* old = dc.SelectObject(&thin);
        POINT pts[40];
        for (int k = 0; k < 3000; ++k)
        {
            for (int i = 0; i < 40; ++i) pts[i] = POINT{200 + 100 * i, 500 + (k * 7 + i * 131 * n) % 6000};
            dc.Polyline(pts, 40);
        }
        dc.SelectObject(old);
    }));

    PauseMeter meter;
    CPrintPreviewWnd* preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case");
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return preview->IsPageRendered(1); }, 60000));
    EXPECT_LT(meter.LongestMs(), 250.0);
    EXPECT_GT(meter.Ticks(), 5) << "the timer ran while the page rendered";

    meter.Reset();
    Click(preview->GetDlgItem(AFX_ID_PREVIEW_NEXT), CPoint(5, 5));
    preview->UpdateWindow();
    EXPECT_GT(CPrintPreviewWnd::GetRenderingWorkers(), 0) << "page 2 renders";
    const HWND h = preview->m_hWnd;
    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_TRUE(PumpUntil([] { return CPrintPreviewWnd::GetRenderingWorkers() == 0; }, 60000));
    EXPECT_LT(meter.LongestMs(), 250.0);
    EXPECT_FALSE(FileExists(path));
}
