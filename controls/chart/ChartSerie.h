// The base of every chart series: what a series is drawn against (its chart and two axes),
// how it looks in general (name, colour, shadow, visibility) and the operations the chart
// calls on it (ranges, drawing, hit tests, mouse events).
#pragma once

#include "platform/gui/Afx.h"

#include <algorithm>
#include <cstddef>

class CChartCtrl;
class CChartAxis;

class CChartSerie
{
public:
    explicit CChartSerie(CChartCtrl* pParent);
    virtual ~CChartSerie();
    CChartSerie(const CChartSerie&) = delete;
    CChartSerie& operator=(const CChartSerie&) = delete;

    virtual unsigned GetPointsCount() const = 0;
    virtual CPoint PointScreenPosition(unsigned uPointIndex) const = 0;
    // Stored minimum and maximum; false when hidden or empty.
    virtual bool GetYRange(double* pMin, double* pMax) const = 0;
    virtual bool GetXRange(double* pMin, double* pMax) const = 0;
    // Range of the points visible on the other axis (only for the matching ordering).
    virtual bool GetVisibleXRange(double* pMin, double* pMax) const = 0;
    virtual bool GetVisibleYRange(double* pMin, double* pMax) const = 0;
    // True when the point is on the series; *pIndex is the point hit, or kChartNoPoint.
    virtual bool HitTest(const CPoint& screenPoint, unsigned* pIndex) const = 0;
    virtual bool VisiblePointRange(unsigned* pFirst, unsigned* pLast) const = 0;
    virtual void DrawLegendSample(CDC* pDC, const CRect& rectBitmap) = 0;
    virtual void DrawNewPoints(CDC* pDC) = 0;
    virtual void DrawAll(CDC* pDC) = 0;
    // Draws what DrawAll draws a part at a time, from where the last call stopped (bFirst: from
    // the start), until the tick count reaches deadline or it has drawn pointsLeft points (which it
    // counts down): true once all is drawn. A series that cannot be drawn in parts draws all at once.
    virtual bool DrawAllPart(CDC* pDC, bool bFirst, DWORD deadline, std::size_t& pointsLeft)
    {
        (void)bFirst;
        (void)deadline;
        DrawAll(pDC);
        pointsLeft -= std::min<std::size_t>(pointsLeft, GetPointsCount());
        return true;
    }
    virtual void DrawLabels(CDC* pDC) = 0;
    // Passes the event to the mouse listener when the point is on the series: true then.
    virtual bool NotifyMouseEvent(int mouseEvent, const CPoint& screenPoint) = 0;
    virtual void SetSeriesOrdering(int ordering) = 0;

    unsigned GetSerieId() const { return m_uSerieId; }
    CChartCtrl* GetParent() const { return m_pParentCtrl; }
    CChartAxis* GetVerticalAxis() const { return m_pVerticalAxis; }
    CChartAxis* GetHorizontalAxis() const { return m_pHorizontalAxis; }

    void SetName(const CString& name);
    const CString& GetName() const { return m_strSerieName; }
    void SetVisible(bool visible);
    bool IsVisible() const { return m_bIsVisible; }
    void SetColour(COLORREF colour);
    COLORREF GetColour() const { return m_SerieColour; }
    void SetShadowColour(COLORREF colour);
    COLORREF GetShadowColour() const { return m_ShadowColour; }
    void EnableShadow(bool enable);
    bool IsShadowEnabled() const { return m_bShadow; }
    void SetShadowDepth(int depth);
    int GetShadowDepth() const { return m_iShadowDepth; }
    void EnableMouseNotifications(bool clicks, bool moves);

    // Set by the chart.
    void SetPlottingRect(const CRect& rect) { m_PlottingRect = rect; }
    const CRect& GetPlottingRect() const { return m_PlottingRect; }
    void SetVerticalAxis(CChartAxis* pAxis) { m_pVerticalAxis = pAxis; }
    void SetHorizontalAxis(CChartAxis* pAxis) { m_pHorizontalAxis = pAxis; }
    // Sets the colour without redrawing (the chart's colour table).
    void InitColour(COLORREF colour) { m_SerieColour = colour; }

protected:
    void RefreshParent();
    // After points were added: what is new drawn onto the chart's image (DrawNewPoints), or the
    // chart redrawn.
    void DrawAdded();

    CChartCtrl* m_pParentCtrl;
    CChartAxis* m_pVerticalAxis = nullptr;
    CChartAxis* m_pHorizontalAxis = nullptr;
    CString m_strSerieName;
    bool m_bIsVisible = true;
    bool m_bShadow = false;
    COLORREF m_SerieColour = 0;
    COLORREF m_ShadowColour = 0x969696;
    int m_iShadowDepth = 2;
    CRect m_PlottingRect;
    unsigned m_uSerieId;
    bool m_bNotifyClicks = true;
    bool m_bNotifyMoves = false;

private:
    static unsigned m_uNextFreeId;
};
