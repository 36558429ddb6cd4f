// The pieces of one run's work (a bridge under an ensemble, an overstress loading) on several threads.
#include "engine/analysis/RunPool.h"

#include "engine/runs/EngineMessages.h"
#include "engine/runs/RunControl.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <numeric>
#include <thread>
#include <utility>

CRunPool::CRunPool(unsigned nThreads) : m_nThreads(std::max(nThreads, 1u)) {}

void CRunPool::Add(double cost, Work work) { m_vPieces.push_back({cost, std::move(work)}); }

void CRunPool::Run()
{
    struct SFlush
    {
        ~SFlush() { qor::FlushProgress(); }
    } flushAtEnd;
    const std::size_t nPieces = m_vPieces.size();
    const unsigned nThreads = static_cast<unsigned>(std::min<std::size_t>(m_nThreads, nPieces));
    if (nThreads <= 1)
    {
        for (SPiece& piece : m_vPieces) piece.work(0);
        return;
    }

    // The longest first; equal ones in the order added.
    std::vector<std::size_t> order(nPieces);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return m_vPieces[a].cost > m_vPieces[b].cost; });

    struct SOutcome
    {
        std::vector<CString> lines;
        std::exception_ptr error;
    };
    std::vector<SOutcome> outcomes(nPieces);
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> firstError{nPieces};

    // A failure outside any piece (a thread that could not hold its lines, out of memory): the run fails
    // with it, unless a piece failed first.
    std::mutex failureMutex;
    std::exception_ptr threadFailure;

    // The helpers work for the run this thread works for: a stop reaches them too. Nothing may leave a
    // thread's function: an exception there ends the program.
    CRunControl* const control = CRunControl::Current();
    auto work = [&](unsigned worker) {
        try
        {
            CRunControl::Scope runScope(control);
            qor::CStatusLinesHeld held;
            for (;;)
            {
                const std::size_t k = next.fetch_add(1);
                if (k >= nPieces) break;
                const std::size_t i = order[k];
                if (i > firstError.load()) continue; // the serial run would never get here
                SOutcome& outcome = outcomes[i];
                try
                {
                    m_vPieces[i].work(worker);
                    outcome.lines = held.Take();
                }
                catch (...)
                {
                    outcome.lines = held.Take();
                    outcome.error = std::current_exception();
                    std::size_t seen = firstError.load();
                    while (i < seen && !firstError.compare_exchange_weak(seen, i))
                    {}
                }
            }
        }
        catch (...)
        {
            const std::lock_guard<std::mutex> lock(failureMutex);
            if (!threadFailure) threadFailure = std::current_exception();
            // The pieces not yet taken are left: the run fails.
            next = nPieces;
        }
    };

    // Threads that cannot start (no memory or address space left for them) leave their pieces to the
    // others; every thread started is joined whatever happens, or its end would end the program.
    std::vector<std::thread> pool;
    struct SJoin
    {
        std::vector<std::thread>& threads;
        ~SJoin()
        {
            for (std::thread& t : threads)
                if (t.joinable()) t.join();
        }
    } joinAtEnd{pool};
    try
    {
        pool.reserve(nThreads - 1);
    }
    catch (const std::exception&)
    {}
    for (unsigned t = 1; t < nThreads && pool.size() < pool.capacity(); ++t)
    {
        try
        {
            pool.emplace_back(work, t);
        }
        catch (const std::exception&)
        {
            break; // fewer threads: the others take the pieces
        }
    }
    work(0);
    for (std::thread& t : pool) t.join();

    // The lines as the serial run posts them: piece by piece, up to and with a failed one.
    const std::size_t failed = firstError.load();
    for (std::size_t i = 0; i < std::min(failed + 1, nPieces); ++i)
        for (const CString& line : outcomes[i].lines) qor::PostStatusLine(line);
    if (failed < nPieces) std::rethrow_exception(outcomes[failed].error);
    if (threadFailure) std::rethrow_exception(threadFailure);
}
