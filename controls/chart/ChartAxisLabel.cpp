#include "controls/chart/ChartAxisLabel.h"

#include "controls/chart/ChartCtrl.h"

CChartAxisLabel::CChartAxisLabel() = default;

void CChartAxisLabel::SetText(const CString& text)
{
    m_strLabelText = text;
    if (m_pParentCtrl)
        m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetColour(COLORREF colour)
{
    m_TextColour = colour;
    if (m_pParentCtrl)
        m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetVisible(bool visible)
{
    m_bIsVisible = visible;
    if (m_pParentCtrl)
        m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetFont(const CString& name, int pointSize, bool italic, bool bold, bool underline)
{
    m_Font.SetFont(name, pointSize, italic, bold, underline);
    if (m_pParentCtrl)
        m_pParentCtrl->RefreshCtrl();
}

void CChartAxisLabel::SetHorizontal(bool horizontal)
{
    m_bIsHorizontal = horizontal;
    m_Font.SetVertical(!horizontal);
}

CSize CChartAxisLabel::GetSize(CDC* pDC)
{
    if (!m_bIsVisible || m_strLabelText.IsEmpty() || !pDC || !pDC->GetSafeHdc())
        return CSize(0, 0);
    CFont* pOldFont = m_Font.SelectFont(pDC);
    // The extent along the text, whichever way it is written.
    const CSize text = pDC->GetTextExtent(FittedText(pDC));
    pDC->SelectObject(pOldFont);
    if (m_bIsHorizontal)
        return CSize(text.cx + 4, text.cy + 4);
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
    if (!m_bIsVisible || m_strLabelText.IsEmpty() || !pDC || !pDC->GetSafeHdc())
        return;
    CFont* pOldFont = m_Font.SelectFont(pDC);
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

// The text, cut short with "..." when it is longer than the axis (the font is selected).
CString CChartAxisLabel::FittedText(CDC* pDC) const
{
    const int room = m_nMaxLength - 4;
    if (m_nMaxLength <= 0 || pDC->GetTextExtent(m_strLabelText).cx <= room)
        return m_strLabelText;
    for (int length = m_strLabelText.GetLength() - 1; length > 0; length--)
    {
        const CString cut = m_strLabelText.Left(length).TrimRight() + _T("...");
        if (pDC->GetTextExtent(cut).cx <= room)
            return cut;
    }
    return CString();
}
