// The point storage and the shared operations of a series of points of one type: ranges,
// the visible range, ordering and the mouse listener.
#pragma once

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartMouseListener.h"
#include "controls/chart/ChartPointsArray.h"
#include "controls/chart/ChartSerie.h"

template <class PointType>
class CChartSerieBase : public CChartSerie
{
public:
    explicit CChartSerieBase(CChartCtrl* pParent) : CChartSerie(pParent) {}
    ~CChartSerieBase() override = default;

    unsigned GetPointsCount() const override { return m_vPoints.GetPointsCount(); }
    // The points the series has room for.
    unsigned GetPointsCapacity() const { return m_vPoints.GetCapacity(); }
    // The point at uIndex (< GetPointsCount()).
    const PointType& GetPoint(unsigned uIndex) const { return m_vPoints.GetAt(uIndex); }
    int GetSeriesOrdering() const { return m_vPoints.GetOrdering(); }
    unsigned GetLastDrawnPoint() const { return m_uLastDrawnPoint; }

    bool GetXRange(double* pMin, double* pMax) const override
    {
        if (!m_bIsVisible || m_vPoints.GetPointsCount() == 0) return false;
        *pMin = m_vPoints.GetXMin();
        *pMax = m_vPoints.GetXMax();
        return true;
    }
    bool GetYRange(double* pMin, double* pMax) const override
    {
        if (!m_bIsVisible || m_vPoints.GetPointsCount() == 0) return false;
        *pMin = m_vPoints.GetYMin();
        *pMax = m_vPoints.GetYMax();
        return true;
    }
    bool GetVisibleYRange(double* pMin, double* pMax) const override
    {
        return m_vPoints.GetOrdering() == qor::chart::poXOrdering && VisibleRangeOf(false, pMin, pMax);
    }
    bool GetVisibleXRange(double* pMin, double* pMax) const override
    {
        return m_vPoints.GetOrdering() == qor::chart::poYOrdering && VisibleRangeOf(true, pMin, pMax);
    }

    // The points inside the range of the axis of the ordering, found by binary search
    // (all points without ordering): false without points.
    bool VisiblePointRange(unsigned* pFirst, unsigned* pLast) const override
    {
        double min = 0, max = 0;
        const CChartAxis* pAxis = nullptr;
        if (m_vPoints.GetOrdering() == qor::chart::poXOrdering)
            pAxis = m_pHorizontalAxis;
        else if (m_vPoints.GetOrdering() == qor::chart::poYOrdering)
            pAxis = m_pVerticalAxis;
        if (pAxis)
            pAxis->GetMinMax(min, max);
        else if (m_vPoints.GetPointsCount() > 0)
        {
            *pFirst = 0;
            *pLast = m_vPoints.GetPointsCount() - 1;
            return true;
        }
        return m_vPoints.GetVisibleRange(min, max, pFirst, pLast);
    }

    void SetSeriesOrdering(int ordering) override { m_vPoints.SetOrdering(ordering); }

    // The caller keeps ownership of the listener.
    void RegisterMouseListener(CChartSeriesMouseListener<PointType>* pListener) { m_pMouseListener = pListener; }
    void UnregisterMouseListener() { m_pMouseListener = nullptr; }
    CChartSeriesMouseListener<PointType>* GetMouseListener() const { return m_pMouseListener; }

    bool NotifyMouseEvent(int mouseEvent, const CPoint& screenPoint) override
    {
        if (!m_pMouseListener || !m_bIsVisible) return false;
        if (mouseEvent == cmeMouseMove ? !m_bNotifyMoves : !m_bNotifyClicks) return false;
        unsigned index = kChartNoPoint;
        if (!HitTest(screenPoint, &index)) return false;
        m_pMouseListener->OnMouseEventSeries(mouseEvent, screenPoint, this, index);
        return true;
    }

    // No point labels exist in this chart.
    void DrawLabels(CDC* pDC) override { (void)pDC; }

protected:
    bool VisibleRangeOf(bool x, double* pMin, double* pMax) const
    {
        unsigned first = 0, last = 0;
        if (!m_bIsVisible || !VisiblePointRange(&first, &last)) return false;
        double min = x ? m_vPoints.GetAt(first).X : m_vPoints.GetAt(first).Y;
        double max = min;
        for (unsigned i = first + 1; i <= last; ++i)
        {
            const double v = x ? m_vPoints.GetAt(i).X : m_vPoints.GetAt(i).Y;
            if (v < min) min = v;
            if (v > max) max = v;
        }
        *pMin = min;
        *pMax = max;
        return true;
    }

    qor::chart::CChartPointsArray<PointType> m_vPoints;
    // Where incremental drawing goes on: for a line the index of the last point drawn,
    // for markers the number of points already drawn.
    unsigned m_uLastDrawnPoint = 0;
    CChartSeriesMouseListener<PointType>* m_pMouseListener = nullptr;
};
