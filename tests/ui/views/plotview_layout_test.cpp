// The plot view in a child frame: its charts laid out below the title in rows and columns,
// axis ranges widened to whole ticks, and an empty chart grid refused.
#include "views_support.h"

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartStandardAxis.h"

#include <cmath>

using namespace viewtest;

namespace {

CRect ChartRectIn(CPlotView* view, unsigned i)
{
    CRect r;
    view->GetChart(i)->GetWindowRect(&r);
    view->ScreenToClient(&r);
    return r;
}

} // namespace

TEST_F(PlotTest, ChartsFillTheViewColumnByColumnBelowTheTitle)
{
    struct Case
    {
        unsigned rows, cols;
    };
    for (Case c : {Case{2, 1}, Case{3, 1}, Case{2, 2}})
    {
        CPlotView* view = OpenPlot(c.rows, c.cols);
        ASSERT_NE(view, nullptr);
        ASSERT_EQ(view->GetChartCount(), c.rows * c.cols);
        CRect client;
        view->GetClientRect(&client);
        ASSERT_GT(client.Height(), 200);
        const CQORViewBase::SGap& gap = view->GetGap();
        const int top = view->GetContentTop();
        EXPECT_GT(top, gap.TOP); // the title's height lies between
        const int rows = static_cast<int>(c.rows), cols = static_cast<int>(c.cols);
        const int h = (client.bottom - (rows - 1) * gap.BETWN - gap.BTM - gap.TOP - top) / rows;
        const int w = (client.right - (cols - 1) * gap.BETWN - gap.RIGHT - gap.LEFT) / cols;
        for (unsigned i = 0; i < view->GetChartCount(); ++i)
        {
            const int col = static_cast<int>(i / c.rows), row = static_cast<int>(i % c.rows);
            EXPECT_EQ(
                ChartRectIn(view, i),
                CRect(CPoint((gap.BETWN + w) * col + gap.LEFT, (gap.BETWN + h) * row + gap.TOP + top), CSize(w, h)))
                << c.rows << "x" << c.cols << " chart " << i;
        }
        // A resized frame lays the charts out again.
        view->GetParentFrame()->MoveWindow(0, 0, 600, 500);
        view->GetClientRect(&client);
        const int h2 = (client.bottom - (rows - 1) * gap.BETWN - gap.BTM - gap.TOP - view->GetContentTop()) / rows;
        EXPECT_EQ(ChartRectIn(view, 0).Height(), h2);
    }
}

TEST_F(PlotTest, AxesRoundOutToWholeTicksWithRoomAtBothEnds)
{
    CPlotView* view = OpenPlot(1, 1);
    ASSERT_NE(view, nullptr);
    CChartCtrl* chart = view->GetChart(0);
    auto* left = static_cast<CChartStandardAxis*>(chart->GetLeftAxis());
    left->SetTickIncrement(false, 10.0);
    struct Case
    {
        double min, max, roundedMin, roundedMax;
    };
    for (Case c : {Case{0.0, 100.0, -10.0, 110.0}, Case{0.5, 97.0, -10.0, 100.0}, Case{-42.0, -3.0, -50.0, 0.0}})
    {
        left->SetMinMax(c.min, c.max);
        CPlotView::RoundAxis(chart, 0);
        EXPECT_DOUBLE_EQ(left->GetMin(), c.roundedMin);
        EXPECT_DOUBLE_EQ(left->GetMax(), c.roundedMax);
        EXPECT_DOUBLE_EQ(left->GetUnzoomedMin(), c.roundedMin);
        EXPECT_DOUBLE_EQ(left->GetUnzoomedMax(), c.roundedMax);
    }
    left->SetTickIncrement(false, 0.0);
    left->SetMinMax(0.5, 97.0);
    CPlotView::RoundAxis(chart, 0);
    EXPECT_DOUBLE_EQ(left->GetMin(), 0.5);
    EXPECT_DOUBLE_EQ(left->GetMax(), 97.0);
}

TEST_F(PlotTest, SeriesRoundTheAxesToTheTicksTheChartShowsAtItsSize)
{
    // Spans of 10 to 25 m and ratios of 0.97 to 1.10, as a ratio plot has them, added while the
    // charts are held (as the drawing operations add them), before any paint.
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    CChartCtrl* chart = view->GetChart(0);
    CRect client;
    chart->GetClientRect(&client);
    ASSERT_GT(client.Width(), 400);
    chart->AllowRefresh(false);
    view->AddSeries(0, {10.0, 15.0, 20.0, 25.0}, {0.97, 1.0, 1.05, 1.10}, RGB(255, 0, 0), true, 2, false, true);
    chart->AllowRefresh(true);
    // Drawn at the same size, each axis ends on its own ticks, at most 1.2 increments beyond the
    // data: not on the coarse ticks of a chart a few pixels wide.
    chart->RefreshCtrl();
    struct Case
    {
        CChartStandardAxis* axis;
        double lo, hi;
    };
    for (Case c : {Case{static_cast<CChartStandardAxis*>(chart->GetBottomAxis()), 10.0, 25.0},
                   Case{static_cast<CChartStandardAxis*>(chart->GetLeftAxis()), 0.97, 1.10}})
    {
        const double d = c.axis->GetTickIncrement();
        ASSERT_GT(d, 0.0);
        EXPECT_LE(c.axis->GetMin(), c.lo - 0.2 * d + 1e-9);
        EXPECT_GE(c.axis->GetMin(), c.lo - 1.2 * d - 1e-9);
        EXPECT_GE(c.axis->GetMax(), c.hi + 0.2 * d - 1e-9);
        EXPECT_LE(c.axis->GetMax(), c.hi + 1.2 * d + 1e-9);
        EXPECT_NEAR(c.axis->GetMin() / d, std::round(c.axis->GetMin() / d), 1e-6);
    }
}

TEST_F(PlotTest, SeriesGoOnlyToChartsThatExistAndKeepTheirPairs)
{
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->AddSeries(0, {0.0, 1.0, 2.0}, {1.0, 2.0, 3.0}, RGB(255, 0, 0), true, 2, true, true);
    view->AddSeries(1, {0.0, 1.0}, {1.0}, RGB(255, 0, 0), false, 2, false, true);      // unequal: left out
    view->AddSeries(2, {0.0, 1.0}, {1.0, 2.0}, RGB(255, 0, 0), false, 2, false, true); // no chart 2
    EXPECT_EQ(view->GetChart(0)->GetSeriesCount(), 2u);                                // the line and its markers
    EXPECT_EQ(view->GetChart(1)->GetSeriesCount(), 0u);
    // Inverted: the line keeps the values with their signs (as the tables and the tips give them)
    // and the axis is turned over, so the largest is drawn lowest.
    auto* line = dynamic_cast<CChartLineSerie*>(view->GetChart(0)->GetSeries().begin()->second);
    ASSERT_NE(line, nullptr);
    EXPECT_DOUBLE_EQ(line->GetYPointValue(2), 3.0);
    EXPECT_TRUE(view->GetChart(0)->GetLeftAxis()->IsInverted());
    EXPECT_FALSE(view->GetChart(1)->GetLeftAxis()->IsInverted());
    qor::test::PaintNow(view->GetChart(0));
    EXPECT_GT(line->PointScreenPosition(2).y, line->PointScreenPosition(0).y);
    EXPECT_EQ(line->GetWidth(), 2);

    bool thrown = false;
    try
    {
        view->CreateCharts(0, 1);
    }
    catch (const char* text)
    {
        thrown = true;
        EXPECT_STREQ(text, "Cannot have zero rows or columns");
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(view->GetChartCount(), 2u); // the charts made before stay
}

TEST_F(PlotTest, ASeriesInsideTheAxesIsDrawnWithoutRedrawingTheChart)
{
    CPlotView* view = OpenPlot(1, 1);
    ASSERT_NE(view, nullptr);
    CChartCtrl* chart = view->GetChart(0);
    view->AddSeries(0, {0.0, 10.0}, {-5.0, 5.0}, RGB(0, 0, 0), false, 4, false, true);
    // A series without rounding gives the axes back the data's own ranges (one redraw) ...
    view->AddSeries(0, {0.0, 10.0}, {-5.0, 5.0}, RGB(0, 0, 0), false, 1, false, false);
    qor::test::PaintNow(chart);
    const unsigned redraws = chart->GetRedrawCount();
    const COLORREF grey = RGB(160, 160, 160);
    CRect client;
    chart->GetClientRect(&client);
    const int before = qor::test::CountSurfacePixels(chart, client, grey);
    // ... and one inside them goes onto the image alone, and on the screen at the next paint.
    view->AddSeries(0, {1.0, 9.0}, {2.0, 2.0}, grey, false, 1, false, false);
    EXPECT_EQ(chart->GetRedrawCount(), redraws);
    qor::test::PaintNow(chart);
    EXPECT_GT(qor::test::CountSurfacePixels(chart, client, grey), before + 50);
}
