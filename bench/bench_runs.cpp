// The window thread while the analyses run on workers, as the user meets it (offscreen, the real
// main frame): the longest pause of the window thread, measured by a 10 ms timer, during a
// reference collection over 1,000 bridges and ten trucks and during its critical-ratio run (with
// the results offered and declined, then shown); and the time from New, given during a long run
// with result windows open, to a new case whose window answers, with what of the stopped run
// still reaches the log afterwards.
#include "bench_cases.h"
#include "bench_program.h"

#include "app/MainFrame.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/BridgeSet.h"
#include "engine/settings/Settings.h"
#include "platform/core/MessageBox.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/PauseMeter.h"
#include "res/Resource.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unistd.h>

namespace {

using namespace qor::bench;

CMainFrame* Frame() { return DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd()); }

int LogLines() { return Frame()->GetOutputWnd().GetList().GetCount(); }

// Every question is answered with answer; the display question counts the completions.
struct Answers
{
    int answer = IDNO;
    int completions = 0;
};
Answers g_answers;

int Answer(const qor::MessageBoxCall& call)
{
    if (call.text.Find(L"Display grids/plots") >= 0) ++g_answers.completions;
    const UINT kind = call.type & MB_TYPEMASK;
    return kind == MB_YESNO || kind == MB_YESNOCANCEL ? g_answers.answer : IDOK;
}

// A collection of the library's NAASRA 1976 T44 with ten trucks (its span rule notes a line a
// truck and bridge) over 1,000 two-span bridges of 5 to 60 m; by count (20 steps) or, for a long
// run, by a fine step. The ratios are those of the ten trucks of bench_cases.h.
std::shared_ptr<CReferenceCollection> Network(CQORDoc& doc, bool fine)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Network"), kMaxBridgesPerSet, 2, 5.0, 60.0);
    auto trucks = doc.m_LMEFactory.GetNAASRA1976_T44(false, 10.0);
    auto proposed = TenTrucks();
    doc.m_vBridgeSet = {set};
    doc.m_vLoadModelEnsemble = {trucks, proposed};
    auto collection = fine ? std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, 0.01)
                           : std::make_shared<CReferenceCollection>(1, CString(L"Network"), false, 20, 1.0);
    collection->m_vBS = {set};
    collection->m_vLME = {trucks};
    doc.m_vRefCollection = {collection};
    doc.m_nRefCollectionID = 1;
    return collection;
}

// Runs the launcher and the loop until its completion has asked its question (and 300 ms more for
// what it opens); the longest pause of the window thread meanwhile.
template <class Launch>
double LongestPause(Launch launch, int answer, double* pTotalMs)
{
    g_answers.answer = answer;
    const int before = g_answers.completions;
    qor::test::PauseMeter meter;
    const Clock::time_point start = Clock::now();
    launch();
    qor::test::PumpUntil([&] { return g_answers.completions > before; }, 600000);
    *pTotalMs = MsSince(start);
    qor::test::Pump(300);
    return meter.LongestMs();
}

void CloseResultWindows()
{
    Frame()->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    qor::test::Pump(50);
    qor::test::DeleteDeferred();
}

} // namespace

int main()
{
    CQORApp app;
    if (!StartProgram(app, "runs")) return 1;
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(100);
    CQORDoc* doc = CQORDoc::GetActiveDoc();

    std::printf("Window thread during runs on workers (1,000 two-span bridges, T44 ten trucks; 10 ms timer)\n");
    std::printf("%-58s %12s %12s\n", "run", "longest ms", "run ms");
    auto collection = Network(*doc, false);
    double total = 0;
    double pause = LongestPause([&] { doc->StartRefCollection(collection); }, IDNO, &total);
    std::printf("%-58s %12.0f %12.0f\n", "reference collection (results declined)", pause, total);
    collection->SetProposedLME(doc->m_vLoadModelEnsemble[1]);
    pause = LongestPause([&] { doc->StartCritRatios(collection); }, IDNO, &total);
    std::printf("%-58s %12.0f %12.0f\n", "critical ratios (results declined)", pause, total);
    pause = LongestPause([&] { doc->StartRefCollection(collection); }, IDYES, &total);
    std::printf("%-58s %12.0f %12.0f\n", "reference collection (results shown)", pause, total);
    CloseResultWindows();
    pause = LongestPause([&] { doc->StartCritRatios(collection); }, IDYES, &total);
    std::printf("%-58s %12.0f %12.0f\n", "critical ratios (results shown)", pause, total);
    const int windows = static_cast<int>(qor::test::MainFrame() ? doc->m_nViewCount : 0);

    // New three seconds into a fine-step run, the ratio windows still open.
    std::printf("\nNew during a run (%d result windows open, %d log lines)\n", windows, LogLines());
    auto fine = Network(*doc, true);
    g_answers.answer = IDNO;
    doc->StartRefCollection(fine);
    qor::test::Pump(3000);
    qor::test::PauseMeter meter;
    const Clock::time_point start = Clock::now();
    Frame()->SendMessage(WM_COMMAND, ID_FILE_NEW, 0);
    const double commandMs = MsSince(start);
    const int ticks = meter.Ticks();
    qor::test::PumpUntil([&] { return meter.Ticks() > ticks; }, 600000);
    const double usableMs = MsSince(start);
    const int lines = LogLines();
    qor::test::Pump(3000);
    std::printf("%-58s %12.0f\n", "New command returned after (ms)", commandMs);
    std::printf("%-58s %12.0f\n", "window answers again after (ms)", usableMs);
    std::printf("%-58s %12d\n", "lines of the stopped run in the new log (3 s after)", LogLines() - lines);
    std::printf("%-58s %12.0f\n", "longest pause in the 3 s after (ms)", meter.LongestMs());
    qor::test::StopApplication(app);
    return 0;
}
