// Moving-load throughput: one truck over one bridge, an ensemble over a bridge range, and the
// same ensemble over one-, two- and three-span ranges (a reference collection's work), these on
// one core; then a reference collection by 0.1 m on one, two, four threads and every core, side
// by side, and saving and opening a case that holds two such collections (in memory and through a file).
// The counter "positions/s" is analysed load positions per second of wall time.
#include "bench_cases.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/CaseData.h"
#include "engine/model/CaseFile.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <malloc.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace {

using namespace qor::bench;

// (1) One six-axle truck over a 15-20-15 m bridge by 0.1 m steps.
void BM_MovingLoad_SixAxle_15_20_15(benchmark::State& state)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"15-20-15"), CBridge::CONFIG_THREESPAN, 20.0);
    auto truck = SixAxleTruck();
    long long positions = 0;
    for (auto _ : state) {
        CMovingLoadAnalysis mla(bridge, truck);
        int n = 0;
        double step = 0.1;
        auto res = mla.Run(true, n, step);
        benchmark::DoNotOptimize(res);
        positions += mla.GetNoAnalyses();
    }
    state.counters["positions"] = benchmark::Counter(static_cast<double>(positions) / state.iterations());
    state.counters["positions/s"] = benchmark::Counter(static_cast<double>(positions), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MovingLoad_SixAxle_15_20_15)->Unit(benchmark::kMillisecond)->UseRealTime();

// (1') The same positions solved the plain way: the stiffness matrix assembled and eliminated
// afresh at every position (for comparison only).
void BM_MovingLoad_SixAxle_15_20_15_Unfactorised(benchmark::State& state)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"15-20-15"), CBridge::CONFIG_THREESPAN, 20.0);
    auto truck = SixAxleTruck();
    std::vector<double> positions;
    {
        CMovingLoadAnalysis mla(bridge, truck);
        int n = 0;
        double step = 0.1;
        auto res = mla.Run(true, n, step);
        for (const PointLoadEffect& e : res->GetReactionEnvelope(0)->m_vMax) positions.push_back(e.xLoadModel);
    }
    const int nPoints = CBeamAnalysis::PointsPerSpanSetting();
    long long count = 0;
    for (auto _ : state) {
        CSinglePosAnalysis spa(bridge, truck);
        spa.Prepare(nPoints);
        auto res = std::make_shared<CEnvelopeResults>(bridge);
        for (double p : positions) {
            spa.MakeMemberLoads(p);
            auto r = std::make_shared<CBeamResults>(
                CBeamAnalysis(bridge->GetBeam().get(), spa.GetMemberLoads(), nPoints).Analyse());
            spa.ClearMemberLoads();
            res->AddResult(r, truck, p);
        }
        benchmark::DoNotOptimize(res);
        count += static_cast<long long>(positions.size());
    }
    state.counters["positions/s"] = benchmark::Counter(static_cast<double>(count), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MovingLoad_SixAxle_15_20_15_Unfactorised)->Unit(benchmark::kMillisecond)->UseRealTime();

void RunRange(benchmark::State& state, const std::vector<int>& configs)
{
    std::vector<std::shared_ptr<CBridgeSet>> sets;
    for (int config : configs)
        sets.push_back(std::make_shared<CBridgeSet>(1, CString(L"Range"), 50, config, 1.0, 50.0));
    auto lme = TenTrucks();
    long long positions = 0;
    CMultiBridgeAnalysis::SetThreadCount(1);
    for (auto _ : state) {
        for (const auto& set : sets) {
            CMultiBridgeAnalysis mba(set, lme);
            int n = 20; // by count, the default
            double step = 0.0;
            auto res = mba.Run(false, n, step);
            benchmark::DoNotOptimize(res);
            positions += mba.GetNoAnalyses();
        }
    }
    CMultiBridgeAnalysis::SetThreadCount(0);
    state.counters["positions"] = benchmark::Counter(static_cast<double>(positions) / state.iterations());
    state.counters["positions/s"] = benchmark::Counter(static_cast<double>(positions), benchmark::Counter::kIsRate);
}

// (2) 50 two-span bridges from 1 to 50 m under ten trucks, by count 20.
void BM_BridgeRange_TwoSpan_50x10(benchmark::State& state) { RunRange(state, {CBridge::CONFIG_TWOSPAN}); }
BENCHMARK(BM_BridgeRange_TwoSpan_50x10)->Unit(benchmark::kMillisecond)->UseRealTime();

// (3) The same ensemble over three 50-bridge sets of one, two and three spans.
void BM_ThreeBridgeSets_50x10(benchmark::State& state)
{
    RunRange(state, {CBridge::CONFIG_ONESPAN, CBridge::CONFIG_TWOSPAN, CBridge::CONFIG_THREESPAN});
}
BENCHMARK(BM_ThreeBridgeSets_50x10)->Unit(benchmark::kMillisecond)->UseRealTime();

// (4) A reference collection of the ten trucks over the three 50-bridge sets by 0.1 m, and the
// six-axle truck's critical ratios against it: with one thread (argument 1) and with every core
// (argument 0). Both give the same results bit for bit (the tests compare them).
void BM_Collection_TenTrucks_ThreeSets_Step01(benchmark::State& state)
{
    auto coll = std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, 0.1);
    for (int config = 1; config <= 3; ++config)
        coll->m_vBS.push_back(std::make_shared<CBridgeSet>(config, CString(L"Set"), 50, config, 1.0, 50.0));
    coll->m_vLME = {TenTrucks()};
    coll->SetProposedLoadModel(SixAxleTruck());
    CMultiBridgeAnalysis::SetThreadCount(static_cast<unsigned>(state.range(0)));
    for (auto _ : state)
    {
        if (!coll->Calculate() || !coll->CalculateRatios(1.0)) state.SkipWithError("the collection did not run");
        benchmark::DoNotOptimize(coll);
    }
    state.counters["threads"] = CMultiBridgeAnalysis::GetThreadCount();
    CMultiBridgeAnalysis::SetThreadCount(0);
}
BENCHMARK(BM_Collection_TenTrucks_ThreeSets_Step01)
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// (5) Saving and opening a case that holds two computed collections (the ten trucks over the three
// 50-bridge sets by 0.1 m, one of them with overstress), in binary form, in memory.
CCaseData& CaseWithTwoCollections()
{
    static CCaseData data;
    if (data.m_vRefCollection.empty())
    {
        CMultiBridgeAnalysis::SetThreadCount(0);
        for (bool overstress : {false, true})
        {
            auto coll = std::make_shared<CReferenceCollection>(overstress ? 2 : 1, CString(L"Network"), true, 0, 0.1);
            for (int config = 1; config <= 3; ++config)
                coll->m_vBS.push_back(std::make_shared<CBridgeSet>(config, CString(L"Set"), 50, config, 1.0, 50.0));
            coll->m_vLME = {TenTrucks()};
            coll->m_bUseOverstress = overstress;
            if (!coll->Calculate()) std::abort();
            data.m_vRefCollection.push_back(coll);
            for (const auto& bs : coll->m_vBS) data.m_vBridgeSet.push_back(bs);
            data.m_vLoadModelEnsemble.push_back(coll->m_vLME.front());
        }
    }
    return data;
}

void BM_SaveCase(benchmark::State& state)
{
    const CCaseData& data = CaseWithTwoCollections();
    std::size_t bytes = 0;
    for (auto _ : state)
    {
        std::ostringstream out(std::ios::out | std::ios::binary);
        SaveCase(out, data, true);
        bytes = out.str().size();
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_SaveCase)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCase(benchmark::State& state)
{
    std::ostringstream out(std::ios::out | std::ios::binary);
    SaveCase(out, CaseWithTwoCollections(), true);
    const std::string bytes = out.str();
    for (auto _ : state)
    {
        std::istringstream in(bytes, std::ios::in | std::ios::binary);
        CCaseData data;
        LoadCase(in, data);
        benchmark::DoNotOptimize(data);
    }
    state.counters["MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_OpenCase)->Unit(benchmark::kMillisecond)->UseRealTime();

// (5') The same through a file, as the program saves and opens it (without the save's sync to disk).
void BM_SaveCaseFile(benchmark::State& state)
{
    const CCaseData& data = CaseWithTwoCollections();
    char name[] = "/tmp/qor-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    for (auto _ : state)
    {
        if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) state.SkipWithError("no temporary file");
        SaveCaseFile(fd, data, true);
    }
    state.counters["MB"] = static_cast<double>(::lseek(fd, 0, SEEK_END)) / 1e6;
    ::close(fd);
    ::unlink(name);
}
BENCHMARK(BM_SaveCaseFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenCaseFile(benchmark::State& state)
{
    char name[] = "/tmp/qor-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    SaveCaseFile(fd, CaseWithTwoCollections(), true);
    for (auto _ : state)
    {
        ::lseek(fd, 0, SEEK_SET);
        CCaseData data;
        LoadCaseFile(fd, data);
        benchmark::DoNotOptimize(data);
    }
    state.counters["MB"] = static_cast<double>(::lseek(fd, 0, SEEK_END)) / 1e6;
    ::close(fd);
    ::unlink(name);
}
BENCHMARK(BM_OpenCaseFile)->Unit(benchmark::kMillisecond)->UseRealTime();
// The process's peak resident memory so far (VmHWM), in kB; 0 when unknown.
double PeakResidentKB()
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0.0;
    char line[256];
    unsigned long long kB = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %llu kB", &kB) == 1) break;
    std::fclose(f);
    return static_cast<double>(kB);
}

// (6) Memory per kept position: the six-axle truck over the 15-20-15 m bridge by 0.01 m (6 348
// positions), every position kept for the "show all" plot. "kB/position" is the heap the result
// holds (allocated bytes while it lives, less those before) over its positions; "peak MB" the
// process's resident high-water mark after the run.
void BM_KeptPositions_SixAxle_15_20_15_Step001(benchmark::State& state)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"15-20-15"), CBridge::CONFIG_THREESPAN, 20.0);
    auto truck = SixAxleTruck();
    double perPosition = 0.0;
    int positions = 0;
    for (auto _ : state)
    {
        const std::size_t before = mallinfo2().uordblks;
        CMovingLoadAnalysis mla(bridge, truck);
        int n = 0;
        double step = 0.01;
        auto res = mla.Run(true, n, step);
        const std::size_t held = mallinfo2().uordblks - before;
        positions = mla.GetNoAnalyses();
        perPosition = static_cast<double>(held) / 1024.0 / positions;
        benchmark::DoNotOptimize(res);
    }
    state.counters["positions"] = positions;
    state.counters["kB/position"] = perPosition;
    state.counters["peak MB"] = PeakResidentKB() / 1024.0;
}
BENCHMARK(BM_KeptPositions_SixAxle_15_20_15_Step001)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

BENCHMARK_MAIN();
