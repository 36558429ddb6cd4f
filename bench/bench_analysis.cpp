// Moving-load throughput: one truck over one bridge, an ensemble over a bridge range, and the
// same ensemble over one-, two- and three-span ranges (a reference collection's work), these on
// one core; then a reference collection by 0.1 m on one, two, four threads and every core, side
// by side, and saving and opening a case that holds two such collections (in memory and through a file).
// The counter "positions/s" is analysed load positions per second of wall time.
//
// Then each goal of the throughput work beside its measure, the variants alternated in rounds and
// the least time of each taken (the machine may be shared): (7) a collection's speed-up on 2, 4
// and 8 threads over one, with 17, 150 and 450 bridges a set, and its peak memory; (8) the
// engine's time per position (envelopes only) against a minimal kernel that solves the beam and
// writes its moment and shear lines into envelopes, at 1, 4 and 16 spans; (9) saving and opening
// binary and XML cases of about 1, 10 and 100 MB against writing and reading the same bytes, and
// the peak memory of an open.
#include "bench_cases.h"

#include "engine/analysis/BeamAnalysis.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiBridgeAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/case/CaseData.h"
#include "engine/case/CaseFile.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"

#include <benchmark/benchmark.h>

#include "engine/analysis/BeamResults.h"
#include "engine/model/Beam.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <numeric>
#include <string>
#include <sys/mman.h>

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
    for (auto _ : state)
    {
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
    for (auto _ : state)
    {
        CSinglePosAnalysis spa(bridge, truck);
        spa.Prepare(nPoints);
        auto res = std::make_shared<CEnvelopeResults>(bridge);
        for (double p : positions)
        {
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
    for (auto _ : state)
    {
        for (const auto& set : sets)
        {
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
// A field of the process's status in kB (format "VmHWM: %llu kB", say); 0 when unknown.
double StatusKB(const char* format)
{
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0.0;
    char line[256];
    unsigned long long kB = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, format, &kB) == 1) break;
    std::fclose(f);
    return static_cast<double>(kB);
}

// The process's peak resident memory so far (VmHWM), in kB.
double PeakResidentKB() { return StatusKB("VmHWM: %llu kB"); }

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

// ---------------------------------------------------------------------------------------------
// The throughput goals, measured side by side

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The process's resident memory now (VmRSS), in kB.
double ResidentKB() { return StatusKB("VmRSS: %llu kB"); }

// Sets the peak resident memory back to what is resident now (the freed heap handed back first),
// and returns that.
double ResetPeakKB()
{
    malloc_trim(0);
    if (std::FILE* f = std::fopen("/proc/self/clear_refs", "w"))
    {
        std::fputs("5", f);
        std::fclose(f);
    }
    return ResidentKB();
}

std::shared_ptr<CReferenceCollection> TenTruckCollection(int bridgesPerSet, double shortest = 1.0)
{
    auto coll = std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, 0.1);
    for (int config = 1; config <= 3; ++config)
        coll->m_vBS.push_back(
            std::make_shared<CBridgeSet>(config, CString(L"Set"), bridgesPerSet, config, shortest, 50.0));
    coll->m_vLME = {TenTrucks()};
    return coll;
}

// (7) The ten trucks over three sets of 1 to 50 m bridges by 0.1 m on 1, 2, 4 and 8 threads, the
// thread counts alternated in rounds; the speed-up is the least one-thread time over the least
// time on n threads. "peak MB" is the highest resident memory a run adds (1 and 8 threads).
void BM_Goal_CollectionSpeedUp(benchmark::State& state)
{
    const int bridges = static_cast<int>(state.range(0));
    const int rounds = bridges <= 17 ? 5 : bridges <= 150 ? 2 : 1;
    const unsigned threads[] = {1, 2, 4, 8};
    double best[4] = {1e30, 1e30, 1e30, 1e30};
    double peak[4] = {0, 0, 0, 0};
    for (auto _ : state)
    {
        for (int r = 0; r < rounds; ++r)
            for (int t = 0; t < 4; ++t)
            {
                CMultiBridgeAnalysis::SetThreadCount(threads[t]);
                auto coll = TenTruckCollection(bridges);
                const double base = ResetPeakKB();
                const double s = Seconds([&] {
                    if (!coll->Calculate()) state.SkipWithError("the collection did not run");
                });
                best[t] = std::min(best[t], s);
                peak[t] = std::max(peak[t], (PeakResidentKB() - base) / 1024.0);
            }
    }
    CMultiBridgeAnalysis::SetThreadCount(0);
    state.counters["1 thread s"] = best[0];
    state.counters["x2"] = best[0] / best[1];
    state.counters["x4"] = best[0] / best[2];
    state.counters["x8"] = best[0] / best[3];
    state.counters["goal x8"] = bridges <= 17 ? 6.0 : 7.0;
    state.counters["goal x4"] = bridges <= 17 ? 0.0 : 3.8;
    state.counters["peak MB 1"] = peak[0];
    state.counters["peak MB 8"] = peak[3];
    state.counters["goal peak 8-1 MB"] = 70.0;
}
BENCHMARK(BM_Goal_CollectionSpeedUp)
    ->Arg(17)
    ->Arg(150)
    ->Arg(450)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

// Thread time of the calling thread, in seconds.
double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The time n idle threads take for pieces of the given times handed out in the given order, each
// to the first thread free.
double Makespan(const std::vector<double>& times, const std::vector<std::size_t>& order, unsigned n)
{
    std::vector<double> free(n, 0.0);
    for (std::size_t i : order)
    {
        auto first = std::min_element(free.begin(), free.end());
        *first += times[i];
    }
    return *std::max_element(free.begin(), free.end());
}

// (7') The same collection's schedules on an idle machine, worked out from the thread time of
// each bridge's run (measured alone, one thread, least of two) and of the rest of the run (the
// sets' critical values): as it was, each set's bridges in bridge order with a wait at the end of
// each set; and now, every bridge of the run in one pool in the order the pool takes them
// (longest estimate first). A shared machine cannot show the speed-up itself; this shows what
// the schedule allows.
void BM_Goal_CollectionSchedule(benchmark::State& state)
{
    const int bridges = static_cast<int>(state.range(0));
    auto coll = TenTruckCollection(bridges);
    const int nPoints = CBeamAnalysis::PointsPerSpanSetting();
    std::vector<double> times;
    std::vector<double> costs;
    std::vector<int> setOf;
    double whole = 1e30;
    for (auto _ : state)
    {
        times.clear();
        costs.clear();
        setOf.clear();
        for (std::size_t s = 0; s < coll->m_vBS.size(); ++s)
        {
            const auto& set = coll->m_vBS[s];
            for (int i = 0; i < set->GetBridgeCount(); ++i)
            {
                const auto bridge = set->GetBridge(static_cast<unsigned>(i));
                double best = 1e30;
                for (int r = 0; r < 2; ++r)
                {
                    CMultiMovingLoadAnalysis mmla(bridge, coll->m_vLME.front());
                    mmla.SetPointsPerSpan(nPoints);
                    mmla.SetKeepBeamResults(false);
                    int nSteps = 0;
                    double step = 0.1;
                    const double t0 = ThreadSeconds();
                    benchmark::DoNotOptimize(mmla.Run(true, nSteps, step));
                    best = std::min(best, ThreadSeconds() - t0);
                }
                times.push_back(best);
                double length = 0.0;
                for (double L : bridge->m_vSpans) length += L;
                // As the pool estimates it (CMultiBridgeAnalysis::EstimateCost): positions x spans.
                costs.push_back(((length + 20.0) / 0.1 + 2.0) * static_cast<double>(bridge->m_vSpans.size()));
                setOf.push_back(static_cast<int>(s));
            }
        }
        CMultiBridgeAnalysis::SetThreadCount(1);
        for (int r = 0; r < 2; ++r)
        {
            auto again = TenTruckCollection(bridges);
            const double t0 = ThreadSeconds();
            if (!again->Calculate()) state.SkipWithError("the collection did not run");
            whole = std::min(whole, ThreadSeconds() - t0);
        }
        CMultiBridgeAnalysis::SetThreadCount(0);
    }
    const double pieces = std::accumulate(times.begin(), times.end(), 0.0);
    const double rest = std::max(0.0, whole - pieces);
    std::vector<std::size_t> pool(times.size());
    std::iota(pool.begin(), pool.end(), std::size_t{0});
    std::stable_sort(pool.begin(), pool.end(), [&](std::size_t a, std::size_t b) { return costs[a] > costs[b]; });
    for (unsigned n : {2u, 4u, 8u})
    {
        double bySet = rest;
        for (int s = 0; s < 3; ++s)
        {
            std::vector<std::size_t> order;
            for (std::size_t i = 0; i < times.size(); ++i)
                if (setOf[i] == s) order.push_back(i);
            bySet += Makespan(times, order, n);
        }
        const double inPool = rest + Makespan(times, pool, n);
        state.counters["by set x" + std::to_string(n)] = whole / bySet;
        state.counters["pool x" + std::to_string(n)] = whole / inPool;
    }
    state.counters["1 thread s"] = whole;
    state.counters["rest %"] = 100.0 * rest / whole;
}
BENCHMARK(BM_Goal_CollectionSchedule)->Arg(17)->Arg(150)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// A bridge of n equal 20 m spans.
std::shared_ptr<CBridge> EqualSpans(int n)
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"Spans"), CBridge::CONFIG_ONESPAN, 20.0);
    bridge->m_Config = CBridge::CONFIG_EXPLICIT;
    bridge->m_vSpans.assign(static_cast<std::size_t>(n), 20.0);
    bridge->BuildBeam();
    return bridge;
}

// The minimal kernel: the truck at every 0.1 m step, the beam solved at each position (the
// engine's factorised solver), and its moment and shear lines written into maximum and minimum
// envelopes of points (a value, where, the position and the load model): every value compared
// with the held one and the point replaced where it is beyond, nothing else kept. Returns the
// positions solved.
long long KernelRun(const std::shared_ptr<CBridge>& bridge, const std::shared_ptr<CLoadModel>& truck, double step,
                    std::vector<PointLoadEffect> (&env)[4])
{
    const int nPoints = CBeamAnalysis::PointsPerSpanSetting();
    const auto model = truck->Clone();
    model->Update();
    CSinglePosAnalysis spa(bridge, model);
    spa.Prepare(nPoints);
    CBeamResults res;
    const double end = bridge->GetBeam()->m_Length + model->m_Length + step;
    long long positions = 0;
    for (double p = -step; p < end; p += step)
    {
        spa.AnalyseInto(p, res);
        ++positions;
        for (int kind = 0; kind < 2; ++kind)
        {
            std::vector<PointLoadEffect>& vMax = env[2 * kind];
            std::vector<PointLoadEffect>& vMin = env[2 * kind + 1];
            std::size_t i = 0;
            for (const CMbrResults& mbr : res.m_vMbrRes)
            {
                const std::vector<double>& y = kind == 0 ? mbr.M : mbr.V;
                for (std::size_t j = 0; j < y.size(); ++j, ++i)
                {
                    if (i == vMax.size())
                    {
                        vMax.emplace_back(y[j] > 0.0 ? y[j] : 0.0, mbr.x[j], p, static_cast<BeamResultsType>(kind),
                                          model.get());
                        vMin.emplace_back(y[j] < 0.0 ? y[j] : 0.0, mbr.x[j], p, static_cast<BeamResultsType>(kind),
                                          model.get());
                        continue;
                    }
                    if (y[j] > vMax[i].val)
                        vMax[i] = PointLoadEffect(y[j], mbr.x[j], p, static_cast<BeamResultsType>(kind), model.get());
                    if (y[j] < vMin[i].val)
                        vMin[i] = PointLoadEffect(y[j], mbr.x[j], p, static_cast<BeamResultsType>(kind), model.get());
                }
            }
        }
    }
    return positions;
}

// (8) The engine's moving-load run, envelopes only (as a collection's runs are), against the
// kernel: the six-axle truck over 1, 4 and 16 spans of 20 m by 0.1 m, alternated, the least time
// per position of each.
void BM_Goal_EngineAgainstKernel(benchmark::State& state)
{
    const auto bridge = EqualSpans(static_cast<int>(state.range(0)));
    const auto truck = SixAxleTruck();
    double kernel = 1e30;
    double engine = 1e30;
    for (auto _ : state)
    {
        // At least 15 rounds and about a second of each.
        double spent = 0.0;
        for (int r = 0; r < 15 || (spent < 1.0 && r < 2000); ++r)
        {
            long long n = 0;
            std::vector<PointLoadEffect> env[4];
            const double k = Seconds([&] { n = KernelRun(bridge, truck, 0.1, env); });
            benchmark::DoNotOptimize(env);
            kernel = std::min(kernel, k / static_cast<double>(n));

            CMovingLoadAnalysis mla(bridge, truck);
            mla.SetKeepBeamResults(false);
            int nSteps = 0;
            double step = 0.1;
            std::shared_ptr<CEnvelopeResults> res;
            const double e = Seconds([&] { res = mla.Run(true, nSteps, step); });
            benchmark::DoNotOptimize(res);
            spent += e;
            engine = std::min(engine, e / mla.GetNoAnalyses());
        }
    }
    state.counters["kernel us/pos"] = kernel * 1e6;
    state.counters["engine us/pos"] = engine * 1e6;
    state.counters["engine/kernel"] = engine / kernel;
    state.counters["goal"] = 0.9;
}
BENCHMARK(BM_Goal_EngineAgainstKernel)
    ->Arg(1)
    ->Arg(4)
    ->Arg(16)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A case of one computed collection (ten trucks over three sets of 10 to 50 m bridges) of about
// the given size in the given form: the step is the finest of 0.1, 0.2, 0.5, 1, 2 and 5 m at
// which two bridges a set stay within the size, and the bridges a set are scaled from that.
CCaseData& CaseOfSize(double megabytes, bool binary)
{
    static std::vector<std::pair<std::pair<double, bool>, std::unique_ptr<CCaseData>>> made;
    for (auto& [key, data] : made)
        if (key.first == megabytes && key.second == binary) return *data;
    const auto build = [](int bridges, double step) {
        auto data = std::make_unique<CCaseData>();
        CMultiBridgeAnalysis::SetThreadCount(0);
        auto coll = TenTruckCollection(bridges, 10.0);
        coll->m_StepSize = step;
        if (!coll->Calculate()) std::abort();
        data->m_vRefCollection.push_back(coll);
        for (const auto& bs : coll->m_vBS) data->m_vBridgeSet.push_back(bs);
        data->m_vLoadModelEnsemble.push_back(coll->m_vLME.front());
        return data;
    };
    const auto size = [binary](const CCaseData& data) {
        std::ostringstream out(std::ios::out | std::ios::binary);
        SaveCase(out, data, binary);
        return static_cast<double>(out.str().size()) / 1e6;
    };
    double step = 0.1;
    double two = size(*build(2, step));
    for (double coarser : {0.2, 0.5, 1.0, 2.0, 5.0})
    {
        if (two <= megabytes) break;
        step = coarser;
        two = size(*build(2, step));
    }
    const int bridges = std::max(2, static_cast<int>(2.0 * megabytes / two + 0.5));
    auto data = build(bridges, step);
    made.emplace_back(std::make_pair(megabytes, binary), std::move(data));
    return *made.back().second;
}

// Writes the bytes to fd in 1 MB blocks (what a save's bytes cost to write).
void WriteBytes(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size())
    {
        const std::size_t n = std::min<std::size_t>(bytes.size() - done, std::size_t{1} << 20);
        const ssize_t w = ::write(fd, bytes.data() + done, n);
        if (w <= 0) std::abort();
        done += static_cast<std::size_t>(w);
    }
}

// Reads fd to its end into new memory of the file's size, mapped afresh each time so that every
// read pays for its pages alike (what an open's bytes cost to read into memory of its own).
std::size_t ReadBytes(int fd, std::size_t size)
{
    void* const memory = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) std::abort();
    char* const buffer = static_cast<char*>(memory);
    std::size_t total = 0;
    while (total < size)
    {
        const ssize_t r = ::read(fd, buffer + total, size - total);
        if (r <= 0) break;
        total += static_cast<std::size_t>(r);
    }
    benchmark::DoNotOptimize(buffer);
    ::munmap(memory, size);
    return total;
}

// (9) Saving and opening a case through a file (without the sync to disk, the file in the page
// cache) against writing the same bytes from memory and reading them into a new buffer, alternated in rounds, the least
// time of each; and the highest resident memory an open adds, against the file's size.
void BM_Goal_CaseFiles(benchmark::State& state)
{
    const double megabytes = static_cast<double>(state.range(0));
    const bool binary = state.range(1) != 0;
    const CCaseData& data = CaseOfSize(megabytes, binary);
    char name[] = "/tmp/qor-bench-XXXXXX";
    const int fd = ::mkstemp(name);
    SaveCaseFile(fd, data, binary);
    const auto fileSize = static_cast<std::size_t>(::lseek(fd, 0, SEEK_END));
    std::string bytes(fileSize, '\0');
    if (::pread(fd, bytes.data(), fileSize, 0) != static_cast<ssize_t>(fileSize)) std::abort();
    const int rounds = megabytes >= 100 ? 3 : megabytes >= 10 ? 7 : 25;
    double save = 1e30, write = 1e30, open = 1e30, read = 1e30, peak = 0.0;
    for (auto _ : state)
    {
        for (int r = 0; r < rounds; ++r)
        {
            const auto rewind = [fd] {
                if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) std::abort();
            };
            rewind();
            save = std::min(save, Seconds([&] { SaveCaseFile(fd, data, binary); }));
            rewind();
            write = std::min(write, Seconds([&] { WriteBytes(fd, bytes); }));
            ::lseek(fd, 0, SEEK_SET);
            read = std::min(read, Seconds([&] { benchmark::DoNotOptimize(ReadBytes(fd, fileSize)); }));
            ::lseek(fd, 0, SEEK_SET);
            {
                CCaseData opened;
                const double base = ResetPeakKB();
                open = std::min(open, Seconds([&] { LoadCaseFile(fd, opened); }));
                peak = std::max(peak, (PeakResidentKB() - base) * 1024.0);
            }
        }
    }
    ::close(fd);
    ::unlink(name);
    state.counters["MB"] = static_cast<double>(fileSize) / 1e6;
    state.counters["save ms"] = save * 1e3;
    state.counters["save/write"] = save / write;
    state.counters["open ms"] = open * 1e3;
    state.counters["open/read"] = open / read;
    state.counters["peak/size"] = peak / static_cast<double>(fileSize);
    if (binary)
    {
        state.counters["goal save/write"] = 4.0;
        state.counters["goal open/read"] = 8.0;
    }
    state.counters["goal peak/size"] = 1.25;
}
BENCHMARK(BM_Goal_CaseFiles)
    ->ArgsProduct({{1, 10, 100}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
