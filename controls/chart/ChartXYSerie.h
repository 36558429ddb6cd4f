// A series of XY points.
#pragma once

#include "controls/chart/ChartSerieBase.h"

#include <cstdint>

struct SChartXYPoint
{
    double X = 0.0;
    double Y = 0.0;
    std::uint32_t uFlags = 0; // 0 for every point added by AddPoint
};

class CChartXYSerie : public CChartSerieBase<SChartXYPoint>
{
public:
    explicit CChartXYSerie(CChartCtrl* pParent);
    ~CChartXYSerie() override;

    // Stores the point, follows it with automatic axes and draws what is new.
    void AddPoint(double x, double y);
    // Stores count points at once: the axes follow them once, and when their ranges stay the
    // new points are drawn onto the chart's image alone (else the chart is redrawn once).
    void AddPoints(const double* pX, const double* pY, unsigned count);
    double GetXPointValue(unsigned uPointIndex) const { return GetPoint(uPointIndex).X; }
    double GetYPointValue(unsigned uPointIndex) const { return GetPoint(uPointIndex).Y; }

    CPoint PointScreenPosition(unsigned uPointIndex) const override;

protected:
    // After points were stored: the axes follow them, then the new points are drawn (or the
    // whole chart, when insertedBefore or the axes changed, or later while drawing is off).
    void AfterPointsAdded(bool insertedBefore);
    // True when the series can be drawn: visible, with both axes.
    bool CanDraw() const { return m_bIsVisible && m_pHorizontalAxis && m_pVerticalAxis; }
    // Sets up a DC for drawing the series: clipped to the plotting rectangle.
    void ClipToPlot(CDC* pDC) const;
    // The visible range widened by one point at each end: a line to a point just outside, or
    // a marker centred just outside, still reaches into the plot. False when nothing is visible.
    bool WidenedPointRange(unsigned* pFirst, unsigned* pLast) const;
};
