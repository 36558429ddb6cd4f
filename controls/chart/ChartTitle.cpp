// The lines of text above the plot.
#include "controls/chart/ChartTitle.h"

#include "controls/chart/ChartCtrl.h"

#include <algorithm>
#include <cstdlib>

CChartTitle::CChartTitle(CChartCtrl* pParent) : m_pParentCtrl(pParent) {}

CString CChartTitle::GetString(unsigned index) const
{
    return index < m_StringArray.size() ? m_StringArray[index] : CString();
}

void CChartTitle::AddString(const CString& newString)
{
    m_StringArray.push_back(newString);
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartTitle::RemoveAll()
{
    m_StringArray.clear();
    m_mapLineFonts.clear();
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartTitle::SetLineFont(unsigned index, const CString& name, int pointSize, bool italic, bool bold,
                              bool underline)
{
    m_mapLineFonts[index].SetFont(name, pointSize, italic, bold, underline);
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartTitle::SetFont(const CString& name, int pointSize, bool italic, bool bold, bool underline)
{
    m_DefaultFont.SetFont(name, pointSize, italic, bold, underline);
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartTitle::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartTitle::SetColour(COLORREF colour)
{
    m_TextColour = colour;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

CChartFont& CChartTitle::FontOfLine(unsigned index)
{
    auto it = m_mapLineFonts.find(index);
    return it != m_mapLineFonts.end() ? it->second : m_DefaultFont;
}

CSize CChartTitle::Measure(CDC* pDC)
{
    if (!m_bIsVisible || m_StringArray.empty() || !pDC || !pDC->GetSafeHdc()) return CSize(0, 0);
    CFont* pOldFont = m_DefaultFont.SelectFont(pDC);
    int height = 0, width = 0;
    for (unsigned i = 0; i < m_StringArray.size(); ++i)
    {
        FontOfLine(i).SelectFont(pDC);
        const CSize size = pDC->GetTextExtent(m_StringArray[i]);
        height += size.cy + 2;
        width = std::max<int>(width, size.cx);
    }
    pDC->SelectObject(pOldFont);
    return CSize(width + 2, height);
}

void CChartTitle::Draw(CDC* pDC)
{
    if (!m_bIsVisible || !pDC || !pDC->GetSafeHdc()) return;
    const int oldBkMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = pDC->SetTextColor(m_TextColour);
    CFont* pOldFont = m_DefaultFont.SelectFont(pDC);
    int top = m_TitleRect.top + 4;
    for (unsigned i = 0; i < m_StringArray.size(); ++i)
    {
        FontOfLine(i).SelectFont(pDC);
        const CSize size = pDC->GetTextExtent(m_StringArray[i]);
        const int x = m_TitleRect.left + std::abs(m_TitleRect.right - m_TitleRect.left) / 2 - size.cx / 2;
        // Clipped to the line's own box: the lines start 4 pixels down, so the measured
        // rectangle would cut off the descenders of the last one.
        const CRect line(m_TitleRect.left, top, m_TitleRect.right, top + size.cy);
        pDC->ExtTextOut(x, top, ETO_CLIPPED, &line, m_StringArray[i], nullptr);
        top += size.cy + 2;
    }
    pDC->SelectObject(pOldFont);
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldBkMode);
}
