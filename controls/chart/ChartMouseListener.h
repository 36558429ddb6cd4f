// The interface through which a series reports a mouse event on one of its points.
#pragma once

#include "platform/core/Geometry.h"

class CChartSerie;

// The mouse event kinds passed to listeners.
enum EChartMouseEvent
{
    cmeMouseMove = 0,
    cmeLButtonUp = 1,
    cmeLButtonDown = 2,
    cmeLButtonDoubleClick = 3,
    cmeRButtonUp = 4,
    cmeRButtonDown = 5,
    cmeRButtonDoubleClick = 6,
};

// The point index of an event that is near a line but on none of its points.
constexpr unsigned kChartNoPoint = 0xFFFFFFFFu;

template <class PointType>
class CChartSeriesMouseListener
{
public:
    virtual ~CChartSeriesMouseListener() {}
    // mouseEvent: an EChartMouseEvent; uPointIndex: the point hit, or kChartNoPoint. The
    // chart's series are XY series: CChartXYSerie::GetXPointValue / GetYPointValue read the point.
    virtual void OnMouseEventSeries(int mouseEvent, CPoint point, CChartSerie* pSerie, unsigned uPointIndex)
    {
        (void)mouseEvent;
        (void)point;
        (void)pSerie;
        (void)uPointIndex;
    }
};
