// Moving-load runs that keep every position, repeated on one case: a run writes into the pages of an
// earlier run's freed block (it touches hardly more fresh pages than the minimal kernel does), never into
// those of a result still held, and the heap stays as it was from one run to the next.
#include "bench/bench_cases.h"
#include "bench/bench_kernel.h"

#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/SpareBlocks.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <sys/resource.h>

#include <cstdint>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using namespace qor::bench;

long MinorFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

std::size_t LiveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks + mallinfo2().hblkhd;
#endif
}

std::shared_ptr<CEnvelopeResults> KeptRun(const std::shared_ptr<CBridge>& bridge,
                                          const std::shared_ptr<CLoadModel>& truck)
{
    CMovingLoadAnalysis mla(bridge, truck);
    int nSteps = 0;
    double step = 0.1;
    return mla.Run(true, nSteps, step);
}

// Every position's moments and shears, one after another.
std::vector<double> AllLines(const CEnvelopeResults& res)
{
    std::vector<double> all, x, y;
    const CKeptPositions& kept = res.GetKeptPositions();
    for (std::size_t i = 0; i < kept.GetCount(); ++i)
        for (int kind : {BRT_MOMENT, BRT_SHEAR})
        {
            kept.GetLine(i, kind, x, y);
            all.insert(all.end(), y.begin(), y.end());
        }
    return all;
}

} // namespace

TEST(KeptRuns, ARepeatedRunTouchesItsPagesOnceKeepsTheHeapFlatAndSparesResultsStillHeld)
{
    CSpareBlocks::Release();
    const auto bridge = EqualSpans(4);
    const auto truck = SixAxleTruck();

    // The first run of the case pays for its pages; the kernel's own fresh pages, for comparison.
    auto first = KeptRun(bridge, truck);
    const std::size_t positions = first->GetKeptPositions().GetCount();
    const double blockPages = static_cast<double>(first->GetKeptPositions().GetBytes()) / 4096.0;
    ASSERT_GT(positions, 300u);
    ASSERT_GT(blockPages, 1000.0);
    first.reset();
    std::vector<PointLoadEffect> env[4];
    long before = MinorFaults();
    KernelRun(bridge, truck, 0.1, env);
    const long kernelFaults = MinorFaults() - before;

    // Each later run: what it touches afresh beyond the kernel is a small part of its block (a run that
    // took fresh memory for it touched every page of it), and the heap ends where it ended before.
    std::size_t heapAfterSecond = 0;
    for (int run = 2; run <= 6; ++run)
    {
        before = MinorFaults();
        auto res = KeptRun(bridge, truck);
        const long faults = MinorFaults() - before;
        EXPECT_EQ(res->GetKeptPositions().GetCount(), positions);
        EXPECT_LT(static_cast<double>(faults - kernelFaults), 0.1 * blockPages) << "run " << run;
        res.reset();
        if (run == 2) heapAfterSecond = LiveHeapBytes();
        EXPECT_LE(LiveHeapBytes(), heapAfterSecond + 64 * 1024) << "run " << run;
        EXPECT_LE(CSpareBlocks::SpareCount(), 2u);
    }

    // A result still held keeps its own block: a later run of another load leaves its lines as they were.
    auto held = KeptRun(bridge, truck);
    const std::vector<double> heldLines = AllLines(*held);
    const auto heavier = Truck(5, {106.0, 160.0, 160.0, 160.0, 160.0, 160.0}, {3.7, 1.25, 6.0, 1.25, 1.25});
    auto other = KeptRun(bridge, heavier);
    other.reset();
    KeptRun(bridge, heavier).reset();
    EXPECT_EQ(AllLines(*held), heldLines);

    // With the case closed the spares go, and so does a block given back afterwards.
    CSpareBlocks::Release();
    EXPECT_EQ(CSpareBlocks::SpareCount(), 0u);
    held.reset();
    EXPECT_EQ(CSpareBlocks::SpareCount(), 0u);
    EXPECT_EQ(CSpareBlocks::SpareBytes(), 0u);
}
