// The grid's in-place text editor.
#include "controls/grid/InPlaceEdit.h"

#include "controls/grid/GridCtrl.h"

namespace {
// One EndEdit at a time for all editors: reporting may start another edit (Tab), whose
// focus change would otherwise end the editor that is still reporting.
BOOL g_bEndingEdit = FALSE;
} // namespace

namespace qor::grid {

int TextWidth(CFont* pFont, const CString& text)
{
    CClientDC dc(nullptr);
    if (!dc.GetSafeHdc()) return 0;
    CFont* pOld = pFont ? dc.SelectObject(pFont) : nullptr;
    const int cx = dc.GetTextExtent(text).cx;
    if (pOld) dc.SelectObject(pOld);
    return cx;
}

void NotifyEndLabelEdit(CWnd* pEditor, int nRow, int nCol, UINT nLastChar)
{
    CString str;
    pEditor->GetWindowText(str);

    GV_DISPINFO dispinfo;
    dispinfo.hdr.hwndFrom = pEditor->GetSafeHwnd();
    dispinfo.hdr.idFrom = static_cast<UINT_PTR>(pEditor->GetDlgCtrlID());
    dispinfo.hdr.code = GVN_ENDLABELEDIT;
    dispinfo.item.mask = GVIF_TEXT | GVIF_PARAM;
    dispinfo.item.row = nRow;
    dispinfo.item.col = nCol;
    dispinfo.item.strText = str;
    dispinfo.item.lParam = static_cast<LPARAM>(nLastChar);

    const HWND hSelf = pEditor->GetSafeHwnd();
    CWnd* pOwner = pEditor->GetOwner();
    if (!pOwner) pOwner = pEditor->GetParent();
    if (pOwner)
        pOwner->SendMessage(WM_NOTIFY, static_cast<WPARAM>(pEditor->GetDlgCtrlID()),
                            reinterpret_cast<LPARAM>(&dispinfo));

    // Close the window (the editor deletes itself when it is gone).
    if (::IsWindow(hSelf)) pEditor->PostMessage(WM_CLOSE, 0, 0);
}

} // namespace qor::grid

BEGIN_MESSAGE_MAP(CInPlaceEdit, CEdit)
ON_WM_KILLFOCUS()
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceEdit::CInPlaceEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn,
                           CString sInitText, UINT nFirstChar)
    : m_Rect(rect), m_nRow(nRow), m_nColumn(nColumn), m_sInitText(sInitText), m_bExitOnArrows(nFirstChar != VK_LBUTTON)
{
    const DWORD dwEditStyle = WS_BORDER | WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | dwStyle;
    if (!pParent || !Create(dwEditStyle, rect, pParent, nID)) return;

    SetFont(pParent->GetFont());
    SetWindowText(sInitText);
    SetFocus();

    switch (nFirstChar)
    {
    case VK_LBUTTON:
    case VK_RETURN: SetSel(m_sInitText.GetLength(), -1); return;
    case VK_BACK: SetSel(m_sInitText.GetLength(), -1); break;
    case VK_TAB:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: SetSel(0, -1); return;
    default: SetSel(0, -1); break;
    }
    // The starting character is typed as the user would have: it replaces the selection
    // (or, for Backspace, removes the last character).
    PostMessage(nFirstChar < 0x80 ? WM_CHAR : WM_IME_CHAR, nFirstChar, 0);
}

CInPlaceEdit::~CInPlaceEdit() = default;

void CInPlaceEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL bControl = GetKeyState(VK_CONTROL) < 0;
    if ((nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_DOWN || nChar == VK_UP || nChar == VK_RIGHT ||
         nChar == VK_LEFT) &&
        (m_bExitOnArrows || bControl))
    {
        EndEditByKey(nChar);
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_TAB || nChar == VK_RETURN)
    {
        EndEditByKey(nChar);
        return;
    }
    if (nChar == VK_ESCAPE)
    {
        SetWindowText(m_sInitText);
        EndEditByKey(nChar);
        return;
    }

    CEdit::OnChar(nChar, nRepCnt, nFlags);
    if (!::IsWindow(GetSafeHwnd())) return;

    CString str;
    GetWindowText(str);
    GrowToFit(str);
}

void CInPlaceEdit::GrowToFit(const CString& text)
{
    CString measured = text + _T("      ");
    const int cx = qor::grid::TextWidth(GetFont(), measured);

    CRect rect;
    GetWindowRect(rect);
    CWnd* pParent = GetParent();
    if (!pParent) return;
    pParent->ScreenToClient(rect);
    if (cx <= rect.Width()) return;

    CRect parentRect;
    pParent->GetClientRect(parentRect);
    const int right = std::min(rect.left + cx, parentRect.right);
    // Never narrower than now, even when the parent's edge is left of the editor's.
    if (right > rect.right) rect.right = right;
    MoveWindow(rect);
}

void CInPlaceEdit::EndEditByKey(UINT nKey)
{
    // Reporting first and moving the focus afterwards keeps the focus where the grid puts
    // it when it carries the edit on into the next cell.
    m_nLastChar = nKey;
    const HWND hSelf = GetSafeHwnd();
    CWnd* pParent = GetParent();
    EndEdit();
    if (::IsWindow(hSelf) && ::GetFocus() == hSelf && pParent && ::IsWindow(pParent->GetSafeHwnd()))
        pParent->SetFocus();
}

void CInPlaceEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    EndEdit();
}

UINT CInPlaceEdit::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

BOOL CInPlaceEdit::PreTranslateMessage(MSG* pMsg)
{
    // Alt plus a key does nothing here (no menu shortcuts from inside a cell).
    if (pMsg && pMsg->message == WM_SYSCHAR) return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CInPlaceEdit::EndEdit()
{
    if (g_bEndingEdit || m_bEnded || !::IsWindow(GetSafeHwnd())) return;
    g_bEndingEdit = TRUE;
    m_bEnded = TRUE;
    OnEndingEdit();
    qor::grid::NotifyEndLabelEdit(this, m_nRow, m_nColumn, m_nLastChar);
    g_bEndingEdit = FALSE;
}

void CInPlaceEdit::PostNcDestroy()
{
    CEdit::PostNcDestroy();
    delete this;
}
