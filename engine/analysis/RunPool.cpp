// The pieces of one run's work (a bridge under an ensemble, an overstress loading) on several threads.
#include "engine/analysis/RunPool.h"

#include "engine/runs/EngineMessages.h"
#include "engine/runs/RunControl.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <numeric>
#include <system_error>
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

    // The helpers work for the run this thread works for: a stop reaches them too.
    CRunControl* const control = CRunControl::Current();
    auto work = [&](unsigned worker) {
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
            }
            catch (...)
            {
                outcome.error = std::current_exception();
                std::size_t seen = firstError.load();
                while (i < seen && !firstError.compare_exchange_weak(seen, i))
                {}
            }
            outcome.lines = held.Take();
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(nThreads - 1);
    for (unsigned t = 1; t < nThreads; ++t)
    {
        try
        {
            pool.emplace_back(work, t);
        }
        catch (const std::system_error&)
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
}
