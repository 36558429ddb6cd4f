// CPrintPreviewWnd: the window of a print preview, which shows the pages a preview job wrote to a
// PDF file until it is closed.
#pragma once

#include "platform/gui/Controls.h"
#include "platform/gui/PdfView.h"
#include "platform/gui/Wnd.h"

class CPrintPreviewWnd : public CWnd
{
    DECLARE_DYNAMIC(CPrintPreviewWnd)
public:
    // Shows the pages of the file in a new window centred on the screen, owned by pOwner (which takes
    // it along when it goes); the window deletes the file and itself when it is closed. Null (and the
    // file deleted) when the file cannot be shown.
    static CPrintPreviewWnd* Open(LPCTSTR lpszPdfPath, LPCTSTR lpszTitle, CWnd* pOwner = nullptr);

    CPdfViewCtrl& GetPages() { return m_pages; }

protected:
    CPrintPreviewWnd() = default;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnPreviewClose();
    void OnCloseClicked();
    void PostNcDestroy() override;
    DECLARE_MESSAGE_MAP()

private:
    void Layout(int cx, int cy);
    CPdfViewCtrl m_pages;
    CButton m_close; // IDCANCEL, in a bar below the pages
    CString m_path;
};
