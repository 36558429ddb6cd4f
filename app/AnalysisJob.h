// One analysis run on a worker thread: a reference-counted block that holds copies of the
// run's inputs and receives its results. The worker writes only into its block; the main
// frame hands the block back to the document's completion on the user-interface thread,
// which stores the results into the case, unless the case was closed meanwhile.
//
//   auto job = std::make_shared<CMultiMLJob>();   // inputs copied in by the launcher
//   m_Jobs.Start(job);                            // the worker runs job->Run(), then posts
//   ... completion: std::shared_ptr<CAnalysisJob> done = m_Jobs.Adopt(job);
//                   if (done) store the results;   // null: the run was cancelled
#pragma once

#include "app/ThreadData.h"
#include "engine/case/ElementCopies.h"
#include "engine/runs/RunControl.h"
#include "platform/core/CString.h"
#include "platform/core/Types.h"

#include <atomic>
#include <memory>
#include <vector>

class CCriticalValueEnsemble;
class CEnvelopeResults;

class CAnalysisJob
{
public:
    enum class State
    {
        Running,   // the worker owns the results
        Posted,    // the finished message is on its way to the completion
        Cancelled, // the case closed: nothing is stored, the block is only released
    };

    CAnalysisJob();
    CAnalysisJob(const CAnalysisJob&) = delete;
    CAnalysisJob& operator=(const CAnalysisJob&) = delete;
    virtual ~CAnalysisJob();

    // Worker thread: the engine's work on the block's own copies, into the block only. Engine
    // errors propagate.
    virtual void Run() = 0;
    // Worker thread: posts the finished message with the block; false when nobody receives it.
    virtual bool PostFinished() = 0;
    // The document the main frame hands the block to.
    virtual void SetDocument(CQORDoc* pDoc) = 0;

    std::atomic<State> m_State{State::Running};
    // Asks the worker to stop (closing the case does); the engine checks it between load positions.
    CRunControl m_Control;
    HWND m_hMainWnd = nullptr; // where the finished message goes (the main window at launch)
    // Points per span of the run, read from the settings when the block is made (at launch): a
    // change of the setting while the worker runs cannot reach it.
    const int m_nPointsPerSpan;
    CString m_sRun;     // what the log calls the run ("Make Reference Collection")
    bool m_bOk = false; // the engine's own result (reference values, ratios)
    CString m_sError;   // an engine error; empty when the run finished
    // The reference the posted message holds; taken back by the completion.
    std::shared_ptr<CAnalysisJob> m_pSelf;

    // Blocks alive in the process (a closed case must leave none behind).
    static int LiveCount();

private:
    static std::atomic<int> s_nLive;
};

// Moving load of a load model ensemble over one bridge.
struct CMultiMLJob : CAnalysisJob, MultiMLThreadData
{
    void Run() override;
    bool PostFinished() override;
    void SetDocument(CQORDoc* doc) override { pDoc = doc; }

    std::shared_ptr<CEnvelopeResults> m_pResults;                // combined envelope
    std::vector<std::shared_ptr<CEnvelopeResults>> m_vLMResults; // one per load model
    int m_nAnalyses = 0;
};

// One load model over every bridge of a bridge set; the stepping the engine derived for the
// last bridge comes back in nSteps and StepSize.
struct CBridgeRangeJob : CAnalysisJob, BridgeRangeThreadData
{
    void Run() override;
    bool PostFinished() override;
    void SetDocument(CQORDoc* doc) override { pDoc = doc; }

    bool bByStep = false;
    int nSteps = 0;
    double StepSize = 0.0;
    std::shared_ptr<CCriticalValueEnsemble> m_pResults;
};

// Reference values or critical ratios of a reference collection. pRefCollection is the case's
// collection (read only on the user-interface thread); the worker computes on m_pWork, a copy
// whose bridge sets (and their bridges), ensembles (and their load models) and reference sets
// are copies too. The envelopes of the stored results are the case's own, read by both threads:
// nothing changes them (a run makes new results), so a launch copies no envelope.
struct CRefCollJob : CAnalysisJob, RefCollThreadData
{
    explicit CRefCollJob(bool bRatios) : m_bRatios(bRatios) {}
    void Run() override;
    bool PostFinished() override;
    void SetDocument(CQORDoc* doc) override { pDoc = doc; }

    // Makes the working copy of the case's collection (user-interface thread).
    void CopyInputs();
    // A copy of a collection that another thread may read and change alone: its bridge sets (and
    // their bridges), its ensembles (and their load models), its proposed ensemble and its
    // reference sets (with the results they hold, their envelopes shared) are copies made through
    // copies. Its cost grows with the bridges, not with the size of the results.
    static std::shared_ptr<CReferenceCollection> CopyCollection(const CReferenceCollection& original,
                                                                CElementCopies& copies);
    // Stores the results of the working copy into the case's collection, naming the case's own
    // bridge sets and ensembles again (user-interface thread).
    void StoreResults() const;

    const bool m_bRatios;
    double m_Multiplier = 1.0;
    std::shared_ptr<CReferenceCollection> m_pWork;
    std::shared_ptr<CReferenceCollection> m_pLaunched; // the case's collection as it was at launch

private:
    CElementCopies m_Copies;
};
