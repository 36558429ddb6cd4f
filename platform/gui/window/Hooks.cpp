// Thread input hooks over an application event filter, and monitors over the toolkit's screens.
#include "platform/gui/window/Hooks.h"

#include "platform/gui/draw/Convert.h"
#include "platform/gui/window/WndInternal.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QThread>

#include <vector>

namespace {

struct HookEntry
{
    int id;
    HOOKPROC proc;
    HHOOK handle;
};

// Newest last; a hook removed while the chain runs is only marked, then swept.
std::vector<HookEntry>& Hooks()
{
    static std::vector<HookEntry> hooks;
    return hooks;
}
std::uintptr_t g_nextHook = 1;

// Calls the hooks of one kind from the newest down to the oldest that the chain reaches.
LRESULT CallFrom(std::size_t end, int id, int nCode, WPARAM wParam, LPARAM lParam)
{
    std::vector<HookEntry>& hooks = Hooks();
    for (std::size_t i = end; i-- > 0;)
    {
        if (i < hooks.size() && hooks[i].id == id && hooks[i].proc) return hooks[i].proc(nCode, wParam, lParam);
    }
    return 0;
}

bool HasHook(int id)
{
    for (const HookEntry& h : Hooks())
    {
        if (h.id == id && h.proc) return true;
    }
    return false;
}

// Input seen by the hooks: an event propagating from a child to its parents is one event.
class HookFilter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false; // the toolkit window forwards to its widget: seen there
        switch (event->type())
        {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: return HasHook(WH_KEYBOARD) && OnKey(widget, static_cast<QKeyEvent*>(event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: return HasHook(WH_MOUSE) && OnMouse(widget, static_cast<QMouseEvent*>(event));
        default: return false;
        }
    }

private:
    bool Propagated(QWidget* widget, QInputEvent* event, QPointF global)
    {
        const bool same = m_last && event->type() == m_type && event->timestamp() == m_time && global == m_global &&
                          widget != m_last && widget->isAncestorOf(m_last);
        m_last = widget;
        m_type = event->type();
        m_time = event->timestamp();
        m_global = global;
        return same;
    }

    bool OnKey(QWidget* widget, QKeyEvent* key)
    {
        if (Propagated(widget, key, QPointF(key->key(), 0))) return false;
        const UINT vk = qor::gui::FromQtKey(key->key(), key->modifiers());
        if (vk == 0) return false;
        LPARAM data = 1;
        if (key->isAutoRepeat()) data |= LPARAM(1) << 30;
        if (key->type() == QEvent::KeyRelease) data |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
        return CallFrom(Hooks().size(), WH_KEYBOARD, HC_ACTION, vk, data) != 0;
    }

    bool OnMouse(QWidget* widget, QMouseEvent* mouse)
    {
        const QPointF global = mouse->globalPosition();
        if (Propagated(widget, mouse, global)) return false;
        UINT msg = 0;
        switch (mouse->button())
        {
        case Qt::LeftButton: msg = WM_LBUTTONDOWN; break;
        case Qt::RightButton: msg = WM_RBUTTONDOWN; break;
        case Qt::MiddleButton: msg = WM_MBUTTONDOWN; break;
        default: return false;
        }
        if (mouse->type() == QEvent::MouseButtonDblClick)
            msg += 2; // the double-click message follows each button-down message
        MOUSEHOOKSTRUCT info{};
        info.pt.x = static_cast<LONG>(global.x());
        info.pt.y = static_cast<LONG>(global.y());
        CWnd* target = qor::gui::WndFromWidget(widget);
        info.hwnd = target ? target->GetSafeHwnd() : nullptr;
        info.wHitTestCode = 1; // HTCLIENT
        return CallFrom(Hooks().size(), WH_MOUSE, HC_ACTION, msg, reinterpret_cast<LPARAM>(&info)) != 0;
    }

    QPointer<QWidget> m_last;
    QEvent::Type m_type = QEvent::None;
    quint64 m_time = 0;
    QPointF m_global;
};

void EnsureFilter()
{
    static QPointer<HookFilter> filter;
    if (filter || !QCoreApplication::instance()) return;
    filter = new HookFilter();
    filter->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace

DWORD GetCurrentThreadId() { return static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(QThread::currentThreadId())); }

HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId)
{
    if ((idHook != WH_KEYBOARD && idHook != WH_MOUSE) || !lpfn || hMod) return nullptr;
    if (dwThreadId != 0 && dwThreadId != GetCurrentThreadId()) return nullptr;
    if (!QCoreApplication::instance() || QThread::currentThread() != QCoreApplication::instance()->thread())
        return nullptr;
    EnsureFilter();
    HHOOK handle = reinterpret_cast<HHOOK>(g_nextHook++);
    Hooks().push_back({idHook, lpfn, handle});
    return handle;
}

HHOOK SetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThreadId)
{
    return SetWindowsHookEx(idHook, lpfn, hMod, dwThreadId);
}

BOOL UnhookWindowsHookEx(HHOOK hhk)
{
    std::vector<HookEntry>& hooks = Hooks();
    for (auto it = hooks.begin(); it != hooks.end(); ++it)
    {
        if (it->handle == hhk)
        {
            hooks.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam)
{
    std::vector<HookEntry>& hooks = Hooks();
    for (std::size_t i = 0; i < hooks.size(); ++i)
    {
        if (hooks[i].handle == hhk) return CallFrom(i, hooks[i].id, nCode, wParam, lParam);
    }
    return 0;
}

// ---- Monitors ----------------------------------------------------------------------------

namespace {

// A test's fixed screen stands for every monitor (the layer's screen size says so too).
bool FixedScreenInForce()
{
    QScreen* primary = QGuiApplication::primaryScreen();
    return !primary || qor::gui::ScreenArea(nullptr, false) != qor::gui::FromQRect(primary->geometry());
}

} // namespace

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return nullptr;
    if (FixedScreenInForce())
    {
        const bool inside = qor::gui::ScreenArea(nullptr, false).PtInRect(pt);
        return inside || dwFlags != MONITOR_DEFAULTTONULL ? reinterpret_cast<HMONITOR>(std::uintptr_t{1}) : nullptr;
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    const QPoint point(pt.x, pt.y);
    QScreen* found = QGuiApplication::screenAt(point);
    if (!found && dwFlags == MONITOR_DEFAULTTOPRIMARY) found = QGuiApplication::primaryScreen();
    if (!found && dwFlags == MONITOR_DEFAULTTONEAREST)
    {
        long long best = -1;
        for (QScreen* s : screens)
        {
            const QRect g = s->geometry();
            const long long dx = point.x() < g.left()    ? g.left() - point.x()
                                 : point.x() > g.right() ? point.x() - g.right()
                                                         : 0;
            const long long dy = point.y() < g.top()      ? g.top() - point.y()
                                 : point.y() > g.bottom() ? point.y() - g.bottom()
                                                          : 0;
            const long long d = dx * dx + dy * dy;
            if (best < 0 || d < best)
            {
                best = d;
                found = s;
            }
        }
    }
    if (!found) return nullptr;
    return reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(screens.indexOf(found) + 1));
}

BOOL GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* lpmi)
{
    if (!lpmi || !hMonitor || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return FALSE;
    if (FixedScreenInForce())
    {
        if (reinterpret_cast<std::uintptr_t>(hMonitor) != 1) return FALSE;
        lpmi->rcMonitor = qor::gui::ScreenArea(nullptr, false);
        lpmi->rcWork = qor::gui::ScreenArea(nullptr, true);
        lpmi->dwFlags = MONITORINFOF_PRIMARY;
        return TRUE;
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    const auto index = static_cast<qsizetype>(reinterpret_cast<std::uintptr_t>(hMonitor)) - 1;
    if (index < 0 || index >= screens.size()) return FALSE;
    QScreen* s = screens[index];
    lpmi->rcMonitor = qor::gui::FromQRect(s->geometry());
    lpmi->rcWork = qor::gui::FromQRect(s->availableGeometry());
    lpmi->dwFlags = s == QGuiApplication::primaryScreen() ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}

BOOL GetMonitorInfoW(HMONITOR hMonitor, MONITORINFO* lpmi) { return GetMonitorInfo(hMonitor, lpmi); }
