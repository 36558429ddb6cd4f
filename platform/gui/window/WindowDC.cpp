// The device contexts of windows: CPaintDC, CClientDC and CWindowDC, and the handle functions
// that take a window (GetDC, BeginPaint, EndPaint). They draw into the window's retained surface
// through the drawing layer's window DC.
#include "platform/gui/window/WindowDC.h"
#include "platform/gui/draw/GdiInternal.h"
#include "platform/gui/draw/SurfaceAccess.h"
#include "platform/gui/window/Wnd.h"

using namespace qor::gui;

HDC GetDC(HWND hWnd)
{
    CWnd* wnd = hWnd ? CWnd::FromHandlePermanent(hWnd) : nullptr;
    if (hWnd && !wnd) return nullptr;
    return CreateWindowSurfaceDC(wnd, nullptr);
}

HDC GetWindowDC(HWND hWnd) { return GetDC(hWnd); }

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd || !lpPaint) return nullptr;
    bool erase = false;
    CRect rc = qor::gui::BeginPaint(wnd, &erase);
    HDC h = CreateWindowSurfaceDC(wnd, &rc);
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = h;
    lpPaint->rcPaint = rc;
    lpPaint->fErase = erase ? TRUE : FALSE;
    if (erase) lpPaint->fErase = wnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(h), 0) ? FALSE : TRUE;
    return h;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    if (lpPaint) DeleteDC(lpPaint->hdc);
    if (CWnd* wnd = CWnd::FromHandlePermanent(hWnd)) qor::gui::EndPaint(wnd);
    return TRUE;
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    if (!pWnd || !pWnd->m_hWnd) return;
    m_hWnd = pWnd->m_hWnd;
    bool erase = false;
    CRect rc = qor::gui::BeginPaint(pWnd, &erase);
    Attach(CreateWindowSurfaceDC(pWnd, &rc));
    m_ps.hdc = m_hDC;
    m_ps.rcPaint = rc;
    m_ps.fErase = erase ? TRUE : FALSE;
    if (erase) m_ps.fErase = pWnd->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_hDC), 0) ? FALSE : TRUE;
}

CPaintDC::~CPaintDC()
{
    if (m_hDC) DeleteDC();
    if (m_pWnd && m_hWnd) qor::gui::EndPaint(m_pWnd);
}

CClientDC::CClientDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    m_hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    Attach(CreateWindowSurfaceDC(pWnd && pWnd->m_hWnd ? pWnd : nullptr, nullptr));
}

CClientDC::~CClientDC()
{
    if (m_hDC) DeleteDC();
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    m_hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    Attach(CreateWindowSurfaceDC(pWnd && pWnd->m_hWnd ? pWnd : nullptr, nullptr));
}

CWindowDC::~CWindowDC()
{
    if (m_hDC) DeleteDC();
}
