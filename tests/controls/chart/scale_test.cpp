// The axis arithmetic: tick increments, first ticks, tick runs, mapping and labels.
#include "controls/chart/ChartScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace qor::chart;

namespace {

// The tick values an axis draws: first + k * increment while within max, capped.
std::vector<double> Ticks(double min, double max, int length, int spacing)
{
    STickIncrement inc = ComputeTickIncrement(min, max, length, spacing, 2);
    std::vector<double> ticks;
    if (!TicksUsable(min, max, inc.increment)) return ticks;
    const double first = ComputeFirstTick(min, inc.increment);
    for (int k = 0; k < MaxTickCount(length, spacing); ++k)
    {
        const double v = TickValue(first, inc.increment, k);
        if (!TickWithinMax(v, max, inc.increment)) break;
        ticks.push_back(v);
    }
    return ticks;
}

} // namespace

TEST(ChartTickIncrement, ZeroToTenOnThreeHundredPixels)
{
    STickIncrement inc = ComputeTickIncrement(0.0, 10.0, 300, kHorizontalTickSpacing, 2);
    EXPECT_DOUBLE_EQ(inc.increment, 1.0);
    EXPECT_EQ(inc.decimals, 0);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(0.0, inc.increment), 0.0);
    std::vector<double> ticks = Ticks(0.0, 10.0, 300, kHorizontalTickSpacing);
    ASSERT_EQ(ticks.size(), 11u);
    EXPECT_EQ(FormatTickLabel(ticks.front(), inc.decimals, inc.increment), L"0");
    EXPECT_EQ(FormatTickLabel(ticks.back(), inc.decimals, inc.increment), L"10");
}

TEST(ChartTickIncrement, SymmetricSmallRangeOnVerticalAxis)
{
    STickIncrement inc = ComputeTickIncrement(-0.37, 0.37, 200, kVerticalTickSpacing, 2);
    EXPECT_DOUBLE_EQ(inc.increment, 0.1); // 10 x base 0.01
    EXPECT_EQ(inc.decimals, 1);
    EXPECT_NEAR(ComputeFirstTick(-0.37, inc.increment), -0.3, 1e-12);
    std::vector<double> ticks = Ticks(-0.37, 0.37, 200, kVerticalTickSpacing);
    ASSERT_EQ(ticks.size(), 7u); // -0.3 .. 0.3
    std::vector<std::wstring> labels;
    for (double t : ticks) labels.push_back(FormatTickLabel(t, inc.decimals, inc.increment));
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"-0.3", L"-0.2", L"-0.1", L"0.0", L"0.1", L"0.2", L"0.3"}));
}

TEST(ChartTickIncrement, LastTickKeptDespiteRounding)
{
    // 20 ticks of 0.05: summing 0.05 twenty times overshoots 1; tick 20 must stay.
    STickIncrement inc = ComputeTickIncrement(0.0, 1.0, 600, kHorizontalTickSpacing, 2);
    EXPECT_DOUBLE_EQ(inc.increment, 0.05);
    EXPECT_EQ(inc.decimals, 2);
    std::vector<double> ticks = Ticks(0.0, 1.0, 600, kHorizontalTickSpacing);
    ASSERT_EQ(ticks.size(), 21u);
    EXPECT_EQ(FormatTickLabel(ticks.back(), 2, 0.05), L"1.00");
    // A tick only a hair above max still counts; a real overshoot does not.
    EXPECT_TRUE(TickWithinMax(1.0 + 1e-12, 1.0, 0.05));
    EXPECT_FALSE(TickWithinMax(1.0 + 1e-6, 1.0, 0.05));
}

TEST(ChartTickIncrement, StepsOfOneTwoFiveTen)
{
    // 10 intervals on 300 px: raw = range / 10.
    EXPECT_DOUBLE_EQ(ComputeTickIncrement(0, 15, 300, 30, 2).increment, 2.0);
    EXPECT_DOUBLE_EQ(ComputeTickIncrement(0, 40, 300, 30, 2).increment, 5.0);
    STickIncrement big = ComputeTickIncrement(0, 600, 300, 30, 2);
    EXPECT_DOUBLE_EQ(big.increment, 100.0);
    EXPECT_EQ(big.decimals, 0);
    STickIncrement small = ComputeTickIncrement(0, 0.012, 300, 30, 2);
    EXPECT_DOUBLE_EQ(small.increment, 0.002);
    EXPECT_EQ(small.decimals, 3);
}

TEST(ChartTickIncrement, ShortAxisHasOneInterval)
{
    // 10 px: less than one spacing; the whole range is one interval.
    STickIncrement inc = ComputeTickIncrement(0, 7, 10, kHorizontalTickSpacing, 2);
    EXPECT_DOUBLE_EQ(inc.increment, 10.0);
    EXPECT_LE(Ticks(0, 7, 10, kHorizontalTickSpacing).size(), 2u);
    EXPECT_GT(ComputeTickIncrement(0, 7, 0, kHorizontalTickSpacing, 2).increment, 0.0);
}

TEST(ChartTickIncrement, DegenerateAxes)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(ComputeTickIncrement(5, 5, 300, 30, 3).increment, 0.0);
    EXPECT_EQ(ComputeTickIncrement(5, 5, 300, 30, 3).decimals, 3);
    EXPECT_EQ(ComputeTickIncrement(0, inf, 300, 30, 2).increment, 0.0);
    EXPECT_EQ(ComputeTickIncrement(nan, 1, 300, 30, 2).increment, 0.0);
    // A huge value with a tiny range: the increment would not move the bounds.
    const double huge = 1e17, next = std::nextafter(huge, 2e17); // 16 apart: an increment of 2 is lost
    EXPECT_EQ(ComputeTickIncrement(huge, next, 300, 30, 2).increment, 0.0);
    EXPECT_TRUE(Ticks(huge, next, 300, 30).empty());
    EXPECT_FALSE(TicksUsable(0, 1, 0.0));
    EXPECT_FALSE(TicksUsable(1e20, 2e20, 1.0));
    EXPECT_TRUE(TicksUsable(0, 1, 0.1));
}

TEST(ChartTickIncrement, ManualTinyIncrementIsCapped)
{
    // Whatever the increment, the tick run stays within length / spacing + 2.
    EXPECT_EQ(MaxTickCount(300, 30), 12);
    EXPECT_EQ(MaxTickCount(-200, 20), 12);
    EXPECT_EQ(MaxTickCount(5, 20), 2);
}

TEST(ChartFirstTick, SmallestMultipleNotBelowMin)
{
    EXPECT_DOUBLE_EQ(ComputeFirstTick(0.0, 0.5), 0.0);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(3.2, 1.0), 4.0);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(4.0, 1.0), 4.0);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(-3.2, 1.0), -3.0);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(-3.0, 1.0), -3.0);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(-25, 10), -20);
    EXPECT_NEAR(ComputeFirstTick(0.3, 0.1), 0.3, 1e-15);
    EXPECT_DOUBLE_EQ(ComputeFirstTick(7.5, 0.0), 7.5);
}

TEST(ChartMapping, HorizontalAndVertical)
{
    SAxisSpan h{10, 310, true, false};
    EXPECT_EQ(ValueToPixel(0, 0, 10, h), 10);
    EXPECT_EQ(ValueToPixel(5, 0, 10, h), 160);
    EXPECT_EQ(ValueToPixel(10, 0, 10, h), 310);
    EXPECT_EQ(ValueToPixel(0.3, 0, 1, SAxisSpan{0, 10, true, false}), 3); // 3 x 0.1 rounding
    EXPECT_DOUBLE_EQ(PixelToValue(160, 0, 10, h), 5.0);
    EXPECT_DOUBLE_EQ(PixelToValue(10, 0, 10, h), 0.0);

    SAxisSpan v{250, 50, false, false}; // bottom 250, top 50
    EXPECT_EQ(ValueToPixel(-1, -1, 1, v), 250);
    EXPECT_EQ(ValueToPixel(1, -1, 1, v), 50);
    EXPECT_EQ(ValueToPixel(0, -1, 1, v), 150);
    EXPECT_DOUBLE_EQ(PixelToValue(50, -1, 1, v), 1.0);
    EXPECT_DOUBLE_EQ(PixelToValue(200, -1, 1, v), -0.5);
}

TEST(ChartMapping, InvertedAxes)
{
    SAxisSpan h{0, 200, true, true};
    EXPECT_EQ(ValueToPixel(0, 0, 100, h), 200);
    EXPECT_EQ(ValueToPixel(100, 0, 100, h), 0);
    EXPECT_DOUBLE_EQ(PixelToValue(50, 0, 100, h), 75.0);

    SAxisSpan v{300, 100, false, true}; // min at the top
    EXPECT_EQ(ValueToPixel(0, 0, 10, v), 100);
    EXPECT_EQ(ValueToPixel(10, 0, 10, v), 300);
    EXPECT_DOUBLE_EQ(PixelToValue(120, 0, 10, v), 1.0);
    for (int px = 100; px <= 300; px += 20) EXPECT_EQ(ValueToPixel(PixelToValue(px, 0, 10, v), 0, 10, v), px);
}

TEST(ChartMapping, DegenerateRangeUsesTheMiddle)
{
    SAxisSpan h{0, 300, true, false};
    SAxisSpan v{200, 0, false, false};
    EXPECT_EQ(ValueToPixel(7, 3, 3, h), 150);
    EXPECT_EQ(ValueToPixel(7, 3, 3, v), 100);
    EXPECT_EQ(PixelToValue(42, 3, 3, h), 3.0);
    EXPECT_TRUE(IsDegenerateRange(1, 1 + 1e-16));
    EXPECT_FALSE(IsDegenerateRange(1, 1.001));
    EXPECT_EQ(PixelToValue(5, 0, 1, SAxisSpan{4, 4, true, false}), 0.0);
}

TEST(ChartMapping, FarValuesAreClamped)
{
    SAxisSpan h{10, 410, true, false};
    EXPECT_EQ(ValueToPixel(1e300, 0, 1e-3, h), 10 + kPixelLimit);
    EXPECT_EQ(ValueToPixel(-1e300, 0, 1e-3, h), 10 - kPixelLimit);
    EXPECT_EQ(ValueToPixel(std::numeric_limits<double>::quiet_NaN(), 0, 1, h), 10 - kPixelLimit);
    SAxisSpan v{400, 0, false, false};
    EXPECT_EQ(ValueToPixel(1e300, 0, 1, v), 400 - kPixelLimit);
}

TEST(ChartTickLabel, FixedNotationWithoutNegativeZero)
{
    EXPECT_EQ(FormatTickLabel(12.5, 2, 0.5), L"12.50");
    EXPECT_EQ(FormatTickLabel(-3, 0, 1), L"-3");
    EXPECT_EQ(FormatTickLabel(-5.551115123125783e-17, 1, 0.1), L"0.0");
    EXPECT_EQ(FormatTickLabel(-0.0, 2, 0), L"0.00");
    EXPECT_EQ(FormatTickLabel(-0.001, 2, 0), L"0.00");
    EXPECT_EQ(FormatTickLabel(-0.01, 2, 0), L"-0.01");
    EXPECT_EQ(FormatTickLabel(1e-11, 0, 0.1), L"0");
}
