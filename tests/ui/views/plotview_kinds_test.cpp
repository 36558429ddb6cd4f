// Every kind of result in a plot view in a child frame, fed with real engine results: the series
// of each chart in order and colour, the axis titles, the inverted moment axis, minima left out
// for single spans, the "show all" background lines and the ratio-limit lines.
#include "views_support.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/settings/Settings.h"

#include <algorithm>

using namespace viewtest;

namespace {

const CSettings::Plot_Config::Plot_Colours& Colours() { return CSettings::GetInstance()->Plot.Colours; }

class Kinds : public PlotTest
{
protected:
    int oldPoints = CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM;
    void SetUp() override
    {
        CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 20;
        PlotTest::SetUp();
    }
    void TearDown() override
    {
        PlotTest::TearDown();
        CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = oldPoints;
    }
    std::vector<COLORREF> ColoursOf(CPlotView* view, unsigned chart)
    {
        std::vector<COLORREF> out;
        for (CChartXYSerie* s : SeriesOf(view, chart)) out.push_back(s->GetColour());
        return out;
    }
};

double MinOf(CChartXYSerie* s)
{
    std::vector<double> y = YValues(s);
    return *std::min_element(y.begin(), y.end());
}

} // namespace

TEST_F(Kinds, MovingLoadOverASingleSpanShowsMomentMaximaInvertedAndNoMinima)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"10 m span"), CBridge::CONFIG_ONESPAN, 10.0);
    auto descriptor = MovingLoad(bridge, Axle(), 0.5);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowMovingLoadEnvelopes(false, true, descriptor);

    EXPECT_EQ(view->GetTitle(), CString(L"Moving Load Envelopes: BM & SF | ") + descriptor->GetDescription());
    const COLORREF beam = Colours().CLR_BEAM, max = Colours().CLR_LINEMAX, min = Colours().CLR_LINEMIN;
    EXPECT_EQ(ColoursOf(view, 0), (std::vector<COLORREF>{beam, max})); // no minima on one span
    EXPECT_EQ(ColoursOf(view, 1), (std::vector<COLORREF>{beam, max, min}));
    EXPECT_EQ(AxisTitleOf(view, 0, 1), CString(L"Location along beam (m)"));
    EXPECT_EQ(AxisTitleOf(view, 0, 0), CString(L"Bending Moment Envelope (kNm)"));
    EXPECT_EQ(AxisTitleOf(view, 1, 0), CString(L"Shear Force Envelope (kN)"));
    // PL/4 = 250 kNm at midspan, drawn downwards; the beam line is 4 wide and 10 m long.
    EXPECT_NEAR(MinOf(SeriesOf(view, 0)[1]), -250.0, 1e-6);
    auto* beamLine = dynamic_cast<CChartLineSerie*>(SeriesOf(view, 0)[0]);
    ASSERT_NE(beamLine, nullptr);
    EXPECT_EQ(beamLine->GetWidth(), 4);
    EXPECT_DOUBLE_EQ(beamLine->GetXPointValue(1), 10.0);
    // Both axes end on whole ticks beyond the data.
    CChartAxis* left = view->GetChart(0)->GetLeftAxis();
    EXPECT_LT(left->GetMin(), -250.0);
}

TEST_F(Kinds, ShowAllDrawsOneLightCurvePerPositionBeneathTheEnvelopes)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto descriptor = MovingLoad(bridge, Axle(), 1.0);
    const std::size_t positions = descriptor->GetResults()->GetKeptPositions().GetCount();
    ASSERT_GT(positions, 15u);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    const unsigned redraws = view->GetChart(0)->GetRedrawCount();
    view->ShowMovingLoadEnvelopes(true, true, descriptor);
    // Each position's curve is drawn onto the chart's image alone: the chart is not redrawn
    // whole per position (which grows with the square of the positions).
    EXPECT_LT(view->GetChart(0)->GetRedrawCount() - redraws, 8u);
    for (unsigned chart = 0; chart < 2; ++chart)
    {
        std::vector<COLORREF> colours = ColoursOf(view, chart);
        ASSERT_EQ(colours.size(), 1 + positions + 1 + 2) << chart; // beam, positions, beam again, max, min
        EXPECT_EQ(std::count(colours.begin(), colours.end(), Colours().CLR_LIGHTLINE), static_cast<long>(positions));
        EXPECT_EQ(colours[positions + 1], Colours().CLR_BEAM);
        EXPECT_EQ(colours[positions + 2], Colours().CLR_LINEMAX);
        EXPECT_EQ(colours[positions + 3], Colours().CLR_LINEMIN);
    }
}

TEST_F(Kinds, ReactionsGetOneChartPerSupportAgainstTheLoadPosition)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto descriptor = MovingLoad(bridge, Axle(), 0.5);
    CPlotView* view = OpenPlot(1, 3);
    ASSERT_NE(view, nullptr);
    view->ShowMovingLoadEnvelopes(false, false, descriptor);
    EXPECT_EQ(view->GetTableKind(), CQORViewBase::TABLE_REACTIONS);
    for (unsigned support = 0; support < 3; ++support)
    {
        EXPECT_EQ(SeriesOf(view, support).size(), 3u) << support; // beam, maxima, minima
        EXPECT_EQ(AxisTitleOf(view, support, 1), CString(L"Position of Load Model (m)"));
        EXPECT_EQ(AxisTitleOf(view, support, 0), CString(L"Reaction Envelope (kN)"));
    }
    // The load over the middle support puts all of it there.
    std::vector<double> middle = YValues(SeriesOf(view, 1)[1]);
    EXPECT_NEAR(*std::max_element(middle.begin(), middle.end()), 100.0, 1e-6);
}

TEST_F(Kinds, EnsembleShowsEachLoadModelLightlyThenTheCombinedEnvelopes)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 12.0);
    CMultiMovingLoadAnalysis analysis(bridge, TwoTrucks());
    int nSteps = 0;
    double step = 1.0;
    auto combined = analysis.Run(true, nSteps, step);
    auto descriptor = std::make_shared<CAOMultiMovingLoad>(combined, bridge, TwoTrucks(),
                                                           analysis.GetLoadModelResults(), analysis.GetNoAnalyses());
    CPlotView* bmsf = OpenPlot(2, 1);
    ASSERT_NE(bmsf, nullptr);
    bmsf->ShowMultiMovingLoadEnvelopes(true, true, descriptor);
    // Beam, two light lines per model, then beam, maxima and minima of the combination.
    const COLORREF light = Colours().CLR_LIGHTLINE;
    EXPECT_EQ(ColoursOf(bmsf, 0),
              (std::vector<COLORREF>{Colours().CLR_BEAM, light, light, light, light, Colours().CLR_BEAM,
                                     Colours().CLR_LINEMAX, Colours().CLR_LINEMIN}));
    EXPECT_EQ(bmsf->GetTitle().Find(L"Multi Moving Load Envelopes: BM & SF | "), 0);

    CPlotView* reactions = OpenPlot(1, 3);
    ASSERT_NE(reactions, nullptr);
    reactions->ShowMultiMovingLoadEnvelopes(true, false, descriptor);
    for (unsigned support = 0; support < 3; ++support) // per model: beam, max, min; then beam, max, min
        EXPECT_EQ(SeriesOf(reactions, support).size(), 9u) << support;
}

TEST_F(Kinds, BridgeRangeValuesArePointsOverTheSpans)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Singles"), 5, CBridge::CONFIG_ONESPAN, 10.0, 30.0);
    CMultiBridgeAnalysis analysis(set, Axle());
    int nSteps = 0;
    double step = 0.5;
    auto envs = analysis.Run(true, nSteps, step);
    auto values = std::make_shared<CCriticalValueEnsemble>(envs, set);
    auto descriptor = std::make_shared<CAOBridgeRange>(values, set, Axle());
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowReferenceValues(true, descriptor);
    std::vector<CChartXYSerie*> series = SeriesOf(view, 0);
    ASSERT_EQ(series.size(), 2u); // the maxima as a line and as markers; no minima on single spans
    EXPECT_NE(dynamic_cast<CChartPointsSerie*>(series[1]), nullptr);
    ASSERT_EQ(series[0]->GetPointsCount(), 5u);
    for (unsigned k = 0; k < 5; ++k) // PL/4 on spans of 10, 15 ... 30 m
        EXPECT_NEAR(series[0]->GetYPointValue(k), 100.0 * series[0]->GetXPointValue(k) / 4.0, 1e-6);
    EXPECT_EQ(AxisTitleOf(view, 0, 1), CString(L"Bridge Span (m)"));
    EXPECT_EQ(AxisTitleOf(view, 0, 0), CString(L"Critical Values - Bending Moment Envelope (kNm)"));
    EXPECT_EQ(AxisTitleOf(view, 1, 0), CString(L"Critical Values - Shear Force Envelope (kN)"));
}

TEST_F(Kinds, CollectionValuesRatiosAndComparedEnvelopes)
{
    auto coll = ComputedCollection();
    ASSERT_NE(coll, nullptr);
    auto refSet = coll->GetRefSet(0);
    ASSERT_NE(refSet, nullptr);

    CPlotView* values = OpenPlot(1, 3);
    ASSERT_NE(values, nullptr);
    values->ShowReferenceSetValues(false, std::make_shared<CAOReferenceSet>(refSet, false));
    for (unsigned support = 0; support < 3; ++support)
    {
        EXPECT_EQ(SeriesOf(values, support).size(), 4u); // maxima and minima, lines and markers
        EXPECT_EQ(AxisTitleOf(values, support, 0), CString(L"Reaction (kN)"));
    }

    auto ratios = std::make_shared<CAOCriticalRatios>(coll->GetCritRatios()[0], coll, refSet);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowCriticalRatios(true, ratios);
    EXPECT_EQ(AxisTitleOf(view, 0, 0), CString(L"Critical Ratios - Bending Moment"));
    EXPECT_EQ(AxisTitleOf(view, 1, 0), CString(L"Critical Ratios - Shear Force"));
    for (unsigned chart = 0; chart < 2; ++chart)
    {
        std::vector<CChartXYSerie*> series = SeriesOf(view, chart);
        ASSERT_EQ(series.size(), 6u); // max and min (lines and markers), full speed, slow down
        EXPECT_EQ(series[4]->GetColour(), Colours().CLR_FULLSPEED);
        EXPECT_EQ(YValues(series[4]), std::vector<double>(4, 1.0));
        EXPECT_EQ(series[5]->GetColour(), Colours().CLR_SLOWDOWN);
        EXPECT_EQ(YValues(series[5]), std::vector<double>(4, 1.3));
    }

    auto compare = std::make_shared<CAOCompareRefSetEnvs>(false, 2, refSet);
    CPlotView* compared = OpenPlot(2, 1);
    ASSERT_NE(compared, nullptr);
    compared->ShowCompareEnvelopes(true, compare);
    EXPECT_EQ(ColoursOf(compared, 0),
              (std::vector<COLORREF>{Colours().CLR_BEAM, Colours().CLR_LINEMAX, Colours().CLR_LINEMIN,
                                     Colours().CLR_BEAM, Colours().CLR_PROPMAX, Colours().CLR_PROPMIN}));
}

TEST_F(Kinds, SinglePositionShowsTheMomentAndShearOfThePosition)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"10 m span"), CBridge::CONFIG_ONESPAN, 10.0);
    auto lm = Axle();
    CSinglePosAnalysis analysis(bridge, lm);
    auto results = analysis.Run(5.0);
    auto descriptor = std::make_shared<CAOSinglePosition>(results, bridge, lm, 5.0);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowSinglePosition(true, descriptor);
    EXPECT_EQ(view->GetTitle(), CString(L"Single Position Analysis: BM & SF | ") + descriptor->GetDescription());
    ASSERT_EQ(SeriesOf(view, 0).size(), 2u);
    EXPECT_NEAR(MinOf(SeriesOf(view, 0)[0]), -250.0, 1e-6);
    EXPECT_EQ(AxisTitleOf(view, 0, 0), CString(L"Bending Moment (kNm)"));
    EXPECT_EQ(AxisTitleOf(view, 1, 0), CString(L"Shear Force (kN)"));
    // Single-position reactions are a table only.
    CPlotView* reactions = OpenPlot(1, 2);
    ASSERT_NE(reactions, nullptr);
    reactions->ShowSinglePosition(false, descriptor);
    EXPECT_EQ(SeriesOf(reactions, 0).size(), 0u);
}
