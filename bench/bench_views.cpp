// The program's windows against the clock, offscreen: start-up to the main window shown and idle,
// opening result plots and grids of real results (moving load with every position shown at three
// step sizes, its reactions plot, its four default windows at two step sizes and the way back to a
// drawn plot's tab, an ensemble, a 150-row table, the values of a reference collection, the
// enhanced ratio grid) and printing a plot (and a plot and a table whose title holds names of
// megabytes). A plot counts as shown once its last curve is on the screen. Every window is
// closed and its widgets deleted outside the timing, so that each repetition starts from the same
// heap; the cases may run in any order (--benchmark_enable_random_interleaving).
#include "bench_cases.h"
#include "bench_program.h"

#include "app/ChildFrame.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "controls/chart/ChartCtrl.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "engine/settings/Settings.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/Afx.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/Resource.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace qor::bench;

// ---- Cases -------------------------------------------------------------------------------------

std::shared_ptr<CBridge> Bridge_15_20_15()
{
    auto bridge = std::make_shared<CBridge>(1, CString(L"15-20-15 m"), CBridge::CONFIG_EXPLICIT, 20.0);
    bridge->m_vSpans = {15.0, 20.0, 15.0};
    bridge->BuildBeam();
    return bridge;
}

// (2) One six-axle truck over 15-20-15 m, every position kept: by 0.1 m (648 positions), 0.05 m
// (1 272) and 0.025 m (2 541).
std::shared_ptr<CAOMovingLoad> MovingLoadRun(int stepMm = 100)
{
    static std::map<int, std::shared_ptr<CAOMovingLoad>> runs;
    std::shared_ptr<CAOMovingLoad>& run = runs[stepMm];
    if (!run)
    {
        auto bridge = Bridge_15_20_15();
        auto truck = SixAxleTruck();
        CMovingLoadAnalysis analysis(bridge, truck);
        int nSteps = 0;
        double step = stepMm / 1000.0;
        auto results = analysis.Run(true, nSteps, step);
        run = std::make_shared<CAOMovingLoad>(results, bridge, truck, nSteps);
    }
    return run;
}

// (3) The ten trucks over the same bridge.
std::shared_ptr<CAOMultiMovingLoad> EnsembleRun()
{
    static std::shared_ptr<CAOMultiMovingLoad> run;
    if (!run)
    {
        auto bridge = Bridge_15_20_15();
        auto trucks = TenTrucks();
        CMultiMovingLoadAnalysis analysis(bridge, trucks);
        int nSteps = 0;
        double step = 0.1;
        auto results = analysis.Run(true, nSteps, step);
        run = std::make_shared<CAOMultiMovingLoad>(results, bridge, trucks, analysis.GetLoadModelResults(),
                                                   analysis.GetNoAnalyses());
    }
    return run;
}

// (4, 5) Three 50-bridge sets (one, two and three spans) under the ten trucks, with the ratios
// of the six-axle truck.
std::shared_ptr<CReferenceCollection> Collection()
{
    static std::shared_ptr<CReferenceCollection> coll;
    if (!coll)
    {
        coll = std::make_shared<CReferenceCollection>(1, CString(L"Network"), false, 20, 1.0);
        for (int config = 1; config <= 3; ++config)
            coll->m_vBS.push_back(std::make_shared<CBridgeSet>(config, CString(L"Set"), 50, config, 1.0, 50.0));
        coll->m_vLME = {TenTrucks()};
        if (!coll->Calculate()) std::abort();
        coll->SetProposedLoadModel(SixAxleTruck());
        if (!coll->CalculateRatios(1.0)) std::abort();
    }
    return coll;
}

// A reference set of 150 one-span bridges (1 to 150 m) under the six-axle truck: a 150-row table.
std::shared_ptr<CReferenceSet> LongSet()
{
    static std::shared_ptr<CReferenceCollection> coll;
    if (!coll)
    {
        coll = std::make_shared<CReferenceCollection>(2, CString(L"Long"), false, 20, 1.0);
        coll->m_vBS.push_back(std::make_shared<CBridgeSet>(1, CString(L"Set"), 150, 1, 1.0, 150.0));
        auto lme = std::make_shared<CLoadModelEnsemble>(2, CString(L"Six-axle"));
        lme->AddLoadModel(SixAxleTruck());
        coll->m_vLME = {lme};
        if (!coll->Calculate()) std::abort();
    }
    return coll->GetRefSets().front();
}

// (7) The six-axle truck over a 20 m span by a step so fine that it stands at `positions` places:
// the moving-load reaction table has a row per position, the "show all" plot a curve per position
// and effect. With bKeep the run keeps every position's lines (the plot needs them).
std::shared_ptr<CAOMovingLoad> FineStepRun(int positions, bool bKeep)
{
    static std::map<std::pair<int, bool>, std::shared_ptr<CAOMovingLoad>> runs;
    std::shared_ptr<CAOMovingLoad>& run = runs[{positions, bKeep}];
    if (!run)
    {
        auto bridge = std::make_shared<CBridge>(3, CString(L"20 m"), CBridge::CONFIG_EXPLICIT, 20.0);
        bridge->m_vSpans = {20.0};
        bridge->BuildBeam();
        auto truck = SixAxleTruck();
        CMovingLoadAnalysis analysis(bridge, truck);
        analysis.SetKeepBeamResults(bKeep);
        analysis.SetPointsPerSpan(50);
        // The run also stands the truck where its axles pass the points along the beam: the
        // step is set again from a first run so that the run ends with `positions` places.
        auto reactionRows = [](const std::shared_ptr<CEnvelopeResults>& r) {
            return static_cast<double>(r->GetReactionEnvelope(0)->m_vMax.size());
        };
        // (About 0.6 of the places are steps.)
        double step = (20.0 + analysis.GetLoadModelLength()) / (0.6 * positions);
        int nSteps = 0;
        auto results = analysis.Run(true, nSteps, step);
        for (int again = 0; again < 3 && std::abs(reactionRows(results) / positions - 1.0) > 0.01; ++again)
        {
            CMovingLoadAnalysis next(bridge, truck);
            next.SetKeepBeamResults(bKeep);
            next.SetPointsPerSpan(50);
            const double places = reactionRows(results);
            const double made = (20.0 + analysis.GetLoadModelLength()) / step;
            step = (20.0 + analysis.GetLoadModelLength()) / (made + positions - places);
            results = next.Run(true, nSteps, step);
        }
        run = std::make_shared<CAOMovingLoad>(results, bridge, truck, nSteps);
    }
    return run;
}

// The bytes the heap holds for the program (the allocator's own count, mapped blocks included).
double HeapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// ---- The program's windows -----------------------------------------------------------------------

CQORApp* g_pApp = nullptr;

CQORApp& App()
{
    if (!g_pApp)
    {
        g_pApp = new CQORApp();
        if (!qor::test::StartApplication(*g_pApp)) std::abort();
        g_pApp->m_pMainWnd->MoveWindow(0, 0, 1280, 900);
        qor::test::Pump();
    }
    return *g_pApp;
}

// The shared application goes (the start-up case makes its own: one application object at a time).
void DropApp()
{
    if (!g_pApp) return;
    qor::test::StopApplication(*g_pApp);
    delete g_pApp;
    g_pApp = nullptr;
    qor::test::DeleteDeferred();
}

CMultiDocTemplate* ViewTemplate(bool plot)
{
    CQORApp& app = App();
    CMultiDocTemplate* registered = plot ? app.m_pPlotTemplate : app.m_pGridTemplate;
    if (!registered) std::abort();
    return registered;
}

// The case the application opened at start.
CQORDoc* CaseDoc()
{
    CQORApp& app = App();
    POSITION pos = app.m_pDocTemplate ? app.m_pDocTemplate->GetFirstDocPosition() : nullptr;
    auto* doc = pos ? dynamic_cast<CQORDoc*>(app.m_pDocTemplate->GetNextDoc(pos)) : nullptr;
    if (!doc) std::abort();
    return doc;
}

template <class View>
View* OpenView()
{
    CMultiDocTemplate* tmpl = ViewTemplate(std::is_same_v<View, CPlotView>);
    tmpl->OpenDocumentFile(nullptr);
    auto* main = static_cast<CMDIFrameWnd*>(App().m_pMainWnd);
    CMDIChildWnd* child = main->MDIGetActive();
    return child ? dynamic_cast<View*>(child->GetActiveView()) : nullptr;
}

// Everything on the screen as the user would see it: pending paints done.
void Settle(CView* view)
{
    view->GetParentFrame()->UpdateWindow();
    qor::test::Pump();
}

// Runs the message loop until every plot among the views has all its curves, then lets the
// last paints happen. Returns the longest turn of the loop in ms: how long a click or a paint
// could have waited meanwhile.
double DrawAndSettle(const std::vector<CView*>& views)
{
    auto drawing = [&] {
        return std::any_of(views.begin(), views.end(),
                           [](CView* v) { return StillDrawing(dynamic_cast<CPlotView*>(v)); });
    };
    double longest = 0;
    while (drawing())
    {
        const Clock::time_point turn = Clock::now();
        qor::test::Pump();
        longest = std::max(longest, MsSince(turn));
    }
    if (!views.empty()) Settle(views.front());
    return longest;
}

// Closes the window and lets its widgets go: without the toolkit's deferred deletions each
// repetition would run over the heap of every window closed before it.
void Close(CView* view)
{
    if (view) view->GetParentFrame()->SendMessage(WM_CLOSE);
    qor::test::Pump();
    qor::test::DeleteDeferred();
}

// ---- Benchmarks ----------------------------------------------------------------------------------

// (1) Start-up: the application object made, the main window shown and idle.
void BM_StartUp(benchmark::State& state)
{
    DropApp();
    for (auto _ : state)
    {
        CQORApp app;
        if (!qor::test::StartApplication(app)) state.SkipWithError("the application did not start");
        qor::test::RunIdle(app);
        qor::test::Pump();
        state.PauseTiming();
        qor::test::StopApplication(app);
        qor::test::DeleteDeferred();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// The time is until every curve is on the screen; "longest wait ms" is the longest the window
// could not answer meanwhile (the Show call itself, or one turn of the message loop).
void ShowMovingLoad(benchmark::State& state, bool showAll, int stepMm = 100)
{
    auto run = MovingLoadRun(stepMm);
    const std::size_t positions = run->GetResults()->GetKeptPositions().GetCount();
    unsigned redraws = 0;
    double longest = 0;
    for (auto _ : state)
    {
        CPlotView* view = OpenView<CPlotView>();
        view->CreateCharts(2, 1);
        const Clock::time_point show = Clock::now();
        view->ShowMovingLoadEnvelopes(showAll, true, run);
        const double shown = MsSince(show);
        longest += std::max(shown, DrawAndSettle({view}));
        state.PauseTiming();
        redraws = view->GetChart(0)->GetRedrawCount() + view->GetChart(1)->GetRedrawCount();
        Close(view);
        state.ResumeTiming();
    }
    state.counters["positions"] = static_cast<double>(positions);
    state.counters["chart redraws"] = redraws;
    state.counters["longest wait ms"] = longest / static_cast<double>(state.iterations());
    // The same after every repetition: closed windows leave nothing behind.
    state.counters["widgets left"] = qor::test::ToolkitWidgetCount();
}

// (2) The 2 x 1 moment and shear plot with every position.
void BM_PlotMovingLoadShowAll(benchmark::State& state) { ShowMovingLoad(state, true); }
BENCHMARK(BM_PlotMovingLoadShowAll)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2a, 2b) The same by 0.05 m and 0.025 m: the time should grow as the positions, not faster.
void BM_PlotMovingLoadShowAll_1272(benchmark::State& state) { ShowMovingLoad(state, true, 50); }
BENCHMARK(BM_PlotMovingLoadShowAll_1272)->Unit(benchmark::kMillisecond)->UseRealTime();
void BM_PlotMovingLoadShowAll_2541(benchmark::State& state) { ShowMovingLoad(state, true, 25); }
BENCHMARK(BM_PlotMovingLoadShowAll_2541)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2c) The 2 x 2 reactions plot of the four supports, every position shown.
void BM_PlotMovingLoadReactions(benchmark::State& state)
{
    auto run = MovingLoadRun();
    for (auto _ : state)
    {
        CPlotView* view = OpenView<CPlotView>();
        view->CreateCharts(2, 2);
        view->ShowMovingLoadEnvelopes(true, false, run);
        Settle(view);
        state.PauseTiming();
        Close(view);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlotMovingLoadReactions)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2d) The moving load's output as the program opens it by default, every position shown: the
// moment and shear plot, the reactions plot and their two grids (four windows).
// The time is until every curve is on the screen; "windows shown ms" until the four windows
// are open and painted, "longest wait ms" as in (2).
void MovingLoadOutput(benchmark::State& state, int stepMm)
{
    auto run = MovingLoadRun(stepMm);
    CQORDoc* doc = CaseDoc();
    double shown = 0, longest = 0;
    for (auto _ : state)
    {
        const Clock::time_point start = Clock::now();
        doc->ShowMovingLoadOutput(true, run);
        const double opened = MsSince(start);
        std::vector<CView*> views = ResultViews(doc);
        if (views.size() != 4) state.SkipWithError("the output did not open four windows");
        if (!views.empty()) Settle(views.front());
        shown += MsSince(start);
        longest += std::max(opened, DrawAndSettle(views));
        state.PauseTiming();
        for (CView* v : views) Close(v);
        state.ResumeTiming();
    }
    state.counters["positions"] = static_cast<double>(run->GetResults()->GetKeptPositions().GetCount());
    state.counters["windows shown ms"] = shown / static_cast<double>(state.iterations());
    state.counters["longest wait ms"] = longest / static_cast<double>(state.iterations());
}

void BM_MovingLoadDefaultOutput(benchmark::State& state) { MovingLoadOutput(state, 100); }
BENCHMARK(BM_MovingLoadDefaultOutput)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2f) The same by 0.025 m (2 541 positions): "Display each sub-analysis result" on a fine step.
void BM_MovingLoadDefaultOutput_2541(benchmark::State& state) { MovingLoadOutput(state, 25); }
BENCHMARK(BM_MovingLoadDefaultOutput_2541)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2e) Back to the tab of a drawn plot (2 541 positions) from another window: the plot comes
// from its charts' kept images, not drawn again.
void BM_TabSwitchToDrawnPlot(benchmark::State& state)
{
    auto run = MovingLoadRun(25);
    CPlotView* plot = OpenView<CPlotView>();
    plot->CreateCharts(2, 1);
    plot->ShowMovingLoadEnvelopes(true, true, run);
    DrawAndSettle({plot});
    CGridView* other = OpenView<CGridView>();
    Settle(other);
    auto* main = static_cast<CMDIFrameWnd*>(App().m_pMainWnd);
    unsigned redraws = 0;
    for (auto _ : state)
    {
        main->MDIActivate(plot->GetParentFrame());
        Settle(plot);
        state.PauseTiming();
        redraws = plot->GetChart(0)->GetRedrawCount();
        main->MDIActivate(other->GetParentFrame());
        Settle(other);
        state.ResumeTiming();
    }
    state.counters["chart redraws"] = redraws;
    Close(other);
    Close(plot);
}
BENCHMARK(BM_TabSwitchToDrawnPlot)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2g) The same for the output of (2f) as the document opens it: back to its moment and shear
// plot, once all its curves came, from the last grid.
void BM_TabSwitchToEachSubAnalysisPlot(benchmark::State& state)
{
    auto run = MovingLoadRun(25);
    CQORDoc* doc = CaseDoc();
    doc->ShowMovingLoadOutput(true, run);
    std::vector<CView*> views = ResultViews(doc);
    DrawAndSettle(views);
    CPlotView* plot = nullptr;
    CView* other = nullptr;
    for (CView* v : views)
    {
        auto* candidate = dynamic_cast<CPlotView*>(v);
        if (candidate && candidate->GetTableKind() == CQORViewBase::TABLE_BMSF) plot = candidate;
        if (dynamic_cast<CGridView*>(v) && !other) other = v;
    }
    if (!plot || !other)
    {
        state.SkipWithError("the output did not open a plot and a grid");
        for (CView* v : views) Close(v);
        return;
    }
    auto* main = static_cast<CMDIFrameWnd*>(App().m_pMainWnd);
    main->MDIActivate(other->GetParentFrame());
    Settle(other);
    unsigned redraws = 0;
    for (auto _ : state)
    {
        const unsigned before = plot->GetChart(0)->GetRedrawCount();
        main->MDIActivate(plot->GetParentFrame());
        Settle(plot);
        state.PauseTiming();
        redraws = plot->GetChart(0)->GetRedrawCount() - before;
        main->MDIActivate(other->GetParentFrame());
        Settle(other);
        state.ResumeTiming();
    }
    state.counters["chart redraws"] = redraws;
    for (CView* v : views) Close(v);
}
BENCHMARK(BM_TabSwitchToEachSubAnalysisPlot)->Unit(benchmark::kMillisecond)->UseRealTime();

// (2') The same without the positions: the envelopes only.
void BM_PlotMovingLoadEnvelopes(benchmark::State& state) { ShowMovingLoad(state, false); }
BENCHMARK(BM_PlotMovingLoadEnvelopes)->Unit(benchmark::kMillisecond)->UseRealTime();

// (3) The ensemble's moment and shear plot with every load model.
void BM_PlotEnsembleShowAll(benchmark::State& state)
{
    auto run = EnsembleRun();
    for (auto _ : state)
    {
        CPlotView* view = OpenView<CPlotView>();
        view->CreateCharts(2, 1);
        view->ShowMultiMovingLoadEnvelopes(true, true, run);
        DrawAndSettle({view});
        state.PauseTiming();
        Close(view);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlotEnsembleShowAll)->Unit(benchmark::kMillisecond)->UseRealTime();

// (4) The reference values of every set of the collection: plots and grids of moment and shear
// and of the reactions, as the output options open them (12 windows).
void BM_ReferenceValuesPlotsAndGrids(benchmark::State& state)
{
    auto coll = Collection();
    for (auto _ : state)
    {
        std::vector<CView*> views;
        for (const auto& set : coll->GetRefSets())
        {
            auto descriptor = std::make_shared<CAOReferenceSet>(set, coll->m_bUseOverstress);
            const int supports = set->GetBridgeSet()->GetBeam()->m_nRestraints;
            for (bool bmsf : {true, false})
            {
                CPlotView* plot = OpenView<CPlotView>();
                if (bmsf)
                    plot->CreateCharts(2, 1);
                else
                    plot->CreateCharts(supports < 4 ? 1 : 2, supports < 4 ? supports : 2);
                plot->ShowReferenceSetValues(bmsf, descriptor);
                views.push_back(plot);
                CGridView* grid = OpenView<CGridView>();
                grid->ShowReferenceSetValues(bmsf, descriptor);
                views.push_back(grid);
            }
        }
        Settle(views.back());
        state.PauseTiming();
        for (CView* v : views) Close(v);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ReferenceValuesPlotsAndGrids)->Unit(benchmark::kMillisecond)->UseRealTime();

// (4') A 150-row table: the moment and shear values of a 150-bridge set.
void BM_Grid150Rows(benchmark::State& state)
{
    auto descriptor = std::make_shared<CAOReferenceSet>(LongSet(), false);
    for (auto _ : state)
    {
        CGridView* grid = OpenView<CGridView>();
        grid->ShowReferenceSetValues(true, descriptor);
        Settle(grid);
        state.PauseTiming();
        Close(grid);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Grid150Rows)->Unit(benchmark::kMillisecond)->UseRealTime();

// (5) The enhanced critical-ratio grid of the collection.
void BM_EnhancedRatioGrid(benchmark::State& state)
{
    auto coll = Collection();
    for (auto _ : state)
    {
        CGridView* grid = OpenView<CGridView>();
        grid->ShowEnhancedCriticalRatios(std::make_shared<CAOEnhanced>(coll));
        Settle(grid);
        state.PauseTiming();
        Close(grid);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_EnhancedRatioGrid)->Unit(benchmark::kMillisecond)->UseRealTime();

// (7) The reaction table of a moving load at 100 000 positions (900 000 for the _900k case): a
// row per position. "longest wait ms" is the longest the window could not answer from the Show
// call until the table is on the screen (the Show call itself, or the paint that follows),
// "bytes per row" what the open table holds on the heap.
void ReactionTable(benchmark::State& state, int positions)
{
    auto run = FineStepRun(positions, false);
    const int rows = static_cast<int>(run->GetResults()->GetReactionEnvelope(0)->m_vMax.size());
    double longest = 0, perRow = 0;
    for (auto _ : state)
    {
        CGridView* grid = OpenView<CGridView>();
        Settle(grid);
        const double before = HeapBytes();
        const Clock::time_point show = Clock::now();
        grid->ShowMovingLoadEnvelopes(false, false, run);
        double wait = MsSince(show);
        const Clock::time_point paint = Clock::now();
        Settle(grid);
        wait = std::max(wait, MsSince(paint));
        longest = std::max(longest, wait);
        state.PauseTiming();
        perRow = (HeapBytes() - before) / rows;
        if (grid->GetGrid()->GetRowCount() != rows + 1) state.SkipWithError("the table lacks rows");
        Close(grid);
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["longest wait ms"] = longest;
    state.counters["bytes per row"] = perRow;
}

void BM_ReactionTable100k(benchmark::State& state) { ReactionTable(state, 100000); }
BENCHMARK(BM_ReactionTable100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);
void BM_ReactionTable900k(benchmark::State& state) { ReactionTable(state, 900000); }
BENCHMARK(BM_ReactionTable900k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// (8) The moment and shear plot of the same truck at 100 000 positions, every position shown
// (QOR_BENCH_PLOT_POSITIONS sets another count). "bytes per position" is what the open plot holds
// on the heap; "longest wait ms" as in (2), until every curve is on the screen.
void BM_PlotShowAll100k(benchmark::State& state)
{
    const char* env = std::getenv("QOR_BENCH_PLOT_POSITIONS");
    const int positions = env ? std::max(2, std::atoi(env)) : 100000;
    auto run = FineStepRun(positions, true);
    double longest = 0, perPosition = 0;
    for (auto _ : state)
    {
        CPlotView* view = OpenView<CPlotView>();
        view->CreateCharts(2, 1);
        Settle(view);
        const double before = HeapBytes();
        const Clock::time_point show = Clock::now();
        view->ShowMovingLoadEnvelopes(true, true, run);
        const double shown = MsSince(show);
        longest = std::max(longest, std::max(shown, DrawAndSettle({view})));
        state.PauseTiming();
        perPosition = (HeapBytes() - before) / static_cast<double>(run->GetResults()->GetKeptPositions().GetCount());
        Close(view);
        state.ResumeTiming();
    }
    state.counters["positions"] = static_cast<double>(run->GetResults()->GetKeptPositions().GetCount());
    state.counters["longest wait ms"] = longest;
    state.counters["bytes per position"] = perPosition;
}
BENCHMARK(BM_PlotShowAll100k)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// (6) Printing the plot of (2) to a PDF file: two pages.
void BM_PrintMovingLoadPlot(benchmark::State& state)
{
    auto run = MovingLoadRun();
    CPlotView* view = OpenView<CPlotView>();
    view->CreateCharts(2, 1);
    view->ShowMovingLoadEnvelopes(true, true, run);
    DrawAndSettle({view});
    const std::string pdf = "/tmp/qor-bench-views-" + std::to_string(::getpid()) + ".pdf";
    setenv("QOR_PRINT_TO_PDF", pdf.c_str(), 1);
    for (auto _ : state) view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    unsetenv("QOR_PRINT_TO_PDF");
    FILE* f = std::fopen(pdf.c_str(), "rb");
    if (f)
    {
        std::fseek(f, 0, SEEK_END);
        state.counters["PDF bytes"] = static_cast<double>(std::ftell(f));
        std::fclose(f);
    }
    if (!std::getenv("QOR_BENCH_KEEP_PDF")) std::remove(pdf.c_str());
    Close(view);
}
BENCHMARK(BM_PrintMovingLoadPlot)->Unit(benchmark::kMillisecond)->UseRealTime();

// (9) Printing to PDF the plot and the table of (2) (by 0.5 m) with the bridge and the truck named
// with 5 MB of text each (a pasted file): the page headers hold the whole run description.
// QOR_BENCH_NAME_CHARS sets another length (100: names as usual).
std::wstring LongName(const wchar_t* start)
{
    const char* env = std::getenv("QOR_BENCH_NAME_CHARS");
    const size_t length = env ? static_cast<size_t>(std::atol(env)) : (5u << 20);
    std::wstring name = start;
    while (name.size() < length) name += L" over the river and the railway yards";
    return name;
}

std::shared_ptr<CAOMovingLoad> LongNameRun()
{
    static std::shared_ptr<CAOMovingLoad> run;
    if (!run)
    {
        auto bridge = Bridge_15_20_15();
        bridge->m_Description = CString(LongName(L"Viaduct").c_str());
        auto truck = SixAxleTruck();
        truck->m_Description = CString(LongName(L"Truck").c_str());
        CMovingLoadAnalysis analysis(bridge, truck);
        int nSteps = 0;
        double step = 0.5;
        run = std::make_shared<CAOMovingLoad>(analysis.Run(true, nSteps, step), bridge, truck, nSteps);
    }
    return run;
}

template <class View>
void PrintLongName(benchmark::State& state)
{
    View* view = OpenView<View>();
    if constexpr (std::is_same_v<View, CPlotView>) view->CreateCharts(2, 1);
    view->ShowMovingLoadEnvelopes(false, true, LongNameRun());
    Settle(view);
    const std::string pdf = "/tmp/qor-bench-views-" + std::to_string(::getpid()) + ".pdf";
    setenv("QOR_PRINT_TO_PDF", pdf.c_str(), 1);
    for (auto _ : state) view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0);
    unsetenv("QOR_PRINT_TO_PDF");
    std::remove(pdf.c_str());
    Close(view);
}
void BM_PrintLongNamePlot(benchmark::State& state) { PrintLongName<CPlotView>(state); }
BENCHMARK(BM_PrintLongNamePlot)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
void BM_PrintLongNameGrid(benchmark::State& state) { PrintLongName<CGridView>(state); }
BENCHMARK(BM_PrintLongNameGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A home of its own: no settings file or profile of the user's is read or written.
    char home[] = "/tmp/qor-bench-views-XXXXXX";
    if (mkdtemp(home))
    {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", home, 1);
        setenv("XDG_DATA_HOME", home, 1);
    }
    CSettings::GetInstance()->Analysis.NPOINTS_ALONG_BEAM = 100;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    DropApp();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
