// Every kind of result in a plot view in a child frame, fed with real engine results: the series
// of each chart in order and colour, the axis titles, the inverted moment axis, minima left out
// for single spans, the "show all" background lines and the ratio-limit lines.
#include "views_support.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/settings/Settings.h"
#include "platform/gui/widgets/Looks.h"
#include "platform/test/PrintTest.h"

#include <algorithm>
#include <cstdio>

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

double MaxOf(CChartXYSerie* s)
{
    std::vector<double> y = YValues(s);
    return *std::max_element(y.begin(), y.end());
}

// The ratios of a maximum and a minimum (proposed / reference).
CriticalPair<RatioLoadEffect> RatioPair(double refMax, double propMax, double refMin, double propMin,
                                        BeamResultsType type)
{
    auto effect = [type](double v) { return PointLoadEffect(v, 0.0, 0.0, type, nullptr); };
    return {RatioLoadEffect(effect(refMax), effect(propMax), nullptr, 1.0),
            RatioLoadEffect(effect(refMin), effect(propMin), nullptr, 1.0)};
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
    // PL/4 = 250 kNm at midspan, drawn downwards on the turned axis; the beam line is 4 wide and 10 m long.
    EXPECT_NEAR(MaxOf(SeriesOf(view, 0)[1]), 250.0, 1e-6);
    EXPECT_TRUE(view->GetChart(0)->GetLeftAxis()->IsInverted());
    auto* beamLine = dynamic_cast<CChartLineSerie*>(SeriesOf(view, 0)[0]);
    ASSERT_NE(beamLine, nullptr);
    EXPECT_EQ(beamLine->GetWidth(), 4);
    EXPECT_DOUBLE_EQ(beamLine->GetXPointValue(1), 10.0);
    // Both axes end on whole ticks beyond the data.
    CChartAxis* left = view->GetChart(0)->GetLeftAxis();
    EXPECT_GT(left->GetMax(), 250.0);
}

TEST_F(Kinds, ShowAllOpensAtOnceThenAddsOneLightCurvePerPositionBeneathTheEnvelopes)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto descriptor = MovingLoad(bridge, Axle(), 0.01);
    const CKeptPositions& kept = descriptor->GetResults()->GetKeptPositions();
    const std::size_t positions = kept.GetCount();
    ASSERT_GT(positions, 1500u);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    // The main window's status bar counts the curves.
    CMFCStatusBar bar;
    const UINT pane = ID_SEPARATOR;
    ASSERT_TRUE(bar.Create(Main()));
    bar.SetIndicators(&pane, 1);
    bar.SetPaneText(0, L"Ready");
    // From the turn that first says the curves are drawing to the last curve on the screen (the
    // charts' own redraws after the envelopes included), the status bar says so; "Ready" after. (A
    // fast build may draw them all in its first turn, before the bar is looked at.)
    bool said = false;
    int notSaid = 0;
    const auto look = [&] {
        if (!view->IsDrawing()) return;
        const bool drawing = bar.GetPaneText(0).Find(L"Drawing each sub-analysis result") == 0;
        notSaid += said && !drawing;
        said = said || drawing;
    };
    const unsigned redraws = view->GetChart(0)->GetRedrawCount();
    view->ShowMovingLoadEnvelopes(true, true, descriptor);

    // The window is back at once with the beam and its titles; the curves come from the loop,
    // which meanwhile takes a click (the right button starts a pan). How many curves are drawn by
    // then depends on the build's speed: the plot still drawing is the state that counts.
    EXPECT_TRUE(view->IsDrawing());
    EXPECT_EQ(SeriesOf(view, 0).size(), 1u);
    CChartCtrl* moments = view->GetChart(0);
    moments->PostMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(100, 100));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return look(), moments->IsPanning(); }));
    EXPECT_TRUE(view->IsDrawing());
    moments->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(100, 100));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return look(), !view->IsDrawing(); }, 60000));
    EXPECT_EQ(notSaid, 0);
    EXPECT_EQ(bar.GetPaneText(0), CString(L"Ready"));

    // Each position's curve is drawn onto the chart's image alone: the chart is not redrawn
    // whole per position (which grows with the square of the positions).
    EXPECT_LT(view->GetChart(0)->GetRedrawCount() - redraws, 8u);
    std::vector<double> x, y;
    for (unsigned chart = 0; chart < 2; ++chart)
    {
        // Beam, the positions' curves (read where they are kept), beam again, max, min.
        std::vector<CChartXYSerie*> series = SeriesOf(view, chart);
        ASSERT_EQ(series.size(), 5u) << chart;
        CChartLineFamilySerie* lines = LinesOf(view, chart);
        ASSERT_NE(lines, nullptr);
        ASSERT_EQ(lines->GetColour(), Colours().CLR_LIGHTLINE);
        ASSERT_EQ(lines->GetShownCount(), positions);
        for (std::size_t k = 0; k < positions; ++k)
        {
            kept.GetLine(k, chart == 0 ? BRT_MOMENT : BRT_SHEAR, x, y); // moments downwards on a turned axis
            SChartLine line;
            ASSERT_TRUE(lines->GetLine(k, line));
            ASSERT_EQ(std::vector<double>(line.pY, line.pY + line.count), y) << chart << " " << k;
            ASSERT_EQ(std::vector<double>(line.pX, line.pX + line.count), x) << chart << " " << k;
        }
        EXPECT_EQ(series[2]->GetColour(), Colours().CLR_BEAM);
        EXPECT_EQ(series[3]->GetColour(), Colours().CLR_LINEMAX);
        EXPECT_EQ(series[4]->GetColour(), Colours().CLR_LINEMIN);
    }

    // What the screen ends with is the whole chart drawn afresh from its series.
    CDC* image = moments->GetBackgroundDC();
    ASSERT_NE(image, nullptr);
    BITMAP bm{};
    image->GetCurrentBitmap()->GetBitmap(&bm);
    const DWORD bytes = static_cast<DWORD>(bm.bmWidthBytes * bm.bmHeight);
    std::vector<unsigned char> shown(bytes), fresh(bytes);
    image->GetCurrentBitmap()->GetBitmapBits(bytes, shown.data());
    moments->RefreshCtrl();
    view->FinishDrawing(); // a chart of this many points is redrawn in slices
    image->GetCurrentBitmap()->GetBitmapBits(bytes, fresh.data());
    EXPECT_TRUE(shown == fresh);
}

TEST_F(Kinds, APlotPrintedOrClosedWhileItsCurvesComeIsPrintedWholeOrLetGo)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto descriptor = MovingLoad(bridge, Axle(), 0.05);
    const std::size_t positions = descriptor->GetResults()->GetKeptPositions().GetCount();
    CPlotView* printed = OpenPlot(2, 1);
    ASSERT_NE(printed, nullptr);
    printed->ShowMovingLoadEnvelopes(true, true, descriptor);
    ASSERT_TRUE(printed->IsDrawing());
    const std::string whilst = qor::test::TempPdfPath("plot-while-drawing"),
                      after = qor::test::TempPdfPath("plot-after");
    {
        qor::test::DrivenPrinting printing(whilst);
        printed->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    }
    ASSERT_EQ(SeriesOf(printed, 1).size(), 5u);
    EXPECT_EQ(LinesOf(printed, 1)->GetShownCount(), positions);
    // The pages are those of the whole plot (above the footer, which holds the time printed).
    printed->FinishDrawing();
    {
        qor::test::DrivenPrinting printing(after);
        printed->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    }
    for (int page = 0; page < 2; ++page)
    {
        const std::vector<COLORREF> a = qor::test::RenderPdfPage(whilst, page, 400, 566);
        const std::vector<COLORREF> b = qor::test::RenderPdfPage(after, page, 400, 566);
        ASSERT_EQ(a.size(), 400u * 566u) << "page " << page;
        ASSERT_EQ(b.size(), a.size());
        const std::size_t body = 400u * 500u;
        EXPECT_TRUE(std::equal(a.begin(), a.begin() + body, b.begin())) << "page " << page;
        EXPECT_GT(std::count_if(a.begin(), a.begin() + body, [](COLORREF c) { return c != RGB(255, 255, 255); }), 2000)
            << "page " << page;
    }

    // The slices already posted to a closed plot find no window.
    CPlotView* closed = OpenPlot(2, 1);
    ASSERT_NE(closed, nullptr);
    closed->ShowMovingLoadEnvelopes(true, true, descriptor);
    ASSERT_TRUE(closed->IsDrawing());
    closed->GetParentFrame()->SendMessage(WM_CLOSE);
    qor::test::Pump(50);
    qor::test::DeleteDeferred();
    ASSERT_EQ(SeriesOf(printed, 1).size(), 5u);
    EXPECT_EQ(LinesOf(printed, 1)->GetShownCount(), positions);
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
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !bmsf->IsDrawing(); }));
    // Beam, two light lines per model, then beam, maxima and minima of the combination.
    const COLORREF light = Colours().CLR_LIGHTLINE;
    EXPECT_EQ(ColoursOf(bmsf, 0),
              (std::vector<COLORREF>{Colours().CLR_BEAM, light, light, light, light, Colours().CLR_BEAM,
                                     Colours().CLR_LINEMAX, Colours().CLR_LINEMIN}));
    EXPECT_EQ(bmsf->GetTitle().Find(L"Multi Moving Load Envelopes: BM & SF | "), 0);

    CPlotView* reactions = OpenPlot(1, 3);
    ASSERT_NE(reactions, nullptr);
    reactions->ShowMultiMovingLoadEnvelopes(true, false, descriptor);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !reactions->IsDrawing(); }));
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
    EXPECT_NEAR(MaxOf(SeriesOf(view, 0)[0]), 250.0, 1e-6);
    EXPECT_EQ(AxisTitleOf(view, 0, 0), CString(L"Bending Moment (kNm)"));
    EXPECT_EQ(AxisTitleOf(view, 1, 0), CString(L"Shear Force (kN)"));
    // Single-position reactions are a table only.
    CPlotView* reactions = OpenPlot(1, 2);
    ASSERT_NE(reactions, nullptr);
    reactions->ShowSinglePosition(false, descriptor);
    EXPECT_EQ(SeriesOf(reactions, 0).size(), 0u);
}

TEST_F(Kinds, RatioPlotsLeaveOutBridgesWithoutARatingAsTheTablesDo)
{
    auto coll = ComputedCollection();
    ASSERT_NE(coll, nullptr);
    auto refSet = coll->GetRefSet(0);
    std::shared_ptr<CBridgeSet> set = refSet->GetBridgeSet();
    ASSERT_EQ(set->GetBridgeCount(), 4u);
    // The second bridge's reference sagging moment is zero, so its moment maximum has no rating
    // ("n/a" in the tables); every other ratio is a number.
    const double refMax[4] = {100.0, 0.0, 200.0, 100.0}, propMax[4] = {120.0, 50.0, 100.0, 80.0};
    std::vector<CCriticalRatioResults> results;
    for (int b = 0; b < 4; ++b)
    {
        std::vector<CriticalPair<RatioLoadEffect>> reactions(3, RatioPair(10.0, 12.0, -5.0, -4.0, BRT_REACTIONS));
        results.emplace_back(reactions, RatioPair(refMax[b], propMax[b], -40.0, -30.0, BRT_MOMENT),
                             RatioPair(20.0, 25.0, -20.0, -15.0, BRT_SHEAR));
    }
    ASSERT_TRUE(results[1].m_BMPair.first.IsUndefined());
    auto ensemble = std::make_shared<CCriticalRatioEnsemble>(results, set);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowCriticalRatios(true, std::make_shared<CAOCriticalRatios>(ensemble, coll, refSet));

    // Maxima: the first bridge alone, then the third and fourth (lines and markers), with no
    // point at the second bridge's span; the minima whole; the two limit lines.
    const std::vector<double> spans = set->GetSpanLengths();
    std::vector<CChartXYSerie*> series = SeriesOf(view, 0);
    ASSERT_EQ(series.size(), 8u);
    for (int k : {0, 1})
    {
        EXPECT_EQ(series[k]->GetColour(), Colours().CLR_LINEMAX);
        ASSERT_EQ(series[k]->GetPointsCount(), 1u);
        EXPECT_EQ(series[k]->GetXPointValue(0), spans[0]);
        EXPECT_DOUBLE_EQ(series[k]->GetYPointValue(0), 1.2);
    }
    for (int k : {2, 3})
    {
        EXPECT_EQ(series[k]->GetColour(), Colours().CLR_LINEMAX);
        ASSERT_EQ(series[k]->GetPointsCount(), 2u);
        EXPECT_EQ(series[k]->GetXPointValue(0), spans[2]);
        EXPECT_EQ(YValues(series[k]), (std::vector<double>{0.5, 0.8}));
    }
    EXPECT_EQ(YValues(series[4]), std::vector<double>(4, 0.75));
    EXPECT_EQ(series[6]->GetColour(), Colours().CLR_FULLSPEED);
    // Shear force: every bridge rated, one line and its markers for each of maxima and minima.
    EXPECT_EQ(SeriesOf(view, 1).size(), 6u);
}

TEST_F(Kinds, SingleSpanRatioPlotsKeepTheShearMinimaThatMayGovern)
{
    auto coll = ComputedCollection();
    ASSERT_NE(coll, nullptr);
    auto set = std::make_shared<CBridgeSet>(2, CString(L"Singles"), 3, CBridge::CONFIG_ONESPAN, 10.0, 20.0);
    // Shear: maximum 18 / 20 = 0.9, minimum -25 / -20 = 1.25, which governs. A simple span has no
    // hogging moment and no uplift: those minima are zero.
    std::vector<CCriticalRatioResults> results;
    for (int b = 0; b < 3; ++b)
    {
        std::vector<CriticalPair<RatioLoadEffect>> reactions(2, RatioPair(10.0, 12.0, 0.0, 0.0, BRT_REACTIONS));
        results.emplace_back(reactions, RatioPair(100.0, 110.0, 0.0, 0.0, BRT_MOMENT),
                             RatioPair(20.0, 18.0, -20.0, -25.0, BRT_SHEAR));
    }
    auto ensemble = std::make_shared<CCriticalRatioEnsemble>(results, set);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowCriticalRatios(true, std::make_shared<CAOCriticalRatios>(ensemble, coll, coll->GetRefSet(0)));

    auto seriesIn = [&](unsigned chart, COLORREF colour) {
        std::vector<std::vector<double>> out;
        for (CChartXYSerie* s : SeriesOf(view, chart))
            if (s->GetColour() == colour) out.push_back(YValues(s));
        return out;
    };
    EXPECT_TRUE(seriesIn(0, Colours().CLR_LINEMIN).empty());
    EXPECT_EQ(seriesIn(1, Colours().CLR_LINEMAX), (std::vector<std::vector<double>>(2, {0.9, 0.9, 0.9})));
    EXPECT_EQ(seriesIn(1, Colours().CLR_LINEMIN), (std::vector<std::vector<double>>(2, {1.25, 1.25, 1.25})));
}

// A plot prints the same in every look: its frame's etched edge too is drawn in paper's colours, not the
// screen's. The dark look's page is the default look's, pixel for pixel above the footer.
TEST_F(Kinds, APlotPrintsTheSameInEveryLook)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_TWOSPAN, 10.0);
    auto descriptor = MovingLoad(bridge, Axle(), 0.5);
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowMovingLoadEnvelopes(true, true, descriptor);
    view->FinishDrawing();
    constexpr int kWidth = 400, kHeight = 566, kAboveFooter = 500;
    auto printed = [&](qor::gui::Look look) {
        qor::gui::SetApplicationLook(look);
        qor::test::Pump();
        return qor::test::PrintedFirstPage([&] { view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0); }, kWidth, kHeight);
    };
    const std::vector<COLORREF> light = printed(qor::gui::Look::Light);
    const std::vector<COLORREF> dark = printed(qor::gui::Look::Dark);
    qor::gui::SetApplicationLook(qor::gui::Look::Light);
    ASSERT_EQ(light.size(), static_cast<size_t>(kWidth * kHeight));
    ASSERT_EQ(dark.size(), light.size());
    EXPECT_TRUE(std::equal(light.begin(), light.begin() + kWidth * kAboveFooter, dark.begin()));
}
