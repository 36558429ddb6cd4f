// Views: drawing a document, updates, and the print protocol.
#include "platform/gui/docview/View.h"

#include "platform/core/Paths.h"
#include "platform/core/Time.h"
#include "platform/gui/draw/Gdi.h"
#include "platform/gui/frame/Frame.h"
#include "platform/gui/print/PrintPreviewWnd.h"
#include "platform/gui/window/App.h"
#include "platform/gui/window/WndInternal.h"

#include <QtCore/QFile>
#include <QtCore/QStandardPaths>

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

void CView::OnDestroy()
{
    if (CFrameWnd* f = GetParentFrame(); f && f->GetActiveView() == this) f->SetActiveView(nullptr, FALSE);
    Default();
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

// The print protocol: prepare (dialog), begin, pages, end.
void RunPrintJob(CView* view, CPrintInfo& info)
{
    if (!view->OnPreparePrinting(&info)) return;
    HDC hdc = info.m_pPD->m_pd.hDC;
    if (!hdc) return;
    CDC dc;
    dc.Attach(hdc);
    info.m_pPD->m_pd.hDC = nullptr; // the DC is the job's now
    CString title = view->GetDocument() ? view->GetDocument()->GetTitle() : CString(L"QOR");
    DOCINFO di{};
    di.cbSize = sizeof(di);
    di.lpszDocName = title;
    view->OnBeginPrinting(&dc, &info);
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
    // The pages a slice of time at a time, the windows painting in between; a page that its view
    // draws in parts takes as many slices as it needs.
    bool ok = true, inPage = false;
    info.m_nCurPage = from;
    // A job that takes longer than a second says in the status bar how far it has come.
    auto* frame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    const DWORD began = ::GetTickCount();
    DWORD shown = 0;
    auto showProgress = [&] {
        const DWORD now = ::GetTickCount();
        if (!frame || !frame->GetSafeHwnd() || now - began < 1000 || (shown && now - shown < 250)) return;
        shown = now;
        CString text;
        if (to < 0xFFFF)
            text.Format(info.m_bPreview ? L"Preparing the preview: page %u of %u" : L"Printing page %u of %u",
                        info.m_nCurPage, to);
        else
            text.Format(info.m_bPreview ? L"Preparing the preview: page %u" : L"Printing page %u", info.m_nCurPage);
        frame->SetMessageText(text);
    };
    qor::gui::RunStepsOnWindowThread([&]() -> bool {
        const DWORD start = ::GetTickCount();
        showProgress();
        do {
            if (!inPage)
            {
                if (info.m_nCurPage > to) return true;
                view->OnPrepareDC(&dc, &info);
                if (!info.m_bContinuePrinting) return true;
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
            if (dc.EndPage() < 0)
            {
                ok = false;
                return true;
            }
            ++info.m_nCurPage;
        } while (::GetTickCount() - start < kPrintSliceMs);
        return false;
    });
    if (ok)
        dc.EndDoc();
    else
        dc.AbortDoc();
    view->OnEndPrinting(&dc, &info);
    dc.DeleteDC();
    if (shown && frame->GetSafeHwnd()) frame->ShowCommandPrompt(0); // "Ready" again
}

} // namespace

void CView::OnFilePrint()
{
    CPrintInfo info;
    const MSG* m = GetCurrentMessage();
    info.m_bDirect = m && m->message == WM_COMMAND && LOWORD(m->wParam) == ID_FILE_PRINT_DIRECT;
    RunPrintJob(this, info);
}

void CView::OnFilePrintPreview()
{
    // The pages go to a PDF file in this run's private temporary folder (nobody else can plant a name
    // or a link there), which the preview window shows (and deletes when it closes); each preview has
    // a file of its own, as several may be open.
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
    const CString previous = qor::gui::GetPrintToFile();
    qor::gui::SetPrintToFile(path);
    CPrintInfo info;
    info.m_bPreview = TRUE;
    RunPrintJob(this, info);
    qor::gui::SetPrintToFile(previous);
    if (!QFile::exists(qor::gui::ToQString(path))) return; // cancelled, failed, or nothing to print
    CDocument* doc = GetDocument();
    CPrintPreviewWnd::Open(path, doc ? doc->GetTitle() : CString(), GetTopLevelParent(), this);
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
