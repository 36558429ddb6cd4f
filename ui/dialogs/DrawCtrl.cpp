// CDrawCtrl: window class registration, the paint sequence and the shared arrow drawing.
#include "ui/dialogs/DrawCtrl.h"

#include <cmath>
#include <stdexcept>

BEGIN_MESSAGE_MAP(CDrawCtrl, CWnd)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CDrawCtrl::CDrawCtrl() : m_BkColor(::GetSysColor(COLOR_BTNFACE)) { RegisterWindowClass(); }

CDrawCtrl::~CDrawCtrl()
{
    if (m_hWnd != nullptr) DestroyWindow();
}

void CDrawCtrl::RegisterWindowClass()
{
    const HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASS wndcls{};
    if (GetClassInfoW(hInst, DRAWCTRL_CLASSNAME, &wndcls)) return;
    wndcls = WNDCLASS{};
    wndcls.style = CS_DBLCLKS;
    wndcls.lpfnWndProc = ::DefWindowProcW;
    wndcls.hInstance = hInst;
    wndcls.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wndcls.lpszClassName = DRAWCTRL_CLASSNAME;
    if (!AfxRegisterClass(&wndcls)) throw std::runtime_error("The DrawCtrl window class could not be registered.");
}

void CDrawCtrl::Redraw()
{
    if (m_hWnd == nullptr) return;
    GetClientRect(&m_ClientRect);
    Invalidate(FALSE);
}

void CDrawCtrl::OnPaint()
{
    CPaintDC dc(this);
    GetClientRect(&m_ClientRect);
    // A collapsed window has no aspect ratio to map to; there is nothing to show anyway.
    if (m_ClientRect.IsRectEmpty()) return;
    PrepareMapping(&dc);
    DrawBackground(&dc);
    DrawContent(&dc);
}

BOOL CDrawCtrl::OnEraseBkgnd(CDC*)
{
    return FALSE; // the paint covers the whole client area
}

void CDrawCtrl::PrepareMapping(CDC*) {}

void CDrawCtrl::DrawContent(CDC* pDC) { pDC->TextOut(5, 5, CString(L"Base draw")); }

CRect CDrawCtrl::LogicalClientRect(CDC* pDC) const
{
    CRect rect = m_ClientRect;
    pDC->DPtoLP(&rect);
    return rect;
}

void CDrawCtrl::DrawEdgeAround(CDC* pDC)
{
    CRect rect = LogicalClientRect(pDC);
    pDC->DrawEdge(&rect, m_EdgeStyle, BF_RECT);
}

void CDrawCtrl::DrawBackground(CDC* pDC)
{
    CBrush brush(m_BkColor);
    pDC->SetBkColor(m_BkColor);
    CRect rect = LogicalClientRect(pDC);
    pDC->FillRect(&rect, &brush);
    if (m_bDrawEdge) DrawEdgeAround(pDC);
}

void CDrawCtrl::DrawArrow(CDC* pDC, CPoint start, CPoint end, double headLength, double headHalfWidth)
{
    // The head opens back towards the start.
    const double angle = std::atan2(double(start.y - end.y), double(start.x - end.x));
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    pDC->MoveTo(start);
    pDC->LineTo(end);
    const POINT head[3] = {
        {end.x, end.y},
        {end.x + int(c * headLength - s * headHalfWidth), end.y + int(s * headLength + c * headHalfWidth)},
        {end.x + int(c * headLength + s * headHalfWidth), end.y + int(s * headLength - c * headHalfWidth)},
    };
    pDC->Polygon(head, 3);
}
