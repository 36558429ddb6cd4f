// Ensemble, bridge-range and overstress runs: combination, progress and status posts,
// bridges actually generated, one point count per run.
#include "analysis_test_helpers.h"

#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/CriticalResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/OverstressAnalysis.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"

#include <thread>

using namespace antest;

namespace {

std::shared_ptr<CLoadModelEnsemble> Ensemble(std::vector<std::shared_ptr<CLoadModel>> models)
{
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"Ensemble"));
    for (auto& m : models) lme->AddLoadModel(m);
    return lme;
}

// Restores NPOINTS_ALONG_BEAM after a test that changes it.
struct PointsSetting
{
    int saved = CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM;
    ~PointsSetting() { CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = saved; }
};

} // namespace

// The runs a list of UWM_PBAR_UPDATE posts reports.
template <class Posts>
int RunsReported(const Posts& posts)
{
    int runs = 0;
    for (const auto& p : posts)
    {
        EXPECT_EQ(p.wParam, 1u);
        runs += p.lParam > 1 ? static_cast<int>(p.lParam) : 1;
    }
    return runs;
}

// Thousands of runs from several threads reach the window in a few posts that count them all.
TEST(Progress, RunsAreReportedAFewAtATimeAndAllByTheFlush)
{
    RecordingWindow window;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 500; ++i) qor::CountProgressStep();
        });
    for (std::thread& t : threads) t.join();
    qor::FlushProgress();
    const auto posts = window.Posts(UWM_PBAR_UPDATE);
    EXPECT_EQ(RunsReported(posts), 2000);
    EXPECT_LE(posts.size(), 20u); // a few a second, however long the machine takes
    qor::FlushProgress();         // nothing held: nothing posted
    EXPECT_EQ(window.Posts(UWM_PBAR_UPDATE).size(), posts.size());
}

TEST(MultiMovingLoad, CombinesTheModelsAndPostsOneProgressStepEach)
{
    RecordingWindow window;
    auto bridge = Bridge(1, 10.0);
    auto light = Axles({{50.0, 0.0}}, L"Light");
    auto heavy = Axles({{100.0, 0.0}}, L"Heavy");
    auto lane = Model(L"Lane");
    lane->AddUDL(4.0);
    CMultiMovingLoadAnalysis mmla(bridge, Ensemble({light, heavy, lane}));
    mmla.SetPointsPerSpan(10);
    int n = 20;
    double step = 0.0;
    auto res = mmla.Run(false, n, step);

    // One run each, reported a few at a time (lParam: how many, 0 for one), all by the end.
    const auto steps = window.Posts(UWM_PBAR_UPDATE);
    ASSERT_FALSE(steps.empty());
    EXPECT_LE(steps.size(), 3u);
    EXPECT_EQ(RunsReported(steps), 3);

    const auto perModel = mmla.GetLoadModelResults();
    ASSERT_EQ(perModel.size(), 3u);
    EXPECT_EQ(mmla.GetNoAnalyses(), perModel[0]->m_nAnalyses + perModel[1]->m_nAnalyses + 1);
    EXPECT_EQ(res->m_nAnalyses, mmla.GetNoAnalyses());
    EXPECT_EQ(res->m_nAugments, 3);

    // Mid-span: heavy axle PL/4 = 250 beats the lane's wL^2/8 = 50 and the light axle's 125.
    const PointLoadEffect m = res->GetBMEnvelope()->GetMaxEffect();
    EXPECT_NEAR(m.val, 250.0, 1e-6);
    EXPECT_EQ(m.pLM, heavy.get());
    // End shear: the lane's wL/2 = 20 loses to the heavy axle near the support (95).
    EXPECT_EQ(res->GetReactionEnvelope(0)->GetMaxEffect().pLM, heavy.get());
}

TEST(MultiMovingLoad, EnsembleWithoutModelsGivesAResultWithoutEnvelopes)
{
    RecordingWindow window;
    CMultiMovingLoadAnalysis mmla(Bridge(1, 10.0), Ensemble({}));
    int n = 20;
    double step = 0.0;
    auto res = mmla.Run(false, n, step);
    ASSERT_TRUE(res);
    EXPECT_FALSE(res->HasEnvelopes());
    EXPECT_TRUE(window.Posts(UWM_PBAR_UPDATE).empty());

    // The result still names its bridge: one default pair per support.
    EXPECT_EQ(res->GetBridge(), mmla.GetResults()->GetBridge());
    ASSERT_TRUE(res->GetBridge());
    const CCriticalValueResults values(res);
    EXPECT_EQ(values.GetBM().first.val, 0.0);
    EXPECT_EQ(values.GetSF().second.val, 0.0);
    EXPECT_EQ(values.GetBM().first.GetLoadModelName(), CString(L"Zero LM"));
    ASSERT_EQ(values.GetReactionPairs().size(), 2u);
    EXPECT_EQ(values.GetReaction(1).first.val, 0.0);
    EXPECT_EQ(values.GetReaction(1).second.GetLoadModelName(), CString(L"Zero LM"));
}

TEST(MultiBridge, EnsembleWithoutModelsGivesZeroValuesAndRatiosAtEverySupport)
{
    // Two-span bridges: three supports each, whose series and ratio tables the views read.
    RecordingWindow window;
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 2, 2, 10.0, 20.0);
    CMultiBridgeAnalysis empty(set, Ensemble({}));
    int n = 10;
    double step = 0.0;
    const auto results = empty.Run(false, n, step);
    ASSERT_EQ(results.size(), 2u);
    const CCriticalValueEnsemble values(results, set);
    std::vector<double> max, min;
    values.GetReaction(2, max, min);
    EXPECT_EQ(max, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(min, (std::vector<double>{0.0, 0.0}));

    // Against a 100 kN axle: every ratio is 0.
    CMultiBridgeAnalysis ref(set, Axles({{100.0, 0.0}}));
    ref.SetPointsPerSpan(10);
    const auto refResults = ref.Run(false, n, step);
    std::vector<CCriticalRatioResults> ratios;
    for (std::size_t i = 0; i < results.size(); ++i)
        ratios.push_back(results[i]->GetCriticalRatios(refResults[i], 1.0));
    ASSERT_EQ(ratios[1].GetReactionPairs().size(), 3u);
    // 20 m spans by 4.0: the axle stops 1 m short of the pier (event at 19), where the pier
    // takes Pa/L + 2M/L with M = Pab(L + a)/4L^2: 95 + 2 x 46.3125 / 20 = 99.63125.
    EXPECT_NEAR(ratios[1].GetReaction(1).first.reference.val, 99.63125, 1e-6);
    EXPECT_EQ(ratios[1].GetReaction(1).first.ratio, 0.0);
    const CCriticalRatioEnsemble e(ratios, set);
    EXPECT_EQ(e.GetGoverningAbutmentRatios(), (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(e.GetGoverningPierRatios(), (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(e.GetGoverningSFRatios(), (std::vector<double>{0.0, 0.0}));
}

TEST(MultiMovingLoad, RunsWithoutAMainWindow)
{
    auto bridge = Bridge(1, 10.0);
    CMultiMovingLoadAnalysis mmla(bridge, Ensemble({Axles({{10.0, 0.0}})}));
    int n = 5;
    double step = 0.0;
    EXPECT_TRUE(mmla.Run(false, n, step)->HasEnvelopes());
}

TEST(MultiBridge, OneResultPerGeneratedBridgeAndOneStepPerPair)
{
    RecordingWindow window;
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 4, 2, 10.0, 25.0);
    auto a = Axles({{100.0, 0.0}, {100.0, -3.0}}, L"A");
    auto b = Axles({{150.0, 0.0}}, L"B");
    CMultiBridgeAnalysis mba(set, Ensemble({a, b}));
    mba.SetPointsPerSpan(10);
    int n = 10;
    double step = 0.0;
    const auto results = mba.Run(false, n, step);
    ASSERT_EQ(results.size(), 4u);
    EXPECT_EQ(RunsReported(window.Posts(UWM_PBAR_UPDATE)), 8);
    // The written-back step is that of the last bridge: 2 x 25 m over 10 steps.
    EXPECT_DOUBLE_EQ(step, 5.0);
    int total = 0;
    for (std::size_t i = 0; i < results.size(); ++i)
    {
        EXPECT_EQ(results[i]->GetBridge(), set->GetBridge(static_cast<unsigned>(i)));
        total += results[i]->m_nAnalyses;
    }
    EXPECT_EQ(mba.GetNoAnalyses(), total);
}

TEST(MultiBridge, SetOfOneBridgeGeneratesNoneAndRunsNone)
{
    RecordingWindow window;
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 1, 1, 10.0, 10.0);
    CMultiBridgeAnalysis mba(set, Axles({{100.0, 0.0}}));
    int n = 10;
    double step = 0.0;
    EXPECT_TRUE(mba.Run(false, n, step).empty());
    EXPECT_EQ(mba.GetNoAnalyses(), 0);
    EXPECT_TRUE(window.Posts(UWM_PBAR_UPDATE).empty());
}

TEST(MultiBridge, SingleModelIsWrappedInAnEnsemble)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 2, 1, 10.0, 20.0);
    auto lm = Axles({{100.0, 0.0}});
    CMultiBridgeAnalysis mba(set, lm);
    mba.SetPointsPerSpan(100);
    int n = 20;
    double step = 0.0;
    const auto results = mba.Run(false, n, step);
    ASSERT_EQ(results.size(), 2u);
    EXPECT_NEAR(results[0]->GetBMEnvelope()->GetMaxEffect().val, 250.0, 1e-6);
    EXPECT_NEAR(results[1]->GetBMEnvelope()->GetMaxEffect().val, 500.0, 1e-6);
}

TEST(MultiBridge, PointCountIsReadOnceForTheWholeRun)
{
    // The setting changes after the first load-model run (on the progress post): every
    // envelope of the run still has the length of the first.
    PointsSetting restore;
    CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 10;
    RecordingWindow window;
    window.m_OnPost = [](const RecordingWindow::Post&) { CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM += 7; };
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 3, 1, 10.0, 20.0);
    CMultiBridgeAnalysis mba(set, Ensemble({Axles({{100.0, 0.0}}), Axles({{60.0, 0.0}, {60.0, -2.0}})}));
    int n = 8;
    double step = 0.0;
    for (const auto& r : mba.Run(false, n, step))
    {
        EXPECT_EQ(r->GetBMEnvelope()->m_vMax.size(), 13u);
        EXPECT_EQ(r->GetSFEnvelope()->m_vMin.size(), 13u);
    }
}

TEST(MultiBridge, BadSteppingIsRefused)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 3, 1, 10.0, 20.0);
    CMultiBridgeAnalysis mba(set, Axles({{100.0, 0.0}}));
    int n = 0;
    double step = 0.0;
    EXPECT_EQ(ThrownText([&] { mba.Run(false, n, step); }), kStepCountError);
    EXPECT_EQ(ThrownText([&] { mba.Run(true, n, step); }), kStepSizeError);
}

TEST(Overstress, IntensityFollowsTheGoverningSpan)
{
    EXPECT_EQ(COverstressAnalysis::GetIntensity(5.0), 16.0);
    EXPECT_EQ(COverstressAnalysis::GetIntensity(12.0), 16.0);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(13.5), 16.5);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(15.0), 17.0);
    EXPECT_EQ(COverstressAnalysis::GetIntensity(16.0), 17.0);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(19.5), 17.5);
    EXPECT_EQ(COverstressAnalysis::GetIntensity(24.0), 18.0);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(28.5), 18.5);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(30.0), 19.0);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(35.0), 20.0);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(40.0), 21.0);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(45.0), 22.5);
    EXPECT_DOUBLE_EQ(COverstressAnalysis::GetIntensity(50.0), 24.0);
    EXPECT_EQ(COverstressAnalysis::GetIntensity(50.01), 24.0);
    EXPECT_EQ(COverstressAnalysis::GetIntensity(120.0), 24.0);
}

TEST(Overstress, OneUniformRunAndOneStatusLinePerBridge)
{
    RecordingWindow window;
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 3, 1, 10.0, 30.0);
    COverstressAnalysis os(set);
    os.SetPointsPerSpan(20);
    const auto results = os.Run();
    ASSERT_EQ(results.size(), 3u);

    const auto lines = window.Posts(UWM_ADD_STATUS);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, L"Overstress: L = 10.000, w = 16.000");
    EXPECT_EQ(lines[1].text, L"Overstress: L = 20.000, w = 17.667");
    EXPECT_EQ(lines[2].text, L"Overstress: L = 30.000, w = 19.000");
    EXPECT_TRUE(window.Posts(UWM_PBAR_UPDATE).empty());

    // Analysed once, at 0.0: simple span wL^2/8.
    const double spans[] = {10.0, 20.0, 30.0};
    for (std::size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(results[i]->m_nAnalyses, 1);
        EXPECT_EQ(Positions(*results[i]), std::vector<double>{0.0});
        const double L = spans[i];
        const double w = COverstressAnalysis::GetIntensity(L);
        EXPECT_NEAR(results[i]->GetBMEnvelope()->GetMaxEffect().val, w * L * L / 8.0, 1e-6);
        const auto lm = results[i]->GetBMEnvelope()->GetMaxEffect().pLM;
        ASSERT_TRUE(lm);
        EXPECT_EQ(lm->m_Description, CString(L"Internal for O/S"));
        EXPECT_EQ(lm->m_ID, static_cast<int>(i));
        EXPECT_FALSE(lm->m_bIsMoving);
    }
}

TEST(Overstress, StatusLinesWithoutAReceiverAreFreed)
{
    RecordingWindow window(false); // refuses every post: the sender frees the line (ASan checks)
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 2, 2, 10.0, 12.0);
    EXPECT_EQ(COverstressAnalysis(set).Run().size(), 2u);
}

TEST(Overstress, SetOfOneBridgeGivesNoResults)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Set"), 1, 1, 10.0, 10.0);
    EXPECT_TRUE(COverstressAnalysis(set).Run().empty());
}
