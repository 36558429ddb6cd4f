// Results that lack data: a plot leaves out the series or limit line that the missing data
// would feed, keeps its charts and titles and the other series, and never fails.
#include "views_support.h"

#include "engine/analysis/CriticalEnsemble.h"

using namespace viewtest;

namespace {

std::size_t SeriesCount(CPlotView* view)
{
    std::size_t n = 0;
    for (unsigned i = 0; i < view->GetChartCount(); ++i) n += view->GetChart(i)->GetSeriesCount();
    return n;
}

} // namespace

TEST_F(PlotTest, MissingEnvelopesLeaveTheBeamAndTitles)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Three spans"), CBridge::CONFIG_THREESPAN, 20.0);
    auto empty = std::make_shared<CEnvelopeResults>(bridge); // never analysed: no reaction envelopes
    empty->m_vEnvReaction.clear();
    CPlotView* view = OpenPlot(2, 2);
    ASSERT_NE(view, nullptr);
    view->ShowMovingLoadEnvelopes(true, false, std::make_shared<CAOMovingLoad>(empty, bridge, Axle(), 0));
    for (unsigned support = 0; support < 4; ++support)
    {
        EXPECT_EQ(AxisTitleOf(view, support, 0), CString(L"Reaction Envelope (kN)"));
        EXPECT_EQ(view->GetChart(support)->GetSeriesCount(), 1u); // the beam
    }
    // Without results, or with a descriptor of another kind, only the title changes.
    CPlotView* other = OpenPlot(2, 1);
    ASSERT_NE(other, nullptr);
    other->ShowMovingLoadEnvelopes(true, true, std::make_shared<CAOMovingLoad>(nullptr, bridge, Axle(), 0));
    other->ShowMultiMovingLoadEnvelopes(true, true, std::make_shared<CAOMovingLoad>(empty, bridge, Axle(), 0));
    other->ShowCriticalRatios(false, nullptr);
    other->ShowReferenceSetValues(true, std::make_shared<CAOReferenceSet>(nullptr, false));
    other->ShowReferenceValues(false, std::make_shared<CAOBridgeRange>(nullptr, nullptr, nullptr));
    EXPECT_EQ(SeriesCount(other), 0u);
    EXPECT_EQ(other->GetTitle(),
              CString(L"Reference Values: Reactions | ") + CAOBridgeRange(nullptr, nullptr, nullptr).GetDescription());
}

TEST_F(PlotTest, RatiosWithoutAProposedModelOrOfAnotherSizeKeepWhatTheyHave)
{
    auto coll = ComputedCollection();
    ASSERT_NE(coll, nullptr);
    auto refSet = coll->GetRefSet(0);
    auto ratios = coll->GetCritRatios()[0];

    // An empty proposed ensemble: no slow-down limits; the ratios and the full-speed line stay.
    refSet->m_pPropLME = std::make_shared<CLoadModelEnsemble>(5, CString(L"Empty"));
    CPlotView* view = OpenPlot(2, 1);
    ASSERT_NE(view, nullptr);
    view->ShowCriticalRatios(true, std::make_shared<CAOCriticalRatios>(ratios, coll, refSet));
    EXPECT_EQ(view->GetChart(0)->GetSeriesCount(), 5u);
    EXPECT_EQ(AxisTitleOf(view, 0, 0), CString(L"Critical Ratios - Bending Moment"));

    // Ratios of fewer bridges than the set has spans: the pairs are left out, the charts stay.
    auto shorter = std::make_shared<CCriticalRatioEnsemble>(
        std::vector<CCriticalRatioResults>{ratios->GetResults(0), ratios->GetResults(1)}, ratios->GetBridgeSet());
    CPlotView* reactions = OpenPlot(1, 3);
    ASSERT_NE(reactions, nullptr);
    reactions->ShowCriticalRatios(false, std::make_shared<CAOCriticalRatios>(shorter, coll, nullptr));
    for (unsigned support = 0; support < 3; ++support)
    {
        EXPECT_EQ(AxisTitleOf(reactions, support, 0), CString(L"Critical Ratios - Reaction"));
        EXPECT_EQ(reactions->GetChart(support)->GetSeriesCount(), 1u); // the full-speed line
    }

    // A comparison naming a bridge past the end of the set draws nothing and fails nothing.
    CPlotView* compared = OpenPlot(2, 1);
    ASSERT_NE(compared, nullptr);
    compared->ShowCompareEnvelopes(true, std::make_shared<CAOCompareRefSetEnvs>(false, 99, refSet));
    compared->ShowCompareEnvelopes(false, std::make_shared<CAOCompareRefSetEnvs>(false, -1, refSet));
    EXPECT_EQ(SeriesCount(compared), 0u);

    // Values of an empty bridge set: no reactions charts are filled.
    auto emptySet = std::make_shared<CBridgeSet>();
    auto values = std::make_shared<CCriticalValueEnsemble>(std::vector<std::shared_ptr<CEnvelopeResults>>{}, emptySet);
    CPlotView* range = OpenPlot(1, 2);
    ASSERT_NE(range, nullptr);
    range->ShowReferenceValues(false, std::make_shared<CAOBridgeRange>(values, emptySet, Axle()));
    range->ShowReferenceValues(true, std::make_shared<CAOBridgeRange>(values, emptySet, Axle()));
    EXPECT_EQ(SeriesCount(range), 0u);
}
