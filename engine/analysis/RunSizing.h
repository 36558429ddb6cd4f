// What a run of moving loads will take, known before it starts: its load positions against the most a run may
// take, and the memory of what it keeps against what the process can still have. A run that cannot fit is
// refused before any work, with a text that says what does not fit and what would.
//
//     CRunSizing sizing(bByStep, nSteps, stepSize, nPoints);
//     for (each bridge) sizing.AddBridge(bridge, models, 1, false);
//     sizing.Check("The bridge range", nThreads);              // throws std::invalid_argument
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CBridge;
class CLoadModel;

class CRunSizing
{
public:
    CRunSizing(bool bByStep, int nSteps, double stepSize, int nPoints);

    // One bridge under the models of an ensemble: keptResults envelope results of it stay until the run
    // ends (its combined result, a reference made from it), and while the bridge runs each model's result
    // stands beside the combined one. With bKeepPositions every position's lines are kept as well, and so
    // are the models' own results. A span rule that cannot adjust a model throws as the run would.
    void AddBridge(const std::shared_ptr<CBridge>& bridge, const std::vector<std::shared_ptr<CLoadModel>>& models,
                   int keptResults, bool bKeepPositions);

    // Throws std::invalid_argument when the run cannot fit, run with nThreads threads; run names it in the
    // text ("The reference collection"). First its positions: the text begins with kStepTooSmallError when
    // a bridge with a model would take more than kMaxPositions positions, and names the limit and, by step,
    // the smallest step that fits every bridge (with the bridge and the model that need it), by count the
    // most steps that fit. Then its memory: what it keeps, what nThreads bridges hold while they run, and
    // what showing the results takes, against the memory available.
    void Check(const char* run, unsigned nThreads) const;

    // What a new allocation of the process can still take, in bytes: the free memory the system reports,
    // and no more than the address space left under the process's limit once threadsToStart more threads
    // have their stacks and allocation arenas; 0 when unknown. SetMemoryForRuns (tests) gives a fixed
    // amount instead; 0 goes back to the system's.
    static std::uint64_t MemoryAvailable(unsigned threadsToStart = 0);
    static void SetMemoryForRuns(std::uint64_t bytes);

    // The step-too-small text of one bridge and one model.
    static std::string TooManyPositions(bool bByStep, double bridgeLength, double modelLength,
                                        const std::string& modelName);

private:
    void CheckPositions() const;
    // The memory the run needs (about).
    double GetNeededBytes(unsigned nThreads) const;
    void CheckMemory(const char* run, unsigned nThreads) const;

    // A model as a run on a bridge takes it: its length after the span rule, whether it moves, and the
    // edges of its loads (each stops the run at every event).
    struct SMeasure
    {
        double length = 0.0;
        bool bMoving = true;
        double edges = 0.0;
    };
    SMeasure Measure(const CLoadModel& model, const CBridge& bridge);

    struct SPass
    {
        double bridgeLength = 0.0;
        double modelLength = 0.0;
        std::string modelName;
    };

    // The step-too-small text for the pass that decides it (by step the one with the longest way to go, by
    // count the one whose way is longest against its bridge), of a run of several bridges or models.
    static std::string TooManyPositionsText(bool bByStep, const SPass& pass, bool bBridges, bool bModels);

    bool m_bByStep;
    int m_nSteps;
    double m_StepSize;
    int m_nPoints;
    bool m_bSeveralModels = false; // the text then says which bridge and model decide
    bool m_bTooMany = false;
    SPass m_Longest;  // the greatest bridge plus model length
    SPass m_Steepest; // the greatest model length against its bridge (by count)
    double m_KeptBytes = 0.0;
    double m_LargestBridgeBytes = 0.0; // the most one running bridge holds
    int m_nBridges = 0;
    std::map<const CLoadModel*, SMeasure> m_Measured; // the models without a span rule
};
