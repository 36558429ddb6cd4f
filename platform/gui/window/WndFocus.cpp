// Windows: the keyboard focus, the activation, the mouse capture and the cursor.
#include "platform/gui/window/WndInternal.h"

#include "platform/gui/window/App.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QPointer>
#include <QtGui/QCursor>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>

namespace qor::gui {

namespace {
CWnd* g_focus = nullptr;
CWnd* g_capture = nullptr;

struct CursorRecord
{
    Qt::CursorShape shape;
};
HCURSOR g_cursor = nullptr;
// The window whose mouse message is being handled receives SetCursor's shape.
CWnd* g_cursorTarget = nullptr;
} // namespace

void DropFocus()
{
    CWnd* old = g_focus;
    g_focus = nullptr;
    if (old) old->SendMessage(WM_KILLFOCUS, 0, 0);
}

void ForgetFocusAndCursor(CWnd* gone)
{
    if (g_focus == gone) g_focus = nullptr;
    if (g_cursorTarget == gone) g_cursorTarget = nullptr;
}

CursorTargetScope::CursorTargetScope(CWnd* wnd, bool take) : m_saved(g_cursorTarget)
{
    if (take) g_cursorTarget = wnd;
}
CursorTargetScope::~CursorTargetScope() { g_cursorTarget = m_saved; }

Qt::CursorShape CursorShapeOf(HCURSOR h) { return h ? reinterpret_cast<CursorRecord*>(h)->shape : Qt::ArrowCursor; }

// ---- Focus and capture ---------------------------------------------------------------------

// Moves the focus as SetFocus does: WM_KILLFOCUS to the old window, WM_SETFOCUS to the new.
void MoveFocus(CWnd* to)
{
    CWnd* old = g_focus;
    if (old == to) return;
    g_focus = to;
    if (old && old->m_hWnd) old->SendMessage(WM_KILLFOCUS, reinterpret_cast<WPARAM>(to ? to->m_hWnd : nullptr), 0);
    if (to && to->m_hWnd && g_focus == to)
        to->SendMessage(WM_SETFOCUS, reinterpret_cast<WPARAM>(old && old->m_hWnd ? old->m_hWnd : nullptr), 0);
}
CWnd* FocusWindow() { return g_focus; }
CWnd* CaptureWindow() { return g_capture; }

namespace {
// A pop-up (a dropped list) was shown and the toolkit has not yet reported the focus window
// since: its activation may still be on the way, and if the pop-up's window is gone by then
// the toolkit activates nothing instead.
bool g_popupActivationPending = false;
QElapsedTimer g_popupShownAt;
} // namespace

void WatchFocusWindows()
{
    static QPointer<QCoreApplication> watched;
    if (!qApp || watched == qApp) return;
    watched = qApp;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow* w) {
        bool pending = PopupActivationPending();
        g_popupActivationPending = false;
        // A hidden window activated (a list closed before the toolkit caught up), or none as
        // that window is gone: the window with our focus becomes active again.
        if ((w && !w->isVisible()) || (!w && pending))
            if (QWidget* f = WidgetOf(g_focus)) GiveActivationBack(f->window());
    });
}

void NotePopupShown()
{
    WatchFocusWindows();
    g_popupActivationPending = true;
    g_popupShownAt.start();
}

bool PopupActivationPending() { return g_popupActivationPending && g_popupShownAt.elapsed() < 1000; }

bool SpuriousActivation(QWidget* active)
{
    // A hidden window never takes the activation from the user's.
    return active && (!active->isVisible() || RefusesActivation(active));
}

bool RefusesActivation(QWidget* window)
{
    if (!window) return false;
    if (window->windowFlags() & Qt::WindowDoesNotAcceptFocus) return true;
    WndState* s = StateOf(WndFromWidget(window));
    return s && s->widget == window && s->noActivate;
}

void AllowActivation(const CWnd* wnd)
{
    QWidget* w = WidgetOf(wnd);
    if (!w) return;
    WndState* s = StateOf(WndFromWidget(w->window()));
    if (s && s->widget == w->window()) s->noActivate = false;
}

void GiveActivationBack(QWidget* window)
{
    QPointer<QWidget> back(window);
    QMetaObject::invokeMethod(
        qApp,
        [back] {
            if (!back || !back->isVisible()) return;
            QWidget* active = QApplication::activeWindow();
            // Unless the user has gone on to another window meanwhile.
            if (active == back || (active && !SpuriousActivation(active))) return;
            back->activateWindow();
        },
        Qt::QueuedConnection);
}
} // namespace qor::gui

using namespace qor::gui;

CWnd* CWnd::SetFocus()
{
    CWnd* old = g_focus;
    if (!m_hWnd) return old;
    AllowActivation(this);
    MoveFocus(this);
    // A handler of those messages may have moved the focus on (a WM_KILLFOCUS handler that
    // focuses another window): the latest request wins, and the toolkit follows only it.
    if (g_focus == this && m_hWnd)
        if (QWidget* w = WidgetOf(this)) w->setFocus(Qt::OtherFocusReason);
    return old;
}

CWnd* CWnd::SetCapture()
{
    CWnd* old = g_capture;
    if (!m_hWnd || old == this) return old;
    g_capture = this;
    if (old && old->m_hWnd)
    {
        if (QWidget* w = WidgetOf(old))
            if (QWidget::mouseGrabber() == w) w->releaseMouse();
        old->SendMessage(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(m_hWnd));
    }
    if (QWidget* w = WidgetOf(this))
        if (w->isVisible() && QGuiApplication::platformName() != QLatin1String("offscreen")) w->grabMouse();
    return old;
}

CWnd* CWnd::SetActiveWindow()
{
    CWnd* old = GetActiveWindow();
    AllowActivation(this);
    if (QWidget* w = WidgetOf(this)) w->activateWindow();
    return old;
}

CWnd* CWnd::GetFocus() { return g_focus; }
CWnd* CWnd::GetCapture() { return g_capture; }
HWND GetFocus() { return g_focus ? g_focus->m_hWnd : nullptr; }
HWND SetFocus(HWND hWnd)
{
    HWND old = GetFocus();
    if (CWnd* w = CWnd::FromHandle(hWnd)) w->SetFocus();
    return old;
}
HWND GetCapture() { return g_capture ? g_capture->m_hWnd : nullptr; }
HWND SetCapture(HWND hWnd)
{
    HWND old = GetCapture();
    if (CWnd* w = CWnd::FromHandle(hWnd)) w->SetCapture();
    return old;
}
BOOL ReleaseCapture()
{
    CWnd* old = g_capture;
    if (!old) return TRUE;
    g_capture = nullptr;
    if (QWidget* w = WidgetOf(old))
        if (QWidget::mouseGrabber() == w) w->releaseMouse();
    old->SendMessage(WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

// ---- Cursors -------------------------------------------------------------------------------

HCURSOR LoadCursor(HINSTANCE, LPCTSTR name)
{
    static CursorRecord arrow{Qt::ArrowCursor}, ibeam{Qt::IBeamCursor}, wait{Qt::WaitCursor}, cross{Qt::CrossCursor},
        up{Qt::UpArrowCursor}, sizeAll{Qt::SizeAllCursor}, nwse{Qt::SizeFDiagCursor}, nesw{Qt::SizeBDiagCursor},
        we{Qt::SizeHorCursor}, ns{Qt::SizeVerCursor}, no{Qt::ForbiddenCursor}, hand{Qt::PointingHandCursor},
        busy{Qt::BusyCursor}, help{Qt::WhatsThisCursor};
    if (!IS_INTRESOURCE(name)) return reinterpret_cast<HCURSOR>(&arrow);
    CursorRecord* r = nullptr;
    switch (static_cast<int>(reinterpret_cast<std::uintptr_t>(name)))
    {
    case 32512: r = &arrow; break;
    case 32513: r = &ibeam; break;
    case 32514: r = &wait; break;
    case 32515: r = &cross; break;
    case 32516: r = &up; break;
    case 32640:
    case 32646: r = &sizeAll; break;
    case 32642: r = &nwse; break;
    case 32643: r = &nesw; break;
    case 32644: r = &we; break;
    case 32645: r = &ns; break;
    case 32648: r = &no; break;
    case 32649: r = &hand; break;
    case 32650: r = &busy; break;
    case 32651: r = &help; break;
    default: return nullptr;
    }
    return reinterpret_cast<HCURSOR>(r);
}
HCURSOR LoadCursorW(HINSTANCE h, LPCTSTR name) { return LoadCursor(h, name); }

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR old = g_cursor;
    g_cursor = hCursor;
    CWnd* target = g_cursorTarget ? g_cursorTarget : g_capture;
    if (QWidget* w = WidgetOf(target))
    {
        if (hCursor)
            w->setCursor(QCursor(CursorShapeOf(hCursor)));
        else
            w->setCursor(QCursor(Qt::BlankCursor));
    }
    return old;
}
HCURSOR GetCursor() { return g_cursor; }
BOOL DestroyCursor(HCURSOR) { return TRUE; }
