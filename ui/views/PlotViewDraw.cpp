// What the plot view draws for each kind of result: positions and envelopes along the beam,
// reaction envelopes per support, critical values and ratios over the spans of a bridge set,
// and compared envelopes. Missing or mismatched data leaves out only the series it feeds.
#include "ui/views/PlotView.h"

#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/CriticalResults.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace {

bool IsSingleSpan(const std::shared_ptr<CBridge>& bridge)
{
    return bridge && bridge->m_Config == CBridge::CONFIG_ONESPAN;
}

// The element at index of a list of shared pointers, or an empty pointer.
template <class T>
std::shared_ptr<T> ItemOrNull(const std::vector<std::shared_ptr<T>>& list, long long index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return nullptr;
    return list[static_cast<std::size_t>(index)];
}

// The supports of the beam of the set's first bridge (0 for an empty set).
int SupportCount(const std::shared_ptr<CBridgeSet>& bridgeSet)
{
    if (!bridgeSet || bridgeSet->GetBridgeCount() == 0) return 0;
    std::shared_ptr<CBridge> first = bridgeSet->GetBridge(0);
    std::shared_ptr<CBeam> beam = first ? first->GetBeam() : nullptr;
    return beam ? beam->m_nRestraints : 0;
}

// The charts are redrawn once, when the guard goes: the steps in between are never on the screen.
struct HeldCharts
{
    CPlotView& view;
    explicit HeldCharts(CPlotView& v) : view(v) { view.HoldDrawing(true); }
    ~HeldCharts() { view.HoldDrawing(false); }
    HeldCharts(const HeldCharts&) = delete;
    HeldCharts& operator=(const HeldCharts&) = delete;
};

// The same for one chart (none when the view has no such chart).
struct HeldChart
{
    CChartCtrl* chart;
    HeldChart(const CPlotView& view, unsigned i) : chart(view.GetChart(i))
    {
        if (chart) chart->AllowRefresh(false);
    }
    ~HeldChart()
    {
        if (chart) chart->AllowRefresh(true);
    }
    HeldChart(const HeldChart&) = delete;
    HeldChart& operator=(const HeldChart&) = delete;
};

} // namespace

void CPlotView::SRange::Add(const CKeptPositions& positions, std::size_t i, int kind)
{
    const double* x = nullptr;
    const double* y = nullptr;
    std::size_t n = 0;
    positions.GetLineData(i, kind, x, y, n);
    if (n == 0) return;
    const auto [xLo, xHi] = std::minmax_element(x, x + n);
    const auto [yLo, yHi] = std::minmax_element(y, y + n);
    AddX(*xLo, *xHi);
    AddY(*yLo, *yHi);
}

// ---- Single position -------------------------------------------------------------------------

void CPlotView::DrawSinglePositionBMSF(std::shared_ptr<CAnalysisOutput> pAO)
{
    HeldCharts held(*this);
    BeginShow(L"Single Position Analysis: ", true, pAO);
    auto pSingle = std::dynamic_pointer_cast<CAOSinglePosition>(pAO);
    std::shared_ptr<CBeamResults> pResults = pSingle ? pSingle->GetResults() : nullptr;
    if (!pResults) return;
    std::shared_ptr<CBeam> pBeam = pResults->GetBeam();
    const double length = pBeam ? pBeam->m_Length : 0.0;

    std::vector<double> x, y;
    pResults->GetResults(x, y, BRT_MOMENT);
    SetAxisTitles(0, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_BM));
    AddSeries(0, x, y, CLR_LINEMAX, false, 2, true, true);
    if (pBeam) AddSeries(0, {0.0, length}, {0.0, 0.0}, CLR_BEAM, false, 4, false, true);

    pResults->GetResults(x, y, BRT_SHEAR);
    SetAxisTitles(1, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_SF));
    AddSeries(1, x, y, CLR_LINEMAX, false, 2, false, true);
    if (pBeam) AddSeries(1, {0.0, length}, {0.0, 0.0}, CLR_BEAM, false, 4, false, true);
}

void CPlotView::DrawSinglePositionReactions(std::shared_ptr<CAnalysisOutput> pAO)
{
    // A single position's reactions are a table only.
    (void)pAO;
}

// ---- Moving load -----------------------------------------------------------------------------

void CPlotView::DrawMovingLoadBMSF(std::shared_ptr<CEnvelopeResults> pResults, bool bShowAll)
{
    PlotEnvelopesBMSF(pResults, CLR_LINEMIN, CLR_LINEMAX, bShowAll);
}

void CPlotView::DrawMovingLoadReactions(std::shared_ptr<CEnvelopeResults> pResults)
{
    PlotReactionEnvelopes(pResults, CLR_LINEMIN, CLR_LINEMAX);
}

void CPlotView::PlotEnvelopesBMSF(std::shared_ptr<CEnvelopeResults> pResults, COLORREF clrMin, COLORREF clrMax,
                                  bool bShowAll)
{
    if (!pResults) return;
    std::shared_ptr<CBridge> bridge = pResults->GetBridge();
    // Chart 0 is bending moment, chart 1 shear force; each chart's steps keep the order of a
    // drawing in one go, whatever the other chart's do.
    auto beamAndTitles = [this, bridge](unsigned chart) {
        DrawBeamLine(chart, bridge);
        SetAxisTitles(chart, AxisTitle(AT_BEAMLOCATION), AxisTitle(chart == 0 ? AT_BMENV : AT_SFENV));
    };
    Then([this, beamAndTitles] {
        HeldCharts held(*this);
        beamAndTitles(0);
        beamAndTitles(1);
    });

    if (bShowAll)
    {
        Then([this, pResults] {
            // The axes keep the range they end with while the positions come, so that each curve
            // is drawn onto the chart's image alone. The ranges of many thousand positions are
            // themselves taken in steps.
            const std::size_t count = pResults->GetKeptPositions().GetCount();
            auto ranges = std::make_shared<std::pair<SRange, SRange>>();
            constexpr std::size_t kPositionsAStep = 2000;
            for (std::size_t from = 0; from < count; from += kPositionsAStep)
            {
                Later([pResults, ranges, from, count] {
                    const CKeptPositions& positions = pResults->GetKeptPositions();
                    for (std::size_t i = from; i < std::min(count, from + kPositionsAStep); ++i)
                    {
                        ranges->first.Add(positions, i, BRT_MOMENT);
                        ranges->second.Add(positions, i, BRT_SHEAR);
                    }
                });
            }
            Later([this, pResults, ranges, count] {
                QueuePositionCurves(pResults, ranges->first, ranges->second, count);
            });
        });
    }

    for (unsigned chart : {0u, 1u})
    {
        Then([=, this] {
            HeldChart held(*this, chart);
            if (bShowAll) beamAndTitles(chart); // over the light lines
            std::shared_ptr<CEnvelope> env = chart == 0 ? pResults->GetBMEnvelope() : pResults->GetSFEnvelope();
            if (!env) return;
            std::vector<double> x, y;
            env->GetLocations(x, true);
            env->GetValues(y, true);
            AddSeries(chart, x, y, clrMax, false, 2, chart == 0, true);
            // A single span has no hogging moment; shear has both signs always.
            if (chart == 1 || !IsSingleSpan(bridge))
            {
                env->GetLocations(x, false);
                env->GetValues(y, false);
                AddSeries(chart, x, y, clrMin, false, 2, chart == 0, true);
            }
        });
    }
}

void CPlotView::QueuePositionCurves(const std::shared_ptr<CEnvelopeResults>& pResults, const SRange& moments,
                                    const SRange& shears, std::size_t count)
{
    HoldAxes(0, moments);
    HoldAxes(1, shears);
    // The curves are read where the run keeps them; the moments are turned over by the axis.
    auto lines = [this, pResults, count](unsigned chart, int kind, const SRange& range) {
        auto source = [pResults, kind](std::size_t i, SChartLine& line) {
            pResults->GetKeptPositions().GetLineData(i, kind, line.pX, line.pY, line.count);
            return line.count > 0;
        };
        return AddLineFamily(chart, std::move(source), count, range, kind == BRT_MOMENT);
    };
    CChartLineFamilySerie* pMoments = lines(0, BRT_MOMENT, moments);
    CChartLineFamilySerie* pShears = lines(1, BRT_SHEAR, shears);
    constexpr std::size_t kCurvesAStep = 256;
    for (std::size_t from = 0; from < count; from += kCurvesAStep)
    {
        const std::size_t to = std::min(count, from + kCurvesAStep);
        Later(
            [pMoments, pShears, to] {
                if (pMoments) pMoments->ShowLines(to);
                if (pShears) pShears->ShowLines(to);
            },
            static_cast<int>(to - from));
    }
    Later([this] { ReleaseAxes(0); });
    Later([this] { ReleaseAxes(1); });
}

void CPlotView::PlotReactionEnvelopes(std::shared_ptr<CEnvelopeResults> pResults, COLORREF clrMin, COLORREF clrMax)
{
    if (!pResults) return;
    std::shared_ptr<CBridge> bridge = pResults->GetBridge();
    if (!bridge) return;
    const unsigned supports = static_cast<unsigned>(bridge->m_vSpans.size() + 1);
    // The chart of support i, with its maximum curve (bMax) or its minimum curve.
    auto curve = [this, pResults, bridge, clrMin, clrMax](unsigned i, bool bMax) {
        if (bMax)
        {
            SetAxisTitles(i, AxisTitle(AT_LMPOSITION), AxisTitle(AT_REACTIONENV));
            DrawBeamLine(i, bridge);
        }
        else if (IsSingleSpan(bridge))
        {
            return;
        }
        std::shared_ptr<CEnvelope> reaction = pResults->GetReactionEnvelope(i);
        if (!reaction) return;
        std::vector<double> x, y;
        reaction->GetLoadModelPositions(x, bMax);
        reaction->GetValues(y, bMax);
        AddSeries(i, x, y, bMax ? clrMax : clrMin, false, 2, false, true);
    };
    // A reaction envelope has a point per load position: with hundreds of thousands, each curve takes a
    // good part of the time the window may be held, and comes in a turn of its own.
    const std::shared_ptr<CEnvelope> first = pResults->GetReactionEnvelope(0);
    if (!first || first->m_vMax.size() < kPointsForACurveATurn)
    {
        HeldCharts held(*this);
        for (unsigned i = 0; i < supports; ++i)
        {
            curve(i, true);
            curve(i, false);
        }
        return;
    }
    for (unsigned i = 0; i < supports; ++i)
        for (bool bMax : {true, false})
            Later([this, curve, i, bMax] {
                HeldChart held(*this, i);
                curve(i, bMax);
            });
}

// ---- Ensemble envelopes ----------------------------------------------------------------------

void CPlotView::DrawMultiMovingLoadBMSF(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll)
{
    auto pMulti = std::dynamic_pointer_cast<CAOMultiMovingLoad>(pAO);
    if (!pMulti) return;
    std::shared_ptr<CEnvelopeResults> pResults = pMulti->GetResults();
    if (bShowAll)
    {
        std::shared_ptr<CBridge> bridge = pResults ? pResults->GetBridge() : pMulti->m_pOutBridge;
        Then([this, bridge] {
            HeldCharts held(*this);
            DrawBeamLine(0, bridge);
            SetAxisTitles(0, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_BMENV));
            DrawBeamLine(1, bridge);
            SetAxisTitles(1, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_SFENV));
        });
        for (const std::shared_ptr<CEnvelopeResults>& each : pMulti->GetEnvelopeResults())
        {
            if (!each) continue;
            Later(
                [this, each] {
                    HeldCharts held(*this); // one load model's curves appear together
                    std::vector<double> x, y;
                    for (unsigned chart : {0u, 1u})
                    {
                        std::shared_ptr<CEnvelope> env = chart == 0 ? each->GetBMEnvelope() : each->GetSFEnvelope();
                        if (!env) continue;
                        for (bool bMax : {true, false})
                        {
                            env->GetLocations(x, bMax);
                            env->GetValues(y, bMax);
                            AddSeries(chart, x, y, CLR_LIGHTLINE, false, 1, chart == 0, true);
                        }
                    }
                },
                true);
        }
    }
    Then([this, pResults] { DrawMovingLoadBMSF(pResults, false); });
}

void CPlotView::DrawMultiMovingLoadReactions(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll)
{
    auto pMulti = std::dynamic_pointer_cast<CAOMultiMovingLoad>(pAO);
    if (!pMulti) return;
    std::shared_ptr<CEnvelopeResults> pResults = pMulti->GetResults();
    if (bShowAll)
    {
        for (const std::shared_ptr<CEnvelopeResults>& each : pMulti->GetEnvelopeResults())
        {
            std::shared_ptr<CBridge> bridge = each ? each->GetBridge() : nullptr;
            if (!bridge) continue;
            Later(
                [this, each, bridge] {
                    HeldCharts held(*this); // one load model's curves appear together
                    const unsigned supports = static_cast<unsigned>(bridge->m_vSpans.size() + 1);
                    std::vector<double> x, y;
                    for (unsigned i = 0; i < supports; ++i)
                    {
                        DrawBeamLine(i, bridge);
                        std::shared_ptr<CEnvelope> reaction = each->GetReactionEnvelope(i);
                        if (!reaction) continue;
                        reaction->GetLoadModelPositions(x, true);
                        reaction->GetValues(y, true);
                        AddSeries(i, x, y, CLR_LIGHTLINE, false, 1, false, true);
                        if (!IsSingleSpan(bridge))
                        {
                            reaction->GetLoadModelPositions(x, false);
                            reaction->GetValues(y, false);
                            AddSeries(i, x, y, CLR_LIGHTLINE, false, 1, false, true);
                        }
                    }
                },
                true);
        }
    }
    Then([this, pResults] { DrawMovingLoadReactions(pResults); });
}

// ---- Critical values and ratios over a bridge set ---------------------------------------------

namespace {

// Which bridges of a set have no rating in one pair of series (a ratio against a reference too
// small to divide by: the tables say "n/a", and the 0.0 that stands in for it is no number to
// draw). effect: -2 bending moment, -1 shear force, i >= 0 the reaction at support i. Critical
// values always have a number.
struct SNoRating
{
    std::vector<bool> max, min;
};

SNoRating NoRating(const CCriticalEnsemble<CCriticalValueResults>&, int) { return {}; }

SNoRating NoRating(const CCriticalEnsemble<CCriticalRatioResults>& ensemble, int effect)
{
    SNoRating none;
    for (std::size_t b = 0; b < ensemble.GetNoResults(); ++b)
    {
        const CCriticalRatioResults results = ensemble.GetResults(static_cast<unsigned>(b));
        const CriticalPair<RatioLoadEffect>* pair = &results.m_BMPair;
        if (effect == -1) pair = &results.m_SFPair;
        if (effect >= 0)
        {
            const auto support = static_cast<std::size_t>(effect);
            pair = support < results.m_vReactionPairs.size() ? &results.m_vReactionPairs[support] : nullptr;
        }
        none.max.push_back(pair && pair->first.IsUndefined());
        none.min.push_back(pair && pair->second.IsUndefined());
    }
    return none;
}

} // namespace

void CPlotView::AddRatedSeries(unsigned i, const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<bool>& noRating, COLORREF colour)
{
    if (noRating.size() != x.size() || std::find(noRating.begin(), noRating.end(), true) == noRating.end())
        return AddSeries(i, x, y, colour, true, 2, false, true);
    // A bridge without a rating is left out and the line breaks there, as the tables leave the
    // cell without a number.
    std::vector<double> runX, runY;
    for (std::size_t k = 0; k <= x.size(); ++k)
    {
        if (k < x.size() && !noRating[k] && k < y.size())
        {
            runX.push_back(x[k]);
            runY.push_back(y[k]);
            continue;
        }
        if (!runX.empty()) AddSeries(i, runX, runY, colour, true, 2, false, true);
        runX.clear();
        runY.clear();
    }
}

template <class Results>
void CPlotView::PlotCriticalPairs(const CCriticalEnsemble<Results>& ensemble, bool bBMSF, EAxisTitle bmTitle,
                                  EAxisTitle sfTitle, EAxisTitle reactionTitle)
{
    HeldCharts held(*this);
    std::shared_ptr<CBridgeSet> bridgeSet = ensemble.GetBridgeSet();
    const std::vector<double> spans = bridgeSet ? bridgeSet->GetSpanLengths() : std::vector<double>{};
    const bool singleSpan = bridgeSet && bridgeSet->m_Config == CBridge::CONFIG_ONESPAN;
    std::vector<double> max, min;
    auto pair = [&](unsigned chart, int effect) {
        const SNoRating none = NoRating(ensemble, effect);
        AddRatedSeries(chart, spans, max, none.max, CLR_LINEMAX);
        // A single span has no hogging moment and no uplift, but its shear minimum is as real as
        // its maximum and may govern; the tables show it, so the plot must too.
        if (!singleSpan || effect == -1) AddRatedSeries(chart, spans, min, none.min, CLR_LINEMIN);
    };

    if (bBMSF)
    {
        SetAxisTitles(0, AxisTitle(AT_BRIDGESPAN), AxisTitle(bmTitle));
        ensemble.GetBM(max, min);
        pair(0, -2);
        SetAxisTitles(1, AxisTitle(AT_BRIDGESPAN), AxisTitle(sfTitle));
        ensemble.GetSF(max, min);
        pair(1, -1);
        return;
    }
    const int supports = SupportCount(bridgeSet);
    for (int i = 0; i < supports; ++i)
    {
        const unsigned chart = static_cast<unsigned>(i);
        SetAxisTitles(chart, AxisTitle(AT_BRIDGESPAN), AxisTitle(reactionTitle));
        try
        {
            ensemble.GetReaction(chart, max, min);
        }
        catch (const std::exception&)
        {
            continue; // results without this support: the chart keeps its titles only
        }
        pair(chart, i);
    }
}

void CPlotView::DrawReferenceValuesBMSF(std::shared_ptr<CCriticalValueEnsemble> pValues)
{
    if (pValues) PlotCriticalPairs(*pValues, true, AT_CV_BMENV, AT_CV_SFENV, AT_CV_REACTIONENV);
}

void CPlotView::DrawReferenceValuesReactions(std::shared_ptr<CCriticalValueEnsemble> pValues)
{
    if (pValues) PlotCriticalPairs(*pValues, false, AT_CV_BMENV, AT_CV_SFENV, AT_CV_REACTIONENV);
}

void CPlotView::DrawReferenceSetValuesBMSF(std::shared_ptr<CReferenceSet> pRefSet)
{
    std::shared_ptr<CCriticalValueEnsemble> pValues = pRefSet ? pRefSet->GetRefCritValues() : nullptr;
    if (pValues) PlotCriticalPairs(*pValues, true, AT_CV_BM, AT_CV_SF, AT_REACTION);
}

void CPlotView::DrawReferenceSetValuesReactions(std::shared_ptr<CReferenceSet> pRefSet)
{
    std::shared_ptr<CCriticalValueEnsemble> pValues = pRefSet ? pRefSet->GetRefCritValues() : nullptr;
    if (pValues) PlotCriticalPairs(*pValues, false, AT_CV_BM, AT_CV_SF, AT_REACTION);
}

std::vector<double> CPlotView::GetSlowDownLimits(std::shared_ptr<CReferenceSet> pRefSet)
{
    if (!pRefSet) return {};
    std::shared_ptr<CLoadModelEnsemble> proposed = pRefSet->GetPropLME();
    if (!proposed || proposed->GetLoadModelCount() == 0) return {};
    std::shared_ptr<CLoadModel> first = proposed->GetLoadModel(0);
    return first ? first->GetDLAs(pRefSet->GetBridgeSet()) : std::vector<double>{};
}

void CPlotView::DrawRatioLimits(unsigned i, const std::vector<double>& x, const std::vector<double>& slowDown)
{
    if (m_bRatioLimitFullSpeed)
        AddSeries(i, x, std::vector<double>(x.size(), 1.0), CLR_FULLSPEED, false, 2, false, true);
    if (m_bRatioLimitSlowDown && !slowDown.empty()) AddSeries(i, x, slowDown, CLR_SLOWDOWN, false, 2, false, true);
}

void CPlotView::DrawCriticalRatios(std::shared_ptr<CAnalysisOutput> pAO, bool bBMSF)
{
    HeldCharts held(*this);
    auto pRatios = std::dynamic_pointer_cast<CAOCriticalRatios>(pAO);
    if (!pRatios) return;
    std::shared_ptr<CCriticalRatioEnsemble> ensemble = pRatios->GetRatioResults();
    if (!ensemble) return;
    PlotCriticalPairs(*ensemble, bBMSF, AT_CR_BM, AT_CR_SF, AT_CR_REACTION);

    std::shared_ptr<CBridgeSet> bridgeSet = ensemble->GetBridgeSet();
    const std::vector<double> spans = bridgeSet ? bridgeSet->GetSpanLengths() : std::vector<double>{};
    const std::vector<double> slowDown = GetSlowDownLimits(pRatios->m_pOutRefSet);
    const unsigned charts = bBMSF ? 2u : static_cast<unsigned>(SupportCount(bridgeSet));
    for (unsigned i = 0; i < charts; ++i) DrawRatioLimits(i, spans, slowDown);
}

void CPlotView::DrawCriticalRatiosBMSF(std::shared_ptr<CAnalysisOutput> pAO) { DrawCriticalRatios(pAO, true); }

void CPlotView::DrawCriticalRatiosReactions(std::shared_ptr<CAnalysisOutput> pAO) { DrawCriticalRatios(pAO, false); }

// ---- Compared envelopes ----------------------------------------------------------------------

void CPlotView::DrawCompareEnvelopes(std::shared_ptr<CAnalysisOutput> pAO, bool bBMSF)
{
    HeldCharts held(*this);
    auto pCompare = std::dynamic_pointer_cast<CAOCompareRefSetEnvs>(pAO);
    std::shared_ptr<CReferenceSet> pRefSet = pCompare ? pCompare->GetReferenceSet() : nullptr;
    if (!pRefSet) return;
    const long long index = pCompare->m_nOutBridgeIndex;
    auto draw = [&](const std::shared_ptr<CCriticalValueEnsemble>& values, COLORREF clrMin, COLORREF clrMax) {
        if (!values) return;
        std::shared_ptr<CEnvelopeResults> env = ItemOrNull(values->GetEnvelopeResults(), index);
        if (bBMSF)
            PlotEnvelopesBMSF(env, clrMin, clrMax, false);
        else
            PlotReactionEnvelopes(env, clrMin, clrMax);
    };
    draw(pRefSet->GetRefCritValues(), CLR_LINEMIN, CLR_LINEMAX);
    draw(pRefSet->GetPropCritValues(), CLR_PROPMIN, CLR_PROPMAX);
}

void CPlotView::DrawCompareEnvelopesBMSF(std::shared_ptr<CAnalysisOutput> pAO) { DrawCompareEnvelopes(pAO, true); }

void CPlotView::DrawCompareEnvelopesReactions(std::shared_ptr<CAnalysisOutput> pAO)
{
    DrawCompareEnvelopes(pAO, false);
}
