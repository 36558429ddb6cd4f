// The frames' document side: what a frame asks of its views and their documents (IFrameDocuments,
// frame/Frame.h) — activation, the first update of a frame's views, titles, closing the document with
// its last frame, and New Window through the document's template.
#include "platform/gui/docview/Document.h"
#include "platform/gui/docview/View.h"
#include "platform/gui/frame/Frame.h"

#include <algorithm>
#include <vector>

namespace {

class CFrameDocuments : public IFrameDocuments
{
public:
    CWnd* WndOfView(CView* pView) override { return pView; }
    CView* ViewOfWnd(CWnd* pWnd) override { return DYNAMIC_DOWNCAST(CView, pWnd); }
    CDocument* DocumentOfView(CView* pView) override { return pView ? pView->GetDocument() : nullptr; }

    void ViewActivated(CView* pOld, CView* pNew) override
    {
        if (pOld) pOld->OnActivateView(FALSE, pNew, pOld);
        if (pNew) pNew->OnActivateView(TRUE, pNew, pOld);
    }

    void InitialUpdateViews(CFrameWnd* pFrame, CDocument* pDoc) override
    {
        // Every view of this frame gets its initial update.
        if (pDoc)
        {
            POSITION pos = pDoc->GetFirstViewPosition();
            std::vector<CView*> mine;
            while (pos)
                if (CView* v = pDoc->GetNextView(pos); v && v->GetParentFrame() == pFrame) mine.push_back(v);
            for (CView* v : mine) v->OnInitialUpdate();
        }
        else if (CView* v = pFrame->GetActiveView())
        {
            v->OnInitialUpdate();
        }
    }

    void UpdateFrameCounts(CDocument* pDoc) override { pDoc->UpdateFrameCounts(); }
    CString DocumentTitle(CDocument* pDoc) override { return pDoc->GetTitle(); }

    BOOL PrepareFrameClose(CFrameWnd* pFrame, CDocument* pDoc) override
    {
        if (!pDoc->CanCloseFrame(pFrame)) return FALSE;
        // The last frame of the document closes the document.
        int frames = 0;
        POSITION pos = pDoc->GetFirstViewPosition();
        std::vector<CFrameWnd*> seen;
        while (pos)
        {
            CView* v = pDoc->GetNextView(pos);
            CFrameWnd* f = v ? v->GetParentFrame() : nullptr;
            if (f && std::find(seen.begin(), seen.end(), f) == seen.end())
            {
                seen.push_back(f);
                ++frames;
            }
        }
        if (frames <= 1)
        {
            pDoc->OnCloseDocument();
            return FALSE;
        }
        pDoc->PreCloseFrame(pFrame);
        return TRUE;
    }

    void OpenNewWindow(CDocument* pDoc, CFrameWnd* pOther) override
    {
        CDocTemplate* tmpl = pDoc->GetDocTemplate();
        if (!tmpl) return;
        CFrameWnd* frame = tmpl->CreateNewFrame(pDoc, pOther);
        if (!frame) return;
        tmpl->InitialUpdateFrame(frame, pDoc);
    }
};

CFrameDocuments g_frameDocuments;
const bool g_installedAtStart = (qor::gui::SetFrameDocuments(&g_frameDocuments), true);

} // namespace
