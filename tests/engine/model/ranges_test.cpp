// Evenly spaced value lists.
#include "engine/model/Ranges.h"

#include "tests/engine/engine_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using enginetest::ExpectValuesNear;
using enginetest::ThrownText;

TEST(RangesLinSpace, FewerThanTwoValuesIsEmpty)
{
    EXPECT_TRUE(LinSpace(1, 3.0, 7.0).empty());
    EXPECT_TRUE(LinSpace(0, 3.0, 7.0).empty());
    EXPECT_TRUE(LinSpace(-5, 3.0, 7.0).empty());
}

TEST(RangesLinSpace, IncludesBothEnds)
{
    ExpectValuesNear(LinSpace(2, 3.0, 7.0), {3.0, 7.0}, 0.0);
    ExpectValuesNear(LinSpace(5, 10.0, 30.0), {10, 15, 20, 25, 30}, 0.0);
    ExpectValuesNear(LinSpace(4, 0.0, 1.0), {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0});
}

TEST(RangesLinSpace, DecreasingAndTinyStepsInterpolate)
{
    ExpectValuesNear(LinSpace(5, 30.0, 10.0), {30, 25, 20, 15, 10});
    std::vector<double> flat = LinSpace(3, 2.0, 2.0);
    ExpectValuesNear(flat, {2.0, 2.0, 2.0}, 0.0);
    std::vector<double> tiny = LinSpace(3, 1.0, 1.0 + 1e-7);
    ExpectValuesNear(tiny, {1.0, 1.0 + 0.5e-7, 1.0 + 1e-7}, 1e-15);
    EXPECT_EQ(tiny.back(), 1.0 + 1e-7);
}

TEST(RangesLinSpace, RefusesHugeCounts)
{
    EXPECT_EQ(LinSpace(kMaxRangeValues, 0.0, 1.0).size(), static_cast<std::size_t>(kMaxRangeValues));
    EXPECT_EQ(ThrownText([] { LinSpace(kMaxRangeValues + 1, 0.0, 1.0); }), kRangeTooLargeError);
    EXPECT_EQ(ThrownText([] { LinSpace(std::numeric_limits<int>::max(), 0.0, 1.0); }), kRangeTooLargeError);
}

TEST(RangesByStep, AppendsAnEndOffTheGrid)
{
    std::vector<double> v = RangeByStep(4.25, 9.15, 0.5);
    ASSERT_EQ(v.size(), 11u);
    EXPECT_DOUBLE_EQ(v.front(), 4.25);
    EXPECT_DOUBLE_EQ(v[1], 4.75);
    EXPECT_DOUBLE_EQ(v[9], 8.75);
    EXPECT_DOUBLE_EQ(v[10], 9.15);
}

TEST(RangesByStep, EndOnTheGridAppearsOnce)
{
    ExpectValuesNear(RangeByStep(0.0, 1.0, 0.25), {0.0, 0.25, 0.5, 0.75, 1.0});
    ExpectValuesNear(RangeByStep(1.2, 2.0, 0.2), {1.2, 1.4, 1.6, 1.8, 2.0});
    ExpectValuesNear(RangeByStep(0.7, 1.0, 0.1), {0.7, 0.8, 0.9, 1.0});
}

TEST(RangesByStep, DecreasingRangesWalkDown)
{
    // (0.7 - 1.0) / -0.1 is a hair below 3 in floating point.
    ExpectValuesNear(RangeByStep(1.0, 0.7, -0.1), {1.0, 0.9, 0.8, 0.7});
    ExpectValuesNear(RangeByStep(1.0, 0.7, 0.1), {1.0, 0.9, 0.8, 0.7});
    ExpectValuesNear(RangeByStep(9.0, 6.5, 1.0), {9.0, 8.0, 7.0, 6.5});
}

TEST(RangesByStep, ShortRangesStillBeginWithStart)
{
    ExpectValuesNear(RangeByStep(4.25, 4.5, 0.5), {4.25, 4.5}, 0.0);
    ExpectValuesNear(RangeByStep(3.0, 3.0, 0.5), {3.0}, 0.0);
    ExpectValuesNear(RangeByStep(3.0, 3.0 + 1e-12, 0.5), {3.0}, 0.0);
}

TEST(RangesByStep, RejectsZeroStepsAndHugeCounts)
{
    EXPECT_EQ(ThrownText([] { RangeByStep(0.0, 1.0, 0.0); }), kRangeStepError);
    EXPECT_EQ(ThrownText([] { RangeByStep(0.0, 1.0, std::nan("")); }), kRangeStepError);
    EXPECT_EQ(ThrownText([] { RangeByStep(0.0, 1.0, 1e-9); }), kRangeTooLargeError);
    EXPECT_EQ(ThrownText([] { RangeByStep(0.0, std::numeric_limits<double>::infinity(), 1.0); }), kRangeTooLargeError);
    // Exactly the largest count is still fine.
    EXPECT_EQ(RangeByStep(0.0, kMaxRangeValues - 1.0, 1.0).size(), static_cast<std::size_t>(kMaxRangeValues));
    EXPECT_EQ(ThrownText([] { RangeByStep(0.0, kMaxRangeValues - 0.5, 1.0); }), kRangeTooLargeError);
}
