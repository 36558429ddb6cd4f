// Critical values and critical ratios of envelope results, per bridge and per bridge set.
#include "analysis_test_helpers.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/CriticalResults.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/model/BridgeSet.h"

using namespace antest;

namespace {

std::shared_ptr<CLoadModel> Truck(double liveLoad = 1.0)
{
    auto lm = Axles({{60.0, 0.0}, {120.0, -3.7}, {120.0, -5.0}}, L"Truck");
    lm->m_gLiveLoad.value = liveLoad;
    return lm;
}

std::vector<std::shared_ptr<CEnvelopeResults>> RunSet(const std::shared_ptr<CBridgeSet>& set,
                                                      const std::shared_ptr<CLoadModel>& lm)
{
    CMultiBridgeAnalysis mba(set, lm);
    mba.SetPointsPerSpan(20);
    int n = 20;
    double step = 0.0;
    return mba.Run(false, n, step);
}

PointLoadEffect Effect(double v) { return PointLoadEffect(v, 0.0, 0.0, BRT_REACTIONS, nullptr); }

CriticalPair<RatioLoadEffect> RatioPair(double maxRatio, double minRatio)
{
    // Reference 1.0 / -1.0: the ratio is the proposed value (sign of the minimum turned).
    CriticalPair<RatioLoadEffect> p;
    p.first = RatioLoadEffect(Effect(1.0), Effect(maxRatio), nullptr, 1.0);
    p.second = RatioLoadEffect(Effect(-1.0), Effect(-minRatio), nullptr, 1.0);
    return p;
}

CCriticalRatioResults RatioResults(double bm, double sf, const std::vector<std::pair<double, double>>& reactions)
{
    std::vector<CriticalPair<RatioLoadEffect>> r;
    for (const auto& [a, b] : reactions) r.push_back(RatioPair(a, b));
    return CCriticalRatioResults(r, RatioPair(bm, bm), RatioPair(sf, sf / 2.0));
}

std::shared_ptr<CBridgeSet> Set(int config, int n = 3)
{
    return std::make_shared<CBridgeSet>(1, CString(L"Set"), n, config, 10.0, 20.0);
}

} // namespace

TEST(CriticalValues, TakeTheExtremesOfEachEnvelope)
{
    auto set = Set(2);
    auto lm = Truck();
    const auto envs = RunSet(set, lm);
    const CCriticalValueResults v(envs[0]);
    const auto bm = envs[0]->GetBMEnvelope();
    EXPECT_EQ(v.GetBM().first.val, bm->GetMaxEffect().val);
    EXPECT_EQ(v.GetBM().second.val, bm->GetMinEffect().val);
    EXPECT_GT(v.GetBM().first.val, 0.0);
    EXPECT_LT(v.GetBM().second.val, 0.0); // hogging over the pier
    EXPECT_EQ(v.GetBM().first.pLM, lm.get());
    EXPECT_EQ(v.GetSF().first.val, envs[0]->GetSFEnvelope()->GetMaxEffect().val);
    ASSERT_EQ(v.m_nReactions, 3u);
    ASSERT_EQ(v.GetReactionPairs().size(), 3u);
    for (unsigned i = 0; i < 3; ++i)
        EXPECT_EQ(v.GetReaction(i).first.val, envs[0]->GetReactionEnvelope(i)->GetMaxEffect().val);
    EXPECT_EQ(v.m_pBeam, envs[0]->GetBeam());
    EXPECT_EQ(v.m_pEnvResults, envs[0]);
    EXPECT_EQ(OutOfRangeText([&] { v.GetReaction(3); }), "invalid vector<T> subscript");
}

TEST(CriticalValues, MissingResultGivesDefaultPairs)
{
    const CCriticalValueResults none(nullptr);
    EXPECT_EQ(none.GetBM().first.val, 0.0);
    EXPECT_EQ(none.m_nReactions, 0u);
    // A bridge result before any position: reaction pairs default too.
    const CCriticalValueResults empty(std::make_shared<CEnvelopeResults>(Bridge(2, 10.0)));
    ASSERT_EQ(empty.GetReactionPairs().size(), 3u);
    EXPECT_EQ(empty.GetReaction(2).second.val, 0.0);
    EXPECT_FALSE(empty.GetReaction(2).first.pLM);
}

TEST(CriticalValueEnsemble, SeriesFollowTheBridgeOrder)
{
    auto set = Set(2);
    const CCriticalValueEnsemble e(RunSet(set, Truck()), set);
    EXPECT_EQ(e.m_nResults, 3);
    EXPECT_EQ(e.GetBridgeSet(), set);
    EXPECT_EQ(e.GetEnvelopeResults().size(), 3u);
    std::vector<double> max{42.0}, min;
    e.GetBM(max, min);
    ASSERT_EQ(max.size(), 3u);
    ASSERT_EQ(min.size(), 3u);
    for (unsigned i = 0; i < 3; ++i)
    {
        EXPECT_EQ(max[i], e.GetResults(i).GetBM().first.val);
        EXPECT_EQ(min[i], e.GetResults(i).GetBM().second.val);
    }
    EXPECT_LT(max[0], max[1]); // longer spans, larger moments
    EXPECT_LT(max[1], max[2]);
    e.GetSF(max, min);
    EXPECT_EQ(max[2], e.GetResults(2).GetSF().first.val);
    e.GetReaction(1, max, min);
    EXPECT_EQ(max[1], e.GetResults(1).GetReaction(1).first.val);
    EXPECT_EQ(OutOfRangeText([&] { e.GetReaction(3, max, min); }), "invalid vector<T> subscript");
    EXPECT_EQ(OutOfRangeText([&] { e.GetResults(3); }), "invalid vector<T> subscript");
}

TEST(CriticalValueEnsemble, RecalculatingLeavesNoResidue)
{
    auto set = Set(1);
    auto envs = RunSet(set, Truck());
    CCriticalValueEnsemble e(envs, set);
    envs.pop_back();
    e.Calculate(envs, set);
    EXPECT_EQ(e.m_nResults, 2);
    EXPECT_EQ(e.GetEnvelopeResults().size(), 2u);
    EXPECT_EQ(OutOfRangeText([&] { e.GetResults(2); }), "invalid vector<T> subscript");
    e.Calculate({}, nullptr);
    std::vector<double> max, min;
    e.GetBM(max, min);
    EXPECT_TRUE(max.empty() && min.empty());
    e.GetReaction(5, max, min); // no results: nothing to index
    EXPECT_TRUE(max.empty());
}

TEST(CriticalValueEnsemble, SetWithoutBridgesHasNoResults)
{
    auto set = Set(1, 1);
    const CCriticalValueEnsemble e(RunSet(set, Truck()), set);
    EXPECT_EQ(e.m_nResults, 0);
    std::vector<double> max, min;
    e.GetSF(max, min);
    EXPECT_TRUE(max.empty() && min.empty());
    const CCriticalValueEnsemble empty;
    EXPECT_FALSE(empty.GetBridgeSet());
}

TEST(CriticalRatios, SameVehicleTwiceAsHeavyGivesExactlyTwo)
{
    auto set = Set(3);
    const auto ref = RunSet(set, Truck());
    const auto prop = RunSet(set, Truck(2.0));
    ASSERT_EQ(ref.size(), prop.size());
    std::vector<CCriticalRatioResults> ratios;
    int nonZero = 0;
    for (std::size_t b = 0; b < ref.size(); ++b)
    {
        const CCriticalRatioResults r = prop[b]->GetCriticalRatios(ref[b], 1.0);
        const CCriticalValueResults rv(ref[b]);
        std::vector<std::pair<CriticalPair<RatioLoadEffect>, CriticalPair<PointLoadEffect>>> pairs{
            {r.GetBM(), rv.GetBM()}, {r.GetSF(), rv.GetSF()}};
        ASSERT_EQ(r.m_nReactions, 4u);
        for (unsigned i = 0; i < 4; ++i) pairs.push_back({r.GetReaction(i), rv.GetReaction(i)});
        for (const auto& [ratio, value] : pairs)
        {
            for (const auto& [rl, v] : {std::pair{ratio.first, value.first}, std::pair{ratio.second, value.second}})
            {
                if (std::fabs(v.val) < 1e-6)
                {
                    EXPECT_EQ(rl.ratio, 0.0);
                }
                else
                {
                    EXPECT_EQ(rl.ratio, 2.0);
                    ++nonZero;
                }
            }
        }
        EXPECT_FALSE(r.m_pBeam);
        ratios.push_back(r);

        // With a multiplier of 2 the same pairs come to exactly 1.
        const CCriticalRatioResults r1 = prop[b]->GetCriticalRatios(ref[b], 2.0);
        EXPECT_EQ(r1.GetBM().first.ratio, 1.0);
        EXPECT_EQ(r1.GetBM().first.multiplier, 2.0);
    }
    EXPECT_GE(nonZero, 3 * 6); // every maximum at least

    const CCriticalRatioEnsemble e(ratios, set);
    EXPECT_EQ(e.m_nResults, 0);
    EXPECT_EQ(e.GetBridgeSet(), set);
    for (double r : e.GetMaxShearRatios()) EXPECT_EQ(r, 2.0);
    for (double r : e.GetMaxEndReactionRatios()) EXPECT_EQ(r, 2.0);
    for (double r : e.GetMaxInteriorReactionRatios()) EXPECT_EQ(r, 2.0);
    std::vector<double> max, min;
    e.GetBM(max, min);
    EXPECT_EQ(max, std::vector<double>(3, 2.0));
    EXPECT_EQ(min, std::vector<double>(3, 2.0)); // hogging over the piers
}

TEST(CriticalRatios, ProposedReactionHistoriesAreLengthenedToTheReference)
{
    // A longer reference vehicle passes more positions than the short proposed one.
    auto bridge = Bridge(1, 10.0);
    auto set = Set(1, 2);
    auto refLM = Axles({{100.0, 0.0}, {100.0, -8.0}}, L"Long");
    auto propLM = Axles({{100.0, 0.0}}, L"Short");
    const auto ref = RunSet(set, refLM);
    const auto prop = RunSet(set, propLM);
    const std::size_t nRef = ref[0]->GetReactionEnvelope(0)->m_vMax.size();
    const std::size_t nProp = prop[0]->GetReactionEnvelope(0)->m_vMax.size();
    ASSERT_GT(nRef, nProp);

    const CCriticalRatioResults r = prop[0]->GetCriticalRatios(ref[0], 1.0);
    EXPECT_EQ(prop[0]->GetReactionEnvelope(0)->m_vMax.size(), nRef);
    EXPECT_EQ(prop[0]->GetReactionEnvelope(1)->m_vMin.size(), nRef);
    EXPECT_EQ(ref[0]->GetReactionEnvelope(0)->m_vMax.size(), nRef); // the reference is not touched
    EXPECT_EQ(prop[0]->GetReactionEnvelope(0)->m_vMax.back().val, 0.0);
    // The axle alone against two axles on a 10 m span: both maxima near the support, 95 kN
    // against 95 + 15 = 110 kN.
    EXPECT_NEAR(r.GetReaction(0).first.ratio, 95.0 / 110.0, 1e-9);
    EXPECT_EQ(r.GetReaction(0).first.proposed.pLM, propLM.get());
    EXPECT_EQ(r.GetReaction(0).first.reference.pLM, refLM.get());
}

TEST(CriticalRatios, ResultWithoutEnvelopesGivesZeroRatios)
{
    auto set = Set(1, 2);
    const auto ref = RunSet(set, Truck());
    CEnvelopeResults empty; // an ensemble without load models
    const CCriticalRatioResults r = empty.GetCriticalRatios(ref[0], 1.0);
    EXPECT_EQ(r.GetBM().first.ratio, 0.0);
    EXPECT_GT(r.GetBM().first.reference.val, 0.0);
    EXPECT_TRUE(r.GetReactionPairs().empty());
}

TEST(CriticalRatioEnsemble, GoverningRatiosByConfiguration)
{
    // Three-span set: supports 0 and 3 are the ends, 1 and 2 the piers.
    const std::vector<CCriticalRatioResults> three{
        RatioResults(1.1, 0.8, {{0.5, 0.9}, {1.3, 0.2}, {0.4, 1.6}, {1.2, 0.1}}),
        RatioResults(1.0, 1.4, {{1.7, 0.0}, {0.1, 0.2}, {0.3, 0.25}, {0.6, 1.5}})};
    const CCriticalRatioEnsemble e3(three, Set(3));
    EXPECT_EQ(e3.GetMaxShearRatios(), (std::vector<double>{0.8, 1.4}));
    EXPECT_EQ(e3.GetMaxEndReactionRatios(), (std::vector<double>{1.2, 1.7}));
    EXPECT_EQ(e3.GetMaxInteriorReactionRatios(), (std::vector<double>{1.6, 0.3}));
    // The names the ratio tables call give the same lists.
    EXPECT_EQ(e3.GetGoverningSFRatios(), (std::vector<double>{0.8, 1.4}));
    EXPECT_EQ(e3.GetGoverningAbutmentRatios(), (std::vector<double>{1.2, 1.7}));
    EXPECT_EQ(e3.GetGoverningPierRatios(), (std::vector<double>{1.6, 0.3}));
    std::vector<double> max, min;
    e3.GetReaction(2, max, min);
    EXPECT_EQ(max, (std::vector<double>{0.4, 0.3}));
    EXPECT_EQ(min, (std::vector<double>{1.6, 0.25}));
    e3.GetSF(max, min);
    EXPECT_EQ(max, (std::vector<double>{0.8, 1.4}));
    EXPECT_EQ(min, (std::vector<double>{0.4, 0.7}));

    // Two spans: ends 0 and 2, pier 1.
    const CCriticalRatioEnsemble e2({RatioResults(1.0, 1.0, {{0.5, 0.9}, {1.3, 0.2}, {0.4, 1.6}})}, Set(2));
    EXPECT_EQ(e2.GetMaxEndReactionRatios(), std::vector<double>{1.6});
    EXPECT_EQ(e2.GetMaxInteriorReactionRatios(), std::vector<double>{1.3});

    // One span: ends 0 and 1, no piers.
    const CCriticalRatioEnsemble e1({RatioResults(1.0, 1.0, {{0.5, 0.9}, {1.3, 0.2}})}, Set(1));
    EXPECT_EQ(e1.GetMaxEndReactionRatios(), std::vector<double>{1.3});
    EXPECT_TRUE(e1.GetMaxInteriorReactionRatios().empty());

    // Explicit spans: support 0 against itself.
    auto set4 = Set(1);
    set4->m_Config = CBridge::CONFIG_EXPLICIT;
    const CCriticalRatioEnsemble e4({RatioResults(1.0, 1.0, {{0.5, 0.9}, {1.3, 0.2}, {2.0, 2.0}})}, set4);
    EXPECT_EQ(e4.GetMaxEndReactionRatios(), std::vector<double>{0.9});
    EXPECT_TRUE(e4.GetMaxInteriorReactionRatios().empty());

    // No bridges: empty lists, empty series.
    const CCriticalRatioEnsemble none({}, Set(2, 1));
    EXPECT_TRUE(none.GetMaxShearRatios().empty());
    EXPECT_TRUE(none.GetMaxEndReactionRatios().empty());
    EXPECT_TRUE(none.GetMaxInteriorReactionRatios().empty());
    none.GetBM(max, min);
    EXPECT_TRUE(max.empty() && min.empty());
    EXPECT_EQ(OutOfRangeText([&] { none.GetResults(0); }), "invalid vector<T> subscript");
}

TEST(CriticalRatioEnsemble, RatiosOfTinyReferencesAreZero)
{
    CriticalPair<RatioLoadEffect> p;
    p.first = RatioLoadEffect(Effect(5e-7), Effect(3.0), nullptr, 1.0);
    p.second = RatioLoadEffect(Effect(-4.0), Effect(-6.0), nullptr, 1.0);
    const CCriticalRatioEnsemble e({CCriticalRatioResults({p, p}, p, p)}, Set(1));
    std::vector<double> max, min;
    e.GetBM(max, min);
    EXPECT_EQ(max, std::vector<double>{0.0});
    EXPECT_EQ(min, std::vector<double>{1.5});
    EXPECT_EQ(e.GetMaxShearRatios(), std::vector<double>{1.5});
    EXPECT_EQ(e.GetResults(0).m_nReactions, 2u);
}
