// CGridCellBase: the interface through which the grid control stores, draws, measures,
// prints and edits a cell, with the drawing, measuring and printing that all cells share.
#pragma once

#include "platform/gui/Afx.h"

class CGridCtrl;
class CGridDefaultCell;

// Cell state bits.
#define GVIS_FOCUSED 0x0001u
#define GVIS_SELECTED 0x0002u
#define GVIS_DROPHILITED 0x0004u
#define GVIS_READONLY 0x0008u
#define GVIS_FIXED 0x0010u
#define GVIS_FIXEDROW 0x0020u
#define GVIS_FIXEDCOL 0x0040u
#define GVIS_MODIFIED 0x0080u

// The colour value that stands for "take the default cell's colour".
#define CLR_DEFAULT_GRID ((COLORREF)0xFF000000)

class CGridCellBase : public CObject
{
    DECLARE_DYNAMIC(CGridCellBase)
public:
    CGridCellBase();
    ~CGridCellBase() override;

    // Attributes
    virtual void SetText(LPCTSTR szText) = 0;
    virtual void SetImage(int nImage) = 0;
    virtual void SetData(LPARAM lParam) = 0;
    virtual void SetState(DWORD nState) { m_nState = nState; }
    virtual void SetFormat(DWORD nFormat) = 0;
    virtual void SetTextClr(COLORREF clr) = 0;
    virtual void SetBackClr(COLORREF clr) = 0;
    virtual void SetFont(const LOGFONT* plf) = 0;
    virtual void SetMargin(UINT nMargin) = 0;
    virtual void SetGrid(CGridCtrl* pGrid) = 0;
    virtual void SetCoords(int nRow, int nCol) {}

    virtual LPCTSTR GetText() const = 0;
    virtual LPCTSTR GetTipText() const { return GetText(); }
    virtual int GetImage() const = 0;
    virtual LPARAM GetData() const = 0;
    virtual DWORD GetState() const { return m_nState; }
    virtual DWORD GetFormat() const = 0;
    virtual COLORREF GetTextClr() const = 0;
    virtual COLORREF GetBackClr() const = 0;
    virtual LOGFONT* GetFont() const = 0;
    virtual CFont* GetFontObject() const = 0;
    virtual CGridCtrl* GetGrid() const = 0;
    virtual CWnd* GetEditWnd() const = 0;
    virtual UINT GetMargin() const = 0;
    virtual CGridCellBase* GetDefaultCell() const;

    virtual BOOL IsDefaultFont() const = 0;
    virtual BOOL IsEditing() const = 0;
    virtual BOOL IsFocused() const { return GetState() & GVIS_FOCUSED; }
    virtual BOOL IsFixed() const { return GetState() & GVIS_FIXED; }
    virtual BOOL IsFixedCol() const { return GetState() & GVIS_FIXEDCOL; }
    virtual BOOL IsFixedRow() const { return GetState() & GVIS_FIXEDROW; }
    // The grid holds the selection (CGridCtrl::IsCellSelected): a cell in a grid never has the bit.
    virtual BOOL IsSelected() const { return GetState() & GVIS_SELECTED; }
    virtual BOOL IsReadOnly() const { return GetState() & GVIS_READONLY; }
    virtual BOOL IsModified() const { return GetState() & GVIS_MODIFIED; }
    virtual BOOL IsDropHighlighted() const { return GetState() & GVIS_DROPHILITED; }

    // Copies every property through the interface (resolved through the other's defaults).
    virtual CGridCellBase& operator=(const CGridCellBase& cell);

    virtual void Reset() { m_nState = 0; }

    // Drawing, measuring, printing
    virtual BOOL Draw(CDC* pDC, int nRow, int nCol, CRect rect, BOOL bEraseBkgnd = TRUE);
    virtual BOOL GetTextRect(LPRECT pRect);
    virtual BOOL GetTipTextRect(LPRECT pRect) { return GetTextRect(pRect); }
    virtual CSize GetTextExtent(LPCTSTR str, CDC* pDC = nullptr);
    virtual CSize GetCellExtent(CDC* pDC);

    // Editing
    virtual BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) { return FALSE; }
    virtual BOOL ValidateEdit(LPCTSTR str) { return TRUE; }
    virtual void EndEdit() {}

    virtual BOOL PrintCell(CDC* pDC, int nRow, int nCol, CRect rect);

    virtual void OnEndEdit() {}

    // Mouse hooks
    virtual void OnMouseEnter() {}
    virtual void OnMouseOver() {}
    virtual void OnMouseLeave() {}
    virtual void OnClick(CPoint PointCellRelative) {}
    virtual void OnClickDown(CPoint PointCellRelative) {}
    virtual void OnRClick(CPoint PointCellRelative) {}
    virtual void OnDblClick(CPoint PointCellRelative) {}
    virtual BOOL OnSetCursor();

protected:
    DWORD m_nState = 0;

private:
    // The image's size when the cell shows one of the grid's images.
    BOOL GetImageSize(CSize& size) const;
};
