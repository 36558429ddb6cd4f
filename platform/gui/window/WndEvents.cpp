// The host widget: toolkit events become the window's messages, and the retained surface
// goes to the screen.
#include "platform/gui/window/WndInternal.h"

#include "platform/core/Time.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/window/App.h"

#include <QtGui/QFocusEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QWheelEvent>
#include <QtWidgets/QApplication>

namespace qor::gui {

void NoteInputState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    SetKeyDown(VK_SHIFT, mods & Qt::ShiftModifier);
    SetKeyDown(VK_CONTROL, mods & Qt::ControlModifier);
    SetKeyDown(VK_MENU, mods & Qt::AltModifier);
    SetKeyDown(VK_LBUTTON, buttons & Qt::LeftButton);
    SetKeyDown(VK_RBUTTON, buttons & Qt::RightButton);
    SetKeyDown(VK_MBUTTON, buttons & Qt::MiddleButton);
}

void HostBase::Setup(bool native)
{
    QWidget* w = Widget();
    w->setMouseTracking(true);
    if (native) return; // a native control keeps its toolkit focus policy and painting
    w->setFocusPolicy(Qt::NoFocus);
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    w->setAttribute(Qt::WA_NoSystemBackground);
    w->setAttribute(Qt::WA_InputMethodEnabled, false);
}

void HostBase::Gone()
{
    // A window whose widget goes with its toolkit parent (application shutdown) is gone too.
    if (state && state->wnd && state->wnd->m_hWnd)
    {
        state->widget = nullptr;
        state->host = nullptr;
        state = nullptr;
    }
}

// The toolkit event that is being dispatched as a message, for that message's default.
struct HostBase::EventScope
{
    HostBase* host;
    QEvent* savedEvent;
    UINT savedMsg;
    QWidget* savedSource;
    EventScope(HostBase* h, QEvent* e, UINT msg, QWidget* source)
        : host(h), savedEvent(h->m_event), savedMsg(h->m_eventMsg), savedSource(h->m_eventSource)
    {
        h->m_event = e;
        h->m_eventMsg = msg;
        h->m_eventSource = source;
    }
    ~EventScope()
    {
        host->m_event = savedEvent;
        host->m_eventMsg = savedMsg;
        host->m_eventSource = savedSource;
    }
};

QEvent* HostBase::TakeEvent(UINT msg, QWidget** source)
{
    if (!m_event || m_eventMsg != msg) return nullptr;
    QEvent* e = m_event;
    if (source) *source = m_eventSource;
    m_event = nullptr;
    return e;
}

namespace {

struct DepthGuard
{
    WndState* s;
    HWND h;
    explicit DepthGuard(WndState* st) : s(st), h(st->handle) { ++s->eventDepth; }
    // The event may have destroyed the window and its state with it.
    ~DepthGuard()
    {
        if (StateOf(h) == s) --s->eventDepth;
    }
};

// The lParam of a mouse message: the point in the target's client coordinates.
LPARAM MouseParam(QPoint client)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(client.x())),
                      static_cast<WORD>(static_cast<short>(client.y())));
}

// Sends a mouse message to a window; the point is in the target's client coordinates.
void SendMouse(CWnd* target, UINT msg, UINT flags, QPoint client)
{
    target->SendMessage(msg, flags, MouseParam(client));
}

UINT ButtonMessage(QEvent::Type type, Qt::MouseButton b, bool dblClks)
{
    int base;
    switch (b)
    {
    case Qt::LeftButton: base = WM_LBUTTONDOWN; break;
    case Qt::RightButton: base = WM_RBUTTONDOWN; break;
    case Qt::MiddleButton: base = WM_MBUTTONDOWN; break;
    default: return 0;
    }
    if (type == QEvent::MouseButtonPress) return static_cast<UINT>(base);
    if (type == QEvent::MouseButtonRelease) return static_cast<UINT>(base + 1);
    return static_cast<UINT>(dblClks ? base + 2 : base);
}

} // namespace

// A scroll area's mouse arrives at its viewport: the filter routes it through the host, and
// the default processing hands it back to the viewport's own handling.
class ViewportFilter : public QObject
{
public:
    ViewportFilter(HostBase* h, QWidget* vp) : QObject(vp), host(h), viewport(vp) {}
    HostBase* host;
    QWidget* viewport;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (o != viewport || !host->state) return false;
        switch (e->type())
        {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(e);
            QPoint local = viewport->mapTo(host->Widget(), me->position().toPoint());
            return host->HostMouse(me, local, viewport);
        }
        case QEvent::Paint:
            // The viewport shows the control's text: its colours first.
            if (host->state->native) host->state->native->BeforePaint(host->state);
            return false;
        default: return false;
        }
    }
};

void HostBase::HostViewport(QWidget* viewport)
{
    if (viewport) viewport->installEventFilter(new ViewportFilter(this, viewport));
}

bool HostBase::HostMouse(QMouseEvent* me, QPoint local, QWidget* source)
{
    WndState* s = state;
    CWnd* wnd = s->wnd;
    DepthGuard depth(s);
    QEvent* e = me;
    NoteInputState(me->modifiers(), me->buttons());
    if (me->type() == QEvent::MouseButtonPress || me->type() == QEvent::MouseButtonDblClick) AllowActivation(wnd);
    QPoint global = me->globalPosition().toPoint();
    SetLastMousePos(POINT{global.x(), global.y()});
    // With the capture elsewhere, the capturing window gets the mouse.
    CWnd* target = wnd;
    if (CWnd* cap = CaptureWindow(); cap && cap != wnd && cap->m_hWnd) target = cap;
    WndState* ts = StateOf(target);
    if (target != wnd) local = ts->widget->mapFromGlobal(global);
    QPoint client = local - ts->ClientOrigin();
    CSize cs = ts->ClientSize();
    bool inClient = client.x() >= 0 && client.y() >= 0 && client.x() < cs.cx && client.y() < cs.cy;
    if (!inClient && CaptureWindow() != target)
    {
        // The frame of a native control is the control's own.
        if (target == wnd && s->IsNative())
        {
            if (source == Widget()) return ToolkitEvent(e);
            return false;
        }
        e->accept();
        return true;
    }
    UINT flags = FromQtMouse(me->buttons(), me->modifiers());
    UINT msg;
    if (e->type() == QEvent::MouseMove)
    {
        msg = WM_MOUSEMOVE;
        target->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(target->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    else
    {
        msg = ButtonMessage(e->type(), me->button(), (ts->cls.style & CS_DBLCLKS) != 0);
        if (!msg) return true;
        if (e->type() != QEvent::MouseButtonRelease)
            target->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(target->m_hWnd),
                                MAKELPARAM(HTCLIENT, static_cast<WORD>(msg)));
    }
    if (target->m_hWnd)
    {
        // As the message loop does, the window and its parents may take the input first.
        MSG pre{target->m_hWnd,          msg, flags, MouseParam(client), static_cast<DWORD>(GetTickCount()),
                {global.x(), global.y()}};
        if (WalkPreTranslate(target, &pre))
        {
            e->accept();
            return true;
        }
    }
    if (target->m_hWnd)
    {
        // The window's own mouse may go on to its toolkit control by default.
        EventScope scope(this, target == wnd ? e : nullptr, msg, source);
        SendMouse(target, msg, flags, client);
    }
    e->accept();
    return true;
}

bool HostBase::HostEvent(QEvent* e)
{
    if (!state) return ToolkitEvent(e);
    WndState* s = state;
    CWnd* wnd = s->wnd;
    HWND h = s->handle;
    DepthGuard depth(s);

    switch (e->type())
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        return HostMouse(me, me->position().toPoint(), Widget());
    }
    case QEvent::Wheel: return HostWheel(static_cast<QWheelEvent*>(e));
    case QEvent::ShortcutOverride:
        // Keys go to the window first, as on Windows.
        e->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: return HostKey(static_cast<QKeyEvent*>(e));
    case QEvent::FocusIn:
    case QEvent::FocusOut: return HostFocus(static_cast<QFocusEvent*>(e));
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::ScreenChangeInternal: return HostGeometry(e);
    case QEvent::Close:
        e->ignore();
        // While work runs off the window thread or in steps on it, the window closes once it has
        // ended (posted messages wait for that): nothing it reads may go from under it.
        if (qor::gui::IsWorkOffWindowThreadRunning())
            wnd->PostMessage(WM_CLOSE, 0, 0);
        else
            wnd->SendMessage(WM_CLOSE, 0, 0);
        return true;
    case QEvent::Leave:
        if (wnd->m_hWnd) wnd->SendMessage(WM_MOUSELEAVE, 0, 0);
        return IsLiveHandle(h) && state ? ToolkitEvent(e) : true;
    default: return ToolkitEvent(e);
    }
}

bool HostBase::HostWheel(QWheelEvent* we)
{
    CWnd* wnd = state->wnd;
    HWND h = state->handle;
    NoteInputState(we->modifiers(), we->buttons());
    QPoint global = we->globalPosition().toPoint();
    SetLastMousePos(POINT{global.x(), global.y()});
    const int dy = we->angleDelta().y(), dx = we->angleDelta().x();
    const UINT flags = FromQtMouse(we->buttons(), we->modifiers());
    const LPARAM pt = MouseParam(global);
    EventScope scope(this, we, WM_MOUSEWHEEL, Widget());
    if (dy)
        wnd->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<WORD>(flags), static_cast<WORD>(static_cast<short>(dy))),
                         pt);
    if (dx && IsLiveHandle(h))
        wnd->SendMessage(WM_MOUSEHWHEEL,
                         MAKEWPARAM(static_cast<WORD>(flags), static_cast<WORD>(static_cast<short>(-dx))), pt);
    we->accept();
    return true;
}

bool HostBase::HostKey(QKeyEvent* ke)
{
    CWnd* wnd = state->wnd;
    HWND h = state->handle;
    NoteInputState(ke->modifiers(), QApplication::mouseButtons());
    const MSG km = KeyMessage(wnd->m_hWnd, *ke);
    const bool alt = ke->modifiers() & Qt::AltModifier;
    if (km.message) wnd->SendMessage(km.message, km.wParam, km.lParam);
    if (ke->type() == QEvent::KeyPress)
    {
        for (QChar c : KeyCharacters(*ke))
        {
            if (!IsLiveHandle(h) || !wnd->m_hWnd) break;
            wnd->SendMessage(alt ? WM_SYSCHAR : WM_CHAR, c.unicode(), km.lParam);
        }
    }
    ke->accept();
    return true;
}

bool HostBase::HostFocus(QFocusEvent* fe)
{
    WndState* s = state;
    CWnd* wnd = s->wnd;
    HWND h = s->handle;
    if (fe->type() == QEvent::FocusIn)
    {
        if (FocusWindow() != wnd)
        {
            // WM_SETFOCUS's default hands the event to a native control.
            EventScope scope(this, fe, WM_SETFOCUS, Widget());
            MoveFocus(wnd);
        }
        else if (s->IsNative())
        {
            ToolkitEvent(fe); // the toolkit catching up with a SetFocus already reported
        }
        return true;
    }
    bool reported = false;
    if (FocusWindow() == wnd && fe->reason() == Qt::ActiveWindowFocusReason)
    {
        // The toolkit activated a window shown without activation, or took the activation
        // from ours as a pop-up (a dropped list) went away: the focus stays here and this
        // window becomes active again.
        QWidget* active = QApplication::activeWindow();
        if (SpuriousActivation(active) || (!active && PopupActivationPending()))
        {
            GiveActivationBack(Widget()->window());
            return true;
        }
    }
    if (FocusWindow() == wnd && fe->reason() != Qt::PopupFocusReason)
    {
        QWidget* next = QApplication::focusWidget();
        CWnd* to = next ? WndFromWidget(next) : nullptr;
        if (to != wnd)
        {
            EventScope scope(this, fe, WM_KILLFOCUS, Widget());
            MoveFocus(to);
            reported = true;
        }
    }
    if (!reported && IsLiveHandle(h) && s->IsNative() && state) ToolkitEvent(fe);
    return true;
}

bool HostBase::HostGeometry(QEvent* e)
{
    WndState* s = state;
    CWnd* wnd = s->wnd;
    HWND h = s->handle;
    QWidget* self = Widget();
    ToolkitEvent(e);
    switch (e->type())
    {
    case QEvent::Resize:
        if (!(s->style & WS_CHILD) && (self->width() != s->cx || self->height() != s->cy))
        {
            CSize before = s->ClientSize();
            s->cx = self->width();
            s->cy = self->height();
            s->Layout();
            CSize after = s->ClientSize();
            if (after != before)
            {
                wnd->Invalidate();
                wnd->SendMessage(WM_SIZE, SIZE_RESTORED,
                                 MAKELPARAM(static_cast<WORD>(after.cx), static_cast<WORD>(after.cy)));
            }
        }
        break;
    case QEvent::Move:
        if (!(s->style & WS_CHILD) && (self->x() != s->x || self->y() != s->y))
        {
            s->x = self->x();
            s->y = self->y();
            wnd->SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(s->x), static_cast<WORD>(s->y)));
        }
        break;
    default:
        // On a screen of another pixel ratio the surface is made anew and drawn again.
        if (IsLiveHandle(h) && !s->IsNative() && s->surface.devicePixelRatio() != s->PixelRatio())
        {
            s->Layout();
            wnd->Invalidate();
        }
        break;
    }
    return true;
}

void HostBase::HostPaint(QPaintEvent* e)
{
    if (!state || state->IsNative())
    {
        // A native control paints itself.
        if (state)
        {
            state->invalid = QRegion();
            if (state->native) state->native->BeforePaint(state);
            if (!state) return;
        }
        ToolkitPaint(e);
        if (state && state->native) state->native->AfterPaint(state);
        return;
    }
    WndState* s = state;
    QWidget* self = Widget();
    const int width = self->width(), height = self->height();
    HWND h = s->handle;
    DepthGuard depth(s);
    if (!s->invalid.isEmpty() && !s->inPaint && s->redraw) s->wnd->SendMessage(WM_PAINT, 0, 0);
    if (!IsLiveHandle(h) || !state) return;
    QPainter p(self);
    int b = s->BorderWidth();
    if (b > 0)
    {
        // The border: dark outer line, with a client edge a sunken 3-D frame.
        p.fillRect(self->rect(), ToQColor(GetSysColor(COLOR_3DFACE)));
        if (s->exStyle & WS_EX_CLIENTEDGE)
        {
            p.setPen(ToQColor(GetSysColor(COLOR_3DSHADOW)));
            p.drawLine(0, 0, width - 1, 0);
            p.drawLine(0, 0, 0, height - 1);
            p.setPen(ToQColor(GetSysColor(COLOR_3DHIGHLIGHT)));
            p.drawLine(0, height - 1, width - 1, height - 1);
            p.drawLine(width - 1, 0, width - 1, height - 1);
        }
        else
        {
            p.setPen(ToQColor(GetSysColor(COLOR_WINDOWFRAME)));
            p.drawRect(0, 0, width - 1, height - 1);
        }
    }
    if (s->scrollBarControl) return;
    QPoint o = s->ClientOrigin();
    CSize cs = s->ClientSize();
    if (s->bars[SB_VERT].visible && s->bars[SB_HORZ].visible)
        p.fillRect(o.x() + cs.cx, o.y() + cs.cy, GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL),
                   ToQColor(GetSysColor(COLOR_3DFACE)));
    p.drawImage(o, s->surface);
}

BOOL WalkPreTranslate(CWnd* focus, MSG* msg)
{
    HWND h = focus ? focus->m_hWnd : nullptr;
    while (CWnd* w = CWnd::FromHandle(h))
    {
        if (w->PreTranslateMessage(msg)) return TRUE;
        if (!(w->GetStyle() & WS_CHILD)) break;
        CWnd* p = w->GetParent();
        h = p ? p->m_hWnd : nullptr;
    }
    return FALSE;
}

} // namespace qor::gui
