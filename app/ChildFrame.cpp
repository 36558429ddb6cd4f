// The child window of the case windows.
#include "app/ChildFrame.h"

#include "app/QORDoc.h"
#include "app/WindowToBMP.h"
#include "res/Resource.h"
#include "ui/views/GridView.h"
#include "ui/views/PlotView.h"
#include "ui/views/QORView.h"

#include <algorithm>

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

namespace {

// Which of the case's own windows (Window > New Window) a frame is, 0 while it is the only one shown; the
// result windows are not counted, they carry captions of their own.
int CaseWindowNumber(CDocument* doc, CFrameWnd* frame)
{
    int shown = 0, mine = 0;
    for (POSITION pos = doc->GetFirstViewPosition(); pos;)
    {
        CView* view = doc->GetNextView(pos);
        if (!view->IsKindOf(RUNTIME_CLASS(CQORView)) || !view->m_hWnd || !view->IsWindowVisible()) continue;
        ++shown;
        if (view->GetParentFrame() == frame) mine = shown;
    }
    return shown > 1 ? mine : 0;
}

} // namespace

void CChildFrame::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    // The case's own window follows the case's name (Save As renames it), numbered as the framework
    // numbers a document's windows when there are two or more; result views keep theirs.
    CView* view = GetActiveView();
    CDocument* doc = GetActiveDocument();
    if (view && doc && view->IsKindOf(RUNTIME_CLASS(CQORView)))
    {
        CString title = doc->GetTitle();
        if (const int number = CaseWindowNumber(doc, this)) title.AppendFormat(L":%d", number);
        SetWindowText(title);
    }
    CMDIChildWndEx::OnUpdateFrameTitle(bAddToTitle);
}

void CChildFrame::OnClose()
{
    // The next result window follows the highest number still open: a lower count would hand the
    // number of a window still open to the next one, and with none left the numbers start again.
    CQORDoc* doc = CQORDoc::GetActiveDoc();
    if (doc && m_nResultNumber > 0)
    {
        int highest = 0;
        for (POSITION pos = doc->GetFirstViewPosition(); pos;)
        {
            auto* frame = DYNAMIC_DOWNCAST(CChildFrame, doc->GetNextView(pos)->GetParentFrame());
            if (frame && frame != this) highest = std::max(highest, frame->m_nResultNumber);
        }
        doc->m_nViewCount = std::min(doc->m_nViewCount, highest);
    }
    CMDIChildWndEx::OnClose();
}

namespace {

CView* ActiveFrameView()
{
    auto* main = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    CFrameWnd* active = main ? main->GetActiveFrame() : nullptr;
    return active ? active->GetActiveView() : nullptr;
}

} // namespace

void CChildFrame::OnSaveImage()
{
    CFileDialog dlg(FALSE, L"bmp", nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                    L"Bitmap files (*.bmp) |*.bmp||", this);
    if (dlg.DoModal() != IDOK) return;
    CString path = dlg.GetPathName();
    // A plot whose curves are still coming is saved whole.
    if (auto* plot = DYNAMIC_DOWNCAST(CPlotView, GetActiveView()))
        qor::gui::RunStepsOnWindowThread([plot] { return plot->DrawSlice(); });
    // The dialog leaves no trace in the picture.
    UpdateWindow();
    CWindowToBMP bmp;
    if (bmp.SaveWindow(path, this))
        MessageBoxW(m_hWnd, L"Image succesfully saved.", L"QOR", MB_OK | MB_ICONINFORMATION);
    else
        MessageBoxW(m_hWnd, L"Image saving failed", L"QOR", MB_OK | MB_ICONERROR);
}

void CChildFrame::OnSaveGrid()
{
    CView* view = ActiveFrameView();
    if (!view) return;
    CFileDialog dlg(FALSE, L"csv", nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST,
                    L"CSV files (*.csv) |*.csv||", this);
    if (dlg.DoModal() != IDOK) return;
    CString path = dlg.GetPathName();
    UpdateWindow();
    auto* gridView = DYNAMIC_DOWNCAST(CGridView, view);
    CGridCtrl* grid = gridView ? gridView->GetGrid() : nullptr;
    if (grid && grid->Save(path))
        MessageBoxW(m_hWnd, L"Grid succesfully saved.", L"QOR", MB_OK | MB_ICONINFORMATION);
    else
        MessageBoxW(m_hWnd, L"Grid saving failed", L"QOR", MB_OK | MB_ICONERROR);
}

void CChildFrame::OnUpdateSaveGrid(CCmdUI* pCmdUI)
{
    CView* view = ActiveFrameView();
    pCmdUI->Enable(view && view->IsKindOf(RUNTIME_CLASS(CGridView)));
}
