// The message tip: a pop-up that never takes the focus, sized to its text, kept on the screen
// that holds its point, drawn with a shadow over what lies beneath, and closed by a timer or by
// the next key press or click anywhere in the thread (keyboard and mouse hooks).
#include "ui/views/MessageTip.h"

#include "platform/gui/window/Hooks.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CMessageTip, CWnd)
ON_WM_PAINT()
ON_WM_TIMER()
ON_WM_MOUSEACTIVATE()
ON_WM_SETCURSOR()
ON_MESSAGE(WM_CLOSE, OnCloseMessage)
END_MESSAGE_MAP()

namespace {

constexpr UINT_PTR kTimerId = 1;

// One tip at a time is served by the hooks, whichever object shows it.
HHOOK g_hKeyboardHook = nullptr;
HHOOK g_hMouseHook = nullptr;
HWND g_hShowingTip = nullptr;
// Each Show gets a new number; a close posted by a hook carries the number of the showing
// tip, so the click that shows a tip again does not close it when its close arrives.
WPARAM g_nShowCount = 0;
WPARAM g_nShowingCount = 0;

LRESULT KeyboardHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    const bool keyGoingDown = (static_cast<unsigned long long>(lParam) & (1ull << 31)) == 0;
    if (nCode == HC_ACTION && keyGoingDown && wParam != VK_RETURN && g_hShowingTip)
        ::PostMessage(g_hShowingTip, WM_CLOSE, g_nShowingCount, 0);
    return CallNextHookEx(g_hKeyboardHook, nCode, wParam, lParam);
}

LRESULT MouseHook(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode == HC_ACTION && g_hShowingTip)
    {
        switch (wParam)
        {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN: ::PostMessage(g_hShowingTip, WM_CLOSE, g_nShowingCount, 0); break;
        default: break;
        }
    }
    return CallNextHookEx(g_hMouseHook, nCode, wParam, lParam);
}

// Keeps p percent of each colour channel.
COLORREF Darken(COLORREF colour, int percent)
{
    return RGB(GetRValue(colour) * percent / 100, GetGValue(colour) * percent / 100, GetBValue(colour) * percent / 100);
}

} // namespace

CMessageTip::CMessageTip() : m_clrBackground(GetSysColor(COLOR_INFOBK)), m_clrText(GetSysColor(COLOR_INFOTEXT)) {}

CMessageTip::~CMessageTip()
{
    Hide();
    m_Font.DeleteObject();
    if (GetSafeHwnd()) DestroyWindow();
}

CMessageTip* CMessageTip::GetShowingTip()
{
    return g_hShowingTip ? dynamic_cast<CMessageTip*>(CWnd::FromHandlePermanent(g_hShowingTip)) : nullptr;
}

BOOL CMessageTip::Create(CWnd* pOwner)
{
    LPCTSTR className = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC, LoadCursor(nullptr, IDC_ARROW));
    if (!CreateEx(WS_EX_PALETTEWINDOW, className, L"", WS_POPUP, 0, 0, 10, 10, pOwner ? pOwner->GetSafeHwnd() : nullptr,
                  nullptr))
        return FALSE;
    m_pOwner = pOwner;
    NONCLIENTMETRICS metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return FALSE;
    m_Font.DeleteObject();
    return m_Font.CreateFontIndirect(&metrics.lfStatusFont);
}

// ---- Showing and hiding -----------------------------------------------------------------------

void CMessageTip::Show(CPoint point, const CString& text)
{
    if (!GetSafeHwnd()) return;
    if (text.IsEmpty())
    {
        Hide(); // nothing to say: an empty box would only hide what is under it
        return;
    }
    m_sText = text;
    const CPoint offset = m_bShadow ? m_ptShadowOffset : CPoint(0, -2);
    CPoint at(point.x + offset.x, point.y + offset.y);
    if (m_pOwner && m_pOwner->GetSafeHwnd()) m_pOwner->ClientToScreen(&at);

    InstallHooks();
    CRect rect;
    CalcTipRect(rect, m_sText);
    PositionTip(at, rect);
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ShowWindow(SW_SHOWNA);
    Invalidate();
    m_nElapsed = 0;
    SetTimer(kTimerId, m_nTimerInterval, nullptr);
}

void CMessageTip::Hide()
{
    if (GetSafeHwnd())
    {
        KillTimer(kTimerId);
        ShowWindow(SW_HIDE);
    }
    // The hooks serve the tip that showed last: another tip going away leaves them to it.
    if (!g_hShowingTip || g_hShowingTip == m_hShownAs) RemoveHooks();
}

void CMessageTip::InstallHooks()
{
    g_hShowingTip = m_hShownAs = GetSafeHwnd();
    g_nShowingCount = ++g_nShowCount;
    if (!g_hKeyboardHook) g_hKeyboardHook = SetWindowsHookEx(WH_KEYBOARD, KeyboardHook, nullptr, GetCurrentThreadId());
    if (!g_hMouseHook) g_hMouseHook = SetWindowsHookEx(WH_MOUSE, MouseHook, nullptr, GetCurrentThreadId());
}

void CMessageTip::RemoveHooks()
{
    if (g_hKeyboardHook) UnhookWindowsHookEx(g_hKeyboardHook);
    if (g_hMouseHook) UnhookWindowsHookEx(g_hMouseHook);
    g_hKeyboardHook = g_hMouseHook = nullptr;
    g_hShowingTip = nullptr;
}

LRESULT CMessageTip::OnCloseMessage(WPARAM wParam, LPARAM)
{
    // A close from a hook that saw the input of an earlier showing is stale.
    if (wParam != 0 && wParam != g_nShowingCount) return 0;
    Hide();
    return 0;
}

void CMessageTip::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kTimerId) return;
    if (!CWnd::GetActiveWindow())
    {
        Hide();
        return;
    }
    m_nElapsed += m_nTimerInterval;
    CRect inside;
    GetWindowRect(&inside);
    if (m_bShadow)
    {
        inside.right -= m_nShadowSize;
        inside.bottom -= m_nShadowSize;
    }
    CPoint cursor;
    GetCursorPos(&cursor);
    if (!inside.PtInRect(cursor) && m_nElapsed >= m_nDisplayTime) Hide();
}

int CMessageTip::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    (void)pDesktopWnd;
    (void)nHitTest;
    (void)message;
    return MA_NOACTIVATEANDEAT;
}

BOOL CMessageTip::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    (void)pWnd;
    (void)nHitTest;
    (void)message;
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

// ---- Size and place ----------------------------------------------------------------------------

void CMessageTip::CalcTipRect(CRect& rect, const CString& text)
{
    CClientDC dc(nullptr);
    CFont* pOldFont = m_Font.GetSafeHandle() ? dc.SelectObject(&m_Font) : nullptr;
    int width = 0;
    int start = 0;
    for (;;)
    {
        const int end = text.Find(L'\n', start);
        CString line = text.Mid(start, end < 0 ? text.GetLength() - start : end - start);
        line += L"  ";
        width = std::max(width, static_cast<int>(dc.GetTextExtent(line).cx));
        if (end < 0) break;
        start = end + 1;
    }
    rect.SetRect(0, 0, width, 0);
    dc.DrawText(text, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX);
    rect.right += m_rectMargins.left + m_rectMargins.right;
    rect.bottom += m_rectMargins.top + m_rectMargins.bottom;
    if (m_bShadow)
    {
        rect.right += m_nShadowSize;
        rect.bottom += m_nShadowSize;
    }
    if (pOldFont) dc.SelectObject(pOldFont);
}

void CMessageTip::PositionTip(CPoint point, CRect& rect)
{
    rect.OffsetRect(point.x - rect.left, point.y - rect.bottom);

    // The screen that holds the point: the tip may not leave it by any edge.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    CRect screen(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (GetMonitorInfo(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &monitor)) screen = monitor.rcMonitor;
    if (rect.right > screen.right) rect.OffsetRect(screen.right - rect.right, 0);
    if (rect.left < screen.left) rect.OffsetRect(screen.left - rect.left, 0);
    if (rect.bottom > screen.bottom) rect.OffsetRect(0, screen.bottom - rect.bottom);
    if (rect.top < screen.top) rect.OffsetRect(0, screen.top - rect.top);
}

// ---- Painting ---------------------------------------------------------------------------------

void CMessageTip::OnPaint()
{
    CPaintDC dc(this);
    if (m_sText.IsEmpty()) return;
    CRect tip;
    GetClientRect(&tip);
    if (m_bShadow)
    {
        tip.right -= m_nShadowSize;
        tip.bottom -= m_nShadowSize;
        DrawShadow(&dc, tip);
    }
    const COLORREF oldText = dc.SetTextColor(m_clrText);
    CFont* pOldFont = m_Font.GetSafeHandle() ? dc.SelectObject(&m_Font) : nullptr;
    dc.FillSolidRect(&tip, m_clrBackground);
    CGdiObject* pOldPen = dc.SelectStockObject(BLACK_PEN);
    CGdiObject* pOldBrush = dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(&tip);
    if (pOldBrush) dc.SelectObject(pOldBrush);
    if (pOldPen) dc.SelectObject(pOldPen);

    const int oldMode = dc.SetBkMode(TRANSPARENT);
    CRect text = tip;
    text.left += m_rectMargins.left;
    text.top += m_rectMargins.top;
    text.right -= m_rectMargins.right;
    text.bottom -= m_rectMargins.bottom;
    dc.DrawText(m_sText, &text, DT_WORDBREAK | DT_EXPANDTABS | DT_EXTERNALLEADING | DT_NOPREFIX);
    dc.SetBkMode(oldMode);
    if (pOldFont) dc.SelectObject(pOldFont);
    dc.SetTextColor(oldText);
}

void CMessageTip::DrawShadow(CDC* pDC, const CRect& tip)
{
    const int S = m_nShadowSize;
    CRect client;
    GetClientRect(&client);
    const int w = tip.Width(), h = tip.Height();

    // What lies beneath the window: the owner's drawing where the tip covers it, the dialog
    // face elsewhere.
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap under;
    under.CreateBitmap(client.Width(), client.Height(), 1, 32, nullptr);
    CBitmap* pOldBitmap = memDC.SelectObject(&under);
    memDC.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    if (m_pOwner && m_pOwner->GetSafeHwnd())
    {
        CRect onOwner;
        GetWindowRect(&onOwner);
        m_pOwner->ScreenToClient(&onOwner);
        CClientDC ownerDC(m_pOwner);
        memDC.BitBlt(0, 0, client.Width(), client.Height(), &ownerDC, onOwner.left, onOwner.top, SRCCOPY);
    }

    // Darkest next to the tip: (50 + i * (50 / S)) per cent of each channel kept at distance i.
    auto shade = [&](int x, int y, int percent) {
        const COLORREF c = memDC.GetPixel(x, y);
        if (c != CLR_INVALID) memDC.SetPixel(x, y, Darken(c, percent));
    };
    for (int i = 0; i < S; ++i)
    {
        const int percent = 50 + i * (50 / S);
        for (int y = tip.top + 2 * S; y < tip.top + h + i; ++y) shade(tip.right + i, y, percent);
        for (int x = tip.left + 2 * S; x < tip.left + w + i; ++x) shade(x, tip.bottom + i, percent);
        // The short pieces towards the corners fade out.
        for (int k = 0; k < S; ++k)
        {
            const int fade = percent + (100 - percent) * (S - k) / (S + 1);
            shade(tip.right + i, tip.top + S + k, fade);
            shade(tip.left + S + k, tip.bottom + i, fade);
        }
    }
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOldBitmap);
}
