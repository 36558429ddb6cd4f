// Runs that cannot fit are refused before any work, saying what does not fit and what would: a step
// that takes more than the most positions a run may take (the smallest step or the most steps that fit,
// worked out by hand here), and results that need more memory than the process can have.
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/analysis/RunSizing.h"
#include "refset_test_helpers.h"

#include <stdexcept>

using namespace reftest;

namespace {

// A run may take 1,000,000 positions a model: from one step before the bridge to one step past the
// model's passing, (Lb + L) / step + 2 of them. A 20 m bridge with a 10 m truck fits a step of at least
// 30 / 999,998 = 0.0000300000600 m, shown rounded up to six digits: 0.0000300001 m
// (30 / 0.0000300001 + 2 = 999,998.7 positions). By count the step is Lb / n, so
// n <= 999,998 x 20 / 30 = 666,665.3: at most 666,665 steps.
const std::string kLimit = "Step size too small: too many load positions (a load model may take at most 1,000,000 "
                           "positions across a bridge). ";

std::shared_ptr<CLoadModel> TenMetreTruck() { return Truck({{100.0, 0.0}, {100.0, -10.0}}, L"Ten"); }

std::shared_ptr<CBridge> OneSpan(double length) { return std::make_shared<CBridge>(1, CString(L"B"), 1, length); }

struct SMemory
{
    explicit SMemory(std::uint64_t bytes) { CRunSizing::SetMemoryForRuns(bytes); }
    ~SMemory() { CRunSizing::SetMemoryForRuns(0); }
};

TEST(RunSizing, AStepTooSmallNamesTheLimitAndWhatFitsInEveryKindOfRun)
{
    PointsPerSpan points(10);
    // One model over one bridge, by step and by count.
    {
        CMovingLoadAnalysis mla(OneSpan(20.0), TenMetreTruck());
        int n = 0;
        double step = 1e-6;
        EXPECT_EQ(ThrownText([&] { mla.Run(true, n, step); }),
                  kLimit + "The smallest step that fits is 0.0000300001 m, for the 20 m bridge with the load model "
                           "\"Ten\" (10 m).");
        n = 1000000;
        EXPECT_EQ(ThrownText([&] { mla.Run(false, n, step); }),
                  kLimit + "At most 666,665 steps fit, for the 20 m bridge with the load model \"Ten\" (10 m).");
        EXPECT_EQ(mla.GetNoAnalyses(), 0);
    }
    // An ensemble over one bridge: its longest model decides the step. 20 + 18 = 38 m:
    // 38 / 999,998 = 0.0000380000760, up to 0.0000380001 m.
    const auto ensemble = Ensemble(
        {Truck({{50.0, 0.0}, {50.0, -4.0}}, L"Short"), TenMetreTruck(), Truck({{50.0, 0.0}, {50.0, -18.0}}, L"Long")});
    {
        CMultiMovingLoadAnalysis mmla(OneSpan(20.0), ensemble);
        int n = 0;
        double step = 1e-6;
        EXPECT_EQ(ThrownText([&] { mmla.Run(true, n, step); }),
                  kLimit + "The smallest step that fits is 0.0000380001 m, for the 20 m bridge with the longest load "
                           "model, \"Long\" (18 m).");
        EXPECT_EQ(mmla.GetNoAnalyses(), 0);
    }
    // A bridge range of 12 to 40 m under the 10 m truck: by step the longest bridge decides,
    // 50 / 999,998 = 0.0000500001000002, up to 0.0000500002 m. By count the shortest:
    // n <= 999,998 x 12 / 22 = 545,453.5.
    {
        CMultiBridgeAnalysis range(Spans(12.0, 40.0, 4), TenMetreTruck());
        int n = 0;
        double step = 1e-6;
        EXPECT_EQ(ThrownText([&] { range.Run(true, n, step); }),
                  kLimit + "The smallest step that fits is 0.0000500002 m, for the longest bridge, 40 m, with the "
                           "longest load model on it, \"Ten\" (10 m).");
        n = 600000;
        EXPECT_EQ(ThrownText([&] { range.Run(false, n, step); }),
                  kLimit + "At most 545,453 steps fit, for the 12 m bridge with the load model \"Ten\" (10 m), the "
                           "longest model against its bridge.");
        EXPECT_EQ(range.GetNoAnalyses(), 0);
    }
    // A collection of 10 to 30 m bridges under two ensembles, the longest model 18 m: 48 / 999,998 =
    // 0.0000480000960, up to 0.0000480001 m; refused before any set runs, the collection unchanged.
    {
        CReferenceCollection collection(1, CString(L"Network"), true, 0, 1e-6);
        collection.m_vBS = {Spans(10.0, 30.0, 3)};
        collection.m_vLME = {Ensemble({TenMetreTruck()}), ensemble};
        EXPECT_EQ(ThrownText([&] { collection.Calculate(); }),
                  kLimit + "The smallest step that fits is 0.0000480001 m, for the longest bridge, 30 m, with the "
                           "longest load model on it, \"Long\" (18 m).");
        EXPECT_FALSE(collection.m_bIsCalculated);
        EXPECT_TRUE(collection.GetRefSets().empty());

        // Its critical ratios by count, once calculated: the 10 m bridge with the 18 m model,
        // n <= 999,998 x 10 / 28 = 357,142.1.
        collection.m_bByStep = false;
        collection.m_nStepPoints = 4;
        ASSERT_TRUE(collection.Calculate());
        const auto sets = collection.GetRefSets();
        collection.SetProposedLME(ensemble);
        collection.m_nStepPoints = 400000;
        EXPECT_EQ(ThrownText([&] { collection.CalculateRatios(1.0); }),
                  kLimit + "At most 357,142 steps fit, for the 10 m bridge with the load model \"Long\" (18 m), the "
                           "longest model against its bridge.");
        EXPECT_FALSE(collection.m_bRatiosCalculated);
        EXPECT_EQ(collection.GetRefSets(), sets);
    }
}

TEST(RunSizing, RunsThatCannotFitInMemoryAreRefusedBeforeTheyStart)
{
    PointsPerSpan points(10);
    // 100 bridges of 10 to 60 m by 0.01 m under a 10 m truck: some 4,500 positions a bridge on average,
    // each in the reaction history of both supports (a maximum and a minimum of 40 bytes): 0.7 MB a
    // bridge, 70 MB in all, more than 64 MB.
    const auto network = Spans(10.0, 60.0, 100);
    const auto ensemble = Ensemble({TenMetreTruck()});
    SMemory memory(64u << 20);
    {
        CMultiBridgeAnalysis range(network, TenMetreTruck());
        int n = 0;
        double step = 0.01;
        const std::string text = ThrownText([&] { range.Run(true, n, step); });
        EXPECT_EQ(text.rfind("The bridge range needs about ", 0), 0u) << text;
        EXPECT_NE(text.find("of its 100 bridges"), std::string::npos) << text;
        EXPECT_NE(text.find("and only 64 MB is available"), std::string::npos) << text;
        EXPECT_EQ(range.GetNoAnalyses(), 0);
    }
    CReferenceCollection collection(1, CString(L"Network"), true, 0, 0.01);
    collection.m_vBS = {network};
    collection.m_vLME = {ensemble};
    EXPECT_EQ(ThrownText([&] { collection.Calculate(); }).rfind("The reference collection needs about ", 0), 0u);
    EXPECT_FALSE(collection.m_bIsCalculated);
    // By 1 m (some 70 positions a bridge) the same collection fits and runs.
    collection.m_StepSize = 1.0;
    ASSERT_TRUE(collection.Calculate());
    const auto sets = collection.GetRefSets();
    collection.SetProposedLME(ensemble);
    collection.m_StepSize = 0.01;
    EXPECT_EQ(ThrownText([&] { collection.CalculateRatios(1.0); }).rfind("The critical-ratio run needs about ", 0), 0u);
    EXPECT_EQ(collection.GetRefSets(), sets);
    EXPECT_FALSE(collection.m_bRatiosCalculated);
    // An ensemble over one bridge that keeps every position's lines: 350,000 positions of some 400 bytes.
    CMultiMovingLoadAnalysis mmla(OneSpan(60.0), ensemble);
    int n = 0;
    double step = 0.0002;
    EXPECT_EQ(ThrownText([&] { mmla.Run(true, n, step); }).rfind("The moving load of the ensemble needs about ", 0),
              0u);
    EXPECT_EQ(mmla.GetNoAnalyses(), 0);
}

} // namespace
