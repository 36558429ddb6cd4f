// A series drawn as a marker at each point.
#pragma once

#include "controls/chart/ChartXYSerie.h"

class CChartPointsSerie : public CChartXYSerie
{
public:
    enum PointType
    {
        ptEllipse = 0,
        ptRectangle = 1,
        ptTriangle = 2
    };

    explicit CChartPointsSerie(CChartCtrl* pParent);
    ~CChartPointsSerie() override;

    void SetPointSize(int width, int height);
    void GetPointSize(int& width, int& height) const
    {
        width = m_iXPointSize;
        height = m_iYPointSize;
    }
    void SetPointType(int type);
    int GetPointType() const { return m_iPointType; }
    void SetBorderColour(COLORREF colour);
    COLORREF GetBorderColour() const { return m_colBorder; }

    bool HitTest(const CPoint& screenPoint, unsigned* pIndex) const override;
    void DrawLegendSample(CDC* pDC, const CRect& rectBitmap) override;
    void DrawNewPoints(CDC* pDC) override;
    void DrawAll(CDC* pDC) override;

private:
    void DrawMarkers(CDC* pDC, unsigned first, unsigned last);
    void DrawMarker(CDC* pDC, const CRect& rect);

    int m_iXPointSize = 5;
    int m_iYPointSize = 5;
    int m_iPointType = ptEllipse;
    COLORREF m_colBorder = 0;
};
