// The font of a chart text (an axis title, a title line): name, size and style, with the GDI font made from
// them on first use and again after a change.
#include "controls/chart/ChartFont.h"

#include <cwchar>

CChartFont& CChartFont::operator=(const CChartFont& other)
{
    if (this != &other)
    {
        m_strName = other.m_strName;
        m_nPointSize = other.m_nPointSize;
        m_bItalic = other.m_bItalic;
        m_bBold = other.m_bBold;
        m_bUnderline = other.m_bUnderline;
        m_bVertical = other.m_bVertical;
        m_bDirty = true;
    }
    return *this;
}

void CChartFont::SetFont(const CString& name, int pointSize, bool italic, bool bold, bool underline)
{
    m_strName = name;
    m_nPointSize = pointSize;
    m_bItalic = italic;
    m_bBold = bold;
    m_bUnderline = underline;
    m_bDirty = true;
}

void CChartFont::SetPointSize(int pointSize)
{
    if (m_nPointSize != pointSize)
    {
        m_nPointSize = pointSize;
        m_bDirty = true;
    }
}

void CChartFont::SetVertical(bool vertical)
{
    if (m_bVertical != vertical)
    {
        m_bVertical = vertical;
        m_bDirty = true;
    }
}

CFont* CChartFont::SelectFont(CDC* pDC)
{
    if (m_bDirty || !m_Font.GetSafeHandle())
    {
        m_Font.DeleteObject();
        LOGFONT lf{};
        lf.lfHeight = m_nPointSize;
        lf.lfWeight = m_bBold ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = m_bItalic ? 1 : 0;
        lf.lfUnderline = m_bUnderline ? 1 : 0;
        lf.lfEscapement = lf.lfOrientation = m_bVertical ? 900 : 0;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::wcsncpy(lf.lfFaceName, m_strName.GetString(), LF_FACESIZE - 1);
        m_Font.CreatePointFontIndirect(&lf, pDC);
        m_bDirty = false;
    }
    return pDC->SelectObject(&m_Font);
}
