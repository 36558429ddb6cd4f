// CGridCellNumeric: a cell that holds a number beside its text and shows it in the
// locale's number (or currency) format. CInPlaceNumEdit is its editor: an in-place edit
// that refuses keystrokes that would not make a number.
#pragma once

#include "controls/grid/GridCell.h"
#include "controls/grid/InPlaceEdit.h"

class CInPlaceNumEdit : public CInPlaceEdit
{
public:
    CInPlaceNumEdit(CWnd* pParent, CRect& rect, DWORD dwStyle, UINT nID, int nRow, int nColumn, CString sInitText,
                    UINT nFirstChar, int nFlags, double dValue);
    ~CInPlaceNumEdit() override;

    // The text the editor started with (made from the value, in the locale's characters).
    const CString& GetStartText() const { return m_strStart; }
    const CString& GetLastValidText() const { return m_strLastValid; }
    // After a refused key no digit joins the number and the hint stays, until the user deletes,
    // moves the caret or types the decimal separator (so "1,5" never becomes 15). An edit that
    // ends while the hold lasts hands on no number: the cell keeps what it held.
    bool IsHoldingDigits() const { return m_bHeld; }
    // While the hold lasts: the text as the user typed it, the refused and held-back keys where
    // they were typed ("2,5").
    CString GetTypedText() const { return m_bHeld ? m_strTypedBefore + m_strTypedAfter : CString(); }
    // While the hold lasts, the message that refuses the number as typed (what: the cell's name);
    // empty otherwise.
    CString GetHeldRefusal(LPCTSTR what = nullptr) const;

protected:
    void OnTimer(UINT_PTR nIDEvent);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnEndingEdit() override;
    void OnUpdate();

    // Whether the text keeps to the characters and the sign and separator rules.
    BOOL IsValidText(const CString& str) const;
    // Why a text that breaks them was refused, as the hint beside the cell says it.
    CString RefusalHint(const CString& str) const;
    // Sets the text without checking it.
    void SetTextUnchecked(LPCTSTR text);
    // Whether ch is one of the digits the cell takes (the locale's or ASCII).
    bool IsDigitKey(TCHAR ch) const;
    // The beep, unless the cell is silent.
    void Beep() const;
    void ReleaseHold();

    DECLARE_MESSAGE_MAP()

protected:
    CString m_strLastValid = _T("0");
    BOOL m_bUpdating = FALSE;
    DWORD m_dwSel = 0;
    int m_nFlags;
    TCHAR m_chDecimal = 0;
    CString m_strAccepted;
    TCHAR m_chNegative = 0;
    int m_nNegativeMode = -1;
    CString m_strStart;
    bool m_bHeld = false;     // a key was refused: digits are held back
    CString m_strHeld;        // the hint of the refusal that holds them
    CString m_strTypedBefore; // while held: the text as typed up to the caret, held keys included
    CString m_strTypedAfter;  // and after the caret
    TCHAR m_chTyping = 0;     // the character being typed (0 outside typing)
};

class CGridCellNumeric : public CGridCell
{
    DECLARE_DYNCREATE(CGridCellNumeric)
public:
    // Flags (m_nFlags)
    static constexpr int Decimals = 1; // a decimal separator may be typed and is kept
    static constexpr int Currency = 2; // the locale's monetary separator, sign order and format
    static constexpr int Negative = 4; // negative numbers allowed
    static constexpr int Silent = 8;   // a refused keystroke does not beep

    CGridCellNumeric();
    ~CGridCellNumeric() override;

    using CGridCellBase::operator=;

    // Shows the value; TRUE when the cell now holds it (within 1e-9).
    bool SetNumber(double value);
    double GetNumber() const { return m_dNumber; }
    void SetFlags(int nFlags) { m_nFlags = nFlags; }
    int GetFlags() const { return m_nFlags; }

    // Takes the text only when it reads as a number; it is stored formatted.
    void SetText(LPCTSTR szText) override;

    BOOL Edit(int nRow, int nCol, CRect rect, CPoint point, UINT nID, UINT nChar) override;

    // Reads text as a number under the flags and formats it by the locale; on success text
    // holds the formatted number and m_dNumber the value read.
    BOOL FormatNumberText(CString& text);

public:
    int m_nFlags = 0;
    double m_dNumber = 0.0;
    NUMBERFMT* m_pNumberFormat = nullptr;
    CURRENCYFMT* m_pCurrencyFormat = nullptr;
};

namespace qor::grid {
// The locale's native digits (ten characters; "0123456789" when the query fails).
CString NativeDigits();
// The first character of a locale item, or chDefault when the query fails.
TCHAR LocaleChar(LCTYPE type, TCHAR chDefault);
// A numeric locale item, or nDefault when the query fails.
int LocaleNumber(LCTYPE type, int nDefault);
// Whether a negative mode puts negative values in parentheses.
BOOL IsParenthesisMode(BOOL bCurrency, int nMode);
} // namespace qor::grid
