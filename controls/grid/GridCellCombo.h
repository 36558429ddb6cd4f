// CGridCellCombo: a cell edited through a drop-down combo box of option strings.
// CInPlaceList is that combo box, CComboEdit its edit part.
#pragma once

#include "controls/grid/GridCell.h"

#include <vector>

// The edit part of the in-place combo box (the box's edit child, id 1001).
class CComboEdit : public CEdit
{
public:
    CComboEdit() = default;
    ~CComboEdit() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void OnKillFocus(CWnd* pNewWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);

    DECLARE_MESSAGE_MAP()
};

class CInPlaceList : public CComboBox
{
public:
    CInPlaceList(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, COLORREF crFore,
                 COLORREF crBack, const std::vector<CString>& Items, CString sInitText, UINT nFirstChar);
    ~CInPlaceList() override;

    // Reports the box's text to the grid (once) and closes the box.
    void EndEdit();
    // Width of the dropped list: the widest entry, a scroll bar and a "0", at most 200.
    int GetCorrectDropWidth();

    CComboEdit* GetEditPart() { return m_edit.GetSafeHwnd() ? &m_edit : nullptr; }
    UINT GetLastKey() const { return m_nLastChar; }

protected:
    void PostNcDestroy() override;

    void OnKillFocus(CWnd* pNewWnd);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnDropdown();
    void OnSelendOK();
    UINT OnGetDlgCode();
    // A key ended the edit: report, then give the focus back to the grid unless the report
    // moved it on.
    void EndEditByKey(UINT nKey);

    DECLARE_MESSAGE_MAP()

protected:
    CComboEdit m_edit;
    int m_nNumLines = 4;
    CString m_sInitText;
    int m_nRow;
    int m_nCol;
    UINT m_nLastChar = 0;
    BOOL m_bExitOnArrows = FALSE;
    COLORREF m_crForeClr;
    COLORREF m_crBackClr;
    BOOL m_bEnded = FALSE;
};

class CGridCellCombo : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellCombo)
public:
    CGridCellCombo();
    ~CGridCellCombo() override;

    using CGridCellBase::operator=;

    void SetOptions(const std::vector<CString>& ar);
    const std::vector<CString>& GetOptions() const { return m_Strings; }
    void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    DWORD GetStyle() const { return m_dwStyle; }

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void EndEdit() override;
    CWnd* GetEditWnd() const override;
    CSize GetCellExtent(CDC* pDC) override;
    BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE) override;

protected:
    std::vector<CString> m_Strings;
    DWORD m_dwStyle = CBS_DROPDOWN;
};
