// CPdfViewCtrl: a control that shows a PDF file (pages one under the other, fitted to the width), over
// the toolkit's PDF module.
#pragma once

#include "platform/gui/Wnd.h"

#define PDF_VIEW_CLASS L"QorPdfView"
// lParam: the path (LPCTSTR); returns TRUE when the file was loaded and shows.
#define PDFM_LOADFILE (WM_USER + 0x501)
// Returns the number of pages of the file shown (0 when none).
#define PDFM_GETPAGECOUNT (WM_USER + 0x502)

class CPdfViewCtrl : public CWnd
{
    DECLARE_DYNAMIC(CPdfViewCtrl)
public:
    CPdfViewCtrl() = default;
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID, LPCTSTR lpszWindowName = nullptr);
    // Loads and shows a PDF file; FALSE (the view keeps what it showed) when it cannot be read.
    BOOL LoadFile(LPCTSTR lpszPath);
    int GetPageCount() const;
};
