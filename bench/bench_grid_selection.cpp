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

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

    // Copy and save again, beside the least they can cost: the same cells written with std::to_chars
    // (the locale's decimals, no grouping) into one buffer, and for the save written to a file and
    // synced to disk as the save is. Rounds alternate; the median of each is shown.
    {
        std::vector<double> copies, saves, copyFloors, saveFloors;
        const CTableCells& cells = view->m_Cells;
        const int decimals = 2;
        auto floorText = [&](bool bSave) {
            std::string out;
            char number[64];
            if (bSave)
            {
                out += "sep=;\r\n";
                for (int col = 0; col < cols; col++)
                {
                    out += cells.CellText(0, col).ToUtf8();
                    out += col + 1 < cols ? ";" : "\r\n";
                }
            }
            for (int row = 1; row < rows; row++)
            {
                if (bSave) out.append(number, std::to_chars(number, number + sizeof number, row).ptr);
                for (int col = 1; col < cols; col++)
                {
                    out += bSave ? ';' : '\t';
                    const double value = cells.GetNumber(row, col);
                    if (std::isfinite(value))
                        out.append(number, std::to_chars(number, number + sizeof number, value,
                                                         std::chars_format::fixed, decimals)
                                               .ptr);
                }
                if (bSave || row + 1 < rows) out += "\r\n";
            }
            return out;
        };
        // What the copy and the file hold, by their lengths and an FNV-1a hash of their bytes.
        auto digest = [](const std::string& bytes) {
            std::uint64_t hash = 14695981039346656037u;
            for (const char ch : bytes) hash = (hash ^ static_cast<unsigned char>(ch)) * 1099511628211u;
            char text[48];
            std::snprintf(text, sizeof text, "%zu bytes, %016llx", bytes.size(), static_cast<unsigned long long>(hash));
            return std::string(text);
        };
        std::string copyDigest, saveDigest;
        std::size_t copyBytes = 0, floorCopyBytes = 0, saveBytes = 0, floorSaveBytes = 0;
        for (int round = 0; round < 3; round++)
        {
            Measure(click(ptCell), selected(1));
            Measure([grid] { qor::test::KeyPress(grid, 'A', 0, MK_CONTROL); }, selected(nData));
            copies.push_back(
                Measure([grid] { qor::test::KeyPress(grid, 'C', 0, MK_CONTROL); }, [] { return true; }).totalMs);
            CString copied;
            qor::GetClipboardText(copied);
            copyBytes = copied.ToUtf8().size();
            copyDigest = digest(copied.ToUtf8());
            copied.Empty();
            qor::SetClipboardText(CString(L"-"));
            Measure(click(ptCell), selected(1));

            Clock::time_point start = Clock::now();
            {
                const std::string text = floorText(false);
                floorCopyBytes = text.size();
            }
            copyFloors.push_back(MsSince(start));

            {
                qor::test::DrivenFileDialogs dialogs;
                dialogs.Answer(CString::FromUtf8(path));
                const int messages = g_nMessages;
                saves.push_back(Measure([] { qor::test::SendMenuCommand(ID_FILE_SAVE_GRID); },
                                        [messages] { return g_nMessages > messages; })
                                    .totalMs);
                ::stat(path.c_str(), &st);
                saveBytes = static_cast<std::size_t>(st.st_size);
                std::ifstream in(path, std::ios::binary);
                saveDigest = digest(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
                ::unlink(path.c_str());
            }

            start = Clock::now();
            {
                const std::string text = floorText(true);
                floorSaveBytes = text.size();
                std::FILE* file = std::fopen(path.c_str(), "wb");
                if (file)
                {
                    std::fwrite(text.data(), 1, text.size(), file);
                    std::fflush(file);
                    ::fsync(::fileno(file));
                    std::fclose(file);
                }
            }
            saveFloors.push_back(MsSince(start));
            ::unlink(path.c_str());
        }
        auto median = [](std::vector<double> v) {
            std::sort(v.begin(), v.end());
            return v[v.size() / 2];
        };
        std::printf("\nCopy and save of every cell beside the std::to_chars floor (median of 3 rounds, ms):\n");
        std::printf("%-40s %12s %12s %8s   %s\n", "action", "program", "floor", "ratio", "bytes program / floor");
        std::printf("%-40s %12.0f %12.0f %8.2f   %zu / %zu (goal <= 2.00)\n", "Ctrl+C of everything", median(copies),
                    median(copyFloors), median(copies) / median(copyFloors), copyBytes, floorCopyBytes);
        std::printf("%-40s %12.0f %12.0f %8.2f   %zu / %zu (goal <= 2.00)\n", "Save Grid as CSV", median(saves),
                    median(saveFloors), median(saves) / median(saveFloors), saveBytes, floorSaveBytes);
        std::printf("(rounds: copy");
        for (double ms : copies) std::printf(" %.0f", ms);
        std::printf(", floor");
        for (double ms : copyFloors) std::printf(" %.0f", ms);
        std::printf("; save");
        for (double ms : saves) std::printf(" %.0f", ms);
        std::printf(", floor");
        for (double ms : saveFloors) std::printf(" %.0f", ms);
        std::printf(")\n(the copy: %s; the file: %s)\n\n", copyDigest.c_str(), saveDigest.c_str());
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
