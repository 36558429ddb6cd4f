// A chart axis: maps values to pixels along one side of the plotting rectangle, chooses
// and draws its ticks, labels, title and grid, takes its margin out of the plot, and holds
// the zoom, pan and scroll state of its direction.
#pragma once

#include "controls/chart/ChartScale.h"
#include "platform/gui/Afx.h"

#include <cstddef>
#include <list>
#include <unordered_map>

class CChartCtrl;
class CChartSerie;
class CChartGrid;
class CChartAxisLabel;
class CChartScrollBar;

class CChartAxis
{
public:
    // Axis positions in the chart.
    enum EAxisPos
    {
        LeftAxis = 0,
        BottomAxis = 1,
        RightAxis = 2,
        TopAxis = 3
    };

    CChartAxis();
    virtual ~CChartAxis();
    CChartAxis(const CChartAxis&) = delete;
    CChartAxis& operator=(const CChartAxis&) = delete;

    virtual void SetDiscrete(bool discrete);
    virtual double ScreenToValue(long screenVal) const;
    virtual double FirstTickValue() const = 0;
    // False once the ticks are done (the next tick lies beyond max).
    virtual bool NextTickValue(double currentTick, double* pNextTick) const = 0;
    virtual long TickPosition(double value) const = 0;
    virtual long DiscreteValueToScreen(double value) const = 0;
    virtual long ValueToScreen(double value) const;
    // The screen positions of count values at once (DiscreteValueToScreen on a discrete axis).
    void ValuesToScreen(const double* values, std::size_t count, int* screen) const;
    virtual CString TickLabel(double tickValue) const = 0;
    virtual void RecalcTickIncrement() = 0;
    virtual void RecalcFirstTick() = 0;
    virtual void ScrollBarSteps(int* pStepsCount, int* pCurrentStep) const;
    virtual void ScrollBySteps(int previousStep, int currentStep, bool mirrored);
    virtual void PanByPixels(long fromPixel, long toPixel);
    virtual void SetZoomMinMax(double minimum, double maximum);

    // Range. SetMinMax also sets the range that ResetZoom restores.
    void SetMinMax(double minimum, double maximum);
    void GetMinMax(double& minimum, double& maximum) const
    {
        minimum = m_MinValue;
        maximum = m_MaxValue;
    }
    double GetMin() const { return m_MinValue; }
    double GetMax() const { return m_MaxValue; }
    double GetUnzoomedMin() const { return m_UnzoomMin; }
    double GetUnzoomedMax() const { return m_UnzoomMax; }
    // Back to the unzoomed range (redraws the chart).
    void UndoZoom();

    // 0 manual, 1 the range of all points of the series, 2 of the points visible on the
    // other axis.
    void SetAutomaticMode(int mode);
    int GetAutomaticMode() const { return m_nAutoMode; }
    void SetAutomatic(bool automatic) { SetAutomaticMode(automatic ? 1 : 0); }
    bool IsAutomatic() const { return m_nAutoMode != 0; }
    void RefreshAutoAxis();

    void SetInverted(bool inverted);
    bool IsInverted() const { return m_bIsInverted; }
    void SetVisible(bool visible);
    bool IsVisible() const { return m_bIsVisible; }
    bool IsHorizontal() const { return m_bIsHorizontal; }
    bool IsSecondary() const { return m_bIsSecondary; }
    bool IsDiscrete() const { return m_bIsDiscrete; }
    int GetPosition() const;

    void SetAxisColour(COLORREF colour);
    COLORREF GetAxisColour() const { return m_AxisColour; }
    void SetTextColour(COLORREF colour);
    COLORREF GetTextColour() const { return m_TextColour; }
    // Tick label font, size in tenths of a point.
    void SetFont(int pointSize, const CString& faceName);

    void SetMarginSize(bool automatic, int margin);
    int GetMargin() const { return m_iMarginSize; }
    void EnableZoom(bool enabled) { m_bZoomEnabled = enabled; }
    bool IsZoomEnabled() const { return m_bZoomEnabled; }
    void SetZoomLimit(double minRange) { m_dZoomLimit = minRange; }
    double GetZoomLimit() const { return m_dZoomLimit; }

    CChartGrid* GetGrid() const { return m_pAxisGrid; }
    CChartAxisLabel* GetLabel() const { return m_pAxisLabel; }
    CChartScrollBar* GetScrollBar() const { return m_pScrollBar; }
    CChartCtrl* GetParent() const { return m_pParentCtrl; }

    // Series that use this axis (not owned), in the order they came; registering and
    // removing take constant time, however many series a plot holds.
    void RegisterSeries(CChartSerie* pSeries);
    void UnregisterSeries(CChartSerie* pSeries);
    const std::list<CChartSerie*>& GetSeries() const { return m_pRelatedSeries; }
    // A series of this axis got points: its range can only have grown.
    void SeriesRangeGrew(const CChartSerie* pSeries);
    // A series of this axis changed its range in another way (hidden, shown).
    void SeriesRangeChanged() { m_Range.valid = false; }
    // The combined range of the series' ranges along this axis (the first answering
    // series' range widened by the others'): false when no series answers.
    bool GetSeriesRange(double* pMin, double* pMax) const;

    // The pixel run: horizontal from left to right, vertical from bottom to top.
    int GetStartPixel() const { return m_StartPos; }
    int GetEndPixel() const { return m_EndPos; }
    const CRect& GetAxisRect() const { return m_AxisRect; }
    qor::chart::SAxisSpan GetSpan() const;
    bool IsPointInside(const CPoint& screenPoint) const;

    // Used by the chart.
    void SetParent(CChartCtrl* pParent);
    void SetHorizontal(bool horizontal);
    void SetSecondary(bool secondary) { m_bIsSecondary = secondary; }
    // Takes the pixel run from the plotting rectangle and the axis rectangle.
    void SetAxisSize(const CRect& plottingRect, const CRect& axisRect);
    // Takes this axis's margin out of the plotting rectangle; outer is the chart's working
    // rectangle.
    void ReduceForMargin(CRect& plottingRect, CDC* pDC, const CRect& outerRect);
    void Draw(CDC* pDC);
    void CreateScrollBar();
    void UpdateScrollBarPos();
    void RefreshScrollBar();
    // The automatic increment and first tick of the current range and run.
    void RefreshTicks();

protected:
    // The automatic tick spacing in pixels along this axis.
    int TickSpacing() const;
    // Whether ticks can be drawn; false draws a single label in the middle.
    virtual bool TicksUsable() const = 0;
    // The tick values drawn: first tick onwards while NextTickValue goes on, at most
    // MaxTickCount of them.
    template <class Fn>
    void ForEachTick(Fn fn) const;
    CSize GetLargestTick(CDC* pDC) const;
    void DrawTick(CDC* pDC, double value, long pixel, int titleWidth, int tickLabelHeight);
    void RefreshParent();

    CChartCtrl* m_pParentCtrl = nullptr;
    bool m_bIsHorizontal = true;
    bool m_bIsInverted = false;
    int m_nAutoMode = 0;
    bool m_bIsVisible = true;
    bool m_bIsSecondary = false;
    double m_MaxValue = 0;
    double m_MinValue = 0;
    double m_UnzoomMin = 0;
    double m_UnzoomMax = 0;
    bool m_bAutoTicks = true;
    bool m_bIsDiscrete = false;
    int m_StartPos = 0;
    int m_EndPos = 0;
    CRect m_AxisRect;
    int m_nFontSize = 80;
    CString m_strFontName = _T("Microsoft Sans Serif");
    COLORREF m_TextColour = 0;
    COLORREF m_AxisColour = 0;
    CChartGrid* m_pAxisGrid;
    CChartAxisLabel* m_pAxisLabel;
    std::list<CChartSerie*> m_pRelatedSeries;
    std::unordered_map<const CChartSerie*, std::list<CChartSerie*>::iterator> m_SeriesIndex;
    bool m_bAutoMargin = true;
    int m_iMarginSize = 0;
    bool m_bZoomEnabled = true;
    double m_dZoomLimit = 0.001;
    CChartScrollBar* m_pScrollBar = nullptr;

private:
    // The series' combined range, kept up to date as points come so that a plot of
    // thousands of series never walks them all per series. It is exactly what a walk over
    // the series in order gives (the first of equal values kept); a range that is not a
    // number, or a tie between zeros of different signs, sends the answer back to the walk.
    struct SRangeCache
    {
        bool valid = false;
        bool walk = false; // a series' range is not a number: walk the series each time
        bool any = false;
        double min = 0;
        double max = 0;
    };
    bool SeriesRangeOf(const CChartSerie* pSeries, double* pMin, double* pMax) const;
    void RebuildRangeCache() const;
    // The walk over the series, as the cache's reference.
    bool WalkSeriesRange(double* pMin, double* pMax) const;
    mutable SRangeCache m_Range;
};

template <class Fn>
void CChartAxis::ForEachTick(Fn fn) const
{
    const int maxTicks = qor::chart::MaxTickCount(GetSpan().Length(), TickSpacing());
    double tick = FirstTickValue();
    for (int n = 0; n < maxTicks; ++n)
    {
        fn(tick);
        double next = 0;
        if (!NextTickValue(tick, &next)) break;
        tick = next;
    }
}
