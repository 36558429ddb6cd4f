// "Display each sub-analysis result" in the running program: memory added, last curve and pauses at
// about 100,000 positions, and the pauses of Print Preview, Next Page and printing to PDF of its plot
// and of its largest table.
// Arguments: --no-large-preview (not the largest plot's printing) or --small-only (not the largest plot).
#include "bench_cases.h"
#include "bench_program.h"

#include "app/MainFrame.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "controls/grid/GridCtrl.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/model/Bridge.h"
#include "output/AnalysisOutput.h"
#include "platform/core/MessageBox.h"
#include "platform/gui/Afx.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "platform/test/PrintTest.h"
#include "res/Resource.h"
#include "ui/views/PlotView.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace qor::bench;
CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

int Answer(const qor::MessageBoxCall& call)
{
    const UINT kind = call.type & MB_TYPEMASK;
    return kind == MB_YESNO || kind == MB_YESNOCANCEL ? IDYES : IDOK;
}

std::shared_ptr<CBridge> Bridge(const wchar_t* name, std::vector<double> spans)
{
    auto bridge = std::make_shared<CBridge>(1, CString(name), CBridge::CONFIG_EXPLICIT, spans[0]);
    bridge->m_vSpans = std::move(spans);
    bridge->BuildBeam();
    return bridge;
}

// The plot views of the case.
std::vector<CPlotView*> PlotViews()
{
    std::vector<CPlotView*> views;
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    for (POSITION pos = doc ? doc->GetFirstViewPosition() : nullptr; pos;)
        if (auto* view = dynamic_cast<CPlotView*>(doc->GetNextView(pos))) views.push_back(view);
    return views;
}

bool AnyDrawing()
{
    for (CPlotView* view : PlotViews())
        if (view->IsDrawing()) return true;
    return false;
}

CPrintPreviewWnd* Preview()
{
    for (CWnd* child = Frame()->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
        if (auto* preview = DYNAMIC_DOWNCAST(CPrintPreviewWnd, child)) return preview;
    return nullptr;
}

void CloseResultWindows()
{
    Frame()->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    qor::test::Pump(100);
    qor::test::DeleteDeferred();
}

struct SShowAll
{
    std::size_t positions = 0;
    double keptMB = 0, addedMB = 0, commandMs = 0, lastCurveMs = 0, commandPauseMs = 0, drawingPauseMs = 0;
};

// The moving-load command with every position shown, from the call to the last curve on the screen.
SShowAll ShowAll(CQORDoc& doc, const std::shared_ptr<CBridge>& bridge)
{
    SShowAll r;
    auto truck = SixAxleTruck();
    doc.m_vBridge = {bridge};
    doc.m_vLoadModel = {truck};
    qor::test::Pump(200);
    const double before = ResidentMB();
    qor::test::PauseMeter meter;
    const Clock::time_point start = Clock::now();
    doc.RunMovingLoad(true, 0, true, bridge, truck, 0.01);
    r.commandMs = MsSince(start);
    // The pause ends at the next tick.
    const int ticks = meter.Ticks();
    qor::test::PumpUntil([&] { return meter.Ticks() > ticks; }, 10000);
    r.commandPauseMs = meter.LongestMs();
    meter.Reset();
    qor::test::PumpUntil([] { return !AnyDrawing(); }, 600000);
    r.lastCurveMs = MsSince(start);
    r.drawingPauseMs = meter.LongestMs();
    qor::test::Pump(300);
    r.drawingPauseMs = std::max(r.drawingPauseMs, meter.LongestMs());
    r.addedMB = ResidentMB() - before;
    if (doc.m_pMLResults)
    {
        r.positions = doc.m_pMLResults->GetKeptPositions().GetCount();
        r.keptMB = static_cast<double>(doc.m_pMLResults->GetKeptPositions().GetBytes()) / 1048576.0;
    }
    return r;
}

struct SPrinting
{
    double previewMs = 0, nextPageMs = 0, printMs = 0;
    double previewTotalMs = 0, printTotalMs = 0; // from the command to the preview shown / the file written
    int pages = 0;
};

// The longest pause while work() runs and the windows then settle (until done() or 60 s).
template <class Work, class Done>
double PauseOf(Work work, Done done)
{
    qor::test::PauseMeter meter;
    work();
    qor::test::PumpUntil(done, 60000);
    qor::test::Pump(300);
    return meter.LongestMs();
}

// Print preview of the view, its next page, and printing it to PDF.
SPrinting Printing(CView* view)
{
    SPrinting r;
    if (!view) return r;
    Frame()->MDIActivate(view->GetParentFrame());
    qor::test::Pump(200);
    // Until the page shows: the preview renders its pages on a worker.
    Clock::time_point start = Clock::now();
    r.previewMs = PauseOf([] { Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0); },
                          [&] {
                              if (!Preview() || !Preview()->IsPageRendered(Preview()->GetCurrentPage())) return false;
                              r.previewTotalMs = MsSince(start);
                              return true;
                          });
    if (CPrintPreviewWnd* preview = Preview())
    {
        r.pages = preview->GetPageCount();
        const int next = preview->GetCurrentPage() + 1;
        r.nextPageMs =
            PauseOf([preview] { preview->PostMessage(WM_KEYDOWN, VK_NEXT, 0); },
                    [preview, next] { return next > preview->GetPageCount() || preview->IsPageRendered(next); });
        preview->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
        qor::test::Pump(200);
        qor::test::DeleteDeferred();
    }
    const std::string pdf = "/tmp/qor-bench-showall-" + std::to_string(getpid()) + ".pdf";
    {
        qor::test::DrivenPrinting printing(pdf);
        start = Clock::now();
        r.printMs = PauseOf([view] { view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0); },
                            [&] {
                                r.printTotalMs = MsSince(start);
                                return true;
                            });
    }
    std::remove(pdf.c_str());
    return r;
}

// The plot of every position's bending moment and shear force.
CView* MomentPlot()
{
    CView* plot = nullptr;
    for (CPlotView* view : PlotViews())
        if (view->GetTableKind() != CQORViewBase::TABLE_REACTIONS) plot = view;
    return plot;
}

// The table of the most rows.
CView* LargestTable()
{
    CGridView* largest = nullptr;
    for (CView* view : ResultViews(CQORDoc::GetActiveDoc()))
        if (auto* grid = dynamic_cast<CGridView*>(view);
            grid && grid->GetGrid() && (!largest || grid->GetGrid()->GetRowCount() > largest->GetGrid()->GetRowCount()))
            largest = grid;
    return largest;
}

} // namespace

int main(int argc, char** argv)
{
    const bool largePreview = !(argc > 1 && std::strcmp(argv[1], "--no-large-preview") == 0);
    const bool smallOnly = argc > 1 && std::strcmp(argv[1], "--small-only") == 0;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    char home[] = "/tmp/qor-bench-showall-XXXXXX";
    if (mkdtemp(home))
    {
        setenv("HOME", home, 1);
        setenv("XDG_CONFIG_HOME", home, 1);
        setenv("XDG_DATA_HOME", home, 1);
    }
    CQORApp app;
    if (!qor::test::StartApplication(app)) return 1;
    app.m_pMainWnd->MoveWindow(0, 0, 1280, 900);
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(200);
    CQORDoc* doc = CQORDoc::GetActiveDoc();

    std::printf("\"Display each sub-analysis result\", six-axle truck by 0.01 m (window 1280 x 900; 10 ms timer)\n");
    std::printf("%-22s %9s %9s %10s %9s %11s %11s %11s\n", "bridge", "positions", "kept MB", "added MB", "added/kept",
                "command ms", "last curve", "pause ms");
    struct SCase
    {
        const wchar_t* name;
        std::vector<double> spans;
        bool preview;
    };
    // The largest first, so that the memory it adds is counted from a heap that has not grown yet.
    const SCase cases[] = {{L"300-400-300 m", {300.0, 400.0, 300.0}, largePreview},
                           {L"40-45-40 m", {40.0, 45.0, 40.0}, true}};
    std::vector<SPrinting> printed, tables;
    for (const SCase& c : cases)
    {
        if (smallOnly && c.spans[0] > 100.0)
        {
            printed.push_back(SPrinting{-1, -1, -1});
            tables.push_back(SPrinting{-1, -1, -1});
            continue;
        }
        const SShowAll r = ShowAll(*doc, Bridge(c.name, c.spans));
        std::printf("%-22ls %9zu %9.0f %10.0f %9.2f %11.0f %11.0f %5.0f/%5.0f\n", c.name, r.positions, r.keptMB,
                    r.addedMB, r.keptMB > 0 ? r.addedMB / r.keptMB : 0.0, r.commandMs, r.lastCurveMs, r.commandPauseMs,
                    r.drawingPauseMs);
        printed.push_back(c.preview ? Printing(MomentPlot()) : SPrinting{-1, -1, -1});
        tables.push_back(c.preview ? Printing(LargestTable()) : SPrinting{-1, -1, -1});
        CloseResultWindows();
    }
    std::printf("(pause ms: the command itself, with the analysis on the window thread / after it, while drawing)\n");
    auto report = [&](const char* what, const std::vector<SPrinting>& rows) {
        std::printf("\nLongest pause (ms) of %s\n", what);
        std::printf("%-22s %7s %16s %12s %16s\n", "bridge", "pages", "preview (total)", "next page", "print (total)");
        for (std::size_t i = 0; i < rows.size(); ++i)
        {
            if (rows[i].previewMs < 0)
                std::printf("%-22ls %7s %16s %12s %16s\n", cases[i].name, "-", "-", "-", "-");
            else
                std::printf("%-22ls %7d %7.0f (%6.0f) %12.0f %7.0f (%6.0f)\n", cases[i].name, rows[i].pages,
                            rows[i].previewMs, rows[i].previewTotalMs, rows[i].nextPageMs, rows[i].printMs,
                            rows[i].printTotalMs);
        }
    };
    report("the plot of every position", printed);
    report("the table of the most rows", tables);
    qor::test::StopApplication(app);
    return 0;
}
