// Views: CView (drawing a document, its updates, and the print protocol driven by
// OnFilePrint) and a minimal CScrollView.
#pragma once

#include "platform/gui/docview/Document.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/print/Print.h"
#include "platform/gui/window/Wnd.h"

class CDC;
class CFrameWnd;

class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {}

    // ---- Printing ------------------------------------------------------------------------
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
    // The print dialog (none with pInfo->m_bDirect: the default printer); TRUE with a DC.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo) { OnDraw(pDC); }
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnEndPrintPreview(CDC* pDC, CPrintInfo* pInfo, POINT point, CView* pView) {}

    // View, then document (and its template).
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    CDocument* m_pDocument = nullptr;

    void OnFilePrint();
    // Print preview: the same protocol printed to a temporary PDF (no preview window yet).
    void OnFilePrintPreview();

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    DECLARE_MESSAGE_MAP()
};

class CScrollView : public CView
{
    DECLARE_DYNAMIC(CScrollView)
public:
    CScrollView() = default;
    static const SIZE sizeDefault;
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CSize GetTotalSize() const { return m_totalLog; }
    CPoint GetScrollPosition() const;
    void ScrollToPosition(POINT pt);
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

protected:
    void UpdateBars();
    void OnSize(UINT nType, int cx, int cy);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    int m_nMapMode = MM_TEXT;
    CSize m_totalLog{0, 0};
    CSize m_pageDev{0, 0};
    CSize m_lineDev{0, 0};

    DECLARE_MESSAGE_MAP()
};
