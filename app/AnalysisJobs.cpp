// The worker threads of the analysis runs: starting them, cancelling a closed case's runs,
// handing finished blocks back, and waiting for every worker before the program ends.
#include "app/AnalysisJobs.h"

#include "app/AnalysisJob.h"
#include "app/CaseShell.h"
#include "app/EngineGuard.h"
#include "app/QORDoc.h"
#include "engine/runs/EngineMessages.h"
#include "engine/runs/RunControl.h"
#include "platform/core/FreeMemory.h"
#include "platform/core/Messages.h"

#include <algorithm>
#include <mutex>
#include <new>
#include <set>
#include <system_error>
#include <thread>

namespace {

// The numbers of the runs started and not yet stopped or taken back (user-interface thread).
std::set<unsigned>& LiveRuns()
{
    static std::set<unsigned> live;
    return live;
}

// Every worker thread of the program. Its destructor runs among the static destructors, after
// the main loop and before the settings object the engine reads goes away.
class WorkerThreads
{
public:
    ~WorkerThreads() { JoinAll(); }

    // Starts a worker running main(). Throws (std::system_error, std::bad_alloc) when no thread can start,
    // and then none has: the room for the worker is made first, so that a started thread is always held
    // and joined (a thread object that ends unjoined ends the program).
    template <class Main>
    void Start(Main main, std::shared_ptr<std::atomic<bool>> done)
    {
        std::vector<Worker> finished;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            auto first =
                std::stable_partition(m_workers.begin(), m_workers.end(), [](const Worker& w) { return !*w.done; });
            std::move(first, m_workers.end(), std::back_inserter(finished));
            m_workers.erase(first, m_workers.end());
            m_workers.reserve(m_workers.size() + 1);
            Worker& worker = m_workers.emplace_back();
            worker.done = std::move(done);
            try
            {
                worker.thread = std::thread(std::move(main));
            }
            catch (...)
            {
                m_workers.pop_back();
                for (Worker& w : finished) w.thread.join();
                throw;
            }
        }
        for (Worker& w : finished) w.thread.join();
    }

    void JoinAll()
    {
        std::vector<Worker> all;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            all.swap(m_workers);
        }
        for (Worker& w : all)
            if (w.thread.joinable()) w.thread.join();
    }

private:
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex m_mutex;
    std::vector<Worker> m_workers;
};

WorkerThreads& Workers()
{
    static WorkerThreads workers;
    return workers;
}

// The blocks whose finished message is posted and not yet taken back. A message to a window that is
// destroyed before it arrives is dropped with the window: once the main window is gone, what it would have
// taken back is released here (see WaitForWorkers).
class PostedBlocks
{
public:
    // Posts the block's message (post() says whether it went), noting it while it travels.
    template <class Send>
    bool Post(CAnalysisJob* job, Send post)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!post()) return false;
        m_blocks.insert(job);
        return true;
    }
    void Arrived(CAnalysisJob* job)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_blocks.erase(job);
    }
    // The references of the messages that never came.
    std::vector<std::shared_ptr<CAnalysisJob>> TakeUndelivered();

private:
    std::mutex m_mutex;
    std::set<CAnalysisJob*> m_blocks;
};

PostedBlocks& Posted()
{
    static PostedBlocks posted;
    return posted;
}

void WorkerMain(std::shared_ptr<CAnalysisJob> job, std::shared_ptr<std::atomic<bool>> done)
{
    bool stopped = false;
    if (job->m_State.load() == CAnalysisJob::State::Running)
    {
        CRunControl::Scope runScope(&job->m_Control);
        CString error;
        try
        {
            if (!CEngineGuard::Run([&job] { job->Run(); }, error))
            {
                job->m_bOk = false;
                job->m_sError = error.IsEmpty() ? CString(L"The analysis failed.") : error;
                // What a run that failed had made is freed: a run that ran out of memory leaves the room
                // it took to the system again (the next run's thread needs address space for its stack).
                qor::ReturnFreeMemory();
            }
        }
        catch (const CRunControl::Stopped&)
        {
            stopped = true; // its case closed: nothing to report
        }
    }
    if (stopped)
    {
        job.reset();
        *done = true;
        return;
    }
    // The message holds a reference of its own until the completion takes it back.
    job->m_pSelf = job;
    auto running = CAnalysisJob::State::Running;
    if (!job->m_State.compare_exchange_strong(running, CAnalysisJob::State::Posted) ||
        !Posted().Post(job.get(), [&job] { return job->PostFinished(); }))
        job->m_pSelf.reset(); // cancelled, or no window left to tell
    job.reset();
    *done = true;
}

std::vector<std::shared_ptr<CAnalysisJob>> PostedBlocks::TakeUndelivered()
{
    std::vector<std::shared_ptr<CAnalysisJob>> held;
    std::lock_guard<std::mutex> lock(m_mutex);
    for (CAnalysisJob* job : m_blocks) held.push_back(std::move(job->m_pSelf));
    m_blocks.clear();
    return held;
}

} // namespace

CAnalysisJobs::~CAnalysisJobs() { CancelAll(); }

void CAnalysisJobs::Start(std::shared_ptr<CAnalysisJob> job)
{
    CWnd* main = AfxGetMainWnd();
    job->m_hMainWnd = main ? main->GetSafeHwnd() : nullptr;
    // The engine reports its progress to the main window too.
    if (job->m_hMainWnd) qor::SetMainWindowHandle(job->m_hMainWnd);
    auto done = std::make_shared<std::atomic<bool>>(false);
    // Nothing of the run is recorded until its thread has started: a thread that cannot start (no memory
    // or address space left) leaves the case with no run, and the command says why.
    m_vJobs.reserve(m_vJobs.size() + 1);
    const unsigned generation = job->m_Control.Generation();
    LiveRuns().insert(generation);
    try
    {
        Workers().Start([job, done]() mutable { WorkerMain(std::move(job), done); }, done);
    }
    catch (const std::system_error&)
    {
        // The system had no room for another thread (its stack is address space too).
        LiveRuns().erase(generation);
        throw std::bad_alloc();
    }
    catch (...)
    {
        LiveRuns().erase(generation);
        throw;
    }
    m_vJobs.push_back(std::move(job));
}

std::shared_ptr<CAnalysisJob> CAnalysisJobs::Adopt(CAnalysisJob* job)
{
    if (!job) return {};
    Posted().Arrived(job);
    std::shared_ptr<CAnalysisJob> held = std::move(job->m_pSelf);
    LiveRuns().erase(job->m_Control.Generation());
    m_vJobs.erase(std::remove(m_vJobs.begin(), m_vJobs.end(), held), m_vJobs.end());
    if (job->m_State.load() == CAnalysisJob::State::Cancelled) return {};
    return held;
}

void CAnalysisJobs::CancelAll()
{
    if (m_vJobs.empty()) return;
    CCaseShell& shell = CCaseShell::Current();
    for (const std::shared_ptr<CAnalysisJob>& job : m_vJobs)
    {
        // The one word the log has of a run that never completes.
        shell.QueueStatus(job->m_sRun + L" stopped: the case was closed", 0);
        job->m_Control.Stop(); // the worker ends at its next load position
        LiveRuns().erase(job->m_Control.Generation());
        auto running = CAnalysisJob::State::Running;
        if (job->m_State.compare_exchange_strong(running, CAnalysisJob::State::Cancelled)) continue;
        // Already posted: the message names this case, which is going; it goes to the stand-in.
        job->SetDocument(StandIn());
        job->m_State = CAnalysisJob::State::Cancelled;
    }
    m_vJobs.clear();
    // The cancelled workers still report their runs: an empty range shows them as nothing done.
    shell.BeginProgress(0);
    shell.SetStatusText(L"Ready");
}

bool CAnalysisJobs::IsLiveRun(unsigned generation) { return generation == 0 || LiveRuns().count(generation) > 0; }

void CAnalysisJobs::WaitForWorkers()
{
    Workers().JoinAll();
    // Without a main window no finished message comes any more (the window's queue went with it): the
    // blocks they held go now, rather than never.
    if (!AfxGetMainWnd()) Posted().TakeUndelivered();
}

CQORDoc* CAnalysisJobs::StandIn()
{
    // Never destroyed: a message may still be queued when the program ends.
    static CQORDoc* standIn = new CQORDoc;
    return standIn;
}
