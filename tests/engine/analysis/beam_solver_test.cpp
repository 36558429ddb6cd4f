// The factorise-once solver against the plain analysis: bitwise equal results, and no
// heap allocation when a result is filled in place.
// This file replaces the global operator new/delete with malloc/free to count allocations;
// GCC cannot see that the pair matches once it inlines them.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

#include "beam_test_util.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/Load.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>

using namespace beamtest;

// Counts heap allocations made by this thread while counting is switched on.
namespace {
thread_local bool g_counting = false;
thread_local long g_allocations = 0;
} // namespace

void* operator new(std::size_t n)
{
    if (g_counting) ++g_allocations;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

struct LoadCase
{
    std::vector<std::unique_ptr<CLoad>> own;
    std::vector<CLoad*> raw;
};

// Random loads of every kind, some of them beyond or across their member's end.
LoadCase RandomLoads(const CBeam& beam, std::mt19937& rng)
{
    std::uniform_real_distribution<double> U(0.0, 1.0);
    LoadCase lc;
    const int n = static_cast<int>(U(rng) * 8);
    for (int k = 0; k < n; ++k)
    {
        const std::uint32_t s = static_cast<std::uint32_t>(U(rng) * beam.m_nSpans);
        const double L = beam.m_vL[s];
        const double mag = -20.0 + 220.0 * U(rng);
        switch (static_cast<int>(U(rng) * 4))
        {
        case 0: lc.own.push_back(std::make_unique<CLoadUDL>(s, mag)); break;
        case 1: lc.own.push_back(std::make_unique<CLoadPL>(s, mag, U(rng) * 1.1 * L)); break;
        case 2: lc.own.push_back(std::make_unique<CLoadPUDL>(s, mag, U(rng) * 1.1 * L, U(rng) * L)); break;
        default: lc.own.push_back(std::make_unique<CLoadMaMb>(s, mag, -mag * U(rng))); break;
        }
        if (U(rng) < 0.3) lc.own.back()->SetGamma(0.5 + U(rng));
        lc.raw.push_back(lc.own.back().get());
    }
    return lc;
}

CBeam RandomBeam(std::mt19937& rng)
{
    std::uniform_real_distribution<double> U(0.0, 1.0);
    const int nSpans = 1 + static_cast<int>(U(rng) * 4);
    std::vector<double> spans;
    for (int i = 0; i < nSpans; ++i) spans.push_back(2.0 + 40.0 * U(rng));
    CBeam beam = MakeBridgeBeam(spans);
    for (double& ei : beam.m_vEI) ei *= 0.5 + U(rng);
    // Occasionally a spring or a -2.0 at an inner node, or a fixed rotation at an end.
    std::vector<double> R = beam.m_vR;
    if (nSpans > 1 && U(rng) < 0.3) R[2] = U(rng) < 0.5 ? -2.0 : 1e3 * U(rng) + 1.0;
    if (U(rng) < 0.2) R[1] = -1.0;
    beam.SetRestraints(R);
    return beam;
}

void ExpectBitwiseEqual(const CBeamResults& a, const CBeamResults& b)
{
    ASSERT_EQ(a.m_vReactions.size(), b.m_vReactions.size());
    for (std::size_t i = 0; i < a.m_vReactions.size(); ++i)
        ASSERT_TRUE(SameBits(a.m_vReactions[i], b.m_vReactions[i])) << "reaction " << i;
    ASSERT_EQ(a.m_vMbrRes.size(), b.m_vMbrRes.size());
    for (std::size_t m = 0; m < a.m_vMbrRes.size(); ++m)
    {
        const CMbrResults& p = a.m_vMbrRes[m];
        const CMbrResults& q = b.m_vMbrRes[m];
        ASSERT_EQ(p.x.size(), q.x.size());
        ASSERT_EQ(p.M.size(), q.M.size());
        for (std::size_t i = 0; i < p.x.size(); ++i)
        {
            ASSERT_TRUE(SameBits(p.x[i], q.x[i])) << m << "/" << i;
            ASSERT_TRUE(SameBits(p.M[i], q.M[i])) << m << "/" << i;
            ASSERT_TRUE(SameBits(p.V[i], q.V[i])) << m << "/" << i;
            ASSERT_TRUE(SameBits(p.R[i], q.R[i])) << m << "/" << i;
            ASSERT_TRUE(SameBits(p.D[i], q.D[i])) << m << "/" << i;
        }
    }
}

} // namespace

TEST(BeamSolver, BitwiseEqualToPlainAnalysisOverRandomLoadCases)
{
    std::mt19937 rng(20240611);
    for (int b = 0; b < 40; ++b)
    {
        CBeam beam = RandomBeam(rng);
        const int n = 5 + static_cast<int>(rng() % 60);
        CBeamSolver solver(beam, n);
        CBeamResults reused;
        for (int c = 0; c < 25; ++c)
        {
            LoadCase lc = RandomLoads(beam, rng);
            CBeamResults plain = CBeamAnalysis(&beam, lc.raw, n).Analyse();
            std::shared_ptr<CBeamResults> fresh = solver.Solve(lc.raw);
            solver.Solve(lc.raw, reused);
            ExpectBitwiseEqual(plain, *fresh);
            ExpectBitwiseEqual(plain, reused);
            if (HasFatalFailure()) return;
        }
    }
}

TEST(BeamSolver, InPlaceSolveDoesNotAllocate)
{
    CBeam beam = MakeBridgeBeam({15.0, 20.0, 15.0});
    CBeamSolver solver(beam, 100);
    CLoadPL axle1(0, 120.0, 3.0), axle2(0, 120.0, 4.2);
    CLoadPUDL lane(1, 9.0, 2.0, 30.0);
    const std::vector<CLoad*> loads{&axle1, &axle2, &lane};
    CBeamResults res;
    solver.Solve(loads, res); // shapes the result

    g_allocations = 0;
    g_counting = true;
    for (int step = 0; step < 50; ++step)
    {
        axle1.SetPosition(0.2 * step);
        axle2.SetPosition(0.2 * step + 1.2);
        lane.SetCover(0.3 * step);
        solver.Solve(loads, res);
    }
    g_counting = false;
    EXPECT_EQ(g_allocations, 0);

    // The counter does see allocations: a new result is the one kept allocation.
    g_allocations = 0;
    g_counting = true;
    std::shared_ptr<CBeamResults> kept = solver.Solve(loads);
    g_counting = false;
    EXPECT_GT(g_allocations, 0);

    // Re-used load objects give the same result as fresh ones.
    CLoadPL f1(0, 120.0, 0.2 * 49), f2(0, 120.0, 0.2 * 49 + 1.2);
    CLoadPUDL fl(1, 9.0, 2.0, 0.3 * 49);
    CBeamResults plain = CBeamAnalysis(&beam, {&f1, &f2, &fl}, 100).Analyse();
    ExpectBitwiseEqual(plain, res);
}

TEST(BeamSolver, ReshapesAForeignResult)
{
    CBeam a = MakeBridgeBeam({10.0});
    CBeam b = MakeBridgeBeam({10.0, 10.0, 10.0});
    CLoadUDL udl(0, 2.0);
    CBeamResults res;
    CBeamSolver(b, 30).Solve({&udl}, res);
    CBeamSolver sa(a, 8);
    sa.Solve({&udl}, res);
    ASSERT_EQ(res.m_vMbrRes.size(), 1u);
    EXPECT_EQ(res.m_vMbrRes[0].x.size(), 11u);
    EXPECT_EQ(res.m_vReactions.size(), 2u);
    EXPECT_EQ(res.GetBeam(), sa.GetBeam());
    ExpectBitwiseEqual(CBeamAnalysis(&a, {&udl}, 8).Analyse(), res);
}

TEST(BeamSolver, ResultsOfOneSolverAreIndependent)
{
    CBeam beam = MakeBridgeBeam({10.0, 10.0});
    CBeamSolver solver(beam, 10);
    CLoadPL p(0, 10.0, 5.0);
    auto r1 = solver.Solve({&p});
    p.SetPosition(2.0);
    auto r2 = solver.Solve({&p});
    EXPECT_NE(r1->m_vMbrRes[0].M, r2->m_vMbrRes[0].M);
    // The first result is not touched by the second solve.
    CLoadPL first(0, 10.0, 5.0);
    ExpectBitwiseEqual(CBeamAnalysis(&beam, {&first}, 10).Analyse(), *r1);
    // Changing the caller's beam later does not touch the solver's copy.
    beam.m_vL[0] = 99.0;
    EXPECT_EQ(r1->GetBeam()->m_vL[0], 10.0);
}
