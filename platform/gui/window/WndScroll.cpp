// Scroll bars with the framework's semantics. The state (range, page, position, track
// position) lives in the window; the toolkit bar only shows it and reports the user's
// actions as SB_ codes. The position moves only when the code's handler sets it.
#include "platform/gui/window/WndInternal.h"

#include "platform/gui/draw/SysValues.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QSignalBlocker>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOptionSlider>

namespace qor::gui {

namespace {
BarState* BarOf(const CWnd* w, int nBar)
{
    WndState* s = StateOf(w);
    if (!s || !w->m_hWnd) return nullptr;
    if (s->scrollBarControl) return &s->bars[SB_CTL];
    if (nBar != SB_HORZ && nBar != SB_VERT) return nullptr;
    return &s->bars[nBar];
}

void Clamp(BarState& b)
{
    int hi = std::max(b.nMin, b.Limit());
    b.nPos = std::clamp(b.nPos, b.nMin, hi);
}
} // namespace

void SyncBar(WndState* s, int nBar)
{
    BarState& b = s->bars[nBar];
    if (!b.widget) return;
    QSignalBlocker block(b.widget);
    b.widget->setRange(b.nMin, std::max(b.nMin, b.Limit()));
    b.widget->setPageStep(std::max<int>(static_cast<int>(b.nPage), 1));
    b.widget->setSingleStep(1);
    if (!b.tracking)
    {
        b.widget->setValue(b.nPos);
        b.widget->setSliderPosition(b.nPos);
    }
    b.widget->setEnabled(b.enabled);
}

BarWidget* ScrollBarWidget(const CWnd* w, int nBar)
{
    WndState* s = StateOf(w);
    if (!s || !w->m_hWnd) return nullptr;
    if (s->scrollBarControl) return s->bars[SB_CTL].widget;
    return (nBar == SB_HORZ || nBar == SB_VERT) ? s->bars[nBar].widget : nullptr;
}

void SendScrollCode(WndState* owner, int nBar, UINT code, int pos)
{
    if (!owner || !owner->wnd->m_hWnd) return;
    WPARAM w = MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(pos));
    if (owner->scrollBarControl)
    {
        bool vert = (owner->style & SBS_VERT) != 0;
        if (CWnd* parent = owner->parent ? owner->parent : owner->owner)
            parent->SendMessage(vert ? WM_VSCROLL : WM_HSCROLL, w, reinterpret_cast<LPARAM>(owner->handle));
    }
    else
    {
        owner->wnd->SendMessage(nBar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, w, 0);
    }
}

BarWidget::BarWidget(Qt::Orientation o, QWidget* parent, WndState* owner_, int nBar_)
    : QScrollBar(o, parent), owner(owner_), nBar(nBar_)
{
    setFocusPolicy(Qt::NoFocus);
    QObject::connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (!owner) return;
        HWND h = owner->handle;
        BarState& b = owner->bars[nBar];
        if (action == QAbstractSlider::SliderMove)
        {
            // Only a dragged thumb tracks; the bar never moves by itself otherwise.
            if (!isSliderDown())
            {
                setSliderPosition(b.nPos);
                return;
            }
            b.tracking = true;
            b.nTrackPos = sliderPosition();
            SendScrollCode(owner, nBar, SB_THUMBTRACK, b.nTrackPos);
            return;
        }
        UINT code;
        switch (action)
        {
        case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
        default: return;
        }
        setSliderPosition(b.nPos); // the bar does not move by itself
        SendScrollCode(owner, nBar, code, b.nPos);
        if (StateOf(h) && owner) setSliderPosition(owner->bars[nBar].nPos);
    });
}

void BarWidget::mouseReleaseEvent(QMouseEvent* e)
{
    QScrollBar::mouseReleaseEvent(e);
    if (!owner) return;
    HWND h = owner->handle;
    BarState& b = owner->bars[nBar];
    if (b.tracking)
    {
        SendScrollCode(owner, nBar, SB_THUMBPOSITION, b.nTrackPos);
        if (!StateOf(h) || !owner) return;
        owner->bars[nBar].tracking = false;
    }
    SendScrollCode(owner, nBar, SB_ENDSCROLL, 0);
    if (StateOf(h) && owner) SyncBar(owner, nBar);
}

// Drawn as the program draws its own controls (raised arrow buttons and thumb on the scroll
// bar colour), through the layer's frame controls; the toolkit style only lays the parts out.
void BarWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionSlider opt;
    initStyleOption(&opt);
    auto part = [&](QStyle::SubControl sc) {
        return FromQRect(style()->subControlRect(QStyle::CC_ScrollBar, &opt, sc, this));
    };
    DeviceInfo info;
    info.width = width();
    info.height = height();
    HDC hdc = CreatePainterDC(this, &painter, false, info);
    if (!hdc) return;
    const CRect all(0, 0, width(), height());
    ::FillRect(hdc, &all, GetSysColorBrush(COLOR_SCROLLBAR));
    const bool vertical = orientation() == Qt::Vertical;
    const bool enabled = isEnabled() && maximum() > minimum();
    auto pushed = [&](QStyle::SubControl sc) {
        return (opt.activeSubControls & sc) && (opt.state & QStyle::State_Sunken) ? DFCS_PUSHED : 0u;
    };
    const UINT inactive = enabled ? 0u : DFCS_INACTIVE;
    CRect sub = part(QStyle::SC_ScrollBarSubLine), add = part(QStyle::SC_ScrollBarAddLine);
    ::DrawFrameControl(hdc, &sub, DFC_SCROLL,
                       (vertical ? DFCS_SCROLLUP : DFCS_SCROLLLEFT) | inactive | pushed(QStyle::SC_ScrollBarSubLine));
    ::DrawFrameControl(hdc, &add, DFC_SCROLL,
                       (vertical ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT) | inactive |
                           pushed(QStyle::SC_ScrollBarAddLine));
    CRect thumb = part(QStyle::SC_ScrollBarSlider);
    if (enabled && !thumb.IsRectEmpty()) ::DrawFrameControl(hdc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
    ::DeleteDC(hdc);
}

// The wheel over a bar is the window's wheel (WM_MOUSEWHEEL through the host widget), as
// on Windows; the bar itself does not scroll (nor start a thumb drag).
void BarWidget::wheelEvent(QWheelEvent* e)
{
    e->accept();
    if (!owner || !owner->widget) return;
    QWidget* host = owner->widget;
    QPointF local = host->mapFromGlobal(e->globalPosition());
    QWheelEvent forwarded(local, e->globalPosition(), e->pixelDelta(), e->angleDelta(), e->buttons(), e->modifiers(),
                          e->phase(), e->inverted(), e->source());
    QCoreApplication::sendEvent(host, &forwarded);
}

} // namespace qor::gui

using namespace qor::gui;

namespace {
// Shows or hides a standard bar; the client area changes by the bar's width (WM_SIZE).
void SetBarVisible(CWnd* wnd, int nBar, bool visible)
{
    WndState* s = StateOf(wnd);
    if (!s || s->scrollBarControl)
    {
        if (s) wnd->ShowWindow(visible ? SW_SHOWNA : SW_HIDE);
        return;
    }
    bool changed = false;
    CSize before = s->ClientSize();
    for (int bar : {SB_HORZ, SB_VERT})
    {
        if (nBar != bar && nBar != SB_BOTH) continue;
        if (s->bars[bar].visible != visible)
        {
            s->bars[bar].visible = visible;
            changed = true;
        }
        if (visible) s->bars[bar].everSet = true;
    }
    if (!changed) return;
    s->Layout();
    CSize after = s->ClientSize();
    if (after != before)
    {
        wnd->Invalidate();
        wnd->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(after.cx), static_cast<WORD>(after.cy)));
    }
}
} // namespace

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO si, BOOL bRedraw)
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar)) return ctl->SetScrollInfo(si, bRedraw);
    BarState* b = BarOf(this, nBar);
    if (!b || !si) return FALSE;
    WndState* s = StateOf(this);
    int index = s->scrollBarControl ? SB_CTL : nBar;
    if (si->fMask & SIF_RANGE)
    {
        b->nMin = si->nMin;
        b->nMax = std::max(si->nMin, si->nMax);
    }
    if (si->fMask & SIF_PAGE) b->nPage = si->nPage;
    // The page is at most the whole range.
    UINT span = static_cast<UINT>(b->nMax - b->nMin + 1);
    if (b->nPage > span) b->nPage = span;
    if (si->fMask & SIF_POS) b->nPos = si->nPos;
    Clamp(*b);
    b->everSet = true;
    if ((si->fMask & (SIF_RANGE | SIF_PAGE)) && !s->scrollBarControl)
    {
        bool needed = b->nMax > b->nMin && static_cast<int>(b->nPage) <= b->nMax - b->nMin;
        if (si->fMask & SIF_DISABLENOSCROLL)
        {
            b->enabled = needed;
            if (needed) SetBarVisible(this, nBar, true);
        }
        else
        {
            b->enabled = true;
            SetBarVisible(this, nBar, needed);
        }
    }
    if (m_hWnd) SyncBar(s, index);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO si, UINT nMask)
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar)) return ctl->GetScrollInfo(si, nMask);
    BarState* b = BarOf(this, nBar);
    if (!b || !si) return FALSE;
    if (!b->everSet) return FALSE;
    si->fMask = nMask;
    if (nMask & SIF_RANGE)
    {
        si->nMin = b->nMin;
        si->nMax = b->nMax;
    }
    if (nMask & SIF_PAGE) si->nPage = b->nPage;
    if (nMask & SIF_POS) si->nPos = b->nPos;
    if (nMask & SIF_TRACKPOS) si->nTrackPos = b->tracking ? b->nTrackPos : b->nPos;
    return TRUE;
}

int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar)) return ctl->SetScrollPos(nPos, bRedraw);
    BarState* b = BarOf(this, nBar);
    if (!b) return 0;
    int old = b->nPos;
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, nPos, 0};
    SetScrollInfo(nBar, &si, bRedraw);
    return old;
}

int CWnd::GetScrollPos(int nBar) const
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar)) return ctl->GetScrollPos();
    BarState* b = BarOf(this, nBar);
    return b ? b->nPos : 0;
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar))
    {
        ctl->SetScrollRange(nMinPos, nMaxPos, bRedraw);
        return;
    }
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, nMinPos, nMaxPos, 0, 0, 0};
    SetScrollInfo(nBar, &si, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar))
    {
        ctl->GetScrollRange(lpMinPos, lpMaxPos);
        return;
    }
    BarState* b = BarOf(this, nBar);
    if (lpMinPos) *lpMinPos = b ? b->nMin : 0;
    if (lpMaxPos) *lpMaxPos = b ? b->nMax : 0;
}

int CWnd::GetScrollLimit(int nBar)
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar)) return ctl->GetScrollLimit();
    BarState* b = BarOf(this, nBar);
    return b ? std::max(b->nMin, b->Limit()) : 0;
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { SetBarVisible(this, static_cast<int>(nBar), bShow != FALSE); }

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    bool enable = nArrowFlags != ESB_DISABLE_BOTH;
    for (int bar : {SB_HORZ, SB_VERT, SB_CTL})
    {
        bool hit = s->scrollBarControl ? bar == SB_CTL : (nSBFlags == SB_BOTH ? bar != SB_CTL : nSBFlags == bar);
        if (!hit) continue;
        s->bars[bar].enabled = enable;
        SyncBar(s, bar);
    }
    return TRUE;
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    if (CScrollBar* ctl = GetScrollBarCtrl(nBar))
    {
        ctl->EnableWindow(bEnable);
        return;
    }
    ShowScrollBar(static_cast<UINT>(nBar), bEnable);
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd || s->surface.isNull()) return;
    CRect area = lpRect ? CRect(*lpRect) : CRect(0, 0, s->surface.width(), s->surface.height());
    if (lpClipRect) area = area & CRect(*lpClipRect);
    QRect qa = ToQRect(area);
    QImage copy = s->surface.copy(qa);
    ReleasePaintersOn(&s->surface);
    {
        QPainter p(&s->surface);
        p.setClipRect(qa);
        p.drawImage(qa.topLeft() + QPoint(xAmount, yAmount), copy);
    }
    // What was uncovered needs painting.
    QRegion uncovered = QRegion(qa) - QRegion(qa.translated(xAmount, yAmount));
    s->invalid = s->invalid.translated(xAmount, yAmount) + uncovered;
    s->erasePending = true;
    if (s->widget) s->widget->update();
}

// ---- Scroll-bar control --------------------------------------------------------------------

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(WC_SCROLLBAR, nullptr, dwStyle, rect, pParentWnd, nID);
}
int CScrollBar::GetScrollPos() const { return CWnd::GetScrollPos(SB_CTL); }
int CScrollBar::SetScrollPos(int nPos, BOOL bRedraw) { return CWnd::SetScrollPos(SB_CTL, nPos, bRedraw); }
void CScrollBar::GetScrollRange(LPINT a, LPINT b) const { CWnd::GetScrollRange(SB_CTL, a, b); }
void CScrollBar::SetScrollRange(int a, int b, BOOL r) { CWnd::SetScrollRange(SB_CTL, a, b, r); }
void CScrollBar::ShowScrollBar(BOOL bShow) { ShowWindow(bShow ? SW_SHOWNA : SW_HIDE); }
BOOL CScrollBar::EnableScrollBar(UINT nArrowFlags) { return CWnd::EnableScrollBar(SB_CTL, nArrowFlags); }
BOOL CScrollBar::SetScrollInfo(LPSCROLLINFO si, BOOL r) { return CWnd::SetScrollInfo(SB_CTL, si, r); }
BOOL CScrollBar::GetScrollInfo(LPSCROLLINFO si, UINT m) { return CWnd::GetScrollInfo(SB_CTL, si, m); }
int CScrollBar::GetScrollLimit() { return CWnd::GetScrollLimit(SB_CTL); }

// ---- Handle-level calls --------------------------------------------------------------------

int SetScrollInfo(HWND h, int nBar, LPCSCROLLINFO si, BOOL bRedraw)
{
    CWnd* w = CWnd::FromHandle(h);
    if (!w || !si) return 0;
    SCROLLINFO copy = *si;
    w->SetScrollInfo(nBar, &copy, bRedraw);
    return w->GetScrollPos(nBar);
}
BOOL GetScrollInfo(HWND h, int nBar, LPSCROLLINFO si)
{
    CWnd* w = CWnd::FromHandle(h);
    return (w && si) ? w->GetScrollInfo(nBar, si, si->fMask) : FALSE;
}
int SetScrollPos(HWND h, int nBar, int nPos, BOOL bRedraw)
{
    CWnd* w = CWnd::FromHandle(h);
    return w ? w->SetScrollPos(nBar, nPos, bRedraw) : 0;
}
int GetScrollPos(HWND h, int nBar)
{
    CWnd* w = CWnd::FromHandle(h);
    return w ? w->GetScrollPos(nBar) : 0;
}
BOOL SetScrollRange(HWND h, int nBar, int a, int b, BOOL r)
{
    CWnd* w = CWnd::FromHandle(h);
    if (!w) return FALSE;
    w->SetScrollRange(nBar, a, b, r);
    return TRUE;
}
BOOL GetScrollRange(HWND h, int nBar, LPINT a, LPINT b)
{
    CWnd* w = CWnd::FromHandle(h);
    if (!w) return FALSE;
    w->GetScrollRange(nBar, a, b);
    return TRUE;
}
BOOL ShowScrollBar(HWND h, int nBar, BOOL bShow)
{
    CWnd* w = CWnd::FromHandle(h);
    if (!w) return FALSE;
    w->ShowScrollBar(static_cast<UINT>(nBar), bShow);
    return TRUE;
}
BOOL EnableScrollBar(HWND h, UINT flags, UINT arrows)
{
    CWnd* w = CWnd::FromHandle(h);
    return w ? w->EnableScrollBar(static_cast<int>(flags), arrows) : FALSE;
}
