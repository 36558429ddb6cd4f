// The element with which a proposed vehicle is rated: reference load model ensembles and bridge sets, one
// reference set per pair of them, and the critical ratios of a proposed load model or ensemble against every
// reference set.
#include "engine/analysis/ReferenceCollection.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/BeamAnalysis.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/analysis/RunPool.h"
#include "engine/analysis/RunSizing.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/Errors.h"
#include "platform/core/StringSerialization.h"

#include "engine/ArchiveInstantiation.h"

#include <boost/serialization/base_object.hpp>
#include <boost/serialization/export.hpp>
#include <boost/serialization/nvp.hpp>
#include <boost/serialization/shared_ptr.hpp>
#include <boost/serialization/vector.hpp>

#include <algorithm>
#include <cmath>

BOOST_CLASS_EXPORT_IMPLEMENT(CReferenceCollection)

namespace {

std::shared_ptr<CLoadModelEnsemble> NewProposedEnsemble()
{
    return std::make_shared<CLoadModelEnsemble>(0, CString(L"Proposed"));
}

// An ensemble that gives every analysis something to move.
bool HasLoadModels(const std::shared_ptr<CLoadModelEnsemble>& lme)
{
    if (!lme || lme->m_vLoadModel.empty()) return false;
    return std::all_of(lme->m_vLoadModel.begin(), lme->m_vLoadModel.end(),
                       [](const auto& lm) { return static_cast<bool>(lm); });
}

bool SameBridgeSet(const std::shared_ptr<CBridgeSet>& a, const std::shared_ptr<CBridgeSet>& b)
{
    if (!a || !b) return false;
    return a->m_StartL == b->m_StartL && a->m_EndL == b->m_EndL && a->m_nBridge == b->m_nBridge &&
           a->m_vBridges == b->m_vBridges && a->m_Config == b->m_Config;
}

bool SameLME(const std::shared_ptr<CLoadModelEnsemble>& a, const std::shared_ptr<CLoadModelEnsemble>& b)
{
    if (!a || !b) return false;
    return a->m_vLoadModel == b->m_vLoadModel;
}

} // namespace

CReferenceCollection::CReferenceCollection()
    : CElement(0, CString(L"Ref Collection"), ELEMENT_REFCOLLECTION), m_pPropLME(NewProposedEnsemble())
{}

CReferenceCollection::CReferenceCollection(int ID, const CString& description, bool byStep, int nSteps, double stepSize)
    : CReferenceCollection()
{
    m_ID = ID;
    m_Description = description;
    m_bByStep = byStep;
    m_nStepPoints = nSteps;
    m_StepSize = stepSize;
}

CReferenceCollection::~CReferenceCollection() = default;

bool CReferenceCollection::Calculate()
{
    if (m_vBS.empty() || m_vLME.empty()) return false;
    for (const auto& lme : m_vLME)
        if (!HasLoadModels(lme)) return false;
    for (const auto& bs : m_vBS)
        if (!bs || bs->GetBridgeCount() == 0) return false;
    if (!std::isfinite(m_OverstressFactor)) throw kNonFiniteFactorError;

    // The new sets are built aside; the stored ones stay whole until every set has run. The
    // bridges of every set go into one pool, so that no thread waits at the end of a set.
    std::vector<std::shared_ptr<CReferenceSet>> sets;
    std::vector<std::shared_ptr<CReferenceSet::SPendingRun>> pending;
    sets.reserve(m_vLME.size() * m_vBS.size());
    pending.reserve(sets.capacity());
    int nSteps = m_nStepPoints;
    double stepSize = m_StepSize;
    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting(); // one count for the run
    CRunPool pool(CMultiBridgeAnalysis::GetThreadCount());
    CRunSizing sizing(m_bByStep, nSteps, stepSize, nPoints);
    for (const auto& lme : m_vLME)
    {
        for (const auto& bs : m_vBS)
        {
            auto set = std::make_shared<CReferenceSet>(m_bUseOverstress, bs, lme, m_OverstressFactor);
            set->SetPointsPerSpan(nPoints);
            pending.push_back(set->AddRuns(pool, m_bByStep, nSteps, stepSize));
            CReferenceSet::AddToSizing(*pending.back(), sizing);
            sets.push_back(std::move(set));
        }
    }
    // Nothing has run yet: a collection that cannot fit is refused before any work.
    sizing.Check("The reference collection", pool.GetThreads());
    pool.Run();
    for (std::size_t i = 0; i < sets.size(); ++i) sets[i]->TakeRuns(*pending[i], nSteps, stepSize);

    m_vRefSet = std::move(sets);
    m_nRefSets = static_cast<int>(m_vRefSet.size());
    m_nStepPoints = nSteps;
    m_StepSize = stepSize;
    // Ratios of the former sets must never be shown against the new ones.
    m_vCritRatios.clear();
    m_bRatiosCalculated = false;
    m_bIsCalculated = true;
    return true;
}

bool CReferenceCollection::CalculateRatios(double multiplier)
{
    if (!HasLoadModels(m_pPropLME)) return false;
    if (!std::isfinite(multiplier)) throw kNonFiniteFactorError;

    // Each set keeps the proposed data of its ratio run; should a later set fail, every set
    // gets its former state back, so the sets and the stored ratios always belong together.
    std::vector<CReferenceSet> backup;
    backup.reserve(m_vRefSet.size());
    for (const auto& set : m_vRefSet) backup.push_back(set ? *set : CReferenceSet());
    const auto restore = [&]() {
        for (std::size_t i = 0; i < m_vRefSet.size(); ++i)
            if (m_vRefSet[i]) *m_vRefSet[i] = backup[i];
    };

    std::vector<std::shared_ptr<CCriticalRatioEnsemble>> ratios;
    ratios.reserve(m_vRefSet.size());
    int nSteps = m_nStepPoints;
    double stepSize = m_StepSize;
    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting(); // one count for the run
    try
    {
        // The proposed load over every set's bridges in one pool; a set that cannot be rated
        // ends the run before anything is computed.
        CRunPool pool(CMultiBridgeAnalysis::GetThreadCount());
        CRunSizing sizing(m_bByStep, nSteps, stepSize, nPoints);
        std::vector<std::shared_ptr<CReferenceSet::SPendingRun>> pending;
        for (int i = 0; i < m_nRefSets; ++i)
        {
            const std::shared_ptr<CReferenceSet>& set = qor::At(m_vRefSet, i);
            if (set) set->SetPointsPerSpan(nPoints);
            std::shared_ptr<CReferenceSet::SPendingRun> runs =
                set ? set->AddRatioRuns(pool, m_bByStep, nSteps, stepSize, m_pPropLME) : nullptr;
            if (!runs) return false;
            CReferenceSet::AddToSizing(*runs, sizing);
            pending.push_back(std::move(runs));
        }
        sizing.Check("The critical-ratio run", pool.GetThreads());
        pool.Run();
        for (int i = 0; i < m_nRefSets; ++i)
        {
            std::shared_ptr<CCriticalRatioEnsemble> r = m_vRefSet[static_cast<std::size_t>(i)]->TakeRatioRuns(
                *pending[static_cast<std::size_t>(i)], m_bUseSingleLM, nSteps, stepSize, multiplier);
            if (!r)
            {
                restore();
                return false;
            }
            ratios.push_back(std::move(r));
        }
    }
    catch (...)
    {
        restore();
        throw;
    }

    m_Multiplier = multiplier;
    m_vCritRatios = std::move(ratios);
    m_nStepPoints = nSteps;
    m_StepSize = stepSize;
    m_bRatiosCalculated = true;
    return true;
}

void CReferenceCollection::ClearResults()
{
    m_bIsCalculated = false;
    m_vCritRatios.clear();
    m_bRatiosCalculated = false;
    m_vRefSet.clear();
    m_nRefSets = 0;
}

bool CReferenceCollection::DiffersFrom(std::shared_ptr<CReferenceCollection> other) const
{
    if (!other) return true;
    if (m_bByStep != other->m_bByStep) return true;
    if (m_StepSize != other->m_StepSize) return true;
    if (m_nStepPoints != other->m_nStepPoints) return true;
    if (m_bIsCalculated != other->m_bIsCalculated) return true;
    if (m_vLME != other->m_vLME) return true;
    if (m_vBS != other->m_vBS) return true;
    if (m_bUseOverstress != other->m_bUseOverstress) return true;
    if (m_OverstressFactor != other->m_OverstressFactor) return true;
    return false;
}

void CReferenceCollection::SetProposedLoadModel(std::shared_ptr<CLoadModel> model)
{
    m_bUseSingleLM = true;
    auto lme = NewProposedEnsemble();
    if (model) lme->AddLoadModel(model);
    m_pPropLME = std::move(lme);
}

void CReferenceCollection::SetProposedLME(std::shared_ptr<CLoadModelEnsemble> ensemble)
{
    m_bUseSingleLM = false;
    m_pPropLME = std::move(ensemble);
}

CString CReferenceCollection::GetProposedName() const
{
    if (!m_pPropLME) return CString();
    if (m_bUseSingleLM)
    {
        if (m_pPropLME->m_vLoadModel.empty() || !m_pPropLME->m_vLoadModel.front()) return CString();
        return m_pPropLME->m_vLoadModel.front()->m_Description;
    }
    return m_pPropLME->m_Description;
}

std::shared_ptr<CReferenceSet> CReferenceCollection::GetRefSet(unsigned i) const
{
    if (static_cast<long long>(i) >= static_cast<long long>(m_nRefSets)) return nullptr;
    return qor::At(m_vRefSet, std::size_t{i});
}

bool CReferenceCollection::ContainsBridgeSet(std::shared_ptr<CBridgeSet> bs) const
{
    return std::any_of(m_vBS.begin(), m_vBS.end(), [&](const auto& b) { return SameBridgeSet(b, bs); });
}

void CReferenceCollection::RemoveBridgeSet(std::shared_ptr<CBridgeSet> bs)
{
    auto it = std::find_if(m_vBS.begin(), m_vBS.end(), [&](const auto& b) { return SameBridgeSet(b, bs); });
    if (it != m_vBS.end()) m_vBS.erase(it);
}

bool CReferenceCollection::ContainsLME(std::shared_ptr<CLoadModelEnsemble> lme) const
{
    return std::any_of(m_vLME.begin(), m_vLME.end(), [&](const auto& e) { return SameLME(e, lme); });
}

void CReferenceCollection::RemoveLME(std::shared_ptr<CLoadModelEnsemble> lme)
{
    auto it = std::find_if(m_vLME.begin(), m_vLME.end(), [&](const auto& e) { return SameLME(e, lme); });
    if (it != m_vLME.end()) m_vLME.erase(it);
}

template <class Archive>
void CReferenceCollection::serialize(Archive& ar, const unsigned int /*version*/)
{
    using boost::serialization::make_nvp;
    ar& make_nvp("CElement", boost::serialization::base_object<CElement>(*this));
    ar& make_nvp("m_bByStep", m_bByStep);
    ar& make_nvp("m_StepSize", m_StepSize);
    ar& make_nvp("m_nStepPoints", m_nStepPoints);
    ar& make_nvp("m_bIsCalculated", m_bIsCalculated);
    ar& make_nvp("m_vLME", m_vLME);
    ar& make_nvp("m_vBS", m_vBS);
    ar& make_nvp("m_vRefSet", m_vRefSet);
    ar& make_nvp("m_bUseOverstress", m_bUseOverstress);
    ar& make_nvp("m_OverstressFactor", m_OverstressFactor);
    if (Archive::is_loading::value) m_nRefSets = static_cast<int>(m_vRefSet.size());
}

QOR_INSTANTIATE_SERIALIZE(CReferenceCollection)
