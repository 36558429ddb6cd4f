// Windows: their place and shape: the parts of a window (border, scroll bars, client area),
// visibility, enabling and styles, position and size, coordinates and centring.
#include "platform/gui/window/WndInternal.h"

#include "platform/gui/draw/SysValues.h"

#include <QtGui/QPainter>

namespace qor::gui {

// ---- Geometry of a window's parts ----------------------------------------------------------

int WndState::BorderWidth() const
{
    int b = 0;
    if (style & WS_BORDER) b += GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE) b += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) b += GetSystemMetrics(SM_CXBORDER);
    if ((style & WS_THICKFRAME) && (style & (WS_CHILD | WS_POPUP)))
        b += GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) && (style & (WS_CHILD | WS_POPUP)))
        b += GetSystemMetrics(SM_CXDLGFRAME);
    return b;
}

QPoint WndState::ClientOrigin() const
{
    int b = BorderWidth();
    return QPoint(b, b);
}

CSize WndState::ClientSize() const
{
    if (scrollBarControl) return CSize(cx, cy);
    int b = BorderWidth();
    // A native control's scroll bars are the toolkit control's own, inside its client area.
    bool bv = bars[SB_VERT].visible && !IsNative(), bh = bars[SB_HORZ].visible && !IsNative();
    int w = cx - 2 * b - (bv ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    int h = cy - 2 * b - (bh ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    return CSize(std::max(w, 0), std::max(h, 0));
}

namespace {
double g_pixelRatioOverride = 0;
} // namespace

void SetPixelRatioOverride(double ratio) { g_pixelRatioOverride = ratio; }

double WndState::PixelRatio() const
{
    if (g_pixelRatioOverride > 0) return g_pixelRatioOverride;
    return widget ? widget->devicePixelRatioF() : 1.0;
}

void WndState::PlaceWidget()
{
    QPoint o(x, y);
    if (parent) o += WndAccess::State(parent)->ClientOrigin();
    // A dialog without a sizing border tells the window manager it has one size, or the manager
    // offers to resize and maximise it.
    if (!parent && widget->isWindow() && className == L"#32770" && !(style & WS_THICKFRAME))
        widget->setFixedSize(cx, cy);
    widget->setGeometry(o.x(), o.y(), cx, native ? native->ShownHeight(this, cy) : cy);
}

void WndState::Layout()
{
    CSize cs = ClientSize();
    QPoint o = ClientOrigin();
    if (scrollBarControl)
    {
        if (bars[SB_CTL].widget) bars[SB_CTL].widget->setGeometry(0, 0, cx, cy);
    }
    else
    {
        int sv = GetSystemMetrics(SM_CXVSCROLL), sh = GetSystemMetrics(SM_CYHSCROLL);
        if (BarWidget* v = bars[SB_VERT].widget)
        {
            v->setGeometry(o.x() + cs.cx, o.y(), sv, cs.cy);
            v->setVisible(bars[SB_VERT].visible);
            if (bars[SB_VERT].visible) v->raise();
        }
        if (BarWidget* h = bars[SB_HORZ].widget)
        {
            h->setGeometry(o.x(), o.y() + cs.cy, cs.cx, sh);
            h->setVisible(bars[SB_HORZ].visible);
            if (bars[SB_HORZ].visible) h->raise();
        }
    }
    const double ratio = PixelRatio();
    if (!scrollBarControl &&
        (LogicalSize(surface) != QSize(cs.cx, cs.cy) || surface.devicePixelRatio() != ratio || surface.isNull()))
    {
        ReleasePaintersOn(&surface);
        QImage next = MakeImage(cs.cx, cs.cy, ratio);
        next.fill(ToQColor(GetSysColor(COLOR_WINDOW)));
        if (!surface.isNull() && !next.isNull())
        {
            QPainter p(&next);
            p.drawImage(0, 0, surface);
        }
        surface = std::move(next);
    }
}

} // namespace qor::gui

using namespace qor::gui;

// ---- Visibility, enabling, styles ----------------------------------------------------------

BOOL CWnd::IsWindowVisible() const
{
    for (const CWnd* w = this; w; w = StateOf(w) ? StateOf(w)->parent : nullptr)
    {
        WndState* s = StateOf(w);
        if (!s || !w->m_hWnd || !(s->style & WS_VISIBLE)) return FALSE;
    }
    return TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    BOOL was = (s->style & WS_VISIBLE) ? TRUE : FALSE;
    bool show = nCmdShow != SW_HIDE;
    if (nCmdShow == SW_MAXIMIZE && !(s->style & WS_CHILD))
    {
        // The work area of the screen, also where no window manager maximises for us.
        const CRect area = ScreenArea(s->widget, true);
        MoveWindow(area.left, area.top, area.Width(), area.Height(), TRUE);
        s->style |= WS_MAXIMIZE;
        if (was)
        {
            s->widget->setWindowState(s->widget->windowState() | Qt::WindowMaximized);
            return was;
        }
    }
    if (nCmdShow == SW_RESTORE && !(s->style & WS_CHILD) && (s->style & WS_MAXIMIZE))
    {
        // Back from maximised: the window system (or the frame) gives it its restored place.
        s->style &= ~WS_MAXIMIZE;
        s->widget->setWindowState(s->widget->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        if (was) return was;
    }
    if (show == static_cast<bool>(was)) return was;
    SendMessage(WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!m_hWnd) return was;
    if (show)
        s->style |= WS_VISIBLE;
    else
        s->style &= ~WS_VISIBLE;
    if (show && !(s->style & WS_CHILD))
    {
        // Shown without activation: the window that has the focus keeps it.
        s->noActivate = nCmdShow == SW_SHOWNA || nCmdShow == SW_SHOWNOACTIVATE || nCmdShow == SW_SHOWMINNOACTIVE;
        s->widget->setAttribute(Qt::WA_ShowWithoutActivating, s->noActivate);
    }
    // A window shown maximised carries that state when it is mapped: a window manager reads it as it takes
    // the window, where a request sent after the map may reach it before it has the window, and be dropped.
    if (show && nCmdShow == SW_MAXIMIZE && !(s->style & WS_CHILD))
        s->widget->setWindowState(s->widget->windowState() | Qt::WindowMaximized);
    s->widget->setVisible(show);
    if (show) Invalidate();
    if (CWnd* focus = FocusWindow(); !show && focus && (focus == this || IsChild(focus))) DropFocus();
    return was;
}

BOOL CWnd::IsWindowEnabled() const
{
    WndState* s = StateOf(this);
    return (s && m_hWnd && !(s->style & WS_DISABLED)) ? TRUE : FALSE;
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    BOOL wasDisabled = (s->style & WS_DISABLED) ? TRUE : FALSE;
    if (static_cast<bool>(bEnable) == !wasDisabled) return wasDisabled;
    if (bEnable)
        s->style &= ~WS_DISABLED;
    else
        s->style |= WS_DISABLED;
    s->widget->setEnabled(bEnable != FALSE);
    if (!bEnable && FocusWindow() == this) DropFocus();
    SendMessage(WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}

DWORD CWnd::GetStyle() const
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return 0;
    if (s->IsNative()) return s->style;
    DWORD st = s->style & ~(WS_VSCROLL | WS_HSCROLL);
    if (s->bars[SB_VERT].visible) st |= WS_VSCROLL;
    if (s->bars[SB_HORZ].visible) st |= WS_HSCROLL;
    return st;
}
DWORD CWnd::GetExStyle() const
{
    WndState* s = StateOf(this);
    return (s && m_hWnd) ? s->exStyle : 0;
}

namespace {
void FrameChanged(CWnd* wnd, WndState* s, CSize before)
{
    s->Layout();
    CSize after = s->ClientSize();
    if (after != before)
    {
        wnd->Invalidate();
        wnd->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(after.cx), static_cast<WORD>(after.cy)));
    }
    if (s->widget) s->widget->update();
}
} // namespace

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    DWORD old = GetStyle();
    DWORD next = (old & ~dwRemove) | dwAdd;
    if (next == old) return FALSE;
    CSize before = s->ClientSize();
    s->style = (s->style & (WS_VISIBLE | WS_DISABLED)) | (next & ~(WS_VISIBLE | WS_DISABLED));
    if (!s->IsNative())
    {
        s->bars[SB_VERT].visible = (next & WS_VSCROLL) != 0;
        s->bars[SB_HORZ].visible = (next & WS_HSCROLL) != 0;
    }
    if ((next & WS_VISIBLE) != (old & WS_VISIBLE)) ShowWindow((next & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
    if ((next & WS_DISABLED) != (old & WS_DISABLED)) EnableWindow((next & WS_DISABLED) ? FALSE : TRUE);
    FrameChanged(this, s, before);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    DWORD next = (s->exStyle & ~dwRemove) | dwAdd;
    if (next == s->exStyle) return FALSE;
    CSize before = s->ClientSize();
    s->exStyle = next;
    FrameChanged(this, s, before);
    return TRUE;
}

CString CWnd::GetClassName() const
{
    WndState* s = StateOf(this);
    return (s && m_hWnd) ? s->className : CString();
}

// ---- Geometry ------------------------------------------------------------------------------

void CWnd::GetClientRect(LPRECT lpRect) const
{
    if (!lpRect) return;
    WndState* s = StateOf(this);
    if (!s || !m_hWnd)
    {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    CSize c = s->ClientSize();
    *lpRect = RECT{0, 0, c.cx, c.cy};
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    if (!lpRect) return;
    WndState* s = StateOf(this);
    if (!s || !m_hWnd)
    {
        *lpRect = RECT{0, 0, 0, 0};
        return;
    }
    QPoint g = s->widget->mapToGlobal(QPoint(0, 0));
    if (!(s->style & WS_CHILD)) g = QPoint(s->x, s->y);
    *lpRect = RECT{g.x(), g.y(), g.x() + s->cx, g.y() + s->cy};
}

BOOL CWnd::SetWindowPos(const CWnd*, int x, int y, int cx, int cy, UINT nFlags)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    bool move = !(nFlags & SWP_NOMOVE) && (x != s->x || y != s->y);
    bool size = !(nFlags & SWP_NOSIZE) && (std::max(cx, 0) != s->cx || std::max(cy, 0) != s->cy);
    CSize before = s->ClientSize();
    if (move)
    {
        s->x = x;
        s->y = y;
    }
    if (size)
    {
        s->cx = std::max(cx, 0);
        s->cy = std::max(cy, 0);
    }
    if (move || size) s->PlaceWidget();
    if (size || (nFlags & SWP_FRAMECHANGED))
    {
        s->Layout();
        CSize after = s->ClientSize();
        if (after != before || (nFlags & SWP_FRAMECHANGED))
        {
            if (!(nFlags & SWP_NOREDRAW)) Invalidate();
            if (after != before)
                SendMessage(WM_SIZE, SIZE_RESTORED,
                            MAKELPARAM(static_cast<WORD>(after.cx), static_cast<WORD>(after.cy)));
        }
    }
    if (m_hWnd && move) SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(s->x), static_cast<WORD>(s->y)));
    if (m_hWnd && (nFlags & SWP_SHOWWINDOW)) ShowWindow((nFlags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (m_hWnd && (nFlags & SWP_HIDEWINDOW)) ShowWindow(SW_HIDE);
    if (m_hWnd && !(nFlags & SWP_NOZORDER)) s->widget->raise();
    return TRUE;
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    SetWindowPos(nullptr, x, y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}
void CWnd::MoveWindow(LPCRECT r, BOOL bRepaint)
{
    if (r) MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
}

void CWnd::ClientToScreen(LPPOINT p) const
{
    WndState* s = StateOf(this);
    if (!p || !s || !m_hWnd) return;
    QPoint o = s->ClientOrigin();
    // A shown top-level window with a frame (a dialog) has its client area inside the
    // frame: the toolkit knows where.
    if ((s->style & WS_CHILD) ||
        (s->widget->isVisible() && s->widget->frameGeometry().topLeft() != s->widget->geometry().topLeft()))
    {
        QPoint g = s->widget->mapToGlobal(o);
        p->x += g.x();
        p->y += g.y();
    }
    else
    {
        p->x += s->x + o.x();
        p->y += s->y + o.y();
    }
}
void CWnd::ClientToScreen(LPRECT r) const
{
    if (!r) return;
    POINT tl{r->left, r->top}, br{r->right, r->bottom};
    ClientToScreen(&tl);
    ClientToScreen(&br);
    *r = RECT{tl.x, tl.y, br.x, br.y};
}
void CWnd::ScreenToClient(LPPOINT p) const
{
    if (!p) return;
    POINT o{0, 0};
    ClientToScreen(&o);
    p->x -= o.x;
    p->y -= o.y;
}
void CWnd::ScreenToClient(LPRECT r) const
{
    if (!r) return;
    POINT o{0, 0};
    ClientToScreen(&o);
    r->left -= o.x;
    r->right -= o.x;
    r->top -= o.y;
    r->bottom -= o.y;
}
void CWnd::MapWindowPoints(CWnd* to, LPRECT r) const
{
    if (!r) return;
    ClientToScreen(r);
    if (to) to->ScreenToClient(r);
}
void CWnd::MapWindowPoints(CWnd* to, LPPOINT p, UINT n) const
{
    for (UINT i = 0; p && i < n; ++i)
    {
        ClientToScreen(&p[i]);
        if (to) to->ScreenToClient(&p[i]);
    }
}
void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return;
    if (s->style & WS_CHILD)
    {
        CRect area;
        s->parent->GetClientRect(&area);
        SetWindowPos(nullptr, area.left + (area.Width() - s->cx) / 2, area.top + (area.Height() - s->cy) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        return;
    }
    // Over the owner when it shows, else in the work area of the screen that holds the window;
    // either way wholly on that screen's work area where it fits.
    CWnd* owner = pAlternateOwner ? pAlternateOwner : GetOwner();
    const bool overOwner = owner && owner->m_hWnd && owner->IsWindowVisible() && !owner->IsIconic();
    const CRect work = ScreenArea(overOwner ? WidgetOf(owner) : s->widget, true);
    CRect area = work;
    if (overOwner) owner->GetWindowRect(&area);
    int x = area.left + (area.Width() - s->cx) / 2, y = area.top + (area.Height() - s->cy) / 2;
    x = std::max(work.left, std::min(x, work.right - s->cx));
    y = std::max(work.top, std::min(y, work.bottom - s->cy));
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
void CWnd::BringWindowToTop()
{
    if (QWidget* w = WidgetOf(this)) w->raise();
}
