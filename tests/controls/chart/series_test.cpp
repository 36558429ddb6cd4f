// Series in a chart without a window: storage through AddPoint, ranges, automatic axes,
// the visible range on a zoomed axis, screen positions, hit tests and the listener.
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartPointsSerie.h"
#include "controls/chart/ChartStandardAxis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

struct SEvent
{
    int kind;
    CPoint point;
    CChartSerie* serie;
    unsigned index;
};

class CRecordingListener : public CChartSeriesMouseListener<SChartXYPoint>
{
public:
    void OnMouseEventSeries(int mouseEvent, CPoint point, CChartSerie* pSerie, unsigned uPointIndex) override
    {
        events.push_back({mouseEvent, point, pSerie, uPointIndex});
    }
    std::vector<SEvent> events;
};

// A chart whose bottom axis maps 0..100 to x = 0..100 and whose left axis maps 0..100 to
// y = 100..0, so that a point (v, w) is on pixel (v, 100 - w).
class SeriesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        left = chart.CreateStandardAxis(CChartAxis::LeftAxis);
        bottom = chart.CreateStandardAxis(CChartAxis::BottomAxis);
        left->SetMinMax(0, 100);
        bottom->SetMinMax(0, 100);
        Place();
    }
    void Place()
    {
        const CRect plot(0, 0, 100, 100);
        left->SetAxisSize(plot, CRect(-50, 0, 0, 100));
        bottom->SetAxisSize(plot, CRect(0, 100, 100, 150));
    }

    CChartCtrl chart;
    CChartStandardAxis* left = nullptr;
    CChartStandardAxis* bottom = nullptr;
};

} // namespace

TEST_F(SeriesTest, AxesAndColoursOfNewSeries)
{
    CChartLineSerie* a = chart.CreateLineSerie();
    CChartPointsSerie* b = chart.CreatePointsSerie();
    EXPECT_EQ(a->GetVerticalAxis(), left);
    EXPECT_EQ(a->GetHorizontalAxis(), bottom);
    EXPECT_EQ(a->GetColour(), 0x0000FFu);
    EXPECT_EQ(b->GetColour(), 0x009600u);
    EXPECT_LT(a->GetSerieId(), b->GetSerieId());
    EXPECT_EQ(chart.GetSerie(a->GetSerieId()), a);
    ASSERT_EQ(left->GetSeries().size(), 2u);
    chart.RemoveSerie(a->GetSerieId());
    EXPECT_EQ(left->GetSeries().size(), 1u); // the series leaves its axes
    EXPECT_EQ(bottom->GetSeries().size(), 1u);
    for (int i = 2; i < 11; ++i) chart.CreateLineSerie();
    // Eleven series were made, ten remain: the next colour is table[10 % 10].
    EXPECT_EQ(chart.CreateLineSerie()->GetColour(), 0x0000FFu);
}

TEST_F(SeriesTest, AddPointKeepsXOrderAndInsertionOrderForEqualX)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(3, 30);
    s->AddPoint(1, 10);
    s->AddPoint(2, 20);
    s->AddPoint(2, 21);
    ASSERT_EQ(s->GetPointsCount(), 4u);
    EXPECT_EQ(s->GetXPointValue(0), 1);
    EXPECT_EQ(s->GetYPointValue(1), 20);
    EXPECT_EQ(s->GetYPointValue(2), 21);
    EXPECT_EQ(s->GetXPointValue(3), 3);
    double mn = 0, mx = 0;
    ASSERT_TRUE(s->GetYRange(&mn, &mx));
    EXPECT_EQ(mn, 10);
    EXPECT_EQ(mx, 30);
    for (int i = 0; i < 997; ++i) s->AddPoint(100 + i, 0);
    EXPECT_EQ(s->GetPointsCount(), 1001u);
    EXPECT_EQ(s->GetXPointValue(1000), 1096);
}

TEST_F(SeriesTest, AutomaticAxesFollowThePoints)
{
    left->SetAutomaticMode(1);
    bottom->SetAutomaticMode(1);
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(2, -5);
    s->AddPoint(8, 7);
    EXPECT_EQ(bottom->GetMin(), 2);
    EXPECT_EQ(bottom->GetMax(), 8);
    EXPECT_EQ(left->GetMin(), -5);
    EXPECT_EQ(left->GetMax(), 7);
    EXPECT_EQ(left->GetUnzoomedMax(), 7);

    // An empty series first in the list leaves 0 in the range.
    CChartCtrl other;
    CChartStandardAxis* l2 = other.CreateStandardAxis(0);
    CChartStandardAxis* b2 = other.CreateStandardAxis(1);
    l2->SetAutomaticMode(1);
    b2->SetAutomaticMode(1);
    other.CreateLineSerie();
    CChartLineSerie* full = other.CreateLineSerie();
    full->AddPoint(5, 50);
    full->AddPoint(9, 60);
    EXPECT_EQ(b2->GetMin(), 0);
    EXPECT_EQ(b2->GetMax(), 9);
    EXPECT_EQ(l2->GetMin(), 0);
    EXPECT_EQ(l2->GetMax(), 60);

    // Hidden series give no range.
    full->SetVisible(false);
    double mn, mx;
    EXPECT_FALSE(full->GetXRange(&mn, &mx));
}

TEST_F(SeriesTest, AutomaticModeTwoFollowsTheVisiblePoints)
{
    left->SetAutomaticMode(2);
    CChartLineSerie* s = chart.CreateLineSerie();
    for (int i = 0; i <= 100; ++i) s->AddPoint(i, i * i);
    bottom->SetZoomMinMax(10.5, 20.5);
    chart.RecalcScreenAutoAxes();
    // Points 10 .. 21: the search stops next to each bound (x = 10 <= 10.5, x = 21 > 20.5).
    EXPECT_EQ(left->GetMin(), 100);
    EXPECT_EQ(left->GetMax(), 441);
}

TEST_F(SeriesTest, VisiblePointRangeOnAZoomedAxis)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    unsigned first = 0, last = 0;
    EXPECT_FALSE(s->VisiblePointRange(&first, &last));
    for (int i = 0; i < 1000; ++i) s->AddPoint(i * 0.1, 1);
    bottom->SetZoomMinMax(20.05, 30.05);
    ASSERT_TRUE(s->VisiblePointRange(&first, &last));
    // The search ends next to each bound: on the last point before it or the first after.
    EXPECT_EQ(first, 200u);
    EXPECT_EQ(last, 301u);
    EXPECT_LE(s->GetXPointValue(first - 1), 20.05);
    EXPECT_GT(s->GetXPointValue(first + 1), 20.05);
    EXPECT_GT(s->GetXPointValue(last), 30.05);
    s->SetSeriesOrdering(0);
    ASSERT_TRUE(s->VisiblePointRange(&first, &last));
    EXPECT_EQ(first, 0u);
    EXPECT_EQ(last, 999u);
}

TEST_F(SeriesTest, ScreenPositionsThroughTheAxes)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(25, 75);
    EXPECT_EQ(s->PointScreenPosition(0), CPoint(25, 25));
    left->SetInverted(true);
    EXPECT_EQ(s->PointScreenPosition(0), CPoint(25, 75));
    left->SetMinMax(4, 4); // degenerate: the middle
    EXPECT_EQ(s->PointScreenPosition(0).y, 50);
    // A zoomed axis with far data stays within integer pixels.
    bottom->SetZoomMinMax(0, 0.001);
    s->AddPoint(1e12, 0);
    EXPECT_GT(s->PointScreenPosition(1).x, 100);
    EXPECT_LE(s->PointScreenPosition(1).x, qor::chart::kPixelLimit);
}

TEST_F(SeriesTest, LineHitTest)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(10, 50);
    s->AddPoint(90, 50); // (10, 50) to (90, 50) on screen
    unsigned index = 0;
    EXPECT_TRUE(s->HitTest(CPoint(50, 52), &index));
    EXPECT_EQ(index, kChartNoPoint); // near the middle, far from both ends
    EXPECT_FALSE(s->HitTest(CPoint(50, 54), &index));
    EXPECT_TRUE(s->HitTest(CPoint(13, 48), &index));
    EXPECT_EQ(index, 0u);
    EXPECT_TRUE(s->HitTest(CPoint(86, 50), &index));
    EXPECT_EQ(index, 1u);
    EXPECT_FALSE(s->HitTest(CPoint(7, 50), &index)); // beyond the end of the segment

    // Two points on one pixel: a point, not a division by zero.
    CChartLineSerie* dot = chart.CreateLineSerie();
    dot->AddPoint(30, 30);
    dot->AddPoint(30.2, 30.2);
    ASSERT_EQ(dot->PointScreenPosition(0), dot->PointScreenPosition(1));
    EXPECT_TRUE(dot->HitTest(CPoint(32, 69), &index));
    EXPECT_EQ(index, 1u);
    EXPECT_FALSE(dot->HitTest(CPoint(34, 70), &index));
}

TEST_F(SeriesTest, PointsHitTestAndHiddenSeries)
{
    CChartPointsSerie* s = chart.CreatePointsSerie();
    s->AddPoint(20, 20);
    s->AddPoint(60, 60);
    unsigned index = 0;
    EXPECT_TRUE(s->HitTest(CPoint(64, 36), &index));
    EXPECT_EQ(index, 1u);
    EXPECT_FALSE(s->HitTest(CPoint(66, 40), &index));
    EXPECT_EQ(index, kChartNoPoint);
    s->SetVisible(false);
    EXPECT_FALSE(s->HitTest(CPoint(20, 80), &index));
}

TEST_F(SeriesTest, ListenerGetsClicksOnPointsOnly)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(10, 50);
    s->AddPoint(90, 50);
    CRecordingListener listener;
    EXPECT_FALSE(s->NotifyMouseEvent(cmeLButtonDown, CPoint(50, 50))); // no listener yet
    s->RegisterMouseListener(&listener);
    EXPECT_TRUE(s->NotifyMouseEvent(cmeLButtonDown, CPoint(50, 50)));
    EXPECT_FALSE(s->NotifyMouseEvent(cmeLButtonDown, CPoint(50, 70)));
    EXPECT_FALSE(s->NotifyMouseEvent(cmeMouseMove, CPoint(50, 50))); // moves are off
    s->EnableMouseNotifications(true, true);
    EXPECT_TRUE(s->NotifyMouseEvent(cmeMouseMove, CPoint(90, 50)));
    ASSERT_EQ(listener.events.size(), 2u);
    EXPECT_EQ(listener.events[0].kind, cmeLButtonDown);
    EXPECT_EQ(listener.events[0].serie, s);
    EXPECT_EQ(listener.events[0].index, kChartNoPoint);
    EXPECT_EQ(listener.events[1].kind, cmeMouseMove);
    EXPECT_EQ(listener.events[1].index, 1u);
    s->SetVisible(false);
    EXPECT_FALSE(s->NotifyMouseEvent(cmeLButtonDown, CPoint(50, 50)));
}

TEST_F(SeriesTest, ReplacingAnAxisKeepsItsSeries)
{
    CChartLineSerie* s = chart.CreateLineSerie();
    s->AddPoint(1, 1);
    CChartStandardAxis* newLeft = chart.CreateStandardAxis(CChartAxis::LeftAxis);
    EXPECT_EQ(chart.GetLeftAxis(), newLeft);
    EXPECT_EQ(s->GetVerticalAxis(), newLeft);
    ASSERT_EQ(newLeft->GetSeries().size(), 1u);
    left = newLeft;
    newLeft->SetMinMax(0, 100);
    Place();
    EXPECT_EQ(s->PointScreenPosition(0), CPoint(1, 99));
}

TEST(ChartBezier, ControlPointsOfAStraightLineLieOnIt)
{
    // Equally spaced knots on a line: the control points are on the line too.
    std::vector<double> knots{0, 10, 20, 30}, c1, c2;
    CChartLineSerie::ComputeBezierControlPoints(knots, c1, c2);
    ASSERT_EQ(c1.size(), 3u);
    ASSERT_EQ(c2.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_GE(c1[i], knots[0]);
        EXPECT_LE(c2[i], knots[3] + 1e-9);
    }
    // First row of the system: 2 C1[0] + C1[1] = K0 + 2 K1.
    EXPECT_NEAR(2 * c1[0] + c1[1], knots[0] + 2 * knots[1], 1e-9);
    // Second control points: 2 K(i+1) - C1[i+1], the last (K3 + C1[2]) / 2.
    EXPECT_NEAR(c2[0], 2 * knots[1] - c1[1], 1e-9);
    EXPECT_NEAR(c2[2], (knots[3] + c1[2]) / 2, 1e-9);
}

// What the axes must say about their series, worked out the plain way by walking the live
// series in the order they came: the combined range (the first answering series' range
// widened by the others') and the automatic range (started by the first series, or by 0 when
// it has no points or is hidden).
namespace {

struct SWalked
{
    bool any = false;
    double min = 0, max = 0;
    double autoMin = 0, autoMax = 0;
};

SWalked Walk(const std::vector<CChartLineSerie*>& live, bool horizontal)
{
    SWalked w;
    bool first = true;
    double carriedMin = 0, carriedMax = 0;
    for (CChartLineSerie* s : live)
    {
        double lo = 0, hi = 0;
        const bool answers = horizontal ? s->GetXRange(&lo, &hi) : s->GetYRange(&lo, &hi);
        if (answers)
        {
            if (!w.any || lo < w.min) w.min = lo;
            if (!w.any || hi > w.max) w.max = hi;
            w.any = true;
            carriedMin = lo;
            carriedMax = hi;
        }
        if (first)
        {
            w.autoMin = carriedMin;
            w.autoMax = carriedMax;
            first = false;
        }
        if (carriedMin < w.autoMin) w.autoMin = carriedMin;
        if (carriedMax > w.autoMax) w.autoMax = carriedMax;
    }
    return w;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

TEST_F(SeriesTest, AxesKeepTheirSeriesAndRangesThroughAddsAndRemovalsInAnyOrder)
{
    left->SetAutomaticMode(1);
    bottom->SetAutomaticMode(1);
    std::vector<CChartLineSerie*> live;
    std::mt19937 rng(7);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    // Values with ties between zeros of both signs and an occasional NaN.
    const double values[] = {-3.5, -1.0, -0.0, 0.0, 0.25, 2.0, 7.5, 12.0, std::nan("")};
    auto value = [&] { return values[pick(pick(20) == 0 ? 9 : 8)]; };

    for (int step = 0; step < 3000; ++step)
    {
        const int op = pick(10);
        if (op < 3 || live.empty())
            live.push_back(chart.CreateLineSerie());
        else if (op < 5)
        {
            const int i = pick(static_cast<int>(live.size()));
            chart.RemoveSerie(live[i]->GetSerieId());
            live.erase(live.begin() + i);
        }
        else if (op < 6)
        {
            CChartLineSerie* s = live[pick(static_cast<int>(live.size()))];
            s->SetVisible(!s->IsVisible());
        }
        else
        {
            CChartLineSerie* s = live[pick(static_cast<int>(live.size()))];
            if (op < 8)
                s->AddPoint(value(), value());
            else
            {
                const double xs[3] = {value(), value(), value()}, ys[3] = {value(), value(), value()};
                s->AddPoints(xs, ys, 3);
            }
        }
        // Clear the NaN series out now and then, so that both the walk and the kept range are used.
        if (step % 500 == 499)
        {
            for (CChartLineSerie* s : live) chart.RemoveSerie(s->GetSerieId());
            live.clear();
        }

        for (CChartStandardAxis* axis : {bottom, left})
        {
            const bool horizontal = axis == bottom;
            SCOPED_TRACE(testing::Message() << "step " << step << (horizontal ? " bottom" : " left"));
            ASSERT_EQ(std::vector<CChartSerie*>(axis->GetSeries().begin(), axis->GetSeries().end()),
                      std::vector<CChartSerie*>(live.begin(), live.end()));
            const SWalked w = Walk(live, horizontal);
            double lo = 0, hi = 0;
            ASSERT_EQ(axis->GetSeriesRange(&lo, &hi), w.any);
            if (w.any)
            {
                ASSERT_TRUE(SameBits(lo, w.min)) << lo << " " << w.min;
                ASSERT_TRUE(SameBits(hi, w.max)) << hi << " " << w.max;
            }
            axis->RefreshAutoAxis();
            ASSERT_TRUE(SameBits(axis->GetMin(), w.autoMin) || axis->GetMin() == w.autoMin)
                << axis->GetMin() << " " << w.autoMin;
            ASSERT_TRUE(SameBits(axis->GetMax(), w.autoMax) || axis->GetMax() == w.autoMax)
                << axis->GetMax() << " " << w.autoMax;
        }
    }
    // Registering a series twice keeps one entry.
    CChartLineSerie* s = chart.CreateLineSerie();
    left->RegisterSeries(s);
    EXPECT_EQ(left->GetSeries().size(), live.size() + 1);
    left->UnregisterSeries(s);
    left->UnregisterSeries(s);
    EXPECT_EQ(left->GetSeries().size(), live.size());
}
