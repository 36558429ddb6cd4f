// What the plot view draws for each kind of result: positions and envelopes along the beam,
// reaction envelopes per support, critical values and ratios over the spans of a bridge set,
// and compared envelopes. Missing or mismatched data leaves out only the series it feeds.
#include "ui/views/PlotView.h"

#include "engine/analysis/Beam.h"
#include "engine/analysis/BeamResults.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"

#include <algorithm>
#include <exception>

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

} // namespace

void CPlotView::SRange::Add(const std::vector<double>& x, const std::vector<double>& y, double sign)
{
    if (x.empty() || x.size() != y.size()) return; // AddSeries leaves such a series out
    const auto [xLo, xHi] = std::minmax_element(x.begin(), x.end());
    const auto [yLo, yHi] = std::minmax_element(y.begin(), y.end());
    AddX(*xLo, *xHi);
    if (sign < 0)
        AddY(-*yHi, -*yLo);
    else
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
    auto beamAndTitles = [&] {
        DrawBeamLine(0, bridge);
        SetAxisTitles(0, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_BMENV));
        DrawBeamLine(1, bridge);
        SetAxisTitles(1, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_SFENV));
    };
    {
        HeldCharts held(*this);
        beamAndTitles();
    }

    if (bShowAll)
    {
        const CKeptPositions& positions = pResults->GetKeptPositions();
        std::vector<double> x, y;
        SRange moments, shears;
        for (std::size_t i = 0; i < positions.GetCount(); ++i)
        {
            positions.GetLine(i, BRT_MOMENT, x, y);
            moments.Add(x, y, -1.0);
            positions.GetLine(i, BRT_SHEAR, x, y);
            shears.Add(x, y, 1.0);
        }
        HoldAxes(0, moments);
        HoldAxes(1, shears);
        for (std::size_t i = 0; i < positions.GetCount(); ++i)
        {
            positions.GetLine(i, BRT_MOMENT, x, y);
            AddSeries(0, x, y, CLR_LIGHTLINE, false, 1, true, false);
            positions.GetLine(i, BRT_SHEAR, x, y);
            AddSeries(1, x, y, CLR_LIGHTLINE, false, 1, false, false);
            ShowProgress();
        }
        ReleaseAxes(0);
        ReleaseAxes(1);
    }

    HeldCharts held(*this);
    if (bShowAll) beamAndTitles(); // over the light lines

    std::vector<double> x, y;
    if (std::shared_ptr<CEnvelope> bm = pResults->GetBMEnvelope())
    {
        bm->GetLocations(x, true);
        bm->GetValues(y, true);
        AddSeries(0, x, y, clrMax, false, 2, true, true);
        if (!IsSingleSpan(bridge))
        {
            bm->GetLocations(x, false);
            bm->GetValues(y, false);
            AddSeries(0, x, y, clrMin, false, 2, true, true);
        }
    }
    if (std::shared_ptr<CEnvelope> sf = pResults->GetSFEnvelope())
    {
        sf->GetLocations(x, true);
        sf->GetValues(y, true);
        AddSeries(1, x, y, clrMax, false, 2, false, true);
        sf->GetLocations(x, false);
        sf->GetValues(y, false);
        AddSeries(1, x, y, clrMin, false, 2, false, true);
    }
}

void CPlotView::PlotReactionEnvelopes(std::shared_ptr<CEnvelopeResults> pResults, COLORREF clrMin, COLORREF clrMax)
{
    HeldCharts held(*this);
    if (!pResults) return;
    std::shared_ptr<CBridge> bridge = pResults->GetBridge();
    if (!bridge) return;
    const unsigned supports = static_cast<unsigned>(bridge->m_vSpans.size() + 1);
    std::vector<double> x, y;
    for (unsigned i = 0; i < supports; ++i)
    {
        SetAxisTitles(i, AxisTitle(AT_LMPOSITION), AxisTitle(AT_REACTIONENV));
        DrawBeamLine(i, bridge);
        std::shared_ptr<CEnvelope> reaction = pResults->GetReactionEnvelope(i);
        if (!reaction) continue;
        reaction->GetLoadModelPositions(x, true);
        reaction->GetValues(y, true);
        AddSeries(i, x, y, clrMax, false, 2, false, true);
        if (!IsSingleSpan(bridge))
        {
            reaction->GetLoadModelPositions(x, false);
            reaction->GetValues(y, false);
            AddSeries(i, x, y, clrMin, false, 2, false, true);
        }
    }
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
        {
            HeldCharts held(*this);
            DrawBeamLine(0, bridge);
            SetAxisTitles(0, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_BMENV));
            DrawBeamLine(1, bridge);
            SetAxisTitles(1, AxisTitle(AT_BEAMLOCATION), AxisTitle(AT_SFENV));
        }
        std::vector<double> x, y;
        for (const std::shared_ptr<CEnvelopeResults>& each : pMulti->GetEnvelopeResults())
        {
            if (!each) continue;
            {
                HeldCharts held(*this); // one load model's curves appear together
                for (int chart = 0; chart < 2; ++chart)
                {
                    std::shared_ptr<CEnvelope> env = chart == 0 ? each->GetBMEnvelope() : each->GetSFEnvelope();
                    if (!env) continue;
                    for (bool bMax : {true, false})
                    {
                        env->GetLocations(x, bMax);
                        env->GetValues(y, bMax);
                        AddSeries(static_cast<unsigned>(chart), x, y, CLR_LIGHTLINE, false, 1, chart == 0, true);
                    }
                }
            }
            ShowProgress();
        }
    }
    DrawMovingLoadBMSF(pResults, false);
}

void CPlotView::DrawMultiMovingLoadReactions(std::shared_ptr<CAnalysisOutput> pAO, bool bShowAll)
{
    auto pMulti = std::dynamic_pointer_cast<CAOMultiMovingLoad>(pAO);
    if (!pMulti) return;
    std::shared_ptr<CEnvelopeResults> pResults = pMulti->GetResults();
    if (bShowAll)
    {
        std::vector<double> x, y;
        for (const std::shared_ptr<CEnvelopeResults>& each : pMulti->GetEnvelopeResults())
        {
            std::shared_ptr<CBridge> bridge = each ? each->GetBridge() : nullptr;
            if (!bridge) continue;
            const unsigned supports = static_cast<unsigned>(bridge->m_vSpans.size() + 1);
            {
                HeldCharts held(*this); // one load model's curves appear together
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
            }
            ShowProgress();
        }
    }
    DrawMovingLoadReactions(pResults);
}

// ---- Critical values and ratios over a bridge set ---------------------------------------------

template <class Results>
void CPlotView::PlotCriticalPairs(const CCriticalEnsemble<Results>& ensemble, bool bBMSF, EAxisTitle bmTitle,
                                  EAxisTitle sfTitle, EAxisTitle reactionTitle)
{
    HeldCharts held(*this);
    std::shared_ptr<CBridgeSet> bridgeSet = ensemble.GetBridgeSet();
    const std::vector<double> spans = bridgeSet ? bridgeSet->GetSpanLengths() : std::vector<double>{};
    const bool singleSpan = bridgeSet && bridgeSet->m_Config == CBridge::CONFIG_ONESPAN;
    std::vector<double> max, min;
    auto pair = [&](unsigned chart) {
        AddSeries(chart, spans, max, CLR_LINEMAX, true, 2, false, true);
        if (!singleSpan) AddSeries(chart, spans, min, CLR_LINEMIN, true, 2, false, true);
    };

    if (bBMSF)
    {
        SetAxisTitles(0, AxisTitle(AT_BRIDGESPAN), AxisTitle(bmTitle));
        ensemble.GetBM(max, min);
        pair(0);
        SetAxisTitles(1, AxisTitle(AT_BRIDGESPAN), AxisTitle(sfTitle));
        ensemble.GetSF(max, min);
        pair(1);
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
        pair(chart);
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
