// The legend: the named series of the chart, each with a sample of its drawing.
#include "controls/chart/ChartLegend.h"

#include "controls/chart/ChartCtrl.h"
#include "controls/chart/ChartSerie.h"

#include <algorithm>

CChartLegend::CChartLegend(CChartCtrl* pParent) : m_pParentCtrl(pParent) {}

void CChartLegend::RefreshParent()
{
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartLegend::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    RefreshParent();
}
void CChartLegend::SetFont(int pointSize, const CString& faceName)
{
    m_iFontSize = pointSize;
    m_strFontName = faceName;
    RefreshParent();
}
void CChartLegend::DockLegend(int side)
{
    m_bDocked = true;
    m_DockSide = side;
    RefreshParent();
}
void CChartLegend::UndockLegend(int left, int top)
{
    m_bDocked = false;
    m_UndockedPos = CPoint(left, top);
    RefreshParent();
}
void CChartLegend::SetTransparent(bool transparent)
{
    m_bIsTransparent = transparent;
    RefreshParent();
}
void CChartLegend::SetHorizontalMode(bool horizontal)
{
    m_bIsHorizontal = horizontal;
    RefreshParent();
}
void CChartLegend::SetShadow(bool shadow)
{
    m_bShadow = shadow;
    RefreshParent();
}
void CChartLegend::SetShadowDepth(int depth)
{
    m_iShadowDepth = depth;
    RefreshParent();
}
void CChartLegend::SetBackgroundColour(COLORREF colour)
{
    m_BackColour = colour;
    RefreshParent();
}
void CChartLegend::SetShadowColour(COLORREF colour)
{
    m_ShadowColour = colour;
    RefreshParent();
}

void CChartLegend::Measure(CDC* pDC, const CRect& workingRect)
{
    m_LegendRect.SetRectEmpty();
    if (!m_bIsVisible || !m_pParentCtrl || !pDC || !pDC->GetSafeHdc()) return;
    CFont font;
    font.CreatePointFont(m_iFontSize, m_strFontName, pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    int width = 0, height = 0, named = 0;
    int widest = 0, tallest = 0;
    for (const auto& entry : m_pParentCtrl->GetSeries())
    {
        const CString& name = entry.second->GetName();
        if (name.IsEmpty()) continue;
        ++named;
        CSize size(0, 0);
        GetTextExtentPoint32W(pDC->GetSafeHdc(), name, name.GetLength(), &size);
        widest = std::max<int>(widest, size.cx);
        tallest = std::max<int>(tallest, size.cy);
        if (m_bIsHorizontal)
            width += size.cx + 14 + m_BitmapWidth;
        else
            height += 2 + std::max<int>(size.cy, m_BitmapHeight);
    }
    pDC->SelectObject(pOldFont);
    if (named == 0) return;
    if (m_bIsHorizontal)
    {
        width -= 6;
        height = std::max(tallest, m_BitmapHeight) + 8;
    }
    else
    {
        width = widest + 12 + m_BitmapWidth;
        height += 6;
    }

    // Along its docking side; the cross position is half the working rectangle's height
    // (or width) less half the legend's, counted from the chart's origin.
    int left = 0, top = 0;
    if (!m_bDocked)
    {
        left = m_UndockedPos.x;
        top = m_UndockedPos.y;
    }
    else
    {
        const int middleTop = workingRect.Height() / 2 - (height + 2) / 2;
        const int middleLeft = workingRect.Width() / 2 - width / 2;
        switch (m_DockSide)
        {
        case dsDockLeft:
            left = workingRect.left + 3;
            top = middleTop;
            break;
        case dsDockTop:
            top = workingRect.top + 3;
            left = middleLeft;
            break;
        case dsDockBottom:
            top = workingRect.bottom - height - 2;
            left = middleLeft;
            break;
        default:
            left = workingRect.right - width - 6;
            top = middleTop;
            break;
        }
    }
    m_LegendRect.SetRect(left, top, left + width, top + height);
}

void CChartLegend::Draw(CDC* pDC)
{
    if (!m_bIsVisible || !m_pParentCtrl || !pDC || !pDC->GetSafeHdc() || m_LegendRect.IsRectEmpty()) return;
    if (m_bShadow)
    {
        CRect shadow = m_LegendRect;
        shadow.OffsetRect(m_iShadowDepth, m_iShadowDepth);
        CBrush brush(m_ShadowColour);
        pDC->FillRect(&shadow, &brush);
    }
    if (!m_bIsTransparent)
    {
        CBrush brush(m_BackColour);
        pDC->FillRect(&m_LegendRect, &brush);
    }
    CPen border(PS_SOLID, 0, RGB(0, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&border);
    pDC->MoveTo(m_LegendRect.left, m_LegendRect.top);
    pDC->LineTo(m_LegendRect.right, m_LegendRect.top);
    pDC->LineTo(m_LegendRect.right, m_LegendRect.bottom);
    pDC->LineTo(m_LegendRect.left, m_LegendRect.bottom);
    pDC->LineTo(m_LegendRect.left, m_LegendRect.top);
    pDC->SelectObject(pOldPen);

    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    CFont font;
    font.CreatePointFont(m_iFontSize, m_strFontName, pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    int x = m_LegendRect.left + 2;
    int y = m_LegendRect.top + 5;
    for (const auto& entry : m_pParentCtrl->GetSeries())
    {
        CChartSerie* pSerie = entry.second;
        const CString& name = pSerie->GetName();
        if (name.IsEmpty()) continue;
        const CSize text = pDC->GetTextExtent(name);
        // The shorter of sample and name moves down by half the difference.
        int sampleTop = y, textTop = y;
        if (text.cy > m_BitmapHeight)
            sampleTop += (text.cy - m_BitmapHeight) / 2;
        else
            textTop += (m_BitmapHeight - text.cy) / 2;
        const CRect sample(x, sampleTop, x + m_BitmapWidth, sampleTop + m_BitmapHeight);
        const CRect textRect(x + m_BitmapWidth + 4, textTop, x + m_BitmapWidth + 4 + text.cx, textTop + text.cy);
        pDC->ExtTextOut(textRect.left, textRect.top, ETO_CLIPPED, &textRect, name, nullptr);
        pSerie->DrawLegendSample(pDC, sample);
        pDC->SelectObject(&font);
        if (m_bIsHorizontal)
            x += text.cx + 14 + m_BitmapWidth;
        else
            y += std::max<int>(text.cy, m_BitmapHeight) + 2;
    }
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(oldBkMode);
}
