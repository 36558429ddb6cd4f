// The end of a run through the real main frame: the result windows of a collection open one per turn
// of the message loop, in order and numbered, and New drops those still to come; the question waits for
// a modal window and is not asked of a case that was replaced; a stopped run says so in the log; the
// autosave's copy of a case shares its envelopes, so that it takes no time with the case's size; the
// results of a long moving load shown again open a window a turn and draw their reaction curves a turn
// each, and New gives their memory back off the window thread, as does a run that replaces them.
#include "app_support.h"

#include "app/AnalysisJob.h"
#include "app/MainFrame.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartXYSerie.h"
#include "engine/analysis/Envelope.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/case/CaseFile.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/window/Background.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "platform/test/HeldClock.h"
#include "platform/test/PauseMeter.h"
#include "res/Resource.h"
#include "ui/views/PlotView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>
#include <unistd.h>

using namespace qor::test;
using Clock = std::chrono::steady_clock;

namespace {

const CString kQuestion = L"Display grids/plots for the analysis?";

class ResultFlow : public RunningFrame
{
protected:
    // A collection over `sets` bridge sets of two spans (three supports: four windows a set) under one
    // truck; by 10 positions, or by a fine step (a run of seconds).
    std::shared_ptr<CReferenceCollection> Network(int sets, int bridges, bool fine)
    {
        auto truck = std::make_shared<CLoadModel>(1, CString(L"Truck"));
        truck->AddPointLoad(100.0, 0.0, 0.0);
        truck->AddPointLoad(100.0, -2.0, 0.0);
        auto ensemble = std::make_shared<CLoadModelEnsemble>(1, L"Trucks");
        ensemble->AddLoadModel(truck);
        auto collection = fine ? std::make_shared<CReferenceCollection>(1, L"Network", true, 0, 0.01)
                               : std::make_shared<CReferenceCollection>(1, L"Network", false, 10, 1.0);
        doc->m_vBridgeSet.clear();
        for (int i = 0; i < sets; ++i)
            doc->m_vBridgeSet.push_back(
                std::make_shared<CBridgeSet>(i + 1, CString(L"Set"), bridges, 2, 10.0 + i, 20.0 + i));
        collection->m_vBS = doc->m_vBridgeSet;
        collection->m_vLME = {ensemble};
        doc->m_vLoadModelEnsemble = {ensemble};
        doc->m_vRefCollection = {collection};
        doc->m_nRefCollectionID = 1;
        doc->SetModifiedFlag(TRUE);
        return collection;
    }
    // One 100 kN axle and a bridge of two 10 m spans, the case's only bridge and load model.
    std::pair<std::shared_ptr<CBridge>, std::shared_ptr<CLoadModel>> AxleOverTwoSpans()
    {
        auto bridge = std::make_shared<CBridge>(1, CString(L"Two spans"), CBridge::CONFIG_EXPLICIT, 10.0);
        bridge->m_vSpans = {10.0, 10.0};
        bridge->BuildBeam();
        auto axle = std::make_shared<CLoadModel>(1, CString(L"Axle"));
        axle->AddPointLoad(100.0, 0.0, 0.0);
        doc->m_vBridge = {bridge};
        doc->m_vLoadModel = {axle};
        return {bridge, axle};
    }
    // The captions of the result windows, in the order they opened.
    std::vector<CString> ResultCaptions()
    {
        std::vector<std::pair<int, CString>> numbered;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
            if (CView* view = doc->GetNextView(pos))
                if (CFrameWnd* child = view->GetParentFrame(); child && child != frame)
                {
                    CString caption;
                    child->GetWindowText(caption);
                    if (caption.Find(L" - ") > 0) numbered.emplace_back(std::stoi(caption.ToUtf8()), caption);
                }
        std::sort(numbered.begin(), numbered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<CString> captions;
        for (const auto& entry : numbered) captions.push_back(entry.second);
        return captions;
    }
    CString LastLogLine()
    {
        CString last;
        COutputList& log = frame->GetOutputWnd().GetList();
        if (log.GetCount() > 0) log.GetText(log.GetCount() - 1, last);
        return last;
    }
};

TEST_F(ResultFlow, TwentyFourWindowsOpenOnePerTurnAndNewDropsTheRest)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDYES);
    int windowsAtQuestion = -1;
    boxes.WhenShown([&](const qor::MessageBoxCall&) { windowsAtQuestion = doc->m_nViewCount; });
    auto collection = Network(6, 3, false);
    doc->StartRefCollection(collection);
    ASSERT_TRUE(PumpUntil([&] { return boxes.Count(kQuestion) == 1; }, 120000));
    PauseMeter meter;
    const Clock::time_point start = Clock::now();
    ASSERT_TRUE(PumpUntil([&] { return doc->m_nViewCount == 24; }, 120000));
    const double totalMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    const double longest = meter.LongestMs();
    std::printf("24 windows: %.0f ms in all, longest pause %.0f ms\n", totalMs, longest);
    EXPECT_EQ(windowsAtQuestion, 0);
    // One window a turn: no step takes a large part of the whole (at once, one step took all of it).
    EXPECT_LT(longest, totalMs / 4) << "longest " << longest << " ms of " << totalMs << " ms";
    // In the order and with the numbers they had when they opened at once: each set's moment and
    // shear plot, reactions plot, and the two grids.
    Pump(100);
    const std::vector<CString> captions = ResultCaptions();
    ASSERT_EQ(captions.size(), 24u);
    for (int i = 0; i < 24; ++i)
    {
        CString expected;
        expected.Format(L"%d - Reference Values - %s", i + 1, i % 4 < 2 ? L"Plot" : L"Grid");
        EXPECT_EQ(captions[static_cast<size_t>(i)], expected) << i;
    }

    // Again, and New while they open: the rest are dropped; the new case opens none.
    frame->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    Pump(100);
    doc->m_nViewCount = 0;
    boxes.Answer(IDYES);
    boxes.Answer(IDNO); // keep the changes? no
    doc->StartRefCollection(collection);
    ASSERT_TRUE(PumpUntil([&] { return doc->m_nViewCount >= 2; }, 120000));
    const int opened = doc->m_nViewCount;
    EXPECT_LT(opened, 24);
    SendMenuCommand(ID_FILE_NEW);
    CQORDoc* fresh = CQORDoc::GetActiveDoc();
    ASSERT_NE(fresh, nullptr);
    // The closed case's windows still to come would open for a case that is gone.
    Pump(500);
    EXPECT_EQ(fresh->m_nViewCount, 0);
    int views = 0;
    for (POSITION pos = fresh->GetFirstViewPosition(); pos; fresh->GetNextView(pos)) ++views;
    EXPECT_EQ(views, 1) << "the new case's own view only";
    doc = fresh;
}

TEST_F(ResultFlow, TheQuestionWaitsForAModalWindowAndIsNotAskedOfAReplacedCase)
{
    ScriptedMessageBoxes boxes;
    const CString file = CString::FromUtf8(TempFilePath("flow.qor"));
    auto collection = Network(1, 2, false);
    ASSERT_TRUE(doc->DoSave(file, TRUE));

    // File > Open is up when the run ends: no question over it, whatever the wait; Cancel, and it comes.
    bool askedDuringDialog = true;
    qor::gui::FileDialogDriver previous = qor::gui::SetFileDialogDriver([&](BOOL, CString&) {
        EXPECT_TRUE(PumpUntil([&] { return !doc->m_bBusyRefValues; }, 120000)) << "the run completes";
        Pump(300);
        askedDuringDialog = boxes.Count(kQuestion) > 0;
        return IDCANCEL;
    });
    boxes.Answer(IDNO);
    doc->StartRefCollection(collection);
    SendMenuCommand(ID_FILE_OPEN);
    EXPECT_FALSE(askedDuringDialog);
    EXPECT_TRUE(collection->m_bIsCalculated) << "the results are in before the question";
    EXPECT_TRUE(PumpUntil([&] { return boxes.Count(kQuestion) == 1; }, 5000));

    // The file chosen this time: the case it replaces asks nothing more.
    qor::gui::SetFileDialogDriver([&](BOOL, CString& path) {
        EXPECT_TRUE(PumpUntil([&] { return !doc->m_bBusyRefValues; }, 120000));
        Pump(100);
        path = file;
        return IDOK;
    });
    boxes.Answer(IDNO); // keep the changes? no
    doc->StartRefCollection(collection);
    SendMenuCommand(ID_FILE_OPEN);
    doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    Pump(500);
    EXPECT_EQ(boxes.Count(kQuestion), 1);
    EXPECT_EQ(doc->m_nViewCount, 0);
    qor::gui::SetFileDialogDriver(previous);
    std::filesystem::remove(file.ToUtf8());
}

TEST_F(ResultFlow, ARunStoppedByNewSaysSoInTheLog)
{
    ScriptedMessageBoxes boxes;
    doc->StartRefCollection(Network(1, 200, true));
    ASSERT_TRUE(PumpUntil([&] { return frame->m_nProgressCount > 0; }, 60000));
    boxes.Answer(IDNO);
    SendMenuCommand(ID_FILE_NEW);
    doc = CQORDoc::GetActiveDoc();
    Pump(300);
    EXPECT_EQ(LastLogLine().Right(54), CString(L"Make Reference Collection stopped: the case was closed"));
}

// Results of a large case, made directly: bridges with envelopes of many points.
std::shared_ptr<CReferenceCollection> LargeResults(CQORDoc& caseDoc, int bridges, size_t points)
{
    auto set = std::make_shared<CBridgeSet>(1, CString(L"Large"), bridges, 2, 10.0, 40.0);
    auto ensemble = std::make_shared<CLoadModelEnsemble>(1, L"Trucks");
    auto refSet = std::make_shared<CReferenceSet>(false, set, ensemble, 1.4);
    for (const auto& bridge : set->m_vBridges)
    {
        auto results = std::make_shared<CEnvelopeResults>(bridge);
        results->CreateEnvelopes(bridge);
        for (const auto& env : {results->m_pEnvBMD, results->m_pEnvSFD})
        {
            env->m_vMax.resize(points);
            env->m_vMin.resize(points);
            for (size_t i = 0; i < points; ++i) env->m_vMax[i].val = static_cast<double>(i);
        }
        refSet->m_vRefCritEnv.push_back(results);
    }
    auto collection = std::make_shared<CReferenceCollection>(1, L"Large", false, 10, 1.0);
    collection->m_vBS = {set};
    collection->m_vLME = {ensemble};
    collection->m_vRefSet = {refSet};
    collection->m_nRefSets = 1;
    collection->m_bIsCalculated = true;
    caseDoc.m_vBridgeSet = {set};
    caseDoc.m_vLoadModelEnsemble = {ensemble};
    caseDoc.m_vRefCollection = {collection};
    return collection;
}

TEST_F(ResultFlow, TheAutosavesCopySharesTheEnvelopesAndWritesThemWhileTheWindowReadsThem)
{
    // The copy takes as long with 64 MB of envelopes over 8 bridges as with 0.6 MB.
    const auto snapshotMs = [this](std::function<bool(int)>& writer) {
        const qor::test::HeldClock held;
        writer = doc->SnapshotForAutosave();
        return held.Ms();
    };
    std::function<bool(int)> writer;
    LargeResults(*doc, 8, 1000);
    const double smallMs = snapshotMs(writer);
    auto collection = LargeResults(*doc, 8, 100000);
    const auto& stored = collection->m_vRefSet[0]->m_vRefCritEnv;
    const double largeMs = snapshotMs(writer);
    std::printf("autosave snapshot: %.1f ms with 0.6 MB of envelopes, %.1f ms with 64 MB\n", smallMs, largeMs);
    EXPECT_LT(largeMs, 250.0);
    EXPECT_LT(largeMs, 10 * smallMs + 20.0);

    // Written on a thread of its own while the window thread reads the same envelopes (ThreadSanitizer
    // sees both); what it wrote reads back as the case.
    const std::string path = TempFilePath("snapshot.qor");
    FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    bool written = false;
    std::thread thread([&] { written = writer(fileno(out)); });
    double sum = 0.0;
    for (const auto& results : stored) sum += results->GetBMEnvelope()->GetMaxEffect().val;
    thread.join();
    std::fclose(out);
    EXPECT_TRUE(written);
    EXPECT_EQ(sum, 8 * 99999.0);
    CCaseData read;
    FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    LoadCaseFile(fileno(in), read);
    std::fclose(in);
    std::filesystem::remove(path);
    ASSERT_EQ(read.m_vRefCollection.size(), 1u);
    const auto& back = read.m_vRefCollection[0]->m_vRefSet[0]->m_vRefCritEnv;
    ASSERT_EQ(back.size(), 8u);
    EXPECT_EQ(back[7]->GetBMEnvelope()->m_vMax.size(), 100000u);
    EXPECT_EQ(back[7]->GetBMEnvelope()->m_vMax[4321].val, 4321.0);
}

} // namespace

TEST_F(ResultFlow, LongResultsShownAgainComeAWindowAndACurveATurnAndNewFreesThemOffTheWindow)
{
    // One axle over two 10 m spans by 0.15 mm: some 130,000 positions, a reaction row and point each.
    const auto [bridge, axle] = AxleOverTwoSpans();
    ASSERT_TRUE(doc->RunCommand([&] { doc->RunMovingLoad(true, 0, false, bridge, axle, 0.00015); }));
    ASSERT_TRUE(doc->m_pMLResults);
    const std::shared_ptr<CEnvelope> support2 = doc->m_pMLResults->GetReactionEnvelope(1);
    ASSERT_TRUE(support2);
    ASSERT_GT(support2->m_vMax.size(), 100000u); // enough for a curve a turn
    ASSERT_TRUE(PumpUntil([&] { return ResultCaptions().size() == 4; }, 60000)) << "the run's windows, one a turn";
    frame->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    Pump(100);

    SendMenuCommand(ID_VIEW_MOVING_LOAD_RESULTS);
    EXPECT_TRUE(ResultCaptions().empty()) << "a window a turn, none in the command itself";
    auto reactionsPlot = [&]() -> CPlotView* {
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
            if (auto* plot = dynamic_cast<CPlotView*>(doc->GetNextView(pos));
                plot && plot->GetTableKind() == CQORViewBase::TABLE_REACTIONS)
                return plot;
        return nullptr;
    };
    ASSERT_TRUE(PumpUntil([&] { return reactionsPlot() != nullptr; }, 60000));
    CPlotView* plot = reactionsPlot();
    // Its curves come after it opened, a turn each, the next window after them.
    EXPECT_TRUE(plot->IsDrawing());
    EXPECT_EQ(ResultCaptions().size(), 2u);
    ASSERT_TRUE(PumpUntil([&] { return ResultCaptions().size() == 4 && !plot->IsDrawing(); }, 120000));
    // The middle support's chart: its maximum and minimum curves, every position, as the envelope has them.
    const std::map<unsigned, CChartSerie*>& series = plot->GetChart(1)->GetSeries();
    ASSERT_GE(series.size(), 2u);
    auto* maxCurve = dynamic_cast<CChartXYSerie*>(std::prev(series.end(), 2)->second);
    auto* minCurve = dynamic_cast<CChartXYSerie*>(std::prev(series.end())->second);
    ASSERT_TRUE(maxCurve && minCurve);
    ASSERT_EQ(maxCurve->GetPointsCount(), support2->m_vMax.size());
    ASSERT_EQ(minCurve->GetPointsCount(), support2->m_vMin.size());
    const unsigned middle = maxCurve->GetPointsCount() / 2;
    EXPECT_EQ(maxCurve->GetYPointValue(middle), support2->m_vMax[middle].val);
    EXPECT_EQ(maxCurve->GetXPointValue(middle), support2->m_vMax[middle].xLoadModel);
    EXPECT_EQ(minCurve->GetYPointValue(middle), support2->m_vMin[middle].val);

    // New: the results go with the old case, on a worker, whole.
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDNO);
    const std::weak_ptr<CEnvelopeResults> results = doc->m_pMLResults;
    SendMenuCommand(ID_FILE_NEW);
    doc = CQORDoc::GetActiveDoc();
    ASSERT_NE(doc, nullptr);
    qor::gui::WaitForBackgroundWork();
    EXPECT_TRUE(results.expired());
}

namespace {

// Holds a result and notes the thread that let it go.
struct FreedOn
{
    FreedOn(std::shared_ptr<CEnvelopeResults> held, std::thread::id* on) : results(std::move(held)), thread(on) {}
    ~FreedOn() { *thread = std::this_thread::get_id(); }
    std::shared_ptr<CEnvelopeResults> results;
    std::thread::id* thread;
};

} // namespace

TEST_F(ResultFlow, TheResultsARunReplacesAreFreedOffTheWindowThread)
{
    const auto [bridge, axle] = AxleOverTwoSpans();
    ASSERT_TRUE(doc->RunCommand([&] { doc->RunMovingLoad(true, 0, false, bridge, axle, 0.5); }));
    ASSERT_TRUE(doc->m_pMLResults);
    frame->SendMessage(WM_COMMAND, ID_CLOSE_ALL_TABS, 0);
    Pump(100);
    // The case's last references to the first run's results, noted where they go.
    std::thread::id freedOn;
    auto held = std::make_shared<FreedOn>(doc->m_pMLResults, &freedOn);
    doc->m_pMLResults = std::shared_ptr<CEnvelopeResults>(held, held->results.get());
    doc->m_pAOMovingLoad = std::make_shared<CAOMovingLoad>(doc->m_pMLResults, bridge, axle, 1);
    held.reset();

    ASSERT_TRUE(doc->RunCommand([&] { doc->RunMovingLoad(true, 0, false, bridge, axle, 0.25); }));
    qor::gui::WaitForBackgroundWork();
    EXPECT_NE(freedOn, std::thread::id()) << "the first run's results are let go";
    EXPECT_NE(freedOn, std::this_thread::get_id()) << "and not on the window thread";
    ASSERT_TRUE(doc->m_pAOMovingLoad);
    EXPECT_EQ(doc->m_pAOMovingLoad->GetResults(), doc->m_pMLResults);
}
