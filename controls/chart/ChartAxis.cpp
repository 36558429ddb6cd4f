// A chart axis: maps values to pixels along one side of the plotting rectangle, chooses and draws its ticks,
// labels, title and grid, takes its margin out of the plot, and holds the zoom, pan and scroll state of its
// direction.
#include "controls/chart/ChartAxis.h"

#include "controls/chart/ChartAxisLabel.h"
#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartGrid.h"
#include "controls/chart/ChartScrollBar.h"
#include "controls/chart/ChartSerie.h"

#include <algorithm>
#include <cmath>

using namespace qor::chart;

CChartAxis::CChartAxis() : m_pAxisGrid(new CChartGrid()), m_pAxisLabel(new CChartAxisLabel()) {}

CChartAxis::~CChartAxis()
{
    // Series that still point here forget this axis.
    for (CChartSerie* pSerie : m_pRelatedSeries)
    {
        if (pSerie->GetVerticalAxis() == this) pSerie->SetVerticalAxis(nullptr);
        if (pSerie->GetHorizontalAxis() == this) pSerie->SetHorizontalAxis(nullptr);
    }
    delete m_pAxisGrid;
    delete m_pAxisLabel;
    if (m_pScrollBar)
    {
        m_pScrollBar->DestroyWindow();
        delete m_pScrollBar;
    }
}

void CChartAxis::RefreshParent()
{
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartAxis::SetParent(CChartCtrl* pParent)
{
    m_pParentCtrl = pParent;
    m_pAxisGrid->SetParent(pParent);
    m_pAxisLabel->SetParent(pParent);
}

void CChartAxis::SetHorizontal(bool horizontal)
{
    m_bIsHorizontal = horizontal;
    m_Range.valid = false;
    m_pAxisGrid->SetHorizontal(horizontal);
    m_pAxisLabel->SetHorizontal(horizontal);
}

int CChartAxis::GetPosition() const
{
    if (m_bIsHorizontal) return m_bIsSecondary ? TopAxis : BottomAxis;
    return m_bIsSecondary ? RightAxis : LeftAxis;
}

SAxisSpan CChartAxis::GetSpan() const { return SAxisSpan{m_StartPos, m_EndPos, m_bIsHorizontal, m_bIsInverted}; }

int CChartAxis::TickSpacing() const { return m_bIsHorizontal ? kHorizontalTickSpacing : kVerticalTickSpacing; }

bool CChartAxis::IsPointInside(const CPoint& screenPoint) const
{
    const int value = m_bIsHorizontal ? screenPoint.x : screenPoint.y;
    return value >= std::min(m_StartPos, m_EndPos) && value <= std::max(m_StartPos, m_EndPos);
}

void CChartAxis::SetDiscrete(bool discrete)
{
    m_bIsDiscrete = discrete;
    RefreshParent();
}

void CChartAxis::SetInverted(bool inverted)
{
    m_bIsInverted = inverted;
    RefreshScrollBar();
    RefreshParent();
}

void CChartAxis::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    RefreshParent();
}

void CChartAxis::SetAxisColour(COLORREF colour)
{
    m_AxisColour = colour;
    RefreshParent();
}

void CChartAxis::SetTextColour(COLORREF colour)
{
    m_TextColour = colour;
    RefreshParent();
}

void CChartAxis::SetFont(int pointSize, const CString& faceName)
{
    m_nFontSize = pointSize;
    m_strFontName = faceName;
    RefreshParent();
}

void CChartAxis::SetMarginSize(bool automatic, int margin)
{
    m_bAutoMargin = automatic;
    m_iMarginSize = margin;
    RefreshParent();
}

void CChartAxis::SetAutomaticMode(int mode) { m_nAutoMode = (mode >= 0 && mode <= 2) ? mode : 0; }

// ---- Mapping --------------------------------------------------------------------------

long CChartAxis::ValueToScreen(double value) const { return ValueToPixel(value, m_MinValue, m_MaxValue, GetSpan()); }

double CChartAxis::ScreenToValue(long screenVal) const
{
    return PixelToValue(static_cast<int>(screenVal), m_MinValue, m_MaxValue, GetSpan());
}

// ---- Range, zoom and pan ----------------------------------------------------------------

void CChartAxis::SetMinMax(double minimum, double maximum)
{
    m_MinValue = m_UnzoomMin = minimum;
    m_MaxValue = m_UnzoomMax = maximum;
    RefreshScrollBar();
    RefreshParent();
}

void CChartAxis::UndoZoom()
{
    m_MinValue = m_UnzoomMin;
    m_MaxValue = m_UnzoomMax;
    RefreshScrollBar();
    RefreshParent();
}

void CChartAxis::SetZoomMinMax(double minimum, double maximum)
{
    if (!m_bZoomEnabled || IsDegenerateRange(m_MinValue, m_MaxValue)) return;
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) return;
    m_MinValue = minimum;
    m_MaxValue = (maximum - minimum >= m_dZoomLimit) ? maximum : minimum + m_dZoomLimit;
    RefreshScrollBar();
}

void CChartAxis::PanByPixels(long fromPixel, long toPixel)
{
    const double shift = ScreenToValue(fromPixel) - ScreenToValue(toPixel);
    SetZoomMinMax(m_MinValue + shift, m_MaxValue + shift);
}

// ---- Series and automatic range ------------------------------------------------------------

void CChartAxis::RegisterSeries(CChartSerie* pSeries)
{
    if (!pSeries || m_SeriesIndex.count(pSeries)) return;
    m_SeriesIndex.emplace(pSeries, m_pRelatedSeries.insert(m_pRelatedSeries.end(), pSeries));
    SeriesRangeGrew(pSeries);
}

void CChartAxis::UnregisterSeries(CChartSerie* pSeries)
{
    auto it = m_SeriesIndex.find(pSeries);
    if (it == m_SeriesIndex.end()) return;
    m_pRelatedSeries.erase(it->second);
    m_SeriesIndex.erase(it);
    m_Range.valid = false;
}

bool CChartAxis::SeriesRangeOf(const CChartSerie* pSeries, double* pMin, double* pMax) const
{
    return m_bIsHorizontal ? pSeries->GetXRange(pMin, pMax) : pSeries->GetYRange(pMin, pMax);
}

bool CChartAxis::WalkSeriesRange(double* pMin, double* pMax) const
{
    double seriesMin = 0, seriesMax = 0, serieMin = 0, serieMax = 0;
    bool first = true;
    for (CChartSerie* pSerie : m_pRelatedSeries)
    {
        if (!SeriesRangeOf(pSerie, &serieMin, &serieMax)) continue;
        if (first || serieMin < seriesMin) seriesMin = serieMin;
        if (first || serieMax > seriesMax) seriesMax = serieMax;
        first = false;
    }
    *pMin = seriesMin;
    *pMax = seriesMax;
    return !first;
}

void CChartAxis::RebuildRangeCache() const
{
    m_Range = SRangeCache{};
    m_Range.valid = true;
    for (CChartSerie* pSerie : m_pRelatedSeries)
    {
        double lo = 0, hi = 0;
        if (!SeriesRangeOf(pSerie, &lo, &hi)) continue;
        if (std::isnan(lo) || std::isnan(hi)) m_Range.walk = true;
        if (!m_Range.any || lo < m_Range.min) m_Range.min = lo;
        if (!m_Range.any || hi > m_Range.max) m_Range.max = hi;
        m_Range.any = true;
    }
}

void CChartAxis::SeriesRangeGrew(const CChartSerie* pSeries)
{
    if (!m_Range.valid || m_Range.walk || !m_SeriesIndex.count(pSeries)) return;
    double lo = 0, hi = 0;
    if (!SeriesRangeOf(pSeries, &lo, &hi)) return;
    if (std::isnan(lo) || std::isnan(hi))
    {
        m_Range.walk = true;
        return;
    }
    if (!m_Range.any)
    {
        m_Range.min = lo;
        m_Range.max = hi;
        m_Range.any = true;
        return;
    }
    // Which of two equal zeros the walk keeps depends on the series' order: ask it again.
    auto signTie = [](double a, double b) { return a == b && std::signbit(a) != std::signbit(b); };
    if (signTie(lo, m_Range.min) || signTie(hi, m_Range.max))
    {
        m_Range.valid = false;
        return;
    }
    if (lo < m_Range.min) m_Range.min = lo;
    if (hi > m_Range.max) m_Range.max = hi;
}

bool CChartAxis::GetSeriesRange(double* pMin, double* pMax) const
{
    if (!m_Range.valid) RebuildRangeCache();
    if (m_Range.walk) return WalkSeriesRange(pMin, pMax);
    *pMin = m_Range.any ? m_Range.min : 0.0;
    *pMax = m_Range.any ? m_Range.max : 0.0;
    return m_Range.any;
}

void CChartAxis::RefreshAutoAxis()
{
    RefreshScrollBar();
    if (m_nAutoMode == 0) return;
    // A series without an answer leaves the values before it (0 at the start) in place.
    double newMin = 0, newMax = 0;
    if (!m_Range.valid) RebuildRangeCache();
    if (m_nAutoMode == 1 && !m_Range.walk)
    {
        // The walk below, from the kept range: the first series starts it, or 0 when it
        // has no answer.
        double lo = 0, hi = 0;
        const bool any = GetSeriesRange(&lo, &hi);
        double firstMin = 0, firstMax = 0;
        if (!m_pRelatedSeries.empty() && SeriesRangeOf(m_pRelatedSeries.front(), &firstMin, &firstMax))
        {
            newMin = lo;
            newMax = hi;
        }
        else if (any)
        {
            newMin = lo < 0.0 ? lo : 0.0;
            newMax = hi > 0.0 ? hi : 0.0;
        }
    }
    else
    {
        double serieMin = 0, serieMax = 0;
        auto ask = [this](CChartSerie* s, double* pMin, double* pMax) {
            if (m_nAutoMode == 1) return SeriesRangeOf(s, pMin, pMax);
            return m_bIsHorizontal ? s->GetVisibleXRange(pMin, pMax) : s->GetVisibleYRange(pMin, pMax);
        };
        bool first = true;
        for (CChartSerie* pSerie : m_pRelatedSeries)
        {
            ask(pSerie, &serieMin, &serieMax);
            if (first)
            {
                newMin = serieMin;
                newMax = serieMax;
                first = false;
            }
            if (serieMin < newMin) newMin = serieMin;
            if (serieMax > newMax) newMax = serieMax;
        }
    }
    if (newMin != m_MinValue || newMax != m_MaxValue)
    {
        m_MinValue = m_UnzoomMin = newMin;
        m_MaxValue = m_UnzoomMax = newMax;
        RefreshScrollBar();
        RefreshParent();
    }
}

// ---- Scroll bar -------------------------------------------------------------------------------

void CChartAxis::ScrollBarSteps(int* pStepsCount, int* pCurrentStep) const
{
    double seriesMin = 0, seriesMax = 0;
    GetSeriesRange(&seriesMin, &seriesMax);
    const double range = m_MaxValue - m_MinValue;
    const double span = seriesMax - seriesMin;
    *pStepsCount = 1;
    *pCurrentStep = 1;
    if (range == 0 || span == 0 || !std::isfinite(range) || !std::isfinite(span)) return;
    // Far zooms make huge step counts: keep them within what a scroll bar holds.
    const double limit = 1e6;
    const double count = std::clamp(std::ceil(span / (range / 10)), 1.0, limit);
    const double pos = std::clamp(std::trunc((m_MinValue - seriesMin) / span * count), -limit, limit);
    *pStepsCount = static_cast<int>(count);
    *pCurrentStep = std::isfinite(pos) ? static_cast<int>(pos) : 0;
}

void CChartAxis::ScrollBySteps(int previousStep, int currentStep, bool mirrored)
{
    const double step = (m_MaxValue - m_MinValue) / 10 * (currentStep - previousStep);
    if (mirrored)
        SetZoomMinMax(m_MinValue - step, m_MaxValue - step);
    else
        SetZoomMinMax(m_MinValue + step, m_MaxValue + step);
}

void CChartAxis::CreateScrollBar()
{
    if (!m_pParentCtrl || !m_pParentCtrl->GetSafeHwnd()) return;
    if (!m_pScrollBar) m_pScrollBar = new CChartScrollBar(this);
    if (!m_pScrollBar->GetSafeHwnd()) m_pScrollBar->CreateScrollBar(m_pParentCtrl->GetPlottingRect());
}

void CChartAxis::UpdateScrollBarPos()
{
    if (!m_pScrollBar || !m_pScrollBar->GetSafeHwnd()) CreateScrollBar();
    if (m_pScrollBar && m_pParentCtrl) m_pScrollBar->PositionScrollBar(m_pParentCtrl->GetPlottingRect());
}

void CChartAxis::RefreshScrollBar()
{
    if (m_pScrollBar) m_pScrollBar->Refresh();
}

// ---- Layout and drawing ------------------------------------------------------------------------

void CChartAxis::SetAxisSize(const CRect& plottingRect, const CRect& axisRect)
{
    if (m_bIsHorizontal)
    {
        m_StartPos = plottingRect.left;
        m_EndPos = plottingRect.right;
    }
    else
    {
        m_StartPos = plottingRect.bottom;
        m_EndPos = plottingRect.top;
    }
    m_AxisRect = axisRect;
    // The title fits the axis as laid out now, both when the margins are taken and when it is drawn: a
    // length left from an earlier layout (the screen's, before a page is printed) would make the margin
    // for a title of another size than the one drawn, and the labels would run into the axis.
    m_pAxisLabel->SetMaxLength(m_bIsHorizontal ? m_AxisRect.Width() : m_AxisRect.Height());
}

void CChartAxis::RefreshTicks()
{
    if (m_bAutoTicks) RecalcTickIncrement();
    RecalcFirstTick();
}

CSize CChartAxis::GetLargestTick(CDC* pDC) const
{
    CFont font;
    font.CreatePointFont(m_nFontSize, m_strFontName, pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    CSize largest(0, 0);
    auto measure = [&](double value, long pixel) {
        if (!IsPointInside(m_bIsHorizontal ? CPoint(static_cast<int>(pixel), 0) : CPoint(0, static_cast<int>(pixel))))
            return;
        const CSize size = pDC->GetTextExtent(TickLabel(value));
        largest.cx = std::max(largest.cx, size.cx);
        largest.cy = std::max(largest.cy, size.cy);
    };
    if (!TicksUsable())
    {
        const CSize size = pDC->GetTextExtent(TickLabel(m_MinValue));
        largest = size;
    }
    else
    {
        ForEachTick(
            [&](double tick) { measure(tick, m_bIsDiscrete ? DiscreteValueToScreen(tick) : TickPosition(tick)); });
    }
    pDC->SelectObject(pOldFont);
    return largest;
}

namespace {

// The room between a vertical axis's tick labels and the ends of its tick marks: a fixed two pixels run
// together at small sizes (a preview page drawn at a low resolution reads "100" as "10" and a stroke), so
// it grows with the labels' height.
int LabelClearance(int labelHeight) { return std::max(2, labelHeight / 2); }

} // namespace

void CChartAxis::ReduceForMargin(CRect& plottingRect, CDC* pDC, const CRect& outerRect)
{
    if (!m_bIsVisible) return;
    const CSize tickSize = GetLargestTick(pDC);
    const CSize titleSize = m_pAxisLabel->GetSize(pDC);
    if (!m_bIsHorizontal)
    {
        const int margin = tickSize.cx + 8 + LabelClearance(tickSize.cy) + titleSize.cx;
        if (m_bAutoMargin) m_iMarginSize = margin;
        plottingRect.top = std::max<LONG>(plottingRect.top, outerRect.top + 3 + tickSize.cy / 2);
        if (!m_bIsSecondary)
            plottingRect.left = std::max<LONG>(plottingRect.left, outerRect.left + m_iMarginSize);
        else
            plottingRect.right = std::min<LONG>(plottingRect.right, outerRect.right - m_iMarginSize);
    }
    else
    {
        const int margin = tickSize.cy + 6 + titleSize.cy;
        if (m_bAutoMargin) m_iMarginSize = margin;
        plottingRect.right = std::min<LONG>(plottingRect.right, outerRect.right - 3 - tickSize.cx / 2);
        if (!m_bIsSecondary)
            plottingRect.bottom = std::min<LONG>(plottingRect.bottom, outerRect.bottom - m_iMarginSize);
        else
            plottingRect.top = std::max<LONG>(plottingRect.top, outerRect.top + m_iMarginSize);
    }
}

void CChartAxis::Draw(CDC* pDC)
{
    if (!m_bIsVisible || !pDC || !pDC->GetSafeHdc()) return;

    CPen axisPen(PS_SOLID, 0, m_AxisColour);
    CPen* pOldPen = pDC->SelectObject(&axisPen);
    CFont font;
    font.CreatePointFont(m_nFontSize, m_strFontName, pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    const COLORREF oldTextColour = pDC->SetTextColor(m_TextColour);
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);

    // The axis line, along the side that faces the plot.
    switch (GetPosition())
    {
    case LeftAxis:
        pDC->MoveTo(m_AxisRect.right - 1, m_StartPos);
        pDC->LineTo(m_AxisRect.right - 1, m_EndPos);
        break;
    case RightAxis:
        pDC->MoveTo(m_AxisRect.left + 1, m_StartPos);
        pDC->LineTo(m_AxisRect.left + 1, m_EndPos);
        break;
    case BottomAxis:
        pDC->MoveTo(m_StartPos, m_AxisRect.top + 1);
        pDC->LineTo(m_EndPos, m_AxisRect.top + 1);
        break;
    default:
        pDC->MoveTo(m_StartPos, m_AxisRect.bottom - 1);
        pDC->LineTo(m_EndPos, m_AxisRect.bottom - 1);
        break;
    }

    // The title, centred on the axis but kept within the chart: cut short when the chart is
    // shorter than the text.
    const CSize titleSize = m_pAxisLabel->GetSize(pDC);
    const CSize tickSize = GetLargestTick(pDC);
    pDC->SelectObject(&font);
    const int centre = std::abs((m_StartPos + m_EndPos) / 2);
    const int bottom = std::max(std::min(centre + titleSize.cy / 2, static_cast<int>(m_AxisRect.bottom)),
                                static_cast<int>(m_AxisRect.top) + titleSize.cy);
    const int left = std::min(std::max(centre - titleSize.cx / 2, static_cast<int>(m_AxisRect.left)),
                              static_cast<int>(m_AxisRect.right) - titleSize.cx);
    switch (GetPosition())
    {
    case LeftAxis: m_pAxisLabel->SetPosition(m_AxisRect.left, bottom, pDC); break;
    case RightAxis: m_pAxisLabel->SetPosition(m_AxisRect.right - titleSize.cx - 2, bottom, pDC); break;
    case BottomAxis: m_pAxisLabel->SetPosition(left, m_AxisRect.top + tickSize.cy + 2, pDC); break;
    default: m_pAxisLabel->SetPosition(left, m_AxisRect.top, pDC); break;
    }
    m_pAxisLabel->Draw(pDC);
    pDC->SelectObject(&font);
    pDC->SetTextColor(m_TextColour);
    pDC->SetBkMode(TRANSPARENT);

    // Ticks, labels and the grid's positions.
    m_pAxisGrid->ClearTicks();
    if (!TicksUsable())
    {
        DrawTick(pDC, m_MinValue, MiddlePixel(GetSpan()), titleSize.cx, tickSize.cy);
    }
    else
    {
        ForEachTick([&](double tick) {
            DrawTick(pDC, tick, m_bIsDiscrete ? DiscreteValueToScreen(tick) : TickPosition(tick), titleSize.cx,
                     tickSize.cy);
        });
    }

    pDC->SelectObject(pOldFont);
    pDC->SelectObject(pOldPen);
    pDC->SetTextColor(oldTextColour);
    pDC->SetBkMode(oldBkMode);

    m_pAxisGrid->Draw(pDC);
}

void CChartAxis::DrawTick(CDC* pDC, double value, long pixel, int titleWidth, int tickLabelHeight)
{
    const int p = static_cast<int>(pixel);
    const CString text = TickLabel(value);
    const CSize size = pDC->GetTextExtent(text);
    if (IsPointInside(m_bIsHorizontal ? CPoint(p, 0) : CPoint(0, p)))
    {
        switch (GetPosition())
        {
        case LeftAxis:
            pDC->MoveTo(m_AxisRect.right - 1, p);
            pDC->LineTo(m_AxisRect.right - 4, p);
            pDC->ExtTextOut(m_AxisRect.left + titleWidth + 4, p - size.cy / 2, 0, nullptr, text, nullptr);
            break;
        case RightAxis:
            pDC->MoveTo(m_AxisRect.left + 1, p);
            pDC->LineTo(m_AxisRect.left + 4, p);
            pDC->ExtTextOut(m_AxisRect.left + 4 + LabelClearance(tickLabelHeight), p - size.cy / 2, 0, nullptr, text,
                            nullptr);
            break;
        case BottomAxis:
            pDC->MoveTo(p, m_AxisRect.top + 1);
            pDC->LineTo(p, m_AxisRect.top + 4);
            pDC->ExtTextOut(p - size.cx / 2, m_AxisRect.top + 5, 0, nullptr, text, nullptr);
            break;
        default:
            pDC->MoveTo(p, m_AxisRect.bottom - 1);
            pDC->LineTo(p, m_AxisRect.bottom - 4);
            pDC->ExtTextOut(p - size.cx / 2, m_AxisRect.bottom - size.cy - 5, 0, nullptr, text, nullptr);
            break;
        }
    }
    m_pAxisGrid->AddTick(p);
}
