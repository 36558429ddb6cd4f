// Working a plot: a click on a point shows its values in the message tip above the point (kept
// on the screen, closed by the next key or click), a double click names the point in a message
// box, the title is painted above the charts, and printing gives one page per chart with the
// header and the footer.
#include "views_support.h"

#include "platform/gui/window/Hooks.h"
#include "platform/test/PrintTest.h"
#include "ui/views/MessageTip.h"
#include "ui/views/MouseListener.h"

#include <algorithm>
#include <chrono>
#include <cstring>

using namespace viewtest;

namespace {

// A printer DC that records every text drawn.
class CRecordingDC : public CDC
{
public:
    using CDC::DrawText;
    std::vector<CString> texts;
    // Where each text can land: from its rectangle, format and width in the font of the moment.
    std::vector<std::pair<int, int>> spans;
    // Each call's format and rectangle (after the call: a measurement's result).
    std::vector<UINT> formats;
    std::vector<CRect> rects;
    int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) override
    {
        texts.emplace_back(lpszString, nCount < 0 ? static_cast<int>(std::wcslen(lpszString)) : nCount);
        const int width = std::min<int>(GetTextExtent(texts.back()).cx, lpRect->right - lpRect->left);
        const int left = (nFormat & DT_RIGHT)    ? lpRect->right - width
                         : (nFormat & DT_CENTER) ? (lpRect->left + lpRect->right - width) / 2
                                                 : lpRect->left;
        spans.emplace_back(left, left + width);
        const int result = CDC::DrawText(lpszString, nCount, lpRect, nFormat);
        formats.push_back(nFormat);
        rects.emplace_back(*lpRect);
        return result;
    }
    bool Has(const CString& text) const { return std::find(texts.begin(), texts.end(), text) != texts.end(); }
};

class Interaction : public PlotTest
{
protected:
    CPlotView* view = nullptr;
    std::shared_ptr<CAOMovingLoad> descriptor;
    void SetUp() override
    {
        PlotTest::SetUp();
        auto bridge = std::make_shared<CBridge>(1, CString(L"10 m span"), CBridge::CONFIG_ONESPAN, 10.0);
        descriptor = MovingLoad(bridge, Axle(), 0.5);
        view = OpenPlot(2, 1);
        ASSERT_NE(view, nullptr);
        view->ShowMovingLoadEnvelopes(false, true, descriptor);
        qor::test::PaintNow(view->GetChart(0));
    }
    // The maxima line of the bending-moment chart, and the screen point of its point k.
    CChartXYSerie* Maxima() { return SeriesOf(view, 0)[1]; }
    CPoint PointOnChart(unsigned k) { return Maxima()->PointScreenPosition(k); }
    // The first page of a plot printed into a recording device: what the print loop draws on it.
    static void PrintFirstPage(CPlotView* plot, CRecordingDC& dc, const char* pdfName)
    {
        qor::test::DrivenPrinting printing(qor::test::TempPdfPath(pdfName));
        CPrintDialog dlg(FALSE);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        dc.Attach(dlg.GetPrinterDC());
        ASSERT_GT(dc.StartDoc(L"Plot"), 0);
        CPrintInfo info;
        info.SetMaxPage(plot->GetChartCount());
        plot->OnBeginPrinting(&dc, &info);
        ASSERT_GT(dc.StartPage(), 0);
        info.m_nCurPage = 1;
        plot->OnPrint(&dc, &info);
        EXPECT_GT(dc.EndPage(), 0);
        EXPECT_GT(dc.EndDoc(), 0);
        plot->OnEndPrinting(&dc, &info);
    }
};

} // namespace

TEST_F(Interaction, AClickShowsThePointInATipAboveItThatTheNextKeyCloses)
{
    CChartCtrl* chart = view->GetChart(0);
    const unsigned k = Maxima()->GetPointsCount() / 2;
    const CPoint at = PointOnChart(k);
    qor::test::MouseDown(chart, at);
    qor::test::MouseUp(chart, at);
    CMessageTip* tip = CMessageTip::GetShowingTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsWindowVisible());
    EXPECT_EQ(tip->GetText(), CMouseListener::PointText(Maxima()->GetXPointValue(k), Maxima()->GetYPointValue(k)));
    EXPECT_EQ(tip->GetText(), CString(L"X: 5\nY: 250"));
    EXPECT_EQ(tip->GetDisplayTime(), 3000u);
    // Bottom-left corner at the point, moved left by the shadow.
    CRect shown;
    tip->GetWindowRect(&shown);
    CPoint screenAt = at;
    chart->ClientToScreen(&screenAt);
    EXPECT_EQ(shown.left, screenAt.x - 6);
    EXPECT_EQ(shown.bottom, screenAt.y);
    // The tip's face is drawn in the info colours.
    qor::test::PaintNow(tip);
    EXPECT_EQ(qor::test::SurfacePixel(tip, 3, 3), GetSysColor(COLOR_INFOBK));

    // Enter leaves it; any other key closes it.
    qor::test::KeyPress(view, VK_RETURN, L'\r');
    qor::test::Pump(20);
    EXPECT_TRUE(tip->IsWindowVisible());
    qor::test::KeyPress(view, 'A', L'a');
    EXPECT_TRUE(qor::test::PumpUntil([&] { return !tip->IsWindowVisible(); }));
    EXPECT_EQ(CMessageTip::GetShowingTip(), nullptr);

    // A click shows it again, and that click's own close does not hide it.
    qor::test::MouseDown(chart, at);
    qor::test::MouseUp(chart, at);
    qor::test::Pump(20);
    EXPECT_TRUE(tip->IsWindowVisible());
    // A click anywhere else closes it.
    qor::test::Click(view, CPoint(2, 2));
    EXPECT_TRUE(qor::test::PumpUntil([&] { return !tip->IsWindowVisible(); }));
    // Another tip going away leaves the showing one its hooks.
    qor::test::MouseDown(chart, at);
    qor::test::MouseUp(chart, at);
    qor::test::Pump(20);
    ASSERT_EQ(CMessageTip::GetShowingTip(), tip);
    {
        CMessageTip other;
        ASSERT_TRUE(other.Create(view));
    }
    EXPECT_EQ(CMessageTip::GetShowingTip(), tip);
    qor::test::KeyPress(view, 'B', L'b');
    EXPECT_TRUE(qor::test::PumpUntil([&] { return !tip->IsWindowVisible(); }));
    // A click beside the lines shows nothing.
    qor::test::Click(chart, CPoint(2, 2));
    qor::test::Pump(20);
    EXPECT_EQ(CMessageTip::GetShowingTip(), nullptr);
}

TEST_F(Interaction, TheTipStaysOnTheScreenAndShowsNoEmptyText)
{
    CMessageTip tip;
    ASSERT_TRUE(tip.Create(view));
    // The screen that holds the points.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint(CPoint(200, 300), MONITOR_DEFAULTTOPRIMARY), &monitor));
    ASSERT_EQ(monitor.rcMonitor.left, 0);
    ASSERT_EQ(monitor.rcMonitor.top, 0);
    const int width = monitor.rcMonitor.right, height = monitor.rcMonitor.bottom;
    CRect rect;
    tip.CalcTipRect(rect, CString(L"X: 12.5\nY: 1000"));
    const CSize size = rect.Size();
    EXPECT_GT(size.cx, 14 + 6);
    EXPECT_GT(size.cy, 8 + 6);
    struct Case
    {
        CPoint point;
        CPoint topLeft;
    };
    for (Case c : {Case{CPoint(width - 5, 300), CPoint(width - size.cx, 300 - size.cy)},
                   Case{CPoint(-40, 300), CPoint(0, 300 - size.cy)}, Case{CPoint(200, 5), CPoint(200, 0)},
                   Case{CPoint(200, height + 50), CPoint(200, height - size.cy)}})
    {
        CRect placed(0, 0, size.cx, size.cy);
        tip.PositionTip(c.point, placed);
        EXPECT_EQ(placed.TopLeft(), c.topLeft) << c.point.x << "," << c.point.y;
        EXPECT_EQ(placed.Size(), size);
    }
    tip.Show(CPoint(10, 10), CString());
    EXPECT_FALSE(tip.IsWindowVisible());
    EXPECT_EQ(CMessageTip::GetShowingTip(), nullptr);
}

TEST_F(Interaction, ADoubleClickNamesThePointWithTheRunsDescription)
{
    qor::test::ScriptedMessageBoxes boxes;
    CChartCtrl* shear = view->GetChart(1);
    CChartXYSerie* maxima = SeriesOf(view, 1)[1];
    const CPoint at = maxima->PointScreenPosition(0);
    qor::test::MouseDoubleClick(shear, at);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    const auto& box = boxes.Shown()[0];
    EXPECT_EQ(box.caption, CString(L"QOR"));
    EXPECT_EQ(box.type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    CString expected = descriptor->GetDescription() + L"\nShear!\n";
    expected += CMouseListener::PointText(maxima->GetXPointValue(0), maxima->GetYPointValue(0));
    EXPECT_EQ(box.text, expected);
}

TEST_F(Interaction, TheBoxOfADoubleClickHidesThePointsTip)
{
    qor::test::KeyedMessageBoxes boxes({VK_RETURN});
    CChartCtrl* chart = view->GetChart(0);
    const CPoint at = PointOnChart(Maxima()->GetPointsCount() / 2);
    qor::test::MouseDown(chart, at);
    qor::test::MouseUp(chart, at);
    CMessageTip* tip = CMessageTip::GetShowingTip();
    ASSERT_NE(tip, nullptr);
    ASSERT_TRUE(tip->IsWindowVisible());
    qor::test::MouseDoubleClick(chart, at);
    EXPECT_EQ(boxes.Shown(), 1);
    EXPECT_FALSE(tip->IsWindowVisible());
}

TEST_F(Interaction, TheTitleIsPaintedAboveTheCharts)
{
    qor::test::PaintNow(view);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const CQORViewBase::SGap& gap = view->GetGap();
    CRect strip(gap.LEFT, gap.TOP, gap.LEFT + 300, view->GetContentTop());
    const int area = strip.Width() * strip.Height();
    const int background = qor::test::CountSurfacePixels(view, strip, face);
    EXPECT_GT(background, area / 2);
    EXPECT_LT(background, area); // the title's letters
}

TEST_F(Interaction, PrintingGivesOneChartPerPageWithHeaderAndFooter)
{
    CPlotView* grid = OpenPlot(2, 2);
    ASSERT_NE(grid, nullptr);
    grid->ShowMovingLoadEnvelopes(false, true, descriptor);
    const std::string pdf = qor::test::TempPdfPath("plot2x2");
    {
        qor::test::DrivenPrinting printing(pdf);
        grid->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    }
    EXPECT_EQ(qor::test::CountPdfPages(pdf), 4);

    // The first page's texts, as the print loop draws them.
    CRecordingDC dc;
    PrintFirstPage(grid, dc, "plot2x2-texts");
    EXPECT_TRUE(dc.Has(grid->GetTitle()));
    EXPECT_TRUE(dc.Has(CString(L"Kestrain QOR")));
    EXPECT_TRUE(dc.Has(CString(L"Page 1 of 4")));
}

TEST_F(Interaction, ALongTitlePrintsWholeAndKeepsClearOfTheProgramName)
{
    // A long run description (a long bridge name) in the header: the bridge, the analysis and the
    // vehicle must all print.
    auto bridge = std::make_shared<CBridge>(
        1,
        CString(L"Old Creek Road overpass of three spans over the railway yards, the creek and the service road "
                L"south of the goods terminal, rebuilt with a wider deck and new bearings in the second stage"),
        CBridge::CONFIG_ONESPAN, 10.0);
    view->ShowMovingLoadEnvelopes(false, true, MovingLoad(bridge, Axle(), 0.5));
    const CString title = view->GetTitle();
    CRecordingDC dc;
    PrintFirstPage(view, dc, "plot-longtitle");

    size_t drawn = dc.texts.size(), measured = dc.texts.size(), name = dc.texts.size();
    for (size_t i = 0; i < dc.texts.size(); ++i)
    {
        if (dc.texts[i] == title) (dc.formats[i] & DT_CALCRECT ? measured : drawn) = i;
        if (dc.texts[i] == CString(L"Kestrain QOR") && name == dc.texts.size()) name = i;
    }
    ASSERT_LT(drawn, dc.texts.size());
    ASSERT_LT(measured, drawn);
    ASSERT_LT(name, dc.texts.size());
    EXPECT_EQ(dc.formats[drawn] & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS | DT_SINGLELINE), 0u)
        << "the title is printed whole, wrapped";
    EXPECT_LT(dc.rects[drawn].right, dc.spans[name].first) << "the title runs into the program's name";
    EXPECT_LE(dc.rects[measured].Height(), dc.rects[name].Height()) << "the wrapped title fits the header";
}

TEST_F(Interaction, ATitleOfMegabytesShowsAndPrintsItsStartInGoodTime)
{
    // A bridge named with 5 MB of text (a pasted file). On the screen the title takes no more than
    // half the view, in the lines that fit there, and the charts keep the rest (the whole title wrapped
    // filled the view). The printed header draws the start of the title that it can show, beside the
    // program's name. Neither measures the whole title.
    std::wstring name = L"Viaduct";
    while (name.size() < (5u << 20)) name += L" over the river and the railway yards";
    auto bridge = std::make_shared<CBridge>(1, CString(name.c_str()), CBridge::CONFIG_ONESPAN, 10.0);
    CWnd* frame = view->GetParentFrame();
    const auto shown = std::chrono::steady_clock::now();
    view->ShowMovingLoadEnvelopes(false, true, MovingLoad(bridge, Axle(), 0.5));
    for (int height : {600, 601, 450})
    {
        frame->MoveWindow(0, 0, 700, height);
        qor::test::PaintNow(view);
    }
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count(), 3.0);
    CRect client, chart;
    view->GetClientRect(&client);
    const int titleHeight = view->GetContentTop() - view->GetGap().TOP;
    EXPECT_LE(titleHeight, client.Height() / 2);
    EXPECT_GT(titleHeight, client.Height() / 2 - 40) << "the title fills its half of the view";
    view->GetChart(0)->GetWindowRect(&chart);
    view->ScreenToClient(&chart);
    EXPECT_GE(chart.top, view->GetGap().TOP + view->GetContentTop());
    EXPECT_LT(chart.top, client.bottom) << "the charts show below the title";
    const CString title = view->GetTitle();
    ASSERT_GT(title.GetLength(), 5 << 20);
    const std::string pdf = qor::test::TempPdfPath("plot-huge-title");
    const auto start = std::chrono::steady_clock::now();
    {
        qor::test::DrivenPrinting printing(pdf);
        view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(qor::test::CountPdfPages(pdf), 2);
    EXPECT_LT(seconds, 3.0); // measured whole for each page: some 8 s here

    CRecordingDC dc;
    PrintFirstPage(view, dc, "plot-huge-title-texts");
    size_t drawn = dc.texts.size(), program = dc.texts.size();
    for (size_t i = 0; i < dc.texts.size(); ++i)
    {
        if (!(dc.formats[i] & DT_CALCRECT) && dc.texts[i].Left(40) == title.Left(40)) drawn = i;
        if (dc.texts[i] == CString(L"Kestrain QOR")) program = i;
    }
    ASSERT_LT(drawn, dc.texts.size());
    ASSERT_LT(program, dc.texts.size());
    EXPECT_LT(dc.texts[drawn].GetLength(), 20000) << "the header draws only what it can show";
    EXPECT_LT(dc.rects[drawn].right, dc.spans[program].first) << "the title runs into the program's name";
}

TEST_F(Interaction, ALongTitleWrapsOnTheScreenAndTheChartsMakeRoomForIt)
{
    // A narrow window: the short title takes a line or two, the long one more.
    CWnd* frame = view->GetParentFrame();
    frame->MoveWindow(0, 0, 420, 700);
    qor::test::Pump();
    const int shortTitle = view->GetContentTop();
    auto bridge = std::make_shared<CBridge>(
        1,
        CString(L"Old Creek Road overpass of three spans over the railway yards and the creek south of the goods "
                L"terminal"),
        CBridge::CONFIG_ONESPAN, 10.0);
    view->ShowMovingLoadEnvelopes(false, true, MovingLoad(bridge, Axle(), 0.5));
    frame->MoveWindow(0, 0, 420, 701);
    qor::test::Pump();
    const int longTitle = view->GetContentTop();
    EXPECT_GT(longTitle, shortTitle) << "the long title wraps onto more lines";
    CRect chart;
    view->GetChart(0)->GetWindowRect(&chart);
    view->ScreenToClient(&chart);
    EXPECT_GE(chart.top, view->GetGap().TOP + longTitle) << "the first chart starts below the title";
}
