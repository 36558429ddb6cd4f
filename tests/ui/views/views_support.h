// A small MDI application for the result-view tests: a case-like document whose templates open
// plot and grid views in child frames of a main window, and real engine results to show in them.
#pragma once

#include "app/QORDoc.h"
#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartAxisLabel.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartPointsSerie.h"
#include "controls/chart/ChartXYSerie.h"
#include "engine/analysis/EnvelopeResults.h"
#include "engine/analysis/MovingLoadAnalysis.h"
#include "engine/analysis/MultiMovingLoadAnalysis.h"
#include "engine/analysis/ReferenceCollection.h"
#include "engine/analysis/ReferenceSet.h"
#include "engine/analysis/SinglePosAnalysis.h"
#include "engine/model/Bridge.h"
#include "engine/model/BridgeSet.h"
#include "engine/model/LoadModel.h"
#include "engine/model/LoadModelEnsemble.h"
#include "output/AnalysisOutput.h"
#include "platform/gui/Afx.h"
#include "platform/test/FrameTest.h"
#include "platform/test/GuiTest.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"

#include <gtest/gtest.h>

#include <memory>

namespace viewtest {

enum : UINT
{
    IDR_MAIN = 9228,
    IDR_PLOT = 9292,
    IDR_GRID = 9293,
};

inline const MenuItemDef kMenu[] = {{MF_POPUP, 0, L"&File"}, {MF_STRING, ID_FILE_PRINT, L"&Print..."}, {MF_END}};
QOR_MENU_RESOURCE(9228, kMenu);
QOR_MENU_RESOURCE(9292, kMenu);
inline const MenuItemDef kGridMenu[] = {
    {MF_POPUP, 0, L"&File"},
    {MF_STRING, ID_FILE_PRINT, L"&Print..."},
    {MF_END},
    {MF_POPUP, 0, L"&Edit"},
    {MF_STRING, ID_EDIT_COPY, L"&Copy"},
    {MF_STRING, ID_EDIT_SELECT_ALL, L"Select &All"},
    {MF_END},
};
QOR_MENU_RESOURCE(9293, kGridMenu);

class ViewTestChild : public CMDIChildWndEx
{
    DECLARE_DYNCREATE(ViewTestChild)
};
IMPLEMENT_DYNCREATE(ViewTestChild, CMDIChildWndEx)

class ViewTestMain : public CMDIFrameWndEx
{
    DECLARE_DYNAMIC(ViewTestMain)
};
IMPLEMENT_DYNAMIC(ViewTestMain, CMDIFrameWndEx)

class ViewTestApp : public CWinAppEx
{
public:
    ViewTestApp() : CWinAppEx(TRUE) { m_pszAppName = L"ViewTest"; }
    CMultiDocTemplate* m_pPlotTemplate = nullptr;
    CMultiDocTemplate* m_pGridTemplate = nullptr;
    BOOL InitInstance() override
    {
        SetRegistryKey(L"View Test Company");
        m_pPlotTemplate = new CMultiDocTemplate(IDR_PLOT, RUNTIME_CLASS(CQORDoc), RUNTIME_CLASS(ViewTestChild),
                                                RUNTIME_CLASS(CPlotView));
        m_pPlotTemplate->SetDocStrings(L"\nCase\nCase\n\n\n\n");
        AddDocTemplate(m_pPlotTemplate);
        m_pGridTemplate = new CMultiDocTemplate(IDR_GRID, RUNTIME_CLASS(CQORDoc), RUNTIME_CLASS(ViewTestChild),
                                                RUNTIME_CLASS(CGridView));
        m_pGridTemplate->SetDocStrings(L"\nCase\nCase\n\n\n\n");
        AddDocTemplate(m_pGridTemplate);
        auto* frame = new ViewTestMain;
        if (!frame->LoadFrame(IDR_MAIN)) return FALSE;
        m_pMainWnd = frame;
        frame->MoveWindow(0, 0, 1100, 800);
        frame->ShowWindow(SW_SHOW);
        return TRUE;
    }
};

// One application per test; OpenPlot makes a plot view in a new child frame.
class PlotTest : public ::testing::Test
{
protected:
    ViewTestApp app;
    void SetUp() override { ASSERT_TRUE(qor::test::StartApplication(app)); }
    void TearDown() override { qor::test::StopApplication(app); }
    CMDIFrameWnd* Main() { return static_cast<CMDIFrameWnd*>(app.m_pMainWnd); }
    CPlotView* OpenPlot(unsigned rows, unsigned cols)
    {
        app.m_pPlotTemplate->OpenDocumentFile(nullptr);
        CMDIChildWnd* child = Main()->MDIGetActive();
        if (!child) return nullptr;
        auto* view = dynamic_cast<CPlotView*>(child->GetActiveView());
        if (view) view->CreateCharts(rows, cols);
        return view;
    }
};

// ---- Engine results ---------------------------------------------------------------------------

inline std::shared_ptr<CLoadModel> Truck(int id, const wchar_t* name, const std::vector<double>& loads,
                                         const std::vector<double>& spacings)
{
    auto lm = std::make_shared<CLoadModel>(id, CString(name));
    double x = 0.0;
    for (std::size_t i = 0; i < loads.size(); ++i)
    {
        if (i > 0) x -= spacings[i - 1];
        lm->AddPointLoad(loads[i], x, 0.0);
    }
    return lm;
}

// A 100 kN single axle.
inline std::shared_ptr<CLoadModel> Axle() { return Truck(1, L"Axle", {100.0}, {}); }

inline std::shared_ptr<CLoadModelEnsemble> TwoTrucks()
{
    auto lme = std::make_shared<CLoadModelEnsemble>(1, CString(L"Two trucks"));
    lme->AddLoadModel(Truck(1, L"Tandem", {60.0, 60.0}, {1.2}));
    lme->AddLoadModel(Truck(2, L"Tri-axle", {50.0, 50.0, 50.0}, {1.25, 1.25}));
    return lme;
}

inline std::shared_ptr<CAOMovingLoad> MovingLoad(std::shared_ptr<CBridge> bridge, std::shared_ptr<CLoadModel> lm,
                                                 double step)
{
    CMovingLoadAnalysis analysis(bridge, lm);
    analysis.SetPointsPerSpan(20);
    int nSteps = 0;
    auto results = analysis.Run(true, nSteps, step);
    return std::make_shared<CAOMovingLoad>(results, bridge, lm, nSteps);
}

} // namespace viewtest

namespace viewtest {

// The series of a chart, oldest first, as line or points series.
inline std::vector<CChartXYSerie*> SeriesOf(CPlotView* view, unsigned chart)
{
    std::vector<CChartXYSerie*> out;
    for (const auto& entry : view->GetChart(chart)->GetSeries())
        out.push_back(dynamic_cast<CChartXYSerie*>(entry.second));
    return out;
}

// The curves of every position on a chart, or null.
inline CChartLineFamilySerie* LinesOf(CPlotView* view, unsigned chart)
{
    for (const auto& entry : view->GetChart(chart)->GetSeries())
        if (auto* lines = dynamic_cast<CChartLineFamilySerie*>(entry.second)) return lines;
    return nullptr;
}

inline std::vector<double> YValues(CChartXYSerie* s)
{
    std::vector<double> y;
    for (unsigned k = 0; k < s->GetPointsCount(); ++k) y.push_back(s->GetYPointValue(k));
    return y;
}

inline CString AxisTitleOf(CPlotView* view, unsigned chart, int position)
{
    return view->GetChart(chart)->GetAxis(position)->GetLabel()->GetText();
}

// A reference collection of one two-span bridge set under one ensemble, with the critical
// ratios of a proposed truck.
inline std::shared_ptr<CReferenceCollection> ComputedCollection()
{
    auto coll = std::make_shared<CReferenceCollection>(1, CString(L"Network"), true, 0, 0.5);
    coll->m_vBS = {std::make_shared<CBridgeSet>(1, CString(L"Two-span"), 4, CBridge::CONFIG_TWOSPAN, 10.0, 25.0)};
    coll->m_vLME = {TwoTrucks()};
    if (!coll->Calculate()) return nullptr;
    auto proposed = Truck(9, L"Proposed", {80.0, 80.0}, {1.5});
    proposed->m_gDLA.value = 1.3; // the slow-down limit on every bridge
    coll->SetProposedLoadModel(proposed);
    if (!coll->CalculateRatios(1.0)) return nullptr;
    return coll;
}

} // namespace viewtest
