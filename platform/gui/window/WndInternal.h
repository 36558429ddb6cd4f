// Internal to the window layer: the toolkit side of a CWnd (its host widget, retained
// surface, scroll bars, timers). Conversions are in Convert.h.
#pragma once

#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/window/Wnd.h"

#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QRegion>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QWidget>

#include <functional>
#include <map>

#include <memory>
#include <utility>
#include <vector>

class QTimer;
class QMouseEvent;
class QWheelEvent;
class QKeyEvent;
class QFocusEvent;
class QPaintEvent;

namespace qor::gui {

class HostBase;
class BarWidget;
class NativeControl;

// One scroll bar's state with the framework's semantics; the toolkit bar only shows it.
struct BarState
{
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

struct WndState
{
    CWnd* wnd = nullptr;
    HWND handle = nullptr;
    QWidget* widget = nullptr;             // the host widget (for a native control, the toolkit control)
    HostBase* host = nullptr;              // the same object, seen as the host
    std::unique_ptr<NativeControl> native; // native controls: the control's own behaviour
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
    bool widgetOwnedByControl = false; // the widget is part of another control (combo box edit)

    // Window rectangle: position in the parent's client coordinates (screen for top-level
    // windows) and size.
    int x = 0, y = 0, cx = 0, cy = 0;

    QImage surface;  // the client area's retained image
    QRegion invalid; // client coordinates
    bool erasePending = false;
    bool inPaint = false;
    bool redraw = true;
    CRect paintRect;

    BarState bars[3]; // SB_HORZ, SB_VERT, SB_CTL
    std::map<UINT_PTR, QTimer*> timers;
    std::map<UINT_PTR, TIMERPROC> timerProcs;

    int eventDepth = 0; // toolkit events being handled by the widget
    // A top-level window shown without activation (SW_SHOWNA): should the toolkit activate
    // it anyway, the window that had the activation gets it back.
    bool noActivate = false;
    bool destroying = false;

    bool IsNative() const { return native != nullptr; }
    int BorderWidth() const;
    QPoint ClientOrigin() const; // in widget coordinates
    CSize ClientSize() const;
    void Layout();             // places the toolkit scroll bars, resizes the surface
    void PlaceWidget();        // the host widget at the window's position and size
    double PixelRatio() const; // of the surface: the screen's, unless a test fixed one
};

// The host of a window: forwards every toolkit event to its CWnd as messages. One template,
// parameterised by the toolkit class, serves custom windows (Host<QWidget>: paints the
// retained surface and the non-client parts) and native controls (Host<QLineEdit>, ...):
// there the toolkit class's own handler runs only as the default processing of the message
// (DefWindowProc hands the event to it through ToolkitEvent).
class HostBase
{
public:
    explicit HostBase(WndState* s) : state(s) {}
    virtual ~HostBase() = default;
    HostBase(const HostBase&) = delete;
    HostBase& operator=(const HostBase&) = delete;

    WndState* state = nullptr; // null once the window is destroyed
    virtual QWidget* Widget() = 0;
    // The toolkit class's own handling of an event, bypassing the host.
    virtual bool ToolkitEvent(QEvent* e) = 0;
    // The toolkit event behind the message being handled, when there is one (taken once).
    // source: the widget it arrived at (the host, or a scroll area's viewport).
    QEvent* TakeEvent(UINT msg, QWidget** source = nullptr);
    // Routes the mouse of a scroll area's viewport through the host too.
    void HostViewport(QWidget* viewport);

protected:
    void Setup(bool native);
    void Gone();
    bool HostEvent(QEvent* e);
    void HostPaint(QPaintEvent* e);
    virtual void ToolkitPaint(QPaintEvent* e) = 0;
    // The event families of HostEvent.
    bool HostMouse(QMouseEvent* me, QPoint local, QWidget* source);
    bool HostWheel(QWheelEvent* we);
    bool HostKey(QKeyEvent* ke);
    bool HostFocus(QFocusEvent* fe);
    // Resize, move and a change of screen.
    bool HostGeometry(QEvent* e);

private:
    friend class ViewportFilter;
    QEvent* m_event = nullptr; // the toolkit event being dispatched as m_eventMsg
    UINT m_eventMsg = 0;
    QWidget* m_eventSource = nullptr;
    struct EventScope;
};

template <class ToolkitClass>
class Host : public ToolkitClass, public HostBase
{
public:
    template <class... Args>
    Host(WndState* s, bool native, Args&&... args) : ToolkitClass(std::forward<Args>(args)...), HostBase(s)
    {
        Setup(native);
    }
    ~Host() override { Gone(); }
    QWidget* Widget() override { return this; }
    bool ToolkitEvent(QEvent* e) override { return ToolkitClass::event(e); }

protected:
    bool event(QEvent* e) override { return HostEvent(e); }
    void paintEvent(QPaintEvent* e) override { HostPaint(e); }
    void ToolkitPaint(QPaintEvent* e) override { ToolkitClass::paintEvent(e); }
};

// The host of a custom window.
using HostWidget = Host<QWidget>;

// The behaviour of a native control (edit, combo box, list box, button, static, progress):
// makes its toolkit control and answers the default processing of its messages.
class NativeControl
{
public:
    virtual ~NativeControl() = default;
    // The default processing of a message; false leaves it to the window's default.
    virtual bool DefProc(WndState* s, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) = 0;
    // Called after the window was created and before WM_CREATE (the text is set, ...).
    virtual void Created(WndState*) {}
    // Called before the toolkit control paints (asks the parent for the control's colours).
    virtual void BeforePaint(WndState*) {}
    // Called after the toolkit control painted, inside its paint (draws what is ours).
    virtual void AfterPaint(WndState*) {}
    // How high the toolkit control shows for the window's height: a closed combo box shows
    // its field only; the rest of its rectangle is the room its list drops into.
    virtual int ShownHeight(const WndState*, int height) const { return height; }
};

// Makes the toolkit side of a native control of a registered native class (sets the
// state's widget, host and native); false when the class is not a native control.
bool MakeNativeControl(WndState* s, QWidget* parentWidget);
// Registers the native control classes ("Edit", "ComboBox", ...); WndCreate.cpp calls it once.
void RegisterNativeClasses();
// Registers one more native control class (controls kept in files of their own).
void RegisterNativeControlClass(LPCTSTR name, NativeControl* (*make)(WndState*, QWidget*));
// The window sends its parent WM_COMMAND with a notification code.
void NotifyParent(WndState* s, UINT code);

class BarWidget : public QScrollBar
{
public:
    BarWidget(Qt::Orientation o, QWidget* parent, WndState* owner, int nBar);
    WndState* owner;
    int nBar;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
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
// The layer window whose keys a widget's key events are: none when the widget sits in a toolkit window
// of its own (a message box, a file dialog) over the layer window that owns it, whose keys are its own.
CWnd* KeyWindowFromWidget(QWidget* w);
QWidget* WidgetOf(const CWnd* w);
BarWidget* ScrollBarWidget(const CWnd* w, int nBar);

// Sends a scroll code as WM_HSCROLL/WM_VSCROLL for a bar (to the window, or to the
// control's parent with the control's handle).
// Shows a bar's state on its toolkit bar.
void SyncBar(WndState* s, int nBar);
void MoveFocus(CWnd* to);
// The focus goes to no window; the window that had it gets WM_KILLFOCUS.
void DropFocus();
// A window being destroyed: it no longer has the focus nor takes the cursor.
void ForgetFocusAndCursor(CWnd* gone);
// While it lives, SetCursor's shape goes to the window (when take), then as before.
class CursorTargetScope
{
public:
    CursorTargetScope(CWnd* wnd, bool take);
    ~CursorTargetScope();
    CursorTargetScope(const CursorTargetScope&) = delete;
    CursorTargetScope& operator=(const CursorTargetScope&) = delete;

private:
    CWnd* m_saved;
};
// The live child windows of a window, in creation order (withOwned: and the pop-ups it owns).
std::vector<CWnd*> OwnedWindows(const CWnd* wnd, bool withOwned);
// The same windows by handle, for a walk that sends them messages: a handler may destroy (and delete) one
// of them or a sibling, whose handle is then dead where its pointer would dangle. Handles are never reused.
std::vector<HWND> OwnedHandles(const CWnd* wnd, bool withOwned);
// The window of a handle while it lives, else nullptr.
CWnd* LiveWindow(HWND h);
// The frame a window manager gives a top-level dialog: a caption with what the style asks
// (close with WS_SYSMENU, minimise and maximise only with their boxes), nothing more.
Qt::WindowFlags DialogFrameFlags(DWORD style);
CWnd* FocusWindow();
CWnd* CaptureWindow();
// Whether a top-level widget must not take the activation (a tip, a window shown with
// SW_SHOWNA that nobody activated since).
bool RefusesActivation(QWidget* window);
// The window's top-level window may be activated again (focus given, activated, clicked).
void AllowActivation(const CWnd* wnd);
// Activates the window again soon, unless the user has gone on to another window.
void GiveActivationBack(QWidget* window);
// Whether the toolkit taking the activation to this window (nullptr: to none) is its own
// doing rather than the user's.
bool SpuriousActivation(QWidget* active);
// Follows the toolkit's focus window (once per application object).
void WatchFocusWindows();
// Follows each top-level window shown under X until the window manager has taken it (once per
// application object; nothing on other window systems).
void WatchFirstMaps();
// A toolkit pop-up (a dropped list) has been shown; whether its activation may be pending.
void NotePopupShown();
bool PopupActivationPending();
bool IsLiveHandle(HWND h);
// Every live window's handle (a copy: windows may come and go while a caller walks it).
std::vector<HWND> LiveHandles();
// Whether the toolkit is delivering an event on this thread: a widget destroyed now may be the one
// (or hold the one) still handling it, as a menu whose command closes its window.
bool IsDeliveringEvent();
// Fixes the device pixel ratio of every window surface made from now on (0: the screen's).
void SetPixelRatioOverride(double ratio);
Qt::CursorShape CursorShapeOf(HCURSOR h);

void SendScrollCode(WndState* owner, int nBar, UINT code, int pos);

// Updates the GetKeyState table from a toolkit input event's modifiers and buttons.
void NoteInputState(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons);

// The message loop's pre-translation: the walk from the focus window up its parents, each
// window's PreTranslateMessage in turn (dialogs take their keys so).
BOOL WalkPreTranslate(CWnd* focus, MSG* msg);

} // namespace qor::gui
