// The title of an axis, written along it (upwards beside a vertical axis).
#include "controls/chart/ChartAxisLabel.h"

#include "controls/chart/ChartCtrl.h"

#include <algorithm>

CChartAxisLabel::CChartAxisLabel() = default;

void CChartAxisLabel::SetText(const CString& text)
{
    m_strLabelText = text;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetColour(COLORREF colour)
{
    m_TextColour = colour;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetFont(const CString& name, int pointSize, bool italic, bool bold, bool underline)
{
    m_Font.SetFont(name, pointSize, italic, bold, underline);
    if (m_pParentCtrl) m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetHorizontal(bool horizontal)
{
    m_bIsHorizontal = horizontal;
    m_Font.SetVertical(!horizontal);
}

CSize CChartAxisLabel::GetSize(CDC* pDC)
{
    if (!m_bIsVisible || m_strLabelText.IsEmpty() || !pDC || !pDC->GetSafeHdc()) return CSize(0, 0);
    CFont* pOldFont = SelectFittedFont(pDC);
    // The extent along the text, whichever way it is written.
    const CSize text = pDC->GetTextExtent(FittedText(pDC));
    pDC->SelectObject(pOldFont);
    if (m_bIsHorizontal) return CSize(text.cx + 4, text.cy + 4);
    return CSize(text.cy + 4, text.cx + 4);
}

void CChartAxisLabel::SetPosition(int left, int top, CDC* pDC)
{
    const CSize size = GetSize(pDC);
    if (m_bIsHorizontal)
        m_TextRect.SetRect(left, top, left + size.cx, top + size.cy);
    else
        m_TextRect.SetRect(left, top - size.cy, left + size.cx, top);
}

void CChartAxisLabel::Draw(CDC* pDC)
{
    if (!m_bIsVisible || m_strLabelText.IsEmpty() || !pDC || !pDC->GetSafeHdc()) return;
    CFont* pOldFont = SelectFittedFont(pDC);
    const COLORREF oldColour = pDC->SetTextColor(m_TextColour);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const CString text = FittedText(pDC);
    if (m_bIsHorizontal)
        pDC->ExtTextOut(m_TextRect.left, m_TextRect.top + 2, ETO_CLIPPED, &m_TextRect, text, nullptr);
    else // written upwards from the bottom-left corner
        pDC->ExtTextOut(m_TextRect.left + 2, m_TextRect.bottom, ETO_CLIPPED, &m_TextRect, text, nullptr);
    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColour);
    pDC->SelectObject(pOldFont);
}

// Selects the title's font, or the largest smaller size (down to two fifths) in which the whole title
// fits along the axis; returns the previous font.
CFont* CChartAxisLabel::SelectFittedFont(CDC* pDC)
{
    CFont* pOldFont = m_Font.SelectFont(pDC);
    const int room = m_nMaxLength - 4;
    const int length = pDC->GetTextExtent(m_strLabelText).cx;
    if (m_nMaxLength <= 0 || length <= room) return pOldFont;
    const int full = m_Font.GetPointSize();
    const int smallest = std::max(full * 2 / 5, 10);
    m_Fitted = m_Font;
    int size = std::max(room > 0 ? full * room / length : smallest, smallest);
    for (;;)
    {
        m_Fitted.SetPointSize(size);
        m_Fitted.SelectFont(pDC);
        if (size <= smallest || pDC->GetTextExtent(m_strLabelText).cx <= room) break;
        size = std::max(size * 9 / 10, smallest);
    }
    return pOldFont;
}

// The text, cut short with "..." when even the smallest size is longer than the axis (the font is selected).
CString CChartAxisLabel::FittedText(CDC* pDC) const
{
    const int room = m_nMaxLength - 4;
    if (m_nMaxLength <= 0 || pDC->GetTextExtent(m_strLabelText).cx <= room) return m_strLabelText;
    for (int length = m_strLabelText.GetLength() - 1; length > 0; length--)
    {
        const CString cut = m_strLabelText.Left(length).TrimRight() + _T("...");
        if (pDC->GetTextExtent(cut).cx <= room) return cut;
    }
    return CString();
}
