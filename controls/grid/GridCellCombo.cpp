// The combo box cell and its in-place drop-down list.
#include "controls/grid/GridCellCombo.h"

#include "controls/grid/GridCtrl.h"
#include "controls/grid/InPlaceEdit.h"

#include <algorithm>

IMPLEMENT_DYNCREATE(CGridCellCombo, CGridCell)

namespace {
constexpr int kMaxDropWidth = 200;

BOOL IsExitKey(UINT nChar)
{
    return nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_DOWN || nChar == VK_UP || nChar == VK_RIGHT ||
           nChar == VK_LEFT;
}
} // namespace

// ---------------------------------------------------------------------------------------
// CComboEdit

BEGIN_MESSAGE_MAP(CComboEdit, CEdit)
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
END_MESSAGE_MAP()

CComboEdit::~CComboEdit() = default;

BOOL CComboEdit::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg) return FALSE;
    // Keys are handled here at once, so no dialog takes Return, Escape, Tab or the arrows.
    if (pMsg->message == WM_KEYDOWN || pMsg->message == WM_KEYUP)
    {
        SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        if (pMsg->message == WM_KEYDOWN && ::IsWindow(GetSafeHwnd()))
        {
            // What a translation would make of the key: its character, if it types one.
            const UINT vk = static_cast<UINT>(pMsg->wParam);
            if (vk == VK_RETURN || vk == VK_TAB || vk == VK_ESCAPE) SendMessage(WM_CHAR, vk, pMsg->lParam);
        }
        return TRUE;
    }
    if (pMsg->message == WM_SYSCHAR) return TRUE;
    return CEdit::PreTranslateMessage(pMsg);
}

void CComboEdit::OnKillFocus(CWnd* pNewWnd)
{
    CEdit::OnKillFocus(pNewWnd);
    CWnd* pOwner = GetParent();
    if (!pOwner || pNewWnd == pOwner) return;
    if (auto* pList = dynamic_cast<CInPlaceList*>(pOwner)) pList->EndEdit();
}

void CComboEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsExitKey(nChar) && GetKeyState(VK_CONTROL) < 0 && GetDlgCtrlID() == IDC_COMBOEDIT)
    {
        CWnd* pOwner = GetParent();
        if (pOwner)
            pOwner->SendMessage(WM_KEYDOWN, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
        return;
    }
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CComboEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN)
    {
        if (CWnd* pOwner = GetParent())
            pOwner->SendMessage(WM_KEYUP, nChar, MAKELPARAM(static_cast<WORD>(nRepCnt), static_cast<WORD>(nFlags)));
        return;
    }
    CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CComboEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Return, Tab and Escape end the edit on their release; they type nothing.
    if (nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN) return;
    CEdit::OnChar(nChar, nRepCnt, nFlags);
}

// ---------------------------------------------------------------------------------------
// CInPlaceList

BEGIN_MESSAGE_MAP(CInPlaceList, CComboBox)
ON_WM_KILLFOCUS()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_CONTROL_REFLECT(CBN_DROPDOWN, OnDropdown)
ON_CONTROL_REFLECT(CBN_SELENDOK, OnSelendOK)
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CInPlaceList::CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, COLORREF crFore,
                           COLORREF crBack, const std::vector<CString>& Items, CString sInitText, UINT nFirstChar)
    : m_sInitText(sInitText), m_nRow(nRow), m_nCol(nColumn), m_crForeClr(crFore), m_crBackClr(crBack)
{
    const int nHeight = rect.Height();
    rect.bottom += ::GetSystemMetrics(SM_CYHSCROLL) + m_nNumLines * nHeight;

    const DWORD dwComboStyle = WS_BORDER | WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_AUTOHSCROLL | dwStyle;
    if (!pParent || !Create(dwComboStyle, rect, pParent, nID)) return;

    for (const CString& item : Items) AddString(item);
    SetFont(pParent->GetFont());
    SetItemHeight(-1, static_cast<UINT>(nHeight));
    SetDroppedWidth(static_cast<UINT>(GetCorrectDropWidth()));
    SetHorizontalExtent(0);

    const int nIndex = FindStringExact(-1, m_sInitText);
    if (nIndex != CB_ERR)
        SetCurSel(nIndex);
    else
        SetWindowText(m_sInitText);

    ShowDropDown();

    if ((dwStyle & 0x3u) == CBS_DROPDOWNLIST)
    {
        SetFocus();
        return;
    }

    m_edit.SubclassDlgItem(IDC_COMBOEDIT, this);
    SetFocus();
    switch (nFirstChar)
    {
    case VK_LBUTTON:
    case VK_RETURN: SetEditSel(static_cast<int>(m_sInitText.GetLength()), -1); return;
    case VK_BACK: SetEditSel(static_cast<int>(m_sInitText.GetLength()), -1); break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN: SetEditSel(0, -1); return;
    default: SetEditSel(0, -1); break;
    }
    SendMessage(WM_CHAR, nFirstChar);
}

CInPlaceList::~CInPlaceList()
{
    // The edit part's window belongs to the combo box.
    if (m_edit.GetSafeHwnd()) m_edit.UnsubclassWindow();
}

int CInPlaceList::GetCorrectDropWidth()
{
    CClientDC dc(nullptr);
    if (!dc.GetSafeHdc()) return kMaxDropWidth;
    CFont* pFont = GetFont();
    CFont* pOldFont = pFont ? dc.SelectObject(pFont) : nullptr;

    int nWidth = 0;
    const int nCount = GetCount();
    for (int i = 0; i < nCount; i++)
    {
        CString str;
        GetLBText(i, str);
        // An option wider than the list can be (a name of megabytes) is measured only that far.
        nWidth = std::max(nWidth, static_cast<int>(dc.GetTextExtentUpTo(str, str.GetLength(), kMaxDropWidth).cx));
    }
    nWidth += ::GetSystemMetrics(SM_CXVSCROLL) + dc.GetTextExtent(_T("0"), 1).cx;

    if (pOldFont) dc.SelectObject(pOldFont);
    return std::min(nWidth, kMaxDropWidth);
}

void CInPlaceList::EndEdit()
{
    if (m_bEnded || !::IsWindow(GetSafeHwnd())) return;
    m_bEnded = TRUE;

    // The dropped list goes first, so that closing it moves no focus later on.
    if (GetDroppedState()) ShowDropDown(FALSE);

    qor::grid::NotifyEndLabelEdit(this, m_nRow, m_nCol, m_nLastChar);
}

void CInPlaceList::OnKillFocus(CWnd* pNewWnd)
{
    CComboBox::OnKillFocus(pNewWnd);
    if (!::IsWindow(GetSafeHwnd())) return;
    // A box with an edit part ends through its edit part.
    if ((GetStyle() & 0x3u) != CBS_DROPDOWNLIST) return;
    if (pNewWnd == this || (pNewWnd && IsChild(pNewWnd))) return;
    EndEdit();
}

void CInPlaceList::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsExitKey(nChar) && (m_bExitOnArrows || GetKeyState(VK_CONTROL) < 0))
    {
        EndEditByKey(nChar);
        return;
    }
    CComboBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceList::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE)
    {
        // Back to where the edit started.
        const int nIndex = FindStringExact(-1, m_sInitText);
        if ((GetStyle() & 0x3u) == CBS_DROPDOWNLIST)
            SetCurSel(nIndex);
        else
            SetWindowText(m_sInitText);
    }
    if (nChar == VK_ESCAPE || nChar == VK_TAB || nChar == VK_RETURN)
    {
        EndEditByKey(nChar);
        return;
    }
    CComboBox::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CInPlaceList::OnDropdown() { SetDroppedWidth(static_cast<UINT>(GetCorrectDropWidth())); }

void CInPlaceList::OnSelendOK()
{
    const int nIndex = GetCurSel();
    if (nIndex != CB_ERR && (GetStyle() & 0x3u) != CBS_DROPDOWNLIST && m_edit.GetSafeHwnd())
    {
        CString str;
        GetLBText(nIndex, str);
        m_edit.SetWindowText(str);
    }
    EndEditByKey(0);
}

void CInPlaceList::EndEditByKey(UINT nKey)
{
    m_nLastChar = nKey;
    const HWND hSelf = GetSafeHwnd();
    CWnd* pParent = GetParent();
    EndEdit();
    if (!::IsWindow(hSelf) || !pParent || !::IsWindow(pParent->GetSafeHwnd())) return;
    const HWND hFocus = ::GetFocus();
    if (hFocus == hSelf || (m_edit.GetSafeHwnd() && hFocus == m_edit.GetSafeHwnd())) pParent->SetFocus();
}

UINT CInPlaceList::OnGetDlgCode() { return DLGC_WANTALLKEYS; }

void CInPlaceList::PostNcDestroy()
{
    CComboBox::PostNcDestroy();
    delete this;
}

// ---------------------------------------------------------------------------------------
// CGridCellCombo

CGridCellCombo::CGridCellCombo() = default;

CGridCellCombo::~CGridCellCombo() = default;

void CGridCellCombo::SetOptions(const std::vector<CString>& ar)
{
    m_Strings.clear();
    m_Strings.insert(m_Strings.end(), ar.begin(), ar.end());
}

BOOL CGridCellCombo::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    if (m_bEditing) return TRUE;
    m_bEditing = TRUE;
    return AttachEditor(new CInPlaceList(GetGrid(), rect, GetStyle(), nID, nRow, nCol, GetTextClr(), GetBackClr(),
                                         m_Strings, GetText(), nChar));
}

void CGridCellCombo::EndEdit()
{
    if (auto* pList = dynamic_cast<CInPlaceList*>(m_pEditWnd)) pList->EndEdit();
}

CWnd* CGridCellCombo::GetEditWnd() const
{
    auto* pList = dynamic_cast<CInPlaceList*>(m_pEditWnd);
    if (pList && (GetStyle() & 0x3u) != CBS_DROPDOWNLIST) return pList->GetEditPart();
    return nullptr;
}

CSize CGridCellCombo::GetCellExtent(CDC* pDC)
{
    CSize size = CGridCell::GetCellExtent(pDC);
    size.cx += ::GetSystemMetrics(SM_CXVSCROLL);
    size.cy = std::max(size.cy, static_cast<LONG>(::GetSystemMetrics(SM_CYHSCROLL)));
    return size;
}

BOOL CGridCellCombo::Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd)
{
    CGridCtrl* pGrid = GetGrid();
    if (pDC && pGrid && pGrid->IsEditable() && !IsReadOnly() && !IsEditing())
    {
        const int b = ::GetSystemMetrics(SM_CYHSCROLL);
        const int w = ::GetSystemMetrics(SM_CXVSCROLL);
        if (b < rect.Width() && b < rect.Height())
        {
            CRect rectButton(rect.right - w, rect.top, rect.right, rect.top + b);
            pDC->DrawFrameControl(rectButton, DFC_SCROLL, DFCS_SCROLLDOWN);
            rect.right -= w;
        }
    }

    // The open list covers the cell: its text is not drawn behind it.
    if (IsEditing())
    {
        const CString strSaved = m_strText;
        m_strText.Empty();
        const BOOL bResult = CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
        m_strText = strSaved;
        return bResult;
    }
    return CGridCell::Draw(pDC, nRow, nCol, rect, bEraseBkgnd);
}
