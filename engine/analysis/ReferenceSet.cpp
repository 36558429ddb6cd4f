// One bridge set under one ensemble of reference load models: the reference envelopes of every bridge of the
// set (live load, optionally combined with the overstress loading), their critical values, and the critical
// ratios of a proposed ensemble against them.
#include "engine/analysis/ReferenceSet.h"

#include "engine/analysis/BeamAnalysis.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/OverstressAnalysis.h"
#include "engine/analysis/RunPool.h"
#include "engine/analysis/RunSizing.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/Errors.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/export.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <algorithm>
#include <cmath>

BOOST_CLASS_EXPORT_IMPLEMENT(CReferenceSet)

namespace {

// True when a proposed result computed on bridge a stands against a stored result computed on
// bridge b: the same object, or (after an archive pass, which gives the stored results bridges of
// their own) a beam of the same spans and supports.
bool SameBridge(const std::shared_ptr<CBridge>& ba, const std::shared_ptr<CEnvelopeResults>& b)
{
    if (!b) return false;
    const std::shared_ptr<CBridge> bb = b->GetBridge();
    if (ba == bb) return true;
    if (!ba || !bb) return false;
    const std::shared_ptr<CBeam> beamA = ba->GetBeam();
    const std::shared_ptr<CBeam> beamB = bb->GetBeam();
    if (!beamA || !beamB) return false;
    if (beamA->m_nRestraints != beamB->m_nRestraints) return false;
    if (beamA->m_vL.size() != beamB->m_vL.size()) return false;
    for (std::size_t i = 0; i < beamA->m_vL.size(); ++i)
    {
        const double x = beamA->m_vL[i];
        const double y = beamB->m_vL[i];
        if (std::fabs(x - y) > 1e-9 * std::max(1.0, std::max(std::fabs(x), std::fabs(y)))) return false;
    }
    return true;
}

} // namespace

CReferenceSet::CReferenceSet()
    : m_pOverstressCritValues(std::make_shared<CCriticalValueEnsemble>()),
      m_pLiveLoadCritValues(std::make_shared<CCriticalValueEnsemble>()),
      m_pRefCritValues(std::make_shared<CCriticalValueEnsemble>()),
      m_pPropCritValues(std::make_shared<CCriticalValueEnsemble>())
{}

CReferenceSet::CReferenceSet(bool bUseOverstress, std::shared_ptr<CBridgeSet> bridgeSet,
                             std::shared_ptr<CLoadModelEnsemble> refLME, double overstressFactor)
    : CReferenceSet()
{
    m_bUseOverstress = bUseOverstress;
    m_pBridgeSet = std::move(bridgeSet);
    m_pRefLME = std::move(refLME);
    m_OverstressFactor = overstressFactor;
    m_nBridges = m_pBridgeSet ? m_pBridgeSet->m_nBridge : 0;
}

CReferenceSet::~CReferenceSet() = default;

CReferenceSet::EnvList CReferenceSet::CombineOverstress(const EnvList& live, const EnvList& overstress, double factor)
{
    EnvList reference;
    reference.reserve(live.size());
    for (std::size_t i = 0; i < live.size(); ++i)
    {
        const std::shared_ptr<CEnvelopeResults>& pLive = live[i];
        const std::shared_ptr<CEnvelopeResults>& pOver = qor::At(overstress, i);
        if (!pLive || !pOver) qor::ThrowSubscriptError();
        const CEnvelopeResults L = *pLive * factor;
        const CEnvelopeResults O = *pOver * (factor - 1.0);
        reference.push_back(std::make_shared<CEnvelopeResults>(O + L));
    }
    return reference;
}

struct CReferenceSet::SPendingRun
{
    std::unique_ptr<CMultiBridgeAnalysis> analysis; // the live load, or the proposed load
    std::unique_ptr<COverstressAnalysis> overstress;
    std::shared_ptr<CLoadModelEnsemble> proposed;
};

void CReferenceSet::Calculate(bool byStep, int& nSteps, double& stepSize)
{
    CRunPool pool(CMultiBridgeAnalysis::GetThreadCount());
    const std::shared_ptr<SPendingRun> pending = AddRuns(pool, byStep, nSteps, stepSize);
    CRunSizing sizing(byStep, nSteps, stepSize, m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting());
    AddToSizing(*pending, sizing);
    sizing.Check("The reference set", pool.GetThreads());
    pool.Run();
    TakeRuns(*pending, nSteps, stepSize);
}

std::shared_ptr<CReferenceSet::SPendingRun> CReferenceSet::AddRuns(CRunPool& pool, bool byStep, int nSteps,
                                                                   double stepSize)
{
    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    auto pending = std::make_shared<SPendingRun>();
    pending->analysis = std::make_unique<CMultiBridgeAnalysis>(m_pBridgeSet, m_pRefLME);
    pending->analysis->SetPointsPerSpan(nPoints);
    pending->analysis->AddTo(pool, byStep, nSteps, stepSize);
    if (m_bUseOverstress)
    {
        pending->overstress = std::make_unique<COverstressAnalysis>(m_pBridgeSet);
        pending->overstress->SetPointsPerSpan(nPoints);
        pending->overstress->AddTo(pool);
    }
    return pending;
}

void CReferenceSet::AddToSizing(const SPendingRun& pending, CRunSizing& sizing)
{
    // With the overstress method a bridge keeps its live result and the reference made from it (the
    // overstress result is one position).
    if (pending.analysis) pending.analysis->AddToSizing(sizing, pending.overstress ? 2 : 1);
}

void CReferenceSet::TakeRuns(SPendingRun& pending, int& nSteps, double& stepSize)
{
    // Everything is built aside and taken only when the whole run has succeeded.
    EnvList vLive = pending.analysis->TakeResults(nSteps, stepSize);

    EnvList vOverstress = m_vOverstressCritEnv;
    EnvList vRef;
    if (pending.overstress)
    {
        vOverstress = pending.overstress->TakeResults();
        vRef = CombineOverstress(vLive, vOverstress, m_OverstressFactor);
    }
    else
    {
        vRef = vLive; // the same result objects
    }

    auto pRefValues = std::make_shared<CCriticalValueEnsemble>();
    pRefValues->Calculate(vRef, m_pBridgeSet);

    m_pOverstressCritValues = std::make_shared<CCriticalValueEnsemble>();
    m_pLiveLoadCritValues = std::make_shared<CCriticalValueEnsemble>();
    m_pPropCritValues = std::make_shared<CCriticalValueEnsemble>();
    m_pRefCritValues = std::move(pRefValues);
    m_vLiveLoadCritEnv = std::move(vLive);
    m_vOverstressCritEnv = std::move(vOverstress);
    m_vRefCritEnv = std::move(vRef);
    m_bIsCalculated = true;
}

std::shared_ptr<CCriticalRatioEnsemble> CReferenceSet::CalculateRatios(bool useSingleLM, bool byStep, int& nSteps,
                                                                       double& stepSize,
                                                                       std::shared_ptr<CLoadModelEnsemble> proposed,
                                                                       double multiplier)
{
    CRunPool pool(CMultiBridgeAnalysis::GetThreadCount());
    const std::shared_ptr<SPendingRun> pending = AddRatioRuns(pool, byStep, nSteps, stepSize, std::move(proposed));
    if (!pending) return nullptr;
    CRunSizing sizing(byStep, nSteps, stepSize, m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting());
    AddToSizing(*pending, sizing);
    sizing.Check("The critical-ratio run", pool.GetThreads());
    pool.Run();
    return TakeRatioRuns(*pending, useSingleLM, nSteps, stepSize, multiplier);
}

std::shared_ptr<CReferenceSet::SPendingRun> CReferenceSet::AddRatioRuns(CRunPool& pool, bool byStep, int nSteps,
                                                                        double stepSize,
                                                                        std::shared_ptr<CLoadModelEnsemble> proposed)
{
    // A set whose bridges no longer match the stored reference (another count, or other bridges:
    // the bridge set was changed after the reference was calculated) cannot be rated; the long
    // proposed run is not even started.
    const std::size_t nBridges = m_pBridgeSet ? static_cast<std::size_t>(m_pBridgeSet->GetBridgeCount()) : 0u;
    if (nBridges != m_vRefCritEnv.size()) return nullptr;
    for (std::size_t i = 0; i < nBridges; ++i)
        if (!SameBridge(m_pBridgeSet->GetBridge(static_cast<unsigned>(i)), m_vRefCritEnv[i])) return nullptr;

    auto pending = std::make_shared<SPendingRun>();
    pending->proposed = proposed;
    pending->analysis = std::make_unique<CMultiBridgeAnalysis>(m_pBridgeSet, std::move(proposed));
    pending->analysis->SetPointsPerSpan(m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting());
    pending->analysis->AddTo(pool, byStep, nSteps, stepSize);
    return pending;
}

std::shared_ptr<CCriticalRatioEnsemble> CReferenceSet::TakeRatioRuns(SPendingRun& pending, bool useSingleLM,
                                                                     int& nSteps, double& stepSize, double multiplier)
{
    EnvList vProp = pending.analysis->TakeResults(nSteps, stepSize);
    if (vProp.size() != m_vRefCritEnv.size()) return nullptr;

    auto pPropValues = std::make_shared<CCriticalValueEnsemble>();
    pPropValues->Calculate(vProp, m_pBridgeSet);

    std::vector<CCriticalRatioResults> ratios;
    ratios.reserve(m_vRefCritEnv.size());
    for (std::size_t i = 0; i < m_vRefCritEnv.size(); ++i)
        ratios.push_back(vProp[i]->GetCriticalRatios(m_vRefCritEnv[i], multiplier));

    m_bUseLM = useSingleLM;
    m_pPropLME = std::move(pending.proposed);
    m_vPropCritEnv = std::move(vProp);
    m_pPropCritValues = std::move(pPropValues);
    m_bIsRatioCalculated = true;
    return std::make_shared<CCriticalRatioEnsemble>(std::move(ratios), m_pBridgeSet);
}

void CReferenceSet::RecalculateCritValues()
{
    m_pOverstressCritValues = std::make_shared<CCriticalValueEnsemble>(m_vOverstressCritEnv, m_pBridgeSet);
    m_pLiveLoadCritValues = std::make_shared<CCriticalValueEnsemble>(m_vLiveLoadCritEnv, m_pBridgeSet);
    m_pRefCritValues = std::make_shared<CCriticalValueEnsemble>(m_vRefCritEnv, m_pBridgeSet);
    m_pPropCritValues = std::make_shared<CCriticalValueEnsemble>(m_vPropCritEnv, m_pBridgeSet);
}

template <class Archive>
void CReferenceSet::serialize(Archive& ar, const unsigned int version)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("m_pBridgeSet", m_pBridgeSet);
    if (Archive::is_loading::value && version == 0)
        ar& make_nvp("m_pLoadModelEnsemble", m_pRefLME); // files written before version 1
    else
        ar& make_nvp("m_pRefLME", m_pRefLME);
    ar& make_nvp("m_bIsCalculated", m_bIsCalculated);
    ar& make_nvp("m_vOverstressCritEnv", m_vOverstressCritEnv);
    ar& make_nvp("m_vLiveLoadCritEnv", m_vLiveLoadCritEnv);
    ar& make_nvp("m_vRefCritEnv", m_vRefCritEnv);
    ar& make_nvp("m_vPropCritEnv", m_vPropCritEnv);
    ar& make_nvp("m_vRatios", m_vRatios);
    ar& make_nvp("m_bUseOverstress", m_bUseOverstress);
    ar& make_nvp("m_OverstressFactor", m_OverstressFactor);
    if (version >= 1)
    {
        ar& make_nvp("m_pPropLME", m_pPropLME);
        ar& make_nvp("m_bUseLM", m_bUseLM);
        ar& make_nvp("m_bIsRatioCalculated", m_bIsRatioCalculated);
    }
    if (Archive::is_loading::value) m_nBridges = m_pBridgeSet ? m_pBridgeSet->m_nBridge : 0;
    RecalculateCritValues();
}

QOR_INSTANTIATE_SERIALIZE(CReferenceSet)
