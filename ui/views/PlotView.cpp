// The plot view's charts: creation, layout below the title, series with listeners and
// markers, axis titles and rounding, the beam line, and printing one chart per page.
#include "ui/views/PlotView.h"

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartAxisLabel.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartGrid.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartPointsSerie.h"
#include "controls/chart/ChartScrollBar.h"
#include "controls/chart/ChartStandardAxis.h"
#include "engine/model/Beam.h"
#include "engine/model/Bridge.h"
#include "engine/settings/Settings.h"
#include "platform/core/Time.h"
#include "ui/views/MouseListener.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CPlotView, CQORViewBase)

namespace {
// Posted to the view itself: the next slice of a plot's drawing.
constexpr UINT WM_DRAWPENDING = WM_APP + 0x50;
} // namespace

BEGIN_MESSAGE_MAP(CPlotView, CQORViewBase)
ON_MESSAGE(WM_DRAWPENDING, OnDrawPending)
ON_COMMAND(ID_FILE_PRINT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, CView::OnFilePrintPreview)
END_MESSAGE_MAP()

namespace {

const wchar_t* const kAxisTitles[CPlotView::AT_COUNT] = {
    L"Bridge Span (m)",
    L"Bending Moment (kNm)",
    L"Shear Force (kN)",
    L"Reaction (kN)",
    L"Bending Moment Envelope (kNm)",
    L"Shear Force Envelope (kN)",
    L"Reaction Envelope (kN)",
    L"Critical Values - Bending Moment (kNm)",
    L"Critical Values - Shear Force (kN)",
    L"Critical Values - Reaction (kN)",
    L"Critical Values - Bending Moment Envelope (kNm)",
    L"Critical Values - Shear Force Envelope (kN)",
    L"Critical Values - Reaction Envelope (kN)",
    L"Critical Ratios - Bending Moment",
    L"Critical Ratios - Shear Force",
    L"Critical Ratios - Reaction",
    L"Position of Load Model (m)",
    L"Location along beam (m)",
};

constexpr UINT kChartId = 8;

} // namespace

const wchar_t* CPlotView::AxisTitle(EAxisTitle title)
{
    return (title >= 0 && title < AT_COUNT) ? kAxisTitles[title] : L"";
}

CPlotView::CPlotView()
{
    m_nViewType = VIEWTYPE_PLOT;
    const CSettings::Plot_Config& plot = CSettings::GetInstance()->Plot;
    m_bRatioLimitFullSpeed = plot.RATIOLIMIT_FULLSPEED;
    m_bRatioLimitSlowDown = plot.RATIOLIMIT_SLOWDOWN;
    CLR_BACKGRND = plot.Colours.CLR_BACKGRND;
    CLR_BORDER = plot.Colours.CLR_BORDER;
    CLR_GRID = plot.Colours.CLR_GRID;
    CLR_TEXT = plot.Colours.CLR_TEXT;
    CLR_LINEMIN = plot.Colours.CLR_LINEMIN;
    CLR_LINEMAX = plot.Colours.CLR_LINEMAX;
    CLR_BEAM = plot.Colours.CLR_BEAM;
    CLR_LIGHTLINE = plot.Colours.CLR_LIGHTLINE;
    CLR_PROPMIN = plot.Colours.CLR_PROPMIN;
    CLR_PROPMAX = plot.Colours.CLR_PROPMAX;
    CLR_FULLSPEED = plot.Colours.CLR_FULLSPEED;
    CLR_SLOWDOWN = plot.Colours.CLR_SLOWDOWN;
    m_nContentTop = m_Gap.TOP;
}

CPlotView::~CPlotView() { RemoveAllCharts(); }

// ---- Charts and layout -----------------------------------------------------------------------

void CPlotView::CreateCharts(unsigned rows, unsigned cols)
{
    if (rows == 0 || cols == 0) throw "Cannot have zero rows or columns";
    RemoveAllCharts();
    m_nRows = rows;
    m_nCols = cols;
    m_nCharts = rows * cols;

    for (unsigned i = 0; i < m_nCharts; ++i)
    {
        CChartCtrl* pChart = new CChartCtrl();
        if (!pChart->Create(CHARTCTRL_CLASSNAME, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), this,
                            kChartId))
        {
            delete pChart; // a chart without a window would never be shown or removed
            return;
        }
        pChart->AllowRefresh(false);
        pChart->SetEdgeType(EDGE_ETCHED);
        pChart->SetBorderColour(CLR_BORDER);
        pChart->SetBackColour(CLR_BACKGRND);
        for (int position : {CChartAxis::LeftAxis, CChartAxis::BottomAxis})
        {
            CChartStandardAxis* pAxis = pChart->CreateStandardAxis(position);
            pAxis->SetAutomaticMode(1);
            pAxis->SetMinMax(0.0, 0.0);
            pAxis->RefreshAutoAxis();
            pAxis->SetAxisColour(CLR_TEXT);
            pAxis->SetTextColour(CLR_TEXT);
            pAxis->GetLabel()->SetColour(CLR_TEXT);
            pAxis->GetGrid()->SetColour(CLR_GRID);
            // The axis scroll bar is made without being shown; hidden explicitly it stays hidden
            // when the child frame is shown again (maximised, restored).
            if (CChartScrollBar* pBar = pAxis->GetScrollBar(); pBar && pBar->GetSafeHwnd() && !pBar->GetEnabled())
            {
                pBar->ShowWindow(SW_SHOWNA);
                pBar->ShowWindow(SW_HIDE);
            }
        }
        pChart->AllowRefresh(true);
        m_vCharts.push_back(pChart);
    }
    RecalcLayout();
}

void CPlotView::RecalcLayout()
{
    if (!GetSafeHwnd() || m_vCharts.empty()) return;
    CQORViewBase::RecalcLayout();

    CRect client;
    GetClientRect(&client);
    const int rows = static_cast<int>(m_nRows), cols = static_cast<int>(m_nCols);
    const int h =
        (client.bottom - (rows - 1) * m_Gap.BETWN - m_Gap.BTM - m_Gap.TOP - m_nContentTop - client.top) / rows;
    const int w = (client.right - (cols - 1) * m_Gap.BETWN - m_Gap.RIGHT - client.left - m_Gap.LEFT) / cols;
    for (int c = 0; c < cols; ++c)
    {
        for (int q = 0; q < rows; ++q)
        {
            const std::size_t index = static_cast<std::size_t>(c * rows + q);
            if (index >= m_vCharts.size()) continue;
            const int x = (m_Gap.BETWN + w) * c + client.left + m_Gap.LEFT;
            const int y = (m_Gap.BETWN + h) * q + m_Gap.TOP + m_nContentTop + client.top;
            m_vCharts[index]->SetWindowPos(nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

void CPlotView::RemoveAllCharts()
{
    // Steps still to come were for these charts.
    m_Pending.clear();
    m_Inserted.clear();
    ShowDrawingProgress(true);
    for (CChartCtrl* pChart : m_vCharts)
    {
        pChart->RemoveAllSeries();
        if (pChart->GetSafeHwnd()) pChart->DestroyWindow();
        delete pChart;
    }
    m_vCharts.clear();
    for (CMouseListener* pListener : m_vListeners) delete pListener;
    m_vListeners.clear();
    m_nCharts = m_nRows = m_nCols = 0;
}

int CPlotView::FindChart(CChartCtrl* chart) const
{
    for (std::size_t i = 0; i < m_vCharts.size(); ++i)
    {
        if (m_vCharts[i] == chart) return static_cast<int>(i);
    }
    return -1;
}

// ---- Series ----------------------------------------------------------------------------------

void CPlotView::AddSeries(unsigned i, std::vector<double> x, std::vector<double> y, COLORREF colour, bool bPoints,
                          int lineWidth, bool bInvertY, bool bRoundAxes)
{
    // Missing data (none, or a mismatched pair) leaves the series out, not the chart.
    if (i >= m_vCharts.size() || x.size() != y.size() || x.empty()) return;
    CChartCtrl* pChart = m_vCharts[i];
    // Moments are drawn on the tension side, sagging downwards, by turning the axis over rather
    // than the values: its labels, the tips and the point labels then read the moments as the
    // tables give them.
    if (bInvertY)
    {
        if (CChartAxis* pLeft = pChart->GetLeftAxis(); pLeft && !pLeft->IsInverted()) pLeft->SetInverted(true);
    }
    const unsigned count = static_cast<unsigned>(x.size());

    // Without rounding (the light lines of every position) the chart is not held: a line that
    // keeps the axes' ranges is drawn onto the chart's image alone, not the whole chart again.
    if (bRoundAxes) pChart->AllowRefresh(false);
    CChartLineSerie* pLine = pChart->CreateLineSerie();
    pLine->SetColour(colour);
    pLine->SetWidth(lineWidth);
    pLine->AddPoints(x.data(), y.data(), count);

    CMouseListener* pListener = new CMouseListener(pChart);
    m_vListeners.push_back(pListener);
    pLine->RegisterMouseListener(pListener);

    if (bPoints)
    {
        CChartPointsSerie* pPoints = pChart->CreatePointsSerie();
        pPoints->SetColour(colour);
        pPoints->SetPointSize(4 * lineWidth, 4 * lineWidth);
        pPoints->SetPointType(CChartPointsSerie::ptEllipse);
        pPoints->AddPoints(x.data(), y.data(), count);
    }

    if (bRoundAxes)
    {
        // The tick increment of the new range on the chart's present size decides the rounding;
        // the chart has not been drawn since (drawing is held), so its axes are laid out first.
        pChart->RecalcAxesLayout();
        RoundAxis(pChart, CChartAxis::LeftAxis);
        RoundAxis(pChart, CChartAxis::BottomAxis);
        pChart->AllowRefresh(true);
    }
}

CChartLineFamilySerie* CPlotView::AddLineFamily(unsigned i, std::function<bool(std::size_t, SChartLine&)> source,
                                                std::size_t count, const SRange& range, bool bInvertY)
{
    if (i >= m_vCharts.size()) return nullptr;
    CChartCtrl* pChart = m_vCharts[i];
    if (bInvertY)
    {
        if (CChartAxis* pLeft = pChart->GetLeftAxis(); pLeft && !pLeft->IsInverted()) pLeft->SetInverted(true);
    }
    CChartLineFamilySerie* pLines = pChart->CreateLineFamilySerie();
    pLines->SetColour(CLR_LIGHTLINE);
    pLines->SetLines(std::move(source), count, range.xMin, range.xMax, range.yMin, range.yMax);
    CMouseListener* pListener = new CMouseListener(pChart);
    m_vListeners.push_back(pListener);
    pLines->RegisterMouseListener(pListener);
    return pLines;
}

void CPlotView::HoldAxes(unsigned i, const SRange& range)
{
    if (i >= m_vCharts.size() || !range.IsSet()) return;
    CChartCtrl* pChart = m_vCharts[i];
    SRange all = range;
    for (const auto& entry : pChart->GetSeries())
    {
        double lo = 0, hi = 0;
        if (entry.second->GetXRange(&lo, &hi)) all.AddX(lo, hi);
        if (entry.second->GetYRange(&lo, &hi)) all.AddY(lo, hi);
    }
    pChart->AllowRefresh(false);
    CChartAxis* pBottom = pChart->GetBottomAxis();
    CChartAxis* pLeft = pChart->GetLeftAxis();
    if (pBottom)
    {
        pBottom->SetAutomaticMode(0);
        pBottom->SetMinMax(all.xMin, all.xMax);
    }
    if (pLeft)
    {
        pLeft->SetAutomaticMode(0);
        pLeft->SetMinMax(all.yMin, all.yMax);
    }
    // Rounded as the series that follow will round them, so that the image the series are
    // drawn onto is the one the plot ends with.
    pChart->RecalcAxesLayout();
    RoundAxis(pChart, CChartAxis::LeftAxis);
    RoundAxis(pChart, CChartAxis::BottomAxis);
    pChart->AllowRefresh(true);
}

void CPlotView::ReleaseAxes(unsigned i)
{
    if (i >= m_vCharts.size()) return;
    CChartCtrl* pChart = m_vCharts[i];
    pChart->AllowRefresh(false);
    for (CChartAxis* pAxis : {pChart->GetBottomAxis(), pChart->GetLeftAxis()})
    {
        if (!pAxis) continue;
        pAxis->SetAutomaticMode(1);
        pAxis->RefreshAutoAxis();
    }
    pChart->AllowRefresh(true);
}

void CPlotView::RoundAxis(CChartCtrl* chart, int position)
{
    if (!chart) return;
    CChartStandardAxis* pAxis = dynamic_cast<CChartStandardAxis*>(chart->GetAxis(position));
    if (!pAxis) return;
    const double d = pAxis->GetTickIncrement();
    if (!(d >= 1e-15)) return;
    const double min = pAxis->GetMin(), max = pAxis->GetMax();

    double lo = std::floor(min / d);
    if (std::fabs((lo * d - min) / d) < 0.2) lo -= 1.0;
    double hi = std::ceil(max / d);
    if (std::fabs((hi * d - max) / d) < 0.2) hi += 1.0;
    pAxis->SetMinMax(lo * d, hi * d); // the unzoomed range too; refreshes scroll bar and chart
}

void CPlotView::SetAxisTitles(unsigned i, CString xTitle, CString yTitle)
{
    if (i >= m_vCharts.size()) return;
    CChartCtrl* pChart = m_vCharts[i];
    if (CChartAxis* pBottom = pChart->GetBottomAxis()) pBottom->GetLabel()->SetText(xTitle);
    pChart->RefreshCtrl();
    if (CChartAxis* pLeft = pChart->GetLeftAxis()) pLeft->GetLabel()->SetText(yTitle);
    pChart->RefreshCtrl();
}

void CPlotView::DrawBeamLine(unsigned i, std::shared_ptr<CBridge> bridge)
{
    if (!bridge) return;
    std::shared_ptr<CBeam> pBeam = bridge->GetBeam();
    if (!pBeam) return;
    AddSeries(i, {0.0, pBeam->m_Length}, {0.0, 0.0}, CLR_BEAM, false, 4, false, true);
}

void CPlotView::HoldDrawing(bool hold)
{
    for (CChartCtrl* pChart : m_vCharts) pChart->AllowRefresh(!hold);
}

// ---- Drawing in steps ------------------------------------------------------------------------

void CPlotView::Then(std::function<void()> step)
{
    const bool waiting = m_bInStep ? !m_Inserted.empty() : !m_Pending.empty();
    if (waiting)
        Later(std::move(step));
    else
        step();
}

void CPlotView::Later(std::function<void()> step, int nCurves)
{
    m_nCurvesQueued += nCurves;
    if (m_bInStep)
    {
        m_Inserted.push_back({std::move(step), nCurves});
        return;
    }
    m_Pending.push_back({std::move(step), nCurves});
    // Without a window there is no message loop to come back from: the plot is drawn at once.
    if (!GetSafeHwnd()) return FinishDrawing();
    if (!m_bPosted) m_bPosted = PostMessage(WM_DRAWPENDING) != FALSE;
    if (!m_bPosted) FinishDrawing();
}

void CPlotView::RunPendingStep()
{
    SStep step = std::move(m_Pending.front());
    m_Pending.pop_front();
    struct InStep
    {
        CPlotView& view;
        explicit InStep(CPlotView& v) : view(v) { view.m_bInStep = true; }
        ~InStep()
        {
            view.m_bInStep = false;
            view.m_Pending.insert(view.m_Pending.begin(), std::make_move_iterator(view.m_Inserted.begin()),
                                  std::make_move_iterator(view.m_Inserted.end()));
            view.m_Inserted.clear();
        }
    } inStep(*this);
    m_nCurvesDrawn += step.nCurves;
    step.run();
}

LRESULT CPlotView::OnDrawPending(WPARAM, LPARAM)
{
    m_bPosted = false;
    if (!m_Pending.empty())
    {
        const DWORD start = GetTickCount();
        RunPendingStep();
        while (!m_Pending.empty() && GetTickCount() - start < kSliceMs) RunPendingStep();
    }
    else if (m_sStatusShown.IsEmpty())
    {
        return 0;
    }
    // The last steps leave charts that draw their curves again in slices of their own (the
    // envelopes come over them): the plot is drawn when those are whole too.
    const bool drawing = IsDrawing();
    ShowDrawingProgress(!drawing);
    // Posted again behind what came meanwhile (the charts' slices among them): paints, clicks and
    // keys go first.
    if (drawing) m_bPosted = PostMessage(WM_DRAWPENDING) != FALSE;
    if (drawing && !m_bPosted) FinishDrawing();
    return 0;
}

bool CPlotView::IsDrawing() const
{
    return !m_Pending.empty() ||
           std::any_of(m_vCharts.begin(), m_vCharts.end(), [](const CChartCtrl* c) { return c->IsRedrawing(); });
}

bool CPlotView::DrawSlice()
{
    if (m_bInStep) return true;
    const DWORD start = GetTickCount();
    while (!m_Pending.empty() && GetTickCount() - start < kSliceMs) RunPendingStep();
    if (!m_Pending.empty()) return false;
    for (CChartCtrl* pChart : m_vCharts)
        if (pChart->IsRedrawing() && GetTickCount() - start < kSliceMs) pChart->ContinueRedraw();
    const bool whole = !IsDrawing();
    if (whole) ShowDrawingProgress(true);
    return whole;
}

void CPlotView::FinishDrawing()
{
    if (m_bInStep) return; // the step that runs is part of it: the rest follows when it ends
    while (!m_Pending.empty()) RunPendingStep();
    for (CChartCtrl* pChart : m_vCharts) pChart->FinishRedraw();
    ShowDrawingProgress(true);
}

void CPlotView::ShowDrawingProgress(bool bDone)
{
    auto statusBar = [] {
        CFrameWnd* pMain = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
        return pMain ? DYNAMIC_DOWNCAST(CMFCStatusBar, pMain->GetDlgItem(AFX_IDW_STATUS_BAR)) : nullptr;
    };
    if (bDone)
    {
        m_nCurvesQueued = m_nCurvesDrawn = 0;
        if (m_sStatusShown.IsEmpty()) return;
        // Ready again once the last curve is drawn, unless something else has spoken since.
        CMFCStatusBar* pBar = statusBar();
        CString ready;
        if (!ready.LoadString(AFX_IDS_IDLEMESSAGE)) ready = L"Ready";
        if (pBar && pBar->GetPaneText(0) == m_sStatusShown) pBar->SetPaneText(0, ready);
        m_sStatusShown.Empty();
        return;
    }
    CMFCStatusBar* pBar = statusBar();
    if (!pBar) return;
    // Before the curves are counted (their ranges are taken first), without the count.
    if (m_nCurvesQueued > 0)
        m_sStatusShown.Format(L"Drawing each sub-analysis result: %d of %d", m_nCurvesDrawn, m_nCurvesQueued);
    else
        m_sStatusShown = L"Drawing each sub-analysis result";
    pBar->SetPaneText(0, m_sStatusShown);
}

// ---- Printing --------------------------------------------------------------------------------

BOOL CPlotView::OnPreparePrinting(CPrintInfo* pInfo)
{
    m_nPrintingPage = 0;
    pInfo->SetMaxPage(m_nCharts);
    return DoPreparePrinting(pInfo);
}

// A page is printed in parts, a slice of time a call, from the message loop: first what of the plot
// is still to come (the page shows it whole), then its chart.
void CPlotView::OnPrint(CDC* pDC, CPrintInfo* pInfo)
{
    if (!pDC || !pInfo) return;
    if (!m_Pending.empty())
    {
        DrawSlice();
        pInfo->m_bPageUnfinished = TRUE;
        return;
    }
    const bool first = m_nPrintingPage != pInfo->m_nCurPage;
    if (first) CQORViewBase::OnPrint(pDC, pInfo);

    CFont* pOldFont = pDC->SelectObject(&m_PrintFont);
    pDC->SetMapMode(MM_ANISOTROPIC);
    pDC->SetWindowExt(m_nPageWidth, m_nPageHeight);
    pDC->SetViewportExt(m_nDeviceWidth, m_nDeviceHeight);
    const int top = m_nMarginTop * m_nLineHeight + m_nSpacingLines;
    pDC->SetWindowOrg(-m_nMarginLeft * m_nCharWidth, -top);
    pInfo->m_rectDraw.SetRect(0, 0, m_nPageWidth - m_nMarginRight * m_nCharWidth - m_nMarginLeft * m_nCharWidth,
                              m_nPageHeight - m_nMarginTop * m_nLineHeight - top);
    const UINT index = pInfo->m_nCurPage - 1;
    const bool whole = index >= m_vCharts.size() ||
                       m_vCharts[index]->DrawChartPart(pDC, pInfo->m_rectDraw, first, GetTickCount() + kPrintSliceMs);
    pDC->SetWindowOrg(0, 0);
    pDC->SelectObject(pOldFont);
    m_nPrintingPage = whole ? 0 : pInfo->m_nCurPage;
    if (!whole) pInfo->m_bPageUnfinished = TRUE;
}

void CPlotView::OnEndPrinting(CDC* pDC, CPrintInfo* pInfo)
{
    m_nPrintingPage = 0;
    CQORViewBase::OnEndPrinting(pDC, pInfo);
    for (CChartCtrl* pChart : m_vCharts) pChart->OnEndPrinting(pDC, pInfo);
}
