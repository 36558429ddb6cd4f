// The plot view's listener on a chart's line series: a click on a point shows its values in a
// message tip, a double click shows the run's description and the point's label.
#pragma once

#include "controls/chart/ChartMouseListener.h"
#include "controls/chart/ChartXYSerie.h"

#include <memory>

class CChartCtrl;
class CMessageTip;

class CMouseListener : public CChartSeriesMouseListener<SChartXYPoint>
{
public:
    explicit CMouseListener(CChartCtrl* pChart);
    ~CMouseListener() override;
    CMouseListener(const CMouseListener&) = delete;
    CMouseListener& operator=(const CMouseListener&) = delete;

    void OnMouseEventSeries(int mouseEvent, CPoint point, CChartSerie* pSerie, unsigned uPointIndex) override;

    CMessageTip* GetTip() const { return m_pTip.get(); }
    // "X: x\nY: y" with six significant digits.
    static CString PointText(double x, double y);

private:
    CChartCtrl* m_pChart;
    std::unique_ptr<CMessageTip> m_pTip;
};
