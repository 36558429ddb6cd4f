#include "engine/analysis/MultiBridgeAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"

CMultiBridgeAnalysis::CMultiBridgeAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet,
                                           std::shared_ptr<CLoadModel> pLoadModel)
    : m_pBridgeSet(std::move(pBridgeSet)), m_pLoadModel(std::move(pLoadModel))
{
    m_pLME = std::make_shared<CLoadModelEnsemble>();
    if (m_pLoadModel) m_pLME->AddLoadModel(m_pLoadModel);
    m_nBridge = m_pBridgeSet ? m_pBridgeSet->m_nBridge : 0;
}

CMultiBridgeAnalysis::CMultiBridgeAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet,
                                           std::shared_ptr<CLoadModelEnsemble> pLME)
    : m_pBridgeSet(std::move(pBridgeSet)), m_pLME(std::move(pLME))
{
    m_nBridge = m_pBridgeSet ? m_pBridgeSet->m_nBridge : 0;
}

CMultiBridgeAnalysis::~CMultiBridgeAnalysis() = default;

std::vector<std::shared_ptr<CEnvelopeResults>> CMultiBridgeAnalysis::Run(bool bByStep, int& nSteps,
                                                                         double& stepSize)
{
    std::vector<std::shared_ptr<CEnvelopeResults>> results;
    m_nAnalyses = 0;
    if (!m_pBridgeSet) return results;

    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    // Over the bridges the set actually generated (a set of one bridge generates none).
    const int nBridges = m_pBridgeSet->GetBridgeCount();
    results.reserve(static_cast<std::size_t>(nBridges));
    for (int i = 0; i < nBridges; ++i)
    {
        CMultiMovingLoadAnalysis mmla(m_pBridgeSet->GetBridge(static_cast<unsigned>(i)), m_pLME);
        mmla.SetPointsPerSpan(nPoints);
        mmla.SetKeepBeamResults(false); // the per-model results end with this bridge
        std::shared_ptr<CEnvelopeResults> res = mmla.Run(bByStep, nSteps, stepSize);
        m_nAnalyses += mmla.GetNoAnalyses();
        results.push_back(res);
    }
    return results;
}
