// The legend: the named series of the chart, each with a sample of its drawing.
#pragma once

#include "platform/gui/Afx.h"

class CChartCtrl;

class CChartLegend
{
public:
    enum DockSide
    {
        dsDockRight = 0,
        dsDockLeft = 1,
        dsDockTop = 2,
        dsDockBottom = 3
    };

    explicit CChartLegend(CChartCtrl* pParent);

    void SetVisible(bool visible);
    bool IsVisible() const { return m_bIsVisible; }
    void SetFont(int pointSize, const CString& faceName);
    void DockLegend(int side);
    void UndockLegend(int left, int top);
    bool IsDocked() const { return m_bDocked; }
    int GetDockSide() const { return m_DockSide; }
    void SetTransparent(bool transparent);
    void SetHorizontalMode(bool horizontal);
    void SetShadow(bool shadow);
    void SetShadowDepth(int depth);
    void SetBackgroundColour(COLORREF colour);
    void SetShadowColour(COLORREF colour);

    // Used by the chart: measures and places the legend in the working rectangle (empty
    // when hidden or when no series has a name), and draws it.
    void Measure(CDC* pDC, const CRect& workingRect);
    const CRect& GetLegendRect() const { return m_LegendRect; }
    void Draw(CDC* pDC);

private:
    void RefreshParent();

    CChartCtrl* m_pParentCtrl;
    CRect m_LegendRect;
    CString m_strFontName = _T("Times New Roman");
    int m_iFontSize = 100;
    bool m_bDocked = true;
    int m_DockSide = dsDockRight;
    CPoint m_UndockedPos;
    bool m_bIsVisible = false;
    bool m_bIsTransparent = false;
    bool m_bIsHorizontal = false;
    bool m_bShadow = true;
    int m_iShadowDepth = 3;
    COLORREF m_BackColour = 0xFFFFFF;
    COLORREF m_ShadowColour = 0;
    int m_BitmapWidth = 16;
    int m_BitmapHeight = 16;
};
