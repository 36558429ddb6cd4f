// The moving-load command with every position kept and displayed ("Display each sub-analysis result"),
// in the running program (the application with its main frame, offscreen): the analysis, the command's
// work after it (its result windows made and shown) and the longest the window then waits while the
// plots finish, at about 100 000 positions (a 300-400-300 m bridge by 0.01 m) and 900 000 positions
// (a 20 m span by a step so fine); each command run three times in a row on one case, its windows closed
// between runs. (The engine's run that keeps every position against the kernel is in bench_analysis.)
#include "bench_cases.h"
#include "bench_program.h"

#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/model/Bridge.h"
#include "platform/gui/Afx.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace qor::bench;

// ---- The command in the running program ------------------------------------------------------------

CQORDoc* CaseDoc(CQORApp& app)
{
    POSITION pos = app.m_pDocTemplate ? app.m_pDocTemplate->GetFirstDocPosition() : nullptr;
    auto* doc = pos ? dynamic_cast<CQORDoc*>(app.m_pDocTemplate->GetNextDoc(pos)) : nullptr;
    if (!doc) std::abort();
    return doc;
}

// The moving-load command of one model with each position displayed, three times on one case.
void CommandRuns(CQORApp& app, const char* name, std::shared_ptr<CBridge> bridge, double step)
{
    CQORDoc* doc = CaseDoc(app);
    auto truck = SixAxleTruck();
    for (int run = 1; run <= 3; ++run)
    {
        const double residentBefore = ResidentMB();
        const Clock::time_point start = Clock::now();
        doc->RunMovingLoad(true, 0, true, bridge, truck, step);
        const double commandMs = MsSince(start);
        // What waits for the loop: the plots' curves in slices, the log's lines.
        std::vector<CView*> views = ResultViews(doc);
        qor::test::PauseMeter meter;
        const Clock::time_point drawing = Clock::now();
        while (std::any_of(views.begin(), views.end(),
                           [](CView* v) { return StillDrawing(dynamic_cast<CPlotView*>(v)); }) &&
               MsSince(drawing) < 600000)
            qor::test::Pump();
        qor::test::Pump();
        const double afterMs = meter.LongestMs();
        const double analysisMs = LoggedAnalysisMs();
        const std::size_t positions = doc->m_pMLResults ? doc->m_pMLResults->GetKeptPositions().GetCount() : 0;
        std::printf("| %s | %zu | %d | %.0f | %.0f | %.0f | %.0f | %.0f |\n", name, positions, run, commandMs,
                    analysisMs, commandMs - analysisMs, afterMs, ResidentMB() - residentBefore);
        std::fflush(stdout);
        for (CView* v : ResultViews(doc)) v->GetParentFrame()->SendMessage(WM_CLOSE);
        qor::test::Pump();
        qor::test::DeleteDeferred();
    }
}

} // namespace

int main()
{
    {
        CQORApp app;
        if (!StartProgram(app, "kept")) return 1;
        qor::test::Pump();
        std::printf("\nThe moving-load command, each position displayed (ms; MB of resident set added)\n\n");
        std::printf("| case | positions | run | command | analysis | after it | longest wait after | MB added |\n");
        std::printf("|---|---|---|---|---|---|---|---|\n");
        auto bridge = std::make_shared<CBridge>(1, CString(L"300-400-300 m"), CBridge::CONFIG_EXPLICIT, 20.0);
        bridge->m_vSpans = {300.0, 400.0, 300.0};
        bridge->BuildBeam();
        CommandRuns(app, "300-400-300 m by 0.01 m", bridge, 0.01);
        auto span = std::make_shared<CBridge>(2, CString(L"20 m"), CBridge::CONFIG_EXPLICIT, 20.0);
        span->m_vSpans = {20.0};
        span->BuildBeam();
        auto truck = SixAxleTruck();
        truck->Update();
        CommandRuns(app, "20 m by a fine step", span, (20.0 + truck->m_Length) / 900000.0);
        qor::test::StopApplication(app);
    }
    return 0;
}
