// The tooltip control: a small top-level window that shows a tool's text when the mouse
// rests over the tool. The owner relays its mouse messages (RelayEvent); after the initial
// delay the tip shows below the cursor, and it goes when the mouse leaves the tool, a button
// is pressed, the auto-pop delay ends or Pop is called.
#pragma once

#include "platform/gui/window/Wnd.h"

#include <vector>

#define TOOLTIPS_CLASS L"tooltips_class32"

#define TTS_ALWAYSTIP 0x01u
#define TTS_NOPREFIX 0x02u

#define TTF_IDISHWND 0x0001u
#define TTF_CENTERTIP 0x0002u
#define TTF_SUBCLASS 0x0010u

#define TTDT_AUTOMATIC 0
#define TTDT_RESHOW 1
#define TTDT_AUTOPOP 2
#define TTDT_INITIAL 3

#ifndef LPSTR_TEXTCALLBACK
#define LPSTR_TEXTCALLBACK (reinterpret_cast<LPTSTR>(static_cast<INT_PTR>(-1)))
#endif

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    // A hidden pop-up owned by pParentWnd (TTS_ALWAYSTIP, TTS_NOPREFIX).
    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // A tool: nIDTool within pWnd, over lpRectTool (client coordinates of pWnd; null: the
    // whole client area, as TTF_IDISHWND). A text from the string table with nIDText.
    BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACK, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(UINT nIDText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect);
    void GetText(CString& str, CWnd* pWnd, UINT_PTR nIDTool = 0) const;
    int GetToolCount() const { return static_cast<int>(m_tools.size()); }

    // Mouse messages of the tools' windows (others are ignored).
    void RelayEvent(LPMSG lpMsg);
    // An inactive tooltip shows nothing (and hides what it shows).
    void Activate(BOOL bActivate);
    // All three delays from one (initial = n, auto-pop = 10 n, reshow = n / 5).
    void SetDelayTime(UINT nDelay);
    // One delay (TTDT_INITIAL, TTDT_AUTOPOP, TTDT_RESHOW); a negative time restores its default.
    void SetDelayTime(DWORD dwDuration, int iTime);
    int GetDelayTime(DWORD dwDuration) const;
    // Texts wider than this wrap at word breaks (-1: no wrapping); returns the previous width.
    int SetMaxTipWidth(int iWidth);
    int GetMaxTipWidth() const { return m_maxWidth; }
    // Hides the tip now.
    void Pop();

protected:
    void OnPaint();
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnNcHitTest(CPoint point);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    struct Tool
    {
        HWND hwnd = nullptr;
        UINT_PTR id = 0;
        CRect rect;
        bool wholeWindow = false;
        CString text;
        bool callback = false;
    };
    std::vector<Tool> m_tools;
    int m_current = -1;        // the tool under the mouse (index), -1: none
    bool m_suppressed = false; // a click hid the tip: no tip until the mouse leaves the tool
    bool m_active = true;
    int m_initial, m_autoPop, m_reshow;
    int m_maxWidth = -1;
    CPoint m_anchor; // the screen point the tip shows under
    POINT m_cursorAtRelay{0, 0};
    bool m_shownRecently = false;

    Tool* Find(HWND hwnd, UINT_PTR id);
    const Tool* Find(HWND hwnd, UINT_PTR id) const;
    int HitTool(HWND hwnd, CPoint client) const;
    void Show();
    void Hide(bool forget);
    void Track();
};
