// Windows: the handle table, window classes, creation, destruction and subclassing.
#include "platform/gui/window/WndInternal.h"

#include "platform/gui/draw/TextFitInternal.h"
#include "platform/gui/window/App.h"

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace qor::gui {

// ---- Handle table --------------------------------------------------------------------------
// ---- Handle table --------------------------------------------------------------------------
namespace {

std::mutex& HandleMutex()
{
    static std::mutex m;
    return m;
}
std::map<HWND, WndState*>& Handles()
{
    static std::map<HWND, WndState*> h;
    return h;
}
std::atomic<std::uintptr_t> g_nextHandle{0x10000};

struct ClassEntry
{
    WNDCLASS cls{};
    std::wstring name;
};
std::map<std::wstring, ClassEntry>& Classes()
{
    static std::map<std::wstring, ClassEntry> c;
    return c;
}

std::wstring Lower(LPCTSTR s)
{
    std::wstring r = s ? s : L"";
    for (auto& ch : r) ch = static_cast<wchar_t>(towlower(ch));
    return r;
}

} // namespace

bool IsLiveHandle(HWND h)
{
    std::lock_guard<std::mutex> lock(HandleMutex());
    return Handles().count(h) != 0;
}

std::vector<HWND> LiveHandles()
{
    std::lock_guard<std::mutex> lock(HandleMutex());
    std::vector<HWND> handles;
    handles.reserve(Handles().size());
    for (const auto& entry : Handles()) handles.push_back(entry.first);
    return handles;
}

WndState* StateOf(HWND h)
{
    if (!h) return nullptr;
    std::lock_guard<std::mutex> lock(HandleMutex());
    auto it = Handles().find(h);
    return it == Handles().end() ? nullptr : it->second;
}

WndState* StateOf(const CWnd* w) { return WndAccess::State(w); }

CWnd* WndFromWidget(QWidget* w)
{
    for (; w; w = w->parentWidget())
        if (auto* host = dynamic_cast<HostBase*>(w)) return host->state ? host->state->wnd : nullptr;
    return nullptr;
}

CWnd* KeyWindowFromWidget(QWidget* w)
{
    CWnd* wnd = WndFromWidget(w);
    QWidget* own = wnd ? WidgetOf(wnd) : nullptr;
    return own && own->window() == w->window() ? wnd : nullptr;
}

QWidget* WidgetOf(const CWnd* w)
{
    WndState* s = StateOf(w);
    return (s && w->m_hWnd) ? s->widget : nullptr;
}

CWnd* WndFromHandle(HWND hWnd) { return CWnd::FromHandle(hWnd); }
CScrollBar* ScrollBarFromHandle(HWND hWnd) { return DynamicDowncast<CScrollBar>(CWnd::FromHandle(hWnd)); }
CDC* DCFromHandle(HDC hDC) { return hDC ? CDC::FromHandle(hDC) : nullptr; }

std::vector<CWnd*> OwnedWindows(const CWnd* wnd, bool withOwned)
{
    std::vector<CWnd*> found;
    std::lock_guard<std::mutex> lock(HandleMutex());
    for (auto& [h, st] : Handles())
        if (st->parent == wnd || (withOwned && st->owner == wnd)) found.push_back(st->wnd);
    return found;
}

std::vector<HWND> OwnedHandles(const CWnd* wnd, bool withOwned)
{
    std::vector<HWND> found;
    std::lock_guard<std::mutex> lock(HandleMutex());
    for (auto& [h, st] : Handles())
        if (st->parent == wnd || (withOwned && st->owner == wnd)) found.push_back(h);
    return found;
}

CWnd* LiveWindow(HWND h)
{
    std::lock_guard<std::mutex> lock(HandleMutex());
    auto it = Handles().find(h);
    return it == Handles().end() ? nullptr : it->second->wnd;
}

} // namespace qor::gui

using namespace qor::gui;

// ---- Window classes ------------------------------------------------------------------------

BOOL RegisterClass(const WNDCLASS* wc)
{
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName) return FALSE;
    std::wstring key = Lower(wc->lpszClassName);
    auto& classes = Classes();
    if (classes.count(key)) return FALSE; // already registered, as on Windows
    ClassEntry e;
    e.cls = *wc;
    e.name = wc->lpszClassName;
    auto it = classes.emplace(key, std::move(e)).first;
    it->second.cls.lpszClassName = it->second.name.c_str();
    return TRUE;
}
BOOL RegisterClassW(const WNDCLASS* wc) { return RegisterClass(wc); }
BOOL AfxRegisterClass(WNDCLASS* wc)
{
    WNDCLASS existing;
    if (wc && GetClassInfo(wc->hInstance, wc->lpszClassName, &existing)) return TRUE;
    return RegisterClass(wc);
}

namespace {
void EnsureBuiltInClasses()
{
    static bool done = false;
    if (done) return;
    done = true;
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = L"AfxWnd";
    RegisterClass(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = WC_SCROLLBAR;
    RegisterClass(&wc);
    RegisterNativeClasses();
}
} // namespace

BOOL GetClassInfo(HINSTANCE, LPCTSTR name, LPWNDCLASS out)
{
    EnsureBuiltInClasses();
    if (!name) return FALSE;
    auto it = Classes().find(Lower(name));
    if (it == Classes().end()) return FALSE;
    if (out) *out = it->second.cls;
    return TRUE;
}
BOOL GetClassInfoW(HINSTANCE h, LPCTSTR name, LPWNDCLASS out) { return GetClassInfo(h, name, out); }
BOOL UnregisterClass(LPCTSTR name, HINSTANCE) { return Classes().erase(Lower(name)) ? TRUE : FALSE; }

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    CString name;
    name.Format(L"Afx:%x:%llx:%llx:%llx", nClassStyle,
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hCursor)),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hbrBackground)),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hIcon)));
    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, name, &wc))
    {
        wc.style = nClassStyle;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        RegisterClass(&wc);
    }
    GetClassInfo(nullptr, name, &wc);
    return wc.lpszClassName; // stable: owned by the class table
}

HINSTANCE AfxGetInstanceHandle() { return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000)); }
HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

// ---- CWnd: identity ------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd) DestroyWindow();
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    WndState* s = StateOf(hWnd);
    return s ? s->wnd : nullptr;
}
CWnd* CWnd::FromHandlePermanent(HWND hWnd) { return FromHandle(hWnd); }
CWnd* CWnd::GetDesktopWindow() { return nullptr; }
CWnd* CWnd::GetActiveWindow() { return WndFromWidget(QApplication::activeWindow()); }
CWnd* CWnd::WindowFromPoint(POINT point) { return WndFromWidget(QApplication::widgetAt(point.x, point.y)); }

// ---- Creation ------------------------------------------------------------------------------

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID,
                    static_cast<LPVOID>(pContext));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) return FALSE;
    InitApplication();
    EnsureBuiltInClasses();

    CREATESTRUCT cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName ? lpszClassName : L"AfxWnd";
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) return FALSE;
    WatchFocusWindows();

    WNDCLASS wc{};
    if (!GetClassInfo(nullptr, cs.lpszClass, &wc)) return FALSE;
    CWnd* parentWnd = FromHandle(cs.hwndParent);
    DWORD style = static_cast<DWORD>(cs.style);
    if ((style & WS_CHILD) && !parentWnd) return FALSE;

    auto state = std::make_unique<WndState>();
    WndState* s = state.get();
    s->wnd = this;
    s->cls = wc;
    s->className = wc.lpszClassName;
    s->style = style & ~WS_VISIBLE;
    s->exStyle = cs.dwExStyle;
    s->id = (style & WS_CHILD) ? static_cast<UINT>(reinterpret_cast<std::uintptr_t>(cs.hMenu)) : 0;
    s->parent = (style & WS_CHILD) ? parentWnd : nullptr;
    s->owner = (style & WS_CHILD) ? nullptr : parentWnd;
    s->text = cs.lpszName ? cs.lpszName : L"";
    s->x = cs.x;
    s->y = cs.y;
    s->cx = std::max(cs.cx, 0);
    s->cy = std::max(cs.cy, 0);
    s->scrollBarControl = s->className.CompareNoCase(WC_SCROLLBAR) == 0;

    QWidget* parentWidget = nullptr;
    Qt::WindowFlags flags = Qt::Widget;
    if (style & WS_CHILD)
    {
        parentWidget = WndAccess::State(parentWnd)->widget;
    }
    else if (style & WS_POPUP)
    {
        // A tool-window pop-up (a tip) never takes the activation nor the keyboard, and a window manager
        // leaves it alone: a managed tool window would be listed, placed and focused as a window of its own.
        if (s->exStyle & WS_EX_TOOLWINDOW)
            flags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
        else
            flags = Qt::Window | Qt::FramelessWindowHint;
        if (s->owner) parentWidget = WndAccess::State(s->owner)->widget->window();
        if (s->exStyle & WS_EX_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    }
    else
    {
        flags = Qt::Window;
        if (s->exStyle & WS_EX_TOOLWINDOW) flags = Qt::Tool;
    }
    if (!MakeNativeControl(s, parentWidget))
    {
        auto* host = new HostWidget(s, false, parentWidget, flags);
        s->widget = host;
        s->host = host;
    }
    if (!(style & WS_CHILD)) s->widget->setWindowTitle(ShownText(ToQString(s->text), s->widget->font()));
    // Made hidden, a child stays hidden until shown itself, also when its parent is shown again.
    if (!(style & WS_VISIBLE)) s->widget->hide();

    // Standard scroll bars (the control's own bar for a scroll-bar control; a native
    // control has the toolkit control's own).
    if (s->IsNative())
    {}
    else if (s->scrollBarControl)
    {
        BarState& b = s->bars[SB_CTL];
        b.widget = new BarWidget((style & SBS_VERT) ? Qt::Vertical : Qt::Horizontal, s->widget, s, SB_CTL);
        b.visible = true;
        b.everSet = true;
        b.widget->show();
    }
    else
    {
        for (int bar : {SB_HORZ, SB_VERT})
        {
            BarState& b = s->bars[bar];
            b.widget = new BarWidget(bar == SB_VERT ? Qt::Vertical : Qt::Horizontal, s->widget, s, bar);
            b.widget->hide();
            DWORD bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
            if (style & bit)
            {
                b.visible = true;
                b.everSet = true;
                b.nMax = 100;
            }
        }
    }

    HWND h = reinterpret_cast<HWND>(g_nextHandle.fetch_add(16));
    s->handle = h;
    {
        std::lock_guard<std::mutex> lock(HandleMutex());
        Handles()[h] = s;
    }
    m_pState = std::move(state);
    m_hWnd = h;

    // Geometry before the first messages.
    s->PlaceWidget();
    s->Layout();
    for (int bar = 0; bar < 3; ++bar)
        if (s->bars[bar].widget) SyncBar(s, bar);
    CSize client = s->ClientSize();
    s->invalid = QRegion(0, 0, client.cx, client.cy);
    s->erasePending = true;
    if (style & WS_DISABLED) s->widget->setEnabled(false);
    if (s->native) s->native->Created(s);

    PreSubclassWindow();
    cs.style = static_cast<LONG>(style);
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1)
    {
        DestroyWindow();
        return FALSE;
    }
    if (!m_hWnd) return FALSE;
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.cx), static_cast<WORD>(client.cy)));
    if (!m_hWnd) return FALSE;
    SendMessage(WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(s->x), static_cast<WORD>(s->y)));
    if (m_hWnd && (style & WS_VISIBLE)) ShowWindow(SW_SHOW);
    return m_hWnd != nullptr;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::CalcWindowRect(LPRECT lpClientRect, UINT)
{
    if (!lpClientRect) return;
    WndState* s = StateOf(this);
    int b = s ? s->BorderWidth() : 0;
    lpClientRect->left -= b;
    lpClientRect->top -= b;
    lpClientRect->right += b;
    lpClientRect->bottom += b;
}

BOOL CWnd::DestroyWindow()
{
    WndState* s = StateOf(this);
    if (!m_hWnd || !s || s->destroying) return FALSE;
    s->destroying = true;
    HWND h = m_hWnd;

    if (CaptureWindow() == this) ReleaseCapture();
    SendMessage(WM_DESTROY, 0, 0);
    // Children go after their parent got WM_DESTROY, before it gets WM_NCDESTROY.
    // By handle: a child's destruction may take a sibling with it.
    for (HWND child : OwnedHandles(this, true))
        if (CWnd* c = LiveWindow(child)) c->DestroyWindow();
    ForgetFocusAndCursor(this);
    for (auto& [id, t] : s->timers)
    {
        t->stop();
        t->deleteLater();
    }
    s->timers.clear();
    SendMessage(WM_NCDESTROY, 0, 0);
    // OnNcDestroy (default processing) detached the window and called PostNcDestroy,
    // which may have deleted this object: touch nothing of it below unless still attached.
    (void)h;
    return TRUE;
}

namespace {
// Takes the window away from its object: the handle dies and the widget goes.
void DetachAndDestroyWidget(CWnd* wnd)
{
    WndState* s = WndAccess::State(wnd);
    if (!s) return;
    {
        std::lock_guard<std::mutex> lock(HandleMutex());
        Handles().erase(s->handle);
    }
    QWidget* w = s->widget;
    HostBase* host = s->host;
    s->widget = nullptr;
    s->host = nullptr;
    ReleasePaintersOn(&s->surface);
    if (w)
    {
        host->state = nullptr;
        for (BarState& b : s->bars)
            if (b.widget) b.widget->owner = nullptr;
        // A part of another control (a combo box's edit) goes with that control.
        if (s->widgetOwnedByControl) return;
        w->hide();
        if (w->parentWidget()) w->setParent(nullptr);
        if (s->eventDepth > 0 || IsDeliveringEvent())
            w->deleteLater();
        else
            delete w;
    }
}
} // namespace

void CWnd::OnNcDestroy()
{
    // Default processing: the window is gone; the object may now go.
    WndState* s = StateOf(this);
    if (!s) return;
    m_hWnd = nullptr;
    DetachAndDestroyWidget(this);
    m_pState.reset();
    PostNcDestroy();
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    // Windows here are always created by their objects; subclassing an existing one moves
    // it to this object.
    CWnd* other = FromHandle(hWnd);
    if (!other || other == this || m_hWnd) return FALSE;
    m_pState = std::move(other->m_pState);
    m_pState->wnd = this;
    m_hWnd = hWnd;
    other->m_hWnd = nullptr;
    PreSubclassWindow();
    return TRUE;
}
BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    CWnd* item = pParent ? pParent->GetDlgItem(static_cast<int>(nID)) : nullptr;
    return item ? SubclassWindow(item->m_hWnd) : FALSE;
}
HWND CWnd::UnsubclassWindow() { return m_hWnd; }
BOOL CWnd::Attach(HWND hWndNew) { return SubclassWindow(hWndNew); }
HWND CWnd::Detach() { return m_hWnd; }
