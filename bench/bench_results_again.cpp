// Results of the engine's largest moving load shown again, replaced and dropped, in the running program
// (offscreen, window 1280 x 900, the real main frame): the six-axle truck over 3300-3380-3300 m by 0.01 m
// (about a million positions, each kept for "Display each sub-analysis result"), then View > Moving Load
// Results three times (its windows closed between), the same run again (its results replacing the first's),
// an ensemble of two trucks over the bridge on a worker, File > New, and the run in the new case followed by
// File > Close. For each command the longest the window thread went without answering (from the command
// until its windows are whole, or until the memory is back), the time until then, and the resident set.
// Arguments: --positions N runs a shorter bridge of about N positions instead (a quick look); --ensemble runs
// only the A26 family as an ensemble over the bridge (its reactions table a row per position), three times.
#include "bench_cases.h"
#include "bench_program.h"

#include "app/MainFrame.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/model/Bridge.h"
#include "engine/model/LMEFactory.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/core/MessageBox.h"
#include "platform/gui/Afx.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "res/Resource.h"
#include "ui/views/PlotView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace qor::bench;

CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

// Nothing of the case is saved: New's question is answered No.
int Answer(const qor::MessageBoxCall& call)
{
    const UINT kind = call.type & MB_TYPEMASK;
    if (kind == MB_YESNO || kind == MB_YESNOCANCEL) return IDNO;
    return IDOK;
}

// A plot whose curves, or a table whose rows, are still to come.
bool AnyDrawing(CQORDoc* doc)
{
    for (CView* view : ResultViews(doc))
        if (StillDrawing(dynamic_cast<CPlotView*>(view)) || StillDrawing(dynamic_cast<CGridView*>(view))) return true;
    return false;
}

void CloseResultWindows()
{
    Frame()->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    qor::test::Pump(100);
    qor::test::DeleteDeferred();
}

struct SPause
{
    double longestMs = 0, totalMs = 0, residentMB = 0;
    std::size_t windows = 0;
};

// The command (posted, or started by start()), then the loop until whole() (or 10 min) and 300 ms more: the
// longest pause meanwhile.
template <class Whole>
SPause Command(UINT id, Whole whole, const std::function<void()>& start = {})
{
    SPause r;
    qor::test::Pump(200);
    qor::test::PauseMeter meter;
    const Clock::time_point begin = Clock::now();
    if (start)
        start();
    else
        Frame()->PostMessage(WM_COMMAND, id, 0);
    qor::test::PumpUntil(whole, 600000);
    r.totalMs = MsSince(begin);
    qor::test::Pump(300);
    r.longestMs = meter.LongestMs();
    r.residentMB = ResidentMB();
    return r;
}

} // namespace

int main(int argc, char** argv)
{
    double shorter = 0;
    bool ensembleOnly = false;
    for (int i = 1; i < argc; ++i)
    {
        if (i + 1 < argc && std::strcmp(argv[i], "--positions") == 0) shorter = std::atof(argv[i + 1]);
        if (std::strcmp(argv[i], "--ensemble") == 0) ensembleOnly = true;
    }
    CQORApp app;
    if (!StartProgram(app, "again")) return 1;
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(200);
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    if (!doc) return 1;

    // The run as the menu makes it (through the case's guard of commands), every position kept.
    const double span = shorter > 0 ? 3300.0 * shorter / 999347.0 : 3300.0;
    auto bridge = std::make_shared<CBridge>(1, CString(L"long"), CBridge::CONFIG_EXPLICIT, span);
    bridge->m_vSpans = {span, span * 3380.0 / 3300.0, span};
    bridge->BuildBeam();
    auto truck = SixAxleTruck();
    doc->m_vBridge = {bridge};
    doc->m_vLoadModel = {truck};
    qor::test::Pump(200);
    const std::size_t expected = 4;
    if (ensembleOnly)
    {
        // The A26 family over the three spans, from the command until its four windows are whole, the
        // completion's turn included; and from the third window on, what the last, the table of reactions (a
        // row per position), holds the window while it opens and fills.
        CLMEFactory factory;
        auto a26 = factory.GetA26();
        doc->m_vLoadModelEnsemble = {a26};
        std::printf("\nThe A26 ensemble (%d models) over the bridge, on a worker: its end and four windows\n\n"
                    "| round | longest pause (ms) | of them, the table of reactions (ms) | until whole (ms) | table "
                    "rows | resident MB after |\n|---|---|---|---|---|---|\n",
                    a26->GetLoadModelCount());
        for (int round = 1; round <= 3; ++round)
        {
            qor::test::Pump(200);
            qor::test::PauseMeter meter;
            qor::test::PauseMeter table;
            bool tableMetered = false;
            const Clock::time_point begin = Clock::now();
            doc->RunCommand([&] { doc->StartMultiMovingLoad(true, 0, false, bridge, a26, 0.01); });
            qor::test::PumpUntil(
                [&] {
                    if (!tableMetered && !doc->m_bBusyMultiML && ResultViews(doc).size() + 1 >= expected)
                    {
                        table.Reset();
                        tableMetered = true;
                    }
                    return !doc->m_bBusyMultiML && ResultViews(doc).size() >= expected && !AnyDrawing(doc);
                },
                600000);
            const double totalMs = MsSince(begin);
            qor::test::Pump(300);
            int rows = 0;
            for (CView* view : ResultViews(doc))
                if (auto* grid = dynamic_cast<CGridView*>(view))
                    rows = std::max(rows, grid->GetGrid()->GetRowCount() - 1);
            std::printf("| %d | %.0f | %.0f | %.0f | %d | %.0f |\n", round, meter.LongestMs(), table.LongestMs(),
                        totalMs, rows, ResidentMB());
            CloseResultWindows();
        }
        qor::test::StopApplication(app);
        return 0;
    }
    const Clock::time_point run = Clock::now();
    // The run's windows come one per turn, then draw.
    const auto whole = [doc, expected] { return ResultViews(doc).size() >= expected && !AnyDrawing(doc); };
    if (!doc->RunCommand([&] { doc->RunMovingLoad(true, 0, true, bridge, truck, 0.01); })) return 1;
    qor::test::PumpUntil(whole, 600000);
    const std::size_t positions = doc->m_pMLResults ? doc->m_pMLResults->GetKeptPositions().GetCount() : 0;
    std::printf("Moving load of %zu positions, every one kept: run and drawn in %.1f s, resident set %.0f MB\n",
                positions, MsSince(run) / 1000.0, ResidentMB());
    CloseResultWindows();

    std::printf("\n| command | longest pause (ms) | until whole (ms) | result windows | resident MB after |\n");
    std::printf("|---|---|---|---|---|\n");
    for (int round = 1; round <= 3; ++round)
    {
        const SPause again = Command(ID_VIEW_MOVING_LOAD_RESULTS, whole);
        std::printf("| View > Moving Load Results (%d) | %.0f | %.0f | %zu | %.0f |\n", round, again.longestMs,
                    again.totalMs, ResultViews(doc).size(), again.residentMB);
        if (round < 3) CloseResultWindows();
    }
    CloseResultWindows();

    // The same run again, its windows closed: the command replaces the results of the first (every position
    // kept) with its own. "After it" is the command's time beyond its analysis (which runs on a worker while the
    // window paints); the longest pause counts from the command, its analysis included.
    {
        qor::test::Pump(200);
        const std::weak_ptr<CEnvelopeResults> first = doc->m_pMLResults;
        qor::test::PauseMeter meter;
        const Clock::time_point start = Clock::now();
        if (!doc->RunCommand([&] { doc->RunMovingLoad(true, 0, true, bridge, truck, 0.01); })) return 1;
        const double commandMs = MsSince(start);
        const double analysisMs = LoggedAnalysisMs();
        const bool firstGoneInCommand = first.expired();
        qor::test::PumpUntil(whole, 600000);
        qor::test::PumpUntil([&first] { return first.expired(); }, 60000);
        qor::test::Pump(300);
        std::printf("| Moving load run again (the first's results replaced): after its analysis of %.0f ms | %.0f "
                    "(then %.0f) | %.0f | %zu | %.0f |\n",
                    analysisMs, commandMs - analysisMs, meter.LongestMs(), commandMs, ResultViews(doc).size(),
                    ResidentMB());
        std::printf("(the first run's results %s when the command returned)\n",
                    firstGoneInCommand ? "were gone" : "were still being freed");
        CloseResultWindows();
    }

    // An ensemble of two trucks over the same bridge and steps on a worker (no position kept): from the
    // command until its windows are whole, the completion's turn included.
    {
        auto ensemble = std::make_shared<CLoadModelEnsemble>(1, CString(L"Two trucks"));
        ensemble->AddLoadModel(truck);
        ensemble->AddLoadModel(Truck(1, {60.0, 120.0}, {4.0}));
        doc->m_vLoadModelEnsemble = {ensemble};
        const SPause done = Command(
            0,
            [doc, expected] { return !doc->m_bBusyMultiML && ResultViews(doc).size() >= expected && !AnyDrawing(doc); },
            [&] { doc->RunCommand([&] { doc->StartMultiMovingLoad(true, 0, false, bridge, ensemble, 0.01); }); });
        std::printf(
            "| Moving load of an ensemble of two, on a worker: its end and windows | %.0f | %.0f | %zu | %.0f |\n",
            done.longestMs, done.totalMs, ResultViews(doc).size(), done.residentMB);
    }

    // New with the windows open; whole once the memory of the results is back with the system.
    const double before = ResidentMB();
    const SPause fresh = Command(ID_FILE_NEW, [before] {
        CQORDoc* now = CQORDoc::GetActiveDoc();
        return now && !now->m_pMLResults && ResultViews(now).empty() && ResidentMB() < before / 4;
    });
    std::printf("| File > New (from %.0f MB) | %.0f | %.0f | %zu | %.0f |\n", before, fresh.longestMs, fresh.totalMs,
                CQORDoc::GetActiveDoc() ? ResultViews(CQORDoc::GetActiveDoc()).size() : 0, fresh.residentMB);

    // The run once more in the new case, then File > Close with its windows open (a command of the case:
    // whole once no case is open and the memory is back).
    if (CQORDoc* next = CQORDoc::GetActiveDoc())
    {
        next->m_vBridge = {bridge};
        next->m_vLoadModel = {truck};
        if (!next->RunCommand([&] { next->RunMovingLoad(true, 0, true, bridge, truck, 0.01); })) return 1;
        qor::test::PumpUntil([next] { return ResultViews(next).size() >= 4 && !AnyDrawing(next); }, 600000);
        const double held = ResidentMB();
        const SPause closed =
            Command(ID_FILE_CLOSE, [held] { return !CQORDoc::GetActiveDoc() && ResidentMB() < held / 4; });
        std::printf("| File > Close (from %.0f MB) | %.0f | %.0f | 0 | %.0f |\n", held, closed.longestMs,
                    closed.totalMs, closed.residentMB);
    }
    qor::test::StopApplication(app);
    return 0;
}
