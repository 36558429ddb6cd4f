// The font of a chart text (an axis title, a title line): name, size and style, with the
// GDI font made from them on first use and again after a change.
#pragma once

#include "platform/gui/Afx.h"

class CChartFont
{
public:
    CChartFont() = default;
    CChartFont(const CString& name, int pointSize) : m_strName(name), m_nPointSize(pointSize) {}
    CChartFont(const CChartFont& other) { *this = other; }
    CChartFont& operator=(const CChartFont& other);

    // nPointSize in tenths of a point.
    void SetFont(const CString& name, int pointSize, bool italic = false, bool bold = false, bool underline = false);
    void SetVertical(bool vertical);
    // The same font in another size (tenths of a point).
    void SetPointSize(int pointSize);
    bool IsVertical() const { return m_bVertical; }
    const CString& GetName() const { return m_strName; }
    int GetPointSize() const { return m_nPointSize; }
    bool IsBold() const { return m_bBold; }

    // Makes the GDI font for pDC when needed and selects it; returns the previous font.
    CFont* SelectFont(CDC* pDC);

private:
    CString m_strName = _T("Microsoft Sans Serif");
    int m_nPointSize = 100;
    bool m_bItalic = false;
    bool m_bBold = false;
    bool m_bUnderline = false;
    bool m_bVertical = false;
    CFont m_Font;
    bool m_bDirty = true;
};
