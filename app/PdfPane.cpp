// The help pane.
#include "app/PdfPane.h"

#include "res/Resource.h"

IMPLEMENT_DYNAMIC(CPdfPane, CDockablePane)

BEGIN_MESSAGE_MAP(CPdfPane, CDockablePane)
ON_WM_CREATE()
ON_WM_SIZE()
ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
END_MESSAGE_MAP()

int CPdfPane::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDockablePane::OnCreate(lpCreateStruct) == -1) return -1;
    if (!m_wndViewer.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, IDC_PDF_VIEWER, L"AcrobatWnd"))
    {
        AfxMessageBox(L"Failed to create Acrobat window", MB_OK | MB_ICONWARNING);
        return -1;
    }
    return 0;
}

void CPdfPane::OnSize(UINT nType, int cx, int cy)
{
    CDockablePane::OnSize(nType, cx, cy);
    if (m_wndViewer.m_hWnd) m_wndViewer.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOACTIVATE | SWP_NOZORDER);
}

BOOL CPdfPane::LoadFile(LPCTSTR lpszPath) { return m_wndViewer.LoadFile(lpszPath); }

void CPdfPane::OnFileOpen()
{
    CFileDialog dlg(TRUE, nullptr, nullptr,
                    OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_DONTADDTORECENT,
                    L"Acrobat Files (*.pdf)|*.pdf||", this);
    dlg.m_strTitle = L"Please Select pdf File";
    if (dlg.DoModal() != IDOK) return;
    CString path = dlg.GetPathName();
    if (path.GetLength() >= 4 && path.Right(4).CompareNoCase(L".pdf") == 0) m_wndViewer.LoadFile(path);
}
