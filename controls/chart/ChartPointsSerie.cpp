// A series drawn as a marker at each point.
#include "controls/chart/ChartPointsSerie.h"

#include "controls/chart/ChartCtrl.h"

#include <cstdlib>

CChartPointsSerie::CChartPointsSerie(CChartCtrl* pParent) : CChartXYSerie(pParent) {}

CChartPointsSerie::~CChartPointsSerie() = default;

void CChartPointsSerie::SetPointSize(int width, int height)
{
    m_iXPointSize = width;
    m_iYPointSize = height;
    RefreshParent();
}

void CChartPointsSerie::SetPointType(int type)
{
    m_iPointType = type;
    RefreshParent();
}

void CChartPointsSerie::SetBorderColour(COLORREF colour)
{
    m_colBorder = colour;
    RefreshParent();
}

void CChartPointsSerie::DrawMarker(CDC* pDC, const CRect& rect)
{
    switch (m_iPointType)
    {
    case ptRectangle: pDC->Rectangle(&rect); break;
    case ptTriangle: {
        POINT corners[3] = {{rect.left, rect.bottom},
                            {rect.right, rect.bottom},
                            {rect.left + std::abs(rect.right - rect.left) / 2, rect.top}};
        pDC->Polygon(corners, 3);
        break;
    }
    default: pDC->Ellipse(&rect); break;
    }
}

void CChartPointsSerie::DrawMarkers(CDC* pDC, unsigned first, unsigned last)
{
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    ClipToPlot(pDC);
    CBrush brush(m_SerieColour);
    CPen pen(PS_SOLID, 1, m_colBorder);
    CBrush shadowBrush(m_ShadowColour);
    CPen shadowPen(PS_SOLID, 1, m_ShadowColour);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    for (unsigned i = first; i <= last; ++i)
    {
        const CPoint p = PointScreenPosition(i);
        CRect rect(p.x - m_iXPointSize / 2, p.y - m_iYPointSize / 2, p.x + m_iXPointSize / 2, p.y + m_iYPointSize / 2);
        if (m_bShadow)
        {
            CRect shadow = rect;
            shadow.OffsetRect(m_iShadowDepth, m_iShadowDepth);
            pDC->SelectObject(&shadowBrush);
            pDC->SelectObject(&shadowPen);
            DrawMarker(pDC, shadow);
            pDC->SelectObject(&brush);
            pDC->SelectObject(&pen);
        }
        DrawMarker(pDC, rect);
    }
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    pDC->SetBkMode(oldBkMode);
}

void CChartPointsSerie::DrawAll(CDC* pDC)
{
    if (!CanDraw() || !pDC || !pDC->GetSafeHdc()) return;
    unsigned first = 0, last = 0;
    if (!WidenedPointRange(&first, &last)) return;
    DrawMarkers(pDC, first, last);
    m_uLastDrawnPoint = last + 1; // markers drawn up to here
}

void CChartPointsSerie::DrawNewPoints(CDC* pDC)
{
    const unsigned count = GetPointsCount();
    if (!CanDraw() || !pDC || !pDC->GetSafeHdc() || m_uLastDrawnPoint >= count) return;
    DrawMarkers(pDC, m_uLastDrawnPoint, count - 1);
    m_uLastDrawnPoint = count;
}

void CChartPointsSerie::DrawLegendSample(CDC* pDC, const CRect& rectBitmap)
{
    if (m_strSerieName.IsEmpty() || !pDC || !pDC->GetSafeHdc()) return;
    CRect rect = rectBitmap;
    if (m_iXPointSize < rectBitmap.Width() && m_iYPointSize < rectBitmap.Height())
    {
        const CPoint centre = rectBitmap.CenterPoint();
        rect.SetRect(centre.x - m_iXPointSize / 2, centre.y - m_iYPointSize / 2, centre.x + m_iXPointSize / 2,
                     centre.y + m_iYPointSize / 2);
    }
    CBrush brush(m_SerieColour);
    CPen pen(PS_SOLID, 1, m_colBorder);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CPen* pOldPen = pDC->SelectObject(&pen);
    DrawMarker(pDC, rect);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
}

bool CChartPointsSerie::HitTest(const CPoint& screenPoint, unsigned* pIndex) const
{
    *pIndex = kChartNoPoint;
    if (!CanDraw()) return false;
    unsigned first = 0, last = 0;
    if (!WidenedPointRange(&first, &last)) return false;
    for (unsigned i = first; i <= last; ++i)
    {
        const CPoint p = PointScreenPosition(i);
        if (std::abs(screenPoint.x - p.x) <= 5 && std::abs(screenPoint.y - p.y) <= 5)
        {
            *pIndex = i;
            return true;
        }
    }
    return false;
}
