// The title tip of the grid.
#include "controls/grid/TitleTip.h"

#include "platform/core/Time.h"

#include <algorithm>
#include <cwchar>

#ifndef WM_NCMOUSEMOVE
#define WM_NCMOUSEMOVE 0x00A0u
#endif
#ifndef WM_NCLBUTTONDOWN
#define WM_NCLBUTTONDOWN 0x00A1u
#endif
#ifndef WM_NCRBUTTONDOWN
#define WM_NCRBUTTONDOWN 0x00A4u
#endif
#ifndef WM_NCMBUTTONDOWN
#define WM_NCMBUTTONDOWN 0x00A7u
#endif

namespace {
BOOL RegisterTitleTipClass()
{
    WNDCLASS wndcls{};
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (::GetClassInfo(hInst, TITLETIP_CLASSNAME, &wndcls)) return TRUE;
    wndcls = WNDCLASS{};
    wndcls.style = CS_SAVEBITS;
    wndcls.lpfnWndProc = ::DefWindowProc;
    wndcls.hInstance = hInst;
    wndcls.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_INFOBK + 1));
    wndcls.lpszClassName = TITLETIP_CLASSNAME;
    return AfxRegisterClass(&wndcls);
}

LPARAM PointParam(CPoint pt)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(pt.x)), static_cast<WORD>(static_cast<short>(pt.y)));
}

CPoint ParamPoint(LPARAM lParam) { return CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); }
} // namespace

BEGIN_MESSAGE_MAP(CTitleTip, CWnd)
ON_WM_MOUSEMOVE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTitleTip::CTitleTip() : m_dwDblClickMsecs(::GetDoubleClickTime()) {}

CTitleTip::~CTitleTip()
{
    if (GetSafeHwnd()) CTitleTip::DestroyWindow();
}

BOOL CTitleTip::Create(CWnd* pParentWnd)
{
    if (m_bCreated && GetSafeHwnd()) return TRUE;
    m_pParentWnd = pParentWnd;
    // A class that cannot be registered means no tip; the grid works without one.
    if (!RegisterTitleTipClass()) return FALSE;
    const DWORD dwExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    m_bCreated =
        CreateEx(dwExStyle, TITLETIP_CLASSNAME, _T(""), WS_POPUP | WS_BORDER, CRect(0, 0, 0, 0), pParentWnd, 0);
    return m_bCreated;
}

BOOL CTitleTip::DestroyWindow()
{
    m_bCreated = FALSE;
    return CWnd::DestroyWindow();
}

void CTitleTip::Show(CRect rectTitle, LPCTSTR lpszTitleText, LPRECT lpHoverRect, const LOGFONT* lpLogFont,
                     COLORREF crTextClr, COLORREF crBackClr)
{
    if (!GetSafeHwnd() && !Create(m_pParentWnd)) return;
    if (!m_pParentWnd || !::IsWindow(m_pParentWnd->GetSafeHwnd())) return;
    if (rectTitle.IsRectEmpty() || IsWindowVisible()) return;

    // The area the mouse may move in, in screen coordinates until the tip is placed.
    CRect hover = lpHoverRect ? CRect(*lpHoverRect) : rectTitle;
    hover.right++;
    hover.bottom++;
    m_pParentWnd->ClientToScreen(hover);

    // Only while this program has the keyboard (the tip never takes it).
    if (!::GetFocus()) return;

    m_rectTitle = CRect(-1, -1, rectTitle.Width(), rectTitle.Height() + 1);
    m_pParentWnd->ClientToScreen(rectTitle);

    m_Font.DeleteObject();
    if (lpLogFont) m_Font.CreateFontIndirect(lpLogFont);
    CFont* pFont = m_Font.GetSafeHandle() ? &m_Font : m_pParentWnd->GetFont();

    CClientDC dc(this);
    CFont* pOldFont = pFont ? dc.SelectObject(pFont) : nullptr;
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    // The tip reaches no further than the screens: of a text wider than that (a name of megabytes)
    // only a start that reaches beyond them is measured, kept and drawn.
    const LPCTSTR lpszText = lpszTitleText ? lpszTitleText : _T("");
    const int nLength = static_cast<int>(std::wcslen(lpszText));
    const int nRoom = std::max<int>(rectTitle.Width(), ::GetSystemMetrics(SM_CXVIRTUALSCREEN) - rectTitle.left);
    int nTake = nLength;
    dc.GetTextExtentUpTo(lpszText, nLength, nRoom, &nTake);
    const CString strText = CString(_T(" ")) + CString(lpszText, nTake) + (nTake == nLength ? _T(" ") : _T(""));
    const int nWidth = std::min<int>(dc.GetTextExtent(strText).cx, nRoom) + tm.tmOverhang;
    if (pOldFont) dc.SelectObject(pOldFont);

    // A text that fits its cell needs no tip.
    if (rectTitle.left + nWidth <= rectTitle.right) return;

    m_strShown = strText;
    if (!m_Font.GetSafeHandle() && pFont)
    {
        LOGFONT lf;
        if (pFont->GetLogFont(&lf)) m_Font.CreateFontIndirect(&lf);
    }
    m_crBack = crBackClr != 0xFF000000 ? crBackClr : ::GetSysColor(COLOR_INFOBK);
    m_crText = crTextClr != 0xFF000000 ? crTextClr : ::GetSysColor(COLOR_INFOTEXT);

    // Shown without taking the keyboard from the window that has it.
    SetWindowPos(nullptr, rectTitle.left, rectTitle.top, nWidth, rectTitle.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);

    // Now that the tip is placed, the hover area in its own coordinates.
    ScreenToClient(hover);
    m_rectHover = hover;

    CClientDC drawDC(this);
    DrawTip(&drawDC);

    SetCapture();
}

void CTitleTip::DrawTip(CDC* pDC)
{
    if (!pDC || !pDC->GetSafeHdc()) return;
    CRect rect;
    GetClientRect(rect);
    pDC->FillSolidRect(rect, m_crBack);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(m_crText);
    CFont* pOldFont = m_Font.GetSafeHandle() ? pDC->SelectObject(&m_Font) : nullptr;
    pDC->TextOut(0, 0, m_strShown);
    if (pOldFont) pDC->SelectObject(pOldFont);
}

void CTitleTip::Hide()
{
    if (!::IsWindow(GetSafeHwnd())) return;
    if (CWnd::GetCapture() == this) ::ReleaseCapture();
    ShowWindow(SW_HIDE);
    m_strShown.Empty();
}

void CTitleTip::OnPaint()
{
    CPaintDC dc(this);
    DrawTip(&dc);
}

BOOL CTitleTip::OnEraseBkgnd(CDC*)
{
    // The whole client area is painted by OnPaint.
    return TRUE;
}

void CTitleTip::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_rectHover.PtInRect(point))
    {
        CWnd::OnMouseMove(nFlags, point);
        return;
    }

    Hide();

    // The move belongs to the window under the mouse.
    ClientToScreen(&point);
    CWnd* pWnd = CWnd::WindowFromPoint(point);
    if (!pWnd || pWnd == this) pWnd = m_pParentWnd;
    if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return;

    const LRESULT nHitTest = pWnd->SendMessage(WM_NCHITTEST, 0, PointParam(point));
    if (nHitTest == HTCLIENT)
    {
        pWnd->ScreenToClient(&point);
        pWnd->PostMessage(WM_MOUSEMOVE, nFlags, PointParam(point));
    }
    else
        pWnd->PostMessage(WM_NCMOUSEMOVE, static_cast<WPARAM>(nHitTest), PointParam(point));
}

LRESULT CTitleTip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Clicks and keys that reach the tip go where the user meant them.
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        MSG msg{};
        msg.hwnd = GetSafeHwnd();
        msg.message = message == WM_LBUTTONDBLCLK ? WM_LBUTTONDOWN : message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        msg.time = ::GetTickCount();
        if (PreTranslateMessage(&msg)) return 0;
        break;
    }
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CTitleTip::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg) return FALSE;

    switch (pMsg->message)
    {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        BOOL bDoubleClick = FALSE;
        if (pMsg->message == WM_LBUTTONDOWN)
        {
            const DWORD dwTick = pMsg->time;
            bDoubleClick = m_dwLastLButtonDown != 0xFFFFFFFF && dwTick - m_dwLastLButtonDown <= m_dwDblClickMsecs;
            // A double click is not the first click of another one.
            m_dwLastLButtonDown = bDoubleClick ? 0xFFFFFFFF : dwTick;
        }

        CPoint point = ParamPoint(pMsg->lParam);
        ClientToScreen(&point);
        Hide();

        CWnd* pWnd = CWnd::WindowFromPoint(point);
        if (!pWnd || pWnd == this) pWnd = m_pParentWnd;
        if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return CWnd::PreTranslateMessage(pMsg);

        UINT message = pMsg->message;
        WPARAM wParam = pMsg->wParam;
        const LRESULT nHitTest = pWnd->SendMessage(WM_NCHITTEST, 0, PointParam(point));
        if (nHitTest == HTCLIENT)
        {
            pWnd->ScreenToClient(&point);
            if (bDoubleClick) message = WM_LBUTTONDBLCLK;
        }
        else
        {
            switch (message)
            {
            case WM_LBUTTONDOWN: message = WM_NCLBUTTONDOWN; break;
            case WM_RBUTTONDOWN: message = WM_NCRBUTTONDOWN; break;
            default: message = WM_NCMBUTTONDOWN; break;
            }
            wParam = static_cast<WPARAM>(nHitTest);
        }
        pWnd->PostMessage(message, wParam, PointParam(point));
        return TRUE;
    }

    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Hide();
        if (m_pParentWnd && ::IsWindow(m_pParentWnd->GetSafeHwnd()))
            m_pParentWnd->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;

    default: break;
    }

    if (::GetFocus()) return CWnd::PreTranslateMessage(pMsg);
    Hide();
    return TRUE;
}
