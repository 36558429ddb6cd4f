// The output pane's list: copying the log, clearing it, hiding the pane.
#include "app/OutputList.h"

#include "res/Resource.h"

IMPLEMENT_DYNAMIC(COutputList, CListBox)

BEGIN_MESSAGE_MAP(COutputList, CListBox)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_COMMAND(ID_VIEW_OUTPUT_PANE, OnViewOutput)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

void COutputList::OnContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!menu.LoadMenu(IDR_OUTPUT_POPUP)) return;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup) return;
    // The chosen command comes back to this list.
    popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    SetFocus();
}

CString COutputList::GetAllText() const
{
    CString all;
    for (int i = 0; i < GetCount(); ++i)
    {
        CString line;
        GetText(i, line);
        all += line;
        all += L"\r\n";
    }
    return all;
}

void COutputList::OnEditCopy() { qor::SetClipboardText(GetAllText()); }

void COutputList::OnEditClear() { ResetContent(); }

void COutputList::OnViewOutput()
{
    auto* pane = DYNAMIC_DOWNCAST(CDockablePane, GetParent());
    auto* frame = DYNAMIC_DOWNCAST(CMDIFrameWndEx, GetTopLevelParent());
    if (!pane || !frame) return;
    frame->SetFocus();
    frame->ShowPane(pane, FALSE, FALSE, FALSE);
    frame->RecalcLayout();
}
