// Moving-load analysis: stepping, event stops, written-back stepping, span rules, and the
// factorised path against the plain analysis.
#include "analysis_test_helpers.h"

#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>

using namespace antest;

namespace {

std::shared_ptr<CEnvelopeResults> RunByStep(const std::shared_ptr<CBridge>& bridge,
                                            const std::shared_ptr<CLoadModel>& lm, double step, int nPoints = 20)
{
    CMovingLoadAnalysis mla(bridge, lm);
    mla.SetPointsPerSpan(nPoints);
    int n = 0;
    return mla.Run(true, n, step);
}

} // namespace

TEST(MovingLoadStepping, SingleAxleStopsOnEveryEvent)
{
    // One axle over one 20 m span by 0.7: events at 1.0 and 19.0.
    auto bridge = Bridge(1, 20.0);
    auto lm = Axles({{100.0, 0.0}});
    const auto res = RunByStep(bridge, lm, 0.7);
    const auto p = Positions(*res);
    ASSERT_EQ(p.size(), 32u);
    EXPECT_NEAR(p[0], -0.7, 1e-12);
    EXPECT_EQ(p[1], 0.0);
    EXPECT_NEAR(p[2], 0.7, 1e-12);
    EXPECT_EQ(p[3], 1.0); // stopped by the event
    EXPECT_NEAR(p[4], 1.7, 1e-12);
    EXPECT_NEAR(p[5], 2.4, 1e-12);
    const auto at19 = std::find(p.begin(), p.end(), 19.0); // exactly on the right event
    ASSERT_NE(at19, p.end());
    EXPECT_NEAR(*(at19 - 1), 18.5, 1e-9);
    EXPECT_NEAR(*(at19 + 1), 19.7, 1e-9);
    EXPECT_LT(p.back(), 20.7);
    EXPECT_NEAR(p.back(), 20.4, 1e-9);
    for (std::size_t i = 1; i < p.size(); ++i)
    {
        EXPECT_GT(p[i], p[i - 1]);
        EXPECT_LE(p[i] - p[i - 1], 0.7 + 1e-12);
    }
    // Off the bridge, or on its end, the axle gives nothing.
    const CKeptPositions& kept = res->GetKeptPositions();
    ASSERT_EQ(kept.GetCount(), p.size());
    std::vector<double> x, y;
    for (std::size_t i : {std::size_t{0}, std::size_t{1}, p.size() - 1})
        for (BeamResultsType kind : {BRT_MOMENT, BRT_SHEAR})
        {
            kept.GetLine(i, kind, x, y);
            for (double v : y) EXPECT_EQ(v, 0.0);
        }
    EXPECT_EQ(res->m_nAnalyses, 32);
}

TEST(MovingLoadStepping, OneAxleOnAnEventTakesAFullStepPastAnotherAxlesEvent)
{
    // Axles 0.5 m apart, step 1.0, on one 20 m span: when the front axle stands on the 1.0 m
    // event the whole step is taken, and the rear axle passes its own stop at 1.0 m.
    auto bridge = Bridge(1, 20.0);
    auto lm = Axles({{50.0, 0.0}, {50.0, -0.5}});
    const auto p = Positions(*RunByStep(bridge, lm, 1.0));
    ASSERT_EQ(p.size(), 23u);
    for (std::size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i], -1.0 + static_cast<double>(i)) << i;
    EXPECT_EQ(std::find(p.begin(), p.end(), 1.5), p.end()); // the rear axle never stands on 1.0
}

TEST(MovingLoadStepping, EventsOfEverySpanStopTheLoadInTurn)
{
    // Two 10 m spans, events at 1, 9, 11 and 19; one axle by 3.0. From 9 (on an event) the full
    // step is taken, past the event at 11: -3, 0, 1, 4, 7, 9, 12, 15, 18, 19, 22.
    auto bridge = Bridge(2, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    CMovingLoadAnalysis mla(bridge, lm);
    lm->Update();
    EXPECT_EQ(mla.GetDistanceToNextEvent(4.0), 5.0);
    EXPECT_EQ(mla.GetDistanceToNextEvent(9.5), 1.5);
    EXPECT_EQ(mla.GetDistanceToNextEvent(12.0), 7.0);
    const auto p = Positions(*RunByStep(bridge, lm, 3.0, 10));
    EXPECT_EQ(p, (std::vector<double>{-3.0, 0.0, 1.0, 4.0, 7.0, 9.0, 12.0, 15.0, 18.0, 19.0, 22.0}));
}

TEST(MovingLoadStepping, PartialLoadEndsAreEventsToo)
{
    // A 3 m patch by 2.0 on a 10 m span: the patch's end reaches the 1.0 m event first.
    auto bridge = Bridge(1, 10.0);
    auto lm = Model();
    lm->AddPartialUDL(10.0, 0.0, 3.0);
    CMovingLoadAnalysis mla(bridge, lm);
    lm->Update();
    EXPECT_DOUBLE_EQ(mla.GetDistanceToNextEvent(-4.0), 2.0); // end at -1.0
    EXPECT_DOUBLE_EQ(mla.GetDistanceToNextEvent(-2.5), 0.5); // end at 0.5
    EXPECT_DOUBLE_EQ(mla.GetDistanceToNextEvent(0.5), 0.5);  // start at 0.5
    EXPECT_DOUBLE_EQ(mla.GetDistanceToNextEvent(5.5), 0.5);  // end at 8.5
    EXPECT_DOUBLE_EQ(mla.GetDistanceToNextEvent(9.5), 1e9);  // nothing beyond
}

TEST(MovingLoadStepping, ByCountWritesBackTheStep)
{
    auto bridge = Bridge(1, 30.0);
    auto lm = Axles({{100.0, 0.0}});
    CMovingLoadAnalysis mla(bridge, lm);
    mla.SetPointsPerSpan(10);
    int n = 20;
    double step = 99.0;
    mla.Run(false, n, step);
    EXPECT_EQ(step, 1.5);
    EXPECT_EQ(n, 20);
    EXPECT_EQ(mla.GetNoSteps(), 20);
}

TEST(MovingLoadStepping, ByStepWritesBackTheCount)
{
    // Lb = 20, vehicle length 10, step 0.5: (int)ceil(60.5) + 1 = 62.
    auto bridge = Bridge(1, 20.0);
    auto lm = Axles({{100.0, 0.0}, {100.0, -10.0}});
    CMovingLoadAnalysis mla(bridge, lm);
    mla.SetPointsPerSpan(10);
    int n = 0;
    double step = 0.5;
    auto res = mla.Run(true, n, step);
    EXPECT_EQ(n, 62);
    EXPECT_EQ(step, 0.5);
    EXPECT_EQ(mla.GetLoadModelLength(), 10.0);
    EXPECT_EQ(mla.GetNoAnalyses(), res->m_nAnalyses);
    // The last position has the rear axle past the right end.
    EXPECT_GT(Positions(*res).back() - 10.0, 20.0 - 0.5);
}

TEST(MovingLoadStepping, UniformLoadsAloneAreAnalysedOnceAtZero)
{
    auto bridge = Bridge(2, 10.0);
    auto lm = Model();
    lm->AddUDL(2.0);
    for (bool byStep : {true, false})
    {
        CMovingLoadAnalysis mla(bridge, lm);
        int n = 20;
        double step = 0.3;
        auto res = mla.Run(byStep, n, step);
        EXPECT_TRUE(lm->m_bIsMoving); // the run settled its own copy, not the model given
        ASSERT_EQ(Positions(*res), std::vector<double>{0.0});
        EXPECT_EQ(mla.GetNoAnalyses(), 1); // the one analysis counts
        EXPECT_EQ(res->m_nAnalyses, 1);
        EXPECT_NEAR(res->GetReactionEnvelope(1)->m_vMax[0].val, 25.0, 1e-6);
    }
}

TEST(MovingLoadStepping, BadSteppingIsRefusedBeforeTheRun)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    for (double bad : {0.0, -0.5, std::nan(""), HUGE_VAL})
    {
        CMovingLoadAnalysis mla(bridge, lm);
        int n = 7;
        double step = bad;
        EXPECT_EQ(ThrownText([&] { mla.Run(true, n, step); }), kStepSizeError);
        EXPECT_EQ(n, 7);
        EXPECT_EQ(mla.GetNoAnalyses(), 0);
    }
    for (int bad : {0, -3})
    {
        CMovingLoadAnalysis mla(bridge, lm);
        int n = bad;
        double step = 0.25;
        EXPECT_EQ(ThrownText([&] { mla.Run(false, n, step); }), kStepCountError);
        EXPECT_EQ(step, 0.25);
    }
    {
        CMovingLoadAnalysis mla(bridge, lm);
        int n = 7;
        double step = 1e-9;
        // The refusal begins with the engine's text and goes on to name what fits.
        EXPECT_EQ(ThrownText([&] { mla.Run(true, n, step); }).rfind(kStepTooSmallError, 0), 0u);
        EXPECT_EQ(n, 7);
    }
}

// Kept positions that cannot fit in the memory available are refused before the run starts,
// with a message that says why; a run that keeps only its envelopes goes on.
TEST(MovingLoadStepping, PositionsThatCannotBeKeptAreRefusedBeforeTheRun)
{
    struct SMemory
    {
        explicit SMemory(std::uint64_t bytes) { CMovingLoadAnalysis::SetMemoryForRuns(bytes); }
        ~SMemory() { CMovingLoadAnalysis::SetMemoryForRuns(0); }
    } memory(4u << 20); // 4 MB
    auto bridge = Bridge(3, 20.0);
    auto lm = Axles({{100.0, 0.0}, {100.0, -4.0}});
    // 50 m + 4 m by 0.05 m: about 1 080 positions of 100-point spans, some 5 kB each (5 MB).
    {
        CMovingLoadAnalysis mla(bridge, lm);
        mla.SetPointsPerSpan(100);
        int n = 0;
        double step = 0.05;
        std::string what;
        try
        {
            mla.Run(true, n, step);
        }
        catch (const std::invalid_argument& e)
        {
            what = e.what();
        }
        EXPECT_NE(what.find("memory"), std::string::npos) << what;
        EXPECT_NE(what.find("larger step"), std::string::npos) << what;
        EXPECT_EQ(mla.GetNoAnalyses(), 0);
        EXPECT_EQ(n, 0);
        // It names the finest stepping that fits, and that stepping is kept.
        double smallest = 0;
        int steps = 0;
        const std::size_t at = what.find("the smallest step that fits is ");
        ASSERT_NE(at, std::string::npos) << what;
        ASSERT_EQ(std::sscanf(what.c_str() + at, "the smallest step that fits is %lf m (at most %d steps)", &smallest,
                              &steps),
                  2)
            << what;
        EXPECT_GT(smallest, 0.05);
        EXPECT_LT(smallest, 0.1);
        CMovingLoadAnalysis fits(bridge, lm);
        fits.SetPointsPerSpan(100);
        EXPECT_GT(fits.Run(true, n, smallest)->GetKeptPositions().GetCount(), 500u);
        CMovingLoadAnalysis byCount(bridge, lm);
        byCount.SetPointsPerSpan(100);
        EXPECT_NO_THROW(byCount.Run(false, steps, step));
        // A step a little finer does not fit.
        CMovingLoadAnalysis finer(bridge, lm);
        finer.SetPointsPerSpan(100);
        double less = smallest * 0.98;
        EXPECT_THROW(finer.Run(true, n, less), std::invalid_argument);
    }
    {
        CMovingLoadAnalysis mla(bridge, lm);
        mla.SetPointsPerSpan(100);
        mla.SetKeepBeamResults(false);
        int n = 0;
        double step = 0.05;
        EXPECT_TRUE(mla.Run(true, n, step)->HasEnvelopes());
        EXPECT_GT(mla.GetNoAnalyses(), 1000);
    }
    // By 1 m (56 positions, under 1 MB) the positions are kept.
    EXPECT_EQ(RunByStep(bridge, lm, 1.0, 100)->GetKeptPositions().GetCount(), 56u);
}

TEST(MovingLoadStepping, EmptyModelMovesWithoutLoads)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Model();
    auto res = RunByStep(bridge, lm, 2.0);
    const auto p = Positions(*res);
    EXPECT_EQ(p, (std::vector<double>{-2.0, 0.0, 2.0, 4.0, 6.0, 8.0, 10.0}));
    for (const PointLoadEffect& e : res->GetBMEnvelope()->m_vMax) EXPECT_EQ(e.val, 0.0);
}

TEST(MovingLoadResults, PointLoadReachesPLOverFourAtMidSpan)
{
    auto bridge = Bridge(1, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    CMovingLoadAnalysis mla(bridge, lm);
    mla.SetPointsPerSpan(100);
    int n = 20;
    double step = 0.0;
    auto res = mla.Run(false, n, step);
    const PointLoadEffect m = res->GetBMEnvelope()->GetMaxEffect();
    EXPECT_NEAR(m.val, 250.0, 1e-6);
    EXPECT_NEAR(m.xBeam, 5.0, 1e-9);
    EXPECT_NEAR(m.xLoadModel, 5.0, 1e-9);
    EXPECT_EQ(m.pLM, lm.get());
    // Reactions peak at P with the load over a support... within 0.001 m; the step puts it at 0.5.
    EXPECT_NEAR(res->GetReactionEnvelope(0)->GetMaxEffect().val, 95.0, 1e-9);
}

TEST(MovingLoadResults, SpanRuleAxleIsMovedOverTheWholeRange)
{
    // Two 20 m spans; the NAASRA rule puts a second 100 kN axle 20 m behind the first. The
    // rear axle alone on span 2 governs its sagging moment.
    auto bridge = Bridge(2, 20.0);
    std::vector<double> maxima;
    for (int run = 0; run < 2; ++run)
    {
        auto lm = Axles({{100.0, 0.0}});
        lm->m_bAdjustToBridge = true;
        lm->m_lmBridge = CLoadModel::LM_NAASRA_PL;
        CMovingLoadAnalysis mla(bridge, lm);
        mla.SetPointsPerSpan(100);
        int n = 0;
        double step = 0.5;
        auto res = mla.Run(true, n, step);
        EXPECT_EQ(mla.GetLoadModelLength(), 20.0);
        maxima.push_back(MaxMomentBetween(*res, 20.0, 40.0));
        // Running the same model again gives the same result.
        auto again = mla.Run(true, n, step);
        maxima.push_back(MaxMomentBetween(*again, 20.0, 40.0));
    }
    for (double m : maxima) EXPECT_NEAR(m, 414.3, 0.05);
    for (double m : maxima) EXPECT_EQ(m, maxima[0]);
}

TEST(MovingLoadResults, PointsPerSpanComeFromTheCaller)
{
    auto bridge = Bridge(2, 10.0);
    auto lm = Axles({{100.0, 0.0}});
    auto res = RunByStep(bridge, lm, 1.0, 7);
    EXPECT_EQ(res->GetBMEnvelope()->m_vMax.size(), 2u * (7 + 3));
    std::vector<double> x, y;
    for (std::size_t i = 0; i < res->GetKeptPositions().GetCount(); ++i)
    {
        res->GetKeptPositions().GetLine(i, BRT_SHEAR, x, y);
        EXPECT_EQ(x.size(), 20u);
    }
}

// --- The factorised path against the plain one -------------------------------------------------

namespace {

std::shared_ptr<CLoadModel> RandomModel(std::mt19937& rng)
{
    std::uniform_real_distribution<double> U(0.0, 1.0);
    auto lm = Model(L"Random");
    const int nPL = static_cast<int>(U(rng) * 7);
    double x = 0.0;
    for (int i = 0; i < nPL; ++i)
    {
        lm->AddPointLoad(20.0 + 150.0 * U(rng), x, U(rng) < 0.3 ? 1.5 + 3.0 * U(rng) : 0.0);
        x -= 0.5 + 6.0 * U(rng);
    }
    if (U(rng) < 0.4) lm->AddPartialUDL(1.0 + 20.0 * U(rng), -10.0 * U(rng), 0.5 + 25.0 * U(rng));
    if (U(rng) < 0.2) lm->AddPartialUDL(1.0 + 5.0 * U(rng), -5.0 * U(rng), 30.0 * U(rng));
    if (U(rng) < 0.3) lm->AddUDL(1.0 + 10.0 * U(rng));
    if (nPL == 0 && lm->m_vPUDL.empty() && U(rng) < 0.5) lm->AddUDL(3.0);
    lm->m_WidthFactor = static_cast<int>(U(rng) * 3);
    lm->m_gDLA.value = 1.0 + 0.4 * U(rng);
    lm->m_gLiveLoad.value = 1.0 + U(rng);
    lm->m_gUnits.value = U(rng) < 0.5 ? 9.81 : 1.0;
    if (nPL > 0) lm->m_vPL[0].gamma = 0.5 + U(rng);
    if (U(rng) < 0.1) lm->m_bBM = false;
    if (U(rng) < 0.1) lm->m_bSF = false;
    if (U(rng) < 0.1)
    {
        lm->m_bUseMaxL = true;
        lm->m_maxL = 30.0;
    }
    return lm;
}

std::shared_ptr<CBridge> RandomBridge(std::mt19937& rng)
{
    std::uniform_real_distribution<double> U(0.0, 1.0);
    const int config = 1 + static_cast<int>(U(rng) * 4);
    if (config == 4)
    {
        std::vector<double> spans;
        const int n = 1 + static_cast<int>(U(rng) * 4);
        for (int i = 0; i < n; ++i) spans.push_back(2.0 + 25.0 * U(rng));
        return ExplicitBridge(spans);
    }
    return Bridge(config, 2.0 + 40.0 * U(rng));
}

} // namespace

TEST(MovingLoadFactorised, BitwiseEqualToThePlainAnalysisOverRandomCases)
{
    std::mt19937 rng(20240611);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    int positions = 0;
    for (int c = 0; c < 60; ++c)
    {
        SCOPED_TRACE(c);
        auto bridge = RandomBridge(rng);
        auto lm = RandomModel(rng);
        const int nPoints = 5 + static_cast<int>(U(rng) * 30);
        const double step = 0.3 + 3.0 * U(rng);

        lm->Update(); // as the run settles its copy
        CMovingLoadAnalysis mla(bridge, lm);
        mla.SetPointsPerSpan(nPoints);
        int n = 0;
        double s = step;
        auto fast = mla.Run(true, n, s);

        auto plainResult = plain::MovingRun(bridge, lm, step, nPoints);
        ExpectSameResults(*fast, *plainResult);
        if (HasFatalFailure()) return;
        positions += fast->m_nAnalyses;
    }
    EXPECT_GT(positions, 1000);
}

TEST(MovingLoadFactorised, OneSinglePositionObjectServesManyPositionsBitwise)
{
    // Re-used member loads and solver against fresh ones at scattered positions.
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    for (int c = 0; c < 20; ++c)
    {
        auto bridge = RandomBridge(rng);
        auto lm = RandomModel(rng);
        lm->Update();
        CSinglePosAnalysis spa(bridge, lm);
        spa.Prepare(12);
        const double Lb = bridge->GetBeam()->m_Length;
        for (int k = 0; k < 25; ++k)
        {
            const double p = -5.0 + (Lb + lm->m_Length + 10.0) * U(rng);
            ExpectSameBeamResults(*spa.Analyse(p), *plain::Analyse(*bridge, *lm, p, 12));
            if (HasFatalFailure()) return;
        }
    }
}

TEST(MovingLoadFactorised, BridgeRangeMatchesPlainRunsAugmentedBitwise)
{
    // The bridge-range run re-uses one factorisation per bridge and one beam result per model;
    // its combined envelopes must equal plain per-model runs merged in ensemble order.
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> U(0.0, 1.0);
    for (int config = 1; config <= 3; ++config)
    {
        SCOPED_TRACE(config);
        auto set =
            std::make_shared<CBridgeSet>(1, CString(L"Set"), 4, config, 3.0 + 10.0 * U(rng), 30.0 + 10.0 * U(rng));
        auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"E"));
        for (int m = 0; m < 4; ++m) lme->AddLoadModel(RandomModel(rng));
        for (const auto& lm : lme->m_vLoadModel) lm->Update(); // as each run settles its copy
        CMultiBridgeAnalysis mba(set, lme);
        mba.SetPointsPerSpan(15);
        int n = 15;
        double step = 0.0;
        const auto fast = mba.Run(false, n, step);
        ASSERT_EQ(fast.size(), 4u);
        int analyses = 0;
        for (unsigned b = 0; b < 4; ++b)
        {
            auto bridge = set->GetBridge(b);
            CEnvelopeResults combined;
            for (const auto& lm : lme->m_vLoadModel)
            {
                auto one = plain::MovingRun(bridge, lm, bridge->GetBeam()->m_Length / 15, 15);
                analyses += one->m_nAnalyses;
                combined.Augment(one);
            }
            ExpectSameResults(*fast[b], combined, false);
            if (HasFatalFailure()) return;
            EXPECT_EQ(fast[b]->GetKeptPositions().GetCount(), 0u);
        }
        EXPECT_EQ(mba.GetNoAnalyses(), analyses);
    }
}

TEST(MovingLoadFactorised, PerModelResultsWithoutBeamResultsHaveTheSameEnvelopes)
{
    std::mt19937 rng(5);
    auto bridge = Bridge(3, 17.0);
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"E"));
    for (int m = 0; m < 3; ++m) lme->AddLoadModel(RandomModel(rng));
    std::vector<std::shared_ptr<CEnvelopeResults>> kept, lean;
    for (bool keep : {true, false})
    {
        CMultiMovingLoadAnalysis mmla(bridge, lme);
        mmla.SetPointsPerSpan(9);
        mmla.SetKeepBeamResults(keep);
        int n = 0;
        double step = 0.45;
        mmla.Run(true, n, step);
        (keep ? kept : lean) = mmla.GetLoadModelResults();
    }
    ASSERT_EQ(kept.size(), lean.size());
    for (std::size_t i = 0; i < kept.size(); ++i)
    {
        ExpectSameResults(*kept[i], *lean[i], false);
        EXPECT_EQ(kept[i]->m_nBeamResults, lean[i]->m_nBeamResults);
        EXPECT_EQ(kept[i]->GetKeptPositions().GetCount(), static_cast<std::size_t>(kept[i]->m_nBeamResults));
        EXPECT_EQ(lean[i]->GetKeptPositions().GetCount(), 0u);
    }
}

TEST(MovingLoadStepping, AStepLongerThanTheBridgeIsRefusedWithItsLength)
{
    // Two 100 kN axles 4 m apart on a 20 m span: the largest moment is 810 kNm, under the axle
    // at 9 m when the other stands at 13 m (R = 100 x 11 / 20 + 100 x 7 / 20 = 90 kN, M = 90 x 9).
    auto bridge = Bridge(1, 20.0);
    auto lm = Axles({{100.0, 0.0}, {100.0, -4.0}});
    const std::string refusal = "The step of %s m is longer than the bridge (20 m long): a moving load needs a "
                                "step of at most 20 m, so that at least two of its positions stand on the bridge.";
    for (auto [step, shown] :
         {std::pair{1e6, "1e+06"}, {2147483648.0, "2.14748e+09"}, {1e308, "1e+308"}, {20.5, "20.5"}})
    {
        CMovingLoadAnalysis mla(bridge, lm);
        int n = 0;
        double s = step;
        std::string expected = refusal;
        expected.replace(expected.find("%s"), 2, shown);
        EXPECT_EQ(ThrownText([&] { mla.Run(true, n, s); }), expected);
        EXPECT_EQ(s, step); // nothing written back
    }
    // A step as long as the bridge still stands on it twice; a short one finds the 810.
    for (double step : {20.0, 0.5})
    {
        CMovingLoadAnalysis mla(bridge, lm);
        mla.SetPointsPerSpan(100);
        int n = 0;
        double s = step;
        auto res = mla.Run(true, n, s);
        if (step == 0.5)
        {
            EXPECT_NEAR(MaxMomentBetween(*res, 0.0, 20.0), 810.0, 1e-9);
        }
    }
}
