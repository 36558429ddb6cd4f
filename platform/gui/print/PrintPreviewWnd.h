// CPrintPreviewWnd: the window of a print preview, which shows the pages of a view's print job (each drawn
// when it is first shown), or of a PDF file, until it is closed, under the framework's preview bar: Print...,
// Next Page, Prev Page, One Page / Two Page, Zoom In, Zoom Out, Close and the page number. The pages are
// rendered on a worker: a page shows white (or its last rendering, scaled) until its rendering at the size
// shown comes.
#pragma once

#include "platform/gui/widgets/Controls.h"
#include "platform/gui/window/Wnd.h"

#include <memory>
#include <vector>

class CFrameWnd;

// The pages of a print job that a preview draws only when it shows them (its view's print state, kept for as
// long as the preview is open: the view's OnEndPrinting comes when this goes).
class CPreviewPages
{
public:
    virtual ~CPreviewPages() = default;
    // The printer DC the pages are drawn on, its pages recorded (qor::gui::StartRecordingPages).
    virtual HDC GetPrinterDC() const = 0;
    // The job's pages (its page count as its view's OnBeginPrinting left it); 0: nothing to show.
    virtual UINT GetPageCount() = 0;
    // Draws page n (1-based) between the DC's StartPage and EndPage; FALSE while the page is unfinished: it is
    // called again, for the rest, once the windows have painted.
    virtual BOOL DrawPage(UINT nPage) = 0;
};

class CPrintPreviewWnd : public CWnd
{
    DECLARE_DYNAMIC(CPrintPreviewWnd)
public:
    // Shows the pages of the file: over the whole client area of pOwner when it is a frame (the preview
    // takes the frame's place until it is closed, as in the framework; an earlier preview there closes),
    // else in a new window centred on the screen, owned by pOwner (which takes it along when it goes). The
    // window deletes the file and itself when it is closed. Print...
    // closes it and sends ID_FILE_PRINT to pPrintTarget (the view previewed). Null (and the file
    // deleted) when the file cannot be shown.
    static CPrintPreviewWnd* Open(LPCTSTR lpszPdfPath, LPCTSTR lpszTitle, CWnd* pOwner = nullptr,
                                  CWnd* pPrintTarget = nullptr);
    // The same for the pages of a print job, each drawn when it is shown (null, the pages gone, when there are
    // none or the window cannot be made).
    static CPrintPreviewWnd* Open(std::unique_ptr<CPreviewPages> pPages, LPCTSTR lpszTitle, CWnd* pOwner = nullptr,
                                  CWnd* pPrintTarget = nullptr);
    // Closes the previews that print to pView or stand in pOwner (a preview keeps its view's print state: a
    // view prints or is previewed again only once its preview has gone).
    static void ClosePreviews(CWnd* pView, CWnd* pOwner = nullptr);

    int GetPageCount() const;
    // The first page shown (1-based), the pages shown side by side (1 or 2) and the zoom (0: whole
    // pages in the window, 1: a page as wide as the window, 2: twice that).
    int GetCurrentPage() const { return m_nPage; }
    int GetPagesShown() const { return m_nPages; }
    int GetZoom() const { return m_nZoom; }
    // Where page n (1-based) is drawn in the client area (empty when it is not shown).
    CRect GetPageRect(int nPage) const;
    // Page n (1-based) is shown and was last painted from its rendering at the size it is shown at (not
    // white or a scaled earlier rendering while its rendering is on its way).
    bool IsPageRendered(int nPage) const;
    // The pages of a print job drawn so far (each when it was first shown, again when it had to be).
    int GetPagesDrawn() const { return m_nPagesDrawn; }
    // Workers that render pages now, for every preview of the process (a closed preview's render in flight
    // ends on its worker and is dropped).
    static int GetRenderingWorkers();

protected:
    CPrintPreviewWnd();
    ~CPrintPreviewWnd() override;
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnPaint();
    void OnDestroy();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnPreviewClose();
    void OnCloseClicked();
    void OnPreviewPrint();
    void OnNextPage();
    void OnPrevPage();
    void OnNumPage();
    void OnZoomIn();
    void OnZoomOut();
    LRESULT OnPageRendered(WPARAM wParam, LPARAM lParam);
    LRESULT OnRecordPages(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override;
    void FollowFrame(CFrameWnd* frame);
    DECLARE_MESSAGE_MAP()

private:
    struct Pages; // the document's page sizes and its pages rendered on a worker (toolkit side)
    static CPrintPreviewWnd* Show(CPrintPreviewWnd* wnd, LPCTSTR lpszTitle, CWnd* pOwner);
    void Layout(int cx, int cy);
    void ShowPages();       // buttons, page text, scroll bars and a repaint after a change
    CSize PageSize() const; // a shown page's size in window pixels
    CRect PageArea() const;
    void Scroll(int nBar, UINT nSBCode);
    std::unique_ptr<Pages> m_pPages;
    std::unique_ptr<CPreviewPages> m_pJob; // the job whose pages are drawn when shown (else a PDF file's)
    bool m_bRecordPosted = false;
    int m_nPagesDrawn = 0;
    CButton m_print, m_next, m_prev, m_numPage, m_zoomIn, m_zoomOut;
    CButton m_close; // IDCANCEL
    CStatic m_pageText;
    HWND m_hPrintTarget = nullptr;
    CString m_path;
    int m_nPage = 1, m_nPages = 1, m_nZoom = 0;
    CPoint m_scroll;             // scrolled by, window pixels
    std::vector<int> m_rendered; // the pages last painted from their rendering at the size shown
};
