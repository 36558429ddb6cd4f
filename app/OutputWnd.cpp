// The output pane "Diagnostics".
#include "app/OutputWnd.h"

#include "res/Resource.h"

IMPLEMENT_DYNAMIC(COutputWnd, CDockablePane)

BEGIN_MESSAGE_MAP(COutputWnd, CDockablePane)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

int COutputWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockablePane::OnCreate(lpCreateStruct) == -1) return -1;
    const DWORD style = LBS_NOINTEGRALHEIGHT | WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL;
    if (!m_wndOutputList.Create(style, CRect(0, 0, 0, 0), this, IDC_OUTPUT_LIST)) return -1;
    UpdateFonts();
    m_wndOutputList.AddString(L"Program output information will be displayed here");
    return 0;
}

void COutputWnd::OnSize(UINT nType, int cx, int cy)
{
    CDockablePane::OnSize(nType, cx, cy);
    if (m_wndOutputList.m_hWnd) m_wndOutputList.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

void COutputWnd::UpdateFonts()
{
    if (m_wndOutputList.m_hWnd)
        m_wndOutputList.SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
}
