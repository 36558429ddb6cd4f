// One load model moved across one bridge in steps; every position goes into a
// CEnvelopeResults.
#pragma once

#include "engine/EngineErrors.h"

#include <cstdint>
#include <memory>
#include <vector>

class CBeam;
class CBeamSolver;
class CBridge;
class CEnvelopeResults;
class CLoadModel;

// A run throws kStepSizeError or kStepCountError before it starts when the stepping cannot move
// the load across the bridge, and a text that begins with kStepTooSmallError (and names what fits)
// when the step would need more than kMaxPositions positions.
inline constexpr double kMaxPositions = 1.0e6;
// The distance to the next event when no load has one ahead of it.
inline constexpr double kNoEventDistance = 1.0e9;
// A load closer than this to an event stands on it: the full step is taken.
inline constexpr double kOnEventTolerance = 1.0e-6;

class CMovingLoadAnalysis
{
public:
    // The run changes only a copy of the load model (span rule, settling), so the same run gives
    // the same numbers whatever ran before; the results name the model given.
    CMovingLoadAnalysis(std::shared_ptr<CBridge> pBridge, std::shared_ptr<CLoadModel> pLoadModel);
    CMovingLoadAnalysis(const CMovingLoadAnalysis&) = delete;
    CMovingLoadAnalysis& operator=(const CMovingLoadAnalysis&) = delete;
    virtual ~CMovingLoadAnalysis();

    // By step (bByStep true) the step is stepSize and nSteps is written back; by count the
    // step is the bridge length over nSteps and stepSize is written back. A step size that is
    // not above zero or a count below 1 throws kStepSizeError / kStepCountError, one that would
    // need more than kMaxPositions positions std::invalid_argument with CRunSizing's text (the
    // smallest step or the most steps that fit), and a step longer than the
    // bridge (of a moving model) std::invalid_argument with a text that names the bridge's length.
    std::shared_ptr<CEnvelopeResults> Run(bool bByStep, int& nSteps, double& stepSize);

    // The memory a kept position's lines take (about), for a beam of nMembers spans with
    // nPoints points per span. A run that keeps its positions and would need more than the
    // memory available throws std::invalid_argument before it starts.
    static double KeptBytesPerPosition(int nMembers, int nPoints);
    // The memory a kept position needs in all (about): its lines, its place in the nReactions
    // reaction envelopes, and what showing its lines takes. The run's check counts this.
    static double NeededBytesPerPosition(int nMembers, int nPoints, int nReactions);
    // The memory runs may count on (0, the default: what the system reports available); see
    // CRunSizing::SetMemoryForRuns.
    static void SetMemoryForRuns(std::uint64_t bytes);

    // Distance from any load of the model at position p to the next event position at or
    // beyond it (kNoEventDistance when there is none for any load).
    double GetDistanceToNextEvent(double p) const;

    // Points per span for the run (otherwise the setting NPOINTS_ALONG_BEAM, read by Run), and
    // a solver of this bridge's beam to share (otherwise Run makes one).
    void SetPointsPerSpan(int nPoints) { m_nPoints = nPoints; }
    void SetSolver(std::shared_ptr<CBeamSolver> pSolver);
    // With false, the run solves every position into one re-used beam result and the returned
    // result keeps no beam results (its envelopes and counters are the same). For runs whose
    // per-position results nobody reads.
    void SetKeepBeamResults(bool bKeep) { m_bKeepBeamResults = bKeep; }

    int GetNoAnalyses() const { return m_nAnalyses; }
    int GetNoSteps() const { return m_nSteps; }
    double GetStep() const { return m_Step; }
    double GetLoadModelLength() const { return m_LMLength; }
    double GetBridgeLength() const { return m_BridgeLength; }

private:
    std::shared_ptr<CBridge> m_pBridge;
    std::shared_ptr<CBeam> m_pBeam;
    std::shared_ptr<CLoadModel> m_pGivenModel; // named by the results
    std::shared_ptr<CLoadModel> m_pLoadModel;  // the run's own copy of it
    std::vector<double> m_vEvents;             // CBeam::GetEventPositions, taken at construction
    bool m_bByStep = false;
    double m_Step = 0.0;
    double m_BridgeLength = 0.0; // the beam's m_Length, taken at construction
    double m_LMLength = 0.0;
    std::int32_t m_nAnalyses = 0; // one per analysed position, never reset
    std::int32_t m_nSteps = 0;

    int m_nPoints = 0; // 0: read the setting at Run
    std::shared_ptr<CBeamSolver> m_pSolver;
    bool m_bKeepBeamResults = true;
};
