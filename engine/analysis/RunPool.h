// The pieces of one run's work (a bridge under an ensemble, an overstress loading) on several
// threads. Every piece is independent; the pool starts the longest first and each thread takes
// the next as soon as it is free, so that no thread waits while work is left, whatever sets
// the pieces come from. What a piece posts comes out as though they had run one after another
// in the order they were added:
//
//     CRunPool pool(CMultiBridgeAnalysis::GetThreadCount());
//     pool.Add(cost, [&](unsigned worker) { ... });   // numbered in the order added
//     pool.Run();                                      // lines and the first failure in that order
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

class CRunPool
{
public:
    // worker: 0 to GetThreads() - 1, the thread the piece runs on (0 is the caller's).
    using Work = std::function<void(unsigned worker)>;

    // At most nThreads threads (at least one), the caller's among them.
    explicit CRunPool(unsigned nThreads);
    CRunPool(const CRunPool&) = delete;
    CRunPool& operator=(const CRunPool&) = delete;

    // Adds a piece. The cost only orders the pieces (the largest start first; among equal ones
    // the first added).
    void Add(double cost, Work work);

    // The threads a run will use at most: pieces keep one slot per worker to work in.
    unsigned GetThreads() const { return m_nThreads; }

    // Runs every piece and flushes the progress counted. On one thread they run in the order
    // added, posting as they go. On several, the status lines each piece posts are held and
    // posted in the order added once all have ended. When pieces fail (or the run is stopped),
    // no piece after the first failed one (in the order added) starts once that failure is
    // seen; the lines up to and with it are posted and its exception is rethrown. A piece that
    // runs out of memory (std::bad_alloc) stops the others from starting any more. No thread ends
    // the program: a helper that cannot start leaves its pieces to the others.
    void Run();

private:
    struct SPiece
    {
        double cost = 0.0;
        Work work;
    };
    std::vector<SPiece> m_vPieces;
    unsigned m_nThreads = 1;
};
