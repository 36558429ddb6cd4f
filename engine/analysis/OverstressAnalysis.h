// The internal uniform load of the overstress method over every bridge of a bridge set.
// The overstress factor itself is applied by the reference set that combines the results.
#pragma once

#include <memory>
#include <vector>

class CBridgeSet;
class CEnvelopeResults;
class CRunPool;

class COverstressAnalysis
{
public:
    explicit COverstressAnalysis(std::shared_ptr<CBridgeSet> pBridgeSet);

    // One result per generated bridge, in bridge order; posts "Overstress: L = %.3f, w = %.3f"
    // once per bridge.
    std::vector<std::shared_ptr<CEnvelopeResults>> Run();

    // Run in two halves, so that its bridges share a pool with other runs (see CRunPool): a
    // piece per bridge, and the results in bridge order once the pool has run.
    void AddTo(CRunPool& pool);
    std::vector<std::shared_ptr<CEnvelopeResults>> TakeResults();

    // The uniform load intensity for a governing span L (m).
    static double GetIntensity(double L);

    // Points per span for the run (otherwise the setting NPOINTS_ALONG_BEAM, read once by Run).
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }

private:
    std::shared_ptr<CBridgeSet> m_pBridgeSet;
    int m_nPoints = 0;
    std::vector<std::shared_ptr<CEnvelopeResults>> m_vResults; // between AddTo and TakeResults
};
