// The grid of an axis: dotted lines across the plotting rectangle at the axis's ticks.
#pragma once

#include "platform/gui/Afx.h"

#include <vector>

class CChartCtrl;

class CChartGrid
{
public:
    CChartGrid() = default;

    void SetColour(COLORREF colour);
    COLORREF GetColour() const { return m_GridColour; }
    void SetVisible(bool visible);
    bool IsVisible() const { return m_bIsVisible; }

    // Used by the axis.
    void SetParent(CChartCtrl* pParent) { m_pParentCtrl = pParent; }
    void SetHorizontal(bool horizontal) { m_bIsHorizontal = horizontal; }
    bool IsHorizontal() const { return m_bIsHorizontal; }
    void ClearTicks() { m_lstTickPos.clear(); }
    void AddTick(int tickPos) { m_lstTickPos.push_back(tickPos); }
    const std::vector<int>& GetTicks() const { return m_lstTickPos; }
    // A grid of a vertical axis draws horizontal lines at its ticks; of a horizontal axis
    // vertical ones; each a line of 3-pixel dashes every 6 pixels, clipped to the plot.
    void Draw(CDC* pDC);

private:
    COLORREF m_GridColour = 0x808080;
    CChartCtrl* m_pParentCtrl = nullptr;
    bool m_bIsVisible = true;
    std::vector<int> m_lstTickPos;
    bool m_bIsHorizontal = true;
};
