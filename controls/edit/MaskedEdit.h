// A single-line edit whose text is literal text before the input, the user's input, and
// literal text after it, taken from a mask ("Length: # m"). The control keeps the three
// parts itself, rebuilds the window text after every change, and steers the caret,
// typing, deletion and the clipboard so that only the input can change.
#pragma once

#include "platform/gui/Afx.h"

#include <string>

class CMaskedEdit : public CEdit
{
    DECLARE_DYNAMIC(CMaskedEdit)
public:
    CMaskedEdit();
    ~CMaskedEdit() override;

    // The mask holds one input marker '#'; the characters before it are the prefix, those
    // after it the suffix; "##" is a literal '#'. FALSE (old mask kept) for a mask without
    // a marker.
    BOOL SetMask(LPCTSTR lpszMask);
    CString GetMask() const { return m_strMask; }

    // ---- Operations a derived control refines ----------------------------------------------
    virtual CString GetInputData() const;
    // Writes text into the input from input index nPos (insert or overwrite mode).
    virtual BOOL SetInputData(LPCTSTR lpszText, int nPos);
    // bInputOnly: clears the input; otherwise the prefix and suffix too. Caret to the input.
    virtual void EmptyData(BOOL bInputOnly);
    // A refused key or text: the beep, and at once a tip beside the field that says why. After a
    // refused key no digit joins the input and the tip stays, until the user deletes, moves the
    // caret or types a key that ReleasesHold (so "1,5" never becomes 15); the focus may go and come
    // back meanwhile. While the hold lasts the field holds no number: its dialog refuses it at OK.
    virtual void NotifyBadInput();
    // Whether the typed key ch ends the hold of a refused key (the numeric edit: its decimal key).
    virtual bool ReleasesHold(TCHAR ch) const;
    bool IsHoldingDigits() const { return m_bHeld; }
    // While the hold lasts: the entry as the user typed it, the refused and held-back keys where
    // they were typed ("1,5").
    CString GetTypedText() const { return m_bHeld ? m_strTypedBefore + m_strTypedAfter : CString(); }
    // While the hold lasts, the message that refuses the entry as typed (what: the field's name);
    // empty otherwise.
    CString GetHeldRefusal(LPCTSTR what = nullptr) const;
    // Why the typed character ch was refused (shown by NotifyBadInput).
    virtual CString RefusalHint(TCHAR ch) const;
    virtual BOOL UpdateSettings();
    virtual BOOL InitControl();
    // Reformats the input after a change; returns by how many characters it grew.
    virtual int ReformatInput();
    virtual void EmptyMask();
    virtual BOOL IsInputPosition(int nPos) const;
    virtual BOOL IsInsertPosition(int nPos) const;
    // Deletes the input characters in [nStart, nEnd); returns how many.
    virtual int DeleteRange(int& nStart, int& nEnd);
    // Insert / overwrite at a text position; the position written or -1 when refused.
    virtual int InsertAt(int nPos, TCHAR ch);
    virtual int SetAt(int nPos, TCHAR ch);
    virtual int GetNextInputPosition(int nPos) const;
    virtual int GetPrevInputPosition(int nPos) const;
    // Called after a derived control changed the literals.
    virtual void OnLiteralsChanged();
    // The input characters [nFrom, nTo) as the user typed them (the numeric edit leaves out its
    // group separators, and at the end the zeros it pads the decimals with).
    virtual CString InputAsTyped(int nFrom, int nTo) const;

    // ---- Options ---------------------------------------------------------------------------
    BOOL GetInsertMode() const { return m_bInsertMode; }
    void SetInsertMode(BOOL bInsert) { m_bInsertMode = bInsert; }
    void SetTextColor(COLORREF cr)
    {
        m_crText = cr;
        RedrawColors();
    }
    void SetBackColor(COLORREF cr)
    {
        m_crBack = cr;
        RedrawColors();
    }
    void SetReadOnlyColors(COLORREF crText, COLORREF crBack)
    {
        m_crReadOnlyText = crText;
        m_crReadOnlyBack = crBack;
        RedrawColors();
    }
    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBackColor() const { return m_crBack; }
    void SetToolTipText(LPCTSTR lpszText) { m_strToolTip = lpszText ? lpszText : L""; }
    CString GetToolTipText() const { return m_strToolTip; }
    void SetChangeNotification(BOOL bNotify) { m_bChangeNotify = bNotify; }
    void SetKeepSelectionOnFocus(BOOL bKeep) { m_bKeepSelOnFocus = bKeep; }
    CFont* GetOwnFont() { return m_font.GetSafeHandle() ? &m_font : nullptr; }

    // The literals and the input as they stand.
    CString GetPrefix() const { return CString(m_prefix.c_str()); }
    CString GetSuffix() const { return CString(m_suffix.c_str()); }

    // The control colours (answer to a reflected WM_CTLCOLOREDIT / WM_CTLCOLORSTATIC): sets
    // the DC's colours and font and returns the background brush.
    virtual HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

protected:
    void PreSubclassWindow() override;

    // The window text := prefix + input + suffix (marked modified); nothing when unchanged.
    void RebuildText();
    // RebuildText, then a caret at GetNextInputPosition(nCaret) when nCaret >= 0.
    void RedrawText(int nCaret);
    void SetCaret(int nPos);
    int PrefixLength() const { return static_cast<int>(m_prefix.size()); }
    int InputLength() const { return static_cast<int>(m_input.size()); }
    int TextLength() const { return static_cast<int>(m_prefix.size() + m_input.size() + m_suffix.size()); }
    // Splits a mask into its literals; false when it has no input marker.
    static bool SplitMask(const CString& mask, std::wstring& prefix, std::wstring& suffix);
    // Whether the text would exceed the edit's length limit.
    bool OverLimit() const;
    bool IsReadOnly() const { return (GetStyle() & ES_READONLY) != 0; }
    virtual void RedrawColors();

    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnSetFocus(CWnd* pOldWnd);
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFontMsg(WPARAM wParam, LPARAM lParam);
    LRESULT OnCut(WPARAM wParam, LPARAM lParam);
    LRESULT OnClear(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
    LRESULT OnUndo(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
protected:
    // Deletes a range, moving it one character at a time (left or right) until something
    // goes or the limit is reached; the caret goes to the range's start.
    void DeleteMoving(int nStart, int nEnd, int nStep);
    // The window text minus the literals, as the new input (after the toolkit changed it).
    void TakeInputFromWindow();
    // The typed key ch refused: the beep, the tip with the hint, and the digits held back.
    void RefuseKey(TCHAR ch, const CString& hint);
    // Before a typed character is written: true when the hold refuses it (a digit); else the
    // last refusal's tip goes unless a hold keeps it.
    bool HoldsBack(TCHAR ch);
    // A deletion, a move of the caret, a text from outside: the hold and its tip go.
    void ReleaseHold();
    // A paste while the digits are held back is refused as a typed digit is; true then.
    bool HoldsBackPaste();
    // The selection holds the whole input (what is typed replaces the number).
    bool SelectionCoversInput() const;

    COLORREF m_crText;
    COLORREF m_crBack;
    CFont m_font;
    CString m_strMask;
    std::wstring m_prefix;
    std::wstring m_suffix;
    std::wstring m_input;
    BOOL m_bInsertMode = TRUE;
    CString m_strToolTip;
    int m_nSetTextDepth = 0;
    BOOL m_bChangeNotify = TRUE;
    BOOL m_bKeepSelOnFocus = FALSE;
    bool m_bSettingFont = false;
    bool m_bToolkitEcho = false; // the edit is showing our text (its notifications are ours to send)
    bool m_bInitialized = false;
    TCHAR m_chTyped = 0;      // the character being typed (0 outside typing)
    CString m_strRefusal;     // a refusal's own reason, set where it is found; said once
    bool m_bHeld = false;     // a key was refused: digits are held back
    CString m_strHeld;        // the hint of the refusal that holds them
    CString m_strTypedBefore; // while held: the entry as typed up to the caret, held keys included
    CString m_strTypedAfter;  // and after the caret
    COLORREF m_crReadOnlyBack;
    COLORREF m_crReadOnlyText;
};
