// Printing the grid: pagination, the pages written to the printer (a PDF here), and what each
// page draws: header, repeated column and row headings, the body rows, footer.
#include "grid_test_util.h"
#include "platform/test/PrintTest.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

using namespace gridtest;
using namespace qor::test;

namespace {

// A printer DC that records every text drawn (the cells', the header's and the footer's).
class CRecordingDC : public CDC
{
public:
    using CDC::DrawText;
    std::vector<CString> texts;
    std::vector<CString> cutShort; // texts wider than the cell they were drawn in

    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) override
    {
        texts.emplace_back(lpszString, nCount < 0 ? static_cast<int>(std::wcslen(lpszString)) : nCount);
        // A unit over is rounding.
        // (A text wrapped at its words is cut short when its lines do not fit the rectangle's height.)
        if (nFormat & DT_WORDBREAK)
        {
            CRect need(*lpRect);
            CDC::DrawText(lpszString, nCount, &need, nFormat | DT_CALCRECT);
            if (!(nFormat & DT_CALCRECT) && need.Height() > lpRect->bottom - lpRect->top + 1)
                cutShort.push_back(texts.back());
        }
        else if (!(nFormat & DT_CALCRECT) && texts.back().GetLength() < 4096 && // (a name of megabytes: cut)
                 GetTextExtent(texts.back()).cx > lpRect->right - lpRect->left + 1)
            cutShort.push_back(texts.back());
        return CDC::DrawText(lpszString, nCount, lpRect, nFormat);
    }
    bool Has(const CString& text) const { return std::find(texts.begin(), texts.end(), text) != texts.end(); }
};

// A grid that shows its print metrics.
class CPrintGrid : public CGridCtrl
{
public:
    int PageHeight() const { return m_nPageHeight; }
    int PageWidth() const { return m_nPageWidth; }
    int PageMultiplier() const { return m_nPageMultiplier; }
    CSize LogicalPage() const { return m_LogicalPageSize; }
    CSize CharSize() const { return m_CharSize; }
};

constexpr int kRowHeight = 20, kColWidth = 100, kFixedColWidth = 60;

class GridPrint : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { InitApp(); }

    void SetUp() override
    {
        qor::gui::SetDefaultLandscape(false);
        ASSERT_TRUE(m_host.CreateHost(500, 400));
        m_host.SetWindowText(L"Moving load - Grid");
        ASSERT_TRUE(m_grid.Create(CRect(0, 0, 480, 380), &m_host, 1));
    }
    void TearDown() override
    {
        m_grid.DestroyWindow();
        m_host.DestroyWindow();
    }

    // rows x cols with one fixed row and column; texts "H<c>" (headings), "R<r>" (row
    // headings), "<r>.<c>" (body).
    void Shape(int rows, int cols, int colWidth = kColWidth)
    {
        m_grid.SetRowCount(rows);
        m_grid.SetColumnCount(cols);
        m_grid.SetFixedRowCount(1);
        m_grid.SetFixedColumnCount(1);
        for (int r = 0; r < rows; r++) m_grid.SetRowHeight(r, kRowHeight);
        m_grid.SetColumnWidth(0, kFixedColWidth);
        for (int c = 1; c < cols; c++) m_grid.SetColumnWidth(c, colWidth);
        for (int c = 1; c < cols; c++) m_grid.SetItemText(0, c, Heading(c));
        for (int r = 1; r < rows; r++)
        {
            m_grid.SetItemText(r, 0, RowHeading(r));
            for (int c = 1; c < cols; c++) m_grid.SetItemText(r, c, Body(r, c));
        }
    }
    static CString Heading(int c)
    {
        CString s;
        s.Format(L"H%d", c);
        return s;
    }
    static CString RowHeading(int r)
    {
        CString s;
        s.Format(L"R%d", r);
        return s;
    }
    static CString Body(int r, int c)
    {
        CString s;
        s.Format(L"%d.%d", r, c);
        return s;
    }

    // Runs the print cycle as the grid view does, into the PDF file; the texts of each page.
    std::vector<std::vector<CString>> PrintAll(const std::string& pdf, UINT* pPages = nullptr)
    {
        std::vector<std::vector<CString>> pages;
        DrivenPrinting printing(pdf);
        CPrintDialog dlg(FALSE);
        EXPECT_EQ(dlg.DoModal(), IDOK);
        CRecordingDC dc;
        dc.Attach(dlg.GetPrinterDC());
        EXPECT_GT(dc.StartDoc(L"Grid"), 0);
        CPrintInfo info;
        m_grid.OnBeginPrinting(&dc, &info);
        if (pPages) *pPages = info.GetMaxPage();
        for (UINT page = 1; page <= info.GetMaxPage(); page++)
        {
            EXPECT_GT(dc.StartPage(), 0);
            info.m_nCurPage = page;
            dc.texts.clear();
            m_grid.OnPrint(&dc, &info);
            pages.push_back(dc.texts);
            m_cutShort.insert(m_cutShort.end(), dc.cutShort.begin(), dc.cutShort.end());
            EXPECT_GT(dc.EndPage(), 0);
        }
        EXPECT_GT(dc.EndDoc(), 0);
        m_grid.OnEndPrinting(&dc, &info);
        return pages;
    }

    // Rows that fit on one page, worked from the page height the grid computed.
    int RowsPerPage()
    {
        std::string pdf = TempPdfPath("probe.pdf");
        PrintAll(pdf);
        return m_grid.PageHeight() / kRowHeight;
    }

    static bool Has(const std::vector<CString>& texts, const CString& text)
    {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    CHostWnd m_host;
    CPrintGrid m_grid;
    std::vector<CString> m_cutShort;
};

} // namespace

TEST_F(GridPrint, PageMetricsFitTheGridWidthOnThePaper)
{
    Shape(5, 4);
    PrintAll(TempPdfPath("metrics.pdf"));
    const CSize ch = m_grid.CharSize();
    ASSERT_GT(ch.cx, 0);
    ASSERT_GT(ch.cy, 0);
    const int margins = 8 * ch.cx;
    const CSize page = m_grid.LogicalPage();
    EXPECT_EQ(page.cx, kFixedColWidth + 3 * kColWidth + margins);
    // Portrait paper: the page is taller than wide in the paper's proportion.
    EXPECT_GT(page.cy, page.cx);
    EXPECT_EQ(m_grid.PageHeight(), page.cy - kRowHeight - 6 * ch.cy);
    EXPECT_EQ(m_grid.PageWidth(), page.cx - kFixedColWidth - margins);
    EXPECT_EQ(m_grid.PageMultiplier(), 1);
}

TEST_F(GridPrint, ThreePagesWithHeaderFooterAndRepeatedHeadings)
{
    Shape(2, 4);
    const int perPage = RowsPerPage();
    ASSERT_GT(perPage, 3);
    // Two full pages and half of a third.
    const int dataRows = 2 * perPage + perPage / 2;
    Shape(1 + dataRows, 4);
    m_grid.SetPrintTitle(L"Critical Ratios: BM & SF | Set 1");

    const std::string pdf = TempPdfPath("three-pages.pdf");
    UINT maxPage = 0;
    const auto pages = PrintAll(pdf, &maxPage);
    EXPECT_EQ(maxPage, 3u);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(CountPdfPages(pdf), 3);

    char year[8];
    const std::time_t now = std::time(nullptr);
    std::strftime(year, sizeof(year), "%Y", std::localtime(&now));

    for (int p = 0; p < 3; p++)
    {
        const auto& texts = pages[static_cast<size_t>(p)];
        CString footer;
        footer.Format(L"Page %d of 3", p + 1);
        EXPECT_TRUE(Has(texts, L"Critical Ratios: BM & SF | Set 1")) << "page " << p + 1;
        EXPECT_TRUE(Has(texts, L"Kestrain QOR")) << "page " << p + 1;
        EXPECT_TRUE(Has(texts, footer)) << "page " << p + 1;
        // The date and time ("%c") is the last text of the footer.
        ASSERT_FALSE(texts.empty());
        EXPECT_GE(texts.back().Find(CString(year)), 0) << texts.back().ToUtf8();
        // Column headings on every page.
        for (int c = 1; c < 4; c++) EXPECT_TRUE(Has(texts, Heading(c))) << "page " << p + 1 << " col " << c;

        // Exactly this page's rows, with their row headings.
        const int first = 1 + p * perPage;
        const int last = std::min(dataRows, (p + 1) * perPage);
        for (int r = 1; r <= dataRows; r++)
        {
            const bool here = r >= first && r <= last;
            EXPECT_EQ(Has(texts, RowHeading(r)), here) << "page " << p + 1 << " row " << r;
            EXPECT_EQ(Has(texts, Body(r, 3)), here) << "page " << p + 1 << " row " << r;
        }
    }

    const auto contents = PdfPageContents(pdf);
    ASSERT_EQ(contents.size(), 3u);
    for (const auto& content : contents) EXPECT_FALSE(PdfTextSizes(content).empty());
}

TEST_F(GridPrint, OnePageGridSaysPageOneOfOneAndTitlesDefault)
{
    Shape(4, 3);
    const std::string pdf = TempPdfPath("one-page.pdf");
    const auto pages = PrintAll(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(CountPdfPages(pdf), 1);
    // No titles set: the parent's title in the centre, the application's on the right.
    EXPECT_TRUE(Has(pages[0], L"Moving load - Grid"));
    EXPECT_TRUE(Has(pages[0], L"Kestrain QOR"));
    EXPECT_TRUE(Has(pages[0], L"Page 1 of 1"));
    EXPECT_TRUE(Has(pages[0], Body(3, 2)));
}

TEST_F(GridPrint, WideGridIsScaledOntoOnePageAcross)
{
    Shape(3, 21, 200);
    const auto pages = PrintAll(TempPdfPath("wide.pdf"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(m_grid.PageMultiplier(), 1);
    EXPECT_TRUE(Has(pages[0], Heading(1)));
    EXPECT_TRUE(Has(pages[0], Heading(20)));
    EXPECT_TRUE(Has(pages[0], Body(2, 20)));
}

TEST_F(GridPrint, ScaledPrintingSplitsColumnsAcrossPages)
{
    m_grid.SetScaledPrinting(TRUE);
    Shape(2, 2, 200);
    const std::string probe = TempPdfPath("scaled-probe.pdf");
    PrintAll(probe);
    const int colsPerPage = m_grid.PageWidth() / 200;
    const int rowsPerPage = m_grid.PageHeight() / kRowHeight;
    ASSERT_GE(colsPerPage, 1);
    ASSERT_GE(rowsPerPage, 2);

    // Three column pages and two row pages.
    const int dataCols = 3 * colsPerPage;
    const int dataRows = rowsPerPage + 1;
    Shape(1 + dataRows, 1 + dataCols, 200);
    const std::string pdf = TempPdfPath("scaled.pdf");
    const auto pages = PrintAll(pdf);
    EXPECT_EQ(m_grid.PageMultiplier(), 3);
    ASSERT_EQ(pages.size(), 6u);
    EXPECT_EQ(CountPdfPages(pdf), 6);

    // Page 4: the first column page of the second row page.
    const auto& page4 = pages[3];
    EXPECT_TRUE(Has(page4, L"Page 4 of 6"));
    EXPECT_TRUE(Has(page4, Heading(1)));
    EXPECT_FALSE(Has(page4, Heading(colsPerPage + 1)));
    EXPECT_TRUE(Has(page4, RowHeading(dataRows)));
    EXPECT_TRUE(Has(page4, Body(dataRows, 1)));
    EXPECT_FALSE(Has(page4, Body(1, 1)));
    // Page 3: the last column page of the first rows.
    const auto& page3 = pages[2];
    EXPECT_TRUE(Has(page3, Heading(dataCols)));
    EXPECT_FALSE(Has(page3, Heading(1)));
    EXPECT_TRUE(Has(page3, Body(1, dataCols)));
    EXPECT_TRUE(Has(page3, RowHeading(1)));
}

TEST_F(GridPrint, RowTallerThanAPageGetsAPageOfItsOwn)
{
    Shape(4, 3);
    PrintAll(TempPdfPath("tall-probe.pdf"));
    m_grid.SetRowHeight(2, m_grid.PageHeight() + 50);
    UINT maxPage = 0;
    const auto pages = PrintAll(TempPdfPath("tall.pdf"), &maxPage);
    // Row 1, then the tall row 2 alone, then row 3: no empty page, no row lost.
    ASSERT_EQ(maxPage, 3u);
    EXPECT_TRUE(Has(pages[0], Body(1, 1)));
    EXPECT_TRUE(Has(pages[1], Body(2, 1)));
    EXPECT_FALSE(Has(pages[1], Body(3, 1)));
    EXPECT_TRUE(Has(pages[2], Body(3, 1)));
}

TEST(GridPrintNoWindow, PrintsNothingWithoutAWindow)
{
    InitApp();
    const std::string pdf = TempPdfPath("none.pdf");
    DrivenPrinting printing(pdf);
    CPrintDialog dlg(FALSE);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    CRecordingDC dc;
    dc.Attach(dlg.GetPrinterDC());
    CGridCtrl grid(3, 3);
    CPrintInfo info;
    info.SetMaxPage(0xFFFF);
    grid.OnBeginPrinting(&dc, &info);
    EXPECT_EQ(info.GetMaxPage(), 0xFFFFu);
    grid.OnPrint(&dc, &info);
    EXPECT_TRUE(dc.texts.empty());
    grid.OnBeginPrinting(nullptr, &info);
    grid.OnPrint(&dc, nullptr);
    grid.OnEndPrinting(&dc, &info);
}

// Columns sized to their texts print them at their own size; columns narrower than their texts
// on paper (as a dense screen measures them) print them smaller, but whole.
TEST_F(GridPrint, PrintedTextsKeepTheirColumns)
{
    Shape(4, 4);
    m_grid.SetItemText(0, 1, L"Bridge Span");
    m_grid.SetItemText(1, 2, L"0.987654321");
    m_grid.SetItemText(2, 3, L"1234567.890123");
    m_grid.AutoSizeColumns();
    std::vector<int> sized;
    for (int col = 0; col < 4; col++) sized.push_back(m_grid.GetColumnWidth(col));
    PrintAll(TempPdfPath("sized.pdf"));
    EXPECT_EQ(m_grid.GetPrintTextScale(), 1.0);
    EXPECT_TRUE(m_cutShort.empty());

    for (int col = 0; col < 4; col++) m_grid.SetColumnWidth(col, m_grid.GetColumnWidth(col) * 87 / 100);
    PrintAll(TempPdfPath("narrow.pdf"));
    const double narrow = m_grid.GetPrintTextScale();
    EXPECT_LT(narrow, 0.95);
    EXPECT_TRUE(m_cutShort.empty());

    // A name of 5 MB in a cell is cut on paper as on the screen: the other texts keep the size they
    // print at (shrunk to fit it, the table printed at a ten-thousandth).
    std::wstring huge = L"Truck";
    while (huge.size() < (5u << 20)) huge += L" over the river and the railway yards";
    m_grid.SetItemText(3, 1, CString(huge.c_str()));
    const auto pages = PrintAll(TempPdfPath("long-name.pdf"));
    EXPECT_EQ(m_grid.GetPrintTextScale(), narrow);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(Has(pages[0], L"1234567.890123"));

    // Sized to its texts, the name's column is as wide as the screens (and its margins), no wider: only a
    // start of the name is measured. The other columns take their texts' widths as before, and the table
    // prints at their size on a page about a screen wide (made 27 million pixels wide, it printed microscopic).
    const int screens = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const auto start = std::chrono::steady_clock::now();
    m_grid.AutoSizeColumns();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(m_grid.GetColumnWidth(1), screens);
    EXPECT_LE(m_grid.GetColumnWidth(1), screens + 16);
    for (int col : {0, 2, 3}) EXPECT_EQ(m_grid.GetColumnWidth(col), sized[static_cast<size_t>(col)]) << col;
    const auto bounded = PrintAll(TempPdfPath("long-name-sized.pdf"));
    ASSERT_EQ(bounded.size(), 1u);
    EXPECT_EQ(m_grid.GetPrintTextScale(), 1.0);
    EXPECT_LE(m_grid.LogicalPage().cx, screens + 500);
    EXPECT_TRUE(Has(bounded[0], L"1234567.890123"));
    std::printf("a 5 MB name's column autosized in %.3f s\n", seconds);
}

TEST_F(GridPrint, ALongTitlePrintsWholeBesideTheProgramName)
{
    Shape(4, 3);
    const CString title =
        L"Critical Ratios: BM & SF | Reference collection: Northern network, bridges of one to three spans "
        L"from 1 m to 50 m | Proposed: Heavy vehicle with a quad-axle group and a tri-axle dolly";
    m_grid.SetPrintTitle(title);
    const auto pages = PrintAll(TempPdfPath("long-title.pdf"));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(Has(pages[0], title));
    EXPECT_TRUE(Has(pages[0], L"Kestrain QOR"));
    EXPECT_TRUE(std::find(m_cutShort.begin(), m_cutShort.end(), title) == m_cutShort.end()) << "the title is cut short";

    // A title of 5 MB (a name pasted from a file) over three pages: each header draws the start it
    // can show beside the program's name, in a time that measuring, wrapping (or copying) the whole
    // title for each page is far beyond.
    std::wstring huge = L"Critical Ratios: BM & SF | Reference collection:";
    while (huge.size() < (5u << 20)) huge += L" bridges over the river and the railway yards";
    Shape(3 * RowsPerPage(), 3);
    m_grid.SetPrintTitle(CString(huge.c_str()));
    const auto start = std::chrono::steady_clock::now();
    const auto hugePages = PrintAll(TempPdfPath("huge-title.pdf"));
    // Measured whole for each page, the three took 12 s here.
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 3.0);
    ASSERT_GE(hugePages.size(), 3u);
    for (const auto& page : hugePages)
    {
        EXPECT_TRUE(Has(page, L"Kestrain QOR"));
        const auto drawn = std::find_if(page.begin(), page.end(), [&](const CString& text) {
            return text.Left(48) == CString(huge.substr(0, 48).c_str());
        });
        ASSERT_NE(drawn, page.end());
        EXPECT_LT(drawn->GetLength(), 20000) << "the header draws only what it can show";
    }
}
