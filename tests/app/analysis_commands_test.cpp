// The analysis commands of a case, driven from the menus as the engineer gives them: dialogs and
// message boxes answered by the test drivers, workers run to their completions, a case closed or
// the program ended while a worker runs, and the engine's errors on both threads.
#include "app_support.h"
#include "tests/ui/dialogs/dialogs_support.h"

#include "app/AnalysisJob.h"
#include "app/MainFrame.h"
#include "app/OutputWnd.h"
#include "engine/EngineErrors.h"
#include "engine/analysis/CriticalEnsemble.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"
#include "platform/test/DialogTest.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "res/AnalysisDialogs.h"
#include "res/Resource.h"
#include "ui/dialogs/AnalyzeRefCollectionDlg.h"
#include "ui/dialogs/CritRatioRefCollDlg.h"
#include "ui/dialogs/MovingLoadDlg.h"
#include "ui/dialogs/SinglePositionDlg.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

using qor::test::DrivenDialogs;
using qor::test::ScriptedMessageBoxes;

std::shared_ptr<CLoadModel> Truck(int id, const wchar_t* name, std::initializer_list<double> axles, double spacing)
{
    auto model = std::make_shared<CLoadModel>(id, CString(name));
    double x = 0.0;
    for (double p : axles)
    {
        model->AddPointLoad(p, x, 0.0);
        x -= spacing;
    }
    return model;
}

// The result windows of the case, in the order they opened: caption, view title and, for a plot,
// its number of charts ("grid" for a table).
std::vector<std::string> ResultWindows(CQORDoc& doc)
{
    std::vector<std::string> windows;
    POSITION pos = doc.GetFirstViewPosition();
    while (pos)
    {
        auto* view = dynamic_cast<CQORViewBase*>(doc.GetNextView(pos));
        if (!view) continue;
        CString caption;
        view->GetParentFrame()->GetWindowText(caption);
        auto* plot = dynamic_cast<CPlotView*>(view);
        windows.push_back(caption.ToUtf8() + " / " + view->GetTitle().Left(view->GetTitle().Find(L'|') + 1).ToUtf8() +
                          " / " + (plot ? std::to_string(plot->GetChartCount()) : std::string("grid")));
    }
    return windows;
}

// Single Position at 10 m through its dialog.
void RunSinglePositionAt10(DrivenDialogs& driven)
{
    driven.ThenAs<CSinglePositionDlg>([](CSinglePositionDlg& dlg) {
        dlg.SetDlgItemText(IDC_EDIT_POSITION, L"10");
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_ANALYSIS_SINGLE_POSITION);
}

bool Enabled(CQORDoc& doc, UINT id)
{
    CCmdUI ui;
    ui.m_nID = id;
    ui.DoUpdate(&doc, FALSE);
    return ui.m_bEnabled != FALSE;
}

// The texts of the boxes shown, in order.
std::vector<CString> Texts(const qor::test::ScriptedMessageBoxes& boxes)
{
    std::vector<CString> texts;
    for (const qor::MessageBoxCall& call : boxes.Shown()) texts.push_back(call.text);
    return texts;
}

class AnalysisCommands : public qor::test::RunningCase
{
protected:
    void SetUp() override
    {
        RunningCase::SetUp();
        if (HasFatalFailure()) return;
        // Two bridge sets of four bridges, two trucks in one ensemble, one collection of them all.
        doc->m_vBridgeSet = {std::make_shared<CBridgeSet>(1, L"One span 10-40", 4, 1, 10.0, 40.0),
                             std::make_shared<CBridgeSet>(2, L"Two span 10-40", 4, 2, 10.0, 40.0)};
        doc->m_vBridge = {std::make_shared<CBridge>(1, L"Twenty", 1, 20.0),
                          std::make_shared<CBridge>(2, L"Three span", 3, 20.0)};
        doc->m_vLoadModel = {Truck(1, L"Tandem", {60.0, 60.0}, 1.2), Truck(2, L"Tri-axle", {50.0, 50.0, 50.0}, 1.25)};
        auto ensemble = std::make_shared<CLoadModelEnsemble>(1, L"Trucks");
        for (const auto& model : doc->m_vLoadModel) ensemble->AddLoadModel(model);
        doc->m_vLoadModelEnsemble = {ensemble};
        collection = std::make_shared<CReferenceCollection>(1, L"Network", false, 30, 1.0);
        collection->m_vBS = doc->m_vBridgeSet;
        collection->m_vLME = doc->m_vLoadModelEnsemble;
        doc->m_vRefCollection = {collection};
        doc->m_nRefCollectionID = 1;
    }
    void TearDown() override
    {
        RunningCase::TearDown();
        CAnalysisJobs::WaitForWorkers();
        qor::test::Pump(50);
        EXPECT_EQ(CAnalysisJob::LiveCount(), 0);
    }
    void ComputeCollection(DrivenDialogs& driven)
    {
        driven.ThenAs<CAnalyzeRefCollectionDlg>([](CAnalyzeRefCollectionDlg& dlg) { qor::test::PressOK(dlg); });
        qor::test::SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
        ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues; }, 120000));
    }

    std::shared_ptr<CReferenceCollection> collection;
};

TEST_F(AnalysisCommands, ReferenceCollectionThenCriticalRatiosOnWorkersRateTheProposedVehicle)
{
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    // The progress the frame counted when a completion asked whether to display its results.
    int progressAtBox = -1;
    boxes.WhenShown([&](const qor::MessageBoxCall&) { progressAtBox = frame->m_nProgressCount; });
    const CString display = L"Display grids/plots for the analysis?";
    {
        SCOPED_TRACE("the reference values on a worker, with progress, the commands greyed meanwhile");
        boxes.Answer(IDNO); // no windows for the values
        driven.ThenAs<CAnalyzeRefCollectionDlg>([](CAnalyzeRefCollectionDlg& dlg) { qor::test::PressOK(dlg); });
        qor::test::SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
        EXPECT_FALSE(Enabled(*doc, ID_ANALYSIS_CRITICAL_RATIOS));
        EXPECT_FALSE(Enabled(*doc, ID_VIEW_REF_COLLECTION_VALUES));
        EXPECT_TRUE(Enabled(*doc, ID_ANALYSIS_MOVING_LOAD));
        EXPECT_EQ(frame->m_nProgressEnd, 16); // 2 models x (4 + 4 bridges)
        ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyRefValues; }, 120000));
        EXPECT_TRUE(Enabled(*doc, ID_ANALYSIS_CRITICAL_RATIOS));
        ASSERT_TRUE(qor::test::PumpUntil([&] { return boxes.Count(display) > 0; }, 60000));
        ASSERT_EQ(boxes.Count(display), 1);
        EXPECT_EQ(progressAtBox, 16); // one step per load model over one bridge
    }
    {
        SCOPED_TRACE("the values stored in the case's collection, naming the case's own elements");
        EXPECT_TRUE(collection->m_bIsCalculated);
        ASSERT_EQ(collection->m_nRefSets, 2);
        EXPECT_EQ(collection->GetRefSet(1)->GetBridgeSet(), doc->m_vBridgeSet[1]);
        EXPECT_EQ(collection->GetRefSet(0)->GetRefLME(), doc->m_vLoadModelEnsemble[0]);
        EXPECT_FALSE(collection->DiffersFrom(std::make_shared<CReferenceCollection>(*collection)));
    }

    // F5: the reference ensemble itself proposed with a multiplier of 1.25 must rate 1 / 1.25 wherever
    // the reference effect is not zero.
    SCOPED_TRACE("the critical ratios of the reference ensemble times 1.25, and their windows");
    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& dlg) {
        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_USE_LME), CPoint(3, 3));
        dlg.SetDlgItemText(IDC_EDIT_MULTIPLIER, L"1.25");
        qor::test::PressOK(dlg);
    });
    boxes.Answer(IDYES); // show the ratios
    qor::test::SendMenuCommand(ID_ANALYSIS_CRITICAL_RATIOS);
    EXPECT_FALSE(Enabled(*doc, ID_ANALYSIS_REF_COLLECTION));
    EXPECT_FALSE(Enabled(*doc, ID_VIEW_REF_COLLECTION_RATIOS));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyCritRatios; }, 120000));
    EXPECT_DOUBLE_EQ(doc->m_Multiplier, 1.25);
    ASSERT_TRUE(collection->m_bRatiosCalculated);
    const auto ratios = collection->GetCritRatios();
    ASSERT_EQ(ratios.size(), 2u);
    int rated = 0;
    for (const auto& set : ratios)
    {
        std::vector<double> max, min;
        for (int effect = 0; effect < 2; ++effect)
        {
            effect == 0 ? set->GetBM(max, min) : set->GetSF(max, min);
            ASSERT_EQ(max.size(), 4u);
            for (double r : max) EXPECT_NEAR(r, 0.8, 1e-9);
            for (double r : min)
            {
                EXPECT_TRUE(std::abs(r - 0.8) < 1e-9 || r == 0.0) << r;
                rated += r != 0.0;
            }
        }
    }
    EXPECT_GT(rated, 0); // the hogging moments of the two-span bridges and the negative shears

    // Four windows per reference set, one per turn of the loop; the moment and shear table shows the ratios.
    ASSERT_TRUE(qor::test::PumpUntil([&] { return ResultWindows(*doc).size() >= 8; }, 60000));
    const std::vector<std::string> windows = ResultWindows(*doc);
    ASSERT_EQ(windows.size(), 8u);
    EXPECT_EQ(windows[0], "1 - Critical Ratios - Plot / Critical Ratios: BM & SF | / 2");
    EXPECT_EQ(windows[1], "2 - Critical Ratios - Plot / Critical Ratios: Reactions | / 2");
    EXPECT_EQ(windows[5], "6 - Critical Ratios - Plot / Critical Ratios: Reactions | / 3");
    EXPECT_EQ(windows[7], "8 - Critical Ratios - Grid / Critical Ratios: Reactions | / grid");
    CGridView* table = nullptr;
    for (POSITION pos = doc->GetFirstViewPosition(); pos && !table;)
    {
        auto* grid = dynamic_cast<CGridView*>(doc->GetNextView(pos));
        if (grid && grid->GetTitle().Find(L"BM & SF") >= 0) table = grid;
    }
    ASSERT_NE(table, nullptr);
    for (int row = 1; row <= 4; ++row)
        EXPECT_NEAR(std::wcstod(table->GetGrid()->GetItemText(row, 3).GetString(), nullptr), 0.8, 1e-9) << row;
    EXPECT_EQ(boxes.Count(display), 2);
    EXPECT_EQ(CAnalysisJob::LiveCount(), 0);
}

TEST_F(AnalysisCommands, SinglePositionAndMovingLoadRunAtOnceAndKeepTheirStepping)
{
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    RunSinglePositionAt10(driven);
    ASSERT_NE(doc->m_pAOSinglePosition, nullptr);
    EXPECT_EQ(doc->m_pAOSinglePosition->GetDescription(), L"Bridge: Twenty | Load model: Tandem | Position: 10.000 m");
    // A single position always plots moment and shear; its tables follow the entity options.
    EXPECT_EQ(ResultWindows(*doc),
              (std::vector<std::string>{
                  "1 - Single Position Results - Plot / Single Position Analysis: BM & SF | / 2",
                  "2 - Single Position Results - Grid / Single Position Analysis: BM & SF | / grid",
                  "3 - Single Position Results - Grid / Single Position Analysis: Reactions | / grid",
              }));

    // The three-span bridge has four supports: its reactions plot holds 2 x 2 charts.
    driven.ThenAs<CMovingLoadDlg>([](CMovingLoadDlg& dlg) {
        qor::test::PickLine(dlg, IDC_LIST_BRIDGE, 1);
        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_BY_STEP), CPoint(3, 3));
        dlg.SetDlgItemText(IDC_EDIT_STEP, L"0.5");
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_ANALYSIS_MOVING_LOAD);
    ASSERT_NE(doc->m_pAOMovingLoad, nullptr);
    EXPECT_TRUE(doc->m_bMLByStep);
    EXPECT_DOUBLE_EQ(doc->m_MLStepSize, 0.5);
    EXPECT_EQ(doc->m_pAOMultiMovingLoad, nullptr);
    // Its windows come one per turn of the message loop.
    ASSERT_TRUE(qor::test::PumpUntil([&] { return ResultWindows(*doc).size() >= 7; }, 60000));
    const std::vector<std::string> windows = ResultWindows(*doc);
    ASSERT_EQ(windows.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(windows.begin() + 3, windows.end()),
              (std::vector<std::string>{
                  "4 - MLA Envelopes - Plot / Moving Load Envelopes: BM & SF | / 2",
                  "5 - MLA Envelopes - Plot / Moving Load Envelopes: Reactions | / 4",
                  "6 - MLA Envelopes - Grid / Moving Load Envelopes: BM & SF | / grid",
                  "7 - MLA Envelopes - Grid / Moving Load Envelopes: Reactions | / grid",
              }));

    // The ensemble goes to a worker; the command is greyed until its completion stores the result.
    driven.ThenAs<CMovingLoadDlg>([](CMovingLoadDlg& dlg) {
        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_USE_LME), CPoint(3, 3));
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_ANALYSIS_MOVING_LOAD);
    EXPECT_FALSE(Enabled(*doc, ID_ANALYSIS_MOVING_LOAD));
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyMultiML; }, 60000));
    ASSERT_NE(doc->m_pAOMultiMovingLoad, nullptr);
    EXPECT_EQ(doc->m_pAOMultiMovingLoad->m_vOutLMResults.size(), 2u);
    EXPECT_EQ(doc->m_pMLResults, doc->m_pAOMultiMovingLoad->GetResults());
    // No window of an ensemble draws its positions one by one: none is kept.
    for (const auto& each : doc->m_pAOMultiMovingLoad->m_vOutLMResults)
        EXPECT_EQ(each->GetKeptPositions().GetCount(), 0u);
    EXPECT_EQ(doc->m_pMLResults->GetKeptPositions().GetCount(), 0u);
    EXPECT_TRUE(boxes.Shown().empty()) << boxes.Shown().front().text.ToUtf8();
}

// A collection that computes for a long time: hundreds of bridges at a fine step.
void MakeLong(CReferenceCollection& collection)
{
    collection.m_vBS = {std::make_shared<CBridgeSet>(3, L"Many", 600, 2, 10.0, 60.0)};
    collection.m_bByStep = true;
    collection.m_StepSize = 0.01;
}

TEST_F(AnalysisCommands, ANewCaseWhileAWorkerRunsGetsNoCompletionAndReleasesTheBlock)
{
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    MakeLong(*collection);
    driven.ThenAs<CAnalyzeRefCollectionDlg>([](CAnalyzeRefCollectionDlg& dlg) { qor::test::PressOK(dlg); });
    qor::test::SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
    ASSERT_TRUE(doc->m_bBusyRefValues);
    qor::test::Pump(300); // well into the run
    COutputList& log = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd())->GetOutputWnd().GetList();
    // New closes the case, which stops its run: the worker ends within a second, says nothing more.
    const auto stopping = std::chrono::steady_clock::now();
    qor::test::SendMenuCommand(ID_FILE_NEW);
    CAnalysisJobs::WaitForWorkers();
    EXPECT_LT(std::chrono::steady_clock::now() - stopping, std::chrono::seconds(1));
    // One line says which run stopped and why, after the lines the run sent before it.
    const auto lastLine = [&log] {
        CString last;
        if (log.GetCount() > 0) log.GetText(log.GetCount() - 1, last);
        return last;
    };
    ASSERT_TRUE(qor::test::PumpUntil(
        [&] { return lastLine().Find(L"| Make Reference Collection stopped: the case was closed") > 0; }, 60000));
    const int lines = log.GetCount();
    qor::test::Pump(300);
    EXPECT_EQ(log.GetCount(), lines) << "no line of the stopped run";
    CQORDoc* fresh = CQORDoc::GetActiveDoc();
    ASSERT_NE(fresh, nullptr);
    EXPECT_FALSE(fresh->m_bBusyRefValues);
    EXPECT_TRUE(Enabled(*fresh, ID_ANALYSIS_REF_COLLECTION));
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    EXPECT_EQ(frame->GetStatusBar().GetPaneText(0), L"Ready"); // the new case is not calculating
    EXPECT_EQ(frame->m_nProgressEnd, 0);
    EXPECT_EQ(frame->m_nProgressCount, 0) << "the stopped run's steps feed no bar";
    EXPECT_EQ(boxes.Count(L"Display grids/plots for the analysis?"), 0);
    EXPECT_FALSE(collection->m_bIsCalculated); // the closed case's collection was never written
    EXPECT_EQ(CAnalysisJob::LiveCount(), 0);
}

TEST_F(AnalysisCommands, ExitWhileAWorkerRunsWaitsForIt)
{
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    driven.ThenAs<CAnalyzeRefCollectionDlg>([](CAnalyzeRefCollectionDlg& dlg) { qor::test::PressOK(dlg); });
    qor::test::SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
    qor::test::StopApplication(app);
    running = false;
    CAnalysisJobs::WaitForWorkers();
    qor::test::Pump(50);
    EXPECT_EQ(CAnalysisJob::LiveCount(), 0);
    EXPECT_EQ(boxes.Count(L"Display grids/plots for the analysis?"), 0);
}

TEST_F(AnalysisCommands, AFinishedMessageTheClosedWindowNeverTookBackReleasesItsBlock)
{
    // The run ends and posts its message; the program ends before the window takes it: the message goes
    // with the window, its block with the program's end.
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    driven.ThenAs<CAnalyzeRefCollectionDlg>([](CAnalyzeRefCollectionDlg& dlg) { qor::test::PressOK(dlg); });
    qor::test::SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
    CAnalysisJobs::WaitForWorkers(); // the worker posted its message, which waits in the queue
    EXPECT_EQ(CAnalysisJob::LiveCount(), 1);
    qor::test::StopApplication(app);
    running = false;
    EXPECT_EQ(CAnalysisJob::LiveCount(), 0);
    EXPECT_EQ(boxes.Count(L"Display grids/plots for the analysis?"), 0);
}

TEST_F(AnalysisCommands, EngineErrorsOfEveryKindOfCommandGiveOneMessageAndLeaveTheCase)
{
    // Each row throws in the engine from another kind of command: one message each, the case
    // as it was, nothing left busy and the status bar ready.
    ScriptedMessageBoxes boxes;
    DrivenDialogs driven;
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    const CString first = L"The command could not be carried out; the case is as it was.\n";
    // A load model whose span rule needs a UDL it does not have.
    auto a36 = Truck(3, L"A36 without UDL", {60.0}, 1.0);
    a36->m_bAdjustToBridge = true;
    a36->m_lmBridge = CLoadModel::LM_A36_UDL;
    struct Row
    {
        const char* kind;
        std::function<void()> run;
        CString reason;
    };
    const std::vector<Row> rows = {
        {"analysis command on the main thread",
         [&] {
             driven.ThenAs<CSinglePositionDlg>([](CSinglePositionDlg& dlg) {
                 qor::test::PickLine(dlg, IDC_LIST_LOADMODEL, 2);
                 qor::test::PressOK(dlg);
             });
             qor::test::SendMenuCommand(ID_ANALYSIS_SINGLE_POSITION);
         },
         CString::FromUtf8(kA36RuleLoadsError)},
        {"analysis called by the case",
         [&] { doc->RunCommand([&] { doc->RunMovingLoad(true, 0, false, doc->m_vBridge[0], a36, 0.0); }); },
         L"Step size must be greater than zero"},
        {"analysis on a worker",
         [&] {
             doc->StartMultiMovingLoad(false, 0, false, doc->m_vBridge[0], doc->m_vLoadModelEnsemble[0], 1.0);
             ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyMultiML; }, 60000));
         },
         L"Number of steps must be at least 1"},
    };
    doc->m_vLoadModel.push_back(a36);
    const auto models = doc->m_vLoadModel;
    const auto bridges = doc->m_vBridge;
    doc->SetModifiedFlag(FALSE);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.kind);
        const std::size_t before = boxes.Shown().size();
        row.run();
        ASSERT_EQ(boxes.Shown().size(), before + 1);
        EXPECT_EQ(boxes.Shown().back().text, first + row.reason);
        EXPECT_EQ(doc->m_vLoadModel, models);
        EXPECT_EQ(doc->m_vBridge, bridges);
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(doc->m_pAOSinglePosition, nullptr);
        EXPECT_EQ(doc->m_pAOMovingLoad, nullptr);
        EXPECT_EQ(doc->m_pAOMultiMovingLoad, nullptr);
        EXPECT_TRUE(Enabled(*doc, ID_ANALYSIS_MOVING_LOAD));
        EXPECT_EQ(frame->GetStatusBar().GetPaneText(0), L"Ready");
    }
    EXPECT_EQ(driven.Pending(), 0u);
}

TEST_F(AnalysisCommands, MissingElementsAreNamedInsteadOfUsed)
{
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    // Two refusals, then No to computing the collection now.
    boxes.Answer(IDOK);
    boxes.Answer(IDOK);
    boxes.Answer(IDNO);
    auto answerOk = [&driven] { driven.Then([](CWnd& dlg) { qor::test::PressOK(dlg); }); };

    // A proposed ensemble without load models, and a case without load models.
    doc->m_vLoadModelEnsemble.push_back(std::make_shared<CLoadModelEnsemble>(2, L"Empty"));
    driven.ThenAs<CCritRatioRefCollDlg>([](CCritRatioRefCollDlg& dlg) {
        qor::test::Click(dlg.GetDlgItem(IDC_RADIO_USE_LME), CPoint(3, 3));
        qor::test::PickLine(dlg, IDC_LIST_LME, 1);
        qor::test::PressOK(dlg);
    });
    qor::test::SendMenuCommand(ID_ANALYSIS_CRITICAL_RATIOS);
    const auto models = doc->m_vLoadModel;
    doc->m_vLoadModel.clear();
    answerOk();
    qor::test::SendMenuCommand(ID_ANALYSIS_CRITICAL_RATIOS);
    // The collection is not computed yet: F5 offers to compute it; No leaves it.
    doc->m_vLoadModel = models;
    answerOk();
    qor::test::SendMenuCommand(ID_ANALYSIS_CRITICAL_RATIOS);
    EXPECT_FALSE(doc->m_bBusyRefValues);
    EXPECT_EQ(collection->GetProposedName(), L"Tandem"); // stored before the question
    // Comparing against an unsolved collection.
    driven.Then([](CWnd& dlg) { qor::test::PressOK(dlg); });
    qor::test::SendMenuCommand(ID_VIEW_COMPARE_ENVELOPES);
    // No collections left after removal: the picker's OK names nothing.
    doc->m_vRefCollection.clear();
    answerOk();
    qor::test::SendMenuCommand(ID_ANALYSIS_REF_COLLECTION);
    const std::vector<CString> expected = {
        L"No Proposed vehicle: the load model ensemble has no load models.",
        L"No Proposed vehicle: there is no load model in the case.",
        L"Ref. Collection: Network\nThis collection has not yet been computed.\nDo you wish to compute it now?",
        L"This Reference Collection has not been solved - nothing to display.",
        L"No envelopes to compare - Reference Collection not calculated?",
        L"Invalid reference collection selected.",
    };
    EXPECT_EQ(Texts(boxes), expected);
    EXPECT_EQ(driven.Pending(), 0u);
}

TEST_F(AnalysisCommands, NoDisplaySelectedIsSaidOncePerCommand)
{
    DrivenDialogs driven;
    ComputeCollection(driven);
    ScriptedMessageBoxes boxes;
    doc->m_Output.GRAPHS = doc->m_Output.TABLES = false;
    driven.Then([](CWnd& dlg) { qor::test::PressOK(dlg); });
    qor::test::SendMenuCommand(ID_VIEW_REF_COLLECTION_VALUES);
    EXPECT_EQ(boxes.Count(L"Neither graph nor table output selected."), 1);
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

TEST_F(AnalysisCommands, ZeroResultsAndRatiosWithoutAReferenceAreSaidInTheLog)
{
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDNO); // no windows for the reference values
    auto* frame = DYNAMIC_DOWNCAST(CMainFrame, AfxGetMainWnd());
    ASSERT_NE(frame, nullptr);
    const auto log = [&] { return frame->GetOutputWnd().GetList().GetAllText(); };
    const auto count = [&](const CString& text) {
        int n = 0;
        const CString all = log();
        for (int at = all.Find(text); at >= 0; at = all.Find(text, at + 1)) ++n;
        return n;
    };

    // A model without loads, moved over a bridge: zeros, and why.
    auto empty = std::make_shared<CLoadModel>(7, CString(L"Empty"));
    doc->RunMovingLoad(true, 0, false, doc->m_vBridge[0], empty, 0.5);
    qor::test::Pump(50); // the log takes the lines as the window is free
    EXPECT_EQ(count(L"Load model \"Empty\" has no loads: its results are all zero."), 1);

    // A reference that applies to bridges up to 5 m only: every reference value of the network is zero.
    auto shortOnly = Truck(8, L"Short only", {50.0, 50.0}, 1.2);
    shortOnly->m_bUseMaxL = true;
    shortOnly->m_maxL = 5.0;
    auto reference = std::make_shared<CLoadModelEnsemble>(2, L"Short vehicles");
    reference->AddLoadModel(shortOnly);
    doc->m_vLoadModelEnsemble.push_back(reference);
    collection->m_vLME = {reference};
    collection->m_vBS = {doc->m_vBridgeSet[0]};
    ComputeCollection(driven);
    EXPECT_EQ(
        count(L"Load model \"Short only\" applies to bridges up to 5 m long, not to 1-span - 10.000 m span (10 m), "
              L"1-span - 20.000 m span (20 m), 1-span - 30.000 m span (30 m), 1-span - 40.000 m span (40 m): "
              L"its results are all zero."),
        1);

    // Rated against it, the tandem has no ratio anywhere: the tables say n/a, the stored value stays 0,
    // and the log says so once for each effect.
    collection->SetProposedLoadModel(doc->m_vLoadModel[0]);
    boxes.Answer(IDYES); // the ratios' windows
    doc->StartCritRatios(collection);
    ASSERT_TRUE(qor::test::PumpUntil([&] { return !doc->m_bBusyCritRatios; }, 120000));
    ASSERT_EQ(collection->GetCritRatios().size(), 1u);
    std::vector<double> max, min;
    collection->GetCritRatios()[0]->GetBM(max, min);
    ASSERT_EQ(max.size(), 4u);
    for (double r : max) EXPECT_EQ(r, 0.0);
    CGridView* table = nullptr;
    // The windows open one per turn of the loop.
    qor::test::PumpUntil(
        [&] {
            for (POSITION pos = doc->GetFirstViewPosition(); pos && !table;)
            {
                auto* grid = dynamic_cast<CGridView*>(doc->GetNextView(pos));
                if (grid && grid->GetTitle().Find(L"Critical Ratios: BM & SF") >= 0) table = grid;
            }
            return table != nullptr;
        },
        60000);
    ASSERT_NE(table, nullptr);
    for (int row = 1; row <= 4; ++row)
    {
        EXPECT_EQ(table->GetGrid()->GetItemText(row, 3).ToUtf8(), "n/a") << row;
        EXPECT_EQ(table->GetGrid()->GetItemText(row, 5).ToUtf8(), "n/a") << row;
    }
    // One line for each effect and the run, with the count and the first bridges by name (the log takes
    // them as the window is free).
    EXPECT_TRUE(qor::test::PumpUntil([&] { return count(L"; their ratios are shown as n/a.") > 0; }));
    EXPECT_EQ(count(L"The reference largest bending moment is too small to rate against where the proposed vehicle's "
                    L"is not on 4 bridges: 1-span - 10.000 m span, 1-span - 20.000 m span, 1-span - 30.000 m span "
                    L"and 1 more; their ratios are shown as n/a."),
              1);
    EXPECT_EQ(count(L"reference largest bending moment is too small"), 1);
    EXPECT_EQ(count(L"is too small to rate against"), count(L"; their ratios are shown as n/a."));
    EXPECT_EQ(count(L"Bridge \"1-span - 20.000 m span\""), 0);
}

} // namespace

TEST_F(AnalysisCommands, AnElementNameOfMegabytesOpensItsResultWindowsInGoodTime)
{
    // A bridge and a load model named with 5 MB of text each (a pasted file): the result windows'
    // titles, tabs, captions and grid cells hold them, and every layout and paint draws them. Only
    // what can be seen is measured: the windows open and paint again in a time that measuring the
    // whole names at each paint (seconds each under the sanitizers) is far beyond.
    const std::wstring words = L"Viaduct over the river ";
    std::wstring huge;
    while (huge.size() < (5u << 20)) huge += words;
    doc->m_vBridge[0]->m_Description = CString(huge.c_str());
    doc->m_vLoadModel[0]->m_Description = CString((L"Tandem " + huge).c_str());
    const auto start = std::chrono::steady_clock::now();
    DrivenDialogs driven;
    ScriptedMessageBoxes boxes;
    RunSinglePositionAt10(driven);
    ASSERT_EQ(ResultWindows(*doc).size(), 3u);
    // Each window brought to the front, laid out and painted again, a few times over.
    for (int round = 0; round < 3; ++round)
    {
        POSITION pos = doc->GetFirstViewPosition();
        while (pos)
        {
            CView* view = doc->GetNextView(pos);
            CFrameWnd* frame = view->GetParentFrame();
            frame->ActivateFrame();
            CRect r;
            frame->GetWindowRect(&r);
            frame->SetWindowPos(nullptr, 0, 0, r.Width() - 7 + 14 * (round % 2), r.Height(), SWP_NOMOVE | SWP_NOZORDER);
            view->Invalidate();
            view->UpdateWindow();
            qor::test::Pump(20);
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 120.0); // measured whole at each paint, the names took more than ten minutes
    std::printf("5 MB names: result windows opened and painted 3 times in %.2f s\n", seconds);
}
