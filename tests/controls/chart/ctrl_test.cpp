// The chart window: refresh counting, layout and pixels, zoom and pan by mouse messages,
// scrolling, listeners and resizing.
#include "controls/chart/ChartAxisLabel.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartGrid.h"
#include "controls/chart/ChartLegend.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartPointsSerie.h"
#include "controls/chart/ChartScrollBar.h"
#include "controls/chart/ChartStandardAxis.h"
#include "controls/chart/ChartTitle.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct SEvent
{
    int kind;
    unsigned index;
};

class CRecordingListener : public CChartSeriesMouseListener<SChartXYPoint>
{
public:
    void OnMouseEventSeries(int mouseEvent, CPoint point, CChartSerie* pSerie, unsigned uPointIndex) override
    {
        events.push_back({mouseEvent, uPointIndex});
    }
    std::vector<SEvent> events;
};

LPARAM Pt(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class ChartWindowTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { qor::test::EnsureGuiApplication(); }

    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), _T("host"), WS_OVERLAPPEDWINDOW, CRect(0, 0, 440, 340),
                                  nullptr, 0));
        ASSERT_TRUE(chart.Create(CHARTCTRL_CLASSNAME, _T(""), WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                 CRect(0, 0, 420, 320), &host, 8));
        chart.AllowRefresh(false);
        left = chart.CreateStandardAxis(CChartAxis::LeftAxis);
        bottom = chart.CreateStandardAxis(CChartAxis::BottomAxis);
        left->SetMinMax(0, 10);
        bottom->SetMinMax(0, 10);
        chart.AllowRefresh(true);
    }

    COLORREF Pixel(int x, int y) { return chart.GetBackgroundDC()->GetPixel(x, y); }
    // Only what the test draws shows on the plot.
    void HideGrids()
    {
        left->GetGrid()->SetVisible(false);
        bottom->GetGrid()->SetVisible(false);
    }
    // A blue horizontal line at 5 across the whole range, on a plot without grids.
    CChartLineSerie* AddBlueLineAtFive()
    {
        HideGrids();
        CChartLineSerie* s = chart.CreateLineSerie();
        s->SetColour(kBlue);
        s->AddPoint(0, 5);
        s->AddPoint(10, 5);
        return s;
    }
    // Whether any pixel of the 3x3 square around (x, y) has the colour.
    bool Near(int x, int y, COLORREF colour)
    {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (Pixel(x + dx, y + dy) == colour) return true;
        return false;
    }
    // The left axis's labels stand clear of its tick marks on a printed page (a plot printed at three quarters
    // of the page): between a label's last stroke and the axis line at least the marks' length and a third of
    // a label's height stay empty.
    void ExpectLabelsClearOfTheAxis(CDC& page, const CRect& printedPlot)
    {
        const int width = page.GetDeviceCaps(HORZRES), height = page.GetDeviceCaps(VERTRES);
        const int top = MulDiv(printedPlot.top, height, height * 3 / 4);
        const int bottom = MulDiv(printedPlot.bottom, height, height * 3 / 4);
        int axisX = 0, darkest = 0;
        for (int x = MulDiv(printedPlot.left, width, width * 3 / 4) - 4;
             x <= MulDiv(printedPlot.left, width, width * 3 / 4) + 2; ++x)
        {
            int dark = 0;
            for (int py = top; py < bottom; ++py) dark += page.GetPixel(x, py) != RGB(255, 255, 255);
            if (dark > darkest) darkest = dark, axisX = x;
        }
        const int labelHeight = MulDiv(12, height, height * 3 / 4); // an 8-point label, about 12 pixels high
        int labelled = 0;
        for (int py = top; py < bottom; ++py)
        {
            int x = axisX - 1;
            while (x > axisX - 12 && page.GetPixel(x, py) != RGB(255, 255, 255)) --x; // a tick mark
            int ink = x;
            while (ink > 0 && page.GetPixel(ink, py) == RGB(255, 255, 255)) --ink;
            if (ink <= 0) continue;
            ++labelled;
            EXPECT_GE(axisX - ink, MulDiv(4, width, width * 3 / 4) + labelHeight / 3) << "row " << py;
        }
        EXPECT_GT(labelled, 20);
    }

    void Drag(UINT down, UINT up, CPoint from, CPoint to)
    {
        chart.SendMessage(down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, Pt(from.x, from.y));
        chart.SendMessage(WM_MOUSEMOVE, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, Pt(to.x, to.y));
        chart.SendMessage(up, 0, Pt(to.x, to.y));
    }

    CWnd host;
    CChartCtrl chart;
    CChartStandardAxis* left = nullptr;
    CChartStandardAxis* bottom = nullptr;
};

} // namespace

TEST_F(ChartWindowTest, DisabledDrawingRedrawsOnceWhenEnabled)
{
    const unsigned before = chart.GetRedrawCount();
    chart.AllowRefresh(false);
    left->SetAutomaticMode(1);
    bottom->SetAutomaticMode(1);
    CChartLineSerie* s = chart.CreateLineSerie();
    for (int i = 0; i < 50; ++i) s->AddPoint(i, i % 7);
    chart.SetBackColour(kGreen);
    EXPECT_EQ(chart.GetRedrawCount(), before);
    EXPECT_TRUE(chart.IsRefreshPending());
    chart.AllowRefresh(true);
    EXPECT_EQ(chart.GetRedrawCount(), before + 1);
    EXPECT_FALSE(chart.IsRefreshPending());
    EXPECT_EQ(bottom->GetMax(), 49);
    EXPECT_EQ(Pixel(4, 4), kGreen);

    // Nested brackets redraw only when the outermost ends.
    chart.AllowRefresh(false);
    chart.AllowRefresh(false);
    chart.SetBorderColour(kRed);
    chart.AllowRefresh(true);
    EXPECT_EQ(chart.GetRedrawCount(), before + 1);
    chart.AllowRefresh(true);
    EXPECT_EQ(chart.GetRedrawCount(), before + 2);
}

TEST_F(ChartWindowTest, EmptyChartDrawsBackgroundAxesAndBorder)
{
    chart.AllowRefresh(false);
    chart.SetBackColour(kGreen);
    chart.SetBorderColour(kRed);
    left->SetAxisColour(kBlue);
    HideGrids();
    chart.AllowRefresh(true);
    const CRect plot = chart.GetPlottingRect();
    ASSERT_FALSE(plot.IsRectEmpty());
    EXPECT_GT(plot.left, 20);             // the left axis's labels take a margin
    EXPECT_LT(plot.bottom, 320 - 3 - 10); // so do the bottom axis's
    EXPECT_EQ(Pixel(plot.left + plot.Width() / 2, plot.top), kRed);
    EXPECT_EQ(Pixel(plot.right, plot.top + plot.Height() / 2), kRed);
    EXPECT_EQ(Pixel(plot.left - 1, plot.top + plot.Height() / 3), kBlue); // the left axis line
    EXPECT_EQ(Pixel(plot.left + 20, plot.top + 20), kGreen);
}

TEST_F(ChartWindowTest, TicksFollowTheAxisLength)
{
    chart.RefreshCtrl();
    const CRect plot = chart.GetPlottingRect();
    const qor::chart::STickIncrement expected =
        qor::chart::ComputeTickIncrement(0, 10, plot.Width(), qor::chart::kHorizontalTickSpacing, 2);
    EXPECT_DOUBLE_EQ(bottom->GetTickIncrement(), expected.increment);
    EXPECT_EQ(bottom->GetDecimals(), expected.decimals);
    EXPECT_EQ(bottom->TickLabel(10), expected.decimals == 0 ? CString(_T("10")) : CString(_T("10.0")));
    // Every tick from 0 to 10 is on the axis, the last one at the right edge.
    const std::vector<int>& ticks = bottom->GetGrid()->GetTicks();
    ASSERT_EQ(ticks.size(), static_cast<size_t>(std::lround(10 / expected.increment)) + 1);
    EXPECT_EQ(ticks.front(), plot.left);
    EXPECT_EQ(ticks.back(), plot.right);

    // A degenerate range: one tick, in the middle.
    left->SetMinMax(3, 3);
    const CRect plot2 = chart.GetPlottingRect();
    ASSERT_EQ(left->GetGrid()->GetTicks().size(), 1u);
    EXPECT_EQ(left->GetGrid()->GetTicks()[0], plot2.bottom - plot2.Height() / 2);
    EXPECT_EQ(left->GetTickIncrement(), 0.0);
    // So does a huge value with a range its increment cannot step through.
    left->SetMinMax(1e17, std::nextafter(1e17, 2e17));
    EXPECT_EQ(left->GetGrid()->GetTicks().size(), 1u);
}

TEST_F(ChartWindowTest, HorizontalLineLandsOnItsRow)
{
    AddBlueLineAtFive();
    const CRect plot = chart.GetPlottingRect();
    const int row = plot.bottom - plot.Height() / 2; // floor(height * 0.5) above the bottom
    EXPECT_EQ(left->ValueToScreen(5), row);
    for (int x = plot.left + 1; x < plot.right; x += 7)
    {
        EXPECT_EQ(Pixel(x, row), kBlue) << x;
        EXPECT_NE(Pixel(x, row - 2), kBlue) << x;
        EXPECT_NE(Pixel(x, row + 2), kBlue) << x;
    }
    // Nothing of the line outside the plot.
    EXPECT_NE(Pixel(plot.left - 3, row), kBlue);
    EXPECT_NE(Pixel(plot.right + 3, row), kBlue);
}

TEST_F(ChartWindowTest, PointsAreDrawnAndNewPointsAppearWithoutAFullRedraw)
{
    CChartPointsSerie* p = chart.CreatePointsSerie();
    p->SetColour(kRed);
    p->AddPoint(2, 2);
    CPoint at = p->PointScreenPosition(0);
    EXPECT_TRUE(Near(at.x, at.y, kRed));

    CChartLineSerie* s = chart.CreateLineSerie();
    s->SetColour(kBlue);
    s->AddPoint(1, 8);
    const unsigned redraws = chart.GetRedrawCount();
    s->AddPoint(9, 8); // inside the fixed axes: drawn incrementally
    EXPECT_EQ(chart.GetRedrawCount(), redraws);
    const CPoint a = s->PointScreenPosition(0), b = s->PointScreenPosition(1);
    EXPECT_EQ(Pixel((a.x + b.x) / 2, a.y), kBlue);
    p->AddPoint(7, 3);
    at = p->PointScreenPosition(1);
    EXPECT_TRUE(Near(at.x, at.y, kRed));
    EXPECT_EQ(chart.GetRedrawCount(), redraws);

    // A point stored before the others redraws everything.
    s->AddPoint(5, 2);
    EXPECT_EQ(chart.GetRedrawCount(), redraws + 1);
}

TEST_F(ChartWindowTest, PointsAddedWhileDrawingIsOffAppearLater)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->SetColour(kBlue);
    chart.AllowRefresh(false);
    s->AddPoint(1, 4);
    s->AddPoint(9, 4); // fixed axes: no range change
    chart.AllowRefresh(true);
    const CPoint a = s->PointScreenPosition(0), b = s->PointScreenPosition(1);
    EXPECT_EQ(Pixel((a.x + b.x) / 2, a.y), kBlue);
}

TEST_F(ChartWindowTest, ZoomByADraggedRectangleAndReset)
{
    chart.RefreshCtrl();
    const CRect plot = chart.GetPlottingRect();
    const CPoint from(plot.left + 40, plot.top + 30), to(plot.left + 140, plot.top + 110);
    const double x1 = bottom->ScreenToValue(from.x), x2 = bottom->ScreenToValue(to.x);
    const double yTop = left->ScreenToValue(from.y), yBottom = left->ScreenToValue(to.y);

    chart.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(from.x, from.y));
    chart.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, Pt(to.x, to.y));
    EXPECT_TRUE(chart.IsZooming());
    EXPECT_EQ(chart.GetZoomRect(), CRect(from.x, from.y, to.x, to.y));
    chart.SendMessage(WM_LBUTTONUP, 0, Pt(to.x, to.y));
    EXPECT_FALSE(chart.IsZooming());
    EXPECT_DOUBLE_EQ(bottom->GetMin(), x1);
    EXPECT_DOUBLE_EQ(bottom->GetMax(), x2);
    EXPECT_DOUBLE_EQ(left->GetMin(), yBottom);
    EXPECT_DOUBLE_EQ(left->GetMax(), yTop);
    EXPECT_EQ(bottom->GetUnzoomedMax(), 10);

    // A click changes nothing; a drag up and left restores every range.
    const double zoomedMin = bottom->GetMin();
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, CPoint(100, 100), CPoint(100, 100));
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, CPoint(100, 100), CPoint(160, 100));
    EXPECT_EQ(bottom->GetMin(), zoomedMin);
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, CPoint(150, 150), CPoint(120, 170));
    EXPECT_EQ(bottom->GetMin(), 0);
    EXPECT_EQ(bottom->GetMax(), 10);
    EXPECT_EQ(left->GetMin(), 0);
    EXPECT_EQ(left->GetMax(), 10);
}

TEST_F(ChartWindowTest, ZoomLimitsAndDisabledZoom)
{
    bottom->SetZoomMinMax(2, 2.0004);
    EXPECT_EQ(bottom->GetMin(), 2);
    EXPECT_DOUBLE_EQ(bottom->GetMax(), 2.001);
    left->SetMinMax(5, 5);
    left->SetZoomMinMax(1, 2); // degenerate: ignored
    EXPECT_EQ(left->GetMin(), 5);
    chart.SetZoomEnabled(false);
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, CPoint(100, 50), CPoint(200, 150));
    EXPECT_EQ(bottom->GetMin(), 2);
}

TEST_F(ChartWindowTest, ZoomedFarAwayDataStillDraws)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->SetColour(kBlue);
    s->AddPoint(-1e15, 5);
    s->AddPoint(1e15, 5);
    bottom->SetZoomMinMax(0, 0.001);
    chart.RefreshCtrl();
    const CRect plot = chart.GetPlottingRect();
    EXPECT_EQ(Pixel(plot.left + plot.Width() / 2, left->ValueToScreen(5)), kBlue);
}

TEST_F(ChartWindowTest, PanWithTheRightButton)
{
    chart.RefreshCtrl();
    const double perPixelX = 10.0 / (bottom->GetEndPixel() - bottom->GetStartPixel());
    const double perPixelY = 10.0 / (left->GetStartPixel() - left->GetEndPixel());
    chart.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(150, 120));
    EXPECT_TRUE(chart.IsPanning());
    chart.SendMessage(WM_MOUSEMOVE, MK_RBUTTON, Pt(180, 100)); // right 30, up 20
    chart.SendMessage(WM_RBUTTONUP, 0, Pt(180, 100));
    EXPECT_FALSE(chart.IsPanning());
    // The content follows the mouse: the x range moves left, the y range down.
    EXPECT_NEAR(bottom->GetMin(), -30 * perPixelX, 1e-9);
    EXPECT_NEAR(bottom->GetMax(), 10 - 30 * perPixelX, 1e-9);
    EXPECT_NEAR(left->GetMin(), -20 * perPixelY, 1e-9);
    EXPECT_EQ(bottom->GetUnzoomedMin(), 0);
    chart.ResetZoom();
    EXPECT_EQ(bottom->GetMin(), 0);
    EXPECT_EQ(left->GetMax(), 10);

    chart.SetPanEnabled(false);
    Drag(WM_RBUTTONDOWN, WM_RBUTTONUP, CPoint(150, 120), CPoint(190, 120));
    EXPECT_EQ(bottom->GetMin(), 0);
}

TEST_F(ChartWindowTest, ScrollRequestsMoveTheRangeByTenths)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(0, 0);
    s->AddPoint(100, 10); // the series spans ten axis widths
    CChartScrollBar* bar = bottom->GetScrollBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_NE(bar->GetSafeHwnd(), nullptr);
    EXPECT_FALSE(bar->IsWindowVisible());
    bottom->RefreshScrollBar();
    EXPECT_EQ(bar->GetRangeMax(), 99);
    EXPECT_EQ(bar->GetPosition(), 0);
    chart.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
    EXPECT_DOUBLE_EQ(bottom->GetMin(), 1);
    EXPECT_DOUBLE_EQ(bottom->GetMax(), 11);
    chart.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
    EXPECT_DOUBLE_EQ(bottom->GetMin(), 11);
    chart.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
    EXPECT_DOUBLE_EQ(bottom->GetMin(), 11);
}

TEST_F(ChartWindowTest, MouseEventsReachTheNewestSeriesOnThePoint)
{
    CChartLineSerie* older = chart.CreateLineSerie();
    CChartLineSerie* newer = chart.CreateLineSerie();
    for (CChartLineSerie* s : {older, newer})
    {
        s->AddPoint(2, 5);
        s->AddPoint(8, 5);
    }
    CRecordingListener olderListener, newerListener;
    older->RegisterMouseListener(&olderListener);
    newer->RegisterMouseListener(&newerListener);
    const CPoint p = newer->PointScreenPosition(1);
    chart.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(p.x, p.y));
    chart.SendMessage(WM_LBUTTONUP, 0, Pt(p.x, p.y));
    chart.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(p.x, p.y));
    chart.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, Pt(p.x, p.y));
    chart.SendMessage(WM_RBUTTONUP, 0, Pt(p.x, p.y));
    chart.SendMessage(WM_RBUTTONDBLCLK, MK_RBUTTON, Pt(p.x, p.y));
    chart.SendMessage(WM_MOUSEMOVE, 0, Pt(p.x, p.y)); // moves are not notified by default
    EXPECT_TRUE(olderListener.events.empty());
    ASSERT_EQ(newerListener.events.size(), 6u);
    const int kinds[6] = {cmeLButtonDown, cmeLButtonUp, cmeLButtonDoubleClick,
                          cmeRButtonDown, cmeRButtonUp, cmeRButtonDoubleClick};
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(newerListener.events[i].kind, kinds[i]);
        EXPECT_EQ(newerListener.events[i].index, 1u);
    }
    // Off the line: nobody.
    chart.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, Pt(p.x, p.y - 30));
    chart.SendMessage(WM_LBUTTONUP, 0, Pt(p.x, p.y - 30));
    EXPECT_EQ(newerListener.events.size(), 6u);
    // A hidden newer series lets the older one take it.
    newer->SetVisible(false);
    chart.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, Pt(p.x, p.y));
    ASSERT_EQ(olderListener.events.size(), 1u);
    EXPECT_EQ(olderListener.events[0].kind, cmeLButtonDoubleClick);
}

TEST_F(ChartWindowTest, ResizingMakesANewImage)
{
    chart.RefreshCtrl();
    BITMAP bm{};
    chart.GetBackgroundDC()->GetCurrentBitmap()->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 420);
    EXPECT_EQ(bm.bmHeight, 320);
    const unsigned drawn = chart.GetRedrawCount();
    // The new image is made when the window is painted at its new size, once, not at every size
    // it passes through; back at the size of its image it is not drawn again.
    chart.MoveWindow(0, 0, 250, 180);
    chart.MoveWindow(0, 0, 260, 190);
    qor::test::PaintNow(&chart);
    ASSERT_NE(chart.GetBackgroundDC(), nullptr);
    chart.GetBackgroundDC()->GetCurrentBitmap()->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 260);
    EXPECT_EQ(bm.bmHeight, 190);
    EXPECT_EQ(chart.GetRedrawCount(), drawn + 1);
    chart.MoveWindow(0, 0, 420, 320);
    chart.MoveWindow(0, 0, 260, 190);
    qor::test::PaintNow(&chart);
    EXPECT_EQ(chart.GetRedrawCount(), drawn + 1);

    // An empty client area (a hidden tab) keeps the image and fails nothing, also when points
    // arrive.
    chart.MoveWindow(0, 0, 0, 0);
    qor::test::PaintNow(&chart);
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(1, 1);
    s->AddPoint(2, 2);
    ASSERT_NE(chart.GetBackgroundDC(), nullptr);
    // A tiny one still lays out without trouble.
    chart.MoveWindow(0, 0, 12, 9);
    qor::test::PaintNow(&chart);
    ASSERT_NE(chart.GetBackgroundDC(), nullptr);
    chart.GetBackgroundDC()->GetCurrentBitmap()->GetBitmap(&bm);
    EXPECT_EQ(bm.bmWidth, 12);
    chart.MoveWindow(0, 0, 300, 200);
    qor::test::PaintNow(&chart);
    const CPoint a = s->PointScreenPosition(0);
    EXPECT_TRUE(chart.GetPlottingRect().PtInRect(a));
}

TEST_F(ChartWindowTest, PaintCopiesTheImageAndDrawsTheZoomRectangle)
{
    chart.SetBackColour(kGreen);
    chart.SetZoomRectColour(kRed);
    qor::test::PaintNow(&chart);
    EXPECT_EQ(qor::test::SurfacePixel(&chart, 5, 5), kGreen);
    // Real input: the toolkit's mouse events reach the same handlers.
    qor::test::MouseDown(&chart, CPoint(100, 80), VK_LBUTTON);
    qor::test::MouseMove(&chart, CPoint(200, 150), MK_LBUTTON);
    EXPECT_TRUE(chart.IsZooming());
    qor::test::PaintNow(&chart);
    EXPECT_EQ(qor::test::SurfacePixel(&chart, 150, 80), kRed);
    EXPECT_EQ(qor::test::SurfacePixel(&chart, 100, 120), kRed);
    EXPECT_EQ(qor::test::SurfacePixel(&chart, 200, 120), kRed);
    EXPECT_NE(Pixel(150, 80), kRed); // the rectangle is not in the image
    const double x1 = bottom->ScreenToValue(100), x2 = bottom->ScreenToValue(200);
    qor::test::MouseUp(&chart, CPoint(200, 150), VK_LBUTTON);
    EXPECT_FALSE(chart.IsZooming());
    EXPECT_DOUBLE_EQ(bottom->GetMin(), x1);
    EXPECT_DOUBLE_EQ(bottom->GetMax(), x2);
    qor::test::PaintNow(&chart);
    EXPECT_NE(qor::test::SurfacePixel(&chart, 150, 80), kRed); // gone with the next paint
}

TEST_F(ChartWindowTest, TitleLinesTakeTheTopOfTheChart)
{
    chart.RefreshCtrl();
    const int plainTop = chart.GetPlottingRect().top;
    chart.AllowRefresh(false);
    chart.GetTitle()->AddString(_T("Bending Moment"));
    chart.GetTitle()->AddString(_T("Envelope"));
    chart.AllowRefresh(true);
    CClientDC dc(&chart);
    const CSize size = chart.GetTitle()->Measure(&dc);
    // Each line is its text height plus 2.
    CFont font;
    LOGFONT lf{};
    lf.lfHeight = 100;
    lf.lfWeight = FW_NORMAL;
    wcscpy(lf.lfFaceName, L"Microsoft Sans Serif");
    font.CreatePointFontIndirect(&lf, &dc);
    CFont* pOld = dc.SelectObject(&font);
    const int h1 = dc.GetTextExtent(CString(_T("Bending Moment"))).cy;
    const int h2 = dc.GetTextExtent(CString(_T("Envelope"))).cy;
    dc.SelectObject(pOld);
    EXPECT_EQ(size.cy, h1 + 2 + h2 + 2);
    EXPECT_EQ(chart.GetTitle()->GetTitleRect().top, 3);
    EXPECT_EQ(chart.GetTitle()->GetTitleRect().Height(), size.cy);
    EXPECT_GE(chart.GetPlottingRect().top, plainTop + size.cy - 1);
    chart.GetTitle()->SetVisible(false);
    EXPECT_EQ(chart.GetTitle()->Measure(&dc), CSize(0, 0));
    EXPECT_EQ(chart.GetPlottingRect().top, plainTop);
}

TEST_F(ChartWindowTest, LegendListsNamedSeriesOnly)
{
    chart.RefreshCtrl();
    const CRect plain = chart.GetPlottingRect();
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(1, 1);
    chart.GetLegend()->SetVisible(true);
    // Nothing named: an empty legend that takes nothing.
    EXPECT_TRUE(chart.GetLegend()->GetLegendRect().IsRectEmpty());
    EXPECT_EQ(chart.GetPlottingRect(), plain);
    s->SetName(_T("Max"));
    const CRect legend = chart.GetLegend()->GetLegendRect();
    ASSERT_FALSE(legend.IsRectEmpty());
    EXPECT_EQ(legend.right, 420 - 3 - 6);
    EXPECT_LT(chart.GetPlottingRect().right, legend.left);
    // Its sample: a line of the series colour across the sample square.
    const COLORREF colour = s->GetColour();
    bool found = false;
    for (int y = legend.top; y < legend.bottom && !found; ++y) found = Pixel(legend.left + 8, y) == colour;
    EXPECT_TRUE(found);
    chart.GetLegend()->SetVisible(false);
    EXPECT_EQ(chart.GetPlottingRect(), plain);
}

TEST_F(ChartWindowTest, AxisTitlesWidenTheMargins)
{
    chart.RefreshCtrl();
    const CRect plain = chart.GetPlottingRect();
    bottom->GetLabel()->SetText(_T("Bridge Span (m)"));
    left->GetLabel()->SetText(_T("Bending Moment (kNm)"));
    const CRect titled = chart.GetPlottingRect();
    EXPECT_GT(titled.left, plain.left + 8);
    EXPECT_LT(titled.bottom, plain.bottom - 8);
    EXPECT_FALSE(left->GetLabel()->GetRect().IsRectEmpty());
    EXPECT_LE(left->GetLabel()->GetRect().right, titled.left);
}

TEST_F(ChartWindowTest, RemoveAllSeriesAndDestructionWithSeries)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(1, 1);
    chart.CreatePointsSerie()->AddPoint(2, 2);
    chart.RemoveAllSeries();
    EXPECT_EQ(chart.GetSeriesCount(), 0u);
    EXPECT_TRUE(left->GetSeries().empty());
    chart.CreateLineSerie()->AddPoint(3, 3); // left for the destructor
}

TEST_F(ChartWindowTest, PrintedLayoutIsScaledToThePageAndRestoredAfterwards)
{
    chart.SetBorderColour(kRed);
    HideGrids();
    const CRect screenPlot = chart.GetPlottingRect();

    CClientDC screen(&chart);
    CDC page;
    ASSERT_TRUE(page.CreateCompatibleDC(&screen));
    const int width = page.GetDeviceCaps(HORZRES), height = page.GetDeviceCaps(VERTRES);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, width, height));
    CBitmap* pOld = page.SelectObject(&bitmap);
    page.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));

    chart.OnBeginPrinting(&page, nullptr);
    // Three quarters of the page, in screen pixels (the same resolution here).
    EXPECT_EQ(chart.GetPrintedSize(), CSize(width * 3 / 4, height * 3 / 4));
    const int saved = page.SaveDC();
    chart.OnPrint(&page, nullptr);
    const CRect printedPlot = chart.GetPlottingRect(); // logical units of the page
    page.RestoreDC(saved);
    EXPECT_GT(printedPlot.Width(), screenPlot.Width());
    // The border lands where the mapping puts it: scaled by page / printed size.
    const int x = MulDiv((printedPlot.left + printedPlot.right) / 2, width, width * 3 / 4);
    const int y = MulDiv(printedPlot.top, height, height * 3 / 4);
    bool found = false;
    for (int dy = -2; dy <= 2 && !found; ++dy) found = page.GetPixel(x, y + dy) == kRed;
    EXPECT_TRUE(found);
    ExpectLabelsClearOfTheAxis(page, printedPlot);
    chart.OnEndPrinting(&page, nullptr);
    EXPECT_EQ(chart.GetPlottingRect(), screenPlot);

    // A titled axis whose title the short chart on the screen writes smaller: on the taller page it is
    // written at its size, and the labels' margin is made for that size, not for the screen's.
    left->GetLabel()->SetText(_T("Bending Moment Envelope (kNm)"));
    left->SetMinMax(-200, 1000);
    chart.MoveWindow(0, 0, 420, 150);
    chart.RefreshCtrl();
    const CRect shortPlot = chart.GetPlottingRect();
    page.FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    chart.OnBeginPrinting(&page, nullptr);
    const int savedTitled = page.SaveDC();
    chart.OnPrint(&page, nullptr);
    const CRect titledPlot = chart.GetPlottingRect();
    page.RestoreDC(savedTitled);
    ExpectLabelsClearOfTheAxis(page, titledPlot);
    chart.OnEndPrinting(&page, nullptr);
    page.SelectObject(pOld);

    // A DC that is no printer refuses the document and changes nothing.
    EXPECT_FALSE(chart.PrintOn(&screen, _T("Chart")));
    EXPECT_EQ(chart.GetPlottingRect(), shortPlot);
}

TEST_F(ChartWindowTest, HiddenSeriesDrawNothing)
{
    CChartLineSerie* s = AddBlueLineAtFive();
    const CRect plot = chart.GetPlottingRect();
    EXPECT_EQ(Pixel(plot.left + 5, left->ValueToScreen(5)), kBlue);
    s->SetVisible(false);
    for (int x = plot.left + 1; x < plot.right; x += 5) EXPECT_NE(Pixel(x, left->ValueToScreen(5)), kBlue);
    s->AddPoint(5, 6); // a hidden series draws no new points either
    for (int x = plot.left + 1; x < plot.right; x += 5) EXPECT_NE(Pixel(x, left->ValueToScreen(5)), kBlue);
}

TEST_F(ChartWindowTest, TitleTextStartsFourPixelsDown)
{
    chart.GetTitle()->SetColour(kRed);
    chart.GetTitle()->AddString(_T("Shear Force"));
    const CRect title = chart.GetTitle()->GetTitleRect();
    ASSERT_GT(title.Height(), 0);
    int firstRow = -1;
    for (int y = title.top; y < title.bottom && firstRow < 0; ++y)
        for (int x = title.left; x < title.right; ++x)
            if (Pixel(x, y) != chart.GetBackColour())
            {
                firstRow = y;
                break;
            }
    ASSERT_GE(firstRow, 0);
    EXPECT_GE(firstRow, title.top + 4);
    // Centred: as much room on the left of the text as on the right, within a pixel or two.
    int leftmost = title.right, rightmost = title.left;
    for (int y = title.top; y < title.bottom; ++y)
        for (int x = title.left; x < title.right; ++x)
            if (Pixel(x, y) != chart.GetBackColour())
            {
                leftmost = std::min(leftmost, x);
                rightmost = std::max(rightmost, x);
            }
    EXPECT_NEAR(leftmost - title.left, title.right - 1 - rightmost, 3);
}

TEST_F(ChartWindowTest, AButtonUpWithoutADragChangesNothing)
{
    Drag(WM_LBUTTONDOWN, WM_LBUTTONUP, CPoint(100, 60), CPoint(220, 160));
    const double min = bottom->GetMin(), max = bottom->GetMax();
    ASSERT_GT(min, 0);
    // A stray release (its press went elsewhere) does not zoom or reset again.
    chart.SendMessage(WM_LBUTTONUP, 0, Pt(40, 20));
    EXPECT_EQ(bottom->GetMin(), min);
    EXPECT_EQ(bottom->GetMax(), max);
}

TEST_F(ChartWindowTest, PrintMakesOnePageThroughTheDialog)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(0, 1);
    s->AddPoint(10, 9);
    const CRect screenPlot = chart.GetPlottingRect();
    // In the test program's temporary folder, which goes with it whatever the test meets.
    const std::string path = qor::test::TempFilePath("chart-print.pdf");
    qor::gui::SetPrintToFile(CString(path.c_str()));

    // Cancelled: nothing is printed.
    int dialogs = 0;
    auto previous = qor::gui::SetPrintDialogDriver([&](CPrintDialog& dlg) {
        ++dialogs;
        EXPECT_NE(dlg.m_pd.Flags & PD_NOPAGENUMS, 0u);
        return IDCANCEL;
    });
    chart.Print(_T("Chart"));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);

    // Confirmed: one document, and the screen layout afterwards.
    qor::gui::SetPrintDialogDriver([&](CPrintDialog&) {
        ++dialogs;
        return IDOK;
    });
    chart.Print(_T("Chart"));
    EXPECT_EQ(dialogs, 2);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char head[5] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_STREQ(head, "%PDF");
    EXPECT_EQ(chart.GetPlottingRect(), screenPlot);

    // With the caller's dialog: its printer DC, no dialog shown, the DC stays the caller's.
    std::remove(path.c_str());
    CPrintDialog dlg(FALSE);
    ASSERT_NE(dlg.CreatePrinterDC(), nullptr);
    chart.Print(_T("Chart"), &dlg);
    EXPECT_EQ(dialogs, 2);
    EXPECT_NE(dlg.GetPrinterDC(), nullptr);
    f = std::fopen(path.c_str(), "rb");
    EXPECT_NE(f, nullptr);
    if (f) std::fclose(f);
    ::DeleteDC(dlg.GetPrinterDC());
    qor::gui::SetPrintDialogDriver(previous);
    qor::gui::SetPrintToFile(CString());
    std::remove(path.c_str());
}

// The chart rectangle is the client area less 3 pixels: (3, 3, 417, 317). Without a title
// the legend's working rectangle is the same, 414 x 314.
TEST_F(ChartWindowTest, LegendDocksOnEachSide)
{
    chart.RefreshCtrl();
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(1, 1);
    chart.AllowRefresh(false);
    s->SetName(_T("Maximum"));
    CChartLegend* legend = chart.GetLegend();
    legend->SetVisible(true);
    chart.AllowRefresh(true);

    CDC* pDC = chart.GetBackgroundDC();
    ASSERT_NE(pDC, nullptr);
    CFont font;
    font.CreatePointFont(100, _T("Times New Roman"), pDC);
    CFont* pOld = pDC->SelectObject(&font);
    const CSize name = pDC->GetTextExtent(CString(_T("Maximum")));
    pDC->SelectObject(pOld);
    ASSERT_GT(name.cx, 0);

    // Vertical layout: name + 12 + sample wide, 6 + (2 + taller of name and sample) high.
    const int w = name.cx + 12 + 16, h = 6 + 2 + std::max<int>(name.cy, 16);
    EXPECT_EQ(legend->GetLegendRect(), CRect(417 - w - 6, 314 / 2 - (h + 2) / 2, 417 - 6, 314 / 2 - (h + 2) / 2 + h));
    EXPECT_LE(chart.GetPlottingRect().right, legend->GetLegendRect().left + 2 - 3);

    legend->DockLegend(CChartLegend::dsDockLeft);
    EXPECT_EQ(legend->GetLegendRect(), CRect(6, 314 / 2 - (h + 2) / 2, 6 + w, 314 / 2 - (h + 2) / 2 + h));
    EXPECT_GE(chart.GetPlottingRect().left, legend->GetLegendRect().right - 2);

    // Horizontal layout: name + 14 + sample less 6 wide, taller of name and sample + 8 high.
    chart.AllowRefresh(false);
    legend->SetHorizontalMode(true);
    legend->DockLegend(CChartLegend::dsDockTop);
    chart.AllowRefresh(true);
    const int hw = name.cx + 14 + 16 - 6, hh = std::max<int>(name.cy, 16) + 8;
    EXPECT_EQ(legend->GetLegendRect(), CRect(414 / 2 - hw / 2, 6, 414 / 2 - hw / 2 + hw, 6 + hh));
    EXPECT_GE(chart.GetPlottingRect().top, 6 + hh + 2);

    legend->DockLegend(CChartLegend::dsDockBottom);
    EXPECT_EQ(legend->GetLegendRect(), CRect(414 / 2 - hw / 2, 317 - hh - 2, 414 / 2 - hw / 2 + hw, 317 - 2));
    EXPECT_LE(chart.GetPlottingRect().bottom, 317 - hh - 2 - 2);

    legend->UndockLegend(40, 50);
    EXPECT_EQ(legend->GetLegendRect(), CRect(40, 50, 40 + hw, 50 + hh));
}

// Both axes 0..10, no titles: the left axis takes its widest label, its tick marks and a clearance of half
// a label's height between labels and marks (at least 2), and half a label
// height at the top, the bottom one its label height + 6 and half its widest label on the
// right; the ticks of the second pass sit at floor(length * k / 10).
TEST_F(ChartWindowTest, MarginsTakeTheLabelSizes)
{
    chart.RefreshCtrl();
    CDC* pDC = chart.GetBackgroundDC();
    ASSERT_NE(pDC, nullptr);
    CFont font;
    font.CreatePointFont(80, _T("Microsoft Sans Serif"), pDC);
    CFont* pOld = pDC->SelectObject(&font);
    CSize widest(0, 0);
    for (int v = 0; v <= 10; ++v)
    {
        CString text;
        text.Format(_T("%d"), v);
        const CSize size = pDC->GetTextExtent(text);
        widest.cx = std::max(widest.cx, size.cx);
        widest.cy = std::max(widest.cy, size.cy);
    }
    pDC->SelectObject(pOld);

    const CRect plot = chart.GetPlottingRect();
    const int clearance = std::max<int>(2, widest.cy / 2);
    EXPECT_EQ(plot.left, 3 + widest.cx + 8 + clearance);
    EXPECT_EQ(plot.top, 3 + 3 + widest.cy / 2);
    EXPECT_EQ(plot.right, 417 - 3 - widest.cx / 2);
    EXPECT_EQ(plot.bottom, 317 - (widest.cy + 6));
    EXPECT_EQ(left->GetMargin(), widest.cx + 8 + clearance);
    EXPECT_EQ(bottom->GetMargin(), widest.cy + 6);

    // Increment 1 on both (at least 10 spacings on each axis), labels without decimals.
    ASSERT_DOUBLE_EQ(bottom->GetTickIncrement(), 1.0);
    ASSERT_DOUBLE_EQ(left->GetTickIncrement(), 1.0);
    const std::vector<int>& xs = bottom->GetGrid()->GetTicks();
    const std::vector<int>& ys = left->GetGrid()->GetTicks();
    ASSERT_EQ(xs.size(), 11u);
    ASSERT_EQ(ys.size(), 11u);
    for (int k = 0; k <= 10; ++k)
    {
        EXPECT_EQ(xs[k], plot.left + plot.Width() * k / 10) << k;
        EXPECT_EQ(ys[k], plot.bottom - plot.Height() * k / 10) << k;
    }
}

TEST_F(ChartWindowTest, TitleDescendersAreNotCutOff)
{
    chart.GetTitle()->SetColour(kRed);
    chart.GetTitle()->AddString(_T("gpy"));
    const CRect title = chart.GetTitle()->GetTitleRect();
    ASSERT_GT(title.Height(), 0);
    // The text starts 4 pixels down, 2 below the measured rectangle's room: the descenders
    // reach under the rectangle and must still be drawn.
    auto inked = [&](int y) {
        for (int x = title.left; x < title.right; ++x)
            if (Pixel(x, y) == kRed) return true;
        return false;
    };
    EXPECT_TRUE(inked(title.bottom) || inked(title.bottom + 1));
}

TEST_F(ChartWindowTest, AxisTitlesLongerThanTheChartAreWrittenSmallerInsideIt)
{
    left->GetLabel()->SetText(_T("Bending Moment Envelope (kNm)"));
    const CRect fitting = left->GetLabel()->GetRect();
    EXPECT_GE(fitting.top, 0);

    // A little short: the title is written smaller, whole (an ellipsis would keep the type's size).
    chart.MoveWindow(0, 0, 420, 200);
    chart.RefreshCtrl();
    const CRect smaller = left->GetLabel()->GetRect();
    EXPECT_LT(smaller.Width(), fitting.Width()) << "written smaller";
    EXPECT_LT(smaller.Height(), fitting.Height());
    EXPECT_GE(smaller.top, 0);

    chart.MoveWindow(0, 0, 420, 90);
    chart.RefreshCtrl();
    CRect client;
    chart.GetClientRect(&client);
    const CRect cut = left->GetLabel()->GetRect();
    EXPECT_LT(cut.Height(), fitting.Height());
    EXPECT_GE(cut.top, client.top);
    EXPECT_LE(cut.bottom, client.bottom);
}

TEST_F(ChartWindowTest, AChartOfManyPointsIsRedrawnInSlicesToTheSamePicture)
{
    HideGrids();
    chart.AllowRefresh(false);
    // 1 500 curves of 50 points: more than a chart draws in one go.
    for (int k = 0; k < 1500; ++k)
    {
        CChartLineSerie* s = chart.CreateLineSerie();
        s->SetColour(RGB(k % 200, 40, 200 - k % 200));
        std::vector<double> x(50), y(50);
        for (int i = 0; i < 50; ++i)
        {
            x[static_cast<size_t>(i)] = i / 5.0;
            y[static_cast<size_t>(i)] = 5.0 + 4.0 * std::sin(0.3 * i + 0.01 * k);
        }
        s->AddPoints(x.data(), y.data(), 50);
    }
    chart.AllowRefresh(true);
    auto picture = [this] {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 320; y += 2)
            for (int x = 0; x < 420; x += 2) pixels.push_back(Pixel(x, y));
        return pixels;
    };
    chart.FinishRedraw();
    ASSERT_FALSE(chart.IsRedrawing());
    const std::vector<COLORREF> once = picture();

    // A redraw returns with curves still to come; they come from the message loop, a slice a
    // turn. A curve added meanwhile waits for its turn, so the newest is drawn last as in one go.
    chart.RefreshCtrl();
    ASSERT_TRUE(chart.IsRedrawing());
    int turns = 0;
    ASSERT_TRUE(qor::test::PumpUntil(
        [&] {
            ++turns;
            return !chart.IsRedrawing();
        },
        120000));
    EXPECT_GE(turns, 2);
    EXPECT_EQ(picture(), once);

    chart.RefreshCtrl();
    ASSERT_TRUE(chart.IsRedrawing());
    CChartLineSerie* last = chart.CreateLineSerie();
    last->SetColour(kRed);
    last->AddPoint(0, 5);
    last->AddPoint(10, 5);
    EXPECT_TRUE(chart.IsSeriesStillToDraw(last->GetSerieId()));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !chart.IsRedrawing(); }, 120000));
    const std::vector<COLORREF> sliced = picture();
    chart.RefreshCtrl();
    chart.FinishRedraw();
    EXPECT_EQ(sliced, picture());
    const CPoint a = last->PointScreenPosition(0), b = last->PointScreenPosition(1);
    EXPECT_EQ(Pixel((a.x + b.x) / 2, a.y), kRed);
}

// A chart printed in parts, a few lines a call over many turns of the message loop, prints the page
// that drawing it in one go prints.
TEST_F(ChartWindowTest, AChartDrawnInPartsOnAnotherDcDrawsWhatOneGoDraws)
{
    HideGrids();
    chart.AllowRefresh(false);
    // 2 000 lines of 60 points over a shared x, and a named red line drawn after them.
    std::vector<double> x(60), y(2000 * 60);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = static_cast<double>(i) / 6.0;
    for (std::size_t k = 0; k < 2000; ++k)
        for (std::size_t i = 0; i < x.size(); ++i)
            y[k * 60 + i] = 5.0 + 4.0 * std::sin(0.25 * static_cast<double>(i) + 0.002 * static_cast<double>(k));
    CChartLineFamilySerie* lines = chart.CreateLineFamilySerie();
    lines->SetColour(RGB(150, 150, 150));
    lines->SetLines(
        [&](std::size_t k, SChartLine& line) {
            line = SChartLine{x.data(), y.data() + k * 60, 60};
            return true;
        },
        2000, 0.0, 10.0, 1.0, 9.0);
    lines->ShowLines(2000);
    CChartLineSerie* red = AddBlueLineAtFive();
    red->SetColour(kRed);
    red->SetName(_T("Envelope"));
    chart.GetLegend()->SetVisible(true);
    chart.AllowRefresh(true);

    CClientDC screen(&chart);
    const CRect rect(0, 0, 600, 450);
    auto page = [&](const std::function<void(CDC&)>& draw) {
        CDC dc;
        EXPECT_TRUE(dc.CreateCompatibleDC(&screen));
        CBitmap bitmap;
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&screen, rect.Width(), rect.Height()));
        CBitmap* old = dc.SelectObject(&bitmap);
        dc.FillSolidRect(rect, RGB(255, 255, 255));
        draw(dc);
        std::vector<COLORREF> pixels;
        for (int py = 0; py < rect.Height(); ++py)
            for (int px = 0; px < rect.Width(); ++px) pixels.push_back(dc.GetPixel(px, py));
        dc.SelectObject(old);
        return pixels;
    };
    const std::vector<COLORREF> once = page([&](CDC& dc) { chart.DrawChart(&dc, rect); });
    int calls = 0;
    const std::vector<COLORREF> parts = page([&](CDC& dc) {
        // Each call finds its time up: it draws the least it can and gives the loop its turn.
        while (!chart.DrawChartPart(&dc, rect, calls++ == 0, GetTickCount()))
        {
            if (calls == 2) chart.RefreshCtrl(); // the screen is redrawn meanwhile, on its own layout
            qor::test::Pump(0);
        }
    });
    EXPECT_GT(calls, 10);
    EXPECT_GT(std::count(once.begin(), once.end(), RGB(150, 150, 150)), 5000);
    EXPECT_GT(std::count(once.begin(), once.end(), kRed), 300);
    EXPECT_TRUE(parts == once);
}

TEST_F(ChartWindowTest, ALongLineIsRedrawnInStretchesThatJoinAsOneLine)
{
    HideGrids();
    // A saw of 600,000 points over the range (twelve stretches), every tooth over several pixels.
    constexpr unsigned kPoints = 600000;
    std::vector<double> x(kPoints), y(kPoints);
    for (unsigned i = 0; i < kPoints; ++i)
    {
        x[i] = 10.0 * i / (kPoints - 1);
        y[i] = 1.0 + 8.0 * static_cast<double>(i % 7000) / 7000.0;
    }
    CChartLineSerie* s = chart.CreateLineSerie();
    s->SetColour(kBlue);
    s->AddPoints(x.data(), y.data(), kPoints);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !chart.IsRedrawing(); }, 60000));
    auto image = [&] {
        BITMAP bm{};
        chart.GetBackgroundDC()->GetCurrentBitmap()->GetBitmap(&bm);
        std::vector<unsigned char> bits(static_cast<size_t>(bm.bmWidthBytes * bm.bmHeight));
        chart.GetBackgroundDC()->GetCurrentBitmap()->GetBitmapBits(static_cast<DWORD>(bits.size()), bits.data());
        return bits;
    };
    // The chart without the line, then the line drawn over it in one go.
    s->SetVisible(false);
    chart.FinishRedraw();
    chart.AllowRefresh(false);
    s->SetVisible(true);
    s->DrawAll(chart.GetBackgroundDC());
    const std::vector<unsigned char> oneGo = image();
    // Redrawn a slice a turn: over several turns, to the same pixels.
    chart.AllowRefresh(true);
    ASSERT_TRUE(chart.IsRedrawing());
    int turns = 0;
    for (; chart.IsRedrawing() && turns < 10000; ++turns) chart.ContinueRedraw();
    EXPECT_GE(turns, 2);
    EXPECT_EQ(image(), oneGo);
}
