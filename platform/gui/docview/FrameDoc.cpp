// The frames' document side: the active view and document, the first update of a frame's views,
// titles from the document, closing the document with its last frame, command routing through the
// active view, and New Window. The rest of the frames is in Frame.cpp.
#include "platform/gui/docview/Document.h"
#include "platform/gui/docview/View.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/frame/FrameInternal.h"
#include "platform/gui/window/App.h"

#include <algorithm>
#include <vector>

using namespace qor::gui;

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL)
{
    CView* old = m_pViewActive;
    if (old == pViewNew) return;
    m_pViewActive = pViewNew;
    if (old) old->OnActivateView(FALSE, pViewNew, old);
    if (pViewNew) pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* v = GetActiveView();
    return v ? v->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible)
{
    if (!GetActiveView())
    {
        if (auto* v = DYNAMIC_DOWNCAST(CView, GetDlgItem(AFX_IDW_PANE_FIRST))) SetActiveView(v, FALSE);
    }
    if (bMakeVisible)
    {
        // Every view of this frame gets its initial update.
        if (pDoc)
        {
            POSITION pos = pDoc->GetFirstViewPosition();
            std::vector<CView*> mine;
            while (pos)
                if (CView* v = pDoc->GetNextView(pos); v && v->GetParentFrame() == this) mine.push_back(v);
            for (CView* v : mine) v->OnInitialUpdate();
        }
        else if (CView* v = GetActiveView())
        {
            v->OnInitialUpdate();
        }
        ActivateFrame();
    }
    if (pDoc) pDoc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) return;
    CDocument* doc = GetActiveDocument();
    CString t = m_strTitle;
    if (doc)
    {
        if (GetStyle() & FWS_PREFIXTITLE)
            t = doc->GetTitle() + L" - " + m_strTitle;
        else
            t = m_strTitle + L" - " + doc->GetTitle();
    }
    SetWindowText(t);
}

void CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this)
    {
        if (!app->SaveAllModified()) return;
        app->CloseAllDocuments(FALSE);
        DestroyWindow();
        return;
    }
    if (doc && !doc->CanCloseFrame(this)) return;
    if (doc)
    {
        // The last frame of the document closes the document.
        int frames = 0;
        POSITION pos = doc->GetFirstViewPosition();
        std::vector<CFrameWnd*> seen;
        while (pos)
        {
            CView* v = doc->GetNextView(pos);
            CFrameWnd* f = v ? v->GetParentFrame() : nullptr;
            if (f && std::find(seen.begin(), seen.end(), f) == seen.end())
            {
                seen.push_back(f);
                ++frames;
            }
        }
        if (frames <= 1)
        {
            doc->OnCloseDocument();
            return;
        }
        doc->PreCloseFrame(this);
    }
    DestroyWindow();
}

void CFrameWnd::OnSetFocus(CWnd*)
{
    if (m_pViewActive && m_pViewActive->m_hWnd) m_pViewActive->SetFocus();
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CView* v = GetActiveView(); v && v->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // A child frame's route continues in its main frame, which ends with the application.
    if (GetStyle() & WS_CHILD) return FALSE;
    if (CWinApp* app = AfxGetApp(); app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return FALSE;
}

// Another window on the active window's document, made by the document's template.
void CMDIFrameWnd::OnWindowNew()
{
    CMDIChildWnd* active = MDIGetActive();
    CDocument* doc = active ? active->GetActiveDocument() : nullptr;
    CDocTemplate* tmpl = doc ? doc->GetDocTemplate() : nullptr;
    if (!tmpl) return;
    CFrameWnd* frame = tmpl->CreateNewFrame(doc, active);
    if (!frame) return;
    tmpl->InitialUpdateFrame(frame, doc);
}

void CMDIFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE) || !bAddToTitle) return;
    CMDIChildWnd* c = MDIGetActive();
    CDocument* doc = c ? c->GetActiveDocument() : nullptr;
    CString t = m_strTitle;
    if (doc)
    {
        if (GetStyle() & FWS_PREFIXTITLE)
            t = doc->GetTitle() + L" - " + m_strTitle;
        else
            t = m_strTitle + L" - " + doc->GetTitle();
    }
    SetWindowText(t);
}

void CMDIChildWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if ((GetStyle() & FWS_ADDTOTITLE) && bAddToTitle)
    {
        if (CDocument* doc = GetActiveDocument())
        {
            CString title = doc->GetTitle();
            if (m_nWindow > 0) title.AppendFormat(L":%d", m_nWindow);
            SetWindowText(title);
        }
    }
    if (m_pMDIFrame) m_pMDIFrame->OnUpdateFrameTitle(TRUE);
}
