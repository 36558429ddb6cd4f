// Views: drawing a document, updates, and the print protocol.
#include "platform/gui/docview/View.h"

#include "platform/core/Paths.h"
#include "platform/core/Time.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/print/PrintInternal.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/gui/print/PrintingDialog.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnFilePrintPreview)
END_MESSAGE_MAP()

CView::CView() = default;
CView::~CView()
{
    if (m_pDocument) m_pDocument->RemoveView(this);
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1) return -1;
    auto* ctx = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (ctx && ctx->m_pCurrentDoc) ctx->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::PostNcDestroy()
{
    // The view leaves its document (which may close with its last view), then goes.
    if (m_pDocument) m_pDocument->RemoveView(this);
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int r = static_cast<int>(Default());
    if (CFrameWnd* f = GetParentFrame())
    {
        f->SetActiveView(this);
        if (auto* child = DYNAMIC_DOWNCAST(CMDIChildWnd, f)) child->MDIActivate();
    }
    return r;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    // Printing ends when the page count is unknown and the first page has been printed.
    if (pInfo && pInfo->GetMaxPage() == 0xFFFF) pInfo->m_bContinuePrinting = pInfo->m_nCurPage == 1;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CPrintDialog* dlg = pInfo->m_pPD;
    if (dlg->m_pd.nMinPage > dlg->m_pd.nMaxPage) dlg->m_pd.nMaxPage = dlg->m_pd.nMinPage;
    if (pInfo->m_bDirect || pInfo->m_bPreview)
    {
        if (!dlg->GetDefaults()) return FALSE;
    }
    else
    {
        dlg->m_pd.nFromPage = dlg->m_pd.nMinPage;
        dlg->m_pd.nToPage = dlg->m_pd.nMaxPage;
        if (dlg->DoModal() != IDOK) return FALSE;
    }
    if (!dlg->m_pd.hDC) dlg->CreatePrinterDC();
    return dlg->m_pd.hDC != nullptr;
}

namespace {

// Pages printed in one go on the window thread for about this long at most.
constexpr DWORD kPrintSliceMs = 40;

// One call of a page's printing (after the view's OnPrepareDC for it): the page begun (StartPage) when it is
// not, then OnPrint. True when the page has ended (EndPage) or cannot be printed (ok false); false when the view
// drew only part of it and is to be called again for the rest.
bool PrintPageStep(CView* view, CDC& dc, CPrintInfo& info, bool& inPage, bool& ok)
{
    if (!inPage)
    {
        if (dc.StartPage() < 0)
        {
            ok = false;
            return true;
        }
        inPage = true;
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        dc.DPtoLP(&info.m_rectDraw);
    }
    info.m_bPageUnfinished = FALSE;
    view->OnPrint(&dc, &info);
    if (info.m_bPageUnfinished) return false;
    inPage = false;
    ok = dc.EndPage() >= 0;
    return true;
}

// The view's print protocol up to its pages: OnPreparePrinting (the print dialog, or the default printer),
// then OnBeginPrinting on the printer DC, which dc takes. False (and no DC) when there is nothing to print on.
bool BeginPrinting(CView* view, CPrintInfo& info, CDC& dc)
{
    if (!view->OnPreparePrinting(&info)) return false;
    HDC hdc = info.m_pPD->m_pd.hDC;
    if (!hdc) return false;
    dc.Attach(hdc);
    info.m_pPD->m_pd.hDC = nullptr; // the DC is the job's now
    view->OnBeginPrinting(&dc, &info);
    return true;
}

CString DocumentTitle(CView* view) { return view->GetDocument() ? view->GetDocument()->GetTitle() : CString(L"QOR"); }

// The print protocol: prepare (dialog), begin, pages, end; the printing dialog stands meanwhile, and its
// Cancel stops the job between two pages (an aborted job leaves no file, and an older one of that name as it
// was).
void RunPrintJob(CView* view, CPrintInfo& info)
{
    CDC dc;
    if (!BeginPrinting(view, info, dc)) return;
    const CString title = DocumentTitle(view);
    DOCINFO di{};
    di.cbSize = sizeof(di);
    di.lpszDocName = title;
    if (dc.StartDoc(&di) == SP_ERROR)
    {
        view->OnEndPrinting(&dc, &info);
        dc.DeleteDC();
        return;
    }
    UINT from = info.GetFromPage() ? info.GetFromPage() : info.GetMinPage();
    UINT to = info.GetToPage() ? info.GetToPage() : info.GetMaxPage();
    if (!info.m_pPD->PrintRange())
    {
        from = info.GetMinPage();
        to = info.GetMaxPage();
    }
    if (from == 0) from = 1;
    CPrintingDialog printing(view->GetTopLevelParent());
    printing.Create(title, info.m_pPD->GetDeviceName());
    // The pages a slice of time at a time, the windows painting in between; a page that its view
    // draws in parts takes as many slices as it needs (a job cancelled meanwhile stops there).
    bool ok = true, inPage = false;
    info.m_nCurPage = from;
    qor::gui::RunStepsTakingModalInput([&]() -> bool {
        const DWORD start = ::GetTickCount();
        do {
            if (printing.IsCancelled()) return true;
            if (!inPage)
            {
                if (info.m_nCurPage > to) return true;
                printing.SetPage(info.m_nCurPage, to < 0xFFFF ? to : 0);
                view->OnPrepareDC(&dc, &info);
                if (!info.m_bContinuePrinting) return true;
            }
            if (!PrintPageStep(view, dc, info, inPage, ok)) return false;
            if (!ok) return true;
            ++info.m_nCurPage;
        } while (::GetTickCount() - start < kPrintSliceMs);
        return false;
    });
    printing.DestroyWindow();
    if (ok && !printing.IsCancelled())
        dc.EndDoc();
    else
        dc.AbortDoc();
    view->OnEndPrinting(&dc, &info);
    dc.DeleteDC();
}

// A preview's pages: the view's print state (its print information and the printer's DC) kept while the
// preview is open, each page drawn when the preview shows it; the view's printing ends when the preview goes,
// or the view does.
class ViewPreviewPages final : public CPreviewPages
{
public:
    explicit ViewPreviewPages(CView* view) : m_view(view), m_hView(view->GetSafeHwnd()) { m_info.m_bPreview = TRUE; }

    ~ViewPreviewPages() override
    {
        if (m_begun && ::IsWindow(m_hView)) m_view->OnEndPrinting(&m_dc, &m_info);
        if (m_dc.GetSafeHdc()) m_dc.DeleteDC();
    }

    // The preview prints on a PDF printer of the program's page (never begun: its file is never made), so that
    // it shows what a PDF printed from it shows.
    bool Begin(const CString& pdfPath)
    {
        const CString previous = qor::gui::GetPrintToFile();
        qor::gui::SetPrintToFile(pdfPath);
        m_begun = BeginPrinting(m_view, m_info, m_dc);
        qor::gui::SetPrintToFile(previous);
        return m_begun && qor::gui::StartRecordingPages(m_dc.GetSafeHdc());
    }

    HDC GetPrinterDC() const override { return m_dc.GetSafeHdc(); }

    UINT GetPageCount() override
    {
        if (m_count) return m_count;
        const UINT first = std::max(1u, m_info.GetMinPage());
        if (m_info.GetMaxPage() != 0xFFFF)
            return m_count = m_info.GetMaxPage() >= first ? m_info.GetMaxPage() - first + 1 : 0;
        // Not known beforehand: as many as the view's OnPrepareDC goes on to (a few, as a rule).
        constexpr UINT kMostProbed = 1000;
        UINT n = 0;
        while (n < kMostProbed && ::IsWindow(m_hView))
        {
            m_info.m_nCurPage = first + n;
            m_info.m_bContinuePrinting = TRUE;
            m_view->OnPrepareDC(&m_dc, &m_info);
            if (!m_info.m_bContinuePrinting) break;
            ++n;
        }
        return m_count = n;
    }

    BOOL DrawPage(UINT nPage) override
    {
        if (!::IsWindow(m_hView)) return TRUE; // the view has gone: the page stays white
        if (!m_inPage)
        {
            m_info.m_nCurPage = std::max(1u, m_info.GetMinPage()) + nPage - 1;
            m_info.m_bContinuePrinting = TRUE;
            m_view->OnPrepareDC(&m_dc, &m_info);
        }
        bool ok = true;
        return PrintPageStep(m_view, m_dc, m_info, m_inPage, ok);
    }

private:
    CView* m_view;
    HWND m_hView;
    CPrintInfo m_info;
    CDC m_dc;
    bool m_begun = false, m_inPage = false;
    UINT m_count = 0;
};

} // namespace

void CView::OnFilePrint()
{
    CPrintPreviewWnd::ClosePreviews(this); // its print state is the preview's until then
    CPrintInfo info;
    const MSG* m = GetCurrentMessage();
    info.m_bDirect = m && m->message == WM_COMMAND && LOWORD(m->wParam) == ID_FILE_PRINT_DIRECT;
    RunPrintJob(this, info);
}

void CView::OnFilePrintPreview()
{
    // The pages are drawn as the preview shows them, on a printer whose file would be in this run's private
    // temporary folder (never made: nobody else could plant a name or a link there either).
    static int previews = 0;
    const CString folder = qor::PrivateTempFolder();
    if (folder.IsEmpty())
    {
        const CString reason = CString::FromUtf8(std::strerror(errno)); // before the base is looked up again
        AfxMessageBox(L"Problem printing: " + qor::PrivateTempBase() + L": " + reason, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CString path;
    path.Format(L"%s/preview-%d.pdf", static_cast<LPCTSTR>(folder), ++previews);
    // One preview at a time in the frame, and one of this view: an earlier one ends its printing first.
    CWnd* owner = GetTopLevelParent();
    CPrintPreviewWnd::ClosePreviews(this, owner);
    auto pages = std::make_unique<ViewPreviewPages>(this);
    if (!pages->Begin(path)) return; // cancelled, or nowhere to print
    CPrintPreviewWnd::Open(std::move(pages), DocumentTitle(this), owner, this);
}

void CView::OnDestroy()
{
    CPrintPreviewWnd::ClosePreviews(this); // while the view can still end its printing
    if (CFrameWnd* f = GetParentFrame(); f && f->GetActiveView() == this) f->SetActiveView(nullptr, FALSE);
    Default();
}

// ---- CScrollView ----------------------------------------------------------------------------------

const SIZE CScrollView::sizeDefault = {0, 0};

BEGIN_MESSAGE_MAP(CScrollView, CView)
ON_WM_SIZE()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalLog = CSize(sizeTotal.cx, sizeTotal.cy);
    m_pageDev = CSize(sizePage.cx ? sizePage.cx : sizeTotal.cx / 10, sizePage.cy ? sizePage.cy : sizeTotal.cy / 10);
    m_lineDev = CSize(sizeLine.cx ? sizeLine.cx : m_pageDev.cx / 10, sizeLine.cy ? sizeLine.cy : m_pageDev.cy / 10);
    UpdateBars();
}

void CScrollView::UpdateBars()
{
    if (!m_hWnd) return;
    CRect r;
    GetClientRect(&r);
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_RANGE | SIF_PAGE;
    si.nMin = 0;
    si.nMax = m_totalLog.cx - 1;
    si.nPage = static_cast<UINT>(std::max(r.Width(), 0));
    SetScrollInfo(SB_HORZ, &si, TRUE);
    si.nMax = m_totalLog.cy - 1;
    si.nPage = static_cast<UINT>(std::max(r.Height(), 0));
    SetScrollInfo(SB_VERT, &si, TRUE);
}

CPoint CScrollView::GetScrollPosition() const { return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)); }

void CScrollView::ScrollToPosition(POINT pt)
{
    SetScrollPos(SB_HORZ, pt.x);
    SetScrollPos(SB_VERT, pt.y);
    Invalidate();
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (pDC && !pInfo)
    {
        CPoint p = GetScrollPosition();
        pDC->SetViewportOrg(-p.x, -p.y);
    }
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    UpdateBars();
}

namespace {
int NewPos(CWnd* w, int nBar, UINT code, UINT pos, int line, int page)
{
    int cur = w->GetScrollPos(nBar);
    switch (code)
    {
    case SB_LINEUP: return cur - line;
    case SB_LINEDOWN: return cur + line;
    case SB_PAGEUP: return cur - page;
    case SB_PAGEDOWN: return cur + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: return static_cast<int>(pos);
    case SB_TOP: return 0;
    case SB_BOTTOM: return w->GetScrollLimit(nBar);
    default: return cur;
    }
}
} // namespace

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    SetScrollPos(SB_HORZ, NewPos(this, SB_HORZ, nSBCode, nPos, std::max(m_lineDev.cx, 1), std::max(m_pageDev.cx, 1)));
    Invalidate();
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
    SetScrollPos(SB_VERT, NewPos(this, SB_VERT, nSBCode, nPos, std::max(m_lineDev.cy, 1), std::max(m_pageDev.cy, 1)));
    Invalidate();
}
