// The series point storage: growth, ordered insertion, sorting and the visible-range search.
#include "controls/chart/ChartPointsArray.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace qor::chart;

namespace {

struct SPoint
{
    double X = 0;
    double Y = 0;
    unsigned Tag = 0;
};

std::vector<unsigned> Tags(const CChartPointsArray<SPoint>& a)
{
    std::vector<unsigned> tags;
    for (unsigned i = 0; i < a.GetPointsCount(); ++i) tags.push_back(a.GetAt(i).Tag);
    return tags;
}

std::vector<double> Xs(const CChartPointsArray<SPoint>& a)
{
    std::vector<double> xs;
    for (unsigned i = 0; i < a.GetPointsCount(); ++i) xs.push_back(a.GetAt(i).X);
    return xs;
}

} // namespace

TEST(ChartPointsArray, HoldsRoomForItsPointsOnlyAndKeepsEveryPointAsItGrows)
{
    CChartPointsArray<SPoint> a;
    EXPECT_EQ(a.GetCapacity(), 0u);
    // Points added together take exactly their room.
    a.Reserve(1000);
    EXPECT_EQ(a.GetCapacity(), 1000u);
    for (unsigned i = 0; i < 1000; ++i) a.AddPoint({double(i), double(2 * i), i});
    EXPECT_EQ(a.GetCapacity(), 1000u);
    // The 1001st grows the room by at most a thousand and loses nothing.
    a.AddPoint({1000.0, 2000.0, 1000});
    EXPECT_GT(a.GetCapacity(), 1000u);
    EXPECT_LE(a.GetCapacity(), 2000u);
    ASSERT_EQ(a.GetPointsCount(), 1001u);
    for (unsigned i = 0; i < 1001; ++i)
    {
        EXPECT_EQ(a.GetAt(i).X, double(i));
        EXPECT_EQ(a.GetAt(i).Y, double(2 * i));
    }
    // Points that come one by one into an empty array: room grows with them, never a block of a
    // thousand for three points.
    CChartPointsArray<SPoint> b;
    for (unsigned i = 0; i < 3; ++i) b.AddPoint({double(i), 0.0, i});
    EXPECT_LE(b.GetCapacity(), 16u);
    b.Reserve(2); // less than it holds: nothing changes
    EXPECT_EQ(b.GetPointsCount(), 3u);
}

TEST(ChartPointsArray, BoundsFollowEveryPoint)
{
    CChartPointsArray<SPoint> a;
    a.AddPoint({2, -1, 0});
    EXPECT_EQ(a.GetXMin(), 2);
    EXPECT_EQ(a.GetXMax(), 2);
    a.AddPoint({-3, 4, 0});
    a.AddPoint({5, 0.5, 0});
    EXPECT_EQ(a.GetXMin(), -3);
    EXPECT_EQ(a.GetXMax(), 5);
    EXPECT_EQ(a.GetYMin(), -1);
    EXPECT_EQ(a.GetYMax(), 4);
}

TEST(ChartPointsArray, OrderedByXKeepsInsertionOrderForEqualX)
{
    CChartPointsArray<SPoint> a; // ordered by X from the start
    a.AddPoint({3, 0, 1});
    a.AddPoint({1, 0, 2});
    a.AddPoint({2, 0, 3});
    a.AddPoint({2, 0, 4});
    EXPECT_EQ(Xs(a), (std::vector<double>{1, 2, 2, 3}));
    EXPECT_EQ(Tags(a), (std::vector<unsigned>{2, 3, 4, 1}));
    a.AddPoint({1, 0, 5}); // before the first greater point, after the equal one
    a.AddPoint({3, 0, 6}); // not less than the last: appended
    EXPECT_EQ(Tags(a), (std::vector<unsigned>{2, 5, 3, 4, 1, 6}));
}

TEST(ChartPointsArray, OrderingByYAndNone)
{
    CChartPointsArray<SPoint> a;
    a.SetOrdering(poYOrdering);
    a.AddPoint({0, 5, 1});
    a.AddPoint({1, -2, 2});
    a.AddPoint({2, 3, 3});
    EXPECT_EQ(Tags(a), (std::vector<unsigned>{2, 3, 1}));

    CChartPointsArray<SPoint> b;
    b.SetOrdering(poNoOrdering);
    b.AddPoint({3, 0, 1});
    b.AddPoint({1, 0, 2});
    EXPECT_EQ(Tags(b), (std::vector<unsigned>{1, 2}));
    b.SetOrdering(poXOrdering); // sorts what is stored
    EXPECT_EQ(Tags(b), (std::vector<unsigned>{2, 1}));
}

TEST(ChartPointsArray, NotANumberNeitherBreaksOrderNorMemory)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    CChartPointsArray<SPoint> a;
    a.SetOrdering(poNoOrdering);
    for (int i = 0; i < 200; ++i) a.AddPoint({i % 7 == 0 ? nan : double((i * 37) % 101), 0, unsigned(i)});
    a.SetOrdering(poXOrdering);
    a.AddPoint({50, 0, 999});
    a.AddPoint({nan, 0, 1000});
    ASSERT_EQ(a.GetPointsCount(), 202u);
    unsigned i = 0;
    for (; i + 1 < a.GetPointsCount() && !std::isnan(a.GetAt(i + 1).X); ++i) EXPECT_LE(a.GetAt(i).X, a.GetAt(i + 1).X);
    for (++i; i < a.GetPointsCount(); ++i) EXPECT_TRUE(std::isnan(a.GetAt(i).X)); // numbers first, then the rest
}

TEST(ChartPointsArray, BinarySearchEndsNextToTheValue)
{
    CChartPointsArray<SPoint> a;
    for (int i = 0; i < 10; ++i) a.AddPoint({double(i), 0, 0});
    EXPECT_EQ(a.BinarySearch(0, 9, 4.5), 5u);
    EXPECT_EQ(a.BinarySearch(0, 9, 4.0), 5u);
    EXPECT_EQ(a.BinarySearch(0, 9, 5.5), 6u);
    EXPECT_EQ(a.BinarySearch(0, 9, -1.0), 0u);
    EXPECT_EQ(a.BinarySearch(0, 9, 100.0), 9u);
    EXPECT_EQ(a.BinarySearch(6, 9, 2.0), 6u);
    EXPECT_EQ(a.BinarySearch(3, 3, 2.0), 3u);
    // Wherever it ends, it is next to the value: the point before is not past it and
    // the point after is.
    CChartPointsArray<SPoint> b;
    for (int i = 0; i < 1000; ++i) b.AddPoint({i * 0.1, 0, 0});
    for (double v = -0.5; v < 101; v += 0.37)
    {
        const unsigned r = b.BinarySearch(0, 999, v);
        if (r > 0)
        {
            EXPECT_LE(b.GetAt(r - 1).X, v) << v;
        }
        if (r < 999)
        {
            EXPECT_GT(b.GetAt(r + 1).X, v) << v;
        }
    }
}

TEST(ChartPointsArray, VisibleRangeBoundsTheAxisRange)
{
    CChartPointsArray<SPoint> a;
    unsigned first = 7, last = 7;
    EXPECT_FALSE(a.GetVisibleRange(0, 1, &first, &last));
    for (int i = 0; i < 100; ++i) a.AddPoint({i * 0.5, 0, 0}); // 0, 0.5, ... 49.5
    ASSERT_TRUE(a.GetVisibleRange(10.2, 20.2, &first, &last));
    EXPECT_EQ(first, 21u); // 10.5
    EXPECT_EQ(last, 41u);  // 20.5
    // Every point inside lies between first - 1 and last.
    for (unsigned i = 0; i < a.GetPointsCount(); ++i)
    {
        if (a.GetAt(i).X >= 10.2 && a.GetAt(i).X <= 20.2)
        {
            EXPECT_TRUE(i + 1 >= first && i <= last) << i;
        }
    }
    ASSERT_TRUE(a.GetVisibleRange(-10, 1000, &first, &last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, 99u);

    CChartPointsArray<SPoint> b;
    b.SetOrdering(poNoOrdering);
    b.AddPoint({5, 0, 0});
    b.AddPoint({1, 0, 0});
    ASSERT_TRUE(b.GetVisibleRange(100, 200, &first, &last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, 1u);
}
