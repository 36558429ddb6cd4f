// Beam solver against closed-form results of simple and continuous beams.
#include "beam_test_util.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/Load.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>
#include <random>

using namespace beamtest;

namespace {

constexpr int kN = 100;                  // even, so that mid-span is a result point
constexpr std::size_t kMid = kN / 2 + 1; // index of x = L/2 (after the repeated 0)
constexpr std::size_t kLastIn = kN + 1;  // index of x = n.dx (the member end)
constexpr std::size_t kLast = kN + 2;    // index of the repeated end

CBeamResults Solve(const CBeam& beam, std::vector<std::unique_ptr<CLoad>>& loads, int n = kN)
{
    std::vector<CLoad*> raw;
    for (auto& l : loads) raw.push_back(l.get());
    return CBeamAnalysis(&beam, raw, n).Analyse();
}

double Rel(double v) { return std::abs(v) * 1e-9 + 1e-9; }

} // namespace

TEST(BeamClosedForm, SimpleSpanUniformLoad)
{
    const double L = 20.0, w = 10.0;
    CBeam beam = MakeBridgeBeam({L});
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::make_unique<CLoadUDL>(0, w));
    CBeamResults res = Solve(beam, loads);

    ASSERT_EQ(res.m_vMbrRes.size(), 1u);
    const CMbrResults& m = res.m_vMbrRes[0];
    ASSERT_EQ(m.x.size(), static_cast<std::size_t>(kN + 3));

    // Positions {0, 0, dx, ..., n dx, L}.
    EXPECT_EQ(m.x[0], 0.0);
    EXPECT_EQ(m.x[1], 0.0);
    EXPECT_NEAR(m.x[2], L / kN, 1e-12);
    EXPECT_NEAR(m.x[kMid], L / 2, 1e-12);
    EXPECT_EQ(m.x[kLast], L);

    EXPECT_NEAR(m.M[kMid], w * L * L / 8.0, Rel(w * L * L / 8.0));
    EXPECT_NEAR(m.V[1], w * L / 2, Rel(w * L));
    EXPECT_NEAR(m.V[kLastIn], -w * L / 2, Rel(w * L));
    EXPECT_NEAR(m.V[kMid], 0.0, 1e-9);

    // Diagrams close on the axis.
    EXPECT_EQ(m.M[0], 0.0);
    EXPECT_EQ(m.V[0], 0.0);
    EXPECT_EQ(m.M[kLast], 0.0);
    EXPECT_EQ(m.V[kLast], 0.0);

    // Deflection: EI enters divided by 1e6.
    const double EI = kEI / 1e6;
    EXPECT_NEAR(m.D[0], 0.0, 1e-12);
    EXPECT_NEAR(m.D[kLast], 0.0, 1e-12);
    const double dMid = -5.0 * w * std::pow(L, 4) / (384.0 * EI);
    EXPECT_NEAR(m.D[kMid], dMid, Rel(dMid));
    // End rotations -wL^3/(24EI) and +wL^3/(24EI); zero at mid-span.
    EXPECT_NEAR(m.R[1], -w * L * L * L / (24 * EI), 1e-12);
    EXPECT_NEAR(m.R[kLastIn], w * L * L * L / (24 * EI), 1e-12);
    EXPECT_NEAR(m.R[kMid], 0.0, 1e-12);

    ASSERT_EQ(res.m_vReactions.size(), 2u);
    EXPECT_NEAR(res.m_vReactions[0], w * L / 2, Rel(w * L));
    EXPECT_NEAR(res.m_vReactions[1], w * L / 2, Rel(w * L));
}

TEST(BeamClosedForm, SimpleSpanCentralPointLoad)
{
    const double L = 16.0, P = 250.0;
    CBeam beam = MakeBridgeBeam({L});
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::make_unique<CLoadPL>(0, P, L / 2));
    CBeamResults res = Solve(beam, loads);
    const CMbrResults& m = res.m_vMbrRes[0];

    EXPECT_NEAR(m.M[kMid], P * L / 4, Rel(P * L));
    // Linear moment: a quarter along it is half the peak.
    EXPECT_NEAR(m.M[kN / 4 + 1], P * L / 8, Rel(P * L));
    EXPECT_NEAR(m.V[kMid - 1], P / 2, Rel(P));
    EXPECT_NEAR(m.V[kMid], -P / 2, Rel(P)); // x == a already takes the step
    const double EI = kEI / 1e6;
    EXPECT_NEAR(m.D[kMid], -P * L * L * L / (48 * EI), 1e-9);
    EXPECT_NEAR(res.m_vReactions[0], P / 2, Rel(P));
    EXPECT_NEAR(res.m_vReactions[1], P / 2, Rel(P));
}

TEST(BeamClosedForm, EccentricPointLoadAndGamma)
{
    // P = 40 x gamma 2.5 at a = 3 on L = 12: Ra = Pb/L, M under the load Pab/L.
    const double L = 12.0, a = 3.0, b = 9.0, P = 100.0;
    CBeam beam = MakeBridgeBeam({L});
    auto pl = std::make_unique<CLoadPL>(0, 40.0, a);
    pl->SetGamma(2.5);
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::move(pl));
    CBeamResults res = Solve(beam, loads, 12); // dx = 1 m, x = 3 is point 4
    const CMbrResults& m = res.m_vMbrRes[0];
    EXPECT_NEAR(m.M[4], P * a * b / L, 1e-9);
    EXPECT_NEAR(res.m_vReactions[0], P * b / L, 1e-9);
    EXPECT_NEAR(res.m_vReactions[1], P * a / L, 1e-9);
}

TEST(BeamClosedForm, TwoEqualSpansUniformLoad)
{
    const double L = 25.0, w = 8.0;
    CBeam beam = MakeBridgeBeam({L, L});
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::make_unique<CLoadUDL>(0, w));
    loads.push_back(std::make_unique<CLoadUDL>(1, w));
    CBeamResults res = Solve(beam, loads);

    ASSERT_EQ(res.m_vMbrRes.size(), 2u);
    const double Ms = -w * L * L / 8;
    EXPECT_NEAR(res.m_vMbrRes[0].M[kLastIn], Ms, Rel(Ms));
    EXPECT_NEAR(res.m_vMbrRes[1].M[1], Ms, Rel(Ms));
    // The second member's positions continue along the beam.
    EXPECT_NEAR(res.m_vMbrRes[1].x[0], L, 1e-12);
    EXPECT_NEAR(res.m_vMbrRes[1].x[kLast], 2 * L, 1e-12);

    ASSERT_EQ(res.m_vReactions.size(), 3u);
    EXPECT_NEAR(res.m_vReactions[0], 0.375 * w * L, Rel(w * L));
    EXPECT_NEAR(res.m_vReactions[1], 1.25 * w * L, Rel(w * L));
    EXPECT_NEAR(res.m_vReactions[2], 0.375 * w * L, Rel(w * L));

    // Deflection over the middle support is zero; slope there is zero by symmetry.
    EXPECT_NEAR(res.m_vMbrRes[0].D[kLastIn], 0.0, 1e-9);
    EXPECT_NEAR(res.m_vMbrRes[1].R[1], 0.0, 1e-9);
}

TEST(BeamClosedForm, ThreeSpansRatioUniformLoad)
{
    const double L = 20.0, w = 5.0;
    CBeam beam = MakeBridgeBeam({0.75 * L, L, 0.75 * L});
    std::vector<std::unique_ptr<CLoad>> loads;
    for (std::uint32_t i = 0; i < 3; ++i) loads.push_back(std::make_unique<CLoadUDL>(i, w));
    CBeamResults res = Solve(beam, loads);

    const double Ms = -0.0789931 * w * L * L;
    EXPECT_NEAR(res.m_vMbrRes[0].M[kLastIn], Ms, 1e-6 * std::abs(Ms));
    EXPECT_NEAR(res.m_vMbrRes[1].M[1], Ms, 1e-6 * std::abs(Ms));
    EXPECT_NEAR(res.m_vMbrRes[1].M[kLastIn], Ms, 1e-6 * std::abs(Ms));
    EXPECT_NEAR(res.m_vMbrRes[2].M[1], Ms, 1e-6 * std::abs(Ms));
    // Mid-span of the middle span: wL^2/8 + Ms.
    EXPECT_NEAR(res.m_vMbrRes[1].M[kMid], w * L * L / 8 + Ms, 1e-5 * w * L * L);
    ASSERT_EQ(res.m_vReactions.size(), 4u);
    EXPECT_NEAR(std::accumulate(res.m_vReactions.begin(), res.m_vReactions.end(), 0.0), w * 2.5 * L, 1e-9);
    EXPECT_NEAR(res.m_vReactions[0], res.m_vReactions[3], 1e-9);
}

TEST(BeamClosedForm, PointLoadOnInnerNodeBelongsToLeftSpan)
{
    CBeam beam = MakeBridgeBeam({10.0, 15.0});
    double x = 10.0;
    const int span = beam.GetSpanIndex(x);
    EXPECT_EQ(span, 0);
    EXPECT_EQ(x, 10.0);

    // Placed there, the whole load goes into the middle support with no bending.
    const double P = 120.0;
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::make_unique<CLoadPL>(static_cast<std::uint32_t>(span), P, x));
    CBeamResults res = Solve(beam, loads);
    ASSERT_EQ(res.m_vReactions.size(), 3u);
    EXPECT_NEAR(res.m_vReactions[0], 0.0, 1e-9);
    EXPECT_NEAR(res.m_vReactions[1], P, 1e-9);
    EXPECT_NEAR(res.m_vReactions[2], 0.0, 1e-9);
    for (const CMbrResults& m : res.m_vMbrRes)
        for (double M : m.M) EXPECT_NEAR(M, 0.0, 1e-9);
}

TEST(BeamClosedForm, PointLoadShearStepsAtTheLoad)
{
    // At x exactly a the shear already equals Ra - P.
    CLoadPL pl(0, 30.0, 4.0);
    CMbrResults r = pl.GetMemberResults({0.0, 1.0, 4.0, 7.0, 10.0}, 10.0);
    EXPECT_DOUBLE_EQ(r.V[1], 18.0);
    EXPECT_DOUBLE_EQ(r.V[2], -12.0);
    EXPECT_DOUBLE_EQ(r.V[3], -12.0);
    EXPECT_DOUBLE_EQ(r.M[2], 72.0);
    EXPECT_DOUBLE_EQ(pl.GetB(), 6.0);
    EXPECT_EQ(r.M[0], 0.0);
    EXPECT_EQ(r.V[4], 0.0);
    EXPECT_EQ(r.x, (std::vector<double>{0.0, 1.0, 4.0, 7.0, 10.0}));
}

TEST(BeamClosedForm, FixedEndActions)
{
    const double L = 10.0;
    CLoadUDL udl(0, 6.0);
    auto u = udl.GetFixedEndActions(L);
    EXPECT_DOUBLE_EQ(u[0], 50.0);
    EXPECT_DOUBLE_EQ(u[1], -50.0);
    EXPECT_DOUBLE_EQ(u[2], 30.0);
    EXPECT_DOUBLE_EQ(u[3], 30.0);

    // Point load P at a: Pab^2/L^2, -Pa^2b/L^2, Pb^2(3a+b)/L^3, Pa^2(a+3b)/L^3.
    CLoadPL pl(0, 100.0, 2.0);
    auto p = pl.GetFixedEndActions(L);
    EXPECT_DOUBLE_EQ(p[0], 100.0 * 2 * 64 / 100);
    EXPECT_DOUBLE_EQ(p[1], -100.0 * 4 * 8 / 100);
    EXPECT_DOUBLE_EQ(p[2], 100.0 * 64 * (6 + 8) / 1000);
    EXPECT_DOUBLE_EQ(p[3], 100.0 * 4 * (2 + 24) / 1000);

    // A partial load covering the whole member equals the uniform load.
    CLoadPUDL full(0, 6.0, 0.0, L);
    auto f = full.GetFixedEndActions(L);
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(f[i], u[i], 1e-12);

    // A point load beyond the member end returns the stored values.
    CLoadPL beyond(0, 100.0, 12.0);
    auto z = beyond.GetFixedEndActions(L);
    for (double v : z) EXPECT_EQ(v, 0.0);
    beyond.SetFixedEndActionsBeyond({1.0, 2.0, 3.0, 4.0});
    EXPECT_EQ(beyond.GetFixedEndActions(L)[3], 4.0);

    CLoadMaMb mm(0, 10.0, 30.0);
    auto e = mm.GetFixedEndActions(L);
    EXPECT_DOUBLE_EQ(e[2], 4.0);
    EXPECT_DOUBLE_EQ(e[3], -4.0);
}

TEST(BeamClosedForm, PartialLoadMatchesSimplySupportedStatics)
{
    // w = 10 from a = 2 over c = 4 on L = 10: Ra = 10*4*(10-4)/10 = 24.
    const double L = 10.0, w = 10.0;
    CLoadPUDL pudl(0, w, 2.0, 4.0);
    CMbrResults r = pudl.GetMemberResults({0.0, 0.0, 2.0, 4.0, 6.0, 8.0, 10.0}, L);
    EXPECT_DOUBLE_EQ(r.V[1], 24.0);
    EXPECT_DOUBLE_EQ(r.M[2], 48.0);
    EXPECT_DOUBLE_EQ(r.M[3], 24.0 * 4 - 10.0 * 4 / 2);
    EXPECT_DOUBLE_EQ(r.V[4], 24.0 - 40.0);
    EXPECT_DOUBLE_EQ(r.M[5], 16.0 * 2);
    EXPECT_NEAR(r.D[6], 0.0, 1e-9);
    EXPECT_EQ(r.D[1], 0.0);
}

TEST(BeamClosedForm, PartialLoadCoverIsCutAtMemberEnd)
{
    const double L = 10.0;
    CLoadPUDL longer(0, 7.0, 8.0, 5.0);
    CLoadPUDL cut(0, 7.0, 8.0, 2.0);
    auto a = longer.GetFixedEndActions(L);
    auto b = cut.GetFixedEndActions(L);
    for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(a[i], b[i]);
    EXPECT_EQ(longer.GetCover(), 5.0);

    const std::vector<double> x{0.0, 0.0, 2.5, 5.0, 7.5, 9.0, 10.0, 10.0};
    CMbrResults ra = longer.GetMemberResults(x, L);
    CMbrResults rb = cut.GetMemberResults(x, L);
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        EXPECT_DOUBLE_EQ(ra.M[i], rb.M[i]);
        EXPECT_DOUBLE_EQ(ra.V[i], rb.V[i]);
        EXPECT_DOUBLE_EQ(ra.R[i], rb.R[i]);
        EXPECT_DOUBLE_EQ(ra.D[i], rb.D[i]);
    }
    // Total load 14 at 9 m: Ra = 14 * 1 / 10.
    EXPECT_NEAR(rb.V[2], 1.4, 1e-12);
    EXPECT_EQ(longer.GetCover(), 5.0);

    // A partial load starting beyond the member has no effect on it.
    CLoadPUDL beyond(0, 7.0, 11.0, 3.0);
    CMbrResults rz = beyond.GetMemberResults(x, L);
    for (std::size_t i = 0; i < x.size(); ++i)
    {
        EXPECT_EQ(rz.M[i], 0.0);
        EXPECT_EQ(rz.D[i], 0.0);
    }
}

TEST(BeamClosedForm, ProppedCantileverByRotationalRestraint)
{
    // Left end fixed in rotation too (-1.0 on DOF 1): a propped cantilever under UDL has
    // a fixed-end moment -wL^2/8 and reactions 5wL/8 and 3wL/8. The fixed rotation also
    // reports its reaction (the fixing moment wL^2/8, anticlockwise).
    const double L = 12.0, w = 4.0;
    CBeam beam = MakeBridgeBeam({L});
    beam.SetRestraints({-1.0, -1.0, -1.0, 0.0});
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::make_unique<CLoadUDL>(0, w));
    CBeamResults res = Solve(beam, loads);
    ASSERT_EQ(res.m_vReactions.size(), 3u);
    EXPECT_NEAR(res.m_vReactions[0], 5 * w * L / 8, 1e-9);
    EXPECT_NEAR(res.m_vReactions[1], w * L * L / 8, 1e-9);
    EXPECT_NEAR(res.m_vReactions[2], 3 * w * L / 8, 1e-9);
    EXPECT_NEAR(res.m_vMbrRes[0].M[1], -w * L * L / 8, 1e-9);
}

TEST(BeamClosedForm, EquilibriumForLoadsAnywhere)
{
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    const std::vector<std::vector<double>> configs{{20.0}, {15.0, 15.0}, {9.0, 12.0, 9.0}, {7.5, 13.0, 4.0, 22.0}};
    for (const auto& spans : configs)
    {
        CBeam beam = MakeBridgeBeam(spans);
        for (int trial = 0; trial < 60; ++trial)
        {
            std::vector<std::unique_ptr<CLoad>> loads;
            double total = 0.0;
            const int nLoads = 1 + static_cast<int>(U(rng) * 6);
            for (int k = 0; k < nLoads; ++k)
            {
                const double mag = 1.0 + 100.0 * U(rng);
                double x = U(rng) * beam.m_Length;
                const int span = beam.GetSpanIndex(x);
                if (span < 0) continue;
                const std::uint32_t s = static_cast<std::uint32_t>(span);
                const double L = spans[s];
                switch (k % 3)
                {
                case 0:
                    loads.push_back(std::make_unique<CLoadPL>(s, mag, x));
                    total += mag;
                    break;
                case 1:
                    loads.push_back(std::make_unique<CLoadUDL>(s, mag));
                    total += mag * L;
                    break;
                default: {
                    const double c = U(rng) * 1.5 * L; // may run past the member end
                    loads.push_back(std::make_unique<CLoadPUDL>(s, mag, x, c));
                    total += mag * std::min(c, L - x);
                    break;
                }
                }
            }
            CBeamResults res = Solve(beam, loads, 24);
            ASSERT_EQ(res.m_vReactions.size(), spans.size() + 1);
            const double sum = std::accumulate(res.m_vReactions.begin(), res.m_vReactions.end(), 0.0);
            EXPECT_NEAR(sum, total, 1e-8 * (1.0 + total)) << "spans " << spans.size() << " trial " << trial;
            // Every result point lies on the beam and every value is finite.
            for (const CMbrResults& m : res.m_vMbrRes)
                for (std::size_t i = 0; i < m.x.size(); ++i)
                {
                    EXPECT_GE(m.x[i], 0.0);
                    EXPECT_LE(m.x[i], beam.m_Length + 1e-9);
                    EXPECT_TRUE(std::isfinite(m.M[i]) && std::isfinite(m.D[i]));
                }
        }
    }
}

TEST(BeamClosedForm, MomentAtEveryPointOfSimpleSpan)
{
    // Whole diagram of a simple span under UDL against M(x) = wx(L-x)/2, V(x) = w(L/2 - x).
    const double L = 18.0, w = 3.0;
    CBeam beam = MakeBridgeBeam({L});
    std::vector<std::unique_ptr<CLoad>> loads;
    loads.push_back(std::make_unique<CLoadUDL>(0, w));
    CBeamResults res = Solve(beam, loads, 30);
    const CMbrResults& m = res.m_vMbrRes[0];
    ASSERT_EQ(m.x.size(), 33u);
    for (std::size_t i = 1; i + 1 < m.x.size(); ++i)
    {
        const double x = m.x[i];
        EXPECT_NEAR(m.M[i], w * x * (L - x) / 2, 1e-9);
        EXPECT_NEAR(m.V[i], w * (L / 2 - x), 1e-9);
    }
}
