// The child window of the case windows.
#include "app/ChildFrame.h"

#include "app/QORDoc.h"
#include "res/Resource.h"

IMPLEMENT_DYNCREATE(CChildFrame, CMDIChildWndEx)

BEGIN_MESSAGE_MAP(CChildFrame, CMDIChildWndEx)
    ON_WM_CLOSE()
    ON_COMMAND(ID_FILE_SAVE_IMAGE, OnSaveImage)
    ON_COMMAND(ID_FILE_SAVE_GRID, OnSaveGrid)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_GRID, OnUpdateSaveGrid)
END_MESSAGE_MAP()

BOOL CChildFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    // Each result view sets its own caption.
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    return CMDIChildWndEx::PreCreateWindow(cs);
}

void CChildFrame::OnClose()
{
    if (CQORDoc* doc = CQORDoc::GetActiveDoc(); doc && doc->m_nViewCount > 0) --doc->m_nViewCount;
    CMDIChildWndEx::OnClose();
}

void CChildFrame::OnSaveImage() { CQORDoc::NotYetImplemented(); }

void CChildFrame::OnSaveGrid() { CQORDoc::NotYetImplemented(); }

void CChildFrame::OnUpdateSaveGrid(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
