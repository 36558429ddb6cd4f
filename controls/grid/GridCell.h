// CGridCell, the standard cell with its own storage, and CGridDefaultCell, the cell that
// holds the defaults of one class of cells (ordinary, fixed row, fixed column, both).
#pragma once

#include "controls/grid/GridCellBase.h"

class CGridCell : public CGridCellBase
{
    DECLARE_DYNCREATE(CGridCell)
public:
    CGridCell();
    ~CGridCell() override;

    using CGridCellBase::operator=;

    void SetText(LPCTSTR szText) override { m_strText = szText ? szText : _T(""); }
    void SetImage(int nImage) override { m_nImage = nImage; }
    void SetData(LPARAM lParam) override { m_lParam = lParam; }
    void SetFormat(DWORD nFormat) override { m_nFormat = nFormat; }
    void SetTextClr(COLORREF clr) override { m_crFgClr = clr; }
    void SetBackClr(COLORREF clr) override { m_crBkClr = clr; }
    void SetFont(const LOGFONT* plf) override;
    void SetMargin(UINT nMargin) override { m_nMargin = nMargin; }
    void SetGrid(CGridCtrl* pGrid) override { m_pGrid = pGrid; }

    LPCTSTR GetText() const override { return m_strText.GetString(); }
    int GetImage() const override { return m_nImage; }
    LPARAM GetData() const override { return m_lParam; }
    DWORD GetFormat() const override;
    COLORREF GetTextClr() const override { return m_crFgClr; }
    COLORREF GetBackClr() const override { return m_crBkClr; }
    LOGFONT* GetFont() const override;
    CFont* GetFontObject() const override;
    CGridCtrl* GetGrid() const override { return m_pGrid; }
    CWnd* GetEditWnd() const override { return m_pEditWnd; }
    UINT GetMargin() const override;

    BOOL IsDefaultFont() const override { return m_plfFont == nullptr; }
    BOOL IsEditing() const override { return m_bEditing; }

    void Reset() override;

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;
    void EndEdit() override;
    void OnEndEdit() override;

protected:
    // Takes the editor just opened for this cell (m_bEditing already set). An editor that
    // got no window is deleted and the edit is over: nothing would ever end it.
    BOOL AttachEditor(CWnd* pEditor);

protected:
    CString m_strText;
    LPARAM m_lParam = 0;
    int m_nImage = -1;
    DWORD m_nFormat = 0xFFFFFFFF;
    COLORREF m_crFgClr = CLR_DEFAULT_GRID;
    COLORREF m_crBkClr = CLR_DEFAULT_GRID;
    LOGFONT* m_plfFont = nullptr;
    UINT m_nMargin = 0xFFFFFFFF;
    BOOL m_bEditing = FALSE;
    CGridCtrl* m_pGrid = nullptr;
    CWnd* m_pEditWnd = nullptr;
};

class CGridDefaultCell : public CGridCell
{
    DECLARE_DYNCREATE(CGridDefaultCell)
public:
    CGridDefaultCell();
    ~CGridDefaultCell() override;

    using CGridCellBase::operator=;

    void SetData(LPARAM lParam) override {}
    void SetState(DWORD nState) override {}
    DWORD GetState() const override { return m_nState | GVIS_READONLY; }
    LOGFONT* GetFont() const override { return m_plfFont; }
    CFont* GetFontObject() const override;
    void SetFont(const LOGFONT* plf) override;

    virtual DWORD GetStyle() const { return m_dwStyle; }
    virtual void SetStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    virtual int GetWidth() const { return m_Size.cx; }
    virtual int GetHeight() const { return m_Size.cy; }
    virtual void SetWidth(int nWidth) { m_Size.cx = nWidth; }
    virtual void SetHeight(int nHeight) { m_Size.cy = nHeight; }

protected:
    CSize m_Size;
    CFont m_Font;
    DWORD m_dwStyle = 0;
};
