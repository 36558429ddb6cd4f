// Selecting, copying, saving and autosizing in a large result table as the user meets them
// (offscreen, the real main frame): a moving load over a 20 m bridge by a very fine step, run
// through the case, its reaction table shown in a grid view; then a click on a column header, a
// click that clears, Ctrl+A, Ctrl+C of everything, File > Save Grid as CSV and a double click on a
// column border, each with the window thread's longest pause (a 10 ms timer) and the memory the
// program holds afterwards over what it held before.
#include "bench_cases.h"
#include "bench_program.h"

#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "engine/model/Bridge.h"
#include "platform/core/MessageBox.h"
#include "platform/gui/Afx.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "platform/test/PrintTest.h"
#include "res/Resource.h"
#include "ui/views/GridView.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace qor::bench;

int g_nMessages = 0;
int Answer(const qor::MessageBoxCall& call)
{
    ++g_nMessages;
    const UINT kind = call.type & MB_TYPEMASK;
    return kind == MB_YESNO || kind == MB_YESNOCANCEL ? IDYES : IDOK;
}

struct Figure
{
    double pauseMs = 0;
    double totalMs = 0;
    double addedMb = 0;
};

// Runs the action with the loop going on until done() holds (and 100 ms more, for the pause meter's
// next tick); the longest pause, the whole time and the resident set added.
Figure Measure(const std::function<void()>& action, const std::function<bool()>& done)
{
    qor::test::Pump(100);
    Figure figure;
    const double before = ResidentMB();
    qor::test::PauseMeter meter;
    const Clock::time_point start = Clock::now();
    action();
    qor::test::PumpUntil(done, 600000);
    figure.totalMs = MsSince(start);
    qor::test::Pump(100);
    figure.pauseMs = meter.LongestMs();
    figure.addedMb = ResidentMB() - before;
    return figure;
}

void Print(const char* what, const Figure& figure, const char* goal)
{
    std::printf("%-40s %12.0f %12.0f %12.1f   %s\n", what, figure.pauseMs, figure.totalMs, figure.addedMb, goal);
}

} // namespace

int main(int argc, char** argv)
{
    // --print: the table's Print Preview and its printing to PDF too (some 33,000 pages: minutes).
    const bool print = argc > 1 && std::strcmp(argv[1], "--print") == 0;
    CQORApp app;
    if (!StartProgram(app, "grid")) return 1;
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(100);
    CQORDoc* doc = CQORDoc::GetActiveDoc();

    // A 20 m span by 538,600 steps (0.037 mm): a reaction table of about 900,900 rows and five columns.
    const int nSteps = std::getenv("QOR_BENCH_GRID_STEPS") ? std::atoi(std::getenv("QOR_BENCH_GRID_STEPS")) : 538600;
    auto bridge = std::make_shared<CBridge>(1, CString(L"20 m"), CBridge::CONFIG_EXPLICIT, 20.0);
    bridge->m_vSpans = {20.0};
    bridge->BuildBeam();
    const double rssStart = ResidentMB();
    const Figure run =
        Measure([&] { doc->RunMovingLoad(false, nSteps, false, bridge, SixAxleTruck(), 0.0); }, [] { return true; });
    CGridView* view = LargestTable(doc);
    if (!view)
    {
        std::printf("no table was shown\n");
        return 1;
    }
    if (auto* frame = DYNAMIC_DOWNCAST(CMDIChildWnd, view->GetParentFrame())) frame->MDIActivate();
    qor::test::Pump(200);
    CGridCtrl* grid = view->GetGrid();
    const int rows = grid->GetRowCount();
    const int cols = grid->GetColumnCount();
    std::printf("Selecting in a large table (moving load over 20 m, %d steps; reaction table %d x %d; 10 ms "
                "timer)\n",
                nSteps, rows, cols);
    std::printf("the run and its windows: %.0f ms, %.0f MB (%.0f MB held)\n\n", run.totalMs, run.addedMb,
                ResidentMB() - rssStart);
    std::printf("%-40s %12s %12s %12s   %s\n", "action", "longest ms", "total ms", "added MB", "goal");

    CRect header, cell, border;
    grid->GetCellRect(0, 2, header);
    grid->GetCellRect(3, 1, cell);
    grid->GetCellRect(0, 1, border);
    const CPoint ptHeader = header.CenterPoint();
    const CPoint ptCell = cell.CenterPoint();
    const CPoint ptBorder(border.right - 1, border.CenterPoint().y);
    auto click = [grid](CPoint pt, UINT mk = 0) {
        return [grid, pt, mk] {
            qor::test::MouseDown(grid, pt, VK_LBUTTON, mk);
            qor::test::MouseUp(grid, pt, VK_LBUTTON, mk);
        };
    };
    const int nData = (rows - 1) * (cols - 1);
    auto selected = [grid](int count) { return [grid, count] { return grid->GetSelectedCount() == count; }; };

    Print("column select (header click)", Measure(click(ptHeader), selected(rows - 1)), "<= 250 ms, <= 10 MB");
    Print("clear (next click)", Measure(click(ptCell), selected(1)), "<= 250 ms, <= 10 MB");
    Print("Ctrl+A", Measure([grid] { qor::test::KeyPress(grid, 'A', 0, MK_CONTROL); }, selected(nData)),
          "<= 250 ms, <= 10 MB");

    // The copy is on the clipboard when the key has been handled; its text is read afterwards.
    qor::SetClipboardText(CString(L"-"));
    const Figure copy = Measure([grid] { qor::test::KeyPress(grid, 'C', 0, MK_CONTROL); }, [] { return true; });
    CString text;
    qor::GetClipboardText(text);
    const double textMb = static_cast<double>(text.ToUtf8().size()) / (1024.0 * 1024.0);
    text.Empty();
    char goal[96];
    std::snprintf(goal, sizeof goal, "<= 250 ms a slice, <= %.1f MB (its text)", textMb);
    Print("Ctrl+C of everything", copy, goal);
    qor::SetClipboardText(CString(L"-"));

    Print("clear (after Ctrl+A)", Measure(click(ptCell), selected(1)), "<= 250 ms, <= 10 MB");

    const std::string path = qor::test::TempFilePath("large-table.csv");
    struct stat st
    {};
    {
        qor::test::DrivenFileDialogs dialogs;
        dialogs.Answer(CString::FromUtf8(path));
        const int messages = g_nMessages;
        const Figure save = Measure([] { qor::test::SendMenuCommand(ID_FILE_SAVE_GRID); },
                                    [messages] { return g_nMessages > messages; });
        ::stat(path.c_str(), &st);
        std::snprintf(goal, sizeof goal, "<= 250 ms a slice, <= %.1f MB (its text)",
                      static_cast<double>(st.st_size) / (1024.0 * 1024.0));
        Print("Save Grid as CSV", save, goal);
        ::unlink(path.c_str());
    }

    const int widthBefore = grid->GetColumnWidth(1);
    const Figure autosize = Measure([&] { qor::test::MouseDoubleClick(grid, ptBorder); }, [] { return true; });
    Print("autosize (double click on a border)", autosize, "<= 250 ms");
    std::printf("(column 1: %d -> %d pixels)\n", widthBefore, grid->GetColumnWidth(1));

    if (print)
    {
        auto preview = [] {
            for (CWnd* child = AfxGetMainWnd()->GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
                if (auto* shown = DYNAMIC_DOWNCAST(CPrintPreviewWnd, child)) return shown;
            return static_cast<CPrintPreviewWnd*>(nullptr);
        };
        int pages = 0;
        const Figure shown = Measure([] { AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_FILE_PRINT_PREVIEW, 0); },
                                     [&] {
                                         CPrintPreviewWnd* p = preview();
                                         pages = p ? p->GetPageCount() : 0;
                                         return p && p->IsPageRendered(1);
                                     });
        std::snprintf(goal, sizeof goal, "<= 250 ms (%d pages)", pages);
        Print("Print Preview (to the first page shown)", shown, goal);
        if (CPrintPreviewWnd* p = preview()) p->SendMessage(WM_COMMAND, AFX_ID_PREVIEW_CLOSE, 0);
        qor::test::Pump(200);
        qor::test::DeleteDeferred();
        const std::string pdf = qor::test::TempFilePath("large-table.pdf");
        {
            qor::test::DrivenPrinting printing(pdf);
            Print("printing to PDF",
                  Measure([view] { view->SendMessage(WM_COMMAND, ID_FILE_PRINT, 0); }, [] { return true; }),
                  "<= 250 ms");
        }
        ::stat(pdf.c_str(), &st);
        std::printf("(the PDF: %.0f MB)\n", static_cast<double>(st.st_size) / (1024.0 * 1024.0));
        ::unlink(pdf.c_str());
    }

    qor::test::StopApplication(app);
    return 0;
}
