// The base of every chart series: what a series is drawn against (its chart and two axes), how it looks in
// general (name, colour, shadow, visibility) and the operations the chart calls on it (ranges, drawing, hit
// tests, mouse events).
#include "controls/chart/ChartSerie.h"

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartLegend.h"

unsigned CChartSerie::m_uNextFreeId = 0;

CChartSerie::CChartSerie(CChartCtrl* pParent) : m_pParentCtrl(pParent), m_uSerieId(m_uNextFreeId++) {}

CChartSerie::~CChartSerie()
{
    if (m_pVerticalAxis) m_pVerticalAxis->UnregisterSeries(this);
    if (m_pHorizontalAxis) m_pHorizontalAxis->UnregisterSeries(this);
}

void CChartSerie::RefreshParent()
{
    // A series without points shows nothing but its legend entry.
    if (GetPointsCount() == 0 &&
        !(m_pParentCtrl && m_pParentCtrl->GetLegend() && m_pParentCtrl->GetLegend()->IsVisible()))
        return;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartSerie::SetName(const CString& name)
{
    m_strSerieName = name;
    RefreshParent();
}

void CChartSerie::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    if (m_pVerticalAxis) m_pVerticalAxis->SeriesRangeChanged();
    if (m_pHorizontalAxis) m_pHorizontalAxis->SeriesRangeChanged();
    RefreshParent();
}

void CChartSerie::SetColour(COLORREF colour)
{
    m_SerieColour = colour;
    RefreshParent();
}

void CChartSerie::SetShadowColour(COLORREF colour)
{
    m_ShadowColour = colour;
    RefreshParent();
}

void CChartSerie::EnableShadow(bool enable)
{
    m_bShadow = enable;
    RefreshParent();
}

void CChartSerie::SetShadowDepth(int depth)
{
    m_iShadowDepth = depth;
    RefreshParent();
}

void CChartSerie::EnableMouseNotifications(bool clicks, bool moves)
{
    m_bNotifyClicks = clicks;
    m_bNotifyMoves = moves;
}
