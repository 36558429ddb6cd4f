// A load model ensemble (or one load model) over every bridge of a bridge set.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CBridgeSet;
class CEnvelopeResults;
class CRunPool;
class CRunSizing;
class CLoadModel;
class CLoadModelEnsemble;

class CMultiBridgeAnalysis
{
public:
    // Wraps the load model in a new ensemble that holds only it.
    CMultiBridgeAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet, std::shared_ptr<CLoadModel> pLoadModel);
    CMultiBridgeAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet, std::shared_ptr<CLoadModelEnsemble> pLME);
    CMultiBridgeAnalysis(const CMultiBridgeAnalysis&) = delete;
    CMultiBridgeAnalysis& operator=(const CMultiBridgeAnalysis&) = delete;
    virtual ~CMultiBridgeAnalysis();

    // One combined result per generated bridge, in bridge order (a set that generated no
    // bridges gives none). nSteps and stepSize go by reference to every moving-load run, so
    // afterwards they hold what the last run wrote back.
    //
    // The bridges are independent, so they are computed on several threads (ThreadCount, see
    // CRunPool); every moving-load run has its own copy of its load model, so the threads only
    // read the ensemble and the set. The results are taken in bridge order, and each bridge's
    // status lines are posted in bridge order after the bridges are done: every result, count
    // and line equals the serial run's. A failing bridge throws what the serial run would have
    // thrown first. A bridge and model that would take too many positions, or results that cannot fit
    // in the memory available, are refused before any bridge runs (see CRunSizing).
    std::vector<std::shared_ptr<CEnvelopeResults>> Run(bool bByStep, int& nSteps, double& stepSize);

    // Adds every bridge of the set under the ensemble to the sizing of a run, keptResults results
    // of each kept to the run's end.
    void AddToSizing(CRunSizing& sizing, int keptResults) const;

    // Run in two halves, so that the bridges of several analyses share one pool: AddTo adds a
    // piece per bridge (each starting from nSteps and stepSize, as every run of the serial chain
    // does); once the pool has run, TakeResults gives what Run returns and writes back the
    // stepping of the last bridge.
    void AddTo(CRunPool& pool, bool bByStep, int nSteps, double stepSize);
    std::vector<std::shared_ptr<CEnvelopeResults>> TakeResults(int& nSteps, double& stepSize);

    // Threads a run uses: 0 (the default) as many as the machine has cores, 1 the serial run.
    static void SetThreadCount(unsigned nThreads);
    static unsigned GetThreadCount();

    int GetNoAnalyses() const { return m_nAnalyses; }
    int GetNoBridges() const { return m_nBridge; }

    // Points per span for the run (otherwise the setting NPOINTS_ALONG_BEAM, read once by Run).
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }

    // What a bridge's run costs, for ordering the pieces: positions times spans times models.
    static double EstimateCost(double bridgeLength, int nSpans, int nLoadModels, bool bByStep, int nSteps,
                               double stepSize);

private:
    struct SBridgeRun
    {
        std::shared_ptr<CEnvelopeResults> result;
        int nAnalyses = 0;
        int nSteps = 0;
        double stepSize = 0.0;
    };

    std::shared_ptr<CBridgeSet> m_pBridgeSet;
    std::shared_ptr<CLoadModel> m_pLoadModel; // empty when built from an ensemble
    std::shared_ptr<CLoadModelEnsemble> m_pLME;
    std::int32_t m_nBridge = 0; // the set's m_nBridge at construction
    std::int32_t m_nAnalyses = 0;

    int m_nPoints = 0; // 0: read the setting at Run

    std::vector<SBridgeRun> m_vRuns;                            // one per bridge, between AddTo and TakeResults
    std::vector<std::shared_ptr<CLoadModelEnsemble>> m_vOwnLME; // one per worker of the pool
};
