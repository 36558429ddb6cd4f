// A top-level window shown under a window manager is on the screen only once the manager has taken it:
// until it has, the window is asked for again, so that a manager that read the first request and then
// went to sleep (openbox loses the requests that come while it starts) still takes it.
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtGui/QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <QtWidgets/QApplication>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace qor::gui {

namespace {

class FirstMapWatch : public QObject
{
public:
    explicit FirstMapWatch(xcb_connection_t* connection) : QObject(qApp), m_connection(connection)
    {
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, 8, "WM_STATE"), nullptr);
        m_wmState = atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(atom);
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] { Check(); });
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::Show && watched->isWidgetType())
        {
            auto* widget = static_cast<QWidget*>(watched);
            if (widget->isWindow() && Managed(widget)) Follow(widget);
        }
        return false;
    }

private:
    struct Shown
    {
        QPointer<QWidget> widget;
        WId window = 0;
        int asked = 0; // how often it was asked for again
    };

    // Pop-ups and tips pass by the window manager (the window system maps them at once).
    static bool Managed(const QWidget* widget)
    {
        const Qt::WindowType type = widget->windowType();
        return type != Qt::Popup && type != Qt::ToolTip && type != Qt::Desktop &&
               !(widget->windowFlags() & Qt::X11BypassWindowManagerHint);
    }

    void Follow(QWidget* widget)
    {
        const WId window = widget->internalWinId();
        if (!window) return;
        for (const Shown& s : m_shown)
            if (s.window == window) return;
        m_shown.push_back(Shown{widget, window, 0});
        if (!m_timer.isActive()) Wait(0);
    }

    // A manager normally answers at once: the first look comes soon, later ones less often.
    void Wait(int asked) { m_timer.start(std::min(100 << std::min(asked, 4), 1000)); }

    // Taken: mapped (by the manager, or by the server where none runs), or put by the manager in a state of
    // its own (a window it keeps unmapped, minimised or on another desktop, is the manager's); or gone. A
    // window the manager marks Withdrawn is not taken: the convention lets a manager leave that state on a
    // window it has let go, and the window may be shown again after it.
    bool Taken(WId window)
    {
        const auto id = static_cast<xcb_window_t>(window);
        const xcb_get_window_attributes_cookie_t attributes = xcb_get_window_attributes(m_connection, id);
        const xcb_get_property_cookie_t state = xcb_get_property(m_connection, 0, id, m_wmState, m_wmState, 0, 1);
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> a(
            xcb_get_window_attributes_reply(m_connection, attributes, nullptr), &std::free);
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> p(
            xcb_get_property_reply(m_connection, state, nullptr), &std::free);
        return !a || a->map_state != XCB_MAP_STATE_UNMAPPED || (p && ManagerState(*p) != kWithdrawn);
    }

    // The state WM_STATE holds: its first CARD32 (0 Withdrawn, 1 Normal, 3 Iconic); Withdrawn where the
    // property is missing, of another type or empty.
    static constexpr std::uint32_t kWithdrawn = 0;
    std::uint32_t ManagerState(const xcb_get_property_reply_t& reply) const
    {
        if (reply.type != m_wmState || reply.format != 32 || xcb_get_property_value_length(&reply) < 4)
            return kWithdrawn;
        std::uint32_t state = kWithdrawn;
        std::memcpy(&state, xcb_get_property_value(&reply), sizeof state);
        return state;
    }

    void Check()
    {
        // A minute of asking: a manager that has not taken the window by then keeps it on purpose.
        constexpr int kMostAsks = 60;
        int asked = 0;
        for (auto it = m_shown.begin(); it != m_shown.end();)
        {
            QWidget* widget = it->widget;
            // Hidden since, or made again (the new window is followed from its own show).
            if (!widget || !widget->isVisible() || widget->internalWinId() != it->window || Taken(it->window) ||
                it->asked >= kMostAsks)
            {
                it = m_shown.erase(it);
                continue;
            }
            // Asking again costs nothing: the server passes it to the manager only while the window is
            // still unmapped, and a manager that already has the window ignores it.
            xcb_map_window(m_connection, static_cast<xcb_window_t>(it->window));
            asked = std::max(asked, ++it->asked);
            ++it;
        }
        xcb_flush(m_connection);
        if (!m_shown.empty()) Wait(asked);
    }

    xcb_connection_t* m_connection;
    xcb_atom_t m_wmState = XCB_ATOM_NONE;
    QTimer m_timer;
    std::vector<Shown> m_shown;
};

} // namespace

void WatchFirstMaps()
{
    static QPointer<QCoreApplication> watched;
    if (!qApp || watched == qApp) return;
    watched = qApp;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr) new FirstMapWatch(connection);
}

} // namespace qor::gui
