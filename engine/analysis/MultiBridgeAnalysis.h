// A load model ensemble (or one load model) over every bridge of a bridge set.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class CBridgeSet;
class CEnvelopeResults;
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
    std::vector<std::shared_ptr<CEnvelopeResults>> Run(bool bByStep, int& nSteps, double& stepSize);

    int GetNoAnalyses() const { return m_nAnalyses; }
    int GetNoBridges() const { return m_nBridge; }

    // Points per span for the run (otherwise the setting NPOINTS_ALONG_BEAM, read once by Run).
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }

private:
    std::shared_ptr<CBridgeSet> m_pBridgeSet;
    std::shared_ptr<CLoadModel> m_pLoadModel; // empty when built from an ensemble
    std::shared_ptr<CLoadModelEnsemble> m_pLME;
    std::int32_t m_nBridge = 0;               // the set's m_nBridge at construction
    std::int32_t m_nAnalyses = 0;

    int m_nPoints = 0; // 0: read the setting at Run
};
