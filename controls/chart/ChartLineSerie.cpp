// A series drawn as a line through its points.
#include "controls/chart/ChartLineSerie.h"

#include "controls/chart/ChartCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

CChartLineSerie::CChartLineSerie(CChartCtrl* pParent) : CChartXYSerie(pParent) {}

CChartLineSerie::~CChartLineSerie() = default;

void CChartLineSerie::SetWidth(int penWidth)
{
    m_iLineWidth = penWidth;
    RefreshParent();
}

void CChartLineSerie::SetPenStyle(int penStyle)
{
    m_iPenStyle = penStyle;
    RefreshParent();
}

void CChartLineSerie::SetSmooth(bool smooth)
{
    m_bSmooth = smooth;
    RefreshParent();
}

void CChartLineSerie::CreateLinePen(CPen& pen, COLORREF colour) const
{
    if (m_iPenStyle == PS_SOLID)
    {
        pen.CreatePen(PS_SOLID, m_iLineWidth, colour);
        return;
    }
    LOGBRUSH brush{BS_SOLID, colour, 0};
    pen.CreatePen(m_iPenStyle | PS_GEOMETRIC, m_iLineWidth, &brush);
}

bool CChartLineSerie::DrawnRange(unsigned* pFirst, unsigned* pLast) const
{
    return WidenedPointRange(pFirst, pLast) && *pFirst != *pLast;
}

void CChartLineSerie::ScreenPoints(unsigned first, unsigned last, std::vector<POINT>& points) const
{
    // Points that fall on the same pixel make no line between them.
    points.clear();
    points.reserve(last - first + 1);
    for (unsigned i = first; i <= last; ++i)
    {
        const CPoint p = PointScreenPosition(i);
        if (points.empty() || p != points.back()) points.push_back(p);
    }
}

void CChartLineSerie::DrawAll(CDC* pDC)
{
    if (!CanDraw() || !pDC || !pDC->GetSafeHdc() || GetPointsCount() == 0) return;
    if (m_bSmooth)
    {
        DrawSmooth(pDC);
        return;
    }
    unsigned first = 0, last = 0;
    if (!DrawnRange(&first, &last))
    {
        m_uLastDrawnPoint = last;
        return;
    }

    std::vector<POINT> points;
    ScreenPoints(first, last, points);
    DrawLine(pDC, points, false);
    m_uLastDrawnPoint = last;
}

bool CChartLineSerie::DrawAllPart(CDC* pDC, bool bFirst, DWORD deadline, std::size_t& pointsLeft)
{
    unsigned first = 0, last = 0;
    // A shadow would fall over the stretch before it; a smooth line is one curve.
    if (m_bSmooth || m_bShadow || !CanDraw() || !pDC || !pDC->GetSafeHdc() || !DrawnRange(&first, &last) ||
        last - first <= kPointsAStretch)
    {
        DrawAll(pDC);
        pointsLeft -= std::min<std::size_t>(pointsLeft, GetPointsCount());
        return true;
    }
    if (bFirst || pDC != m_pStretchDC || m_uStretchFrom < first || m_uStretchFrom >= last)
    {
        m_pStretchDC = pDC;
        m_uStretchFrom = first;
    }
    std::vector<POINT> points;
    for (;;)
    {
        const unsigned to = std::min(last, m_uStretchFrom + kPointsAStretch);
        ScreenPoints(m_uStretchFrom, to, points);
        DrawLine(pDC, points, false);
        pointsLeft -= std::min<std::size_t>(pointsLeft, to - m_uStretchFrom);
        m_uStretchFrom = to;
        if (to == last)
        {
            m_pStretchDC = nullptr;
            m_uLastDrawnPoint = last;
            return true;
        }
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0 || pointsLeft == 0) return false;
    }
}

void CChartLineSerie::DrawLine(CDC* pDC, const std::vector<POINT>& points, bool bBezier) const
{
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    ClipToPlot(pDC);
    auto draw = [pDC, bBezier](const std::vector<POINT>& pts) {
        if (bBezier)
            pDC->PolyBezier(pts.data(), static_cast<int>(pts.size()));
        else
            pDC->Polyline(pts.data(), static_cast<int>(pts.size()));
    };
    CPen linePen;
    CreateLinePen(linePen, m_SerieColour);
    CPen* pOldPen = pDC->SelectObject(&linePen);
    if (m_bShadow)
    {
        // The shadow goes first, offset down and right, so that the line covers it.
        CPen shadowPen;
        CreateLinePen(shadowPen, m_ShadowColour);
        std::vector<POINT> shadow(points);
        for (POINT& p : shadow)
        {
            p.x += m_iShadowDepth;
            p.y += m_iShadowDepth;
        }
        pDC->SelectObject(&shadowPen);
        draw(shadow);
        pDC->SelectObject(&linePen);
    }
    draw(points);
    pDC->SelectObject(pOldPen);
    pDC->SetBkMode(oldBkMode);
}

void CChartLineSerie::ComputeBezierControlPoints(const std::vector<double>& knots, std::vector<double>& first,
                                                 std::vector<double>& second)
{
    const size_t n = knots.size() - 1; // segments, at least 2
    std::vector<double> rhs(n), tmp(n);
    rhs[0] = knots[0] + 2 * knots[1];
    for (size_t i = 1; i + 1 < n; ++i) rhs[i] = 4 * knots[i] + 2 * knots[i + 1];
    rhs[n - 1] = 3 * knots[n - 1];

    first.assign(n, 0.0);
    double b = 2.0;
    first[0] = rhs[0] / b;
    for (size_t i = 1; i < n; ++i)
    {
        tmp[i] = 1 / b;
        b = (i + 1 < n ? 4.0 : 2.0) - tmp[i];
        first[i] = (rhs[i] - first[i - 1]) / b;
    }
    for (size_t i = 1; i < n; ++i) first[n - i - 1] -= tmp[n - i] * first[n - i];

    second.assign(n, 0.0);
    for (size_t i = 0; i + 1 < n; ++i) second[i] = 2 * knots[i + 1] - first[i + 1];
    second[n - 1] = (knots[n] + first[n - 1]) / 2;
}

void CChartLineSerie::DrawSmooth(CDC* pDC)
{
    const unsigned count = GetPointsCount();
    std::vector<POINT> points;
    if (count < 3)
    {
        // Too few knots for a curve: the straight line.
        for (unsigned i = 0; i < count; ++i) points.push_back(PointScreenPosition(i));
    }
    else
    {
        std::vector<double> kx(count), ky(count);
        for (unsigned i = 0; i < count; ++i)
        {
            const CPoint p = PointScreenPosition(i);
            kx[i] = p.x;
            ky[i] = p.y;
        }
        std::vector<double> c1x, c2x, c1y, c2y;
        ComputeBezierControlPoints(kx, c1x, c2x);
        ComputeBezierControlPoints(ky, c1y, c2y);
        auto px = [](double v) { return static_cast<LONG>(std::lround(v)); };
        points.reserve(3 * (count - 1) + 1);
        for (unsigned i = 0; i + 1 < count; ++i)
        {
            points.push_back(POINT{px(kx[i]), px(ky[i])});
            points.push_back(POINT{px(c1x[i]), px(c1y[i])});
            points.push_back(POINT{px(c2x[i]), px(c2y[i])});
        }
        points.push_back(POINT{px(kx[count - 1]), px(ky[count - 1])});
    }

    DrawLine(pDC, points, count >= 3);
    m_uLastDrawnPoint = count - 1;
}

void CChartLineSerie::DrawNewPoints(CDC* pDC)
{
    if (m_bShadow || m_bSmooth)
    {
        DrawAll(pDC);
        return;
    }
    const unsigned count = GetPointsCount();
    if (!CanDraw() || !pDC || !pDC->GetSafeHdc() || count < 2 || m_uLastDrawnPoint + 1 >= count) return;
    // The new stretch as one polyline from the last point drawn.
    std::vector<POINT> points;
    points.reserve(count - m_uLastDrawnPoint);
    for (unsigned i = m_uLastDrawnPoint; i < count; ++i)
    {
        const CPoint p = PointScreenPosition(i);
        if (points.empty() || p != points.back()) points.push_back(p);
    }
    if (points.size() == 1) points.push_back(points.back()); // a line that stays on one pixel still shows it
    DrawLine(pDC, points, false);
    m_uLastDrawnPoint = count - 1;
}

void CChartLineSerie::DrawLegendSample(CDC* pDC, const CRect& rectBitmap)
{
    if (m_strSerieName.IsEmpty() || !pDC || !pDC->GetSafeHdc()) return;
    LOGBRUSH brush{BS_SOLID, m_SerieColour, 0};
    CPen pen;
    pen.CreatePen(m_iPenStyle | PS_GEOMETRIC, m_iLineWidth, &brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int middle = rectBitmap.top + rectBitmap.Height() / 2;
    pDC->MoveTo(rectBitmap.left, middle);
    pDC->LineTo(rectBitmap.right, middle);
    pDC->SelectObject(pOldPen);
}

bool CChartLineSerie::HitTest(const CPoint& screenPoint, unsigned* pIndex) const
{
    *pIndex = kChartNoPoint;
    if (!CanDraw() || GetPointsCount() == 0) return false;
    unsigned first = 0, last = 0;
    if (!DrawnRange(&first, &last)) return false;
    const double px = screenPoint.x, py = screenPoint.y;
    auto within = [&](const CPoint& p, int distance) {
        return std::abs(screenPoint.x - p.x) <= distance && std::abs(screenPoint.y - p.y) <= distance;
    };
    CPoint a = PointScreenPosition(first);
    for (unsigned i = first; i < last; ++i)
    {
        const CPoint b = PointScreenPosition(i + 1);
        bool near = false;
        if (a == b)
            near = within(a, 3); // both points on one pixel: a point, not a segment
        else
        {
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double u = ((a.y - py) * (a.y - b.y) - (a.x - px) * dx) / (dx * dx + dy * dy);
            near = u >= 0 && u <= 1 && std::fabs(px - (a.x + u * dx)) <= 3 && std::fabs(py - (a.y + u * dy)) <= 3;
        }
        if (near)
        {
            if (within(a, 5)) *pIndex = i;
            if (within(b, 5)) *pIndex = i + 1;
            return true;
        }
        a = b;
    }
    return false;
}
