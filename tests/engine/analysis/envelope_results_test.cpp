// Envelope results: adding positions, augmenting, superposition and scaling.
#include "engine/analysis/EnvelopeResults.h"

#include "engine/analysis/BeamAnalysis.h"
#include "envelope_test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <stdexcept>

using envtest::MakeBridge;
using envtest::MakeLM;
using envtest::OneSpan;

namespace {

const std::vector<double> kZeros5 = {0.0, 0.0, 0.0, 0.0, 0.0};
const std::vector<double> kX5 = {0.0, 0.0, 5.0, 10.0, 10.0};

void ExpectPoint(const PointLoadEffect& p, double val, double xBeam, double xLM, int type,
                 const std::shared_ptr<CLoadModel>& lm)
{
    EXPECT_EQ(val, p.val);
    EXPECT_EQ(xBeam, p.xBeam);
    EXPECT_EQ(xLM, p.xLoadModel);
    EXPECT_EQ(type, static_cast<int>(p.type));
    EXPECT_EQ(lm.get(), p.pLM);
}

// A moving-load result on a one-span bridge: at position i the reactions are r0(i), r1(i),
// and the moments are the same M at every position.
template <class R0, class R1>
std::shared_ptr<CEnvelopeResults> History(const std::shared_ptr<CBridge>& bridge, int n,
                                          const std::shared_ptr<CLoadModel>& lm, const std::vector<double>& M, R0 r0,
                                          R1 r1)
{
    auto res = std::make_shared<CEnvelopeResults>(bridge);
    for (int i = 0; i < n; ++i) res->AddResult(OneSpan(*bridge, M, kZeros5, {r0(i), r1(i)}), lm, double(i));
    return res;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeResultsTest, ConstructionSharesBridgeAndBeamWithoutEnvelopes)
{
    auto bridge = MakeBridge(2, 10.0);
    CEnvelopeResults res(bridge);
    EXPECT_EQ(bridge, res.GetBridge());
    EXPECT_EQ(bridge->GetBeam(), res.GetBeam());
    EXPECT_EQ(3u, res.m_nReactions);
    EXPECT_EQ(0, res.m_nAnalyses);
    EXPECT_EQ(0, res.m_nAugments);
    EXPECT_EQ(0, res.m_nBeamResults);
    EXPECT_EQ(nullptr, res.GetBMEnvelope());
    EXPECT_EQ(nullptr, res.GetSFEnvelope());
    EXPECT_TRUE(res.GetEnvReactions().empty());

    CEnvelopeResults empty;
    EXPECT_EQ(nullptr, empty.GetBridge());
    EXPECT_EQ(nullptr, empty.GetBeam());
    EXPECT_EQ(0u, empty.m_nReactions);
}

TEST(EnvelopeResultsTest, OnePositionWithAllNegativeMoments)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    CEnvelopeResults res(bridge);
    const std::vector<double> M = {-1.0, -2.0, -3.0, -4.0, -5.0};
    const std::vector<double> V = {2.0, 2.0, -1.0, -1.0, -1.0};
    auto beamResults = OneSpan(*bridge, M, V, {6.0, -2.0});
    res.AddResult(beamResults, lm, 3.0);

    auto bm = res.GetBMEnvelope();
    ASSERT_NE(nullptr, bm);
    EXPECT_EQ(BRT_MOMENT, bm->m_Type);
    EXPECT_EQ(bridge, bm->m_pBridge);
    ASSERT_EQ(5u, bm->m_vMax.size());
    ASSERT_EQ(5u, bm->m_vMin.size());
    for (std::size_t i = 0; i < 5; ++i)
    {
        ExpectPoint(bm->m_vMax[i], 0.0, kX5[i], 3.0, 0, nullptr); // zero points, no load model
        ExpectPoint(bm->m_vMin[i], M[i], kX5[i], 3.0, 0, lm);
    }

    auto sf = res.GetSFEnvelope();
    EXPECT_EQ(BRT_SHEAR, sf->m_Type);
    ExpectPoint(sf->m_vMax[0], 2.0, 0.0, 3.0, 1, lm);
    ExpectPoint(sf->m_vMin[0], 0.0, 0.0, 3.0, 1, nullptr);
    ExpectPoint(sf->m_vMax[3], 0.0, 10.0, 3.0, 1, nullptr);
    ExpectPoint(sf->m_vMin[3], -1.0, 10.0, 3.0, 1, lm);

    // Reaction zero points keep the position's load model.
    ASSERT_EQ(2u, res.m_vEnvReaction.size());
    auto r0 = res.GetReactionEnvelope(0);
    auto r1 = res.GetReactionEnvelope(1);
    EXPECT_EQ(BRT_REACTIONS, r0->m_Type);
    ASSERT_EQ(1u, r0->m_vMax.size());
    ExpectPoint(r0->m_vMax[0], 6.0, 0.0, 3.0, 4, lm);
    ExpectPoint(r0->m_vMin[0], 0.0, 0.0, 3.0, 4, lm);
    ExpectPoint(r1->m_vMax[0], 0.0, 10.0, 3.0, 4, lm);
    ExpectPoint(r1->m_vMin[0], -2.0, 10.0, 3.0, 4, lm);
    EXPECT_EQ(nullptr, res.GetReactionEnvelope(2));

    EXPECT_EQ(1, res.m_nAnalyses);
    EXPECT_EQ(1, res.m_nBeamResults);
    // The position's moment and shear lines are kept, as the result gives them.
    ASSERT_EQ(1u, res.GetKeptPositions().GetCount());
    for (BeamResultsType kind : {BRT_MOMENT, BRT_SHEAR})
    {
        std::vector<double> x, y, keptX, keptY;
        beamResults->GetResults(x, y, kind);
        res.GetKeptPositions().GetLine(0, kind, keptX, keptY);
        EXPECT_EQ(x, keptX);
        EXPECT_EQ(y, keptY);
    }
}

TEST(EnvelopeResultsTest, EqualGreatestValuesKeepTheEarlierPosition)
{
    auto bridge = MakeBridge();
    auto a = MakeLM(1, L"A");
    auto b = MakeLM(2, L"B");
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, {0.0, 0.0, 7.0, 0.0, 0.0}, kZeros5, {1.0, 1.0}), a, 1.0);
    res.AddResult(OneSpan(*bridge, {0.0, 0.0, 7.0, 1.0, 0.0}, kZeros5, {1.0, 1.0}), b, 2.0);
    auto bm = res.GetBMEnvelope();
    ExpectPoint(bm->m_vMax[2], 7.0, 5.0, 1.0, 0, a);  // tie: the first position stays
    ExpectPoint(bm->m_vMax[3], 1.0, 10.0, 2.0, 0, b); // strictly greater: replaced
    // A value of exactly 0.0 is the position's own point, not a zero point.
    ExpectPoint(bm->m_vMax[0], 0.0, 0.0, 1.0, 0, a);
    ExpectPoint(bm->m_vMin[0], 0.0, 0.0, 1.0, 0, a);
    // A positive value makes a zero point for the minima, which a later zero does not replace.
    ExpectPoint(bm->m_vMin[2], 0.0, 5.0, 1.0, 0, nullptr);
    ExpectPoint(bm->m_vMin[3], 0.0, 10.0, 1.0, 0, a);
}

TEST(EnvelopeResultsTest, NegativeZeroMomentIsKeptAsItsOwnPoint)
{
    auto bridge = MakeBridge();
    auto a = MakeLM(1, L"A");
    auto b = MakeLM(2, L"B");
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, {-0.0, -0.0, -0.0, -0.0, -0.0}, kZeros5, {0.0, 0.0}), a, 1.0);
    res.AddResult(OneSpan(*bridge, {0.0, 0.0, 0.0, 0.0, 0.0}, kZeros5, {0.0, 0.0}), b, 2.0);
    for (const auto* list : {&res.GetBMEnvelope()->m_vMax, &res.GetBMEnvelope()->m_vMin})
    {
        EXPECT_TRUE(std::signbit((*list)[2].val));
        EXPECT_EQ(a.get(), (*list)[2].pLM);
        EXPECT_EQ(1.0, (*list)[2].xLoadModel);
    }
}

TEST(EnvelopeResultsTest, ReactionOfExactlyZeroAppendsZeroPointWithLoadModelToBothLists)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, kZeros5, kZeros5, {0.0, -0.0}), lm, 4.5);
    for (unsigned s = 0; s < 2; ++s)
    {
        auto env = res.GetReactionEnvelope(s);
        for (const PointLoadEffect& p : {env->m_vMax[0], env->m_vMin[0]})
        {
            ExpectPoint(p, 0.0, s == 0 ? 0.0 : 10.0, 4.5, 4, lm);
            EXPECT_FALSE(std::signbit(p.val));
        }
    }
}

TEST(EnvelopeResultsTest, EightyPositionsMakeEightyPointReactionHistories)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    auto res = History(
        bridge, 80, lm, {0.0, 0.0, 1.0, 0.0, 0.0}, [](int i) { return 80.0 - i; }, [](int i) { return i - 40.0; });
    EXPECT_EQ(80, res->m_nAnalyses);
    EXPECT_EQ(80, res->m_nBeamResults);
    EXPECT_EQ(80u, res->GetKeptPositions().GetCount());
    for (unsigned s = 0; s < 2; ++s)
    {
        EXPECT_EQ(80u, res->GetReactionEnvelope(s)->m_vMax.size());
        EXPECT_EQ(80u, res->GetReactionEnvelope(s)->m_vMin.size());
    }
    auto r1 = res->GetReactionEnvelope(1);
    ExpectPoint(r1->m_vMax[10], 0.0, 10.0, 10.0, 4, lm);
    ExpectPoint(r1->m_vMin[10], -30.0, 10.0, 10.0, 4, lm);
    ExpectPoint(r1->m_vMax[50], 10.0, 10.0, 50.0, 4, lm);
    ExpectPoint(r1->m_vMin[50], 0.0, 10.0, 50.0, 4, lm);
    // Moment and shear envelopes keep one point per result point.
    EXPECT_EQ(5u, res->GetBMEnvelope()->m_vMax.size());
    ExpectPoint(res->GetBMEnvelope()->m_vMax[2], 1.0, 5.0, 0.0, 0, lm);
}

TEST(EnvelopeResultsTest, BeamResultWithTooFewReactionsThrowsAndLeavesTheEnvelopes)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, {0.0, 0.0, 1.0, 0.0, 0.0}, kZeros5, {1.0, 1.0}), lm, 0.0);
    EXPECT_THROW(res.AddResult(OneSpan(*bridge, {0.0, 0.0, 9.0, 0.0, 0.0}, kZeros5, {1.0}), lm, 1.0),
                 std::out_of_range);
    EXPECT_EQ(1.0, res.GetBMEnvelope()->m_vMax[2].val);
    EXPECT_EQ(1u, res.GetReactionEnvelope(0)->m_vMax.size());
}

// The maxima are merged whole before the minima: a line long enough for the maxima but short of
// the minima changes the maxima, leaves the minima, shear and reactions, and throws.
TEST(EnvelopeResultsTest, LineShortOfTheMinimaMergesTheMaximaOnlyThenThrows)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    auto lm2 = MakeLM(2, L"B");
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, {0.0, 0.0, 1.0, -1.0, 0.0}, kZeros5, {1.0, 1.0}), lm, 0.0);
    res.GetBMEnvelope()->m_vMin.push_back(PointLoadEffect(-0.5, 12.0, 0.0, BRT_MOMENT, lm.get()));
    EXPECT_THROW(
        res.AddResult(OneSpan(*bridge, {0.0, 0.0, 9.0, -9.0, 0.0}, {0.0, 3.0, 0.0, 0.0, 0.0}, {2.0, 2.0}), lm2, 7.0),
        std::out_of_range);
    ExpectPoint(res.GetBMEnvelope()->m_vMax[2], 9.0, 5.0, 7.0, 0, lm2);
    ExpectPoint(res.GetBMEnvelope()->m_vMin[3], -1.0, 10.0, 0.0, 0, lm);
    EXPECT_EQ(6u, res.GetBMEnvelope()->m_vMin.size());
    EXPECT_EQ(0.0, res.GetSFEnvelope()->m_vMax[1].val);
    EXPECT_EQ(1u, res.GetReactionEnvelope(0)->m_vMax.size());
}

// ---------------------------------------------------------------------------------------------
// A point load of 100 kN moved across a 10 m simple span: closed-form results.

TEST(EnvelopeResultsTest, MovingPointLoadOnSimpleSpanMatchesClosedForm)
{
    auto bridge = MakeBridge(1, 10.0);
    auto lm = MakeLM(1, L"100 kN axle");
    CEnvelopeResults res(bridge);
    for (int a = 1; a <= 9; ++a)
    {
        CLoadPL load(0, 100.0, double(a));
        CBeamAnalysis analysis(bridge->GetBeam().get(), {&load}, 10); // points at 0, 0, 1, ..., 10, 10
        res.AddResult(std::make_shared<CBeamResults>(analysis.Analyse()), lm, double(a));
    }
    auto bm = res.GetBMEnvelope();
    ASSERT_EQ(13u, bm->m_vMax.size());
    // Mid-span: PL/4 = 250 kNm with the load at 5 m.
    EXPECT_EQ(5.0, bm->m_vMax[6].xBeam);
    EXPECT_NEAR(250.0, bm->m_vMax[6].val, 1e-9);
    EXPECT_EQ(5.0, bm->m_vMax[6].xLoadModel);
    EXPECT_EQ(lm.get(), bm->m_vMax[6].pLM);
    // At 2 m: P(L - a)x/L for a >= x, greatest with a = 2: 160 kNm.
    EXPECT_NEAR(160.0, bm->m_vMax[3].val, 1e-9);
    EXPECT_EQ(2.0, bm->m_vMax[3].xLoadModel);
    // Sagging only: the minima inside the span are zero points.
    EXPECT_EQ(0.0, bm->m_vMin[6].val);
    EXPECT_EQ(nullptr, bm->m_vMin[6].pLM);

    // Shear at 1 m: Ra = P(L - a)/L while the load is beyond it (80 kN with a = 2), Ra - P = -10 kN
    // with the load on it.
    auto sf = res.GetSFEnvelope();
    EXPECT_NEAR(80.0, sf->m_vMax[2].val, 1e-9);
    EXPECT_EQ(2.0, sf->m_vMax[2].xLoadModel);
    EXPECT_NEAR(-10.0, sf->m_vMin[2].val, 1e-9);
    EXPECT_EQ(1.0, sf->m_vMin[2].xLoadModel);

    // Left reaction history: 100(L - a)/L = 90, 80, ..., 10; right support at 10 m.
    auto r0 = res.GetReactionEnvelope(0);
    auto r1 = res.GetReactionEnvelope(1);
    ASSERT_EQ(9u, r0->m_vMax.size());
    for (int a = 1; a <= 9; ++a)
    {
        EXPECT_NEAR(100.0 - 10.0 * a, r0->m_vMax[a - 1].val, 1e-9);
        EXPECT_NEAR(10.0 * a, r1->m_vMax[a - 1].val, 1e-9);
        EXPECT_EQ(0.0, r0->m_vMin[a - 1].val);
        EXPECT_EQ(10.0, r1->m_vMax[a - 1].xBeam);
        EXPECT_EQ(double(a), r1->m_vMax[a - 1].xLoadModel);
    }
}

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeResultsAugmentTest, FirstAugmentTakesACopy)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    auto a = History(
        bridge, 5, lm, {0.0, 0.0, 4.0, 0.0, 0.0}, [](int) { return 1.0; }, [](int) { return -1.0; });
    CEnvelopeResults combined;
    combined.Augment(a);
    EXPECT_EQ(1, combined.m_nAugments);
    EXPECT_EQ(5, combined.m_nAnalyses);
    EXPECT_EQ(0, combined.m_nBeamResults);
    EXPECT_EQ(0u, combined.GetKeptPositions().GetCount());
    EXPECT_EQ(bridge, combined.GetBridge());
    EXPECT_EQ(bridge->GetBeam(), combined.GetBeam());
    EXPECT_EQ(2u, combined.m_nReactions);
    ASSERT_NE(nullptr, combined.GetBMEnvelope());
    EXPECT_NE(a->GetBMEnvelope(), combined.GetBMEnvelope());
    EXPECT_NE(a->GetReactionEnvelope(0), combined.GetReactionEnvelope(0));
    combined.GetBMEnvelope()->m_vMax[2].val = 99.0;
    combined.GetReactionEnvelope(0)->m_vMax[0].val = 99.0;
    EXPECT_EQ(4.0, a->GetBMEnvelope()->m_vMax[2].val);
    EXPECT_EQ(1.0, a->GetReactionEnvelope(0)->m_vMax[0].val);
    EXPECT_EQ(lm.get(), combined.GetReactionEnvelope(1)->m_vMin[4].pLM);
}

TEST(EnvelopeResultsAugmentTest, SixtyPositionsOntoEighty)
{
    auto bridge = MakeBridge();
    auto lmA = MakeLM(1, L"A");
    auto lmB = MakeLM(2, L"B");
    auto a = History(
        bridge, 80, lmA, {0.0, 0.0, 4.0, -1.0, 0.0}, [](int i) { return double(i % 7); },
        [](int i) { return -double(i % 5); });
    auto b = History(
        bridge, 60, lmB, {0.0, 0.0, 5.0, -1.0, 0.0}, [](int) { return 3.0; }, [](int) { return -2.0; });

    CEnvelopeResults combined;
    combined.Augment(a);
    combined.Augment(b);
    EXPECT_EQ(2, combined.m_nAugments);
    EXPECT_EQ(140, combined.m_nAnalyses);

    // The other's own envelopes are untouched (its copies got the zero points).
    EXPECT_EQ(60u, b->GetReactionEnvelope(0)->m_vMax.size());
    EXPECT_EQ(60u, b->GetReactionEnvelope(1)->m_vMin.size());

    auto r0 = combined.GetReactionEnvelope(0);
    auto r1 = combined.GetReactionEnvelope(1);
    ASSERT_EQ(80u, r0->m_vMax.size());
    ASSERT_EQ(80u, r0->m_vMin.size());
    ASSERT_EQ(80u, r1->m_vMax.size());
    ASSERT_EQ(80u, r1->m_vMin.size());
    for (int i = 0; i < 80; ++i)
    {
        const double ai = double(i % 7);
        if (i < 60 && 3.0 > ai)
            ExpectPoint(r0->m_vMax[i], 3.0, 0.0, double(i), 4, lmB);
        else
            ExpectPoint(r0->m_vMax[i], ai, 0.0, double(i), 4, lmA); // ties keep A
        ExpectPoint(r0->m_vMin[i], 0.0, 0.0, double(i), 4, lmA);

        const double ci = -double(i % 5);
        if (i < 60 && -2.0 < ci)
            ExpectPoint(r1->m_vMin[i], -2.0, 10.0, double(i), 4, lmB);
        else
            ExpectPoint(r1->m_vMin[i], ci, 10.0, double(i), 4, lmA);
    }
    // Moments merge point by point; the earlier model keeps ties.
    ExpectPoint(combined.GetBMEnvelope()->m_vMax[2], 5.0, 5.0, 0.0, 0, lmB);
    ExpectPoint(combined.GetBMEnvelope()->m_vMin[3], -1.0, 10.0, 0.0, 0, lmA);
}

TEST(EnvelopeResultsAugmentTest, EightyOntoSixtyExtendsTheCombinedEnvelopes)
{
    auto bridge = MakeBridge();
    auto lmA = MakeLM(1, L"A");
    auto lmB = MakeLM(2, L"B");
    auto a = History(
        bridge, 80, lmA, kZeros5, [](int i) { return double(i % 7); }, [](int) { return 0.0; });
    auto b = History(
        bridge, 60, lmB, kZeros5, [](int) { return 3.0; }, [](int) { return 0.0; });
    CEnvelopeResults combined;
    combined.Augment(b);
    combined.Augment(a);
    auto r0 = combined.GetReactionEnvelope(0);
    ASSERT_EQ(80u, r0->m_vMax.size());
    ASSERT_EQ(80u, r0->m_vMin.size());
    EXPECT_EQ(80u, a->GetReactionEnvelope(0)->m_vMax.size());
    // Beyond 60: A's positive values replace the zero points; where A gives 0.0 the zero point
    // made at A's position stays, without a load model.
    ExpectPoint(r0->m_vMax[61], 5.0, 0.0, 61.0, 4, lmA);
    ExpectPoint(r0->m_vMax[63], 0.0, 0.0, 63.0, 4, nullptr);
    ExpectPoint(r0->m_vMin[70], 0.0, 0.0, 70.0, 4, nullptr);
    // Within 60: B first, A only when strictly greater.
    ExpectPoint(r0->m_vMax[3], 3.0, 0.0, 3.0, 4, lmB);
    ExpectPoint(r0->m_vMax[4], 4.0, 0.0, 4.0, 4, lmA);
}

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeResultsOperatorsTest, ScalingMultipliesEveryValueOnly)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, {0.0, 0.0, 10.0, -5.0, 0.0}, {2.5, 2.5, 0.0, -7.5, 0.0}, {10.0, -2.5}), lm, 6.0);
    const CEnvelopeResults scaled = res * 0.4;
    EXPECT_DOUBLE_EQ(4.0, scaled.GetBMEnvelope()->m_vMax[2].val);
    EXPECT_DOUBLE_EQ(-2.0, scaled.GetBMEnvelope()->m_vMin[3].val);
    EXPECT_DOUBLE_EQ(1.0, scaled.GetSFEnvelope()->m_vMax[0].val);
    EXPECT_DOUBLE_EQ(-3.0, scaled.GetSFEnvelope()->m_vMin[3].val);
    EXPECT_DOUBLE_EQ(4.0, scaled.GetReactionEnvelope(0)->m_vMax[0].val);
    EXPECT_DOUBLE_EQ(-1.0, scaled.GetReactionEnvelope(1)->m_vMin[0].val);
    EXPECT_EQ(5.0, scaled.GetBMEnvelope()->m_vMax[2].xBeam);
    EXPECT_EQ(6.0, scaled.GetBMEnvelope()->m_vMax[2].xLoadModel);
    EXPECT_EQ(lm.get(), scaled.GetBMEnvelope()->m_vMax[2].pLM);
    EXPECT_EQ(1, scaled.m_nAnalyses);
    EXPECT_EQ(1, scaled.m_nBeamResults);
    EXPECT_EQ(bridge, scaled.GetBridge());
    // The operand is unchanged.
    EXPECT_EQ(10.0, res.GetBMEnvelope()->m_vMax[2].val);
    EXPECT_EQ(10.0, res.GetReactionEnvelope(0)->m_vMax[0].val);
}

// The points along the beam are kept once while they stay the same; a position whose points
// differ keeps its own, and a position taken back takes its points along.
TEST(EnvelopeResultsTest, KeptPositionsWithOtherPointsKeepTheirOwn)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    const std::vector<double> M = {0.0, 1.0, 2.0, 3.0, 0.0};
    const std::vector<double> otherX = {0.0, 0.0, 4.0, 10.0, 10.0};
    CEnvelopeResults res(bridge);
    res.AddResult(OneSpan(*bridge, M, kZeros5, {1.0, 1.0}), lm, 0.0);
    res.AddResult(envtest::MakeResults(*bridge, {otherX}, {M}, {kZeros5}, {1.0, 1.0}), lm, 1.0);
    res.AddResult(OneSpan(*bridge, M, kZeros5, {1.0, 1.0}), lm, 2.0);
    auto broken = OneSpan(*bridge, M, kZeros5, {1.0, 1.0});
    broken->m_vMbrRes[0].x[2] = 6.0;
    broken->m_vMbrRes[0].V[4] = std::numeric_limits<double>::quiet_NaN();
    EXPECT_THROW(res.AddResult(broken, lm, 3.0), const char*);
    res.AddResult(OneSpan(*bridge, M, kZeros5, {1.0, 1.0}), lm, 4.0);

    const CKeptPositions& kept = res.GetKeptPositions();
    ASSERT_EQ(4u, kept.GetCount());
    std::vector<double> x, y;
    for (std::size_t i = 0; i < 4; ++i)
    {
        kept.GetLine(i, BRT_MOMENT, x, y);
        EXPECT_EQ(i == 1 ? otherX : kX5, x) << i;
        EXPECT_EQ(M, y) << i;
        kept.GetLine(i, BRT_SHEAR, x, y);
        EXPECT_EQ(kZeros5, y) << i;
    }
    EXPECT_THROW(kept.GetLine(4, BRT_MOMENT, x, y), std::out_of_range);
    EXPECT_THROW(kept.GetLine(0, BRT_DEFLECTION, x, y), const char*);
}

TEST(EnvelopeResultsOperatorsTest, CopyMakesNewEnvelopesAndSharesKeptPositionsUntilItAddsOne)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"A");
    auto res = History(
        bridge, 3, lm, {0.0, 0.0, 2.0, 0.0, 0.0}, [](int) { return 1.0; }, [](int) { return 1.0; });
    CEnvelopeResults copy(*res);
    EXPECT_NE(res->GetBMEnvelope(), copy.GetBMEnvelope());
    EXPECT_NE(res->GetSFEnvelope(), copy.GetSFEnvelope());
    EXPECT_NE(res->GetReactionEnvelope(1), copy.GetReactionEnvelope(1));
    EXPECT_EQ(&res->GetKeptPositions(), &copy.GetKeptPositions());
    EXPECT_EQ(3, copy.m_nAnalyses);
    EXPECT_EQ(2u, copy.m_nReactions);

    CEnvelopeResults assigned;
    assigned = *res;
    EXPECT_NE(res->GetBMEnvelope(), assigned.GetBMEnvelope());
    EXPECT_EQ(2.0, assigned.GetBMEnvelope()->m_vMax[2].val);

    // A position added to the copy is the copy's alone.
    copy.AddResult(OneSpan(*bridge, {0.0, 0.0, 5.0, 0.0, 0.0}, kZeros5, {1.0, 1.0}), lm, 9.0);
    EXPECT_EQ(3u, res->GetKeptPositions().GetCount());
    EXPECT_EQ(4u, copy.GetKeptPositions().GetCount());
    std::vector<double> x, y;
    res->GetKeptPositions().GetLine(2, BRT_MOMENT, x, y);
    EXPECT_EQ(2.0, y[2]);
    copy.GetKeptPositions().GetLine(3, BRT_MOMENT, x, y);
    EXPECT_EQ(5.0, y[2]);
}

TEST(EnvelopeResultsOperatorsTest, SuperpositionAddsEnvelopesAndAnalyses)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"Moving");
    auto dead = MakeLM(2, L"Dead");
    // A moving result of 4 positions and a single-position result.
    auto moving = History(
        bridge, 4, lm, {0.0, 0.0, 10.0, -5.0, 0.0}, [](int i) { return 10.0 * (i + 1); },
        [](int i) { return -1.0 * i; });
    CEnvelopeResults single(bridge);
    single.AddResult(OneSpan(*bridge, {0.0, 0.0, 1.0, 1.0, 0.0}, kZeros5, {2.0, 3.0}), dead, 0.0);

    const CEnvelopeResults sum = *moving + single;
    EXPECT_EQ(5, sum.m_nAnalyses);
    EXPECT_EQ(4, sum.m_nBeamResults);
    EXPECT_EQ((std::vector<double>{0.0, 0.0, 11.0, 1.0, 0.0}), sum.GetBMEnvelope()->GetValues(true));
    EXPECT_EQ((std::vector<double>{0.0, 0.0, 0.0, -5.0, 0.0}), sum.GetBMEnvelope()->GetValues(false));
    // Reactions: a single value shifts the whole history.
    EXPECT_EQ((std::vector<double>{12.0, 22.0, 32.0, 42.0}), sum.GetReactionEnvelope(0)->GetValues(true));
    EXPECT_EQ((std::vector<double>{3.0, 3.0, 3.0, 3.0}), sum.GetReactionEnvelope(1)->GetValues(true));
    EXPECT_EQ((std::vector<double>{0.0, -1.0, -2.0, -3.0}), sum.GetReactionEnvelope(1)->GetValues(false));
    // Operands unchanged.
    EXPECT_EQ(10.0, moving->GetBMEnvelope()->m_vMax[2].val);
    EXPECT_EQ(1u, single.GetReactionEnvelope(0)->m_vMax.size());

    // The other way round the single-point history takes the moving one's length.
    CEnvelopeResults other(single);
    other += *moving;
    EXPECT_EQ((std::vector<double>{12.0, 22.0, 32.0, 42.0}), other.GetReactionEnvelope(0)->GetValues(true));
    EXPECT_EQ(lm.get(), other.GetReactionEnvelope(0)->m_vMax[3].pLM);
    EXPECT_EQ(dead.get(), other.GetReactionEnvelope(0)->m_vMax[0].pLM);
}

TEST(EnvelopeResultsOperatorsTest, ResultsWithoutEnvelopesGiveNone)
{
    auto bridge = MakeBridge();
    CEnvelopeResults bare(bridge);
    bare.m_nAnalyses = 2;
    const CEnvelopeResults copy(bare);
    EXPECT_EQ(nullptr, copy.GetBMEnvelope());
    const CEnvelopeResults scaled = bare * 3.0;
    EXPECT_EQ(nullptr, scaled.GetSFEnvelope());
    EXPECT_TRUE(scaled.GetEnvReactions().empty());
    const CEnvelopeResults sum = bare + bare;
    EXPECT_EQ(nullptr, sum.GetBMEnvelope());
    EXPECT_EQ(4, sum.m_nAnalyses);

    auto lm = MakeLM(1, L"A");
    auto full = History(
        bridge, 2, lm, {0.0, 0.0, 1.0, 0.0, 0.0}, [](int) { return 1.0; }, [](int) { return 1.0; });
    CEnvelopeResults a(*full);
    a += bare; // adds nothing to the envelopes
    EXPECT_EQ(1.0, a.GetBMEnvelope()->m_vMax[2].val);
    EXPECT_EQ(4, a.m_nAnalyses);
    CEnvelopeResults b(bare);
    b += *full;
    EXPECT_EQ(nullptr, b.GetBMEnvelope());

    // Augmenting with a bare result counts it and takes no envelopes; the next real one is copied.
    CEnvelopeResults combined;
    combined.Augment(std::make_shared<CEnvelopeResults>(bare));
    EXPECT_EQ(nullptr, combined.GetBMEnvelope());
    combined.Augment(full);
    EXPECT_EQ(2, combined.m_nAugments);
    EXPECT_EQ(4, combined.m_nAnalyses);
    ASSERT_NE(nullptr, combined.GetBMEnvelope());
    EXPECT_EQ(1.0, combined.GetBMEnvelope()->m_vMax[2].val);
    combined.Augment(nullptr);
    EXPECT_EQ(2, combined.m_nAugments);
}

// ---------------------------------------------------------------------------------------------
// The single-pass merge of AddResult against the plain algorithm: extract both lines and the
// reactions, floor/cap them through zero lines, and merge whole lists.

namespace {

struct PlainEnvelopes
{
    std::vector<PointLoadEffect> bmMax, bmMin, sfMax, sfMin;
    std::vector<std::vector<PointLoadEffect>> rMax, rMin;
    int n = 0;

    static std::vector<PointLoadEffect> Merge(const std::vector<PointLoadEffect>& a,
                                              const std::vector<PointLoadEffect>& b, bool bMax)
    {
        std::vector<PointLoadEffect> out = a;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (bMax ? b.at(i).val > a[i].val : b.at(i).val < a[i].val) out[i] = b.at(i);
        return out;
    }

    void Add(const CBeamResults& res, const std::shared_ptr<CLoadModel>& lm, double pos, unsigned nReactions)
    {
        std::vector<std::vector<PointLoadEffect>> lines;
        for (BeamResultsType kind : {BRT_MOMENT, BRT_SHEAR})
        {
            std::vector<double> x, y;
            res.GetResults(x, y, kind);
            std::vector<PointLoadEffect> line;
            for (std::size_t i = 0; i < x.size(); ++i) line.push_back(PointLoadEffect(y[i], x[i], pos, kind, lm.get()));
            lines.push_back(line);
        }
        std::vector<PointLoadEffect> reactions;
        const std::vector<double> r = res.GetReactions();
        for (unsigned i = 0; i < nReactions; ++i)
            reactions.push_back(
                PointLoadEffect(r.at(i), res.GetBeam()->GetRestraintPosition(int(i)), pos, BRT_REACTIONS, lm.get()));

        if (++n == 1)
        {
            bmMax = bmMin = lines[0];
            sfMax = sfMin = lines[1];
            rMax.assign(nReactions, {});
            rMin.assign(nReactions, {});
        }
        std::vector<PointLoadEffect>* lists[2][2] = {{&bmMax, &bmMin}, {&sfMax, &sfMin}};
        for (int k = 0; k < 2; ++k)
        {
            std::vector<PointLoadEffect> Z = lines[k];
            for (PointLoadEffect& z : Z)
            {
                z.val = 0.0;
                z.pLM = nullptr;
            }
            *lists[k][0] = Merge(*lists[k][0], Merge(lines[k], Z, true), true);
            *lists[k][1] = Merge(*lists[k][1], Merge(lines[k], Z, false), false);
        }
        for (unsigned i = 0; i < nReactions; ++i)
        {
            const PointLoadEffect& e = reactions[i];
            const PointLoadEffect zero(0.0, e.xBeam, e.xLoadModel, BRT_REACTIONS, e.pLM);
            rMax[i].push_back(e.val > 0.0 ? e : zero);
            rMin[i].push_back(e.val < 0.0 ? e : zero);
        }
    }
};

bool SamePoint(const PointLoadEffect& a, const PointLoadEffect& b)
{
    return std::memcmp(&a.val, &b.val, sizeof(double)) == 0 && a.xBeam == b.xBeam && a.xLoadModel == b.xLoadModel &&
           a.type == b.type && a.pLM == b.pLM;
}

void ExpectSameList(const std::vector<PointLoadEffect>& expected, const std::vector<PointLoadEffect>& actual,
                    const char* what, int step)
{
    ASSERT_EQ(expected.size(), actual.size()) << what << " at step " << step;
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_TRUE(SamePoint(expected[i], actual[i])) << what << " point " << i << " at step " << step;
}

void ExpectSame(const PlainEnvelopes& plain, const CEnvelopeResults& res, int step)
{
    ExpectSameList(plain.bmMax, res.GetBMEnvelope()->m_vMax, "BM max", step);
    ExpectSameList(plain.bmMin, res.GetBMEnvelope()->m_vMin, "BM min", step);
    ExpectSameList(plain.sfMax, res.GetSFEnvelope()->m_vMax, "SF max", step);
    ExpectSameList(plain.sfMin, res.GetSFEnvelope()->m_vMin, "SF min", step);
    ASSERT_EQ(plain.rMax.size(), res.m_vEnvReaction.size());
    for (std::size_t i = 0; i < plain.rMax.size(); ++i)
    {
        ExpectSameList(plain.rMax[i], res.m_vEnvReaction[i]->m_vMax, "R max", step);
        ExpectSameList(plain.rMin[i], res.m_vEnvReaction[i]->m_vMin, "R min", step);
    }
}

} // namespace

TEST(EnvelopeResultsFastMergeTest, SinglePassEqualsPlainAlgorithmOnRandomPositions)
{
    std::mt19937 rng(20240611u);
    const double pool[] = {-3.0, -1.5, -0.0, 0.0, 0.0, 1.5, 3.0};
    std::uniform_int_distribution<int> pick(0, 9);
    std::uniform_real_distribution<double> uniform(-4.0, 4.0);
    auto value = [&]() {
        const int k = pick(rng);
        return k < 7 ? pool[k] : uniform(rng);
    };

    for (int config : {1, 2, 3})
    {
        auto bridge = MakeBridge(config, 12.0);
        const auto beam = bridge->GetBeam();
        std::vector<std::shared_ptr<CLoadModel>> models = {MakeLM(1, L"A"), MakeLM(2, L"B"), nullptr};

        CEnvelopeResults fast(bridge);
        CEnvelopeResults stepwise(bridge);
        PlainEnvelopes plain;
        for (int step = 0; step < 150; ++step)
        {
            std::vector<CMbrResults> members;
            double start = 0.0;
            for (double L : beam->m_vL)
            {
                CMbrResults m(7);
                for (std::size_t j = 0; j < 7; ++j)
                {
                    m.x[j] = start + L * double(j == 0 ? 0 : j - 1) / 5.0;
                    m.M[j] = value();
                    m.V[j] = value();
                }
                start += L;
                members.push_back(m);
            }
            std::vector<double> reactions;
            for (int s = 0; s < beam->m_nRestraints; ++s) reactions.push_back(value());
            auto results = std::make_shared<CBeamResults>(beam.get(), members, reactions);
            const auto& lm = models[std::size_t(pick(rng)) % models.size()];
            const double pos = std::floor(uniform(rng) * 4.0) / 4.0;

            plain.Add(*results, lm, pos, fast.m_nReactions);
            fast.AddResult(results, lm, pos);

            // The named steps give the same as well.
            ++stepwise.m_nAnalyses;
            ++stepwise.m_nBeamResults;
            std::vector<std::vector<PointLoadEffect>> lines;
            std::vector<PointLoadEffect> effects;
            stepwise.ExtractLoadEffects(lines, effects, results, pos, lm.get());
            stepwise.UpdateEnvelopes(lines, effects, lm);

            ExpectSame(plain, fast, step);
            ExpectSame(plain, stepwise, step);
            if (HasFatalFailure()) return;
        }
        EXPECT_EQ(150, fast.m_nAnalyses);
        EXPECT_EQ(150u, fast.GetKeptPositions().GetCount());
    }
}
