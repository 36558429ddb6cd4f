// A standard axis on its own (no chart window): ticks, labels, mapping, zoom and pan.
#include "controls/chart/ChartStandardAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// A horizontal axis from x = 0 to x = length, or a vertical one from y = length up to 0.
void Place(CChartAxis& axis, bool horizontal, int length)
{
    axis.SetHorizontal(horizontal);
    const CRect plot(0, 0, horizontal ? length : 100, horizontal ? 100 : length);
    axis.SetAxisSize(plot, CRect());
}

std::vector<double> Ticks(const CChartStandardAxis& axis)
{
    std::vector<double> ticks;
    double tick = axis.FirstTickValue();
    for (int guard = 0; guard < 1000; ++guard)
    {
        ticks.push_back(tick);
        double next = 0;
        if (!axis.NextTickValue(tick, &next)) break;
        tick = next;
    }
    return ticks;
}

} // namespace

TEST(ChartStandardAxis, Defaults)
{
    CChartStandardAxis axis;
    EXPECT_EQ(axis.GetTickIncrement(), 1.0);
    EXPECT_EQ(axis.GetDecimals(), 2);
    EXPECT_EQ(axis.GetFirstTick(), 0.0);
    EXPECT_EQ(axis.GetAutomaticMode(), 0);
    EXPECT_EQ(axis.GetZoomLimit(), 0.001);
    EXPECT_TRUE(axis.IsHorizontal());
    EXPECT_EQ(axis.TickLabel(12.5), CString(_T("12.50")));
}

TEST(ChartStandardAxis, ZeroToTenOnThreeHundredPixels)
{
    CChartStandardAxis axis;
    Place(axis, true, 300);
    axis.SetMinMax(0, 10);
    axis.RefreshTicks();
    EXPECT_EQ(axis.GetTickIncrement(), 1.0);
    EXPECT_EQ(axis.GetDecimals(), 0);
    const std::vector<double> ticks = Ticks(axis);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(axis.TickLabel(ticks[0]), CString(_T("0")));
    EXPECT_EQ(axis.TickLabel(ticks[10]), CString(_T("10")));
    EXPECT_EQ(axis.TickPosition(ticks[3]), 90);
}

TEST(ChartStandardAxis, SymmetricRangeOnAVerticalAxis)
{
    CChartStandardAxis axis;
    Place(axis, false, 200);
    axis.SetMinMax(-0.37, 0.37);
    axis.RefreshTicks();
    EXPECT_DOUBLE_EQ(axis.GetTickIncrement(), 0.1);
    EXPECT_EQ(axis.GetDecimals(), 1);
    EXPECT_NEAR(axis.FirstTickValue(), -0.3, 1e-12);
    std::vector<CString> labels;
    for (double t : Ticks(axis)) labels.push_back(axis.TickLabel(t));
    ASSERT_EQ(labels.size(), 7u);
    EXPECT_EQ(labels[3], CString(_T("0.0")));
    EXPECT_EQ(labels[0], CString(_T("-0.3")));
    EXPECT_EQ(labels[6], CString(_T("0.3")));
}

TEST(ChartStandardAxis, ZeroToOneKeepsItsLastTick)
{
    CChartStandardAxis axis;
    Place(axis, true, 600);
    axis.SetMinMax(0, 1);
    axis.RefreshTicks();
    const std::vector<double> ticks = Ticks(axis);
    ASSERT_EQ(ticks.size(), 21u);
    EXPECT_EQ(axis.TickLabel(ticks.back()), CString(_T("1.00")));
    EXPECT_EQ(axis.TickPosition(ticks.back()), 600);
}

TEST(ChartStandardAxis, TickRunsAlwaysEnd)
{
    CChartStandardAxis axis;
    Place(axis, true, 300);
    axis.SetMinMax(0, 1e6);
    axis.SetTickIncrement(false, 1e-300); // a manual increment that never reaches max
    axis.RefreshTicks();
    double next = 0;
    // The next tick is computed from the tick index; the run is bounded by the caller's cap.
    EXPECT_TRUE(axis.NextTickValue(axis.FirstTickValue(), &next));
    axis.SetTickIncrement(false, 0.0);
    EXPECT_FALSE(axis.NextTickValue(0, &next));
    // A short axis still has one interval.
    axis.SetTickIncrement(true, 0);
    Place(axis, true, 10);
    axis.SetMinMax(0, 7);
    axis.RefreshTicks();
    EXPECT_EQ(axis.GetTickIncrement(), 10.0);
    EXPECT_LE(Ticks(axis).size(), 2u);
}

TEST(ChartStandardAxis, MappingAndInversion)
{
    CChartStandardAxis axis;
    Place(axis, false, 200); // bottom 200, top 0
    axis.SetMinMax(0, 10);
    EXPECT_EQ(axis.ValueToScreen(0), 200);
    EXPECT_EQ(axis.ValueToScreen(10), 0);
    EXPECT_DOUBLE_EQ(axis.ScreenToValue(150), 2.5);
    axis.SetInverted(true); // min at the top
    EXPECT_EQ(axis.ValueToScreen(0), 0);
    EXPECT_EQ(axis.ValueToScreen(10), 200);
    EXPECT_DOUBLE_EQ(axis.ScreenToValue(150), 7.5);
    axis.SetMinMax(4, 4);
    EXPECT_EQ(axis.ValueToScreen(123), 100);
    EXPECT_EQ(axis.ScreenToValue(17), 4.0);
}

TEST(ChartStandardAxis, DiscreteValuesSitMidInterval)
{
    CChartStandardAxis axis;
    Place(axis, true, 100);
    axis.SetMinMax(0, 10);
    axis.SetTickIncrement(false, 1.0);
    axis.SetDiscrete(true);
    axis.RefreshTicks();
    EXPECT_EQ(axis.DiscreteValueToScreen(3.0), 35); // 3.5
    EXPECT_EQ(axis.DiscreteValueToScreen(3.99), 35);
    EXPECT_EQ(axis.FirstTickValue(), -1.0); // one increment lower
}

TEST(ChartStandardAxis, ZoomAndPan)
{
    CChartStandardAxis axis;
    Place(axis, true, 100);
    axis.SetMinMax(0, 10);
    axis.SetZoomMinMax(2, 2.0002);
    EXPECT_EQ(axis.GetMin(), 2);
    EXPECT_DOUBLE_EQ(axis.GetMax(), 2.001);
    axis.SetZoomMinMax(2, 6);
    EXPECT_EQ(axis.GetUnzoomedMin(), 0);
    EXPECT_EQ(axis.GetUnzoomedMax(), 10);
    axis.PanByPixels(50, 75); // dragged 25 px right: the range moves 1 left
    EXPECT_DOUBLE_EQ(axis.GetMin(), 1);
    EXPECT_DOUBLE_EQ(axis.GetMax(), 5);
    axis.UndoZoom();
    EXPECT_EQ(axis.GetMin(), 0);
    EXPECT_EQ(axis.GetMax(), 10);
    axis.EnableZoom(false);
    axis.SetZoomMinMax(3, 4);
    EXPECT_EQ(axis.GetMin(), 0);
    axis.EnableZoom(true);
    axis.SetMinMax(5, 5);
    axis.SetZoomMinMax(3, 4); // degenerate range: ignored
    EXPECT_EQ(axis.GetMin(), 5);
}

TEST(ChartStandardAxis, ScrollStepsOverTheSeriesRange)
{
    CChartStandardAxis axis;
    Place(axis, true, 100);
    axis.SetMinMax(0, 10);
    int count = 0, position = 0;
    axis.ScrollBarSteps(&count, &position); // no series
    EXPECT_EQ(count, 1);
    EXPECT_EQ(position, 1);
    axis.ScrollBySteps(0, 3, false);
    EXPECT_DOUBLE_EQ(axis.GetMin(), 3);
    axis.ScrollBySteps(3, 1, true);
    EXPECT_DOUBLE_EQ(axis.GetMin(), 5);
}
