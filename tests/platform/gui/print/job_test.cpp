// Printer DCs and print dialogs: jobs printed through a driven dialog land in a PDF file,
// page by page, and the DC answers GetDeviceCaps from the printer.
#include "platform/gui/Afx.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/gui/print/PrintedTitle.h"
#include "platform/gui/widgets/PdfView.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PrintTest.h"

#include "tests/platform/gui/draw/gdi_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace qor::test;

namespace {

// A4 at 600 dpi with quarter-inch (150 px) margins, worked by hand. A PDF page is a whole
// number of points: A4 is 595 x 842 pt, so 595 / 72 * 600 = 4958.3 px, 842 / 72 * 600 = 7016.7 px.
constexpr int kPaperW = 4958, kPaperH = 7017, kMargin = 150;

std::string ReadText(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class PrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        EnsureGuiApplication();
        unsetenv("QOR_PRINT_TO_PDF");
        qor::gui::SetDefaultLandscape(false);
    }
    void TearDown() override { qor::gui::SetDefaultLandscape(false); }
};

// Prints page `n` with a rectangle and, on the first page, a line of text.
void PrintPage(CDC& dc, int n, const CRect& box, CFont* font)
{
    ASSERT_GT(dc.StartPage(), 0) << "page " << n;
    dc.Rectangle(box);
    if (n == 1)
    {
        CFont* old = dc.SelectObject(font);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(box.left + 20, box.top + 20, CString(L"Page one"));
        dc.SelectObject(old);
    }
    ASSERT_GT(dc.EndPage(), 0) << "page " << n;
}

// Runs the print dialog (driven, or answered from the environment) and attaches the
// printer DC it made to dc.
void AttachPrinterDC(CDC& dc)
{
    CPrintDialog dlg(FALSE);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    dc.Attach(dlg.GetPrinterDC());
}

// A printer DC as above, with a document started and its first page open.
void StartPrintJob(CDC& dc)
{
    ASSERT_NO_FATAL_FAILURE(AttachPrinterDC(dc));
    ASSERT_GT(dc.StartDoc(L"Doc"), 0);
    ASSERT_GT(dc.StartPage(), 0);
}

} // namespace

TEST_F(PrintTest, DrivenDialogPrintsTwoPagesIntoPdf)
{
    const std::string path = TempPdfPath("two-pages.pdf");
    DrivenPrinting printing(path);

    const DWORD flags = PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE | PD_HIDEPRINTTOFILE;
    CPrintDialog dlg(FALSE, flags);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    ASSERT_EQ(printing.Shown().size(), 1u);
    EXPECT_EQ(printing.Shown()[0], flags | PD_RETURNDC); // a print dialog returns its DC
    ASSERT_NE(dlg.GetPrinterDC(), nullptr);

    CDC dc;
    ASSERT_TRUE(dc.Attach(dlg.GetPrinterDC()));
    EXPECT_TRUE(dc.IsPrinting());
    EXPECT_EQ(dc.GetDeviceCaps(TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), kPaperW, 1);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALHEIGHT), kPaperH, 1);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETX), kMargin, 1);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETY), kMargin, 1);
    EXPECT_NEAR(dc.GetDeviceCaps(HORZRES), kPaperW - 2 * kMargin, 2);
    EXPECT_NEAR(dc.GetDeviceCaps(VERTRES), kPaperH - 2 * kMargin, 2);

    // Text is measured on the printer before any page, as the print set-up code does.
    CFont font;
    ASSERT_TRUE(font.CreateFont(-100, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, _T("Arial")));
    CFont* old = dc.SelectObject(&font);
    CSize extent = dc.GetTextExtent(CString(L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    dc.SelectObject(old);
    EXPECT_GE(extent.cy, 100);
    EXPECT_GT(extent.cx, 52 * 30);

    DOCINFO di{};
    di.cbSize = sizeof(di);
    di.lpszDocName = L"Chart";
    ASSERT_GT(dc.StartDoc(&di), 0);
    EXPECT_FALSE(FileExists(path)); // only a finished document makes the file
    PrintPage(dc, 1, CRect(600, 600, 1800, 1200), &font);
    PrintPage(dc, 2, CRect(300, 2000, 900, 2400), &font);
    ASSERT_GT(dc.EndDoc(), 0);

    ASSERT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".part"));
    ASSERT_EQ(CountPdfPages(path), 2);
    auto sizes = PdfPageSizes(path);
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_NEAR(sizes[0].cx, 595, 1); // A4 in points, portrait
    EXPECT_NEAR(sizes[0].cy, 842, 1);

    auto pages = PdfPageContents(path);
    ASSERT_EQ(pages.size(), 2u);
    // Each page holds its own rectangle at the device pixels drawn (within the pen's width).
    CRect r1 = PdfPathBounds(pages[0]);
    EXPECT_NEAR(r1.left, 600, 1);
    EXPECT_NEAR(r1.top, 600, 1);
    EXPECT_NEAR(r1.right, 1799, 1);
    EXPECT_NEAR(r1.bottom, 1199, 1);
    CRect r2 = PdfPathBounds(pages[1]);
    EXPECT_NEAR(r2.left, 300, 1);
    EXPECT_NEAR(r2.top, 2000, 1);
    EXPECT_NEAR(r2.right, 899, 1);
    EXPECT_NEAR(r2.bottom, 2399, 1);
    // The text is on page one only, in the 100-pixel font.
    auto sizes1 = PdfTextSizes(pages[0]);
    ASSERT_FALSE(sizes1.empty());
    EXPECT_NEAR(sizes1[0], 100, 15);
    EXPECT_NE(pages[0].find("Tj"), std::string::npos);
    EXPECT_EQ(pages[1].find("Tj"), std::string::npos);
}

TEST_F(PrintTest, DrawingOutsideAPageIsNotPrinted)
{
    const std::string path = TempPdfPath("outside.pdf");
    DrivenPrinting printing(path);
    CDC dc;
    ASSERT_NO_FATAL_FAILURE(AttachPrinterDC(dc));
    ASSERT_GT(dc.StartDoc(L"Doc"), 0);
    dc.Rectangle(10, 10, 20, 20); // before the first page
    ASSERT_GT(dc.StartPage(), 0);
    dc.Rectangle(1000, 1000, 1100, 1100);
    ASSERT_GT(dc.EndPage(), 0);
    dc.Rectangle(3000, 3000, 3100, 3100); // between pages
    ASSERT_GT(dc.EndDoc(), 0);
    auto pages = PdfPageContents(path);
    ASSERT_EQ(pages.size(), 1u);
    CRect r = PdfPathBounds(pages[0]);
    EXPECT_NEAR(r.left, 1000, 1);
    EXPECT_NEAR(r.bottom, 1099, 1);
}

TEST_F(PrintTest, AbortDocLeavesNoFileAndKeepsAnOlderOne)
{
    const std::string path = TempPdfPath("aborted.pdf");
    DrivenPrinting printing(path);
    {
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        dc.Rectangle(100, 100, 200, 200);
        ASSERT_GT(dc.EndPage(), 0);
        EXPECT_GT(dc.AbortDoc(), 0);
        EXPECT_FALSE(FileExists(path));
        EXPECT_FALSE(FileExists(path + ".part"));
        // The job is over: no more pages.
        EXPECT_EQ(dc.StartPage(), SP_ERROR);
        EXPECT_EQ(dc.EndDoc(), SP_ERROR);
    }
    {
        std::ofstream(path) << "older printout";
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        EXPECT_GT(dc.AbortDoc(), 0);
        EXPECT_EQ(ReadText(path), "older printout");
    }
    std::remove(path.c_str());
}

TEST_F(PrintTest, DeletingTheDcInTheMiddleOfAJobWritesNoFile)
{
    const std::string path = TempPdfPath("dropped.pdf");
    DrivenPrinting printing(path);
    {
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        dc.Rectangle(100, 100, 200, 200);
    } // the CDC deletes the printer DC
    CPrintDialog next(FALSE);
    ASSERT_EQ(next.DoModal(), IDOK);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".part"));
    // The next job on the same file prints normally.
    CDC dc;
    dc.Attach(next.GetPrinterDC());
    ASSERT_GT(dc.StartDoc(L"Doc"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    ASSERT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.EndDoc(), 0);
    EXPECT_EQ(CountPdfPages(path), 1);
}

TEST_F(PrintTest, JobStepsOutOfOrderFail)
{
    const std::string path = TempPdfPath("order.pdf");
    DrivenPrinting printing(path);
    CDC dc;
    ASSERT_NO_FATAL_FAILURE(AttachPrinterDC(dc));
    EXPECT_EQ(dc.StartPage(), SP_ERROR);
    EXPECT_EQ(dc.EndPage(), SP_ERROR);
    EXPECT_EQ(dc.EndDoc(), SP_ERROR);
    EXPECT_EQ(dc.AbortDoc(), SP_ERROR);
    ASSERT_GT(dc.StartDoc(L"Doc"), 0);
    EXPECT_EQ(dc.StartDoc(L"Again"), SP_ERROR);
    EXPECT_EQ(dc.EndPage(), SP_ERROR);
    ASSERT_GT(dc.StartPage(), 0);
    EXPECT_EQ(dc.StartPage(), SP_ERROR);
    // EndDoc closes the open page.
    ASSERT_GT(dc.EndDoc(), 0);
    EXPECT_EQ(CountPdfPages(path), 1);

    // A screen DC is no printer.
    CClientDC screen(nullptr);
    EXPECT_FALSE(screen.IsPrinting());
    EXPECT_EQ(screen.StartDoc(L"Doc"), SP_ERROR);
}

TEST_F(PrintTest, DialogWithoutADriverCancelsHeadless)
{
    if (std::getenv("QOR_TEST_DISPLAY")) GTEST_SKIP() << "a real display shows real print dialogs";
    const std::string path = TempPdfPath("undriven.pdf");
    qor::gui::SetPrintToFile(CString::FromUtf8(path));
    CPrintDialog dlg(FALSE);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetPrinterDC(), nullptr);
    CPrintDialog setup(TRUE);
    EXPECT_EQ(setup.DoModal(), IDCANCEL);
    qor::gui::SetPrintToFile(CString());
    EXPECT_FALSE(FileExists(path));
}

TEST_F(PrintTest, DriverCancelAndSetupOnlyMakeNoDc)
{
    DrivenPrinting printing(TempPdfPath("cancelled.pdf"), IDCANCEL);
    CPrintDialog dlg(FALSE);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetPrinterDC(), nullptr);

    printing.Answer(IDOK);
    CPrintDialog setup(TRUE);
    EXPECT_EQ(setup.DoModal(), IDOK);
    EXPECT_TRUE(setup.m_pd.Flags & PD_PRINTSETUP);
    EXPECT_FALSE(setup.m_pd.Flags & PD_RETURNDC);
    EXPECT_EQ(setup.GetPrinterDC(), nullptr);
    EXPECT_EQ(printing.Shown().size(), 2u);
}

TEST_F(PrintTest, DrivenOkWithNowhereToPrintCancels)
{
    if (std::getenv("QOR_TEST_DISPLAY")) GTEST_SKIP() << "a real display shows real print dialogs";
    // Headless without a PDF file there is no printer: the dialog cannot return a DC.
    auto previous = qor::gui::SetPrintDialogDriver([](CPrintDialog&) { return IDOK; });
    CPrintDialog dlg(FALSE);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.GetPrinterDC(), nullptr);
    EXPECT_FALSE(dlg.GetDefaults());
    qor::gui::SetPrintDialogDriver(std::move(previous));
}

TEST_F(PrintTest, EnvironmentVariablePrintsWithoutADialog)
{
    const std::string path = TempPdfPath("env.pdf");
    setenv("QOR_PRINT_TO_PDF", path.c_str(), 1);
    {
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        dc.Rectangle(100, 100, 400, 400);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    unsetenv("QOR_PRINT_TO_PDF");
    EXPECT_EQ(CountPdfPages(path), 1);
}

TEST_F(PrintTest, DefaultLandscapeTurnsThePage)
{
    const std::string path = TempPdfPath("landscape.pdf");
    DrivenPrinting printing(path);
    qor::gui::SetDefaultLandscape(true);
    EXPECT_TRUE(qor::gui::GetDefaultLandscape());
    CDC dc;
    ASSERT_NO_FATAL_FAILURE(AttachPrinterDC(dc));
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), kPaperH, 1);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALHEIGHT), kPaperW, 1);
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    ASSERT_GT(dc.StartDoc(L"Doc"), 0);
    ASSERT_GT(dc.StartPage(), 0);
    ASSERT_GT(dc.EndDoc(), 0);
    auto sizes = PdfPageSizes(path);
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_NEAR(sizes[0].cx, 842, 1);
    EXPECT_NEAR(sizes[0].cy, 595, 1);
}

TEST_F(PrintTest, PdfResolutionIsThePrintersResolution)
{
    const std::string path = TempPdfPath("300dpi.pdf");
    DrivenPrinting printing(path);
    qor::gui::SetPdfResolution(300);
    CDC dc;
    ASSERT_NO_FATAL_FAILURE(AttachPrinterDC(dc));
    qor::gui::SetPdfResolution(600);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALWIDTH), 2479, 1); // 595 / 72 * 300
    EXPECT_NEAR(dc.GetDeviceCaps(PHYSICALOFFSETX), 75, 1);
}

TEST_F(PrintTest, PrintInfoKeepsThePageRangeInItsDialog)
{
    CPrintInfo info;
    EXPECT_EQ(info.GetMinPage(), 1u);
    EXPECT_EQ(info.GetMaxPage(), 0xFFFFu);
    EXPECT_EQ(info.GetFromPage(), 1u);
    EXPECT_EQ(info.GetToPage(), 0xFFFFu);
    EXPECT_EQ(info.m_nCurPage, 1u);
    EXPECT_TRUE(info.m_bContinuePrinting);
    EXPECT_FALSE(info.m_bPreview);
    EXPECT_EQ(info.m_lpUserData, nullptr);
    EXPECT_EQ(info.m_nNumPreviewPages, 0u);
    info.SetMaxPage(90000); // a table of 900,000 rows in landscape
    EXPECT_EQ(info.GetMaxPage(), 90000u);
    info.SetMaxPage(3);
    EXPECT_EQ(info.GetMaxPage(), 3u);
    EXPECT_EQ(info.m_pPD->m_pd.nMaxPage, 3);
    info.m_nCurPage = 3;
    EXPECT_EQ(info.GetOffsetPage(), 2u);

    // The user picks pages 2 to 3 in the dialog.
    DrivenPrinting printing(TempPdfPath("range.pdf"));
    printing.OnDialog([](CPrintDialog& dlg) {
        dlg.m_pd.Flags |= PD_PAGENUMS;
        dlg.m_pd.nFromPage = 2;
        dlg.m_pd.nToPage = 3;
    });
    ASSERT_EQ(info.m_pPD->DoModal(), IDOK);
    EXPECT_TRUE(info.m_pPD->PrintRange());
    EXPECT_FALSE(info.m_pPD->PrintAll());
    EXPECT_EQ(info.m_pPD->GetFromPage(), 2);
    EXPECT_EQ(info.GetToPage(), 3u);
    EXPECT_EQ(CString(info.m_pPD->GetDeviceName()), CString(L"PDF"));
}

TEST_F(PrintTest, PrintInfoDeletesThePrinterDcLeftInItsDialog)
{
    DrivenPrinting printing(TempPdfPath("info.pdf"));
    HDC hdc = nullptr;
    {
        CPrintInfo info;
        ASSERT_EQ(info.m_pPD->DoModal(), IDOK);
        hdc = info.m_pPD->m_pd.hDC;
        ASSERT_NE(hdc, nullptr);
        EXPECT_EQ(::GetDeviceCaps(hdc, LOGPIXELSX), 600);
    }
    EXPECT_EQ(::GetDeviceCaps(hdc, LOGPIXELSX), 0); // no longer a DC
}

TEST_F(PrintTest, ThinLinesArePrintedAsLinesNotAsPixels)
{
    const std::string path = TempPdfPath("thin-lines.pdf");
    DrivenPrinting printing(path);
    CDC dc;
    ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
    // Fifty zigzags across the page with the one-pixel pen, as a plot of many load positions draws them:
    // one mark per device pixel would make some 200 000 marks.
    CPen thin(PS_SOLID, 1, RGB(128, 128, 128));
    CPen* old = dc.SelectObject(&thin);
    for (int k = 0; k < 50; ++k)
    {
        POINT pts[41];
        for (int i = 0; i < 41; ++i) pts[i] = POINT{200 + 100 * i, 1000 + 40 * k + (i % 2) * 30};
        dc.Polyline(pts, 41);
    }
    dc.SelectObject(old);
    ASSERT_GT(dc.EndPage(), 0);
    ASSERT_GT(dc.EndDoc(), 0);

    auto pages = PdfPageContents(path);
    ASSERT_EQ(pages.size(), 1u);
    const std::string& page = pages[0];
    EXPECT_LT(page.size(), 100'000u); // one mark per pixel made about 6 MB
    CRect ink = PdfPathBounds(page);
    EXPECT_NEAR(ink.left, 200, 1);
    EXPECT_NEAR(ink.right, 4200, 1);
    EXPECT_NEAR(ink.top, 1000, 1);
    EXPECT_NEAR(ink.bottom, 1000 + 40 * 49 + 30, 1);
}

namespace {

// A page of what charts and tables print: a scaled logical page, text in two faces and sizes,
// fills, a gradient, a bitmap, and some thousand thin lines partly clipped away.
void DrawSamplePage(CDC& dc)
{
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(1000, 1400);
    dc.SetViewportExt(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    CFont normal, bold;
    normal.CreateFont(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, _T("Arial"));
    bold.CreateFont(-20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, _T("Arial"));
    CFont* old = dc.SelectObject(&bold);
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(40, 30, CString(L"Bending moment (kNm)"));
    dc.SelectObject(&normal);
    CRect band(40, 80, 960, 110);
    dc.DrawText(CString(L"Page 1 of 2"), &band, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    CBrush fill(RGB(230, 240, 255));
    dc.FillRect(CRect(60, 150, 940, 700), &fill);
    TRIVERTEX v[2] = {{60, 720, 0xFF00, 0x8000, 0, 0}, {940, 800, 0, 0x8000, 0xFF00, 0}};
    GRADIENT_RECT mesh{0, 1};
    dc.GradientFill(v, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    CBitmap bitmap;
    bitmap.CreateBitmap(16, 16, 1, 32, nullptr);
    CBitmap* oldBitmap = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 16, 16, RGB(255, 0, 0));
    memory.FillSolidRect(4, 4, 8, 8, RGB(0, 0, 255));
    dc.StretchBlt(60, 820, 160, 160, &memory, 0, 0, 16, 16, SRCCOPY);
    memory.SelectObject(oldBitmap);
    dc.IntersectClipRect(60, 150, 940, 700);
    CPen thin(PS_SOLID, 1, RGB(160, 160, 160));
    CPen* oldPen = dc.SelectObject(&thin);
    std::vector<POINT> points;
    std::vector<DWORD> counts;
    for (int k = 0; k < 600; ++k)
    {
        points.push_back(POINT{20 + k % 400, 120 + (k * 7) % 600});
        points.push_back(POINT{980 - (k * 3) % 500, 200 + (k * 13) % 560});
        counts.push_back(2);
    }
    dc.PolyPolyline(points.data(), counts.data(), static_cast<int>(counts.size()));
    dc.SelectObject(oldPen);
    dc.SelectClipRgn(nullptr);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(60, 150, 940, 700);
    dc.SelectObject(oldBrush);
    dc.SelectObject(old);
}

} // namespace

// The pages of a job are drawn into recordings on the window thread and written to the printer by a
// writer of its own: the page looks as though drawn straight onto the printer.
TEST_F(PrintTest, ARecordedPagePrintsAsThoughDrawnStraightOntoThePrinter)
{
    const std::string recorded = TempPdfPath("recorded.pdf"), straight = TempPdfPath("straight.pdf");
    {
        DrivenPrinting printing(recorded);
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        DrawSamplePage(dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    {
        DrivenPrinting printing(straight);
        ASSERT_TRUE(PrintPageStraight(DrawSamplePage));
    }
    const std::vector<COLORREF> a = RenderPdfPage(recorded, 0, 620, 877), b = RenderPdfPage(straight, 0, 620, 877);
    ASSERT_EQ(a.size(), 620u * 877u);
    ASSERT_EQ(a.size(), b.size());
    std::size_t inked = 0, differ = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
    {
        inked += a[i] != RGB(255, 255, 255);
        differ += a[i] != b[i];
    }
    EXPECT_GT(inked, a.size() / 5);
    EXPECT_EQ(differ, 0u);
}

namespace {

// A window that counts the print commands it gets (the view a preview prints).
class PrintRequests : public CWnd
{
public:
    int requests = 0;

protected:
    void OnFilePrint() { ++requests; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PrintRequests, CWnd)
ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
END_MESSAGE_MAP()

CString TextOf(CWnd* wnd)
{
    CString text;
    if (wnd) wnd->GetWindowText(text);
    return text;
}

} // namespace

TEST_F(PrintTest, PreviewBarTurnsPagesShowsTwoAndZooms)
{
    const std::string path = TempPdfPath("bar.pdf");
    {
        DrivenPrinting printing(path);
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        ASSERT_GT(dc.EndPage(), 0);
        for (int page = 2; page <= 3; ++page)
        {
            ASSERT_GT(dc.StartPage(), 0);
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0);
    }
    CPrintPreviewWnd* preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case");
    ASSERT_NE(preview, nullptr);
    Pump();
    CWnd* next = preview->GetDlgItem(AFX_ID_PREVIEW_NEXT);
    CWnd* prev = preview->GetDlgItem(AFX_ID_PREVIEW_PREV);
    CWnd* numPage = preview->GetDlgItem(AFX_ID_PREVIEW_NUMPAGE);
    CWnd* zoomIn = preview->GetDlgItem(AFX_ID_PREVIEW_ZOOMIN);
    CWnd* zoomOut = preview->GetDlgItem(AFX_ID_PREVIEW_ZOOMOUT);
    ASSERT_TRUE(next && prev && numPage && zoomIn && zoomOut && preview->GetDlgItem(AFX_ID_PREVIEW_PRINT));
    CWnd* pageText = nullptr;
    for (CWnd* c = preview->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT))
        if (TextOf(c).Left(4) == L"Page") pageText = c;
    ASSERT_NE(pageText, nullptr);
    EXPECT_EQ(TextOf(pageText), CString(L"Page 1"));
    EXPECT_FALSE(prev->IsWindowEnabled());
    EXPECT_FALSE(zoomOut->IsWindowEnabled());

    // The whole page in the window, drawn white on the grey behind it.
    const CRect first = preview->GetPageRect(1);
    CRect client;
    preview->GetClientRect(&client);
    EXPECT_LE(first.Height(), client.Height());
    EXPECT_EQ(SurfacePixel(preview, first.CenterPoint().x, first.CenterPoint().y), RGB(255, 255, 255));
    EXPECT_EQ(SurfacePixel(preview, 2, client.bottom - 2), GetSysColor(COLOR_APPWORKSPACE));

    // Two pages side by side, then on to the last page, which shows alone.
    Click(numPage, CPoint(5, 5));
    Pump();
    EXPECT_EQ(TextOf(numPage), CString(L"&One Page"));
    EXPECT_EQ(TextOf(pageText), CString(L"Pages 1-2"));
    const CRect left = preview->GetPageRect(1), right = preview->GetPageRect(2);
    EXPECT_LT(left.right, right.left);
    EXPECT_EQ(left.top, right.top);
    Click(next, CPoint(5, 5));
    Pump();
    EXPECT_EQ(TextOf(pageText), CString(L"Page 3"));
    EXPECT_FALSE(next->IsWindowEnabled());
    Click(prev, CPoint(5, 5));
    Pump();
    EXPECT_EQ(TextOf(pageText), CString(L"Pages 1-2"));

    // Zoomed in: one page as wide as the window, then twice that, scrolled by the bars; zoomed out again.
    Click(zoomIn, CPoint(5, 5));
    Pump();
    EXPECT_EQ(preview->GetPagesShown(), 1);
    EXPECT_FALSE(numPage->IsWindowEnabled());
    const CRect wide = preview->GetPageRect(1);
    EXPECT_GT(wide.Width(), first.Width());
    EXPECT_TRUE(preview->GetStyle() & WS_VSCROLL);
    preview->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_LT(preview->GetPageRect(1).top, wide.top);
    Click(zoomIn, CPoint(5, 5));
    Pump();
    EXPECT_NEAR(preview->GetPageRect(1).Width(), 2 * wide.Width(), 2);
    EXPECT_FALSE(zoomIn->IsWindowEnabled());
    Click(zoomOut, CPoint(5, 5));
    Click(zoomOut, CPoint(5, 5));
    Pump();
    EXPECT_EQ(preview->GetZoom(), 0);
    EXPECT_EQ(preview->GetPageRect(1), first);

    // The bar's keys, wherever the focus is in the window: Alt with the underlined letter presses the
    // button (not a disabled one), Escape closes the preview.
    CWnd* print = preview->GetDlgItem(AFX_ID_PREVIEW_PRINT);
    print->SetFocus();
    KeyPress(print, 'V', L'v', 0, true);
    Pump();
    EXPECT_EQ(TextOf(pageText), CString(L"Page 1")) << "Prev Page is disabled on the first page";
    KeyPress(print, 'N', L'n', 0, true);
    Pump();
    EXPECT_EQ(TextOf(pageText), CString(L"Page 2"));
    KeyPress(print, 'I', L'i', 0, true);
    Pump();
    EXPECT_EQ(preview->GetZoom(), 1);
    const HWND shown = preview->m_hWnd;
    KeyPress(print, VK_ESCAPE);
    Pump();
    EXPECT_FALSE(IsWindow(shown));
}

TEST_F(PrintTest, PreviewWindowShowsThePagesAndTakesItsFileAwayWhenClosed)
{
    const std::string path = TempPdfPath("preview.pdf");
    {
        DrivenPrinting printing(path);
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        dc.Rectangle(600, 600, 1800, 1200);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.StartPage(), 0);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    ASSERT_TRUE(FileExists(path));
    const std::string written = path + ".copy";
    std::ofstream(written, std::ios::binary) << ReadText(path);
    CPrintPreviewWnd* preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case");
    ASSERT_NE(preview, nullptr);
    const HWND h = preview->m_hWnd;
    EXPECT_TRUE(preview->IsWindowVisible());
    EXPECT_EQ(preview->GetPageCount(), 2);
    CString title;
    preview->GetWindowText(title);
    EXPECT_EQ(title, CString(L"Case - Print Preview"));

    // The preview-close command closes it; its file goes with it.
    preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_FALSE(FileExists(path));

    // Escape closes it too, also when the pages have the keys.
    std::ofstream(path, std::ios::binary) << ReadText(written);
    preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case");
    ASSERT_NE(preview, nullptr);
    const HWND escaped = preview->m_hWnd;
    KeyPress(preview, VK_ESCAPE);
    Pump();
    EXPECT_FALSE(IsWindow(escaped));

    // And so does its Close button.
    std::ofstream(path, std::ios::binary) << ReadText(written);
    preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case");
    ASSERT_NE(preview, nullptr);
    const HWND closed = preview->m_hWnd;
    CWnd* close = preview->GetDlgItem(IDCANCEL);
    ASSERT_NE(close, nullptr);
    Click(close, CPoint(10, 10));
    Pump();
    EXPECT_FALSE(IsWindow(closed));

    // Print... closes it and asks the view previewed to print.
    std::ofstream(path, std::ios::binary) << ReadText(written);
    PrintRequests view;
    ASSERT_TRUE(view.CreateEx(0, nullptr, L"view", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case", nullptr, &view);
    ASSERT_NE(preview, nullptr);
    const HWND printed = preview->m_hWnd;
    Click(preview->GetDlgItem(AFX_ID_PREVIEW_PRINT), CPoint(10, 10));
    Pump();
    EXPECT_FALSE(IsWindow(printed));
    EXPECT_EQ(view.requests, 1);
    view.DestroyWindow();

    // Owned by the program's window, it goes when that window goes.
    std::ofstream(path, std::ios::binary) << ReadText(written);
    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    preview = CPrintPreviewWnd::Open(CString(path.c_str()), L"Case", &owner);
    ASSERT_NE(preview, nullptr);
    const HWND owned = preview->m_hWnd;
    owner.DestroyWindow();
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(FileExists(path));

    // A file that is no PDF opens no window and is not left behind.
    const std::string bad = TempPdfPath("not-a.pdf");
    std::ofstream(bad) << "not a PDF";
    EXPECT_EQ(CPrintPreviewWnd::Open(CString(bad.c_str()), L"Case"), nullptr);
    EXPECT_FALSE(FileExists(bad));
    std::remove(written.c_str());
}

// The help pane's viewer draws every page it scrolls to at once, rendered for the pixels it shows it at:
// what the second page shows right after the scroll is the page itself, not a scaled placeholder.
TEST_F(PrintTest, ThePdfViewShowsEachPageSharpAsSoonAsItIsScrolledTo)
{
    const std::string path = TempPdfPath("three-pages.pdf");
    {
        DrivenPrinting printing(path);
        CDC dc;
        ASSERT_NO_FATAL_FAILURE(StartPrintJob(dc));
        CFont font;
        font.CreatePointFont(240, L"Liberation Sans", &dc);
        for (int page = 1; page <= 3; ++page)
        {
            if (page > 1)
            {
                ASSERT_GT(dc.StartPage(), 0);
            }
            CFont* old = dc.SelectObject(&font);
            for (int line = 0; line < 12; ++line)
                dc.TextOut(300, 300 + line * 500, CString(L"Page ") + CString(std::to_wstring(page).c_str()));
            dc.SelectObject(old);
            ASSERT_GT(dc.EndPage(), 0);
        }
        ASSERT_GT(dc.EndDoc(), 0);
    }
    CWnd top;
    ASSERT_TRUE(top.CreateEx(0, nullptr, L"pdf", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 360, 420), nullptr, 0));
    CPdfViewCtrl view;
    ASSERT_TRUE(view.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 340, 400), &top, 1081));
    ASSERT_TRUE(view.LoadFile(CString(path.c_str())));
    EXPECT_EQ(view.GetPageCount(), 3);
    Pump();

    // Down to the second page by its keys, as the user scrolls through the manual.
    RECT second{};
    for (int i = 0; i < 60; ++i)
    {
        ASSERT_TRUE(view.SendMessage(PDFM_GETPAGERECT, 1, reinterpret_cast<LPARAM>(&second)));
        if (second.top <= 20) break;
        qor::test::KeyPress(&view, VK_DOWN);
    }
    ASSERT_LE(second.top, 20);
    int width = 0, height = 0;
    const std::vector<COLORREF> shown = qor::test::ShownPixels(&view, &width, &height);
    const CRect page(second);
    const std::vector<COLORREF> sharp = qor::test::RenderPdfPage(path, 1, page.Width(), page.Height());
    ASSERT_EQ(sharp.size(), static_cast<size_t>(page.Width() * page.Height()));
    int compared = 0, different = 0, ink = 0;
    for (int y = std::max<LONG>(0, page.top); y < std::min<LONG>(height, page.bottom); ++y)
        // The page is drawn in the band between the gaps at the sides (and the scroll bar): its margins
        // beyond them are not in view.
        for (int x = std::max<LONG>(8, page.left);
             x < std::min<LONG>(width - 8 - GetSystemMetrics(SM_CXVSCROLL), page.right); ++x)
        {
            const COLORREF a = shown[static_cast<size_t>(y * width + x)];
            const COLORREF b = sharp[static_cast<size_t>((y - page.top) * page.Width() + (x - page.left))];
            ++compared;
            ink += GetRValue(b) < 100;
            different += std::abs(GetRValue(a) - GetRValue(b)) > 24 || std::abs(GetGValue(a) - GetGValue(b)) > 24;
        }
    EXPECT_GT(ink, 200) << "the page has text to compare";
    EXPECT_LT(different * 33, compared) << different << " of " << compared << " pixels differ from the page";

    // What is printed fills the view's width, not the page with its margins; again when the view is made
    // wider.
    auto printedSpan = [&] {
        Pump();
        int w = 0, h = 0;
        const std::vector<COLORREF> pixels = qor::test::ShownPixels(&view, &w, &h);
        int left = w, right = -1;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w - 20; ++x) // the scroll bar left out
                if (GetRValue(pixels[static_cast<size_t>(y * w + x)]) < 100)
                    left = std::min(left, x), right = std::max(right, x);
        return std::make_pair(left, right);
    };
    view.MoveWindow(0, 0, 340, 400);
    const auto narrow = printedSpan();
    view.MoveWindow(0, 0, 600, 400);
    const auto wide = printedSpan();
    ASSERT_GT(narrow.second, narrow.first);
    const int band = 2 * 8 + GetSystemMetrics(SM_CXVSCROLL);
    const double widened = (600.0 - band) / (340.0 - band);
    EXPECT_NEAR((wide.first - 8) / double(narrow.first - 8), widened, 0.1);
    EXPECT_NEAR((wide.second - 8) / double(narrow.second - 8), widened, 0.1);
    EXPECT_GT(wide.second - wide.first, (600 - band) / 2) << "the printed part, not the whole page, fills the view";
    top.DestroyWindow();
}

namespace {

// A page header's title as it was drawn when the whole title was measured and wrapped: what the
// header must still show, pixel for pixel.
void DrawTitleMeasuredWhole(CDC* pDC, const CString& title, const CRect& band, int reserve, CFont& font)
{
    if (pDC->GetTextExtent(title).cx <= band.Width() - 2 * reserve)
    {
        CRect line = band;
        pDC->DrawText(title, &line, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        return;
    }
    const UINT format = DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
    CRect titleBand = band;
    titleBand.right -= reserve;
    LOGFONT lf{};
    font.GetLogFont(&lf);
    CFont smaller;
    CRect need = titleBand;
    for (int step = 0;; ++step)
    {
        need = titleBand;
        pDC->DrawText(title, &need, format | DT_CALCRECT);
        if (need.Height() <= titleBand.Height() || step == 4 || std::abs(lf.lfHeight) < 5) break;
        lf.lfHeight = lf.lfHeight * 5 / 6;
        pDC->SelectObject(&font);
        smaller.DeleteObject();
        smaller.CreateFontIndirect(&lf);
        pDC->SelectObject(&smaller);
    }
    if (need.Height() > titleBand.Height())
    {
        // A title the header cannot hold shows the lines that fit whole.
        CRect line = titleBand;
        pDC->DrawText(L"X", -1, &line, format | DT_CALCRECT);
        int lines = titleBand.Height() / line.Height() + 1;
        CRect whole = titleBand;
        do {
            CString x(L"X");
            for (int i = 1; i < lines; ++i) x += L"\nX";
            whole = titleBand;
            pDC->DrawText(x, &whole, format | DT_CALCRECT);
        } while (whole.Height() > titleBand.Height() && --lines > 1);
        titleBand.bottom = std::min(titleBand.bottom, titleBand.top + whole.Height());
    }
    titleBand.top += std::max(0, (titleBand.Height() - need.Height()) / 2);
    pDC->DrawText(title, &titleBand, format);
    pDC->SelectObject(&font);
}

// A header band drawn on a white page, as the printer maps it (logical units twice the pixels).
struct HeaderPage : gdi_test::Canvas
{
    CFont bold;
    static constexpr int kW = 900, kH = 60;
    explicit HeaderPage(bool scaled) : Canvas(kW, kH)
    {
        LOGFONT lf = gdi_test::MakeLogFont(scaled ? -28 : -14, L"Arial", FW_BOLD);
        EXPECT_TRUE(bold.CreateFontIndirect(&lf));
        dc.SelectObject(&bold);
        dc.SetBkMode(TRANSPARENT);
        if (scaled)
        {
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(2 * kW, 2 * kH);
            dc.SetViewportExt(kW, kH);
        }
    }
    CRect Band() const { return dc.GetMapMode() == MM_TEXT ? CRect(10, 8, 890, 52) : CRect(20, 16, 1780, 104); }
    int Reserve() const { return dc.GetMapMode() == MM_TEXT ? 90 : 180; }
    // Where the pixels differ from the other page's (empty when nowhere).
    std::string Differs(const HeaderPage& other) const
    {
        int count = 0;
        std::string first;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (At(x, y) != other.At(x, y) && count++ == 0) first = std::to_string(x) + "," + std::to_string(y);
        return count ? std::to_string(count) + " pixels, the first at " + first : std::string();
    }
};

std::wstring Repeated(const wchar_t* piece, size_t length)
{
    std::wstring text;
    while (text.size() < length) text += piece;
    return text;
}

} // namespace

TEST(PrintedTitle, DrawsWhatTheWholeTitleDrewMeasuringOnlyWhatTheHeaderShows)
{
    // Titles drawn by the header and as they were when measured whole, pixel for pixel: a short
    // one centred, one wrapped in a smaller type, one of 700 characters that fits after shrinking,
    // and ones of 3000 characters that never fit; on a plain page and on one mapped as a printer.
    const std::wstring words = Repeated(L"Viaduct over the river Ouse, span ", 3000);
    const std::vector<std::wstring> titles = {
        L"Moving Load: BM & SF - 15-20-15 m - Six-axle truck",
        L"Critical Ratios: BM & SF | Reference collection: Northern network, bridges of one to three spans from "
        L"1 m to 50 m | Proposed: Heavy vehicle with a quad-axle group and a tri-axle dolly",
        words.substr(0, 700),
        words,
        Repeated(L"Bridge\r\n12 & girders ", 3000),
        Repeated(L"ViaductOverTheRiver", 3000)};
    for (bool scaled : {false, true})
        for (const std::wstring& text : titles)
        {
            HeaderPage now(scaled), before(scaled);
            const CString title(text.c_str());
            qor::gui::DrawPrintedTitle(&now.dc, title, now.Band(), now.Reserve(), now.bold);
            DrawTitleMeasuredWhole(&before.dc, title, before.Band(), before.Reserve(), before.bold);
            EXPECT_EQ(now.Differs(before), "") << text.size() << " characters, scaled " << scaled;
            EXPECT_GT(now.CountNot(CRect(0, 0, HeaderPage::kW, HeaderPage::kH), gdi_test::kWhite), 100);
        }

    // Titles of 5 MB (words, lines, one word without blanks): the header shows what a title that it
    // cannot hold shows (as their first 3000 characters show), in a time that measuring and wrapping
    // the whole title at each of the five sizes is far beyond.
    using Clock = std::chrono::steady_clock;
    double seconds = 0;
    for (const wchar_t* piece :
         {L"Viaduct over the river Ouse, span ", L"Bridge\r\n12 & girders ", L"ViaductOverTheRiver"})
    {
        const std::wstring text = Repeated(piece, 5u << 20);
        const CString huge(text.c_str()), start(text.substr(0, 3000).c_str());
        for (bool scaled : {false, true})
        {
            HeaderPage now(scaled), before(scaled);
            const auto t0 = Clock::now();
            qor::gui::DrawPrintedTitle(&now.dc, huge, now.Band(), now.Reserve(), now.bold);
            seconds += std::chrono::duration<double>(Clock::now() - t0).count();
            DrawTitleMeasuredWhole(&before.dc, start, before.Band(), before.Reserve(), before.bold);
            EXPECT_EQ(now.Differs(before), "") << piece << ", scaled " << scaled;
        }
    }
    EXPECT_LT(seconds, 3.0); // measured whole: 18 s here, and the titles of words printed an empty header
}
