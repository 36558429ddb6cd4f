// A series drawn as a line through its points.
#pragma once

#include "controls/chart/ChartXYSerie.h"

#include <vector>

class CChartLineSerie : public CChartXYSerie
{
public:
    explicit CChartLineSerie(CChartCtrl* pParent);
    ~CChartLineSerie() override;

    void SetWidth(int penWidth);
    int GetWidth() const { return m_iLineWidth; }
    void SetPenStyle(int penStyle);
    int GetPenStyle() const { return m_iPenStyle; }
    void SetSmooth(bool smooth);
    bool GetSmooth() const { return m_bSmooth; }

    bool HitTest(const CPoint& screenPoint, unsigned* pIndex) const override;
    void DrawLegendSample(CDC* pDC, const CRect& rectBitmap) override;
    void DrawNewPoints(CDC* pDC) override;
    void DrawAll(CDC* pDC) override;
    // A long straight line is drawn a stretch of points at a time (a million points take a tenth of a
    // second): each stretch starts at the point where the last one ended, so the line goes on unbroken.
    bool DrawAllPart(CDC* pDC, bool bFirst, DWORD deadline, std::size_t& pointsLeft) override;

    // Points from which a line is drawn in stretches of this many.
    static constexpr unsigned kPointsAStretch = 50000;

    // Bezier control points of a smooth line through the knots (n + 1 knots, n >= 2):
    // the result holds, per segment i, its first and second control point.
    static void ComputeBezierControlPoints(const std::vector<double>& knots, std::vector<double>& first,
                                           std::vector<double>& second);

private:
    // The visible range widened by one point at each end: false when there is no line.
    bool DrawnRange(unsigned* pFirst, unsigned* pLast) const;
    void CreateLinePen(CPen& pen, COLORREF colour) const;
    void DrawSmooth(CDC* pDC);
    // Draws the line through the points (a chain of Bezier segments when bBezier), with its
    // shadow under it when the series has one.
    void DrawLine(CDC* pDC, const std::vector<POINT>& points, bool bBezier) const;

    int m_iLineWidth = 1;
    int m_iPenStyle = PS_SOLID;
    bool m_bSmooth = false;
    // The screen points of points first..last, into points.
    void ScreenPoints(unsigned first, unsigned last, std::vector<POINT>& points) const;
    // Where the line drawn in stretches goes on, and on which DC.
    unsigned m_uStretchFrom = 0;
    const CDC* m_pStretchDC = nullptr;
};
