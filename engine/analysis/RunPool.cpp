// The pieces of one run's work (a bridge under an ensemble, an overstress loading) on several threads.
#include "engine/analysis/RunPool.h"

#include "engine/runs/EngineMessages.h"
#include "engine/runs/RunControl.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <new>
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

    std::vector<std::vector<CString>> lines(nPieces); // what each piece posted
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> firstError{nPieces};
    // Only the failure that comes first in the order added is kept (the one thrown): a run whose pieces
    // all fail, as they do when memory runs out, must not hold an exception for each, since exceptions
    // thrown without memory come from a small reserve whose end ends the program.
    std::mutex failureMutex;
    std::exception_ptr failure;
    // Out of memory no piece is started any more: each would only fail in its turn.
    std::atomic<bool> outOfMemory{false};
    const auto fail = [&](std::size_t i) {
        const std::lock_guard<std::mutex> lock(failureMutex);
        if (i >= firstError.load()) return;
        failure = std::current_exception();
        firstError = i;
    };

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
                if (k >= nPieces || outOfMemory.load()) break;
                const std::size_t i = order[k];
                if (i > firstError.load()) continue; // the serial run would never get here
                try
                {
                    m_vPieces[i].work(worker);
                }
                catch (const std::bad_alloc&)
                {
                    outOfMemory = true;
                    fail(i);
                }
                catch (...)
                {
                    fail(i);
                }
                lines[i] = held.Take();
            }
        }
        catch (...)
        {
            // A thread that could not begin (out of memory): the pieces not yet taken are left, and the
            // run fails, as a piece of its own that failed first.
            outOfMemory = true;
            const std::lock_guard<std::mutex> lock(failureMutex);
            if (!failure) failure = std::current_exception();
        }
    };

    // Threads that cannot start (no memory or address space left for them) leave their pieces to the
    // others; every thread started is joined whatever happens (std::jthread), or its end would end the program.
    std::vector<std::jthread> pool;
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
    for (std::jthread& t : pool) t.join();

    // The lines as the serial run posts them: piece by piece, up to and with a failed one.
    const std::size_t failed = firstError.load();
    for (std::size_t i = 0; i < std::min(failed + 1, nPieces); ++i)
        for (const CString& line : lines[i]) qor::PostStatusLine(line);
    if (failure) std::rethrow_exception(failure);
}
