// Point effects, ratios, element-wise merges and the envelope class.
#include "engine/analysis/Envelope.h"

#include "envelope_test_helpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

using envtest::Effect;
using envtest::MakeBridge;
using envtest::MakeLM;

namespace {

std::shared_ptr<CEnvelope> Envelope(int type, std::vector<PointLoadEffect> maxima, std::vector<PointLoadEffect> minima,
                                    std::shared_ptr<CBridge> bridge = nullptr)
{
    auto env = std::make_shared<CEnvelope>(bridge, static_cast<BeamResultsType>(type));
    env->m_vMax = std::move(maxima);
    env->m_vMin = std::move(minima);
    return env;
}

// n reaction points with values start, start + step, ... at the load positions 0, 1, 2, ...
std::vector<PointLoadEffect> History(std::size_t n, double start, double step, std::shared_ptr<CLoadModel> lm)
{
    std::vector<PointLoadEffect> v;
    for (std::size_t i = 0; i < n; ++i) v.push_back(Effect(start + step * double(i), 0.0, double(i), 4, lm));
    return v;
}

void ExpectSubscriptError(const std::function<void()>& f)
{
    try
    {
        f();
        FAIL() << "no exception";
    }
    catch (const std::out_of_range& e)
    {
        EXPECT_STREQ("invalid vector<T> subscript", e.what());
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------

TEST(PointLoadEffectTest, DefaultHasZeroFieldsTypeZeroAndNoLoadModel)
{
    PointLoadEffect e;
    EXPECT_EQ(0.0, e.val);
    EXPECT_EQ(0.0, e.xBeam);
    EXPECT_EQ(0.0, e.xLoadModel);
    EXPECT_EQ(0, e.type);
    EXPECT_EQ(nullptr, e.pLM);
}

TEST(PointLoadEffectTest, PlusRaisesOnlyTheValueAndSharesTheLoadModel)
{
    auto lm = MakeLM(3, L"T44");
    const PointLoadEffect e = Effect(12.5, 4.0, 7.5, 1, lm);
    const PointLoadEffect f = e + 2.25;
    EXPECT_EQ(14.75, f.val);
    EXPECT_EQ(4.0, f.xBeam);
    EXPECT_EQ(7.5, f.xLoadModel);
    EXPECT_EQ(1, f.type);
    EXPECT_EQ(lm.get(), f.pLM);
    EXPECT_EQ(12.5, e.val);
}

TEST(PointLoadEffectTest, LoadModelNameIsDescriptionOrZeroLM)
{
    EXPECT_EQ(CString(L"Zero LM"), PointLoadEffect().GetLoadModelName());
    EXPECT_EQ(CString(L"A160 Axle"), Effect(1.0, 0.0, 0.0, 0, MakeLM(1, L"A160 Axle")).GetLoadModelName());
}

// ---------------------------------------------------------------------------------------------

TEST(RatioLoadEffectTest, DefaultIsDefined)
{
    RatioLoadEffect r;
    EXPECT_EQ(0.0, r.ratio);
    EXPECT_EQ(0, r.type);
    EXPECT_EQ(1.0, r.multiplier);
    EXPECT_EQ(nullptr, r.bridge);
    EXPECT_EQ(nullptr, r.reference.pLM);
    EXPECT_EQ(nullptr, r.proposed.pLM);
}

TEST(RatioLoadEffectTest, RatioIsProposedOverReferenceTimesMultiplier)
{
    auto bridge = MakeBridge();
    auto refLM = MakeLM(1, L"Ref");
    auto propLM = MakeLM(2, L"Prop");
    const RatioLoadEffect r(Effect(2.0, 5.0, 3.0, 1, refLM), Effect(3.0, 6.0, 4.0, 0, propLM), bridge, 0.5);
    EXPECT_DOUBLE_EQ(3.0, r.ratio); // 3 / (2 x 0.5)
    EXPECT_EQ(1, r.type);           // the reference's type
    EXPECT_EQ(0.5, r.multiplier);
    EXPECT_EQ(bridge.get(), r.bridge.get());
    EXPECT_EQ(refLM.get(), r.reference.pLM);
    EXPECT_EQ(propLM.get(), r.proposed.pLM);
    EXPECT_EQ(6.0, r.proposed.xBeam);

    // Minima: negative over negative.
    EXPECT_DOUBLE_EQ(1.5, RatioLoadEffect(Effect(-4.0, 0, 0, 0), Effect(-3.0, 0, 0, 0), bridge, 0.5).ratio);
}

TEST(RatioLoadEffectTest, DivisorBelowOneMillionthGivesZero)
{
    EXPECT_EQ(0.0, RatioLoadEffect(Effect(5e-7, 0, 0, 4), Effect(3.0, 0, 0, 4), nullptr, 1.0).ratio);
    EXPECT_EQ(0.0, RatioLoadEffect(Effect(-5e-7, 0, 0, 4), Effect(3.0, 0, 0, 4), nullptr, 1.0).ratio);
    // The product decides: 1.0 x 5e-7 is below the threshold, 1.0 x 4.0 is not.
    EXPECT_EQ(0.0, RatioLoadEffect(Effect(1.0, 0, 0, 0), Effect(3.0, 0, 0, 0), nullptr, 5e-7).ratio);
    EXPECT_EQ(0.0, RatioLoadEffect(Effect(0.0, 0, 0, 0), Effect(3.0, 0, 0, 0), nullptr, 1.0).ratio);
    // Exactly 1e-6 in magnitude is divided by.
    EXPECT_DOUBLE_EQ(2.0, RatioLoadEffect(Effect(1e-6, 0, 0, 0), Effect(2e-6, 0, 0, 0), nullptr, 1.0).ratio);
    EXPECT_DOUBLE_EQ(-2.0, RatioLoadEffect(Effect(-1e-6, 0, 0, 0), Effect(2e-6, 0, 0, 0), nullptr, 1.0).ratio);
}

// ---------------------------------------------------------------------------------------------

TEST(MergeTest, EqualValueKeepsHeldPointGreaterReplacesWhole)
{
    auto held = MakeLM(1, L"Held");
    auto newcomer = MakeLM(2, L"New");
    const std::vector<PointLoadEffect> a = {Effect(5.0, 1.0, 10.0, 0, held), Effect(5.0, 2.0, 10.0, 0, held),
                                            Effect(-1.0, 3.0, 10.0, 0, held)};
    const std::vector<PointLoadEffect> b = {Effect(5.0, 1.5, 20.0, 1, newcomer),
                                            Effect(5.000001, 2.5, 20.0, 1, newcomer),
                                            Effect(-2.0, 3.5, 20.0, 1, newcomer)};
    const auto mx = MergeMax(a, b);
    ASSERT_EQ(3u, mx.size());
    EXPECT_EQ(held.get(), mx[0].pLM);
    EXPECT_EQ(1.0, mx[0].xBeam);
    EXPECT_EQ(10.0, mx[0].xLoadModel);
    // A greater newcomer replaces all five fields.
    EXPECT_EQ(5.000001, mx[1].val);
    EXPECT_EQ(2.5, mx[1].xBeam);
    EXPECT_EQ(20.0, mx[1].xLoadModel);
    EXPECT_EQ(1, mx[1].type);
    EXPECT_EQ(newcomer.get(), mx[1].pLM);
    EXPECT_EQ(-1.0, mx[2].val);

    const auto mn = MergeMin(a, b);
    EXPECT_EQ(held.get(), mn[0].pLM);
    EXPECT_EQ(held.get(), mn[1].pLM);
    EXPECT_EQ(-2.0, mn[2].val);
    EXPECT_EQ(newcomer.get(), mn[2].pLM);
    EXPECT_EQ(3.5, mn[2].xBeam);
}

TEST(MergeTest, ResultHasLengthOfHeldListAndLongerNewcomerIsCutShorterThrows)
{
    const std::vector<PointLoadEffect> a = {Effect(1.0, 0, 0, 0)};
    const std::vector<PointLoadEffect> b = {Effect(2.0, 0, 0, 0), Effect(9.0, 0, 0, 0)};
    const auto mx = MergeMax(a, b);
    ASSERT_EQ(1u, mx.size());
    EXPECT_EQ(2.0, mx[0].val);
    ExpectSubscriptError([&] { MergeMax(b, a); });
    ExpectSubscriptError([&] { MergeMin(b, a); });
}

TEST(MergeTest, NegativeZeroDoesNotReplaceZero)
{
    const std::vector<PointLoadEffect> a = {Effect(0.0, 0, 0, 0)};
    const std::vector<PointLoadEffect> b = {Effect(-0.0, 1, 1, 0)};
    EXPECT_FALSE(std::signbit(MergeMin(a, b)[0].val));
    EXPECT_FALSE(std::signbit(MergeMax(a, b)[0].val));
}

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeTest, ConstructorAndCopyShareBridgeAndLoadModels)
{
    auto bridge = MakeBridge();
    auto lm = MakeLM(1, L"LM");
    CEnvelope env(bridge, BRT_SHEAR);
    EXPECT_EQ(bridge, env.m_pBridge);
    EXPECT_EQ(1, env.m_Type);
    EXPECT_TRUE(env.m_vMax.empty());
    EXPECT_TRUE(env.m_vMin.empty());

    env.m_vMax.push_back(Effect(3.0, 1.0, 2.0, 1, lm));
    CEnvelope copy(env);
    copy.m_vMax[0].val = 7.0;
    EXPECT_EQ(3.0, env.m_vMax[0].val);
    EXPECT_EQ(lm.get(), copy.m_vMax[0].pLM);
    EXPECT_EQ(bridge, copy.m_pBridge);
}

TEST(EnvelopeTest, SeriesGettersReadMaximaOrMinima)
{
    auto env = Envelope(0, {Effect(1.0, 0.5, 10.0, 0), Effect(2.0, 1.5, 11.0, 0)},
                        {Effect(-1.0, 0.25, 20.0, 0), Effect(-2.0, 1.25, 21.0, 0)});
    EXPECT_EQ((std::vector<double>{1.0, 2.0}), env->GetValues(true));
    EXPECT_EQ((std::vector<double>{-1.0, -2.0}), env->GetValues(false));
    EXPECT_EQ((std::vector<double>{0.5, 1.5}), env->GetLocations(true));
    EXPECT_EQ((std::vector<double>{0.25, 1.25}), env->GetLocations(false));
    EXPECT_EQ((std::vector<double>{10.0, 11.0}), env->GetLoadModelPositions(true));
    EXPECT_EQ((std::vector<double>{20.0, 21.0}), env->GetLoadModelPositions(false));

    std::vector<double> out = {99.0, 98.0, 97.0};
    env->GetLoadModelPositions(out, false);
    EXPECT_EQ((std::vector<double>{20.0, 21.0}), out);
    env->GetValues(out, true);
    EXPECT_EQ((std::vector<double>{1.0, 2.0}), out);
    env->GetLocations(out, false);
    EXPECT_EQ((std::vector<double>{0.25, 1.25}), out);
}

TEST(EnvelopeTest, CriticalValuesTakeTheFirstOfEqualExtremes)
{
    auto a = MakeLM(1, L"A");
    auto b = MakeLM(2, L"B");
    auto env = Envelope(0, {Effect(3.0, 0.0, 1.0, 0, a), Effect(8.0, 2.0, 2.0, 0, a), Effect(8.0, 4.0, 3.0, 0, b)},
                        {Effect(-6.0, 1.0, 5.0, 0, b), Effect(-6.0, 3.0, 6.0, 0, a), Effect(-1.0, 5.0, 7.0, 0, a)});
    const PointLoadEffect mx = env->GetMaxEffect();
    EXPECT_EQ(8.0, mx.val);
    EXPECT_EQ(2.0, mx.xBeam);
    EXPECT_EQ(a.get(), mx.pLM);
    const PointLoadEffect mn = env->GetMinEffect();
    EXPECT_EQ(-6.0, mn.val);
    EXPECT_EQ(1.0, mn.xBeam);
    EXPECT_EQ(b.get(), mn.pLM);
    const auto pair = env->GetCriticalValues();
    EXPECT_EQ(2.0, pair.first.xBeam);
    EXPECT_EQ(1.0, pair.second.xBeam);
}

TEST(EnvelopeTest, EmptyEnvelopeGivesDefaultEffects)
{
    CEnvelope env(nullptr, BRT_REACTIONS);
    EXPECT_EQ(0.0, env.GetMaxEffect().val);
    EXPECT_EQ(nullptr, env.GetMinEffect().pLM);
    const auto pair = env.GetCriticalValues();
    EXPECT_EQ(0.0, pair.first.val);
    EXPECT_EQ(0, pair.second.type);
}

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeSuperpositionTest, MomentAddsPointByPointValuesOnly)
{
    auto mine = MakeLM(1, L"Mine");
    auto theirs = MakeLM(2, L"Theirs");
    auto env = Envelope(0, {Effect(0.0, 0, 1, 0, mine), Effect(5.0, 5, 1, 0, mine), Effect(3.0, 10, 1, 0, mine)},
                        {Effect(-1.0, 0, 1, 0, mine), Effect(-2.0, 5, 1, 0), Effect(0.0, 10, 1, 0, mine)});
    auto other = Envelope(0, {Effect(1.0, 9, 9, 1, theirs), Effect(2.0, 9, 9, 1, theirs), Effect(2.0, 9, 9, 1, theirs)},
                          {Effect(-0.5, 9, 9, 1), Effect(-4.0, 9, 9, 1), Effect(-3.0, 9, 9, 1)});
    CEnvelope& result = (*env += *other);
    EXPECT_EQ(env.get(), &result);
    EXPECT_EQ((std::vector<double>{1.0, 7.0, 5.0}), env->GetValues(true));
    EXPECT_EQ((std::vector<double>{-1.5, -6.0, -3.0}), env->GetValues(false));
    EXPECT_EQ((std::vector<double>{0.0, 5.0, 10.0}), env->GetLocations(true));
    EXPECT_EQ(mine.get(), env->m_vMax[1].pLM);
    EXPECT_EQ(0, env->m_vMax[1].type);
    EXPECT_EQ(1.0, env->m_vMax[1].xLoadModel);
}

TEST(EnvelopeSuperpositionTest, MomentWithShorterOtherSumsWhatItCanThenThrows)
{
    std::vector<PointLoadEffect> max101, min101, max100, min100;
    for (int i = 0; i < 101; ++i)
    {
        max101.push_back(Effect(10.0, i, 0, 0));
        min101.push_back(Effect(-10.0, i, 0, 0));
    }
    for (int i = 0; i < 100; ++i)
    {
        max100.push_back(Effect(1.0, i, 0, 0));
        min100.push_back(Effect(-1.0, i, 0, 0));
    }
    auto env = Envelope(0, max101, min101);
    auto other = Envelope(0, max100, min100);
    ExpectSubscriptError([&] { *env += *other; });
    for (int i = 0; i < 100; ++i)
    {
        EXPECT_EQ(11.0, env->m_vMax[i].val);
        EXPECT_EQ(-11.0, env->m_vMin[i].val);
    }
    EXPECT_EQ(10.0, env->m_vMax[100].val);
    EXPECT_EQ(-10.0, env->m_vMin[100].val);
}

TEST(EnvelopeSuperpositionTest, ReactionOfFortyPlusOnePointShiftsEveryPoint)
{
    auto lm = MakeLM(1, L"Moving");
    auto env = Envelope(4, History(40, 1.0, 1.0, lm), History(40, -1.0, -1.0, lm));
    auto single = Envelope(4, {Effect(100.0, 0, 0, 4)}, {Effect(-50.0, 0, 0, 4)});
    *env += *single;
    ASSERT_EQ(40u, env->m_vMax.size());
    ASSERT_EQ(40u, env->m_vMin.size());
    for (std::size_t i = 0; i < 40; ++i)
    {
        EXPECT_EQ(101.0 + double(i), env->m_vMax[i].val);
        EXPECT_EQ(-51.0 - double(i), env->m_vMin[i].val);
        EXPECT_EQ(double(i), env->m_vMax[i].xLoadModel);
        EXPECT_EQ(lm.get(), env->m_vMax[i].pLM);
    }
}

TEST(EnvelopeSuperpositionTest, ReactionOfOnePlusFortyPointsBecomesTheShiftedHistory)
{
    auto moving = MakeLM(2, L"Moving");
    auto dead = MakeLM(1, L"Dead");
    auto env = Envelope(4, {Effect(100.0, 0.0, 0.0, 4, dead)}, {Effect(-50.0, 0.0, 0.0, 4, dead)});
    auto history = Envelope(4, History(40, 1.0, 1.0, moving), History(40, -1.0, -1.0, moving));
    *env += *history;
    ASSERT_EQ(40u, env->m_vMax.size());
    ASSERT_EQ(40u, env->m_vMin.size());
    // The first point keeps its own fields with the sum; the rest are the other's points shifted.
    EXPECT_EQ(101.0, env->m_vMax[0].val);
    EXPECT_EQ(-51.0, env->m_vMin[0].val);
    EXPECT_EQ(dead.get(), env->m_vMax[0].pLM);
    for (std::size_t i = 1; i < 40; ++i)
    {
        EXPECT_EQ(101.0 + double(i), env->m_vMax[i].val);
        EXPECT_EQ(-51.0 - double(i), env->m_vMin[i].val);
        EXPECT_EQ(double(i), env->m_vMax[i].xLoadModel);
        EXPECT_EQ(moving.get(), env->m_vMin[i].pLM);
    }
}

TEST(EnvelopeSuperpositionTest, ReactionHistoriesOfDifferentLengthsDoNotChange)
{
    auto env = Envelope(4, History(40, 1.0, 1.0, nullptr), History(40, -1.0, -1.0, nullptr));
    auto other = Envelope(4, History(39, 5.0, 0.0, nullptr), History(39, -5.0, 0.0, nullptr));
    *env += *other;
    ASSERT_EQ(40u, env->m_vMax.size());
    for (std::size_t i = 0; i < 40; ++i) EXPECT_EQ(1.0 + double(i), env->m_vMax[i].val);

    // An empty reaction envelope takes nothing.
    auto empty = Envelope(4, {}, {});
    *empty += *other;
    EXPECT_TRUE(empty->m_vMax.empty());
}

TEST(EnvelopeSuperpositionTest, ReactionHistoriesOfEqualLengthAddPositionByPosition)
{
    auto env = Envelope(4, History(3, 1.0, 1.0, nullptr), History(3, -1.0, -1.0, nullptr));
    auto other = Envelope(4, History(3, 10.0, 10.0, nullptr), History(3, 0.0, -10.0, nullptr));
    *env += *other;
    EXPECT_EQ((std::vector<double>{11.0, 22.0, 33.0}), env->GetValues(true));
    EXPECT_EQ((std::vector<double>{-1.0, -12.0, -23.0}), env->GetValues(false));
}

TEST(EnvelopeSuperpositionTest, ReactionReadingAMissingFirstPointThrows)
{
    auto one = Envelope(4, {Effect(1.0, 0, 0, 4)}, {Effect(-1.0, 0, 0, 4)});
    auto empty = Envelope(4, {}, {});
    ExpectSubscriptError([&] { *one += *empty; });
    EXPECT_EQ(1.0, one->m_vMax[0].val);

    auto many = Envelope(4, History(3, 1.0, 0.0, nullptr), History(3, -1.0, 0.0, nullptr));
    auto oneMaxNoMin = Envelope(4, {Effect(1.0, 0, 0, 4)}, {});
    ExpectSubscriptError([&] { *many += *oneMaxNoMin; });
}

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeExtendTest, AppendsZeroPointsAtTheOthersMaximaPositions)
{
    auto lm = MakeLM(1, L"LM");
    auto env = Envelope(4, History(3, 2.0, 1.0, lm), History(3, -2.0, -1.0, lm));
    std::vector<PointLoadEffect> otherMax, otherMin;
    for (int i = 0; i < 5; ++i)
    {
        otherMax.push_back(Effect(50.0, 7.0, 100.0 + i, 4, lm));
        otherMin.push_back(Effect(-50.0, 8.0, 200.0 + i, 4, lm)); // not consulted
    }
    auto other = Envelope(4, otherMax, otherMin);
    env->ExtendTo(other);
    ASSERT_EQ(5u, env->m_vMax.size());
    ASSERT_EQ(5u, env->m_vMin.size());
    for (std::size_t i = 3; i < 5; ++i)
    {
        for (const PointLoadEffect& p : {env->m_vMax[i], env->m_vMin[i]})
        {
            EXPECT_EQ(0.0, p.val);
            EXPECT_EQ(7.0, p.xBeam);
            EXPECT_EQ(100.0 + double(i), p.xLoadModel);
            EXPECT_EQ(4, p.type); // the envelope's type
            EXPECT_EQ(nullptr, p.pLM);
        }
    }
    EXPECT_EQ(2.0, env->m_vMax[0].val);
    EXPECT_EQ(lm.get(), env->m_vMax[2].pLM);

    // From a shorter or equal envelope nothing changes.
    auto shorter = Envelope(4, History(2, 0.0, 0.0, nullptr), History(2, 0.0, 0.0, nullptr));
    env->ExtendTo(shorter);
    env->ExtendTo(other);
    env->ExtendTo(nullptr);
    EXPECT_EQ(5u, env->m_vMax.size());
    EXPECT_EQ(5u, env->m_vMin.size());
}

TEST(EnvelopeExtendTest, ZeroPointTakesTheTypeOfTheExtendedEnvelope)
{
    auto env = Envelope(1, {}, {});
    env->ExtendTo(Envelope(0, {Effect(1.0, 3.0, 4.0, 0)}, {}));
    ASSERT_EQ(1u, env->m_vMax.size());
    EXPECT_EQ(1, env->m_vMax[0].type);
    EXPECT_EQ(1, env->m_vMin[0].type);
}

// ---------------------------------------------------------------------------------------------

TEST(EnvelopeRatioTest, MaximaAgainstMaximaMinimaAgainstMinima)
{
    auto propBridge = MakeBridge(1, 20.0);
    auto refBridge = MakeBridge(1, 30.0);
    auto p1 = MakeLM(1, L"P1");
    auto p2 = MakeLM(2, L"P2");
    auto r1 = MakeLM(3, L"R1");
    auto proposed = Envelope(0, {Effect(1.0, 0, 0, 0, p1), Effect(4.0, 5, 1, 0, p1), Effect(4.0, 10, 2, 0, p2)},
                             {Effect(-3.0, 2, 3, 0, p2), Effect(-1.0, 4, 4, 0, p1)}, propBridge);
    auto reference = Envelope(0, {Effect(2.0, 0, 0, 0, r1), Effect(8.0, 6, 7, 0, r1)},
                              {Effect(-2.0, 1, 1, 0, r1), Effect(-12.0, 3, 9, 0, r1)}, refBridge);
    const auto ratios = proposed->GetCriticalRatios(reference, 0.5);
    EXPECT_DOUBLE_EQ(1.0, ratios.first.ratio);   // 4 / (8 x 0.5)
    EXPECT_DOUBLE_EQ(0.5, ratios.second.ratio);  // -3 / (-12 x 0.5)
    EXPECT_EQ(5.0, ratios.first.proposed.xBeam); // the first of the equal maxima
    EXPECT_EQ(p1.get(), ratios.first.proposed.pLM);
    EXPECT_EQ(6.0, ratios.first.reference.xBeam);
    EXPECT_EQ(3.0, ratios.second.reference.xBeam);
    EXPECT_EQ(propBridge, ratios.first.bridge);
    EXPECT_EQ(propBridge, ratios.second.bridge);
    EXPECT_EQ(0.5, ratios.second.multiplier);
}

TEST(EnvelopeRatioTest, ZeroReferenceGivesZeroRatio)
{
    auto proposed = Envelope(4, {Effect(5.0, 0, 0, 4)}, {Effect(0.0, 0, 0, 4)});
    auto reference = Envelope(4, {Effect(0.0, 0, 0, 4)}, {Effect(0.0, 0, 0, 4)});
    const auto ratios = proposed->GetCriticalRatios(reference, 1.0);
    EXPECT_EQ(0.0, ratios.first.ratio);
    EXPECT_EQ(0.0, ratios.second.ratio);
    EXPECT_EQ(4, ratios.first.type);
}
