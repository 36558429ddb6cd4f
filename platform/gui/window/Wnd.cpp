// Windows: dispatch and default processing, relatives, text, painting and timers. The handle
// table and creation are in WndCreate.cpp, focus, capture and cursors in WndFocus.cpp, place,
// shape and visibility in WndLayout.cpp, scroll bars in WndScroll.cpp, event translation in
// WndEvents.cpp.
#include "platform/gui/window/WndInternal.h"

#include "platform/core/Messages.h"
#include "platform/core/Time.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/draw/SurfaceAccess.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/draw/TextFitInternal.h"
#include "platform/gui/window/App.h"

#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>

#include <string>
#include <vector>

namespace qor::gui {

namespace {
// The message being handled (innermost last).
thread_local std::vector<MSG> t_messages;
} // namespace

// ---- The paint protocol behind CPaintDC ----------------------------------------------------

QImage* WindowSurface(CWnd* wnd)
{
    WndState* s = StateOf(wnd);
    if (!s || !wnd->m_hWnd || s->scrollBarControl) return nullptr;
    return &s->surface;
}

void SurfaceChanged(CWnd* wnd, const RECT* changed)
{
    WndState* s = StateOf(wnd);
    if (!s || !s->widget || !wnd->m_hWnd) return;
    QPoint o = s->ClientOrigin();
    if (changed)
        s->widget->update(ToQRect(*changed).translated(o));
    else
        s->widget->update();
}

CRect BeginPaint(CWnd* wnd, bool* eraseBackground)
{
    WndState* s = StateOf(wnd);
    if (eraseBackground) *eraseBackground = false;
    if (!s || !wnd->m_hWnd) return CRect();
    CSize cs = s->ClientSize();
    QRect bounds = s->invalid.boundingRect() & QRect(0, 0, cs.cx, cs.cy);
    s->invalid = QRegion();
    if (eraseBackground) *eraseBackground = s->erasePending;
    s->erasePending = false;
    s->inPaint = true;
    s->paintRect = bounds.isEmpty() ? CRect() : FromQRect(bounds);
    return s->paintRect;
}

void EndPaint(CWnd* wnd)
{
    WndState* s = StateOf(wnd);
    if (!s || !wnd->m_hWnd) return;
    s->inPaint = false;
    SurfaceChanged(wnd, nullptr);
}

} // namespace qor::gui

using namespace qor::gui;

// ---- Handle-level calls --------------------------------------------------------------------

BOOL IsWindow(HWND hWnd) { return StateOf(hWnd) ? TRUE : FALSE; }

LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->SendMessage(msg, wParam, lParam) : 0;
}
LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessage(hWnd, msg, wParam, lParam);
}

LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->CWnd::DefWindowProc(msg, wParam, lParam) : 0;
}
LRESULT DefWindowProcW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(hWnd, msg, wParam, lParam);
}

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    if (!w) return FALSE;
    w->InvalidateRect(lpRect, bErase);
    return TRUE;
}
BOOL UpdateWindow(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    if (!w) return FALSE;
    w->UpdateWindow();
    return TRUE;
}
HWND GetParent(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    CWnd* p = w ? w->GetParent() : nullptr;
    return p ? p->m_hWnd : nullptr;
}
HWND GetDesktopWindow() { return nullptr; }
BOOL IsWindowVisible(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->IsWindowVisible() : FALSE;
}
BOOL IsWindowEnabled(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->IsWindowEnabled() : FALSE;
}
BOOL IsChild(HWND hWndParent, HWND hWnd)
{
    CWnd* p = CWnd::FromHandle(hWndParent);
    CWnd* w = CWnd::FromHandle(hWnd);
    return (p && w) ? p->IsChild(w) : FALSE;
}
int GetDlgCtrlID(HWND hWnd)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->GetDlgCtrlID() : 0;
}
UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->SetTimer(id, elapse, proc) : 0;
}
BOOL KillTimer(HWND hWnd, UINT_PTR id)
{
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->KillTimer(id) : FALSE;
}

// ---- Dispatch ------------------------------------------------------------------------------

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_hWnd) return 0;
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL)
{
    // By handle: a handler may destroy the window it was sent to, or another (a preview closing deletes
    // itself). Nothing is sent to, nor read of, a window once it is gone.
    for (HWND child : OwnedHandles(this, false))
    {
        if (CWnd* c = LiveWindow(child)) c->SendMessage(message, wParam, lParam);
        if (CWnd* c = bDeep ? LiveWindow(child) : nullptr)
            c->SendMessageToDescendants(message, wParam, lParam, TRUE, FALSE);
    }
}

const MSG* CWnd::GetCurrentMessage()
{
    static MSG none{};
    return t_messages.empty() ? &none : &t_messages.back();
}

LRESULT CWnd::Default()
{
    const MSG* m = GetCurrentMessage();
    return DefWindowProc(m->message, m->wParam, m->lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

namespace {
// While a message is handled, GetKeyState reflects it: mouse messages carry the button
// and Shift/Ctrl state in MK_ flags, key messages hold their key down.
struct KeyStateScope
{
    bool active = false;
    SHORT saved[8]{};
    static constexpr int keys[8] = {VK_SHIFT, VK_CONTROL, VK_LBUTTON, VK_RBUTTON, VK_MBUTTON, 0, 0, 0};
    int key = 0;
    SHORT savedKey = 0;
    KeyStateScope(UINT msg, WPARAM wParam)
    {
        UINT flags = 0;
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
            flags = (msg == WM_MOUSEWHEEL || msg == WM_MOUSEHWHEEL) ? LOWORD(wParam) : static_cast<UINT>(wParam);
        else if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN || msg == WM_KEYUP || msg == WM_SYSKEYUP)
        {
            key = static_cast<int>(wParam & 0xFF);
            savedKey = GetKeyState(key);
            SetKeyDown(key, msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN);
            return;
        }
        else
            return;
        active = true;
        for (int i = 0; i < 5; ++i) saved[i] = GetKeyState(keys[i]);
        SetKeyDown(VK_SHIFT, flags & MK_SHIFT);
        SetKeyDown(VK_CONTROL, flags & MK_CONTROL);
        SetKeyDown(VK_LBUTTON, flags & MK_LBUTTON);
        SetKeyDown(VK_RBUTTON, flags & MK_RBUTTON);
        SetKeyDown(VK_MBUTTON, flags & MK_MBUTTON);
    }
    ~KeyStateScope()
    {
        if (active)
            for (int i = 0; i < 5; ++i) SetKeyDown(keys[i], saved[i] < 0);
    }
};
} // namespace

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WndState* s = StateOf(this);
    MSG m{m_hWnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    DWORD pos = GetMessagePos();
    m.pt = POINT{GET_X_LPARAM(static_cast<LPARAM>(pos)), GET_Y_LPARAM(static_cast<LPARAM>(pos))};
    t_messages.push_back(m);
    KeyStateScope keys(message, wParam);
    CursorTargetScope cursor(this, message == WM_SETCURSOR || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST));
    struct Pop
    {
        ~Pop() { t_messages.pop_back(); }
    } pop;
    (void)s;
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    LRESULT result = 0;
    if (message == WM_COMMAND)
    {
        if (OnCommand(wParam, lParam))
        {
            if (pResult) *pResult = 1;
            return TRUE;
        }
        return FALSE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (hdr && hdr->hwndFrom && OnNotify(wParam, lParam, &result))
        {
            if (pResult) *pResult = result;
            return TRUE;
        }
        return FALSE;
    }
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
    {
        const AFX_MSGMAP_ENTRY* e = FindMessageEntry(map->lpEntries, message, 0, 0);
        if (e)
        {
            if (e->pfn(this, wParam, lParam, nullptr, &result))
            {
                if (pResult) *pResult = result;
                return TRUE;
            }
        }
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        // Without a handler here, the control may answer for its own colours.
        if (CWnd* child = FromHandle(reinterpret_cast<HWND>(lParam)); child && child != this)
        {
            if (child->OnChildNotify(message, wParam, lParam, &result))
            {
                if (pResult) *pResult = result;
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    int nCode = HIWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl)
    {
        if (ReflectLastMsg(hWndCtrl)) return TRUE;
    }
    else if (nCode == 1)
    {
        nCode = CN_COMMAND; // from an accelerator
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(hdr->hwndFrom, pResult)) return TRUE;
    AFX_NOTIFY notify{pResult, hdr};
    return OnCmdMsg(static_cast<UINT>(hdr->idFrom), static_cast<int>(MAKELONG(LOWORD(hdr->code), WM_NOTIFY)), &notify,
                    nullptr);
}

BOOL CWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* child = FromHandle(hWndChild);
    if (!child || t_messages.empty()) return FALSE;
    const MSG& m = t_messages.back();
    return child->OnChildNotify(m.message, m.wParam, m.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
    {
        return OnCmdMsg(0, static_cast<int>(MAKELONG(HIWORD(wParam), WM_REFLECT_BASE + WM_COMMAND)), nullptr, nullptr);
    }
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
    {
        // ON_WM_CTLCOLOR_REFLECT: the control's CtlColor; a null brush is no answer.
        AFX_CTLCOLOR ctl{m_hWnd, reinterpret_cast<HDC>(wParam), message - WM_CTLCOLORMSGBOX};
        LRESULT brush = 0;
        if (!OnWndMsg(WM_REFLECT_BASE + WM_CTLCOLOR, 0, reinterpret_cast<LPARAM>(&ctl), &brush) || !brush) return FALSE;
        if (pResult) *pResult = brush;
        return TRUE;
    }
    if (message == WM_NOTIFY)
    {
        NMHDR* hdr = reinterpret_cast<NMHDR*>(lParam);
        LRESULT local = 0;
        AFX_NOTIFY notify{pResult ? pResult : &local, hdr};
        return OnCmdMsg(0, static_cast<int>(MAKELONG(LOWORD(hdr->code), WM_REFLECT_BASE + WM_NOTIFY)), &notify,
                        nullptr);
    }
    return FALSE;
}

// ---- Default processing --------------------------------------------------------------------

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return 0;
    // A native control's default processing is the toolkit control's own.
    if (s->native)
    {
        LRESULT r = 0;
        if (s->native->DefProc(s, message, wParam, lParam, &r)) return r;
        if (!m_hWnd) return r;
    }
    switch (message)
    {
    case WM_SETTEXT:
        s->text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : L"";
        if (s->widget && !(s->style & WS_CHILD))
            s->widget->setWindowTitle(ShownText(ToQString(s->text), s->widget->font()));
        return TRUE;
    case WM_GETTEXTLENGTH: return s->text.GetLength();
    case WM_GETTEXT: {
        auto* buf = reinterpret_cast<LPTSTR>(lParam);
        int max = static_cast<int>(wParam);
        if (!buf || max <= 0) return 0;
        int n = std::min(max - 1, s->text.GetLength());
        for (int i = 0; i < n; ++i) buf[i] = s->text[i];
        buf[n] = 0;
        return n;
    }
    case WM_SETFONT:
        s->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) Invalidate();
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(s->font);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        // The system's colours: window colours for edits and lists, the 3-D face for the rest.
        int back = (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_3DFACE;
        if (HDC hdc = reinterpret_cast<HDC>(wParam))
        {
            ::SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
            ::SetBkColor(hdc, GetSysColor(back));
        }
        return reinterpret_cast<LRESULT>(GetSysColorBrush(back));
    }
    case WM_SETREDRAW: s->redraw = wParam != 0; return 0;
    case WM_PAINT: {
        bool erase = false;
        qor::gui::BeginPaint(this, &erase);
        if (erase) SendMessage(WM_ERASEBKGND, 0, 0);
        qor::gui::EndPaint(this);
        return 0;
    }
    case WM_ERASEBKGND: {
        COLORREF c;
        if (!qor::gui::GetBrushColor(s->cls.hbrBackground, &c)) return 0;
        ReleasePaintersOn(&s->surface);
        QPainter p(&s->surface);
        CRect r = s->inPaint
                      ? s->paintRect
                      : CRect(CPoint(0, 0), CSize(LogicalSize(s->surface).width(), LogicalSize(s->surface).height()));
        p.fillRect(ToQRect(r), ToQColor(c));
        p.end();
        SurfaceChanged(this, &r);
        return 1;
    }
    case WM_SETCURSOR: {
        if (LOWORD(lParam) != HTCLIENT) return FALSE;
        if ((s->style & WS_CHILD) && s->parent && s->parent->SendMessage(WM_SETCURSOR, wParam, lParam)) return TRUE;
        if (s->cls.hCursor)
        {
            CursorTargetScope cursor(this, true);
            ::SetCursor(s->cls.hCursor);
            return TRUE;
        }
        return FALSE;
    }
    case WM_RBUTTONUP: {
        // The menu comes from the release nobody handled, once: a window that shows its own menu on
        // the release does not get a second one after it closes.
        CPoint pt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        ClientToScreen(&pt);
        SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_hWnd),
                    MAKELPARAM(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
        return 0;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
        if ((s->style & WS_CHILD) && s->parent) return s->parent->SendMessage(message, wParam, lParam);
        return 0;
    case WM_SYSCHAR: {
        // Alt with a letter that no window and no accelerator took opens the menu it names, in
        // the frame the window lies in: not in the owner of a dialog, nor in a frame a modal
        // window has disabled.
        CWnd* root = this;
        while ((root->GetStyle() & WS_CHILD) && root->GetParent()) root = root->GetParent();
        if (root->IsWindowEnabled()) root->SendMessage(WM_SYSCOMMAND, SC_KEYMENU, wParam);
        return 0;
    }
    case WM_CLOSE: DestroyWindow(); return 0;
    case WM_NCHITTEST: return HTCLIENT;
    case WM_MOUSEACTIVATE: return 1; // MA_ACTIVATE
    case WM_TIMER:
        if (lParam)
        {
            auto proc = reinterpret_cast<TIMERPROC>(lParam);
            proc(m_hWnd, WM_TIMER, static_cast<UINT_PTR>(wParam), GetTickCount());
        }
        return 0;
    case WM_NCDESTROY: OnNcDestroy(); return 0;
    default: return 0;
    }
}

// The framework's default handlers: the default processing of the current message.
int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT)
{
    LRESULT brush = 0;
    if (pWnd && pWnd != this && pWnd->m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &brush))
        return reinterpret_cast<HBRUSH>(brush);
    return reinterpret_cast<HBRUSH>(Default());
}
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) { Default(); }
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }

// ---- Relatives -----------------------------------------------------------------------------

CWnd* CWnd::GetParent() const
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return nullptr;
    return s->parent ? s->parent : s->owner;
}

CFrameWnd* CWnd::GetParentFrame() const
{
    for (CWnd* w = GetParent(); w; w = w->GetParent())
        if (CFrameWnd* f = w->AsFrameWnd()) return f;
    return nullptr;
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return nullptr;
    CWnd* old = s->parent;
    if (s->style & WS_CHILD)
    {
        WndState* ps = StateOf(pWndNewParent);
        if (!ps) return nullptr;
        s->parent = pWndNewParent;
        bool visible = s->widget->isVisibleTo(s->widget->parentWidget());
        s->widget->setParent(ps->widget);
        QPoint o = ps->ClientOrigin();
        s->widget->move(o.x() + s->x, o.y() + s->y);
        s->widget->setVisible(visible);
    }
    else
    {
        s->owner = pWndNewParent;
    }
    return old;
}

CWnd* CWnd::GetOwner() const
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return nullptr;
    return s->owner ? s->owner : s->parent;
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    if (WndState* s = StateOf(this)) s->owner = pOwnerWnd;
}

CWnd* CWnd::GetParentOwner() const
{
    const CWnd* w = this;
    while (w && (w->GetStyle() & WS_CHILD)) w = w->GetParent();
    return const_cast<CWnd*>(w);
}

CWnd* CWnd::GetTopLevelParent() const
{
    CWnd* w = GetParentOwner();
    while (w && w->GetParent()) w = w->GetParent()->GetParentOwner();
    return w;
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    for (CWnd* c : OwnedWindows(this, false))
        if (c->GetDlgCtrlID() == nID) return c;
    return nullptr;
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return nullptr;
    if (nCmd == GW_OWNER) return s->owner;
    // Siblings and children follow the toolkit's stacking order (creation order).
    QWidget* w = s->widget;
    auto hostsOf = [](QWidget* parent) {
        std::vector<CWnd*> out;
        if (!parent) return out;
        for (QObject* o : parent->children())
            if (auto* h = dynamic_cast<HostBase*>(o); h && h->state && (h->state->style & WS_CHILD))
                out.push_back(h->state->wnd);
        return out;
    };
    if (nCmd == GW_CHILD)
    {
        auto c = hostsOf(w);
        return c.empty() ? nullptr : c.front();
    }
    auto sib = hostsOf((s->style & WS_CHILD) ? w->parentWidget() : nullptr);
    auto it = std::find(sib.begin(), sib.end(), this);
    if (it == sib.end()) return nullptr;
    switch (nCmd)
    {
    case GW_HWNDFIRST: return sib.front();
    case GW_HWNDLAST: return sib.back();
    case GW_HWNDNEXT: return (it + 1) == sib.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV: return it == sib.begin() ? nullptr : *(it - 1);
    default: return nullptr;
    }
}
CWnd* CWnd::GetTopWindow() const { return GetWindow(GW_CHILD); }
CWnd* CWnd::GetNextWindow(UINT nFlag) const { return GetWindow(nFlag); }

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    for (CWnd* p = pWnd ? StateOf(pWnd) ? StateOf(pWnd)->parent : nullptr : nullptr; p;
         p = StateOf(p) ? StateOf(p)->parent : nullptr)
        if (p == this) return TRUE;
    return FALSE;
}

int CWnd::GetDlgCtrlID() const
{
    WndState* s = StateOf(this);
    return (s && m_hWnd) ? static_cast<int>(s->id) : 0;
}
int CWnd::SetDlgCtrlID(int nID)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return 0;
    int old = static_cast<int>(s->id);
    s->id = static_cast<UINT>(nID);
    return old;
}

// ---- Text and font -------------------------------------------------------------------------

void CWnd::SetWindowText(LPCTSTR s) { SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(s ? s : L"")); }
int CWnd::GetWindowText(LPTSTR buf, int n) const
{
    return static_cast<int>(
        const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, static_cast<WPARAM>(n), reinterpret_cast<LPARAM>(buf)));
}
void CWnd::GetWindowText(CString& r) const
{
    int n = GetWindowTextLength();
    std::vector<wchar_t> buf(static_cast<std::size_t>(n) + 1, 0);
    GetWindowText(buf.data(), n + 1);
    r = buf.data();
}
int CWnd::GetWindowTextLength() const
{
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH, 0, 0));
}
void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->GetSafeHandle() : nullptr), bRedraw);
}
CFont* CWnd::GetFont() const
{
    auto h = reinterpret_cast<HFONT>(const_cast<CWnd*>(this)->SendMessage(WM_GETFONT, 0, 0));
    return h ? CFont::FromHandle(h) : nullptr;
}
void CWnd::SetDlgItemText(int nID, LPCTSTR s)
{
    if (CWnd* w = GetDlgItem(nID)) w->SetWindowText(s);
}
UINT CWnd::GetDlgItemText(int nID, CString& r) const
{
    r.Empty();
    if (CWnd* w = GetDlgItem(nID)) w->GetWindowText(r);
    return static_cast<UINT>(r.GetLength());
}

// ---- Painting ------------------------------------------------------------------------------

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return;
    CSize c = s->ClientSize();
    QRect r = lpRect ? ToQRect(*lpRect) & QRect(0, 0, c.cx, c.cy) : QRect(0, 0, c.cx, c.cy);
    if (r.isEmpty()) return;
    s->invalid += r;
    if (bErase) s->erasePending = true;
    if (s->redraw && s->widget) s->widget->update(r.translated(s->ClientOrigin()));
}

void CWnd::ValidateRect(LPCRECT lpRect)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return;
    if (lpRect)
        s->invalid -= ToQRect(*lpRect);
    else
        s->invalid = QRegion();
}

void CWnd::UpdateWindow()
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd || s->inPaint || s->invalid.isEmpty()) return;
    SendMessage(WM_PAINT, 0, 0);
}

BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, void*, UINT flags)
{
    if (!m_hWnd) return FALSE;
    if (flags & RDW_INVALIDATE) InvalidateRect(lpRectUpdate, (flags & RDW_ERASE) ? TRUE : FALSE);
    if (flags & RDW_VALIDATE) ValidateRect(lpRectUpdate);
    if (flags & RDW_UPDATENOW) UpdateWindow();
    if (flags & RDW_ALLCHILDREN)
        for (HWND h : OwnedHandles(this, false))
            if (CWnd* child = LiveWindow(h)) child->RedrawWindow(nullptr, nullptr, flags);
    return TRUE;
}

BOOL CWnd::GetUpdateRect(LPRECT lpRect, BOOL)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    QRect b = s->invalid.boundingRect();
    if (lpRect) *lpRect = b.isEmpty() ? RECT{0, 0, 0, 0} : RECT(FromQRect(b));
    return b.isEmpty() ? FALSE : TRUE;
}

void CWnd::SetRedraw(BOOL bRedraw) { SendMessage(WM_SETREDRAW, bRedraw, 0); }

CDC* CWnd::GetDC()
{
    if (!m_hWnd) return nullptr;
    return new CClientDC(this);
}
CDC* CWnd::GetWindowDC()
{
    if (!m_hWnd) return nullptr;
    return new CWindowDC(this);
}
int CWnd::ReleaseDC(CDC* pDC)
{
    if (!pDC) return 0;
    delete pDC;
    return 1;
}

// ---- Timers --------------------------------------------------------------------------------

UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, void (*lpfnTimer)(HWND, UINT, UINT_PTR, DWORD))
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd || !s->widget) return 0;
    if (nIDEvent == 0) nIDEvent = 1;
    QTimer*& t = s->timers[nIDEvent];
    if (!t)
    {
        t = new QTimer(s->widget);
        HWND h = m_hWnd;
        UINT_PTR id = nIDEvent;
        QObject::connect(t, &QTimer::timeout, s->widget, [h, id]() {
            WndState* st = StateOf(h);
            if (!st || !st->timers.count(id)) return;
            TIMERPROC proc = st->timerProcs.count(id) ? st->timerProcs[id] : nullptr;
            st->wnd->SendMessage(WM_TIMER, id, reinterpret_cast<LPARAM>(proc));
        });
    }
    s->timerProcs[nIDEvent] = lpfnTimer;
    t->start(static_cast<int>(std::max<UINT>(nElapse, 10)));
    return nIDEvent;
}

BOOL CWnd::KillTimer(UINT_PTR nIDEvent)
{
    WndState* s = StateOf(this);
    if (!s || !m_hWnd) return FALSE;
    auto it = s->timers.find(nIDEvent);
    if (it == s->timers.end()) return FALSE;
    it->second->stop();
    it->second->deleteLater();
    s->timers.erase(it);
    s->timerProcs.erase(nIDEvent);
    return TRUE;
}
