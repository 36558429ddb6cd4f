// The running program of the window benchmarks: offscreen, in a home folder of its own (no settings
// or profile of the user's is read or written), its main window 1280 x 900; a case's result windows and
// whether a plot is still drawing.
#pragma once

#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "app/QORApp.h"
#include "app/QORDoc.h"
#include "controls/grid/GridCtrl.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "platform/test/FrameTest.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace qor::bench {

using Clock = std::chrono::steady_clock;

// The milliseconds since start.
inline double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The process's resident set in MB.
inline double ResidentMB()
{
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// Starts the application object with its main frame; false when it does not start.
inline bool StartProgram(CQORApp& app, const char* name)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    // A home of the run's own, gone when the run ends.
    static std::string home;
    home = std::string("/tmp/qor-bench-") + name + "-XXXXXX";
    if (mkdtemp(home.data()))
    {
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        setenv("XDG_DATA_HOME", home.c_str(), 1);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(home, ec);
        });
    }
    if (!qor::test::StartApplication(app)) return false;
    app.m_pMainWnd->MoveWindow(0, 0, 1280, 900);
    return true;
}

// A plot whose curves are still to come (the "show all" plots are drawn in slices from the
// message loop); always false for a build whose plots are drawn in one go.
template <class View>
bool StillDrawing(View* view)
{
    if constexpr (requires { view->IsDrawing(); })
        return view && view->IsDrawing();
    else
        return false;
}

// The result windows of the case's document, newest first.
inline std::vector<CView*> ResultViews(CQORDoc* doc)
{
    std::vector<CView*> views;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;)
    {
        CView* v = doc->GetNextView(pos);
        if (dynamic_cast<CPlotView*>(v) || dynamic_cast<CGridView*>(v)) views.push_back(v);
    }
    return views;
}

// The table of the most rows among the case's result windows, or null.
inline CGridView* LargestTable(CQORDoc* doc)
{
    CGridView* largest = nullptr;
    for (CView* view : ResultViews(doc))
        if (auto* grid = dynamic_cast<CGridView*>(view);
            grid && grid->GetGrid() && (!largest || grid->GetGrid()->GetRowCount() > largest->GetGrid()->GetRowCount()))
            largest = grid;
    return largest;
}

// The last analysis's own time as the command logs it ("Elapsed time: N ms"), from the newest such line of
// the log (-1 when there is none).
inline double LoggedAnalysisMs()
{
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    if (!frame) return -1;
    COutputList& list = frame->GetOutputWnd().GetList();
    for (int i = list.GetCount() - 1; i >= 0; --i)
    {
        CString line;
        list.GetText(i, line);
        // After the line's time stamp.
        const std::string text = line.ToUtf8();
        const std::size_t at = text.find("Elapsed time: ");
        unsigned long ms = 0;
        if (at != std::string::npos && std::sscanf(text.c_str() + at, "Elapsed time: %lu ms", &ms) == 1)
            return static_cast<double>(ms);
    }
    return -1;
}

// A two-axle truck of two equal axle loads `spacing` metres apart.
inline std::shared_ptr<CLoadModel> TwoAxleTruck(int id, double load, double spacing)
{
    auto truck = std::make_shared<CLoadModel>(id, CString(L"Truck"));
    truck->AddPointLoad(load, 0.0, 0.0);
    truck->AddPointLoad(load, -spacing, 0.0);
    return truck;
}

// The case's only collection, `collection`, made over these bridge sets under two trucks, with another
// truck proposed; the case holds the sets and both ensembles.
inline std::shared_ptr<CReferenceCollection> TruckNetwork(CQORDoc& doc,
                                                          std::vector<std::shared_ptr<CBridgeSet>> bridgeSets,
                                                          std::shared_ptr<CReferenceCollection> collection)
{
    auto ensemble = std::make_shared<CLoadModelEnsemble>(1, L"Trucks");
    ensemble->AddLoadModel(TwoAxleTruck(1, 120.0, 3.5));
    ensemble->AddLoadModel(TwoAxleTruck(2, 80.0, 1.2));
    auto proposed = std::make_shared<CLoadModelEnsemble>(2, L"Proposed");
    proposed->AddLoadModel(TwoAxleTruck(3, 150.0, 2.5));
    doc.m_vBridgeSet = std::move(bridgeSets);
    doc.m_vLoadModelEnsemble = {ensemble, proposed};
    collection->m_vBS = doc.m_vBridgeSet;
    collection->m_vLME = {ensemble};
    collection->SetProposedLME(proposed);
    doc.m_vRefCollection = {collection};
    doc.m_nRefCollectionID = 1;
    doc.SetModifiedFlag(TRUE);
    return collection;
}

} // namespace qor::bench
