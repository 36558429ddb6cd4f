// Reference sets: live-load and overstress reference envelopes, their critical values and the
// critical ratios of a proposed ensemble, checked against beam formulas worked by hand.
#include "engine/analysis/ReferenceSet.h"

#include "refset_test_helpers.h"

#include <cmath>

using namespace reftest;

namespace {

constexpr double kTol = 1e-6;

// One 12 m simply supported span under 16 kN/m: M = wL^2/8 = 288 kNm, V = R = wL/2 = 96 kN.
// The overstress loading of a 12 m span is 16 kN/m as well, so with F = 1.4 the reference is
// 1.4 x 288 + 0.4 x 288 = 518.4 kNm and 1.4 x 96 + 0.4 x 96 = 172.8 kN.
struct TwelveMetreCase : ::testing::Test
{
    PointsPerSpan points{20};
    std::shared_ptr<CBridgeSet> bs = Spans(12.0, 12.0);
    std::shared_ptr<CLoadModelEnsemble> ref = Ensemble({Udl(16.0, L"Lane 16")}, L"Reference");
    int nSteps = 10;
    double stepSize = 1.0;
};

TEST_F(TwelveMetreCase, OverstressCombinationGivesFLivePlusFMinusOneOverstress)
{
    CReferenceSet set(true, bs, ref, 1.4);
    EXPECT_EQ(set.m_nBridges, 2);
    set.Calculate(false, nSteps, stepSize);

    ASSERT_TRUE(set.m_bIsCalculated);
    ASSERT_EQ(set.m_vLiveLoadCritEnv.size(), 2u);
    ASSERT_EQ(set.m_vOverstressCritEnv.size(), 2u);
    ASSERT_EQ(set.m_vRefCritEnv.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i)
    {
        EXPECT_NE(set.m_vRefCritEnv[i], set.m_vLiveLoadCritEnv[i]);
        EXPECT_NEAR(set.m_vLiveLoadCritEnv[i]->GetBMEnvelope()->GetMaxEffect().val, 288.0, kTol);
        EXPECT_NEAR(set.m_vOverstressCritEnv[i]->GetBMEnvelope()->GetMaxEffect().val, 288.0, kTol);
    }

    const auto values = set.GetRefCritValues();
    ASSERT_EQ(values->m_vResults.size(), 2u);
    for (unsigned i = 0; i < 2; ++i)
    {
        const CCriticalValueResults r = values->GetResults(i);
        EXPECT_NEAR(r.GetBM().first.val, 518.4, kTol);
        EXPECT_NEAR(r.GetBM().first.xBeam, 6.0, kTol);
        EXPECT_NEAR(r.GetSF().first.val, 172.8, kTol);
        EXPECT_NEAR(r.GetSF().second.val, -172.8, kTol);
        ASSERT_EQ(r.GetReactionPairs().size(), 2u);
        EXPECT_NEAR(r.GetReaction(0).first.val, 172.8, kTol);
        EXPECT_NEAR(r.GetReaction(1).first.val, 172.8, kTol);
    }
    // The live results themselves are untouched by the scaled copies.
    EXPECT_NEAR(set.m_vLiveLoadCritEnv[0]->GetSFEnvelope()->GetMaxEffect().val, 96.0, kTol);

    // Only the reference values are computed by Calculate; the others wait for an archive pass
    // (or the ratio run).
    EXPECT_TRUE(set.GetLiveLoadCritValues()->m_vResults.empty());
    EXPECT_TRUE(set.GetOverstressCritValues()->m_vResults.empty());
    EXPECT_TRUE(set.GetPropCritValues()->m_vResults.empty());
    EXPECT_FALSE(set.m_bIsRatioCalculated);
}

TEST_F(TwelveMetreCase, SameModelProposedAgainstOverstressReferenceGivesOneOverOnePointEight)
{
    CReferenceSet set(true, bs, ref, 1.4);
    set.Calculate(false, nSteps, stepSize);
    auto proposed = Ensemble({ref->GetLoadModel(0)}, L"Proposed");
    auto ratios = set.CalculateRatios(true, false, nSteps, stepSize, proposed, 1.0);

    ASSERT_TRUE(ratios);
    EXPECT_EQ(ratios->GetBridgeSet(), bs);
    ASSERT_EQ(ratios->m_vResults.size(), 2u);
    for (unsigned i = 0; i < 2; ++i)
    {
        const CCriticalRatioResults r = ratios->GetResults(i);
        EXPECT_NEAR(r.GetBM().first.ratio, 1.0 / 1.8, 1e-9);
        EXPECT_NEAR(r.GetSF().first.ratio, 1.0 / 1.8, 1e-9);
        EXPECT_NEAR(r.GetSF().second.ratio, 1.0 / 1.8, 1e-9);
        EXPECT_NEAR(r.GetReaction(0).first.ratio, 1.0 / 1.8, 1e-9);
        EXPECT_NEAR(r.GetReaction(1).first.ratio, 1.0 / 1.8, 1e-9);
        // A sagging-only load leaves the moment minimum at zero: no ratio.
        EXPECT_DOUBLE_EQ(r.GetBM().second.ratio, 0.0);
    }
    EXPECT_TRUE(set.m_bIsRatioCalculated);
    EXPECT_TRUE(set.m_bUseLM);
    EXPECT_EQ(set.GetPropLME(), proposed);
    ASSERT_EQ(set.GetPropCritValues()->m_vResults.size(), 2u);
    EXPECT_NEAR(set.GetPropCritValues()->GetResults(1).GetBM().first.val, 288.0, kTol);

    // The multiplier scales the reference.
    auto doubled = set.CalculateRatios(false, false, nSteps, stepSize, proposed, 2.0);
    ASSERT_TRUE(doubled);
    EXPECT_NEAR(doubled->GetResults(0).GetBM().first.ratio, 1.0 / 3.6, 1e-9);
    EXPECT_FALSE(set.m_bUseLM);
}

TEST_F(TwelveMetreCase, OverstressOffSharesTheLiveResults)
{
    CReferenceSet set(false, bs, ref, 1.4);
    set.Calculate(false, nSteps, stepSize);
    ASSERT_EQ(set.m_vRefCritEnv.size(), 2u);
    EXPECT_TRUE(set.m_vOverstressCritEnv.empty());
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(set.m_vRefCritEnv[i], set.m_vLiveLoadCritEnv[i]);
    EXPECT_NEAR(set.GetRefCritValues()->GetResults(0).GetBM().first.val, 288.0, kTol);
    EXPECT_NEAR(set.GetRefCritValues()->GetResults(0).GetReaction(1).first.val, 96.0, kTol);
}

TEST_F(TwelveMetreCase, FactorOneKeepsLiveValuesAtTheOverstressPoints)
{
    CReferenceSet set(true, bs, ref, 1.0);
    set.Calculate(false, nSteps, stepSize);
    const CCriticalValueResults r = set.GetRefCritValues()->GetResults(0);
    EXPECT_NEAR(r.GetBM().first.val, 288.0, kTol);
    EXPECT_NEAR(r.GetReaction(0).first.val, 96.0, kTol);
    // The left operand of the sum is the (zero-scaled) overstress result: its load model stays.
    ASSERT_TRUE(r.GetBM().first.pLM);
    EXPECT_NE(r.GetBM().first.pLM, ref->GetLoadModel(0).get());
    EXPECT_EQ(r.GetBM().first.pLM, set.m_vOverstressCritEnv[0]->GetBMEnvelope()->GetMaxEffect().pLM);
}

TEST(ReferenceSetCombine, ShorterOverstressListIsAnIndexError)
{
    PointsPerSpan points(20);
    auto bs = Spans(12.0, 12.0);
    CReferenceSet set(false, bs, Ensemble({Udl(16.0)}), 1.4);
    int n = 10;
    double s = 1.0;
    set.Calculate(false, n, s);
    const CReferenceSet::EnvList oneShort(set.m_vLiveLoadCritEnv.begin(), set.m_vLiveLoadCritEnv.end() - 1);
    EXPECT_EQ(ThrownText([&] { CReferenceSet::CombineOverstress(set.m_vLiveLoadCritEnv, oneShort, 1.4); }),
              "invalid vector<T> subscript");
}

TEST(ReferenceSetRatios, ProposedEqualToReferenceGivesOneWhereverTheReferenceIsNotZero)
{
    PointsPerSpan points(20);
    // Two-span bridges: hogging moments, negative shears and uplift-free reactions give
    // non-zero minima too.
    auto bs = Spans(10.0, 15.0, 2, 2);
    auto truck = Truck({{100.0, 0.0}, {50.0, -3.0}});
    CReferenceSet set(false, bs, Ensemble({truck}), 1.4);
    int n = 0;
    double s = 0.5;
    set.Calculate(true, n, s);
    auto ratios = set.CalculateRatios(false, true, n, s, Ensemble({truck}, L"Same"), 1.0);
    ASSERT_TRUE(ratios);
    ASSERT_EQ(ratios->m_vResults.size(), 2u);

    int nonZero = 0, zero = 0;
    auto check = [&](const CriticalPair<RatioLoadEffect>& p) {
        for (const RatioLoadEffect* e : {&p.first, &p.second})
        {
            if (std::fabs(e->reference.val) >= 1e-6)
            {
                EXPECT_NEAR(e->ratio, 1.0, 1e-12);
                ++nonZero;
            }
            else
            {
                EXPECT_DOUBLE_EQ(e->ratio, 0.0);
                ++zero;
            }
        }
    };
    for (unsigned i = 0; i < 2; ++i)
    {
        const CCriticalRatioResults r = ratios->GetResults(i);
        check(r.GetBM());
        check(r.GetSF());
        ASSERT_EQ(r.GetReactionPairs().size(), 3u);
        for (const auto& p : r.GetReactionPairs()) check(p);
    }
    // Both moment signs, both shear signs and the reactions all took part.
    EXPECT_GE(nonZero, 2 * 6);
    (void)zero;
}

TEST_F(TwelveMetreCase, RatiosFailWhenTheBridgeSetChangedAfterTheReference)
{
    CReferenceSet set(false, bs, ref, 1.4);
    set.Calculate(false, nSteps, stepSize);
    auto proposed = Ensemble({Udl(20.0)});

    // Same number of bridges, other spans.
    *bs = CBridgeSet(1, CString(L"Set"), 2, 1, 14.0, 16.0);
    EXPECT_FALSE(set.CalculateRatios(false, false, nSteps, stepSize, proposed, 1.0));
    // Another number of bridges.
    *bs = CBridgeSet(1, CString(L"Set"), 3, 1, 12.0, 12.0);
    EXPECT_FALSE(set.CalculateRatios(false, false, nSteps, stepSize, proposed, 1.0));

    // The set is as it was.
    EXPECT_FALSE(set.m_bIsRatioCalculated);
    EXPECT_FALSE(set.GetPropLME());
    EXPECT_TRUE(set.m_vPropCritEnv.empty());
    EXPECT_TRUE(set.GetPropCritValues()->m_vResults.empty());

    // Back to the bridges of the reference: new bridge objects of the same spans line up.
    *bs = CBridgeSet(1, CString(L"Set"), 2, 1, 12.0, 12.0);
    auto ratios = set.CalculateRatios(false, false, nSteps, stepSize, proposed, 1.0);
    ASSERT_TRUE(ratios);
    EXPECT_NEAR(ratios->GetResults(0).GetBM().first.ratio, 20.0 / 16.0, 1e-9);
}

TEST_F(TwelveMetreCase, RatiosBeforeTheReferenceFail)
{
    CReferenceSet set(false, bs, ref, 1.4);
    EXPECT_FALSE(set.CalculateRatios(false, false, nSteps, stepSize, ref, 1.0));
    EXPECT_FALSE(set.m_bIsRatioCalculated);
}

TEST(ReferenceSetEmpty, BridgeSetWithoutBridgesGivesEmptyResultsAndNoError)
{
    auto bs = Spans(12.0, 12.0, 1); // a set of one bridge generates none
    ASSERT_EQ(bs->GetBridgeCount(), 0);
    CReferenceSet set(true, bs, Ensemble({Udl(16.0)}), 1.4);
    int n = 10;
    double s = 1.0;
    ASSERT_NO_THROW(set.Calculate(false, n, s));
    EXPECT_TRUE(set.m_bIsCalculated);
    EXPECT_TRUE(set.m_vLiveLoadCritEnv.empty());
    EXPECT_TRUE(set.m_vOverstressCritEnv.empty());
    EXPECT_TRUE(set.m_vRefCritEnv.empty());
    EXPECT_TRUE(set.GetRefCritValues()->m_vResults.empty());
    auto ratios = set.CalculateRatios(false, false, n, s, Ensemble({Udl(10.0)}), 1.0);
    ASSERT_TRUE(ratios);
    EXPECT_TRUE(ratios->m_vResults.empty());
}

TEST(ReferenceSetStepping, LastLiveLoadRunWritesTheSteppingBack)
{
    PointsPerSpan points(20);
    auto bs = Spans(10.0, 20.0);
    auto lme = Ensemble({Truck({{100.0, 0.0}})});

    // By count the step is the bridge length over the count: 20 m / 10 for the last bridge.
    CReferenceSet byCount(true, bs, lme, 1.4);
    int n = 10;
    double s = 99.0;
    byCount.Calculate(false, n, s);
    EXPECT_DOUBLE_EQ(s, 2.0);
    EXPECT_EQ(n, 10);

    // By step the count is ceil((bridge + vehicle length) / step + 0.5) + 1 = ceil(40.5) + 1
    // for the 20 m bridge; the overstress runs keep their own stepping.
    CReferenceSet byStep(true, bs, lme, 1.4);
    n = 0;
    s = 0.5;
    byStep.Calculate(true, n, s);
    EXPECT_EQ(n, 42);
    EXPECT_DOUBLE_EQ(s, 0.5);
}

TEST(ReferenceSetFailure, AnalysisErrorLeavesTheSetUncalculated)
{
    auto bs = Spans(10.0, 20.0);
    CReferenceSet set(false, bs, Ensemble({Truck({{100.0, 0.0}})}), 1.4);
    int n = 0;
    double s = 0.0; // no step: the moving load cannot move
    EXPECT_EQ(ThrownText([&] { set.Calculate(true, n, s); }), "Step size must be greater than zero");
    EXPECT_FALSE(set.m_bIsCalculated);
    EXPECT_TRUE(set.m_vLiveLoadCritEnv.empty());
}

} // namespace

TEST_F(TwelveMetreCase, LiveAndOverstressEnvelopesShareOnePointCount)
{
    // The count handed to the set wins over the setting, for the live load and the
    // overstress loading alike: 30 points per span give 33 result points on one span.
    CReferenceSet set(true, bs, ref, 1.4);
    set.SetPointsPerSpan(30);
    set.Calculate(false, nSteps, stepSize);
    ASSERT_TRUE(set.m_bIsCalculated);
    for (std::size_t i = 0; i < 2; ++i)
    {
        EXPECT_EQ(set.m_vLiveLoadCritEnv[i]->GetBMEnvelope()->m_vMax.size(), 33u);
        EXPECT_EQ(set.m_vOverstressCritEnv[i]->GetBMEnvelope()->m_vMax.size(), 33u);
        EXPECT_EQ(set.m_vRefCritEnv[i]->GetBMEnvelope()->m_vMax.size(), 33u);
    }
}

TEST_F(TwelveMetreCase, RatioRunUsesThePointCountHandedToTheSet)
{
    // 30 points per span give 33 result points on one span, for the proposed envelopes too,
    // whatever the setting says (20 here).
    CReferenceSet set(false, bs, ref, 1.4);
    set.SetPointsPerSpan(30);
    set.Calculate(false, nSteps, stepSize);
    auto ratios = set.CalculateRatios(false, false, nSteps, stepSize, Ensemble({Udl(8.0)}), 1.0);
    ASSERT_TRUE(ratios);
    ASSERT_EQ(set.m_vPropCritEnv.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_EQ(set.m_vPropCritEnv[i]->GetBMEnvelope()->m_vMax.size(), 33u);
    // 8 x 144 / 8 = 144 kNm against 288 kNm.
    EXPECT_NEAR(ratios->GetResults(0).GetBM().first.ratio, 0.5, 1e-9);
}

TEST_F(TwelveMetreCase, RatiosAgainstAnotherBridgeCountFailBeforeTheProposedRun)
{
    CReferenceSet set(false, bs, ref, 1.4);
    set.Calculate(false, nSteps, stepSize);
    *bs = CBridgeSet(1, CString(L"Set"), 3, 1, 12.0, 12.0);

    // This proposed run would throw (no step to move by); the mismatch is found first.
    int n = 0;
    double s = 0.0;
    auto truck = Ensemble({Truck({{100.0, 0.0}})});
    std::shared_ptr<CCriticalRatioEnsemble> ratios;
    EXPECT_EQ(ThrownText([&] { ratios = set.CalculateRatios(false, true, n, s, truck, 1.0); }), "");
    EXPECT_FALSE(ratios);
    EXPECT_FALSE(set.m_bIsRatioCalculated);
}
