// A small pop-up that shows a few lines of text next to a point of another window, in the
// info-tip colours with a soft shadow. It never takes the focus and hides by itself: after
// its display time, at the next key press or mouse click in the thread, and when the
// application has no active window.
#pragma once

#include "platform/gui/Afx.h"

class CMessageTip : public CWnd
{
public:
    CMessageTip();
    ~CMessageTip() override;

    // Makes the (hidden) tip window owned by pOwner, whose client coordinates Show takes.
    BOOL Create(CWnd* pOwner);
    // Shows the text with the tip's bottom-left corner at the point (owner client
    // coordinates), kept on the screen that holds the point. An empty text shows nothing.
    void Show(CPoint point, const CString& text);
    void Hide();

    void SetDisplayTime(UINT ms) { m_nDisplayTime = ms; }
    UINT GetDisplayTime() const { return m_nDisplayTime; }
    const CString& GetText() const { return m_sText; }

    // The tip's size for the text (margins and shadow included), at (0, 0).
    virtual void CalcTipRect(CRect& rect, const CString& text);
    // Puts the rectangle above the point and keeps it on the screen that holds the point.
    virtual void PositionTip(CPoint point, CRect& rect);

    // The tip being shown (the one the hooks close), or nullptr.
    static CMessageTip* GetShowingTip();

protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    LRESULT OnCloseMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void DrawShadow(CDC* pDC, const CRect& tip);
    void InstallHooks();
    static void RemoveHooks();

    CWnd* m_pOwner = nullptr;
    HWND m_hShownAs = nullptr; // the window handle the hooks were installed for
    CRect m_rectMargins{6, 4, 8, 4};
    CPoint m_ptShadowOffset{-6, 0};
    CFont m_Font;
    UINT m_nTimerInterval = 500;
    UINT m_nDisplayTime = 5000;
    UINT m_nElapsed = 0;
    COLORREF m_clrBackground = 0;
    COLORREF m_clrText = 0;
    CString m_sText;
    bool m_bShadow = true;
    int m_nShadowSize = 6;
};
