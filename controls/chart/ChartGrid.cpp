// The grid of an axis: dotted lines across the plotting rectangle at the axis's ticks.
#include "controls/chart/ChartGrid.h"

#include "controls/chart/ChartCtrl.h"

#include <algorithm>

void CChartGrid::SetColour(COLORREF colour)
{
    m_GridColour = colour;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartGrid::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartGrid::Draw(CDC* pDC)
{
    if (!m_bIsVisible || !m_pParentCtrl || !pDC || !pDC->GetSafeHdc()) return;
    const CRect plot = m_pParentCtrl->GetPlottingRect();
    if (plot.IsRectEmpty()) return;

    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&plot);
    CPen pen(PS_SOLID, 0, m_GridColour);
    CPen* pOldPen = pDC->SelectObject(&pen);
    for (int p : m_lstTickPos)
    {
        if (!m_bIsHorizontal)
        {
            // A vertical axis: a horizontal line at y = p, left to right.
            for (int x = plot.left; x < plot.right; x += 6)
            {
                pDC->MoveTo(x, p);
                pDC->LineTo(std::min<int>(x + 3, plot.right), p);
            }
        }
        else
        {
            // A horizontal axis: a vertical line at x = p, bottom upwards.
            for (int y = plot.bottom; y > plot.top; y -= 6)
            {
                pDC->MoveTo(p, y);
                pDC->LineTo(p, std::max<int>(y - 3, plot.top));
            }
        }
    }
    pDC->SelectObject(pOldPen);
    pDC->RestoreDC(saved);
}
