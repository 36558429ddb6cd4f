// The standard controls: edit, combo box, list box, buttons, static text and progress bar.
// Each is a window of a registered class ("Edit", "ComboBox", ...) whose toolkit control
// does the work; messages reach it the one way, and what a subclass leaves to the default
// (Default(), DefWindowProc) is the control's own behaviour.
#pragma once

#include "platform/gui/window/Wnd.h"

// ---- Class names -------------------------------------------------------------------------
#define WC_EDIT L"Edit"
#define WC_COMBOBOX L"ComboBox"
#define WC_LISTBOX L"ListBox"
#define WC_BUTTON L"Button"
#define WC_STATIC L"Static"
#define PROGRESS_CLASS L"msctls_progress32"

// ---- Balloon tip icons (CEdit::ShowBalloonTip) ----------------------------------------------
#define TTI_NONE 0
#define TTI_INFO 1
#define TTI_WARNING 2
#define TTI_ERROR 3

// ---- Control colours ------------------------------------------------------------------------
// Before a control paints, it sends its parent WM_CTLCOLOREDIT (an edit; a read-only or
// disabled edit WM_CTLCOLORSTATIC), WM_CTLCOLORSTATIC (static text, check boxes, radio
// buttons, group boxes), WM_CTLCOLORLISTBOX (a list box) or WM_CTLCOLORBTN (a push button)
// with a DC (wParam) and its handle (lParam). The parent answers with a brush (the control's
// background) after setting the DC's text colour, background colour and font; the parent's
// default reflects the message to the control (OnChildNotify, ON_WM_CTLCOLOR_REFLECT).
#define QOR_CTLCOLOR_ENTRY(msg)                                                                                        \
    QOR_WM_ENTRY(msg, OnCtlColor, HBRUSH (ThisClass::*)(CDC*, CWnd*, UINT),                                            \
                 *pResult =                                                                                            \
                     reinterpret_cast<LRESULT>((p->*pm)(qor::gui::DCFromHandle(reinterpret_cast<HDC>(wParam)),         \
                                                        qor::gui::WndFromHandle(reinterpret_cast<HWND>(lParam)),       \
                                                        static_cast<UINT>((msg)-WM_CTLCOLORMSGBOX)));                  \
                 return true;)
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) for every WM_CTLCOLORxxx message.
// clang-format off
#define ON_WM_CTLCOLOR()                                                                                               \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLORMSGBOX)                                                                              \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLOREDIT)                                                                                \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLORLISTBOX)                                                                             \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLORBTN)                                                                                 \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLORDLG)                                                                                 \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLORSCROLLBAR)                                                                           \
    QOR_CTLCOLOR_ENTRY(WM_CTLCOLORSTATIC)
// clang-format on
// In the control: HBRUSH CtlColor(CDC* pDC, UINT nCtlColor); a null brush leaves the
// message to the parent's default.
#define ON_WM_CTLCOLOR_REFLECT()                                                                                       \
    QOR_WM_ENTRY(WM_REFLECT_BASE + WM_CTLCOLOR, CtlColor, HBRUSH(ThisClass::*)(CDC*, UINT), {                          \
        const auto* ctl = reinterpret_cast<const AFX_CTLCOLOR*>(lParam);                                               \
        HBRUSH qorBrush = (p->*pm)(qor::gui::DCFromHandle(ctl->hDC), ctl->nCtlType);                                   \
        *pResult = reinterpret_cast<LRESULT>(qorBrush);                                                                \
        return qorBrush != nullptr;                                                                                    \
    })

// ---- Edit ---------------------------------------------------------------------------------
#define ES_LEFT 0x0000u
#define ES_CENTER 0x0001u
#define ES_RIGHT 0x0002u
#define ES_MULTILINE 0x0004u
#define ES_UPPERCASE 0x0008u
#define ES_LOWERCASE 0x0010u
#define ES_PASSWORD 0x0020u
#define ES_AUTOVSCROLL 0x0040u
#define ES_AUTOHSCROLL 0x0080u
#define ES_NOHIDESEL 0x0100u
#define ES_OEMCONVERT 0x0400u
#define ES_READONLY 0x0800u
#define ES_WANTRETURN 0x1000u
#define ES_NUMBER 0x2000u

#define EM_GETSEL 0x00B0u
#define EM_SETSEL 0x00B1u
#define EM_SCROLLCARET 0x00B7u
#define EM_GETMODIFY 0x00B8u
#define EM_SETMODIFY 0x00B9u
#define EM_GETLINECOUNT 0x00BAu
#define EM_REPLACESEL 0x00C2u
#define EM_LIMITTEXT 0x00C5u
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_CANUNDO 0x00C6u
#define EM_UNDO 0x00C7u
#define EM_SETPASSWORDCHAR 0x00CCu
#define EM_EMPTYUNDOBUFFER 0x00CDu
#define EM_SETREADONLY 0x00CFu
#define EM_GETLIMITTEXT 0x00D5u

#ifndef EN_ERRSPACE
#define EN_ERRSPACE 0x0500
#endif

// ---- Combo box ------------------------------------------------------------------------------
#define CBS_SIMPLE 0x0001u
#define CBS_DROPDOWN 0x0002u
#define CBS_DROPDOWNLIST 0x0003u
#define CBS_OWNERDRAWFIXED 0x0010u
#define CBS_OWNERDRAWVARIABLE 0x0020u
#define CBS_AUTOHSCROLL 0x0040u
#define CBS_OEMCONVERT 0x0080u
#define CBS_SORT 0x0100u
#define CBS_HASSTRINGS 0x0200u
#define CBS_NOINTEGRALHEIGHT 0x0400u
#define CBS_DISABLENOSCROLL 0x0800u
#define CBS_UPPERCASE 0x2000u
#define CBS_LOWERCASE 0x4000u

#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)
#define CB_GETEDITSEL 0x0140u
#define CB_LIMITTEXT 0x0141u
#define CB_SETEDITSEL 0x0142u
#define CB_ADDSTRING 0x0143u
#define CB_DELETESTRING 0x0144u
#define CB_GETCOUNT 0x0146u
#define CB_GETCURSEL 0x0147u
#define CB_GETLBTEXT 0x0148u
#define CB_GETLBTEXTLEN 0x0149u
#define CB_INSERTSTRING 0x014Au
#define CB_RESETCONTENT 0x014Bu
#define CB_FINDSTRING 0x014Cu
#define CB_SELECTSTRING 0x014Du
#define CB_SETCURSEL 0x014Eu
#define CB_SHOWDROPDOWN 0x014Fu
#define CB_GETITEMDATA 0x0150u
#define CB_SETITEMDATA 0x0151u
#define CB_SETITEMHEIGHT 0x0153u
#define CB_GETITEMHEIGHT 0x0154u
#define CB_GETDROPPEDSTATE 0x0157u
#define CB_FINDSTRINGEXACT 0x0158u
#define CB_GETHORIZONTALEXTENT 0x015Du
#define CB_SETHORIZONTALEXTENT 0x015Eu
#define CB_GETDROPPEDWIDTH 0x015Fu
#define CB_SETDROPPEDWIDTH 0x0160u

// The edit part of a CBS_DROPDOWN / CBS_SIMPLE combo box is a child window with this id.
#define IDC_COMBOEDIT 1001

#ifndef ON_CBN_DROPDOWN
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#endif

// ---- List box -------------------------------------------------------------------------------
#define LBS_NOTIFY 0x0001u
#define LBS_SORT 0x0002u
#define LBS_NOREDRAW 0x0004u
#define LBS_MULTIPLESEL 0x0008u
#define LBS_HASSTRINGS 0x0040u
#define LBS_USETABSTOPS 0x0080u
#define LBS_NOINTEGRALHEIGHT 0x0100u
#define LBS_EXTENDEDSEL 0x0800u
#define LBS_DISABLENOSCROLL 0x1000u
#define LBS_NOSEL 0x4000u
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)
#define LB_ADDSTRING 0x0180u
#define LB_INSERTSTRING 0x0181u
#define LB_DELETESTRING 0x0182u
#define LB_RESETCONTENT 0x0184u
#define LB_SETSEL 0x0185u
#define LB_SETCURSEL 0x0186u
#define LB_GETSEL 0x0187u
#define LB_GETCURSEL 0x0188u
#define LB_GETTEXT 0x0189u
#define LB_GETTEXTLEN 0x018Au
#define LB_GETCOUNT 0x018Bu
#define LB_SELECTSTRING 0x018Cu
#define LB_GETTOPINDEX 0x018Eu
#define LB_FINDSTRING 0x018Fu
#define LB_GETSELCOUNT 0x0190u
#define LB_GETSELITEMS 0x0191u
#define LB_SETTOPINDEX 0x0197u
#define LB_GETITEMRECT 0x0198u
#define LB_GETITEMDATA 0x0199u
#define LB_SETITEMDATA 0x019Au
#define LB_GETITEMHEIGHT 0x01A1u
#define LB_FINDSTRINGEXACT 0x01A2u
#define LB_ITEMFROMPOINT 0x01A9u

// ---- Buttons --------------------------------------------------------------------------------
#define BS_PUSHBUTTON 0x0000u
#define BS_DEFPUSHBUTTON 0x0001u
#define BS_CHECKBOX 0x0002u
#define BS_AUTOCHECKBOX 0x0003u
#define BS_RADIOBUTTON 0x0004u
#define BS_3STATE 0x0005u
#define BS_AUTO3STATE 0x0006u
#define BS_GROUPBOX 0x0007u
#define BS_AUTORADIOBUTTON 0x0009u
#define BS_OWNERDRAW 0x000Bu
#define BS_TYPEMASK 0x000Fu
#define BS_LEFTTEXT 0x0020u
#define BS_PUSHLIKE 0x1000u
#define BS_NOTIFY 0x4000u

#define BM_GETCHECK 0x00F0u
#define BM_SETCHECK 0x00F1u
#define BM_GETSTATE 0x00F2u
#define BM_SETSTATE 0x00F3u
#define BM_SETSTYLE 0x00F4u
#define BM_CLICK 0x00F5u
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

// ---- Static ---------------------------------------------------------------------------------
#define SS_LEFT 0x0000u
#define SS_CENTER 0x0001u
#define SS_RIGHT 0x0002u
#define SS_LEFTNOWORDWRAP 0x000Cu
#define SS_SIMPLE 0x000Bu
#define SS_TYPEMASK 0x001Fu
#define SS_NOPREFIX 0x0080u
#define SS_NOTIFY 0x0100u
#define SS_CENTERIMAGE 0x0200u
#define SS_SUNKEN 0x1000u
#define STN_CLICKED 0
#define STN_DBLCLK 1

// ---- Progress bar ---------------------------------------------------------------------------
#define PBS_SMOOTH 0x01u
#define PBS_VERTICAL 0x04u
#define PBM_SETRANGE 0x0401u
#define PBM_SETPOS 0x0402u
#define PBM_DELTAPOS 0x0403u
#define PBM_SETSTEP 0x0404u
#define PBM_STEPIT 0x0405u
#define PBM_SETRANGE32 0x0406u
#define PBM_GETRANGE 0x0407u
#define PBM_GETPOS 0x0408u

struct PBRANGE
{
    int iLow;
    int iHigh;
};

// ---- Classes --------------------------------------------------------------------------------

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    BOOL CanUndo() const;
    void EmptyUndoBuffer();
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    int GetLineCount() const;
    // Selection: start and end character positions (end exclusive).
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void LimitText(int nChars = 0);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetPasswordChar(TCHAR ch);
    BOOL Undo();
    void Clear();
    void Copy();
    void Cut();
    void Paste();
    // A tip just below the edit, shown at once (the system's balloon, e.g. for a refused key):
    // the title (may be null) above the text. It goes at HideBalloonTip, when another replaces
    // it, when the edit loses the focus or is hidden, and after a few seconds.
    BOOL ShowBalloonTip(LPCWSTR lpszTitle, LPCWSTR lpszText, INT ttiIcon = TTI_NONE);
    BOOL HideBalloonTip();
};

namespace qor::gui {
// The balloon tip of an edit (CEdit::ShowBalloonTip): shows, hides, and tells whether one is
// showing, with its text and screen rectangle. A balloon shown to stay (stay true) does not go
// after a few seconds nor when the edit loses the focus; the other ways it goes still hold. While
// the focus is elsewhere it stands beside the edit, off the window's other controls.
bool ShowEditBalloon(HWND hEdit, const CString& title, const CString& text, bool stay = false);
// Hides the balloon; one shown to stay only when staying is true.
bool HideEditBalloon(HWND hEdit, bool staying = true);
bool ShownEditBalloon(HWND hEdit, CString* text = nullptr, CRect* screenRect = nullptr);
} // namespace qor::gui

class CComboBox : public CWnd
{
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    DWORD GetEditSel() const;
    BOOL SetEditSel(int nStartChar, int nEndChar);
    BOOL LimitText(int nMaxChars);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    int SetItemHeight(int nIndex, UINT cyItemHeight);
    int GetItemHeight(int nIndex) const;
    int GetDroppedWidth() const;
    int SetDroppedWidth(UINT nWidth);
    void SetHorizontalExtent(UINT nExtent);
    UINT GetHorizontalExtent() const;
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    int AddString(LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    int InsertString(int nIndex, LPCTSTR lpszString);
    void ResetContent();
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);
    void Clear();
    void Copy();
    void Cut();
    void Paste();
};

class CListBox : public CWnd
{
    DECLARE_DYNAMIC(CListBox)
public:
    CListBox() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, LPINT rgIndex) const;
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    int GetItemRect(int nIndex, LPRECT lpRect) const;
    int GetItemHeight(int nIndex) const;
    int GetText(int nIndex, LPTSTR lpszBuffer) const;
    void GetText(int nIndex, CString& rString) const;
    int GetTextLen(int nIndex) const;
    int AddString(LPCTSTR lpszItem);
    int DeleteString(UINT nIndex);
    int InsertString(int nIndex, LPCTSTR lpszItem);
    void ResetContent();
    int FindString(int nStartAfter, LPCTSTR lpszItem) const;
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    CButton() = default;
    virtual BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    void Click();
};

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() = default;
    virtual BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    CProgressCtrl() = default;
    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const;
    int SetPos(int nPos);
    int OffsetPos(int nPos);
    int SetStep(int nStep);
    int StepIt();
};
