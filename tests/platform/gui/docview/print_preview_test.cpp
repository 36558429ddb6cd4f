// File > Print Preview keeps the view's print state and draws each page only when it is shown, so the preview
// of a job of any length opens at once with its page count known; Print... from it prints every page; a job
// printing shows the printing dialog, whose Cancel stops it between two pages and leaves the old file.
#include "tests/platform/gui/frame/frame_support.h"

#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/gui/print/PrintingDialog.h"
#include "platform/test/PauseMeter.h"
#include "platform/test/PrintTest.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace frametest;

namespace {

// A4 at 600 dpi with quarter-inch margins: the paper's device pixels and where the drawing's origin is.
constexpr double kPaperW = 4958, kPaperH = 7017, kMargin = 150;

// A black block whose place tells the page: further right the higher the page's last digit.
CRect BlockOf(UINT page)
{
    return CRect(600 + 300 * static_cast<int>(page % 10), 1200, 800 + 300 * static_cast<int>(page % 10), 2400);
}

void DrawBlock(CDC* pDC, CPrintInfo* pInfo) { pDC->FillSolidRect(BlockOf(pInfo->m_nCurPage), RGB(0, 0, 0)); }

// Where a point of the printer's drawing shows in the preview, inside the page's rectangle.
CPoint Shown(const CRect& page, CPoint device)
{
    return CPoint(page.left + static_cast<int>((device.x + kMargin) / kPaperW * page.Width()),
                  page.top + static_cast<int>((device.y + kMargin) / kPaperH * page.Height()));
}

bool Dark(COLORREF c) { return GetRValue(c) < 80 && GetGValue(c) < 80 && GetBValue(c) < 80; }

CPrintPreviewWnd* OpenPreview()
{
    for (CWnd* child = qor::test::MainFrame()->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        if (auto* preview = DYNAMIC_DOWNCAST(CPrintPreviewWnd, child)) return preview;
    return nullptr;
}

// Page n shows its own block (and not that of the page next to it).
void ExpectShowsPage(CPrintPreviewWnd* preview, UINT n)
{
    const CRect page = preview->GetPageRect(static_cast<int>(n));
    ASSERT_FALSE(page.IsRectEmpty()) << n;
    const CPoint in = Shown(page, BlockOf(n).CenterPoint()), other = Shown(page, BlockOf(n + 1).CenterPoint());
    EXPECT_TRUE(Dark(qor::test::SurfacePixel(preview, in.x, in.y))) << "page " << n;
    EXPECT_EQ(qor::test::SurfacePixel(preview, other.x, other.y), RGB(255, 255, 255)) << "page " << n;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST_F(AppTest, ThePreviewOfAMillionPagesDrawsOnlyThePagesShownAndPrintsThemAllFromItsPrintButton)
{
    ASSERT_NE(NewDoc(), nullptr);
    auto* view = static_cast<TestView*>(Main()->MDIGetActive()->GetActiveView());
    TestView::s_pages = 1000000;
    TestView::s_printed = DrawBlock;

    // Opened: the page count known at once, the first page drawn, and only that one; the window answering
    // throughout.
    qor::test::PauseMeter meter;
    qor::test::SendMenuCommand(ID_FILE_PRINT_PREVIEW);
    CPrintPreviewWnd* preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(view->m_begin, 1);
    EXPECT_EQ(preview->GetPageCount(), 1000000);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return preview->IsPageRendered(1); }, 30000));
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1}));
    EXPECT_EQ(preview->GetPagesDrawn(), 1);
    ExpectShowsPage(preview, 1);
    EXPECT_LT(meter.LongestMs(), 250.0);

    // Next Page draws page 2 alone; Two Page adds page 3; zoomed in, the pages shown are rendered again from
    // what they drew, not drawn again.
    qor::test::Click(preview->GetDlgItem(AFX_ID_PREVIEW_NEXT), CPoint(5, 5));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return preview->IsPageRendered(2); }, 30000));
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1, 2}));
    ExpectShowsPage(preview, 2);
    qor::test::Click(preview->GetDlgItem(AFX_ID_PREVIEW_NUMPAGE), CPoint(5, 5));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return preview->IsPageRendered(2) && preview->IsPageRendered(3); }, 30000));
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1, 2, 3}));
    ExpectShowsPage(preview, 3);
    qor::test::Click(preview->GetDlgItem(AFX_ID_PREVIEW_ZOOMIN), CPoint(5, 5));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return preview->IsPageRendered(2); }, 30000));
    ExpectShowsPage(preview, 2);
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1, 2, 3}));
    EXPECT_EQ(view->m_end, 0) << "the view's printing lasts as long as its preview";

    // Print... closes the preview (its printing ended) and then prints every page of the job.
    TestView::s_pages = 7;
    const std::string pdf = qor::test::TempPdfPath("preview-printed.pdf");
    {
        qor::test::DrivenPrinting printing(pdf);
        const HWND shown = preview->m_hWnd;
        qor::test::Click(preview->GetDlgItem(AFX_ID_PREVIEW_PRINT), CPoint(5, 5));
        ASSERT_TRUE(qor::test::PumpUntil([&] { return view->m_end == 2; }, 60000));
        EXPECT_FALSE(::IsWindow(shown));
        EXPECT_EQ(printing.Shown().size(), 1u) << "the print dialog, as File > Print shows it";
    }
    EXPECT_EQ(view->m_begin, 2);
    EXPECT_EQ(view->m_nested, 0);
    EXPECT_EQ(qor::test::CountPdfPages(pdf), 7);
    std::remove(pdf.c_str());

    // A preview whose view closes goes first, its view's printing ended.
    qor::test::SendMenuCommand(ID_FILE_PRINT_PREVIEW);
    preview = OpenPreview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(view->m_begin, 3);
    const HWND last = preview->m_hWnd;
    view->GetParentFrame()->SendMessage(WM_CLOSE);
    qor::test::Pump();
    EXPECT_FALSE(::IsWindow(last));
}

TEST_F(AppTest, ThePrintingDialogNamesTheJobAndItsCancelStopsItLeavingTheOldFile)
{
    ASSERT_NE(NewDoc(), nullptr);
    auto* view = static_cast<TestView*>(Main()->MDIGetActive()->GetActiveView());
    const std::string pdf = qor::test::TempPdfPath("cancelled-job.pdf");
    const std::filesystem::path folder = std::filesystem::path(pdf).parent_path();
    {
        std::ofstream old(pdf, std::ios::binary);
        old << "the old file";
    }
    auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> before = listing();

    // Cancel pressed while page 3 prints: the dialog said what prints, the job stops before page 4.
    TestView::s_pages = 50;
    CString docName, pageShown;
    TestView::s_printed = [&](CDC*, CPrintInfo* pInfo) {
        CPrintingDialog* dialog = CPrintingDialog::GetOpen();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->IsWindowVisible());
        if (pInfo->m_nCurPage != 3) return;
        dialog->GetDlgItemText(AFX_IDC_PRINT_DOCNAME, docName);
        dialog->GetDlgItemText(AFX_IDC_PRINT_PAGENUM, pageShown);
        qor::test::Click(dialog->GetDlgItem(IDCANCEL), CPoint(5, 5));
        EXPECT_TRUE(dialog->IsCancelled());
    };
    {
        qor::test::DrivenPrinting printing(pdf);
        qor::test::SendMenuCommand(ID_FILE_PRINT);
    }
    EXPECT_EQ(docName, view->GetDocument()->GetTitle());
    EXPECT_EQ(pageShown, CString(L"Now printing page 3 of 50"));
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1, 2, 3}));
    EXPECT_EQ(view->m_end, 1);
    EXPECT_EQ(CPrintingDialog::GetOpen(), nullptr);
    EXPECT_EQ(ReadAll(pdf), "the old file");
    EXPECT_EQ(listing(), before) << "nothing left beside it";

    // Escape in the dialog cancels as its button does.
    view->m_printedPages.clear();
    TestView::s_printed = [&](CDC*, CPrintInfo* pInfo) {
        if (pInfo->m_nCurPage == 2) qor::test::KeyPress(CPrintingDialog::GetOpen(), VK_ESCAPE);
    };
    {
        qor::test::DrivenPrinting printing(pdf);
        qor::test::SendMenuCommand(ID_FILE_PRINT);
    }
    EXPECT_EQ(view->m_printedPages, (std::vector<UINT>{1, 2}));
    EXPECT_EQ(ReadAll(pdf), "the old file");
    EXPECT_EQ(listing(), before);

    // Not cancelled, the job replaces it, every page printed, the window answering meanwhile.
    TestView::s_printed = nullptr;
    qor::test::PauseMeter meter;
    {
        qor::test::DrivenPrinting printing(pdf);
        qor::test::SendMenuCommand(ID_FILE_PRINT);
    }
    EXPECT_LT(meter.LongestMs(), 250.0);
    EXPECT_EQ(qor::test::CountPdfPages(pdf), 50);
    EXPECT_EQ(listing(), before);
    std::remove(pdf.c_str());
}
