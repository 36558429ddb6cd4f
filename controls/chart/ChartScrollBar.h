// The scroll bar of an axis: it moves the axis range in steps of a tenth of its width
// over the range of the axis's series. The chart keeps them disabled (never shown) unless
// asked otherwise.
#pragma once

#include "platform/gui/Afx.h"

class CChartAxis;

class CChartScrollBar : public CScrollBar
{
public:
    explicit CChartScrollBar(CChartAxis* pParentAxis);
    ~CChartScrollBar() override;

    // Creates the (hidden) control in the chart window along the axis's side.
    void CreateScrollBar(const CRect& plottingRect);
    // Places it along the axis's side inside the plotting rectangle.
    void PositionScrollBar(const CRect& plottingRect);
    // Range, page and position from the axis and its series.
    void Refresh();

    void SetEnabled(bool enabled);
    bool GetEnabled() const { return m_bEnabled; }
    void SetAutoHide(bool autoHide);
    bool GetAutoHide() const { return m_bAutoHide; }

    // A scroll request (SB_ code and thumb position) from WM_HSCROLL / WM_VSCROLL.
    void OnHScroll(UINT nSBCode, UINT nPos);
    void OnVScroll(UINT nSBCode, UINT nPos);

    // Auto-hide: the chart hides every bar on a mouse move and shows the one under the mouse.
    void OnMouseEnter();
    void OnMouseLeave();

    // Mirrored: positions run against values (a vertical axis not inverted, or a
    // horizontal one inverted).
    bool IsScrollInverted() const;

    // The scroll state without a control (before creation): position, range low and high.
    int GetPosition() const { return m_nPos; }
    int GetRangeMax() const { return m_nMax; }

private:
    void OnScroll(UINT nSBCode, UINT nPos);

    CChartAxis* m_pParentAxis;
    bool m_bEnabled = false;
    bool m_bAutoHide = true;
    int m_nMin = 0;
    int m_nMax = 0;
    int m_nPos = 0;
    bool m_bSynced = false; // the control holds m_nMin, m_nMax and m_nPos
};
