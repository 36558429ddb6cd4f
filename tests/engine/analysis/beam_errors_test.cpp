// Beam model: thrown texts, restraint codes, span lookup and result containers.
#include "beam_test_util.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/Load.h"
#include "engine/settings/Settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>

using namespace beamtest;

namespace {

CBeamResults SolveUDL(const CBeam& beam, double w, int n = 20)
{
    std::vector<std::unique_ptr<CLoad>> own;
    std::vector<CLoad*> raw;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(beam.m_nSpans); ++i)
    {
        own.push_back(std::make_unique<CLoadUDL>(i, w));
        raw.push_back(own.back().get());
    }
    return CBeamAnalysis(&beam, raw, n).Analyse();
}

} // namespace

TEST(BeamErrors, SpanAndRestraintTexts)
{
    CBeam mismatch = MakeBridgeBeam({10.0, 10.0});
    mismatch.m_vEI.pop_back();
    EXPECT_EQ(ThrownText([&] { CBeamAnalysis(&mismatch, {}, 10); }), "Incorrect span information");
    EXPECT_EQ(ThrownText([&] { CBeamSolver(mismatch, 10); }), "Incorrect span information");

    CBeam none;
    none.m_vR = {-1.0, 0.0};
    EXPECT_EQ(ThrownText([&] { CBeamAnalysis(&none, {}, 10); }), "Incorrect span information");
    EXPECT_EQ(ThrownText([&] { CBeamSolver(none, 10); }), "Incorrect span information");

    CBeam zeroSpan = MakeBridgeBeam({10.0, 0.0});
    EXPECT_EQ(ThrownText([&] { CBeamAnalysis(&zeroSpan, {}, 10); }), "Incorrect span information");
    CBeam zeroEI = MakeBridgeBeam({10.0});
    zeroEI.m_vEI[0] = 0.0;
    EXPECT_EQ(ThrownText([&] { CBeamAnalysis(&zeroEI, {}, 10); }), "Incorrect span information");

    CBeam badR = MakeBridgeBeam({10.0, 10.0});
    badR.m_vR.pop_back();
    EXPECT_EQ(ThrownText([&] { CBeamAnalysis(&badR, {}, 10); }), "Incorrect restraint information");
    EXPECT_EQ(ThrownText([&] { CBeamSolver(badR, 10); }), "Incorrect restraint information");

    // Span information is checked before restraints.
    mismatch.m_vR.clear();
    EXPECT_EQ(ThrownText([&] { CBeamAnalysis(&mismatch, {}, 10); }), "Incorrect span information");
}

TEST(BeamErrors, LoadOnMissingSpanIsAnIndexError)
{
    CBeam beam = MakeBridgeBeam({10.0, 10.0});
    CLoadUDL load(2, 5.0);
    EXPECT_EQ(OutOfRangeText([&] { CBeamAnalysis(&beam, {&load}, 10).Analyse(); }), "invalid vector<T> subscript");
    CBeamSolver solver(beam, 10);
    EXPECT_EQ(OutOfRangeText([&] { solver.Solve(std::vector<CLoad*>{&load}); }), "invalid vector<T> subscript");
}

TEST(BeamErrors, ResultKindTexts)
{
    CBeam beam = MakeBridgeBeam({10.0});
    CBeamResults res = SolveUDL(beam, 1.0);
    std::vector<double> x, y;
    EXPECT_EQ(ThrownText([&] { res.GetResults(x, y, 4); }), "Error in choice of BeamResultsType");
    EXPECT_EQ(ThrownText([&] { res.GetResults(x, y, BRT_ALL); }), "Error in choice of BeamResultsType");
    EXPECT_EQ(ThrownText([&] { res.GetResults(x, y, -1); }), "Error in choice of BeamResultsType");
    EXPECT_EQ(ThrownText([&] { res.GetResults(x, y, BRT_DEFLECTION); }), "");

    CMbrResults a(5), b(6);
    EXPECT_EQ(ThrownText([&] { a += b; }), "Results vectors different size");
    CMbrResults c(5);
    c.D.pop_back();
    EXPECT_EQ(ThrownText([&] { c += a; }), "Results vectors different size");
    CMbrResults ok(5);
    EXPECT_EQ(ThrownText([&] { ok += a; }), "");
}

TEST(BeamErrors, RestraintsOtherThanMinusOneGiveNoReaction)
{
    // -2.0 holds the middle support like -1.0, but reports no reaction.
    const double w = 10.0, L = 10.0;
    CBeam rigid = MakeBridgeBeam({L, L});
    CBeam held = rigid;
    held.SetRestraints({-1.0, 0.0, -2.0, 0.0, -1.0, 0.0});
    EXPECT_EQ(held.m_nRestraints, 2);
    CBeamResults rr = SolveUDL(rigid, w);
    CBeamResults rh = SolveUDL(held, w);
    ASSERT_EQ(rr.m_vReactions.size(), 3u);
    ASSERT_EQ(rh.m_vReactions.size(), 2u);
    EXPECT_NEAR(rh.m_vReactions[0], rr.m_vReactions[0], 1e-9);
    EXPECT_NEAR(rh.m_vReactions[1], rr.m_vReactions[2], 1e-9);
    for (std::size_t i = 0; i < 2; ++i)
        for (std::size_t k = 0; k < rr.m_vMbrRes[i].M.size(); ++k)
            EXPECT_NEAR(rh.m_vMbrRes[i].M[k], rr.m_vMbrRes[i].M[k], 1e-9);

    // A spring under the middle node: no reaction entry; the spring carries the rest.
    const double k = 50.0;
    CBeam sprung = rigid;
    sprung.SetRestraints({-1.0, 0.0, k, 0.0, -1.0, 0.0});
    CBeamResults rs = SolveUDL(sprung, w);
    ASSERT_EQ(rs.m_vReactions.size(), 2u);
    const double dMid = rs.m_vMbrRes[1].D[1]; // the node's vertical displacement
    EXPECT_LT(dMid, 0.0);
    const double springForce = -k * dMid;
    EXPECT_NEAR(rs.m_vReactions[0] + rs.m_vReactions[1] + springForce, 2 * w * L, 1e-8);
    EXPECT_GT(rs.m_vReactions[0], rr.m_vReactions[0]);
}

TEST(BeamErrors, SpanIndexLimits)
{
    CBeam beam = MakeBridgeBeam({10.0, 20.0, 10.0});
    ASSERT_DOUBLE_EQ(beam.m_Length, 40.0);
    ASSERT_EQ(beam.m_nSpans, 3);

    double x = 0.0005;
    EXPECT_EQ(beam.GetSpanIndex(x), -1);
    EXPECT_EQ(x, 0.0005);
    x = 40.0 - 0.0005;
    EXPECT_EQ(beam.GetSpanIndex(x), -1);
    x = -3.0;
    EXPECT_EQ(beam.GetSpanIndex(x), -1);
    x = 41.0;
    EXPECT_EQ(beam.GetSpanIndex(x), -1);

    x = 0.001;
    EXPECT_EQ(beam.GetSpanIndex(x), 0);
    EXPECT_DOUBLE_EQ(x, 0.001);
    x = 40.0 - 0.001;
    EXPECT_EQ(beam.GetSpanIndex(x), 2);
    EXPECT_NEAR(x, 10.0 - 0.001, 1e-12);
    x = 30.0; // inner node: left span
    EXPECT_EQ(beam.GetSpanIndex(x), 1);
    EXPECT_DOUBLE_EQ(x, 20.0);
    x = 30.5;
    EXPECT_EQ(beam.GetSpanIndex(x), 2);
    EXPECT_DOUBLE_EQ(x, 0.5);

    CBeam empty;
    x = 1.0;
    EXPECT_EQ(empty.GetSpanIndex(x), -1);
}

TEST(BeamErrors, RestraintPositionsAndEvents)
{
    CBeam beam = MakeBridgeBeam({10.0, 20.0, 10.0});
    EXPECT_EQ(beam.m_nRestraints, 4);
    EXPECT_EQ(beam.GetRestraintPosition(0), 0.0);
    EXPECT_EQ(beam.GetRestraintPosition(1), 10.0);
    EXPECT_EQ(beam.GetRestraintPosition(2), 30.0);
    EXPECT_EQ(beam.GetRestraintPosition(3), 40.0);
    EXPECT_EQ(OutOfRangeText([&] { beam.GetRestraintPosition(4); }), "invalid vector<T> subscript");
    EXPECT_EQ(OutOfRangeText([&] { beam.GetRestraintPosition(-1); }), "invalid vector<T> subscript");

    // A -2.0 or a spring does not count.
    beam.SetRestraints({-1.0, 0.0, -2.0, 0.0, 5.0, 0.0, -1.0, 0.0});
    EXPECT_EQ(beam.m_nRestraints, 2);
    EXPECT_EQ(beam.GetRestraintPosition(1), 40.0);

    EXPECT_EQ(beam.GetEventPositions(), (std::vector<double>{1.0, 9.0, 11.0, 29.0, 31.0, 39.0}));
    EXPECT_EQ(beam.GetL(), (std::vector<double>{10.0, 20.0, 10.0}));
    EXPECT_EQ(beam.GetEI().size(), 3u);
    EXPECT_EQ(beam.GetR().size(), 8u);
}

TEST(BeamErrors, ClearResults)
{
    CBeam beam = MakeBridgeBeam({10.0, 10.0});
    CBeamResults res = SolveUDL(beam, 2.0);
    const std::vector<double> x0 = res.m_vMbrRes[1].x;

    CBeamResults moment = res;
    moment.ClearResults(BRT_MOMENT);
    for (const auto& m : moment.m_vMbrRes)
    {
        for (double v : m.M) EXPECT_EQ(v, 0.0);
        EXPECT_NE(std::accumulate(m.D.begin(), m.D.end(), 0.0), 0.0);
    }
    EXPECT_NE(moment.m_vReactions[1], 0.0);

    CBeamResults shear = res;
    shear.ClearResults(1);
    for (const auto& m : shear.m_vMbrRes)
    {
        for (double v : m.V) EXPECT_EQ(v, 0.0);
        EXPECT_NE(std::accumulate(m.M.begin(), m.M.end(), 0.0), 0.0);
    }

    CBeamResults reactions = res;
    reactions.ClearResults(BRT_REACTIONS);
    for (double r : reactions.m_vReactions) EXPECT_EQ(r, 0.0);
    EXPECT_EQ(reactions.m_vMbrRes[0].M, res.m_vMbrRes[0].M);

    CBeamResults all = res;
    all.ClearResults(BRT_ALL);
    for (const auto& m : all.m_vMbrRes)
    {
        ASSERT_EQ(m.M.size(), m.x.size());
        for (std::size_t i = 0; i < m.x.size(); ++i)
        {
            EXPECT_EQ(m.M[i], 0.0);
            EXPECT_EQ(m.V[i], 0.0);
            EXPECT_EQ(m.R[i], 0.0);
            EXPECT_EQ(m.D[i], 0.0);
        }
    }
    EXPECT_EQ(all.m_vMbrRes[1].x, x0);
    for (double r : all.m_vReactions) EXPECT_EQ(r, 0.0);

    // Clear(5) re-sizes the values to the positions.
    CMbrResults m(4);
    m.M.resize(2);
    m.Clear(BRT_ALL);
    EXPECT_EQ(m.M.size(), 4u);
    EXPECT_EQ(ThrownText([&] { all.ClearResults(6); }), "Error in choice of BeamResultsType");
}

TEST(BeamErrors, GetResultsConcatenatesMembers)
{
    CBeam beam = MakeBridgeBeam({10.0, 15.0});
    CBeamResults res = SolveUDL(beam, 1.0, 10);
    std::vector<double> x{99.0}, y{99.0, 98.0};
    res.GetResults(x, y, BRT_SHEAR);
    ASSERT_EQ(x.size(), 26u);
    ASSERT_EQ(y.size(), 26u);
    EXPECT_EQ(x[0], 0.0);
    EXPECT_EQ(x[13], 10.0);
    EXPECT_EQ(x[25], 25.0);
    EXPECT_EQ(y[14], res.m_vMbrRes[1].V[1]);
    res.GetResults(x, y, BRT_ROTATION);
    EXPECT_EQ(y[3], res.m_vMbrRes[0].R[3]);
    EXPECT_EQ(res.GetReactions(), res.m_vReactions);

    // The result keeps its own copy of the beam.
    ASSERT_TRUE(res.GetBeam());
    EXPECT_EQ(res.GetBeam()->m_vL, beam.m_vL);
    beam.m_vL[0] = 1.0;
    EXPECT_EQ(res.GetBeam()->m_vL[0], 10.0);
}

TEST(BeamErrors, PointCountComesFromSettings)
{
    CSettings* s = CSettings::GetInstance();
    const int saved = s->Analysis.NPOINTS_ALONG_BEAM;
    s->Analysis.NPOINTS_ALONG_BEAM = 36;
    CBeam beam = MakeBridgeBeam({10.0, 12.0});
    CLoadUDL udl(1, 3.0);
    CBeamAnalysis analysis(&beam, {&udl});
    s->Analysis.NPOINTS_ALONG_BEAM = saved;
    EXPECT_EQ(analysis.GetPointsPerSpan(), 36);
    CBeamResults res = analysis.Analyse();
    EXPECT_EQ(res.m_vMbrRes[0].x.size(), 39u);
    EXPECT_EQ(res.m_vMbrRes[1].x.size(), 39u);

    // A point count below one is taken as one rather than dividing by zero.
    CBeamResults one = CBeamAnalysis(&beam, {&udl}, 0).Analyse();
    EXPECT_EQ(one.m_vMbrRes[0].x, (std::vector<double>{0.0, 0.0, 10.0, 10.0}));
    for (const auto& m : one.m_vMbrRes)
        for (double v : m.M) EXPECT_TRUE(std::isfinite(v));
}
