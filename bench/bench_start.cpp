// The start of a run as the user meets it (offscreen, the real main frame): how long the window thread is
// held while a run on a computed network starts (critical ratios, the reference collection again, a bridge
// range over a full set, an ensemble's moving load), the network's stored results made large by a fine step
// (every bridge keeps its reaction histories). Each run is stopped once started; the case keeps its results.
// Then critical ratios to their end twice.
#include "bench_program.h"

#include "app/AnalysisJobs.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/case/CaseFile.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/MessageBox.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace {

using qor::bench::Clock;
using qor::bench::MsSince;
using qor::bench::ResidentMB;

int g_questions = 0; // "Display grids/plots for the analysis?" asked

int Answer(const qor::MessageBoxCall& call)
{
    if (call.text.Find(L"Display grids/plots") >= 0) ++g_questions;
    const UINT kind = call.type & MB_TYPEMASK;
    return kind == MB_YESNO || kind == MB_YESNOCANCEL ? IDNO : IDOK;
}

// Sets of up to 1,000 two-span bridges (5-60 m), `bridges` in all, under two trucks by a step of `step`
// metres; the proposed vehicle another truck.
std::shared_ptr<CReferenceCollection> Network(CQORDoc& doc, int bridges, double step)
{
    std::vector<std::shared_ptr<CBridgeSet>> bridgeSets;
    for (int id = 1; bridges > 0; ++id, bridges -= kMaxBridgesPerSet)
        bridgeSets.push_back(
            std::make_shared<CBridgeSet>(id, CString(L"Network"), std::min(bridges, kMaxBridgesPerSet), 2, 5.0, 60.0));
    doc.m_vLoadModel = {qor::bench::TwoAxleTruck(4, 100.0, 2.0)};
    return qor::bench::TruckNetwork(doc, std::move(bridgeSets),
                                    std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, step));
}

struct Start
{
    double callMs = 0; // the launching call itself
    double heldMs = 0; // the longest pause of the window thread from before the call to 100 ms after it
};

// Launches a run, measures, and stops it again; the longest of three.
Start Measure(CQORDoc& doc, const std::function<void()>& launch)
{
    Start worst;
    for (int i = 0; i < 3; ++i)
    {
        qor::test::PauseMeter meter;
        qor::test::Pump(30);
        meter.Reset();
        const Clock::time_point start = Clock::now();
        launch();
        const double callMs = MsSince(start);
        qor::test::Pump(100);
        worst.callMs = std::max(worst.callMs, callMs);
        worst.heldMs = std::max(worst.heldMs, meter.LongestMs());
        doc.StopRuns();
        CAnalysisJobs::WaitForWorkers();
        qor::test::Pump(50);
    }
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    // The bridges of the network (default 3,000) and the step of the moving loads (default 0.05 m).
    const int bridges = argc > 1 ? std::atoi(argv[1]) : 3000;
    const double step = argc > 2 ? std::atof(argv[2]) : 0.05;
    CQORApp app;
    if (!qor::bench::StartProgram(app, "start")) return 1;
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(100);
    CQORDoc* doc = CQORDoc::GetActiveDoc();

    auto collection = Network(*doc, bridges, step);
    const double residentBefore = ResidentMB();
    const Clock::time_point computing = Clock::now();
    doc->StartRefCollection(collection);
    qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues; }, 3600000);
    const double computeMs = MsSince(computing);
    if (!collection->m_bIsCalculated) return std::printf("the collection was not computed\n"), 1;
    CCaseData data;
    data.m_vBridgeSet = doc->m_vBridgeSet;
    data.m_vLoadModelEnsemble = doc->m_vLoadModelEnsemble;
    data.m_vRefCollection = doc->m_vRefCollection;
    const double caseMB = static_cast<double>(EstimateCaseFileBytes(data, true)) / (1024.0 * 1024.0);

    std::printf("Starting a run on a computed network (%d two-span bridges, %.3g m step; 10 ms timer)\n", bridges,
                step);
    std::printf("collection computed in %.0f ms, %.0f MB resident added, %.0f MB as a case file\n\n", computeMs,
                ResidentMB() - residentBefore, caseMB);
    std::printf("%-44s %12s %12s\n", "run started", "call ms", "held ms");
    const auto row = [](const char* name, const Start& s) {
        std::printf("%-44s %12.1f %12.1f\n", name, s.callMs, s.heldMs);
    };
    row("critical ratios (F5)", Measure(*doc, [&] { doc->StartCritRatios(collection); }));
    row("reference collection, computed again", Measure(*doc, [&] { doc->StartRefCollection(collection); }));
    row("bridge range over the first set (up to 1,000)",
        Measure(*doc, [&] { doc->StartBridgeRange(doc->m_vBridgeSet[0], doc->m_vLoadModel[0]); }));
    row("moving load of an ensemble", Measure(*doc, [&] {
            doc->StartMultiMovingLoad(true, 0, false, doc->m_vBridgeSet[0]->m_vBridges.back(),
                                      doc->m_vLoadModelEnsemble[0], step);
        }));

    // F5 to its end, twice (the second run's results replace the first's): the longest pause from the launch
    // to 300 ms after the question.
    std::printf("\n%-44s %12s %12s\n", "run to its end", "run ms", "held ms");
    for (const char* name : {"critical ratios (F5), first", "critical ratios (F5), again"})
    {
        const int asked = g_questions;
        qor::test::PauseMeter meter;
        const Clock::time_point start = Clock::now();
        doc->StartCritRatios(collection);
        qor::test::PumpUntil([&] { return g_questions > asked; }, 3600000);
        Start whole;
        whole.callMs = MsSince(start);
        qor::test::Pump(300);
        whole.heldMs = meter.LongestMs();
        row(name, whole);
    }
    doc->SetModifiedFlag(FALSE);
    qor::test::StopApplication(app);
    // The home folder the program was given goes with it.
    if (const char* home = std::getenv("HOME"); home && std::string(home).find("/tmp/qor-bench-start-") == 0)
    {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }
    return 0;
}
