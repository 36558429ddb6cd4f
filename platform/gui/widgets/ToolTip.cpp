// The tooltip control over a frameless top-level window of our own (a custom window with a
// retained surface, so it paints like any other). Timers: the initial delay, the auto-pop
// delay and a tracker that hides the tip once the real mouse has left the tool.
#include "platform/gui/widgets/ToolTip.h"

#include "platform/core/Strings.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/draw/SysValues.h"
#include "platform/gui/window/WndInternal.h"

#include <algorithm>

namespace {

constexpr UINT_PTR kShowTimer = 1;
constexpr UINT_PTR kPopTimer = 2;
constexpr UINT_PTR kTrackTimer = 3;
constexpr int kTrackInterval = 100;
constexpr int kPadX = 4, kPadY = 2;
constexpr int kCursorHeight = 20; // the tip shows this far below the cursor's hot spot

bool IsMouseMessage(UINT m) { return m >= WM_MOUSEFIRST && m <= 0x020Du; } // through WM_XBUTTONDBLCLK

void RegisterToolTipClass()
{
    static bool done = false;
    if (done) return;
    WNDCLASS wc{};
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_INFOBK + 1));
    wc.lpszClassName = TOOLTIPS_CLASS;
    RegisterClass(&wc);
    done = true;
}

} // namespace

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BEGIN_MESSAGE_MAP(CToolTipCtrl, CWnd)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_NCHITTEST()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CToolTipCtrl::CToolTipCtrl() { SetDelayTime(TTDT_AUTOMATIC, -1); }

CToolTipCtrl::~CToolTipCtrl()
{
    if (m_hWnd) DestroyWindow();
}

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    RegisterToolTipClass();
    if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, TOOLTIPS_CLASS, nullptr, WS_POPUP | (dwStyle & 0xFFFFu),
                  CRect(0, 0, 0, 0), pParentWnd, 0))
        return FALSE;
    if (pParentWnd) SetOwner(pParentWnd);
    if (QWidget* w = qor::gui::WidgetOf(this))
    {
        // A tip never takes the activation or the keyboard from the window under it.
        w->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
        w->setAttribute(Qt::WA_ShowWithoutActivating);
        w->setFocusPolicy(Qt::NoFocus);
    }
    return TRUE;
}

// ---- Tools ----------------------------------------------------------------------------------------

CToolTipCtrl::Tool* CToolTipCtrl::Find(HWND hwnd, UINT_PTR id)
{
    for (Tool& t : m_tools)
        if (t.hwnd == hwnd && t.id == id) return &t;
    return nullptr;
}

const CToolTipCtrl::Tool* CToolTipCtrl::Find(HWND hwnd, UINT_PTR id) const
{
    return const_cast<CToolTipCtrl*>(this)->Find(hwnd, id);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (!m_hWnd || !pWnd || !pWnd->m_hWnd) return FALSE;
    Tool tool;
    tool.hwnd = pWnd->m_hWnd;
    tool.id = nIDTool;
    tool.wholeWindow = lpRectTool == nullptr;
    if (lpRectTool) tool.rect = *lpRectTool;
    tool.callback = lpszText == LPSTR_TEXTCALLBACK;
    if (!tool.callback && lpszText) tool.text = lpszText;
    if (Tool* old = Find(tool.hwnd, nIDTool))
        *old = tool; // one tool per (window, id)
    else
        m_tools.push_back(tool);
    return TRUE;
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text.GetString(), lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    if (!pWnd) return;
    for (size_t i = 0; i < m_tools.size(); ++i)
    {
        if (m_tools[i].hwnd != pWnd->m_hWnd || m_tools[i].id != nIDTool) continue;
        if (m_current == static_cast<int>(i))
            Hide(true);
        else if (m_current > static_cast<int>(i))
            --m_current;
        m_tools.erase(m_tools.begin() + static_cast<std::ptrdiff_t>(i));
        return;
    }
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    Tool* t = pWnd ? Find(pWnd->m_hWnd, nIDTool) : nullptr;
    if (!t) return;
    t->callback = lpszText == LPSTR_TEXTCALLBACK;
    t->text = (t->callback || !lpszText) ? CString() : CString(lpszText);
    if (m_current >= 0 && &m_tools[static_cast<size_t>(m_current)] == t && IsWindowVisible())
    {
        if (t->text.IsEmpty())
            Hide(false);
        else
            Show(); // the shown tip follows its new text
    }
}

void CToolTipCtrl::UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    UpdateTipText(text.GetString(), pWnd, nIDTool);
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect)
{
    Tool* t = pWnd ? Find(pWnd->m_hWnd, nIDTool) : nullptr;
    if (!t || !lpRect) return;
    t->rect = *lpRect;
    t->wholeWindow = false;
}

void CToolTipCtrl::GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool) const
{
    const Tool* t = pWnd ? Find(pWnd->m_hWnd, nIDTool) : nullptr;
    str = t ? t->text : CString();
}

int CToolTipCtrl::HitTool(HWND hwnd, CPoint client) const
{
    for (size_t i = 0; i < m_tools.size(); ++i)
    {
        const Tool& t = m_tools[i];
        if (t.hwnd != hwnd) continue;
        CRect r = t.rect;
        if (t.wholeWindow)
        {
            CWnd* w = CWnd::FromHandle(hwnd);
            if (!w) continue;
            w->GetClientRect(&r);
        }
        if (r.PtInRect(client)) return static_cast<int>(i);
    }
    return -1;
}

// ---- Delays -----------------------------------------------------------------------------------------

void CToolTipCtrl::SetDelayTime(UINT nDelay) { SetDelayTime(TTDT_AUTOMATIC, static_cast<int>(nDelay)); }

void CToolTipCtrl::SetDelayTime(DWORD dwDuration, int iTime)
{
    const int base = static_cast<int>(GetDoubleClickTime());
    switch (dwDuration)
    {
    case TTDT_AUTOMATIC: {
        int n = iTime < 0 ? base : iTime;
        m_initial = n;
        m_autoPop = n * 10;
        m_reshow = n / 5;
        break;
    }
    case TTDT_INITIAL: m_initial = iTime < 0 ? base : iTime; break;
    case TTDT_AUTOPOP: m_autoPop = iTime < 0 ? base * 10 : iTime; break;
    case TTDT_RESHOW: m_reshow = iTime < 0 ? base / 5 : iTime; break;
    default: break;
    }
}

int CToolTipCtrl::GetDelayTime(DWORD dwDuration) const
{
    switch (dwDuration)
    {
    case TTDT_INITIAL: return m_initial;
    case TTDT_AUTOPOP: return m_autoPop;
    case TTDT_RESHOW: return m_reshow;
    default: return 0;
    }
}

int CToolTipCtrl::SetMaxTipWidth(int iWidth)
{
    int old = m_maxWidth;
    m_maxWidth = iWidth;
    return old;
}

// ---- The mouse ----------------------------------------------------------------------------------------

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    if (!m_hWnd || !lpMsg || !IsMouseMessage(lpMsg->message) || lpMsg->message == WM_MOUSEWHEEL) return;
    CWnd* from = CWnd::FromHandle(lpMsg->hwnd);
    if (!from) return;
    CPoint client(GET_X_LPARAM(lpMsg->lParam), GET_Y_LPARAM(lpMsg->lParam));
    int hit = HitTool(lpMsg->hwnd, client);
    if (lpMsg->message != WM_MOUSEMOVE)
    {
        // A button hides the tip until the mouse goes to another tool.
        Hide(false);
        m_current = hit;
        m_suppressed = hit >= 0;
        return;
    }
    if (hit < 0)
    {
        Hide(true);
        return;
    }
    CPoint screen = client;
    from->ClientToScreen(&screen);
    m_anchor = screen;
    GetCursorPos(&m_cursorAtRelay);
    if (hit == m_current)
    {
        if (m_suppressed || IsWindowVisible()) return;
        SetTimer(kShowTimer, static_cast<UINT>(std::max(m_initial, 0)), nullptr); // the mouse rests anew
        return;
    }
    bool reshow = IsWindowVisible() || m_shownRecently;
    Hide(true);
    m_current = hit;
    m_suppressed = false;
    if (!m_active) return;
    SetTimer(kShowTimer, static_cast<UINT>(std::max(reshow ? m_reshow : m_initial, 0)), nullptr);
    SetTimer(kTrackTimer, kTrackInterval, nullptr);
}

void CToolTipCtrl::Activate(BOOL bActivate)
{
    m_active = bActivate != FALSE;
    if (!m_active) Hide(true);
}

void CToolTipCtrl::Pop() { Hide(false); }

void CToolTipCtrl::Hide(bool forget)
{
    if (!m_hWnd) return;
    KillTimer(kShowTimer);
    KillTimer(kPopTimer);
    m_shownRecently = IsWindowVisible() != FALSE;
    if (IsWindowVisible()) ShowWindow(SW_HIDE);
    if (forget)
    {
        KillTimer(kTrackTimer);
        m_current = -1;
        m_suppressed = false;
    }
}

void CToolTipCtrl::Show()
{
    KillTimer(kShowTimer);
    if (!m_active || m_current < 0 || m_current >= static_cast<int>(m_tools.size())) return;
    const Tool& tool = m_tools[static_cast<size_t>(m_current)];
    if (tool.text.IsEmpty() || !::IsWindow(tool.hwnd)) return; // nothing to show
    SetWindowText(tool.text);

    // The size of the text in the tip's font, wrapped at the maximum width.
    UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    format |= m_maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* font = GetFont();
    CGdiObject* old = font ? dc.SelectObject(font) : dc.SelectStockObject(DEFAULT_GUI_FONT);
    CRect text(0, 0, m_maxWidth > 0 ? m_maxWidth : 0, 0);
    dc.DrawText(tool.text, &text, format | DT_CALCRECT);
    if (old) dc.SelectObject(old);
    int cx = text.Width() + 2 * kPadX + 2, cy = text.Height() + 2 * kPadY + 2;
    SetWindowPos(nullptr, m_anchor.x, m_anchor.y + kCursorHeight, cx, cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Invalidate();
    UpdateWindow();
    m_shownRecently = true;
    if (m_autoPop > 0) SetTimer(kPopTimer, static_cast<UINT>(m_autoPop), nullptr);
}

void CToolTipCtrl::Track()
{
    if (m_current < 0 || m_current >= static_cast<int>(m_tools.size()))
    {
        Hide(true);
        return;
    }
    const Tool& tool = m_tools[static_cast<size_t>(m_current)];
    CWnd* w = CWnd::FromHandle(tool.hwnd);
    if (!w || !w->IsWindowVisible())
    {
        Hide(true);
        return;
    }
    // Only the real mouse counts: it moved since the last relayed message and is outside.
    POINT now{0, 0};
    GetCursorPos(&now);
    if (now.x == m_cursorAtRelay.x && now.y == m_cursorAtRelay.y) return;
    CPoint client = now;
    w->ScreenToClient(&client);
    if (HitTool(tool.hwnd, client) != m_current) Hide(true);
}

// ---- Messages ------------------------------------------------------------------------------------------

void CToolTipCtrl::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent)
    {
    case kShowTimer: Show(); break;
    case kPopTimer:
        Hide(false);
        m_suppressed = true;
        break;
    case kTrackTimer: Track(); break;
    default: CWnd::OnTimer(nIDEvent); break;
    }
}

void CToolTipCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    dc.FillSolidRect(&r, GetSysColor(COLOR_INFOBK));
    CBrush frame;
    frame.CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
    dc.FrameRect(&r, &frame);
    CString text;
    GetWindowText(text);
    CFont* font = GetFont();
    CGdiObject* old = font ? dc.SelectObject(font) : dc.SelectStockObject(DEFAULT_GUI_FONT);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetSysColor(COLOR_INFOTEXT));
    CRect inside = r;
    inside.DeflateRect(kPadX + 1, kPadY + 1);
    dc.DrawText(text, &inside, DT_NOPREFIX | DT_EXPANDTABS | (m_maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    if (old) dc.SelectObject(old);
}

LRESULT CToolTipCtrl::OnNcHitTest(CPoint) { return HTTRANSPARENT; }

void CToolTipCtrl::OnDestroy()
{
    m_tools.clear();
    m_current = -1;
    CWnd::OnDestroy();
}
