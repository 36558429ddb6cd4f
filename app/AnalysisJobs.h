// The analysis runs of one case on worker threads. Closing the case cancels them; the program
// waits for running workers before it ends.
#pragma once

#include "platform/core/CString.h"

#include <functional>
#include <memory>
#include <vector>

class CAnalysisJob;
class CQORDoc;

class CAnalysisJobs
{
public:
    CAnalysisJobs() = default;
    CAnalysisJobs(const CAnalysisJobs&) = delete;
    CAnalysisJobs& operator=(const CAnalysisJobs&) = delete;
    // Cancels every run of the case.
    ~CAnalysisJobs();

    // Starts the job's worker thread (user-interface thread).
    void Start(std::shared_ptr<CAnalysisJob> job);
    // A finished message arrived with this block: takes back the message's reference and
    // forgets the job. Null when the job was cancelled (the block is then released).
    std::shared_ptr<CAnalysisJob> Adopt(CAnalysisJob* job);
    // Nothing of a cancelled run reaches the case: its worker posts nothing, and a message it
    // already posted is handed to a stand-in document that only releases the block.
    void CancelAll();
    bool IsRunning() const { return !m_vJobs.empty(); }

    // Whether the window takes what the run of this number posts (progress steps, status lines):
    // a run started and neither stopped nor taken back. 0, a run on the window thread, always.
    static bool IsLiveRun(unsigned generation);

    // Blocks until every worker thread of the program has ended. Once the main window is gone, the
    // blocks of the finished messages it never took back are released too.
    static void WaitForWorkers();
    // The document that receives the messages of cancelled runs.
    static CQORDoc* StandIn();

private:
    std::vector<std::shared_ptr<CAnalysisJob>> m_vJobs;
};
