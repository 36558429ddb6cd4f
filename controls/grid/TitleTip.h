// CTitleTip: a borderless pop-up that shows the whole text of a cell that is too narrow
// for it, while the mouse rests on the cell. Clicks and keys go on to the window below,
// so the user works through the tip.
#pragma once

#include "platform/gui/Afx.h"

#define TITLETIP_CLASSNAME _T("ZTitleTip")

class CTitleTip : public CWnd
{
public:
    CTitleTip();
    ~CTitleTip() override;

    // Creates the pop-up window (once); TRUE when it exists.
    virtual BOOL Create(CWnd* pParentWnd);
    // The window whose cells the tip shows (used when the tip creates itself in Show).
    void SetParentWnd(CWnd* pParentWnd) { m_pParentWnd = pParentWnd; }
    CWnd* GetParentWnd() const { return m_pParentWnd; }

    // Shows text over rectTitle (parent client coordinates) when it does not fit there.
    // The tip hides when the mouse leaves lpHoverRect (default: rectTitle). Colours equal
    // to CLR_DEFAULT_GRID (0xFF000000) take the system's tooltip colours.
    void Show(CRect rectTitle, LPCTSTR lpszTitleText, LPRECT lpHoverRect = nullptr, const LOGFONT* lpLogFont = nullptr,
              COLORREF crTextClr = 0xFF000000, COLORREF crBackClr = 0xFF000000);
    void Hide();

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // What the tip shows (empty while hidden or never shown).
    const CString& GetShownText() const { return m_strShown; }
    CRect GetHoverRect() const { return m_rectHover; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    // Draws the shown text on its background.
    void DrawTip(CDC* pDC);

    DECLARE_MESSAGE_MAP()

protected:
    CWnd* m_pParentWnd = nullptr;
    CRect m_rectTitle;
    CRect m_rectHover;
    DWORD m_dwLastLButtonDown = 0xFFFFFFFF;
    DWORD m_dwDblClickMsecs;
    BOOL m_bCreated = FALSE;

    // What is drawn, kept so that a repaint draws it again.
    CString m_strShown;
    CFont m_Font;
    COLORREF m_crText = 0;
    COLORREF m_crBack = 0;
};
