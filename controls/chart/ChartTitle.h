// The lines of text above the plot.
#pragma once

#include "controls/chart/ChartFont.h"

#include <map>
#include <vector>

class CChartCtrl;

class CChartTitle
{
public:
    explicit CChartTitle(CChartCtrl* pParent);

    unsigned GetStringCount() const { return static_cast<unsigned>(m_StringArray.size()); }
    CString GetString(unsigned index) const;
    void AddString(const CString& newString);
    void RemoveAll();
    // A line with a font of its own (size in tenths of a point).
    void SetLineFont(unsigned index, const CString& name, int pointSize, bool italic = false, bool bold = false,
                     bool underline = false);
    void SetFont(const CString& name, int pointSize, bool italic = false, bool bold = false, bool underline = false);
    void SetVisible(bool visible);
    bool IsVisible() const { return m_bIsVisible; }
    void SetColour(COLORREF colour);
    COLORREF GetColour() const { return m_TextColour; }

    // Used by the chart: the size the lines take ((0, 0) hidden or without lines), the
    // rectangle the chart gives it, and drawing.
    CSize Measure(CDC* pDC);
    CSize GetSize(CDC* pDC) { return Measure(pDC); }
    void SetTitleRect(const CRect& rect) { m_TitleRect = rect; }
    const CRect& GetTitleRect() const { return m_TitleRect; }
    void Draw(CDC* pDC);

private:
    CChartFont& FontOfLine(unsigned index);

    CChartCtrl* m_pParentCtrl;
    std::vector<CString> m_StringArray;
    std::map<unsigned, CChartFont> m_mapLineFonts;
    bool m_bIsVisible = true;
    CChartFont m_DefaultFont;
    COLORREF m_TextColour = 0;
    CRect m_TitleRect;
};
