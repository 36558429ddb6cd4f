// The worker side of the analysis runs: each block runs the engine on its own copies and posts
// its finished message; the working copy of a reference collection and the way its results
// return into the case.
#include "app/AnalysisJob.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/Messages.h"
#include "res/AppMessages.h"

std::atomic<int> CAnalysisJob::s_nLive{0};

CAnalysisJob::CAnalysisJob() : m_nPointsPerSpan(CBeamAnalysis::PointsPerSpanSetting()) { ++s_nLive; }

CAnalysisJob::~CAnalysisJob() { --s_nLive; }

int CAnalysisJob::LiveCount() { return s_nLive.load(); }

namespace {

// Each element a reference set names (its bridge set, its ensembles, its stored results) replaced
// by map(element): the worker's copies going out, the case's originals coming back.
template <class Map>
void RemapElements(CReferenceSet& set, const Map& map)
{
    set.m_pBridgeSet = map(set.m_pBridgeSet);
    set.m_pRefLME = map(set.m_pRefLME);
    set.m_pPropLME = map(set.m_pPropLME);
    for (auto* list : {&set.m_vOverstressCritEnv, &set.m_vLiveLoadCritEnv, &set.m_vRefCritEnv, &set.m_vPropCritEnv})
        for (auto& results : *list) results = map(results);
}

template <class Block>
LPARAM AsParam(Block* block)
{
    return reinterpret_cast<LPARAM>(block);
}

} // namespace

// ---- Moving load of an ensemble ---------------------------------------------------------------

void CMultiMLJob::Run()
{
    CMultiMovingLoadAnalysis analysis(pBridge, pLME);
    analysis.SetPointsPerSpan(m_nPointsPerSpan);
    // No window of an ensemble draws every position (its "each" are the models' envelopes): a million
    // positions' lines would be gigabytes kept for nothing.
    analysis.SetKeepBeamResults(false);
    int steps = nSteps;
    double stepSize = StepSize;
    m_pResults = analysis.Run(bByStep, steps, stepSize);
    m_vLMResults = analysis.GetLoadModelResults();
    m_nAnalyses = analysis.GetNoAnalyses();
    m_bOk = true;
}

bool CMultiMLJob::PostFinished()
{
    return PostMessageW(m_hMainWnd, UWM_TF_MULTIML, 0, AsParam(static_cast<MultiMLThreadData*>(this))) != FALSE;
}

// ---- Bridge range ---------------------------------------------------------------------------------

void CBridgeRangeJob::Run()
{
    CMultiBridgeAnalysis analysis(pBridgeSet, pLoadModel);
    analysis.SetPointsPerSpan(m_nPointsPerSpan);
    std::vector<std::shared_ptr<CEnvelopeResults>> envelopes = analysis.Run(bByStep, nSteps, StepSize);
    m_pResults = std::make_shared<CCriticalValueEnsemble>(std::move(envelopes), pBridgeSet);
    m_bOk = true;
}

bool CBridgeRangeJob::PostFinished()
{
    return PostMessageW(m_hMainWnd, UWM_TF_BRIDGERANGE, 0, AsParam(static_cast<BridgeRangeThreadData*>(this))) != FALSE;
}

// ---- Reference values and critical ratios ------------------------------------------------------

void CRefCollJob::Run()
{
    m_pWork->SetPointsPerSpan(m_nPointsPerSpan);
    m_bOk = m_bRatios ? m_pWork->CalculateRatios(m_Multiplier) : m_pWork->Calculate();
}

bool CRefCollJob::PostFinished()
{
    return PostMessageW(m_hMainWnd, m_bRatios ? UWM_TF_CRITRATIOS : UWM_TF_REFVALUES, m_bOk ? 1 : 0,
                        AsParam(static_cast<RefCollThreadData*>(this))) != FALSE;
}

// The worker must not read elements that the engineer may edit meanwhile, nor change the case's
// own: the collection, its bridge sets (with their bridges), its ensembles (with their load
// models), the proposed ensemble and the reference sets (which a ratio run changes) are copied.
// The envelopes of the stored results, the bulk of a computed case, are not: a ratio run only
// reads the reference, and the case takes a run's results as new objects.
void CRefCollJob::CopyInputs()
{
    m_pLaunched = std::make_shared<CReferenceCollection>(*pRefCollection);
    m_pWork = CopyCollection(*pRefCollection, m_Copies);
}

std::shared_ptr<CReferenceCollection> CRefCollJob::CopyCollection(const CReferenceCollection& original,
                                                                  CElementCopies& copies)
{
    auto copy = std::make_shared<CReferenceCollection>(original);
    for (auto& bs : copy->m_vBS) bs = copies.Of(bs);
    for (auto& lme : copy->m_vLME) lme = copies.Of(lme);
    copy->m_pPropLME = copies.Of(copy->m_pPropLME);
    for (auto& set : copy->m_vRefSet)
    {
        if (!set) continue;
        set = std::make_shared<CReferenceSet>(*set);
        // A ratio run reads the stored reference results and their bridges; saving the case
        // rebuilds the bridges it holds.
        RemapElements(*set, [&copies](const auto& element) { return copies.Of(element); });
    }
    return copy;
}

void CRefCollJob::StoreResults() const
{
    CReferenceCollection& target = *pRefCollection;
    for (const auto& set : m_pWork->m_vRefSet)
    {
        if (!set) continue;
        RemapElements(*set, [this](const auto& element) { return m_Copies.OriginalOf(element); });
        for (const auto& values :
             {set->m_pRefCritValues, set->m_pPropCritValues, set->m_pLiveLoadCritValues, set->m_pOverstressCritValues})
            if (values) values->m_pBridgeSet = m_Copies.OriginalOf(values->m_pBridgeSet);
    }
    for (const auto& ratios : m_pWork->m_vCritRatios)
        if (ratios) ratios->m_pBridgeSet = m_Copies.OriginalOf(ratios->m_pBridgeSet);
    // Whatever can fail (an allocation) comes before the case's collection changes: it takes the results
    // whole or not at all.
    auto refSets = m_pWork->m_vRefSet;
    auto critRatios = m_pWork->m_vCritRatios;
    auto proposed = m_Copies.OriginalOf(m_pWork->m_pPropLME);
    target.m_vRefSet = std::move(refSets);
    target.m_nRefSets = m_pWork->m_nRefSets;
    target.m_bIsCalculated = m_pWork->m_bIsCalculated;
    target.m_vCritRatios = std::move(critRatios);
    target.m_bRatiosCalculated = m_pWork->m_bRatiosCalculated;
    target.m_nStepPoints = m_pWork->m_nStepPoints;
    target.m_StepSize = m_pWork->m_StepSize;
    target.m_pPropLME = std::move(proposed);
    target.m_bUseSingleLM = m_pWork->m_bUseSingleLM;
    target.m_Multiplier = m_pWork->m_Multiplier;
}
