// The chart control: a child window that draws an XY chart (up to four axes, line and points series, a title,
// a legend, a border and a background) into an off-screen bitmap that it copies to the screen.
#include "controls/chart/ChartCtrl.h"

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartLegend.h"
#include "controls/chart/ChartLineFamilySerie.h"
#include "controls/chart/ChartLineSerie.h"
#include "controls/chart/ChartPointsSerie.h"
#include "controls/chart/ChartScrollBar.h"
#include "controls/chart/ChartStandardAxis.h"
#include "controls/chart/ChartTitle.h"

namespace {

// Colours of new series, in turn.
const COLORREF kSeriesColours[10] = {0x0000FF, 0x009600, 0xFF0000, 0x00FFFF, 0xFFFF00,
                                     0x0080FF, 0x800080, 0x008080, 0xFF00FF, 0x808040};

// Axis positions in the order layout and drawing visit them.
const int kLayoutOrder[4] = {CChartAxis::LeftAxis, CChartAxis::BottomAxis, CChartAxis::RightAxis, CChartAxis::TopAxis};

} // namespace

namespace {
// Posted to the chart itself: the next slice of a redraw.
constexpr UINT WM_REDRAWPENDING = WM_APP + 0x51;
} // namespace

BEGIN_MESSAGE_MAP(CChartCtrl, CWnd)
ON_MESSAGE(WM_REDRAWPENDING, OnRedrawPending)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_RBUTTONUP()
ON_WM_RBUTTONDBLCLK()
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

CChartCtrl::CChartCtrl()
{
    RegisterWndClass();
    m_BackGradientCol1 = m_BackGradientCol2 = m_BackColor = GetSysColor(COLOR_BTNFACE);
    m_pLegend = new CChartLegend(this);
    m_pTitles = new CChartTitle(this);
}

CChartCtrl::~CChartCtrl()
{
    for (auto& entry : m_mapSeries) delete entry.second;
    m_mapSeries.clear();
    for (CChartAxis*& pAxis : m_pAxes)
    {
        delete pAxis;
        pAxis = nullptr;
    }
    delete m_pLegend;
    m_pLegend = nullptr;
    delete m_pTitles;
    m_pTitles = nullptr;
    DeleteBackground();
}

void CChartCtrl::RegisterWndClass()
{
    WNDCLASS wndcls{};
    const HINSTANCE hInst = AfxGetInstanceHandle();
    if (GetClassInfoW(hInst, CHARTCTRL_CLASSNAME, &wndcls)) return;
    wndcls = WNDCLASS{};
    wndcls.style = CS_DBLCLKS;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wndcls.lpszClassName = CHARTCTRL_CLASSNAME;
    AfxRegisterClass(&wndcls);
}

// ---- Axes and series ------------------------------------------------------------------------

CChartStandardAxis* CChartCtrl::CreateStandardAxis(int position)
{
    if (position < 0 || position > 3) return nullptr;
    CChartStandardAxis* pAxis = new CChartStandardAxis();
    AttachAxis(pAxis, position);
    return pAxis;
}

void CChartCtrl::AttachAxis(CChartAxis* pAxis, int position)
{
    pAxis->SetParent(this);
    pAxis->SetSecondary(position == CChartAxis::RightAxis || position == CChartAxis::TopAxis);
    pAxis->SetHorizontal(position == CChartAxis::BottomAxis || position == CChartAxis::TopAxis);

    CChartAxis* pOld = m_pAxes[position];
    m_pAxes[position] = pAxis;
    if (pOld)
    {
        // The series that used the old axis go on with the new one.
        for (auto& entry : m_mapSeries)
        {
            CChartSerie* pSerie = entry.second;
            if (pSerie->GetVerticalAxis() == pOld)
            {
                pSerie->SetVerticalAxis(pAxis);
                pAxis->RegisterSeries(pSerie);
            }
            if (pSerie->GetHorizontalAxis() == pOld)
            {
                pSerie->SetHorizontalAxis(pAxis);
                pAxis->RegisterSeries(pSerie);
            }
        }
        delete pOld;
    }
    pAxis->CreateScrollBar();
}

CChartAxis* CChartCtrl::GetAxis(int position) const
{
    return (position >= 0 && position < 4) ? m_pAxes[position] : nullptr;
}

CChartLineSerie* CChartCtrl::CreateLineSerie()
{
    CChartLineSerie* pSerie = new CChartLineSerie(this);
    AddSerie(pSerie);
    return pSerie;
}

CChartLineFamilySerie* CChartCtrl::CreateLineFamilySerie()
{
    CChartLineFamilySerie* pSerie = new CChartLineFamilySerie(this);
    AddSerie(pSerie);
    return pSerie;
}

CChartPointsSerie* CChartCtrl::CreatePointsSerie()
{
    CChartPointsSerie* pSerie = new CChartPointsSerie(this);
    AddSerie(pSerie);
    return pSerie;
}

void CChartCtrl::AddSerie(CChartSerie* pSerie)
{
    pSerie->SetPlottingRect(m_PlottingRect);
    pSerie->InitColour(kSeriesColours[m_mapSeries.size() % 10]);
    CChartAxis* pVertical = m_pAxes[CChartAxis::LeftAxis];
    CChartAxis* pHorizontal = m_pAxes[CChartAxis::BottomAxis];
    pSerie->SetVerticalAxis(pVertical);
    pSerie->SetHorizontalAxis(pHorizontal);
    m_mapSeries[pSerie->GetSerieId()] = pSerie;

    AllowRefresh(false);
    if (pVertical)
    {
        pVertical->RegisterSeries(pSerie);
        pVertical->RefreshAutoAxis();
    }
    if (pHorizontal)
    {
        pHorizontal->RegisterSeries(pSerie);
        pHorizontal->RefreshAutoAxis();
    }
    // A series without points changes only the legend; the axes redraw themselves on a change.
    if (m_pLegend->IsVisible() || pSerie->GetPointsCount() > 0)
        RefreshCtrl(); // pending: one redraw when drawing is enabled
    AllowRefresh(true);
}

CChartSerie* CChartCtrl::GetSerie(unsigned serieId) const
{
    auto it = m_mapSeries.find(serieId);
    return it != m_mapSeries.end() ? it->second : nullptr;
}

void CChartCtrl::RemoveSerie(unsigned serieId)
{
    auto it = m_mapSeries.find(serieId);
    if (it == m_mapSeries.end()) return;
    delete it->second;
    m_mapSeries.erase(it);
    RefreshCtrl();
}

void CChartCtrl::RemoveAllSeries()
{
    for (auto& entry : m_mapSeries) delete entry.second;
    m_mapSeries.clear();
    RefreshCtrl();
}

// ---- Looks ------------------------------------------------------------------------------------

void CChartCtrl::SetEdgeType(UINT edgeType)
{
    m_EdgeType = edgeType;
    RefreshCtrl();
}

void CChartCtrl::SetBackColour(COLORREF colour)
{
    m_BackColor = colour;
    m_bBackGradient = false;
    RefreshCtrl();
}

void CChartCtrl::SetBorderColour(COLORREF colour)
{
    m_BorderColor = colour;
    RefreshCtrl();
}

void CChartCtrl::SetBackGradient(COLORREF col1, COLORREF col2, int gradientType)
{
    m_BackGradientCol1 = col1;
    m_BackGradientCol2 = col2;
    m_BackGradientType = gradientType;
    m_bBackGradient = true;
    RefreshCtrl();
}

// ---- Refresh ------------------------------------------------------------------------------------

void CChartCtrl::AllowRefresh(bool allow)
{
    m_iEnableRefresh += allow ? 1 : -1;
    if (m_iEnableRefresh > 0 && m_bPendingRefresh)
    {
        m_bPendingRefresh = false;
        RefreshCtrl();
    }
}

void CChartCtrl::DeleteBackground()
{
    if (m_BackgroundDC.GetSafeHdc())
    {
        if (m_pOldBackgroundBitmap) m_BackgroundDC.SelectObject(m_pOldBackgroundBitmap);
        m_BackgroundDC.DeleteDC();
    }
    m_pOldBackgroundBitmap = nullptr;
    m_BackgroundBitmap.DeleteObject();
}

void CChartCtrl::RefreshCtrl()
{
    if (!GetSafeHwnd()) return;
    if (m_iEnableRefresh < 1)
    {
        m_bPendingRefresh = true;
        return;
    }
    m_bPendingRefresh = false;

    CRect clientRect;
    GetClientRect(&clientRect);
    if (clientRect.IsRectEmpty())
    {
        // Nothing to draw on: the image is made once the window has a size.
        DeleteBackground();
        return;
    }
    if (!m_BackgroundDC.GetSafeHdc())
    {
        CClientDC dc(this);
        m_BackgroundDC.CreateCompatibleDC(&dc);
        m_BackgroundBitmap.CreateCompatibleBitmap(&dc, clientRect.Width(), clientRect.Height());
        m_BackgroundSize = CSize(clientRect.Width(), clientRect.Height());
        m_pOldBackgroundBitmap = m_BackgroundDC.SelectObject(&m_BackgroundBitmap);
    }

    DrawBackground(&m_BackgroundDC, clientRect);
    clientRect.DeflateRect(3, 3);
    std::size_t nPoints = 0;
    for (const auto& entry : m_mapSeries) nPoints += entry.second->GetPointsCount();
    if (nPoints <= kPointsDrawnAtOnce)
    {
        m_bRedrawing = false;
        DrawChart(&m_BackgroundDC, clientRect);
    }
    else
    {
        // The frame now, the series a slice at a time from the message loop, oldest first as in
        // one go: a step that changes the chart more than once pays for the frame only.
        LayOutAndDraw(&m_BackgroundDC, clientRect, true, false);
        m_bRedrawing = true;
        m_uRedrawNext = 0;
        m_bRedrawPartDrawn = false;
        if (!m_bRedrawPosted) m_bRedrawPosted = PostMessage(WM_REDRAWPENDING) != FALSE;
        if (!m_bRedrawPosted) DrawSeriesSlice(true);
    }
    ++m_uRedrawCount;

    for (CChartAxis* pAxis : m_pAxes)
    {
        if (pAxis) pAxis->UpdateScrollBarPos();
    }
    Invalidate(TRUE);
}

void CChartCtrl::DrawSeriesSlice(bool bAll)
{
    if (!m_bRedrawing) return;
    if (!m_BackgroundDC.GetSafeHdc())
    {
        m_bRedrawing = false;
        return;
    }
    CRect seriesRect = m_PlottingRect;
    seriesRect.right += 1;
    seriesRect.bottom += 1;
    const DWORD start = GetTickCount();
    // A series that draws in parts may take several slices; it goes on where it stopped. A slice ends
    // after kSliceMs, or once it has drawn as many points as a chart drawn in one go has: however fast
    // the machine, a chart of many times that comes in as many slices.
    const DWORD deadline = start + (bAll ? 0x7FFFFFFFu : kSliceMs);
    std::size_t pointsLeft = bAll ? SIZE_MAX : kPointsDrawnAtOnce;
    auto it = m_mapSeries.lower_bound(m_uRedrawNext);
    while (it != m_mapSeries.end())
    {
        it->second->SetPlottingRect(seriesRect);
        const bool first = !(m_bRedrawPartDrawn && it->first == m_uRedrawNext);
        m_bRedrawPartDrawn = false;
        if (!it->second->DrawAllPart(&m_BackgroundDC, first, deadline, pointsLeft))
        {
            m_bRedrawPartDrawn = true;
            break;
        }
        ++it;
        if (!bAll && (GetTickCount() - start >= kSliceMs || pointsLeft == 0)) break;
    }
    m_BackgroundDC.SelectClipRgn(nullptr);
    if (it == m_mapSeries.end())
    {
        m_bRedrawing = false;
        for (auto& entry : m_mapSeries) entry.second->DrawLabels(&m_BackgroundDC);
        m_BackgroundDC.SelectClipRgn(nullptr);
        m_pLegend->Draw(&m_BackgroundDC);
        return;
    }
    m_uRedrawNext = it->first;
    // Posted behind what came meanwhile: paints, clicks and keys go first. Without a message
    // loop to come back from, the rest is drawn now.
    if (!m_bRedrawPosted) m_bRedrawPosted = PostMessage(WM_REDRAWPENDING) != FALSE;
    if (!m_bRedrawPosted) DrawSeriesSlice(true);
}

LRESULT CChartCtrl::OnRedrawPending(WPARAM, LPARAM)
{
    m_bRedrawPosted = false;
    if (!m_bRedrawing) return 0;
    DrawSeriesSlice(false);
    Invalidate(FALSE);
    return 0;
}

void CChartCtrl::ContinueRedraw()
{
    if (!m_bRedrawing) return;
    DrawSeriesSlice(false);
    Invalidate(FALSE);
}

void CChartCtrl::FinishRedraw()
{
    if (!m_bRedrawing) return;
    DrawSeriesSlice(true);
    Invalidate(FALSE);
}

void CChartCtrl::ResetZoom()
{
    AllowRefresh(false);
    const int order[4] = {CChartAxis::BottomAxis, CChartAxis::LeftAxis, CChartAxis::TopAxis, CChartAxis::RightAxis};
    for (int position : order)
    {
        if (m_pAxes[position]) m_pAxes[position]->UndoZoom();
    }
    AllowRefresh(true);
}

void CChartCtrl::RecalcScreenAutoAxes()
{
    for (CChartAxis* pAxis : m_pAxes)
    {
        if (!pAxis) continue;
        pAxis->RefreshScrollBar();
        if (pAxis->GetAutomaticMode() == 2) pAxis->RefreshAutoAxis();
    }
}

// ---- Drawing ------------------------------------------------------------------------------------

void CChartCtrl::FillGradient(CDC* pDC, const CRect& rect)
{
    auto vertex = [](LONG x, LONG y, COLORREF c) {
        TRIVERTEX v{};
        v.x = x;
        v.y = y;
        v.Red = static_cast<COLOR16>(GetRValue(c) << 8);
        v.Green = static_cast<COLOR16>(GetGValue(c) << 8);
        v.Blue = static_cast<COLOR16>(GetBValue(c) << 8);
        v.Alpha = 0;
        return v;
    };
    GRADIENT_RECT mesh{0, 1};
    switch (m_BackGradientType)
    {
    case 0:
    case 1: {
        TRIVERTEX v[2] = {vertex(rect.left, rect.top, m_BackGradientCol1),
                          vertex(rect.right, rect.bottom, m_BackGradientCol2)};
        pDC->GradientFill(v, 2, &mesh, 1, m_BackGradientType == 0 ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
        break;
    }
    case 2: {
        const int half = rect.Width() / 2;
        TRIVERTEX a[2] = {vertex(rect.left, rect.top, m_BackGradientCol1),
                          vertex(rect.left + half, rect.bottom, m_BackGradientCol2)};
        TRIVERTEX b[2] = {vertex(rect.left + half, rect.top, m_BackGradientCol2),
                          vertex(rect.right, rect.bottom, m_BackGradientCol1)};
        pDC->GradientFill(a, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
        pDC->GradientFill(b, 2, &mesh, 1, GRADIENT_FILL_RECT_H);
        break;
    }
    default: {
        const int half = rect.Height() / 2;
        TRIVERTEX a[2] = {vertex(rect.left, rect.top, m_BackGradientCol1),
                          vertex(rect.right, rect.top + half, m_BackGradientCol2)};
        TRIVERTEX b[2] = {vertex(rect.left, rect.top + half, m_BackGradientCol2),
                          vertex(rect.right, rect.bottom, m_BackGradientCol1)};
        pDC->GradientFill(a, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
        pDC->GradientFill(b, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
        break;
    }
    }
}

void CChartCtrl::DrawBackground(CDC* pDC, CRect ChartRect)
{
    if (m_bBackGradient)
        FillGradient(pDC, ChartRect);
    else
    {
        pDC->SetBkColor(m_BackColor);
        CBrush brush(m_BackColor);
        pDC->FillRect(&ChartRect, &brush);
    }
    pDC->DrawEdge(&ChartRect, m_EdgeType, BF_RECT);
}

void CChartCtrl::DrawChart(CDC* pDC, CRect ChartRect) { LayOutAndDraw(pDC, ChartRect, true); }

bool CChartCtrl::DrawChartPart(CDC* pDC, CRect ChartRect, bool bFirst, DWORD deadline)
{
    if (bFirst)
    {
        LayOutAndDraw(pDC, ChartRect, true, false);
        m_uPartNext = m_mapSeries.empty() ? 0 : m_mapSeries.begin()->first;
        m_bPartDrawn = false;
    }
    else
    {
        // Laid out on the DC again: a redraw of the screen image meanwhile lays the axes out on it.
        LayOutAndDraw(pDC, ChartRect, false);
    }
    CRect seriesRect = m_PlottingRect;
    seriesRect.right += 1;
    seriesRect.bottom += 1;
    for (auto it = m_mapSeries.lower_bound(m_uPartNext); it != m_mapSeries.end();)
    {
        it->second->SetPlottingRect(seriesRect);
        const bool first = !(m_bPartDrawn && it->first == m_uPartNext);
        m_uPartNext = it->first;
        std::size_t pointsLeft = SIZE_MAX; // on another DC, parts go by the deadline alone
        m_bPartDrawn = !it->second->DrawAllPart(pDC, first, deadline, pointsLeft);
        if (m_bPartDrawn) return false;
        if (++it == m_mapSeries.end()) break;
        m_uPartNext = it->first;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return false;
    }
    for (auto& entry : m_mapSeries) entry.second->DrawLabels(pDC);
    pDC->SelectClipRgn(nullptr);
    m_pLegend->Draw(pDC);
    return true;
}

void CChartCtrl::RecalcAxesLayout()
{
    if (!GetSafeHwnd()) return;
    CRect clientRect;
    GetClientRect(&clientRect);
    if (clientRect.IsRectEmpty()) return;
    clientRect.DeflateRect(3, 3); // as RefreshCtrl
    CClientDC dc(this);
    LayOutAndDraw(&dc, clientRect, false);
}

void CChartCtrl::LayOutAndDraw(CDC* pDC, CRect ChartRect, bool bDraw, bool bSeries)
{
    m_PlottingRect = ChartRect;
    CRect working = ChartRect;

    // The title across the top.
    const CSize titleSize = m_pTitles->Measure(pDC);
    m_pTitles->SetTitleRect(CRect(ChartRect.left, ChartRect.top, ChartRect.right, ChartRect.top + titleSize.cy));
    working.top += titleSize.cy;
    if (bDraw) m_pTitles->Draw(pDC);

    // The legend on its side.
    m_pLegend->Measure(pDC, working);
    const CRect legendRect = m_pLegend->GetLegendRect();
    if (m_pLegend->IsVisible() && m_pLegend->IsDocked() && !legendRect.IsRectEmpty())
    {
        switch (m_pLegend->GetDockSide())
        {
        case CChartLegend::dsDockRight: working.right = legendRect.left + 2; break;
        case CChartLegend::dsDockLeft: working.left = legendRect.right - 2; break;
        case CChartLegend::dsDockTop: working.top = legendRect.bottom + 2; break;
        default: working.bottom = legendRect.top - 2; break;
        }
    }

    // Axes: a first pass takes the margins out of the plot, the second draws on it.
    for (int pass = 0; pass < 2; ++pass)
    {
        for (int position : kLayoutOrder)
        {
            CChartAxis* pAxis = m_pAxes[position];
            if (!pAxis) continue;
            CRect axisRect = working;
            switch (position)
            {
            case CChartAxis::LeftAxis: axisRect.right = m_PlottingRect.left; break;
            case CChartAxis::BottomAxis: axisRect.top = m_PlottingRect.bottom; break;
            case CChartAxis::RightAxis: axisRect.left = m_PlottingRect.right; break;
            default: axisRect.bottom = m_PlottingRect.top; break;
            }
            pAxis->SetAxisSize(m_PlottingRect, axisRect);
            pAxis->RefreshTicks();
            if (pass == 0)
                pAxis->ReduceForMargin(m_PlottingRect, pDC, working);
            else if (bDraw)
                pAxis->Draw(pDC);
        }
    }
    if (!bDraw) return;

    // The border around the plot.
    CPen borderPen(PS_SOLID, 1, m_BorderColor);
    CPen* pOldPen = pDC->SelectObject(&borderPen);
    pDC->MoveTo(m_PlottingRect.left, m_PlottingRect.top);
    pDC->LineTo(m_PlottingRect.right, m_PlottingRect.top);
    pDC->LineTo(m_PlottingRect.right, m_PlottingRect.bottom);
    pDC->LineTo(m_PlottingRect.left, m_PlottingRect.bottom);
    pDC->LineTo(m_PlottingRect.left, m_PlottingRect.top);
    pDC->SelectObject(pOldPen);
    if (!bSeries) return;

    // The series, oldest first, then their labels.
    CRect seriesRect = m_PlottingRect;
    seriesRect.right += 1;
    seriesRect.bottom += 1;
    for (auto& entry : m_mapSeries)
    {
        entry.second->SetPlottingRect(seriesRect);
        entry.second->DrawAll(pDC);
    }
    for (auto& entry : m_mapSeries) entry.second->DrawLabels(pDC);
    pDC->SelectClipRgn(nullptr);

    m_pLegend->Draw(pDC);
}

// ---- Messages ------------------------------------------------------------------------------------

void CChartCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect clientRect;
    GetClientRect(&clientRect);
    // An image of another size (the window was resized since) is made again now.
    const bool stale =
        !clientRect.IsRectEmpty() &&
        (!m_BackgroundDC.GetSafeHdc() || m_BackgroundSize != CSize(clientRect.Width(), clientRect.Height()));
    if (stale) DeleteBackground();
    if (!m_bPaintedOnce || stale)
    {
        RefreshCtrl();
        m_bPaintedOnce = true;
    }
    if (m_BackgroundDC.GetSafeHdc())
        dc.BitBlt(0, 0, clientRect.Width(), clientRect.Height(), &m_BackgroundDC, 0, 0, SRCCOPY);

    if (m_bLMouseDown && m_bZoomEnabled)
    {
        CPen pen(PS_SOLID, 1, m_ZoomRectColor);
        CPen* pOldPen = dc.SelectObject(&pen);
        dc.MoveTo(m_rectZoomArea.left, m_rectZoomArea.top);
        dc.LineTo(m_rectZoomArea.right, m_rectZoomArea.top);
        dc.LineTo(m_rectZoomArea.right, m_rectZoomArea.bottom);
        dc.LineTo(m_rectZoomArea.left, m_rectZoomArea.bottom);
        dc.LineTo(m_rectZoomArea.left, m_rectZoomArea.top);
        dc.SelectObject(pOldPen);
    }
}

BOOL CChartCtrl::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return 0;
}

void CChartCtrl::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    // The image is made again when the window is painted at a size it was not drawn for, not at
    // every size it passes through: a tab brought back is restored and maximised on its way, and
    // a plot of thousands of curves would be drawn twice for a window that ends as it was.
    Invalidate();
}

void CChartCtrl::SendMouseEvent(int mouseEvent, const CPoint& point)
{
    for (auto it = m_mapSeries.rbegin(); it != m_mapSeries.rend(); ++it)
    {
        if (it->second->NotifyMouseEvent(mouseEvent, point)) break;
    }
}

void CChartCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (m_bRMouseDown && m_bPanEnabled && point != m_PanAnchor)
    {
        AllowRefresh(false);
        if (m_pAxes[CChartAxis::LeftAxis]) m_pAxes[CChartAxis::LeftAxis]->PanByPixels(m_PanAnchor.y, point.y);
        if (m_pAxes[CChartAxis::RightAxis]) m_pAxes[CChartAxis::RightAxis]->PanByPixels(m_PanAnchor.y, point.y);
        if (m_pAxes[CChartAxis::BottomAxis]) m_pAxes[CChartAxis::BottomAxis]->PanByPixels(m_PanAnchor.x, point.x);
        if (m_pAxes[CChartAxis::TopAxis]) m_pAxes[CChartAxis::TopAxis]->PanByPixels(m_PanAnchor.x, point.x);
        RefreshCtrl();
        AllowRefresh(true);
        UpdateWindow();
        m_PanAnchor = point;
    }

    if (m_bLMouseDown && m_bZoomEnabled)
    {
        m_rectZoomArea.right = point.x;
        m_rectZoomArea.bottom = point.y;
        Invalidate();
    }

    // Scroll bars that hide themselves show only while the mouse is over them.
    for (CChartAxis* pAxis : m_pAxes)
    {
        if (pAxis && pAxis->GetScrollBar()) pAxis->GetScrollBar()->OnMouseLeave();
    }
    for (CChartAxis* pAxis : m_pAxes)
    {
        CChartScrollBar* pBar = pAxis ? pAxis->GetScrollBar() : nullptr;
        if (!pBar || !pBar->GetSafeHwnd() || !pBar->GetEnabled()) continue;
        CRect barRect;
        pBar->GetWindowRect(&barRect);
        ScreenToClient(&barRect);
        if (barRect.PtInRect(point))
        {
            pBar->OnMouseEnter();
            break;
        }
    }

    if (m_PlottingRect.PtInRect(point) && !m_bMouseVisible)
        SetCursor(nullptr);
    else
        SetCursor(::LoadCursor(nullptr, IDC_ARROW));

    SendMouseEvent(cmeMouseMove, point);
}

void CChartCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    SetCapture();
    if (m_bZoomEnabled)
    {
        m_bLMouseDown = true;
        m_rectZoomArea.SetRect(point.x, point.y, point.x, point.y);
    }
    SendMouseEvent(cmeLButtonDown, point);
}

void CChartCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    ReleaseCapture();
    const bool wasZooming = m_bLMouseDown;
    m_bLMouseDown = false;
    if (m_bZoomEnabled && wasZooming)
    {
        const CRect& zoom = m_rectZoomArea;
        if (zoom.right > zoom.left && zoom.bottom > zoom.top)
        {
            // Dragged right and down: every axis takes the values under the rectangle.
            AllowRefresh(false);
            for (CChartAxis* pAxis : m_pAxes)
            {
                if (!pAxis) continue;
                double a, b;
                if (pAxis->IsHorizontal())
                {
                    a = pAxis->ScreenToValue(zoom.left);
                    b = pAxis->ScreenToValue(zoom.right);
                }
                else
                {
                    a = pAxis->ScreenToValue(zoom.bottom);
                    b = pAxis->ScreenToValue(zoom.top);
                }
                pAxis->SetZoomMinMax(a < b ? a : b, a < b ? b : a);
            }
            RefreshCtrl();
            AllowRefresh(true);
        }
        else if (zoom.right < zoom.left || zoom.bottom < zoom.top)
        {
            ResetZoom();
        }
        else
        {
            Invalidate(); // a click: only the rectangle goes
        }
    }
    SendMouseEvent(cmeLButtonUp, point);
}

void CChartCtrl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    (void)nFlags;
    SendMouseEvent(cmeLButtonDoubleClick, point);
}

void CChartCtrl::OnRButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    SetCapture();
    m_bRMouseDown = true;
    if (m_bPanEnabled) m_PanAnchor = point;
    SendMouseEvent(cmeRButtonDown, point);
}

void CChartCtrl::OnRButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    ReleaseCapture();
    m_bRMouseDown = false;
    SendMouseEvent(cmeRButtonUp, point);
}

void CChartCtrl::OnRButtonDblClk(UINT nFlags, CPoint point)
{
    (void)nFlags;
    SendMouseEvent(cmeRButtonDoubleClick, point);
}

void CChartCtrl::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (CChartScrollBar* pBar = dynamic_cast<CChartScrollBar*>(pScrollBar)) pBar->OnHScroll(nSBCode, nPos);
    CWnd::OnHScroll(nSBCode, nPos, pScrollBar);
    RefreshCtrl();
}

void CChartCtrl::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
{
    if (CChartScrollBar* pBar = dynamic_cast<CChartScrollBar*>(pScrollBar)) pBar->OnVScroll(nSBCode, nPos);
    CWnd::OnVScroll(nSBCode, nPos, pScrollBar);
    RefreshCtrl();
}
