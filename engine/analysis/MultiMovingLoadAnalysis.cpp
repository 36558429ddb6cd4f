// Every load model of an ensemble moved across one bridge; the per-model envelopes are combined into one
// result.
#include "engine/analysis/MultiMovingLoadAnalysis.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/RunSizing.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/runs/EngineMessages.h"

CMultiMovingLoadAnalysis::CMultiMovingLoadAnalysis(std::shared_ptr<CBridge> pBridge,
                                                   std::shared_ptr<CLoadModelEnsemble> pLME)
    : m_pBridge(std::move(pBridge)), m_pLME(std::move(pLME))
{
    m_nLoadModels = m_pLME ? m_pLME->GetLoadModelCount() : 0;
}

std::shared_ptr<CEnvelopeResults> CMultiMovingLoadAnalysis::Run(bool bByStep, int& nSteps, double& stepSize)
{
    m_vLMResults.clear();
    // The combined result belongs to the bridge from the start, so that an ensemble without
    // load models still gives a result that names its bridge and its supports (its critical
    // values are then default pairs, one per support).
    m_pEnvResults = std::make_shared<CEnvelopeResults>(m_pBridge);
    m_nAnalyses = 0;

    const int nLM = m_pLME ? m_pLME->GetLoadModelCount() : 0;
    if (nLM == 0) return m_pEnvResults;

    // One point count and one factorised beam for every load model of the run.
    const int nPoints = m_nPoints > 0 ? m_nPoints : CBeamAnalysis::PointsPerSpanSetting();
    const std::shared_ptr<CBeam> pBeam = m_pBridge ? m_pBridge->GetBeam() : std::shared_ptr<CBeam>();
    if (!pBeam) throw kSpanError;
    if (m_bSizeFirst)
    {
        CRunSizing sizing(bByStep, nSteps, stepSize, nPoints);
        sizing.AddBridge(m_pBridge, m_pLME->m_vLoadModel, 1, m_bKeepBeamResults);
        sizing.Check("The moving load of the ensemble", 1);
    }
    auto pSolver = std::make_shared<CBeamSolver>(*pBeam, nPoints);

    m_vLMResults.reserve(static_cast<std::size_t>(nLM));
    struct SFlush
    {
        bool on;
        ~SFlush()
        {
            if (on) qor::FlushProgress();
        }
    } flushAtEnd{m_bFlushProgress}; // the runs counted reach the window before the run's end does
    for (int i = 0; i < nLM; ++i)
    {
        CMovingLoadAnalysis mla(m_pBridge, m_pLME->GetLoadModel(i));
        mla.SetPointsPerSpan(nPoints);
        mla.SetSolver(pSolver);
        mla.SetKeepBeamResults(m_bKeepBeamResults);
        std::shared_ptr<CEnvelopeResults> res = mla.Run(bByStep, nSteps, stepSize);
        m_vLMResults.push_back(res);
        m_pEnvResults->Augment(res);
        m_nAnalyses += mla.GetNoAnalyses();
        qor::CountProgressStep();
    }
    return m_pEnvResults;
}
