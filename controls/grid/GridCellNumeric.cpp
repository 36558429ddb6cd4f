// The numeric cell and its filtering in-place editor.
#include "controls/grid/GridCellNumeric.h"

#include "controls/grid/GridCtrl.h"
#include "platform/gui/widgets/RefusedKeyHint.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <cwctype>
#include <vector>

IMPLEMENT_DYNCREATE(CGridCellNumeric, CGridCell)

namespace {
constexpr UINT_PTR kSelectionTimer = 1;
constexpr UINT kSelectionTimerMs = 50;

int CountOf(const CString& str, TCHAR ch)
{
    int n = 0;
    for (int i = 0; i < str.GetLength(); i++)
        if (str[i] == ch) n++;
    return n;
}
} // namespace

namespace qor::grid {

CString NativeDigits()
{
    TCHAR buf[32] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVEDIGITS, buf, 32) > 0 && std::wcslen(buf) >= 10)
        return CString(buf).Left(10);
    return CString(_T("0123456789"));
}

TCHAR LocaleChar(LCTYPE type, TCHAR chDefault)
{
    TCHAR buf[16] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 16) > 0 && buf[0]) return buf[0];
    return chDefault;
}

int LocaleNumber(LCTYPE type, int nDefault)
{
    TCHAR buf[16] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 16) <= 0 || !buf[0]) return nDefault;
    wchar_t* end = nullptr;
    const long n = std::wcstol(buf, &end, 10);
    return end == buf ? nDefault : static_cast<int>(n);
}

BOOL IsParenthesisMode(BOOL bCurrency, int nMode)
{
    if (bCurrency) return nMode == 0 || nMode == 4 || nMode == 14 || nMode == 15;
    return nMode == 0;
}

} // namespace qor::grid

using namespace qor::grid;

// ---------------------------------------------------------------------------------------
// CGridCellNumeric

CGridCellNumeric::CGridCellNumeric() = default;

CGridCellNumeric::~CGridCellNumeric() = default;

bool CGridCellNumeric::SetNumber(double value)
{
    CString str;
    str.Format(_T("%.9f"), value);
    SetText(str);
    SetState(GetState() | GVIS_MODIFIED);
    return std::fabs(m_dNumber - value) < 1e-9;
}

void CGridCellNumeric::SetText(LPCTSTR szText)
{
    CString str = szText ? szText : _T("");
    if (FormatNumberText(str)) m_strText = str;
}

BOOL CGridCellNumeric::FormatNumberText(CString& text)
{
    const BOOL bCurrency = (m_nFlags & Currency) != 0;
    const BOOL bDecimals = (m_nFlags & Decimals) != 0;
    const BOOL bNegative = (m_nFlags & Negative) != 0;

    // 1-3. The characters a number may hold in this cell.
    const CString strDigits = NativeDigits();
    CString strAccepted = strDigits;
    const TCHAR chDecimal =
        bCurrency ? LocaleChar(LOCALE_SMONDECIMALSEP, _T('.')) : LocaleChar(LOCALE_SDECIMAL, _T('.'));
    if (bCurrency) strAccepted += chDecimal;

    TCHAR chSign = 0;
    int nMode = 1;
    if (bNegative)
    {
        chSign = LocaleChar(LOCALE_SNEGATIVESIGN, _T('-'));
        strAccepted += chSign;
        nMode = LocaleNumber(bCurrency ? LOCALE_INEGCURR : LOCALE_INEGNUMBER, 1);
        if (IsParenthesisMode(bCurrency, nMode)) strAccepted += _T("()");
    }

    // What the locale's formatting itself puts into a shown number goes: white space, the
    // thousands separator and, in a currency cell, the currency symbol. A separator that is '.'
    // stays, because '.' is what a number handed over as plain text uses for its fraction.
    CString str = text;
    {
        std::wstring work;
        work.reserve(static_cast<size_t>(str.GetLength()));
        for (int i = 0; i < str.GetLength(); i++)
            if (!std::iswspace(str[i]) && str[i] != 0xA0 && str[i] != 0x202F) work += str[i];
        str = work.c_str();
        const TCHAR chThousand =
            bCurrency ? LocaleChar(LOCALE_SMONTHOUSANDSEP, _T(',')) : LocaleChar(LOCALE_STHOUSAND, _T(','));
        if (chThousand != _T('.') && chThousand != chDecimal && !std::iswspace(chThousand)) str.Remove(chThousand);
        if (bCurrency)
        {
            TCHAR symbol[16] = {};
            if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, symbol, 16) > 0 && symbol[0])
                str.Replace(symbol, _T(""));
        }
    }

    // A sign on a cell that takes no negative numbers is dropped where a formatted number
    // carries it (in front or behind); anywhere else it makes no number.
    if (!bNegative)
    {
        const TCHAR chMinus = LocaleChar(LOCALE_SNEGATIVESIGN, _T('-'));
        if (!str.IsEmpty() && str[0] == chMinus)
            str.Delete(0, 1);
        else if (!str.IsEmpty() && str[str.GetLength() - 1] == chMinus)
            str.Delete(str.GetLength() - 1, 1);
    }

    // 4. The decimal separator becomes '.'; without decimals the fraction goes, but only a
    // fraction of digits: "1.5E+03" is no whole number with a fraction to drop.
    if (bDecimals || bCurrency)
    {
        if (chDecimal != _T('.')) str.Replace(CString(chDecimal), CString(_T('.')));
        strAccepted += _T('.');
    }
    else
    {
        const int nDot = str.Find(_T('.'));
        if (nDot >= 0)
        {
            for (int i = nDot + 1; i < str.GetLength(); i++)
                if (strDigits.Find(str[i]) < 0 && !(str[i] >= _T('0') && str[i] <= _T('9'))) return FALSE;
            str = str.Left(nDot);
        }
    }

    // 5. Any other character is foreign to the number: the text is refused, not rewritten.
    // Native digits become ASCII digits; ASCII digits are taken in every locale, as numbers
    // handed over as plain text have them.
    std::wstring work(str.GetString());
    for (wchar_t& ch : work)
    {
        if (ch >= L'0' && ch <= L'9') continue;
        if (strAccepted.Find(ch) < 0) return FALSE;
        const int nDigit = strDigits.Find(ch);
        if (nDigit >= 0) ch = static_cast<wchar_t>(L'0' + nDigit);
    }
    str = work.c_str();

    // 6. A sign (or parentheses) makes the number negative. A sign that is repeated or sits
    // inside the digits, or parentheses that are repeated, do not make a number.
    if (bNegative)
    {
        const int nSigns = CountOf(str, chSign);
        const int nOpen = CountOf(str, _T('('));
        const int nClose = CountOf(str, _T(')'));
        if (nSigns > 1 || nOpen > 1 || nClose > 1) return FALSE;
        // Parentheses wrap the number; the closing one may still be missing while typing.
        if ((nOpen > 0 && str[0] != _T('(')) || (nClose > 0 && str[str.GetLength() - 1] != _T(')'))) return FALSE;
        if (nSigns == 1)
        {
            const int nAt = str.Find(chSign);
            if (nAt != 0 && nAt != str.GetLength() - 1) return FALSE;
        }
        if (nSigns > 0 || (nMode == 0 && (nOpen > 0 || nClose > 0)))
        {
            str.Remove(chSign);
            str.Remove(_T('('));
            str.Remove(_T(')'));
            str = _T("-") + str;
        }
    }

    // 7. It must read as a number, all of it.
    if (str.IsEmpty()) return FALSE;
    wchar_t* end = nullptr;
    const double dValue = std::wcstod(str.GetString(), &end);
    if (!end || end == str.GetString() || *end != L'\0') return FALSE;

    // 8. The locale's format.
    TCHAR buf[256] = {};
    int nLen = bCurrency ? ::GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, str.GetString(), m_pCurrencyFormat, buf, 256)
                         : ::GetNumberFormatW(LOCALE_USER_DEFAULT, 0, str.GetString(), m_pNumberFormat, buf, 256);
    if (nLen <= 0) return FALSE;
    CString strFormatted = buf;

    // 9. Whole numbers show no fraction.
    if (!bDecimals && !bCurrency)
    {
        const TCHAR chNumDecimal = LocaleChar(LOCALE_SDECIMAL, _T('.'));
        const int nAt = strFormatted.Find(chNumDecimal);
        if (nAt >= 0)
        {
            int nEnd = nAt + 1;
            while (nEnd < strFormatted.GetLength() && strFormatted[nEnd] == strDigits[0]) nEnd++;
            strFormatted.Delete(nAt, nEnd - nAt);
        }
    }

    // 10.
    m_dNumber = dValue;
    text = strFormatted;
    return TRUE;
}

BOOL CGridCellNumeric::Edit(int nRow, int nCol, CRect rect, CPoint, UINT nID, UINT nChar)
{
    if (m_bEditing)
    {
        // An editor is open: the character goes to it, no second editor.
        if (m_pEditWnd) m_pEditWnd->SendMessage(WM_CHAR, nChar);
        return TRUE;
    }
    m_bEditing = TRUE;
    return AttachEditor(
        new CInPlaceNumEdit(GetGrid(), rect, 0, nID, nRow, nCol, GetText(), nChar, m_nFlags, m_dNumber));
}

// ---------------------------------------------------------------------------------------
// CInPlaceNumEdit

BEGIN_MESSAGE_MAP(CInPlaceNumEdit, CInPlaceEdit)
ON_WM_TIMER()
ON_WM_CHAR()
ON_WM_KEYDOWN()
ON_WM_LBUTTONDOWN()
ON_CONTROL_REFLECT(EN_UPDATE, OnUpdate)
END_MESSAGE_MAP()

CInPlaceNumEdit::CInPlaceNumEdit(CWnd* pParent, CRect& rect, DWORD, UINT nID, int nRow, int nColumn, CString sInitText,
                                 UINT nFirstChar, int nFlags, double dValue)
    : CInPlaceEdit(pParent, rect, 0, nID, nRow, nColumn, sInitText, nFirstChar), m_nFlags(nFlags)
{
    if (!::IsWindow(GetSafeHwnd())) return;

    const BOOL bCurrency = (m_nFlags & CGridCellNumeric::Currency) != 0;
    const BOOL bDecimals = (m_nFlags & CGridCellNumeric::Decimals) != 0;
    const BOOL bNegative = (m_nFlags & CGridCellNumeric::Negative) != 0;

    // 2. The characters that may be typed.
    const CString strDigits = NativeDigits();
    m_strAccepted = strDigits;
    if (bCurrency)
        m_chDecimal = LocaleChar(LOCALE_SMONDECIMALSEP, _T('.'));
    else if (bDecimals)
        m_chDecimal = LocaleChar(LOCALE_SDECIMAL, _T('.'));
    if (m_chDecimal) m_strAccepted += m_chDecimal;
    if (bNegative)
    {
        m_chNegative = LocaleChar(LOCALE_SNEGATIVESIGN, _T('-'));
        m_strAccepted += m_chNegative;
        m_nNegativeMode = LocaleNumber(bCurrency ? LOCALE_INEGCURR : LOCALE_INEGNUMBER, 1);
        if (IsParenthesisMode(bCurrency, m_nNegativeMode)) m_strAccepted += _T("()");
    }

    // 3.
    const BOOL bLeadingZero = LocaleNumber(LOCALE_ILZERO, 1) != 0;

    // 4. The text to edit comes from the value.
    CString str;
    str.Format(_T("%.9f"), dValue);
    str.TrimRight(_T('0'));
    str.TrimRight(_T('.'));
    str.Remove(_T('-'));
    if (!bLeadingZero && str.GetLength() > 1 && str[0] == _T('0')) str.Delete(0, 1);
    if (m_chDecimal) str.Replace(CString(_T('.')), CString(m_chDecimal));

    // 5. The sign where the locale puts it. A cell that takes no negative numbers shows the
    // size of the value (it cannot keep a sign anyway).
    if (dValue < 0 && bNegative)
    {
        if (m_nNegativeMode == 0)
            str = _T("(") + str + _T(")");
        else if (m_nNegativeMode < 3)
            str = CString(m_chNegative) + str;
        else
            str += m_chNegative;
    }

    // 6. The locale's digits.
    for (int i = 0; i < str.GetLength(); i++)
    {
        const TCHAR ch = str[i];
        if (ch >= _T('0') && ch <= _T('9')) str.SetAt(i, strDigits[ch - _T('0')]);
    }

    // 7. Room for the text.
    const int cx = TextWidth(GetFont(), str + _T("      "));
    if (cx > m_Rect.Width())
    {
        CRect parentRect;
        pParent->GetClientRect(parentRect);
        CRect rectNew = m_Rect;
        rectNew.right = std::min(rectNew.left + cx, static_cast<int>(parentRect.right));
        if (rectNew.right > m_Rect.right)
        {
            m_Rect = rectNew;
            MoveWindow(m_Rect);
        }
    }

    // 8.
    m_strStart = str;
    SetTextUnchecked(str);
    m_strLastValid = str;
    SetSel(0, -1);
    m_dwSel = GetSel();
    SetTimer(kSelectionTimer, kSelectionTimerMs, nullptr);
}

CInPlaceNumEdit::~CInPlaceNumEdit() = default;

void CInPlaceNumEdit::SetTextUnchecked(LPCTSTR text)
{
    const BOOL bWas = m_bUpdating;
    m_bUpdating = TRUE;
    SetWindowText(text);
    m_bUpdating = bWas;
}

void CInPlaceNumEdit::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kSelectionTimer)
    {
        m_dwSel = GetSel();
        return;
    }
    CInPlaceEdit::OnTimer(nIDEvent);
}

bool CInPlaceNumEdit::IsDigitKey(TCHAR ch) const
{
    return (ch >= _T('0') && ch <= _T('9')) || NativeDigits().Find(ch) >= 0;
}

void CInPlaceNumEdit::Beep() const
{
    if (!(m_nFlags & CGridCellNumeric::Silent)) ::MessageBeep(0);
}

CString CInPlaceNumEdit::GetHeldRefusal(LPCTSTR what) const
{
    return m_bHeld ? qor::gui::TypedRefusal(what, GetTypedText(), m_strHeld) : CString();
}

void CInPlaceNumEdit::ReleaseHold()
{
    if (!m_bHeld) return;
    m_bHeld = false;
    m_strHeld.Empty();
    m_strTypedBefore.Empty();
    m_strTypedAfter.Empty();
    HideBalloonTip();
}

void CInPlaceNumEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // Deleting and moving the caret end a refusal's hold.
    if (nChar == VK_DELETE || nChar == VK_HOME || nChar == VK_END || nChar == VK_LEFT || nChar == VK_RIGHT ||
        nChar == VK_UP || nChar == VK_DOWN)
        ReleaseHold();
    // The caret before the key, to go back to if the key spoils the number.
    m_dwSel = GetSel();
    CInPlaceEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CInPlaceNumEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    ReleaseHold();
    CInPlaceEdit::OnLButtonDown(nFlags, point);
}

void CInPlaceNumEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE)
    {
        // Putting the starting text back is not checked, and leaves nothing refused.
        ReleaseHold();
        m_bUpdating = TRUE;
        CInPlaceEdit::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    if (m_bHeld)
    {
        const TCHAR ch = static_cast<TCHAR>(nChar);
        // After a refused key the digits typed next would join the number as if it had not been
        // there ("1,5" as 15): they, and a paste, are refused while the hint stays in view.
        int start = 0, end = 0;
        GetSel(start, end);
        const bool replacesAll = start == 0 && start != end && end >= GetWindowTextLength();
        if ((IsDigitKey(ch) || ch == 0x16) && !replacesAll)
        {
            if (ch != 0x16) m_strTypedBefore += ch;
            Beep();
            qor::gui::ShowRefusal(*this, m_strHeld, true);
            return;
        }
        if (replacesAll || ch == 0x08 || ch == 0x18 || ch == 0x1A || ch == 0x01 || (m_chDecimal && ch == m_chDecimal))
            ReleaseHold();
    }
    m_dwSel = GetSel();
    m_chTyping = nChar >= 0x20 ? static_cast<TCHAR>(nChar) : 0;
    CInPlaceEdit::OnChar(nChar, nRepCnt, nFlags);
    m_chTyping = 0;
}

void CInPlaceNumEdit::OnEndingEdit()
{
    CString str;
    GetWindowText(str);
    if (str.IsEmpty())
        SetTextUnchecked(CString(NativeDigits()[0]));
    else if (str == m_strStart && !m_sInitText.IsEmpty())
    {
        // Nothing was changed: the cell gets its own text back, so it is not modified.
        SetTextUnchecked(m_sInitText);
    }
}

BOOL CInPlaceNumEdit::IsValidText(const CString& str) const
{
    for (int i = 0; i < str.GetLength(); i++)
        if (m_strAccepted.Find(str[i]) < 0) return FALSE;

    if (m_nFlags & CGridCellNumeric::Negative)
    {
        const int nSigns = m_chNegative ? CountOf(str, m_chNegative) : 0;
        if (m_nNegativeMode == 0)
        {
            const int nOpen = CountOf(str, _T('('));
            const int nClose = CountOf(str, _T(')'));
            if (nOpen > 0 && (str[0] != _T('(') || nOpen > 1 || nSigns > 0)) return FALSE;
            if (nClose > 1 || (nClose > 0 && nSigns > 0)) return FALSE;
        }
        if (m_nNegativeMode < 3)
        {
            if (nSigns > 0 && (str[0] != m_chNegative || nSigns > 1)) return FALSE;
        }
        else if (nSigns > 0 && str.Find(m_chNegative) != str.GetLength() - 1)
            return FALSE;
    }

    if ((m_nFlags & (CGridCellNumeric::Decimals | CGridCellNumeric::Currency)) && m_chDecimal &&
        CountOf(str, m_chDecimal) > 1)
        return FALSE;
    return TRUE;
}

void CInPlaceNumEdit::OnUpdate()
{
    if (m_bUpdating) return;

    CString str;
    GetWindowText(str);
    if (IsValidText(str))
    {
        m_strLastValid = str;
        if (!m_bHeld)
            HideBalloonTip();
        else if (m_chTyping)
            m_strTypedBefore += m_chTyping; // a key the hold lets through (a sign) is typed too
        return;
    }

    m_bUpdating = TRUE;
    Beep();
    // A beep goes unheard on a desktop without sound: the reason shows beside the cell at once.
    // It holds back the digits that follow, but for a second decimal separator: the digits
    // after it belong behind the one there is.
    const CString hint = RefusalHint(str);
    const bool wasHeld = m_bHeld;
    m_bHeld = hint != qor::gui::kHintDecimalTwice;
    m_strHeld = m_bHeld ? hint : CString();
    // The text as typed, for the refusal as the edit ends: the refused text with the caret behind
    // what was typed; later refused keys go where the caret was.
    if (!m_bHeld)
    {
        m_strTypedBefore.Empty();
        m_strTypedAfter.Empty();
    }
    else if (!wasHeld)
    {
        int start = 0, end = 0;
        GetSel(start, end);
        m_strTypedBefore = str.Left(end);
        m_strTypedAfter = str.Mid(end);
    }
    else if (m_chTyping)
    {
        m_strTypedBefore += m_chTyping;
    }
    qor::gui::ShowRefusal(*this, hint, m_bHeld);
    SetWindowText(m_strLastValid);
    SetSel(m_dwSel);
    m_bUpdating = FALSE;
}

CString CInPlaceNumEdit::RefusalHint(const CString& str) const
{
    qor::gui::NumberKeys keys;
    keys.decimal = m_chDecimal;
    keys.negative = m_chNegative;
    keys.signAfter = m_chNegative && m_nNegativeMode >= 3;
    keys.parentheses = m_chNegative && m_strAccepted.Find(_T('(')) >= 0;
    // A character the cell does not take; else the sign or the separator out of place.
    for (int i = 0; i < str.GetLength(); i++)
        if (m_strAccepted.Find(str[i]) < 0) return qor::gui::RefusedKeyHint(str[i], keys);
    if (m_chDecimal && CountOf(str, m_chDecimal) > 1) return qor::gui::kHintDecimalTwice;
    if (m_chNegative && (CountOf(str, _T('(')) > 0 || CountOf(str, _T(')')) > 0) && CountOf(str, m_chNegative) == 0)
        return qor::gui::RefusedKeyHint(_T('('), keys);
    return qor::gui::RefusedKeyHint(m_chNegative ? m_chNegative : _T('-'), keys);
}
