// The scroll bar of an axis: it moves the axis range in steps of a tenth of its width over the range of the
// axis's series.
#include "controls/chart/ChartScrollBar.h"

#include "controls/chart/ChartAxis.h"
#include "controls/chart/ChartCtrl.h"

#include <algorithm>

namespace {
constexpr UINT kScrollBarId = 100;
constexpr int kPage = 10;
} // namespace

CChartScrollBar::CChartScrollBar(CChartAxis* pParentAxis) : m_pParentAxis(pParentAxis) {}

CChartScrollBar::~CChartScrollBar() = default;

bool CChartScrollBar::IsScrollInverted() const
{
    return m_pParentAxis->IsHorizontal() ? m_pParentAxis->IsInverted() : !m_pParentAxis->IsInverted();
}

void CChartScrollBar::CreateScrollBar(const CRect& plottingRect)
{
    CChartCtrl* pChart = m_pParentAxis->GetParent();
    if (!pChart || !pChart->GetSafeHwnd()) return;
    DWORD style = WS_CHILD;
    switch (m_pParentAxis->GetPosition())
    {
    case CChartAxis::LeftAxis: style |= SBS_VERT | SBS_LEFTALIGN; break;
    case CChartAxis::RightAxis: style |= SBS_VERT | SBS_RIGHTALIGN; break;
    case CChartAxis::BottomAxis: style |= SBS_HORZ | SBS_BOTTOMALIGN; break;
    default: style |= SBS_HORZ | SBS_TOPALIGN; break;
    }
    CRect rect = plottingRect;
    rect.left += 1;
    rect.top += 1;
    if (!Create(style, rect, pChart, kScrollBarId)) return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 1;
    info.nMax = 1;
    info.nPage = 1;
    info.nPos = 1;
    SetScrollInfo(&info, FALSE);
    m_bSynced = false;
    PositionScrollBar(plottingRect);
}

void CChartScrollBar::PositionScrollBar(const CRect& plottingRect)
{
    if (!GetSafeHwnd()) return;
    const bool vertical = !m_pParentAxis->IsHorizontal();
    const int thickness = GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
    CRect rect(plottingRect.left + 1, plottingRect.top + 1, plottingRect.right, plottingRect.bottom);
    switch (m_pParentAxis->GetPosition())
    {
    case CChartAxis::LeftAxis: rect.right = rect.left + thickness; break;
    case CChartAxis::RightAxis: rect.left = rect.right - thickness; break;
    case CChartAxis::BottomAxis: rect.top = rect.bottom - thickness; break;
    default: rect.bottom = rect.top + thickness; break;
    }
    if (rect.IsRectEmpty()) return;
    MoveWindow(&rect, FALSE);
}

void CChartScrollBar::Refresh()
{
    int count = 1, position = 1;
    m_pParentAxis->ScrollBarSteps(&count, &position);
    const int pos = IsScrollInverted() ? count - position - 9 : position;
    // Automatic axes refresh at every added point: only changes go to the control.
    if (m_bSynced && m_nMin == 0 && m_nMax == count - 1 && m_nPos == pos) return;
    m_nMin = 0;
    m_nMax = count - 1;
    m_nPos = pos;
    m_bSynced = false;
    if (!GetSafeHwnd()) return;
    m_bSynced = true;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = m_nMin;
    info.nMax = m_nMax;
    info.nPage = kPage;
    info.nPos = m_nPos;
    SetScrollInfo(&info, TRUE);
}

void CChartScrollBar::SetEnabled(bool enabled)
{
    m_bEnabled = enabled;
    if (GetSafeHwnd()) ShowWindow(enabled && !m_bAutoHide ? SW_SHOW : SW_HIDE);
}

void CChartScrollBar::SetAutoHide(bool autoHide)
{
    m_bAutoHide = autoHide;
    SetEnabled(m_bEnabled);
}

void CChartScrollBar::OnMouseEnter()
{
    if (m_bEnabled && m_bAutoHide && GetSafeHwnd()) ShowWindow(SW_SHOW);
}

void CChartScrollBar::OnMouseLeave()
{
    if (m_bEnabled && m_bAutoHide && GetSafeHwnd()) ShowWindow(SW_HIDE);
}

void CChartScrollBar::OnHScroll(UINT nSBCode, UINT nPos) { OnScroll(nSBCode, nPos); }
void CChartScrollBar::OnVScroll(UINT nSBCode, UINT nPos) { OnScroll(nSBCode, nPos); }

void CChartScrollBar::OnScroll(UINT nSBCode, UINT nPos)
{
    const int previous = m_nPos;
    const int low = m_nMin, high = m_nMax;
    int p = previous;
    switch (nSBCode)
    {
    case SB_LINEUP:
        if (p > low) p = p - 1;
        break;
    case SB_LINEDOWN:
        if (p < high - 9) p = p + 1;
        break;
    case SB_PAGEUP:
        if (p > low) p = std::max(p - 10, low);
        break;
    case SB_PAGEDOWN:
        if (p < high - 9) p = std::min(p + 10, high);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: p = static_cast<int>(nPos); break;
    case SB_TOP: p = 0; break;
    case SB_BOTTOM: p = high; break;
    default: return; // SB_ENDSCROLL
    }
    m_nPos = p;
    if (GetSafeHwnd())
        SetScrollPos(p, TRUE);
    else
        m_bSynced = false;
    m_pParentAxis->ScrollBySteps(previous, p, IsScrollInverted());
    if (m_pParentAxis->GetParent()) m_pParentAxis->GetParent()->RecalcScreenAutoAxes();
}
