// The numeric edit of the dialogs: a masked edit that keeps a double value in step with its
// text, formats the digits as they are typed (grouping, a fixed number of decimals, a
// leading zero, an optional cap on the integer digits), shows the sign through literal
// text around the digits ("-1.1", "(1.1)" ...), paints negative values in their own colour,
// and follows the locale's separators, grouping, decimals, leading zero and negative format
// unless the program has set that option itself.
#pragma once

#include "controls/edit/MaskedEdit.h"

class CNumericEdit : public CMaskedEdit
{
    DECLARE_DYNAMIC(CNumericEdit)
public:
    CNumericEdit();

    // The value shown (rounded to the decimals); read by the dialogs after editing.
    double m_dValue = 0.0;

    BOOL SetValue(double dValue);
    double GetValue() const { return m_dValue; }
    // Pads the shown number with zeros or cuts it to the new count.
    BOOL SetDecimalDigitCount(int nCount);
    int GetDecimalDigitCount() const { return m_nDecimalDigits; }

    // The options; each reformats the number shown.
    void SetGroupSeparator(TCHAR ch);
    TCHAR GetGroupSeparator() const { return m_chGroupSeparator; }
    void SetGroupLength(int nLength);
    int GetGroupLength() const { return m_nGroupLength; }
    void SetDecimalSeparator(TCHAR ch);
    TCHAR GetDecimalSeparator() const { return m_chDecimalSeparator; }
    void SetLeadingZero(BOOL bLeadingZero);
    BOOL GetLeadingZero() const { return m_bLeadingZero; }
    void SetMaxIntegerDigits(int nMax);
    int GetMaxIntegerDigits() const { return m_nMaxIntegerDigits; }
    void SetNegativeColor(COLORREF cr)
    {
        m_crNegative = cr;
        RedrawColors();
    }
    COLORREF GetNegativeColor() const { return m_crNegative; }
    void SetPointKeyAccepted(BOOL bAccepted) { m_bPointKeyAccepted = bAccepted; }
    BOOL GetPointKeyAccepted() const { return m_bPointKeyAccepted; }
    CString GetNegativeFormat() const { return m_strNegativeFormat; }
    CString GetPositiveFormat() const { return m_strPositiveFormat; }
    BOOL IsNegative() const { return m_bNegative; }

    // ---- Refinements of the masked edit ---------------------------------------------------
    CString GetInputData() const override;
    BOOL UpdateSettings() override;
    int ReformatInput() override;
    void EmptyMask() override;
    BOOL IsInputPosition(int nPos) const override;
    int DeleteRange(int& nStart, int& nEnd) override;
    int InsertAt(int nPos, TCHAR ch) override;
    int SetAt(int nPos, TCHAR ch) override;
    HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) override;
    CString RefusalHint(TCHAR ch) const override;
    CString InputAsTyped(int nFrom, int nTo) const override;
    bool ReleasesHold(TCHAR ch) const override { return IsDecimalKey(ch) && m_nDecimalDigits > 0; }

    // Formats holding "1.1" where the digits go; FALSE (nothing changes) without it.
    virtual BOOL SetPositiveFormat(LPCTSTR lpszFormat);
    virtual BOOL SetNegativeFormat(LPCTSTR lpszFormat);
    // Sets the sign and rebuilds the literals; returns the change in prefix length.
    virtual int SetNegative(BOOL bNegative);
    // Every typed character: the position after which the caret goes, or -1 to refuse.
    virtual int InsertChar(int nPos, TCHAR ch, BOOL bOverwrite);

    // The number a whole text writes for this field's separators and formats (group separators
    // only where the grouping puts them, an exponent allowed); false when the text is no number,
    // is not finite or has more integer digits than the field takes.
    bool ParseNumber(const CString& text, double& value) const;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
    LRESULT OnSetTextNumber(WPARAM wParam, LPARAM lParam);
    LRESULT OnPasteNumber(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
protected:
    bool IsDecimalKey(TCHAR ch) const { return ch == m_chDecimalSeparator || (ch == L'.' && m_bPointKeyAccepted); }
    // Sets the input again after the separators changed from (oldDecimal, oldGroup).
    void ResetInput(TCHAR chOldDecimal, TCHAR chOldGroup);
    int DecimalIndex() const;

    TCHAR m_chGroupSeparator = L',';
    int m_nGroupLength = 3;
    TCHAR m_chDecimalSeparator = L'.';
    BOOL m_bLeadingZero = TRUE;
    int m_nDecimalDigits = 2;
    int m_nMaxIntegerDigits = -1;
    CString m_strNegativeFormat = L"-1.1";
    CString m_strPositiveFormat = L"1.1";
    COLORREF m_crNegative;
    BOOL m_bNegative = FALSE;
    BOOL m_bPointKeyAccepted = TRUE;

    TCHAR m_chDefGroupSeparator = L',';
    int m_nDefGroupLength = 3;
    TCHAR m_chDefDecimalSeparator = L'.';
    BOOL m_bDefLeadingZero = TRUE;
    int m_nDefDecimalDigits = 2;
    int m_nDefMaxIntegerDigits = -1;
    CString m_strDefNegativeFormat = L"-1.1";
    CString m_strDefPositiveFormat = L"1.1";
};
