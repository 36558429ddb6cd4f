// Degenerate analysis input: steps far too large or too small, numbers that are not finite
// anywhere, and bridges or bridge sets beyond any real one. Every run ends in good time with
// a result or a clear error; nothing that is not a number turns into a zero.
#include "analysis_test_helpers.h"

#include "engine/EngineErrors.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"

#include "tests/engine/engine_test_util.h"

#include <cmath>
#include <limits>

using namespace antest;
using enginetest::ThrownText;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

std::string RunText(const std::shared_ptr<CBridge>& bridge, const std::shared_ptr<CLoadModel>& lm, double step)
{
    return ThrownText([&] {
        CMovingLoadAnalysis mla(bridge, lm);
        mla.SetPointsPerSpan(20);
        int n = 0;
        mla.Run(true, n, step);
    });
}

} // namespace

TEST(DegenerateInput, AHugeStepIsRefusedBeforeTheRunAndATinyOneToo)
{
    // One 100 kN axle over one 20 m span stepped by 1e13 m or 1e300 m would stand on the bridge
    // once (at the event stop of 1 m) and call 95 kNm its largest moment: such a step is refused.
    auto bridge = Bridge(1, 20.0);
    auto lm = Axles({{100.0, 0.0}});
    for (double huge : {1e13, 1e300})
        EXPECT_NE(RunText(bridge, lm, huge).find("longer than the bridge (20 m long)"), std::string::npos);
    EXPECT_EQ(RunText(bridge, lm, 1e-9).rfind(kStepTooSmallError, 0), 0u);
}

TEST(DegenerateInput, NumbersThatAreNotFiniteAreErrorsNeverZeros)
{
    auto bridge = Bridge(1, 20.0);
    const auto model = [] { return Axles({{100.0, 0.0}, {100.0, -4.0}}); };

    auto lm = model();
    lm->m_gUnits.value = 1e308; // times the other factors still finite, times 9.81 not
    lm->m_gDLA.value = 9.81;
    EXPECT_EQ(RunText(bridge, lm, 0.5), kNonFiniteLoadError);
    for (double bad : {kNaN, kInf, -kInf})
    {
        lm = model();
        lm->m_gLiveLoad.value = bad;
        EXPECT_EQ(RunText(bridge, lm, 0.5), kNonFiniteLoadError);
        lm = model();
        lm->m_vPL[1].magnitude = bad;
        EXPECT_EQ(RunText(bridge, lm, 0.5), kNonFiniteLoadError);
        lm = model();
        lm->m_vPL[1].location = bad;
        lm->m_bIsUpToDate = false;
        EXPECT_EQ(RunText(bridge, lm, 0.5), kNonFiniteLoadError);
        lm = model();
        lm->AddPartialUDL(5.0, 0.0, bad);
        EXPECT_EQ(RunText(bridge, lm, 0.5), kNonFiniteLoadError);
        EXPECT_EQ(RunText(bridge, model(), bad), kStepSizeError);
        EXPECT_EQ(RunText(ExplicitBridge({10.0, bad}), model(), 0.5), kSpanError);
    }

    // A result that is not a number (as a singular beam gives) never enters an envelope, and the
    // envelopes stay as they were.
    CEnvelopeResults env(bridge);
    auto good = plain::Analyse(*bridge, *model(), 5.0, 20);
    env.AddResult(good, model(), 5.0);
    const double held = env.GetBMEnvelope()->GetMaxEffect().val;
    auto broken = std::make_shared<CBeamResults>(*good);
    broken->m_vMbrRes[0].M[7] = kNaN;
    EXPECT_EQ(ThrownText([&] { env.AddResult(broken, model(), 6.0); }), kNonFiniteResultError);
    broken = std::make_shared<CBeamResults>(*good);
    broken->m_vReactions[1] = kInf;
    EXPECT_EQ(ThrownText([&] { env.AddResult(broken, model(), 6.0); }), kNonFiniteResultError);
    EXPECT_EQ(env.GetBMEnvelope()->GetMaxEffect().val, held);
    EXPECT_EQ(env.m_nAnalyses, 1);
}

TEST(DegenerateInput, APositionNotFiniteAnywhereIsTakenBackWhole)
{
    // Three spans, ten good positions, then positions each broken in one place: a moment or shear
    // of the first, middle or last member, its first or last point (past the points merged two at
    // a time), a value that would win its list (an infinity) or never could (NaN). The moments are
    // merged before the shears, so a broken shear comes after its position's moments have gone in.
    auto bridge = ExplicitBridge({8.0, 11.0, 9.0});
    const auto lm = Axles({{100.0, 0.0}, {80.0, -3.5}});
    CEnvelopeResults env(bridge);
    CEnvelopeResults untouched(bridge); // sees only the good positions
    for (int k = 0; k < 10; ++k)
    {
        const double p = 2.5 * k;
        env.AddResult(plain::Analyse(*bridge, *lm, p, 7), lm, p);
        untouched.AddResult(plain::Analyse(*bridge, *lm, p, 7), lm, p);
    }
    const auto good = plain::Analyse(*bridge, *lm, 13.0, 7);
    for (std::size_t member : {0u, 1u, 2u})
        for (bool shear : {false, true})
            for (bool last : {false, true})
                for (double bad : {kInf, -kInf, kNaN})
                {
                    auto broken = std::make_shared<CBeamResults>(*good);
                    std::vector<double>& values = shear ? broken->m_vMbrRes[member].V : broken->m_vMbrRes[member].M;
                    values[last ? values.size() - 1 : 0] = bad;
                    EXPECT_EQ(ThrownText([&] { env.AddResult(broken, lm, 13.0); }), kNonFiniteResultError)
                        << member << shear << last << bad;
                }
    ExpectSameResults(env, untouched);
    EXPECT_EQ(env.m_nBeamResults, 10);

    // And the run goes on as if they had never come.
    env.AddResult(good, lm, 13.0);
    untouched.AddResult(good, lm, 13.0);
    ExpectSameResults(env, untouched);
}

TEST(DegenerateInput, RatiosWithAMultiplierThatIsNotFiniteAreAnError)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 2, 1, 10.0, 20.0);
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"Ref"));
    lme->AddLoadModel(Axles({{100.0, 0.0}}));
    CReferenceCollection rc(1, CString(L"RC"), true, 0, 2.0);
    rc.m_vBS = {set};
    rc.m_vLME = {lme};
    rc.m_OverstressFactor = kNaN;
    EXPECT_EQ(ThrownText([&] { rc.Calculate(); }), kNonFiniteFactorError);
    rc.m_OverstressFactor = 1.4;
    ASSERT_TRUE(rc.Calculate());
    rc.SetProposedLoadModel(Axles({{150.0, 0.0}}));
    EXPECT_EQ(ThrownText([&] { rc.CalculateRatios(kNaN); }), kNonFiniteFactorError);
    ASSERT_TRUE(rc.CalculateRatios(1.0));
}

TEST(DegenerateInput, BridgesAndSetsBeyondAnyRealOneAreRefused)
{
    // A hundred spans is the most: such a bridge is still analysed (and quickly).
    auto hundred = ExplicitBridge(std::vector<double>(100, 10.0));
    auto lm = Axles({{100.0, 0.0}});
    CMovingLoadAnalysis mla(hundred, lm);
    mla.SetPointsPerSpan(20);
    int n = 0;
    double step = 50.0;
    EXPECT_GT(mla.Run(true, n, step)->m_nAnalyses, 0);
    EXPECT_EQ(ThrownText([] { ExplicitBridge(std::vector<double>(101, 10.0)); }), kTooManySpansError);

    EXPECT_EQ(CBridgeSet(1, L"S", 1000, 1, 10.0, 50.0).GetBridgeCount(), 1000);
    EXPECT_EQ(ThrownText([] { CBridgeSet(1, L"S", 1001, 1, 10.0, 50.0); }), kTooManyBridgesError);
    EXPECT_EQ(ThrownText([] { CBridgeSet(1, L"S", 1, 10.0, 50.0, 0.01); }), kTooManyBridgesError);
}

TEST(DegenerateInput, ASinglePositionTooLargeToShowIsAnErrorNotBlankCells)
{
    // One 100 kN axle at the middle of a 1e12 m span: a moment of 100 x 1e12 / 4 = 2.5e13 kNm,
    // whose decimals a double cannot hold; of a 1e300 m span, numbers that are no numbers at
    // all. Either would fill the tables with blank or wrong cells: the run says why instead.
    auto lm = Axles({{100.0, 0.0}});
    EXPECT_EQ(ThrownText([&] { CSinglePosAnalysis(Bridge(1, 1e12), lm).Run(5e11); }), kResultTooLargeError);
    const std::string huge = ThrownText([&] { CSinglePosAnalysis(Bridge(1, 1e300), lm).Run(5e299); });
    EXPECT_TRUE(huge == kNonFiniteResultError || huge == kResultTooLargeError || huge == kSpanError) << huge;
    // The largest a dialog takes (1,000 m, a load of 1,000 at factors of 10 and 1,000) still runs:
    // P L / 4 = 1e7 x 1000 / 4 = 2.5e9 kNm at mid-span.
    auto heavy = Axles({{1000.0, 0.0}});
    heavy->m_gDLA.value = 1000.0;
    heavy->m_GammaPL = 10.0;
    for (auto& axle : heavy->m_vPL) axle.gamma = 10.0;
    auto res = CSinglePosAnalysis(Bridge(1, 1000.0), heavy).Run(500.0);
    ASSERT_EQ(res->m_vReactions.size(), 2u);
    EXPECT_NEAR(res->m_vReactions[0], 5e6, 1e-3);
    const CMbrResults& span = res->m_vMbrRes.at(0);
    EXPECT_NEAR(span.M[span.M.size() / 2], 2.5e9, 1e-2);
}
