// The start view of a case: the load model last selected in the element pane drawn to scale
// across the top, a picture at the bottom right and the usage instructions at the bottom left.
#pragma once

#include "platform/gui/Afx.h"

class CDrawLoadModelCtrl;

class CQORView : public CView
{
    DECLARE_DYNCREATE(CQORView)
public:
    CQORView();
    ~CQORView() override;

    CDrawLoadModelCtrl* GetDrawCtrl() const { return m_pDrawCtrl; }
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

protected:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnSize(UINT nType, int cx, int cy);
    void OnContextMenu(CWnd* pWnd, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    LRESULT OnElementSelected(WPARAM wParam, LPARAM lParam);
    void DrawInstructions(CDC* pDC);
    // Where the first instruction line starts on the screen (client y).
    int InstructionsTop(CDC* pDC);
    // Where the widest instruction line ends (client x).
    int InstructionsRight(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CDrawLoadModelCtrl* m_pDrawCtrl = nullptr;
};
