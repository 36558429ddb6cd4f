// CPdfViewCtrl: a control that shows a PDF file (pages one under the other, what is printed on them fitted
// to the width), over the toolkit's PDF module. Each page in view is rendered at the screen's device pixels
// when it is drawn, so it is sharp at once at every scale.
#pragma once

#include "platform/gui/window/Wnd.h"

#define PDF_VIEW_CLASS L"QorPdfView"
// lParam: the path (LPCTSTR); returns TRUE when the file was loaded and shows.
#define PDFM_LOADFILE (WM_USER + 0x501)
// Returns the number of pages of the file shown (0 when none).
#define PDFM_GETPAGECOUNT (WM_USER + 0x502)
// wParam: a page (0-based); lParam: a RECT* that gets where the page is drawn now, in client pixels (it may
// lie outside the client area). FALSE when there is no such page.
#define PDFM_GETPAGERECT (WM_USER + 0x503)

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
