// The series of many lines at the sizes "Display each sub-analysis result" reaches: a click hits
// what the newest line series of the same curves would, and over a million lines it is answered
// within its budget; a redraw of a million lines leaves the window thread free in between.
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartStandardAxis.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The longest the window may not answer, in ms: a quarter of a second, in a build whose drawing
// code is instrumented (sanitizers, no optimisation) four times that.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr double kQuarterSecond = 1000.0;
#else
constexpr double kQuarterSecond = 250.0;
#endif

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Curves of n points over x = 0..100, each a random walk inside 10..90, held one after another.
struct SCurves
{
    std::vector<double> x, y;
    std::size_t points = 0;
    SCurves(std::size_t curves, std::size_t n, unsigned seed) : points(n)
    {
        std::mt19937 random(seed);
        std::uniform_real_distribution<double> step(-6.0, 6.0);
        for (std::size_t k = 0; k < n; ++k) x.push_back(100.0 * static_cast<double>(k) / static_cast<double>(n - 1));
        for (std::size_t i = 0; i < curves; ++i)
        {
            double v = 50.0;
            for (std::size_t k = 0; k < n; ++k)
            {
                v = std::min(90.0, std::max(10.0, v + step(random)));
                y.push_back(v);
            }
        }
    }
    // Line i of a family of any number: the curves over and over.
    bool Line(std::size_t i, SChartLine& line) const
    {
        line.pX = x.data();
        line.pY = y.data() + (i % (y.size() / points)) * points;
        line.count = points;
        return true;
    }
};

// A chart without a window whose axes map 0..100 to the pixels 0..100 (y upwards).
class LineFamilyTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { qor::test::EnsureGuiApplication(); }
    void Place(CChartCtrl& chart)
    {
        CChartStandardAxis* left = chart.CreateStandardAxis(CChartAxis::LeftAxis);
        CChartStandardAxis* bottom = chart.CreateStandardAxis(CChartAxis::BottomAxis);
        left->SetMinMax(0, 100);
        bottom->SetMinMax(0, 100);
        const CRect plot(0, 0, 100, 100);
        left->SetAxisSize(plot, CRect(-50, 0, 0, 100));
        bottom->SetAxisSize(plot, CRect(0, 100, 100, 150));
    }
};

} // namespace

TEST_F(LineFamilyTest, AClickHitsWhatTheNewestLineSeriesWouldAndAMillionLinesAnswerWithinTheBudget)
{
    // Forty curves as one family and as forty line series: at every pixel of the plot and around
    // it, the family hits when one of the series does, and the newest of them, at the same point.
    const SCurves curves(40, 21, 7);
    CChartCtrl family, single;
    Place(family);
    Place(single);
    CChartLineFamilySerie* lines = family.CreateLineFamilySerie();
    lines->SetLines([&curves](std::size_t i, SChartLine& line) { return curves.Line(i, line); }, 40, 0, 100, 10, 90);
    lines->ShowLines(40);
    std::vector<CChartLineSerie*> series;
    for (std::size_t i = 0; i < 40; ++i)
    {
        series.push_back(single.CreateLineSerie());
        for (std::size_t k = 0; k < curves.points; ++k)
            series.back()->AddPoint(curves.x[k], curves.y[i * curves.points + k]);
    }
    int hits = 0, points = 0;
    for (int py = -4; py <= 104; ++py)
        for (int px = -4; px <= 104; ++px)
        {
            unsigned expected = kChartNoPoint, got = kChartNoPoint;
            std::size_t newest = series.size();
            for (std::size_t i = series.size(); i-- > 0;)
                if (series[i]->HitTest(CPoint(px, py), &expected))
                {
                    newest = i;
                    break;
                }
            const bool hit = lines->HitTest(CPoint(px, py), &got);
            ASSERT_EQ(hit, newest < series.size()) << px << " " << py;
            ASSERT_EQ(got, expected) << px << " " << py;
            double hx = 0, hy = 0;
            ASSERT_EQ(lines->GetHitPoint(&hx, &hy), got != kChartNoPoint) << px << " " << py;
            hits += hit;
            if (got == kChartNoPoint) continue;
            EXPECT_EQ(hx, curves.x[got]);
            EXPECT_EQ(hy, curves.y[newest * curves.points + got]);
            ++points;
        }
    EXPECT_GT(hits, 500); // the comparison covered points on the lines, not only empty plot
    EXPECT_GT(points, 100);

    // Two million lines whose values take a while to read: a click where no line passes is
    // answered within the window's quarter second, and one on the newest line at once.
    CChartCtrl many;
    Place(many);
    CChartLineFamilySerie* crowd = many.CreateLineFamilySerie();
    const SCurves flat(1, 21, 1);
    std::vector<double> low(21, 20.0);
    constexpr std::size_t kLines = 2000000;
    crowd->SetLines(
        [&](std::size_t i, SChartLine& line) {
            volatile unsigned reading = 0;
            for (int k = 0; k < 600; ++k) reading = reading + static_cast<unsigned>(k);
            line = SChartLine{flat.x.data(), low.data(), 21};
            return true;
        },
        kLines, 0, 100, 20, 20);
    crowd->ShowLines(kLines);
    unsigned index = 0;
    Clock::time_point start = Clock::now();
    EXPECT_FALSE(crowd->HitTest(CPoint(50, 30), &index));
    EXPECT_LT(MsSince(start), kQuarterSecond);
    start = Clock::now();
    EXPECT_TRUE(crowd->HitTest(CPoint(50, 80), &index));
    EXPECT_EQ(index, 10u);
    EXPECT_LT(MsSince(start), 50.0);
}

TEST_F(LineFamilyTest, AMillionLinesAreRedrawnInSlicesThatLeaveTheWindowFree)
{
    CWnd host;
    ASSERT_TRUE(
        host.CreateEx(0, AfxRegisterWndClass(0), _T("host"), WS_OVERLAPPEDWINDOW, CRect(0, 0, 840, 540), nullptr, 0));
    CChartCtrl chart;
    ASSERT_TRUE(chart.Create(CHARTCTRL_CLASSNAME, _T(""), WS_CHILD | WS_VISIBLE, CRect(0, 0, 820, 520), &host, 8));
    chart.AllowRefresh(false);
    CChartStandardAxis* left = chart.CreateStandardAxis(CChartAxis::LeftAxis);
    left->SetMinMax(0, 100);
    chart.CreateStandardAxis(CChartAxis::BottomAxis)->SetMinMax(0, 100);
    const SCurves curves(997, 41, 3);
    constexpr std::size_t kLines = 1000000;
    CChartLineFamilySerie* lines = chart.CreateLineFamilySerie();
    lines->SetLines([&curves](std::size_t i, SChartLine& line) { return curves.Line(i, line); }, kLines, 0, 100, 10,
                    90);
    chart.AllowRefresh(true);
    // The lines come as the plot shows them, 256 a step and steps for 20 ms a turn; then the
    // whole chart again on another scale, a pass over every line.
    qor::test::PauseMeter meter;
    std::size_t shown = 0;
    ASSERT_TRUE(qor::test::PumpUntil(
        [&] {
            for (const Clock::time_point turn = Clock::now(); shown < kLines && MsSince(turn) < 20.0;)
            {
                shown = std::min(kLines, shown + 256);
                lines->ShowLines(shown);
            }
            return shown == kLines;
        },
        600000));
    const double adding = meter.LongestMs();
    meter.Reset();
    left->SetMinMax(0, 110);
    ASSERT_TRUE(chart.IsRedrawing());
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !chart.IsRedrawing(); }, 600000));
    EXPECT_LT(meter.LongestMs(), kQuarterSecond);
    EXPECT_LT(adding, kQuarterSecond);
    EXPECT_EQ(lines->GetShownCount(), kLines);
}
