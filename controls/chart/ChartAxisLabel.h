// The title of an axis, written along it (upwards beside a vertical axis).
#pragma once

#include "controls/chart/ChartFont.h"

class CChartCtrl;

class CChartAxisLabel
{
public:
    CChartAxisLabel();

    void SetText(const CString& text);
    const CString& GetText() const { return m_strLabelText; }
    void SetColour(COLORREF colour);
    COLORREF GetColour() const { return m_TextColour; }
    void SetVisible(bool visible);
    bool IsVisible() const { return m_bIsVisible; }
    void SetFont(const CString& name, int pointSize, bool italic = false, bool bold = false, bool underline = false);

    // Used by the axis.
    void SetParent(CChartCtrl* pParent) { m_pParentCtrl = pParent; }
    void SetHorizontal(bool horizontal);
    bool IsHorizontal() const { return m_bIsHorizontal; }
    // The text extent plus 4 pixels each way, swapped when vertical; (0, 0) when hidden or empty.
    CSize GetSize(CDC* pDC);
    // A horizontal title's rectangle starts at its top-left corner; a vertical one's text
    // is written upwards from its bottom-left corner.
    void SetPosition(int left, int top, CDC* pDC);
    // The longest the title may be along its text (the axis's length): a longer title is written
    // smaller to keep it whole (cut short with "..." only below two fifths of its size). 0: no limit.
    void SetMaxLength(int length) { m_nMaxLength = length; }
    const CRect& GetRect() const { return m_TextRect; }
    void Draw(CDC* pDC);

private:
    CChartCtrl* m_pParentCtrl = nullptr;
    bool m_bIsVisible = true;
    CRect m_TextRect;
    COLORREF m_TextColour = 0;
    bool m_bIsHorizontal = true;
    CChartFont m_Font;
    CString m_strLabelText;
    int m_nMaxLength = 0;

    CChartFont m_Fitted; // the font made smaller to fit the axis

    CFont* SelectFittedFont(CDC* pDC);
    CString FittedText(CDC* pDC) const;
};
