// A series of XY points.
#include "controls/chart/ChartXYSerie.h"

#include "controls/chart/ChartCtrl.h"

CChartXYSerie::CChartXYSerie(CChartCtrl* pParent) : CChartSerieBase<SChartXYPoint>(pParent) {}

CChartXYSerie::~CChartXYSerie() = default;

void CChartXYSerie::AddPoint(double x, double y)
{
    SChartXYPoint point;
    point.X = x;
    point.Y = y;
    const unsigned index = m_vPoints.AddPoint(point);
    // A point stored before others (ordered insertion) shifts what was drawn: redraw all.
    AfterPointsAdded(index + 1 < m_vPoints.GetPointsCount());
}

void CChartXYSerie::AddPoints(const double* pX, const double* pY, unsigned count)
{
    if (!pX || !pY || count == 0) return;
    m_vPoints.Reserve(m_vPoints.GetPointsCount() + count);
    bool insertedBefore = false;
    for (unsigned k = 0; k < count; ++k)
    {
        SChartXYPoint point;
        point.X = pX[k];
        point.Y = pY[k];
        if (m_vPoints.AddPoint(point) + 1 < m_vPoints.GetPointsCount()) insertedBefore = true;
    }
    AfterPointsAdded(insertedBefore);
}

void CChartXYSerie::AfterPointsAdded(bool insertedBefore)
{
    if (m_pHorizontalAxis) m_pHorizontalAxis->SeriesRangeGrew(this);
    if (m_pVerticalAxis) m_pVerticalAxis->SeriesRangeGrew(this);
    CChartCtrl* pChart = m_pParentCtrl;
    if (!pChart) return;
    pChart->AllowRefresh(false);
    if (m_pHorizontalAxis) m_pHorizontalAxis->RefreshAutoAxis();
    if (m_pVerticalAxis) m_pVerticalAxis->RefreshAutoAxis();
    if (insertedBefore) pChart->RefreshCtrl();
    pChart->AllowRefresh(true);

    // Incremental drawing only where the image is current and drawing is allowed.
    // A series that a redraw in slices has still to come to is drawn by it, in its turn.
    CDC* pDC = pChart->GetBackgroundDC();
    if (pChart->IsSeriesStillToDraw(GetSerieId())) return;
    if (pChart->IsRefreshAllowed() && pDC && pDC->GetSafeHdc() && pChart->GetSafeHwnd())
    {
        DrawNewPoints(pDC);
        pDC->SelectClipRgn(nullptr);
        pChart->Invalidate();
    }
    else
    {
        // Drawing is off (or there is no image yet): the points are drawn by the refresh
        // that follows (pending while drawing is disabled; nothing without a window).
        pChart->RefreshCtrl();
    }
}

CPoint CChartXYSerie::PointScreenPosition(unsigned uPointIndex) const
{
    const SChartXYPoint& point = m_vPoints.GetAt(uPointIndex);
    CPoint screen(0, 0);
    if (m_pHorizontalAxis)
        screen.x = m_pHorizontalAxis->IsDiscrete() ? m_pHorizontalAxis->DiscreteValueToScreen(point.X)
                                                   : m_pHorizontalAxis->ValueToScreen(point.X);
    if (m_pVerticalAxis)
        screen.y = m_pVerticalAxis->IsDiscrete() ? m_pVerticalAxis->DiscreteValueToScreen(point.Y)
                                                 : m_pVerticalAxis->ValueToScreen(point.Y);
    return screen;
}

void CChartXYSerie::ClipToPlot(CDC* pDC) const
{
    // In logical units, so that it also holds on a scaled (printer) DC.
    pDC->SelectClipRgn(nullptr);
    pDC->IntersectClipRect(&m_PlottingRect);
}

bool CChartXYSerie::WidenedPointRange(unsigned* pFirst, unsigned* pLast) const
{
    if (!VisiblePointRange(pFirst, pLast)) return false;
    if (*pFirst > 0) --*pFirst;
    if (*pLast + 1 < GetPointsCount()) ++*pLast;
    return true;
}
