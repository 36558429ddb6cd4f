// The start view of a case.
#include "ui/views/QORView.h"

#include "app/QORDoc.h"

IMPLEMENT_DYNCREATE(CQORView, CView)

BEGIN_MESSAGE_MAP(CQORView, CView)
END_MESSAGE_MAP()

CQORDoc* CQORView::GetDocument() const { return DYNAMIC_DOWNCAST(CQORDoc, m_pDocument); }

void CQORView::OnInitialUpdate()
{
    CView::OnInitialUpdate();
    if (CFrameWnd* frame = GetParentFrame(); frame && GetDocument())
        frame->SetWindowText(GetDocument()->GetTitle());
}

void CQORView::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(rc, GetSysColor(COLOR_WINDOW));
}
