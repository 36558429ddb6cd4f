// Internal to the window layer: the toolkit side of a CWnd (its host widget, retained
// surface, scroll bars, timers) and the conversions between the two worlds.
#pragma once

#include "platform/gui/GdiInternal.h"
#include "platform/gui/Wnd.h"

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QRegion>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QWidget>

#include <map>

class QTimer;
class QMouseEvent;
class QWheelEvent;

namespace qor::gui {

class HostWidget;
class BarWidget;

// One scroll bar's state with the framework's semantics; the toolkit bar only shows it.
struct BarState {
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
    bool tracking = false;
    bool visible = false;
    bool enabled = true;
    bool everSet = false;
    BarWidget* widget = nullptr;

    int Limit() const { return nMax - std::max(static_cast<int>(nPage) - 1, 0); }
};

struct WndState {
    CWnd* wnd = nullptr;
    HWND handle = nullptr;
    HostWidget* widget = nullptr;
    CString className;
    WNDCLASS cls{};
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT id = 0;
    CWnd* parent = nullptr; // child windows: the parent; popups: nullptr (owner below)
    CWnd* owner = nullptr;
    CString text;
    HFONT font = nullptr;
    bool scrollBarControl = false;

    // Window rectangle: position in the parent's client coordinates (screen for top-level
    // windows) and size.
    int x = 0, y = 0, cx = 0, cy = 0;

    QImage surface;          // the client area's retained image
    QRegion invalid;         // client coordinates
    bool erasePending = false;
    bool inPaint = false;
    bool redraw = true;
    CRect paintRect;

    BarState bars[3];        // SB_HORZ, SB_VERT, SB_CTL
    std::map<UINT_PTR, QTimer*> timers;
    std::map<UINT_PTR, TIMERPROC> timerProcs;

    int eventDepth = 0;      // toolkit events being handled by the widget
    bool destroying = false;

    int BorderWidth() const;
    QPoint ClientOrigin() const; // in widget coordinates
    CSize ClientSize() const;
    void Layout();               // places the toolkit scroll bars, resizes the surface
};

// The host widget of a window: forwards toolkit events to its CWnd as messages, paints
// the retained surface and the non-client parts (border, scroll-bar corner).
class HostWidget : public QWidget
{
public:
    HostWidget(WndState* state, QWidget* parent, Qt::WindowFlags flags);
    ~HostWidget() override;
    WndState* state = nullptr; // null once the window is destroyed

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
};

class BarWidget : public QScrollBar
{
public:
    BarWidget(Qt::Orientation o, QWidget* parent, WndState* owner, int nBar);
    WndState* owner;
    int nBar;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
};

class WndAccess
{
public:
    static WndState* State(const CWnd* w) { return w ? w->m_pState.get() : nullptr; }
};

WndState* StateOf(HWND h);
WndState* StateOf(const CWnd* w);
// The window of a host widget (or of any widget inside one).
CWnd* WndFromWidget(QWidget* w);
QWidget* WidgetOf(const CWnd* w);
BarWidget* ScrollBarWidget(const CWnd* w, int nBar);

// Sends a scroll code as WM_HSCROLL/WM_VSCROLL for a bar (to the window, or to the
// control's parent with the control's handle).
// Shows a bar's state on its toolkit bar.
void SyncBar(WndState* s, int nBar);
void MoveFocus(CWnd* to);
CWnd* FocusWindow();
CWnd* CaptureWindow();
bool IsLiveHandle(HWND h);
Qt::CursorShape CursorShapeOf(HCURSOR h);

void SendScrollCode(WndState* owner, int nBar, UINT code, int pos);

// Conversions.
// (ToQRect, ToQColor, ToQString, FromQRgb come from GdiInternal.h.)
inline CRect ToCRect(const QRect& r) { return CRect(r.x(), r.y(), r.x() + r.width(), r.y() + r.height()); }
CString FromQString(const QString& s);

// Virtual-key code of a toolkit key (0 when none).
UINT VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers mods);
UINT MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
// Updates the GetKeyState table from a toolkit input event's modifiers and buttons.
void NoteInputState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);

} // namespace qor::gui
