// "Display each sub-analysis result" in the running program: memory added, last curve and pauses at
// about 100,000 positions, and the pauses of Print Preview, Next Page and printing to PDF of its plot
// and of its largest table.
// Arguments: --no-large-preview (not the largest plot's printing) or --small-only (not the largest plot);
// --million adds the plot of a million positions (memory, pauses, status bar, clicks over it) and the
// same run under an address-space limit, in a child process (--refusal), which must refuse it.
#include "bench_cases.h"
#include "bench_program.h"

#include "app/MainFrame.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "controls/chart/ChartCtrl.h"
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

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
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

CString StatusText()
{
    auto* bar = DYNAMIC_DOWNCAST(CMFCStatusBar, Frame()->GetDlgItem(AFX_IDW_STATUS_BAR));
    return bar ? bar->GetPaneText(0) : CString();
}

// The plot of every position's bending moment and shear force.
CPlotView* MomentPlot()
{
    CPlotView* plot = nullptr;
    for (CPlotView* view : PlotViews())
        if (view->GetTableKind() != CQORViewBase::TABLE_REACTIONS) plot = view;
    return plot;
}

struct SShowAll
{
    std::size_t positions = 0;
    double keptMB = 0, addedMB = 0, commandMs = 0, lastCurveMs = 0, commandPauseMs = 0, drawingPauseMs = 0;
    // Looks at the status bar while the plot drew, those that said "Drawing each sub-analysis result",
    // and whether it said "Ready" after.
    int drawingLooks = 0, drawingSaid = 0;
    bool readyAfter = false;
    bool ran = false;
    // The longest mouse move and click (button down and up) over the moment chart's plot.
    double moveMs = 0, clickMs = 0;
};

// Mouse moves and clicks over the moment chart of the plot of every position, on its curves and off
// them (its corners): the longest of each.
void Pointer(SShowAll& r)
{
    CPlotView* plot = MomentPlot();
    CChartCtrl* chart = plot ? plot->GetChart(0) : nullptr;
    if (!chart || !chart->GetSafeHwnd()) return;
    const CRect p = chart->GetPlottingRect();
    const CPoint points[] = {p.CenterPoint(),
                             {p.left + 3, p.top + 3},
                             {p.right - 4, p.bottom - 4},
                             {p.left + p.Width() / 4, p.top + p.Height() / 4},
                             {p.left + 3 * p.Width() / 4, p.top + 3 * p.Height() / 4},
                             {p.left + p.Width() / 3, p.CenterPoint().y}};
    for (const CPoint& at : points)
    {
        const LPARAM lp = MAKELPARAM(at.x, at.y);
        Clock::time_point start = Clock::now();
        chart->SendMessage(WM_MOUSEMOVE, 0, lp);
        r.moveMs = std::max(r.moveMs, MsSince(start));
        start = Clock::now();
        chart->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, lp);
        chart->SendMessage(WM_LBUTTONUP, 0, lp);
        r.clickMs = std::max(r.clickMs, MsSince(start));
        qor::test::Pump(30);
    }
}

// The moving-load command with every position shown, from the call to the last curve on the screen
// (through the case's guard of commands: a run refused or failed is said in a message box).
SShowAll ShowAll(CQORDoc& doc, const std::shared_ptr<CBridge>& bridge, double step = 0.01)
{
    SShowAll r;
    auto truck = SixAxleTruck();
    doc.m_vBridge = {bridge};
    doc.m_vLoadModel = {truck};
    qor::test::Pump(200);
    const double before = ResidentMB();
    qor::test::PauseMeter meter;
    const Clock::time_point start = Clock::now();
    r.ran = doc.RunCommand([&] { doc.RunMovingLoad(true, 0, true, bridge, truck, step); });
    r.commandMs = MsSince(start);
    // The pause ends at the next tick.
    const int ticks = meter.Ticks();
    qor::test::PumpUntil([&] { return meter.Ticks() > ticks; }, 10000);
    r.commandPauseMs = meter.LongestMs();
    meter.Reset();
    qor::test::PumpUntil(
        [&r] {
            if (!AnyDrawing()) return true;
            ++r.drawingLooks;
            if (StatusText().Find(L"Drawing each sub-analysis result") == 0) ++r.drawingSaid;
            return false;
        },
        600000);
    r.lastCurveMs = MsSince(start);
    r.drawingPauseMs = meter.LongestMs();
    qor::test::Pump(300);
    r.drawingPauseMs = std::max(r.drawingPauseMs, meter.LongestMs());
    r.addedMB = ResidentMB() - before;
    r.readyAfter = StatusText() == L"Ready";
    Pointer(r);
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

constexpr double kSpareAddressSpaceGB = 3.0;

std::shared_ptr<CBridge> MillionBridge() { return Bridge(L"3300-3380-3300 m", {3300.0, 3380.0, 3300.0}); }

void PrintHeader()
{
    std::printf("%-22s %9s %9s %10s %9s %11s %11s %11s\n", "bridge", "positions", "kept MB", "added MB", "added/kept",
                "command ms", "last curve", "pause ms");
}

void PrintRow(const wchar_t* name, const SShowAll& r)
{
    std::printf("%-22ls %9zu %9.0f %10.0f %9.2f %11.0f %11.0f %5.0f/%5.0f\n", name, r.positions, r.keptMB, r.addedMB,
                r.keptMB > 0 ? r.addedMB / r.keptMB : 0.0, r.commandMs, r.lastCurveMs, r.commandPauseMs,
                r.drawingPauseMs);
}

void PrintDetails(const wchar_t* name, const SShowAll& r)
{
    std::printf("%-22ls status bar \"Drawing each sub-analysis result\" at %d of %d looks while drawing, "
                "\"Ready\" after: %s; mouse move %.1f ms, click %.1f ms (longest)\n",
                name, r.drawingSaid, r.drawingLooks, r.readyAfter ? "yes" : "no", r.moveMs, r.clickMs);
}

// The address space the process has mapped (VmSize), in bytes.
double AddressSpaceUsed()
{
    double kB = 0;
    if (std::FILE* f = std::fopen("/proc/self/status", "r"))
    {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmSize: %lf kB", &kB) == 1) break;
        std::fclose(f);
    }
    return kB * 1024.0;
}

// Under an address-space limit of what the program has mapped and a few GB, the million positions are
// refused before the run starts, with a message that names the smallest step and the most steps that
// fit; a run by that step then goes through to its last curve without the program running out of memory.
int Refusal(CQORDoc& doc)
{
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = static_cast<rlim_t>(AddressSpaceUsed() + kSpareAddressSpaceGB * 1073741824.0);
    if (setrlimit(RLIMIT_AS, &limit) != 0) return std::printf("cannot set the address-space limit\n"), 1;
    std::printf("\nUnder an address-space limit %.1f GB above what the program has mapped (%.1f GB in all)\n",
                kSpareAddressSpaceGB, static_cast<double>(limit.rlim_cur) / 1073741824.0);
    auto bridge = MillionBridge();
    qor::ClearRecordedMessageBoxes();
    const SShowAll refused = ShowAll(doc, bridge);
    std::vector<qor::MessageBoxCall> boxes = qor::RecordedMessageBoxes();
    const CString said = boxes.empty() ? CString() : boxes.back().text;
    std::printf("by 0.01 m: %s in %.0f ms, resident set %+.0f MB, the message: %ls\n",
                refused.ran ? "RAN (not refused)" : "refused", refused.commandMs, refused.addedMB,
                said.IsEmpty() ? L"(none)" : said.GetString());
    const int at = said.Find(L"the smallest step that fits is ");
    double step = 0, steps = 0;
    if (refused.ran || at < 0 ||
        std::swscanf(said.GetString() + at, L"the smallest step that fits is %lf m (at most %lf steps)", &step,
                     &steps) != 2)
        return std::printf("the run was not refused with the smallest step named\n"), 1;
    qor::ClearRecordedMessageBoxes();
    const SShowAll named = ShowAll(doc, bridge, step);
    boxes = qor::RecordedMessageBoxes();
    PrintHeader();
    char name[64];
    std::snprintf(name, sizeof name, "by %g m (%.0f steps)", step, steps);
    PrintRow(CString::FromUtf8(name), named);
    PrintDetails(CString::FromUtf8(name), named);
    for (const qor::MessageBoxCall& box : boxes) std::printf("message: %ls\n", box.text.GetString());
    double peakKB = 0;
    if (std::FILE* f = std::fopen("/proc/self/status", "r"))
    {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "VmPeak: %lf kB", &peakKB) == 1) break;
        std::fclose(f);
    }
    std::printf("by the step named: %s; address space at its peak %.2f GB of the %.2f GB allowed\n",
                named.ran ? "ran to its last curve" : "NOT RUN", peakKB / 1048576.0,
                static_cast<double>(limit.rlim_cur) / 1073741824.0);
    CloseResultWindows();
    return named.ran ? 0 : 1;
}

// The refusal in a process of its own (its limit would hold the rest of this one).
int RefusalInChild(const char* self)
{
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0)
    {
        execl("/proc/self/exe", self, "--refusal", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) std::printf("the refusal's process ENDED BY SIGNAL %d\n", WTERMSIG(status));
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

int main(int argc, char** argv)
{
    bool largePreview = true, smallOnly = false, million = false, refusal = false;
    for (int i = 1; i < argc; ++i)
    {
        largePreview = largePreview && std::strcmp(argv[i], "--no-large-preview") != 0;
        smallOnly = smallOnly || std::strcmp(argv[i], "--small-only") == 0;
        million = million || std::strcmp(argv[i], "--million") == 0;
        refusal = refusal || std::strcmp(argv[i], "--refusal") == 0;
    }
    CQORApp app;
    if (!qor::bench::StartProgram(app, "showall")) return 1;
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(200);
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    if (refusal)
    {
        const int status = Refusal(*doc);
        qor::test::StopApplication(app);
        return status;
    }

    std::printf("\"Display each sub-analysis result\", six-axle truck by 0.01 m (window 1280 x 900; 10 ms timer)\n");
    PrintHeader();
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
    std::vector<SShowAll> shown;
    for (const SCase& c : cases)
    {
        if (smallOnly && c.spans[0] > 100.0)
        {
            printed.push_back(SPrinting{-1, -1, -1});
            tables.push_back(SPrinting{-1, -1, -1});
            shown.push_back(SShowAll{});
            continue;
        }
        shown.push_back(ShowAll(*doc, Bridge(c.name, c.spans)));
        PrintRow(c.name, shown.back());
        printed.push_back(c.preview ? Printing(MomentPlot()) : SPrinting{-1, -1, -1});
        tables.push_back(c.preview ? Printing(LargestTable(CQORDoc::GetActiveDoc())) : SPrinting{-1, -1, -1});
        CloseResultWindows();
    }
    // After the others: the heap they gave back is reused, not counted again.
    SShowAll largest;
    if (million)
    {
        largest = ShowAll(*doc, MillionBridge());
        PrintRow(L"3300-3380-3300 m", largest);
        CloseResultWindows();
    }
    std::printf("(pause ms: the command itself, with the analysis on the window thread / after it, while drawing)\n");
    for (std::size_t i = 0; i < shown.size(); ++i)
        if (shown[i].ran) PrintDetails(cases[i].name, shown[i]);
    if (million) PrintDetails(L"3300-3380-3300 m", largest);
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
    return million ? RefusalInChild(argv[0]) : 0;
}
