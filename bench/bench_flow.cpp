// The end of a run as the user meets it (offscreen, the real main frame, the analysis included): the
// longest pause of the window thread and the memory added while a collection's and a critical-ratio
// run's 24 result windows open after Yes to "Display grids/plots for the analysis?", and the pause of
// the autosave's copy of a large computed case.
#include "bench_program.h"

#include "app/MainFrame.h"
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
#include "res/Resource.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

using qor::bench::Clock;
using qor::bench::MsSince;
using qor::bench::ResidentMB;

int g_answer = IDNO;
int g_questions = 0;
double g_residentAtQuestion = 0.0;
qor::test::PauseMeter* g_fromQuestion = nullptr; // reset when the question is asked

int Answer(const qor::MessageBoxCall& call)
{
    if (call.text.Find(L"Display grids/plots") >= 0)
    {
        ++g_questions;
        g_residentAtQuestion = ResidentMB();
        if (g_fromQuestion) g_fromQuestion->Reset();
    }
    const UINT kind = call.type & MB_TYPEMASK;
    return kind == MB_YESNO || kind == MB_YESNOCANCEL ? g_answer : IDOK;
}

// Six sets of `bridges` two-span bridges (three supports: four windows a set, 24 in all) under two
// trucks, by `steps` positions; the proposed vehicle for the ratios another truck.
std::shared_ptr<CReferenceCollection> Network(CQORDoc& doc, int bridges, int steps)
{
    std::vector<std::shared_ptr<CBridgeSet>> bridgeSets;
    for (int i = 0; i < 6; ++i)
        bridgeSets.push_back(
            std::make_shared<CBridgeSet>(i + 1, CString(L"Network"), bridges, 2, 5.0 + 5 * i, 30.0 + 5 * i));
    return qor::bench::TruckNetwork(doc, std::move(bridgeSets),
                                    std::make_shared<CReferenceCollection>(1, CString(L"Network"), false, steps, 1.0));
}

struct Opening
{
    double pauseMs = 0;        // longest pause from the launch until 300 ms after the last window
    double openingPauseMs = 0; // the same from the question on
    double totalMs = 0;        // from Yes to the last window
    double addedMB = 0;        // resident memory added by the windows (from the question on)
    int windows = 0;
};

Opening OpenWindows(CQORDoc& doc, const std::function<void()>& launch)
{
    Opening result;
    doc.m_nViewCount = 0;
    g_answer = IDYES;
    const int asked = g_questions;
    qor::test::PauseMeter meter;
    qor::test::PauseMeter fromQuestion;
    g_fromQuestion = &fromQuestion;
    launch();
    qor::test::PumpUntil([&] { return g_questions > asked; }, 600000);
    const Clock::time_point yes = Clock::now();
    qor::test::PumpUntil([&] { return doc.m_nViewCount >= 24; }, 600000);
    result.totalMs = MsSince(yes);
    // The windows' first painting too.
    qor::test::Pump(300);
    result.addedMB = ResidentMB() - g_residentAtQuestion;
    result.pauseMs = meter.LongestMs();
    result.openingPauseMs = fromQuestion.LongestMs();
    g_fromQuestion = nullptr;
    result.windows = doc.m_nViewCount;
    return result;
}

void CloseResultWindows()
{
    AfxGetMainWnd()->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    qor::test::Pump(100);
    qor::test::DeleteDeferred();
}

} // namespace

int main(int argc, char** argv)
{
    // The bridges of a set for the windows (default 1,000, the cap of a set), and the sets' count
    // for the autosave's case.
    const int bridges = argc > 1 ? std::atoi(argv[1]) : 1000;
    CQORApp app;
    if (!qor::bench::StartProgram(app, "flow")) return 1;
    qor::SetMessageBoxHandler(Answer);
    qor::test::Pump(100);
    CQORDoc* doc = CQORDoc::GetActiveDoc();

    std::printf("Result windows after Yes (6 sets of %d two-span bridges, 20 positions; 10 ms timer)\n", bridges);
    std::printf("%-28s %8s %12s %14s %12s %10s\n", "run", "windows", "longest ms", "from Yes ms", "opening ms",
                "added MB");
    auto collection = Network(*doc, bridges, 20);
    Opening values = OpenWindows(*doc, [&] { doc->StartRefCollection(collection); });
    std::printf("%-28s %8d %12.0f %14.0f %12.0f %10.0f\n", "reference collection", values.windows, values.pauseMs,
                values.openingPauseMs, values.totalMs, values.addedMB);
    CloseResultWindows();
    Opening ratios = OpenWindows(*doc, [&] { doc->StartCritRatios(collection); });
    std::printf("%-28s %8d %12.0f %14.0f %12.0f %10.0f\n", "critical ratios", ratios.windows, ratios.pauseMs,
                ratios.openingPauseMs, ratios.totalMs, ratios.addedMB);
    CloseResultWindows();

    // The autosave's copy of the computed case (its collection and ratios), taken on the window thread.
    CCaseData data;
    data.m_vBridgeSet = doc->m_vBridgeSet;
    data.m_vLoadModelEnsemble = doc->m_vLoadModelEnsemble;
    data.m_vRefCollection = doc->m_vRefCollection;
    const double caseMB = static_cast<double>(EstimateCaseFileBytes(data, true)) / (1024.0 * 1024.0);
    double longest = 0;
    for (int i = 0; i < 3; ++i)
    {
        qor::test::PauseMeter meter;
        const Clock::time_point start = Clock::now();
        std::function<bool(int)> writer = doc->SnapshotForAutosave();
        const double ms = MsSince(start);
        qor::test::Pump(50);
        longest = std::max(longest, std::max(ms, meter.LongestMs()));
    }
    std::printf("\n%-44s %12s %12s\n", "autosave snapshot", "case MB", "longest ms");
    std::printf("%-44s %12.0f %12.1f\n", "computed collection with its ratios", caseMB, longest);
    g_answer = IDNO;
    qor::test::StopApplication(app);
    return 0;
}
