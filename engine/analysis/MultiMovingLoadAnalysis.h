// Every load model of an ensemble moved across one bridge; the per-model envelopes are
// combined into one result.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CBeamSolver;
class CBridge;
class CEnvelopeResults;
class CLoadModelEnsemble;

class CMultiMovingLoadAnalysis
{
public:
    CMultiMovingLoadAnalysis(std::shared_ptr<CBridge> pBridge, std::shared_ptr<CLoadModelEnsemble> pLME);

    // Runs every load model in ensemble order with the same stepping variables (see
    // CMovingLoadAnalysis::Run) and posts one UWM_PBAR_UPDATE per model. Returns the combined
    // result; an ensemble without load models gives a result without envelopes. A model that would
    // take too many positions, or results that cannot fit in the memory available, are refused
    // before any model runs (see CRunSizing).
    std::shared_ptr<CEnvelopeResults> Run(bool bByStep, int& nSteps, double& stepSize);

    // Copy of the result of each load model, in ensemble order.
    std::vector<std::shared_ptr<CEnvelopeResults>> GetLoadModelResults() const { return m_vLMResults; }
    std::shared_ptr<CEnvelopeResults> GetResults() const { return m_pEnvResults; }
    int GetNoAnalyses() const { return m_nAnalyses; }
    int GetNoLoadModels() const { return m_nLoadModels; }

    // Points per span for the run (otherwise the setting NPOINTS_ALONG_BEAM, read once by Run).
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }
    // With false, the per-model results keep no per-position beam results (see
    // CMovingLoadAnalysis::SetKeepBeamResults); envelopes and counters are unchanged.
    void SetKeepBeamResults(bool bKeep) { m_bKeepBeamResults = bKeep; }
    // With false the progress counted is left for the caller to flush (a run of many bridges).
    void SetFlushProgress(bool bFlush) { m_bFlushProgress = bFlush; }
    // With false the run does not size itself before it starts (its positions against the limit, its
    // memory against what is available): a run of many bridges sizes them all at once.
    void SetSizeFirst(bool bSize) { m_bSizeFirst = bSize; }

private:
    std::shared_ptr<CBridge> m_pBridge;
    std::shared_ptr<CLoadModelEnsemble> m_pLME;
    std::shared_ptr<CEnvelopeResults> m_pEnvResults;             // combined
    std::vector<std::shared_ptr<CEnvelopeResults>> m_vLMResults; // one per load model
    int m_nLoadModels = 0;
    std::int32_t m_nAnalyses = 0;

    int m_nPoints = 0; // 0: read the setting at Run
    bool m_bKeepBeamResults = true;
    bool m_bFlushProgress = true;
    bool m_bSizeFirst = true;
};
