// The numeric edit control.
#include "controls/edit/NumericEdit.h"

#include "platform/gui/draw/NumberText.h"
#include "platform/gui/widgets/RefusedKeyHint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>

IMPLEMENT_DYNAMIC(CNumericEdit, CMaskedEdit)

BEGIN_MESSAGE_MAP(CNumericEdit, CMaskedEdit)
ON_WM_CHAR()
ON_WM_SETTINGCHANGE()
ON_MESSAGE(WM_SETTEXT, OnSetTextNumber)
ON_MESSAGE(WM_PASTE, OnPasteNumber)
END_MESSAGE_MAP()

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// A locale item as text; false when the query fails or answers nothing.
bool LocaleText(LCTYPE type, std::wstring& out)
{
    wchar_t buf[32] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 32) <= 0 || buf[0] == 0) return false;
    out = buf;
    return true;
}

bool LocaleNumber(LCTYPE type, int& out)
{
    std::wstring text;
    if (!LocaleText(type, text)) return false;
    out = static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
    return true;
}

} // namespace

CNumericEdit::CNumericEdit() : m_crNegative(m_crText) {}

// ---- Value -------------------------------------------------------------------------------------------

BOOL CNumericEdit::SetValue(double dValue)
{
    ReleaseHold(); // a value from outside ends what the hint said
    // The fixed-point digits, rounded to the decimals.
    const int decimals = std::max(m_nDecimalDigits, 0);
    const double magnitude = std::fabs(dValue);
    std::wstring text;
    if (std::isfinite(magnitude))
    {
        const int n = std::snprintf(nullptr, 0, "%.*f", decimals, magnitude);
        std::string digits(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
        std::snprintf(digits.data(), digits.size(), "%.*f", decimals, magnitude);
        digits.resize(static_cast<std::size_t>(std::max(n, 0)));
        for (char c : digits) text += c == '.' ? m_chDecimalSeparator : static_cast<wchar_t>(c);
    }
    // A value that rounds to nothing shows without a sign.
    const bool shownZero = text.find_first_of(L"123456789") == std::wstring::npos;
    const BOOL negative = dValue < 0 && !shownZero;
    if (negative) text.insert(text.begin(), L'-');

    EmptyData(TRUE);
    const BOOL insert = m_bInsertMode;
    m_bInsertMode = TRUE;
    SetInputData(text.c_str(), 0);
    m_bInsertMode = insert;
    SetNegative(negative);
    return TRUE;
}

BOOL CNumericEdit::SetDecimalDigitCount(int nCount)
{
    if (nCount == m_nDecimalDigits) return TRUE;
    const CString input = GetInputData();
    m_nDecimalDigits = nCount;
    EmptyData(TRUE);
    SetInputData(input, 0);
    return TRUE;
}

void CNumericEdit::ResetInput(TCHAR chOldDecimal, TCHAR chOldGroup)
{
    std::wstring text;
    for (wchar_t c : m_input)
    {
        if (IsDigit(c))
            text += c;
        else if (c == chOldDecimal)
            text += m_chDecimalSeparator;
        else if (c != chOldGroup)
            text += c;
    }
    EmptyData(TRUE);
    const BOOL insert = m_bInsertMode;
    m_bInsertMode = TRUE;
    SetInputData(text.c_str(), 0);
    m_bInsertMode = insert;
}

void CNumericEdit::SetGroupSeparator(TCHAR ch)
{
    if (ch == 0 || ch == m_chDecimalSeparator || IsDigit(ch)) return;
    const TCHAR old = m_chGroupSeparator;
    m_chGroupSeparator = ch;
    ResetInput(m_chDecimalSeparator, old);
}

void CNumericEdit::SetGroupLength(int nLength)
{
    m_nGroupLength = nLength;
    ResetInput(m_chDecimalSeparator, m_chGroupSeparator);
}

void CNumericEdit::SetDecimalSeparator(TCHAR ch)
{
    if (ch == 0 || ch == m_chGroupSeparator || IsDigit(ch)) return;
    const TCHAR old = m_chDecimalSeparator;
    m_chDecimalSeparator = ch;
    ResetInput(old, m_chGroupSeparator);
}

void CNumericEdit::SetLeadingZero(BOOL bLeadingZero)
{
    m_bLeadingZero = bLeadingZero;
    ResetInput(m_chDecimalSeparator, m_chGroupSeparator);
}

void CNumericEdit::SetMaxIntegerDigits(int nMax)
{
    m_nMaxIntegerDigits = nMax;
    ResetInput(m_chDecimalSeparator, m_chGroupSeparator);
}

// ---- Formats and sign -----------------------------------------------------------------------------

BOOL CNumericEdit::SetPositiveFormat(LPCTSTR lpszFormat)
{
    CString format = lpszFormat ? lpszFormat : L"";
    if (format.Find(L"1.1") < 0) return FALSE;
    m_strPositiveFormat = format;
    SetNegative(m_bNegative);
    return TRUE;
}

BOOL CNumericEdit::SetNegativeFormat(LPCTSTR lpszFormat)
{
    CString format = lpszFormat ? lpszFormat : L"";
    if (format.Find(L"1.1") < 0) return FALSE;
    m_strNegativeFormat = format;
    SetNegative(m_bNegative);
    return TRUE;
}

int CNumericEdit::SetNegative(BOOL bNegative)
{
    m_bNegative = bNegative;
    const int oldPrefix = PrefixLength();
    std::wstring maskPrefix, maskSuffix;
    SplitMask(m_strMask, maskPrefix, maskSuffix);
    const CString& format = bNegative ? m_strNegativeFormat : m_strPositiveFormat;
    const int at = format.Find(L"1.1");
    m_prefix = maskPrefix + std::wstring(format.Left(at).GetString());
    m_suffix = std::wstring(format.Mid(at + 3).GetString()) + maskSuffix;
    OnLiteralsChanged();
    if (m_dValue != 0.0 && (m_dValue < 0) != (bNegative != FALSE)) m_dValue = -m_dValue;
    if (m_hWnd)
    {
        RebuildText();
        RedrawColors();
    }
    return PrefixLength() - oldPrefix;
}

// ---- Locale ------------------------------------------------------------------------------------------

BOOL CNumericEdit::UpdateSettings()
{
    std::wstring text;
    int number = 0;

    if (LocaleText(LOCALE_SDECIMAL, text))
    {
        const bool same = std::towlower(m_chDecimalSeparator) == std::towlower(m_chDefDecimalSeparator);
        m_chDefDecimalSeparator = text[0];
        if (same) m_chDecimalSeparator = m_chDefDecimalSeparator;
    }
    if (LocaleText(LOCALE_STHOUSAND, text))
    {
        const bool same = m_chGroupSeparator == m_chDefGroupSeparator;
        m_chDefGroupSeparator = text[0];
        if (same) m_chGroupSeparator = m_chDefGroupSeparator;
    }
    if (LocaleNumber(LOCALE_ILZERO, number))
    {
        const bool same = (m_bLeadingZero != FALSE) == (m_bDefLeadingZero != FALSE);
        m_bDefLeadingZero = number != 0;
        if (same) m_bLeadingZero = m_bDefLeadingZero;
    }
    if (LocaleText(LOCALE_SGROUPING, text))
    {
        const std::size_t cut = text.find(L";0");
        if (cut != std::wstring::npos)
        {
            const bool same = m_nGroupLength == m_nDefGroupLength;
            m_nDefGroupLength = static_cast<int>(std::wcstol(text.substr(0, cut).c_str(), nullptr, 10));
            if (same) m_nGroupLength = m_nDefGroupLength;
        }
    }
    if (LocaleNumber(LOCALE_IDIGITS, number))
    {
        const bool same = m_nDecimalDigits == m_nDefDecimalDigits;
        m_nDefDecimalDigits = number;
        if (same) m_nDecimalDigits = m_nDefDecimalDigits;
    }
    if (LocaleNumber(LOCALE_INEGNUMBER, number))
    {
        static const wchar_t* const formats[] = {L"(1.1)", L"-1.1", L"- 1.1", L"1.1-", L"1.1 -"};
        const bool same = m_strNegativeFormat.CompareNoCase(m_strDefNegativeFormat) == 0;
        if (number >= 0 && number <= 4) m_strDefNegativeFormat = formats[number];
        if (same) m_strNegativeFormat = m_strDefNegativeFormat;
    }
    // The two separators must stay apart; a clash keeps the group separator out.
    if (m_chGroupSeparator == m_chDecimalSeparator) m_chGroupSeparator = m_chDecimalSeparator == L',' ? L'.' : L',';
    return TRUE;
}

void CNumericEdit::OnSettingChange(UINT uFlags, LPCTSTR lpszSection)
{
    CEdit::OnSettingChange(uFlags, lpszSection);
    const TCHAR oldDecimal = m_chDecimalSeparator;
    const TCHAR oldGroup = m_chGroupSeparator;
    UpdateSettings();
    // The number keeps its value under the new separators.
    ResetInput(oldDecimal, oldGroup);
}

// ---- Formatting -----------------------------------------------------------------------------------

int CNumericEdit::DecimalIndex() const
{
    const std::size_t at = m_input.find(m_chDecimalSeparator);
    return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

CString CNumericEdit::GetInputData() const
{
    std::wstring text;
    for (wchar_t c : m_input)
        if (c != m_chGroupSeparator) text += c;
    return CString(text.c_str());
}

int CNumericEdit::ReformatInput()
{
    const int before = InputLength();
    bool minus = false;
    bool haveDecimal = false;
    std::wstring s;
    // 1. Digits and the rightmost decimal separator; a leading '-' marks the sign.
    for (int i = before - 1; i >= 0; --i)
    {
        const wchar_t c = m_input[static_cast<std::size_t>(i)];
        if (IsDigit(c))
        {
            s.insert(s.begin(), c);
        }
        else if (c == m_chDecimalSeparator && !haveDecimal)
        {
            haveDecimal = true;
            s.insert(s.begin(), c);
        }
        else if (i == 0 && c == L'-')
        {
            minus = true;
        }
    }
    auto decimalAt = [&]() -> std::size_t { return s.find(m_chDecimalSeparator); };
    auto integerDigits = [&]() -> std::size_t {
        const std::size_t d = decimalAt();
        return d == std::wstring::npos ? s.size() : d;
    };
    // 2. No leading zeros in front of other integer digits.
    while (integerDigits() > 1 && s[0] == L'0') s.erase(0, 1);
    // 3. Excess decimals are cut (not rounded).
    const int decimals = std::max(m_nDecimalDigits, 0);
    if (decimalAt() != std::wstring::npos)
    {
        const std::size_t keep = decimalAt() + 1 + static_cast<std::size_t>(decimals);
        if (s.size() > keep) s.resize(keep);
    }
    // 4. The cap on integer digits drops the excess from the front.
    if (m_nMaxIntegerDigits >= 0 && !s.empty() && s[0] != L'0')
    {
        const std::size_t max = static_cast<std::size_t>(m_nMaxIntegerDigits);
        if (integerDigits() > max) s.erase(0, integerDigits() - max);
    }
    // 5. Exactly the decimals asked for.
    if (decimals > 0)
    {
        if (decimalAt() == std::wstring::npos) s += m_chDecimalSeparator;
        const std::size_t have = s.size() - decimalAt() - 1;
        s.append(static_cast<std::size_t>(decimals) - std::min<std::size_t>(have, static_cast<std::size_t>(decimals)),
                 L'0');
    }
    else if (decimalAt() != std::wstring::npos)
    {
        s.erase(decimalAt());
    }
    // 6. The leading zero before the separator (a number without decimals keeps its "0").
    if (integerDigits() == 0 && (m_bLeadingZero || decimalAt() == std::wstring::npos))
        s.insert(s.begin(), L'0');
    else if (integerDigits() == 1 && s[0] == L'0' && !m_bLeadingZero && decimalAt() != std::wstring::npos)
        s.erase(0, 1);
    // 7. Digit groups.
    if (m_nGroupLength > 0)
    {
        std::size_t pos = integerDigits();
        const std::size_t group = static_cast<std::size_t>(m_nGroupLength);
        while (pos > group)
        {
            pos -= group;
            s.insert(pos, 1, m_chGroupSeparator);
        }
    }
    m_input = s;
    // 8. The value shown, before the text changes: the parent reads it on the change
    // notification, which must never see the number before the last key.
    std::string number;
    for (wchar_t c : m_input)
    {
        if (IsDigit(c))
            number += static_cast<char>(c);
        else if (c == m_chDecimalSeparator)
            number += '.';
    }
    m_dValue = number.empty() ? 0.0 : std::strtod(number.c_str(), nullptr);
    if ((minus || m_bNegative) && m_dValue != 0.0) m_dValue = -m_dValue;
    // 9. The sign (which leaves the value's sign as it is now).
    SetNegative(minus || m_bNegative);
    // 10. The text.
    if (m_hWnd) RebuildText();
    return InputLength() - before;
}

void CNumericEdit::EmptyMask()
{
    CMaskedEdit::EmptyMask();
    m_dValue = 0.0;
}

CString CNumericEdit::InputAsTyped(int nFrom, int nTo) const
{
    nFrom = std::clamp(nFrom, 0, InputLength());
    nTo = std::clamp(nTo, nFrom, InputLength());
    std::wstring typed;
    for (int i = nFrom; i < nTo; ++i)
        if (const wchar_t c = m_input[static_cast<std::size_t>(i)]; c != m_chGroupSeparator) typed += c;
    // At the end the field pads the decimals with zeros of its own, and shows its separator.
    if (nTo == InputLength() && DecimalIndex() >= 0)
    {
        while (!typed.empty() && typed.back() == L'0') typed.pop_back();
        if (!typed.empty() && typed.back() == m_chDecimalSeparator) typed.pop_back();
    }
    return CString(typed.c_str());
}

BOOL CNumericEdit::IsInputPosition(int nPos) const
{
    if (!CMaskedEdit::IsInputPosition(nPos)) return FALSE;
    const wchar_t c = m_input[static_cast<std::size_t>(nPos - PrefixLength())];
    return c != m_chDecimalSeparator && c != m_chGroupSeparator;
}

// ---- Editing ----------------------------------------------------------------------------------------

int CNumericEdit::DeleteRange(int& nStart, int& nEnd)
{
    const int prefix = PrefixLength();
    const bool fromPrefix = nStart < prefix;
    const bool toEnd = nEnd >= prefix + InputLength();
    nStart = GetNextInputPosition(nStart);
    if (nEnd < nStart) nEnd = nStart;
    auto groupsBefore = [&](int pos) {
        int n = 0;
        for (int i = 0; i < std::min(pos - PrefixLength(), InputLength()); ++i)
            if (m_input[static_cast<std::size_t>(i)] == m_chGroupSeparator) ++n;
        return n;
    };
    const int groups = groupsBefore(nStart);
    // Separators are no input positions: the base deletion keeps the decimal separator.
    const int removed = CMaskedEdit::DeleteRange(nStart, nEnd);
    if (removed == 0) return 0;
    // Everything deleted, sign included: the number is no longer negative.
    if (m_bNegative && fromPrefix && toEnd) m_bNegative = FALSE;
    const int oldPrefix = PrefixLength();
    ReformatInput();
    const int shift = (groups - groupsBefore(nStart)) - (PrefixLength() - oldPrefix);
    nStart = std::max(nStart - shift, 0);
    nEnd = std::max(nEnd - shift, 0);
    return removed;
}

int CNumericEdit::InsertAt(int nPos, TCHAR ch) { return InsertChar(nPos, ch, FALSE); }

int CNumericEdit::SetAt(int nPos, TCHAR ch) { return InsertChar(nPos, ch, TRUE); }

int CNumericEdit::InsertChar(int nPos, TCHAR ch, BOOL bOverwrite)
{
    const bool decimalKey = IsDecimalKey(ch);
    if (!IsDigit(ch) && !decimalKey && ch != L'-') return -1;

    if (ch == L'-')
    {
        const int shift = SetNegative(!m_bNegative);
        return nPos + shift - 1;
    }

    const int prefix = PrefixLength();
    const int index = std::clamp(nPos - prefix, 0, InputLength());
    const int decimal = DecimalIndex();

    if (decimalKey)
    {
        if (m_nDecimalDigits <= 0) return -1;
        if (decimal >= 0) return prefix + decimal; // the caret jumps behind the separator
        m_input += m_chDecimalSeparator;
        ReformatInput();
        return PrefixLength() + DecimalIndex();
    }

    const std::wstring before = m_input;
    auto isSeparator = [&](int i) {
        const wchar_t c = m_input[static_cast<std::size_t>(i)];
        return c == m_chDecimalSeparator || c == m_chGroupSeparator;
    };
    // Writes over the digit at i or the next one after separators; -1 when there is none.
    auto overwriteFrom = [&](int i) -> int {
        while (i < InputLength() && isSeparator(i)) ++i;
        if (i >= InputLength()) return -1;
        m_input[static_cast<std::size_t>(i)] = ch;
        return i;
    };
    auto insertAt = [&](int i) -> int {
        m_input.insert(static_cast<std::size_t>(i), 1, ch);
        return i;
    };

    int written = -1;
    if (ch == L'0' && index == 0 && InputLength() > 0 && IsInputPosition(nPos))
    {
        // No zero in front of other digits.
        ReformatInput();
        if (!m_input.empty() && (m_input[0] == L'0' || m_input[0] == m_chDecimalSeparator)) return PrefixLength();
        m_strRefusal = qor::gui::kHintLeadingZero;
        return -1;
    }
    if (!m_input.empty() && index == 0)
    {
        if (bOverwrite)
            written = m_input[0] == m_chDecimalSeparator ? insertAt(0) : overwriteFrom(0);
        else if (m_input[0] == L'0')
        {
            m_input[0] = ch;
            written = 0;
        }
    }
    else if (bOverwrite)
    {
        written = overwriteFrom(index);
    }
    if (written < 0 && !bOverwrite)
    {
        const std::wstring digits = GetInputData().GetString();
        if (decimal < 0 && digits == L"0")
        {
            m_input = std::wstring(1, ch);
            written = 0;
        }
        else if (decimal >= 0 && index > decimal)
        {
            const int have = InputLength() - decimal - 1;
            written = have < m_nDecimalDigits ? insertAt(index) : overwriteFrom(index);
        }
        else
        {
            int integerDigits = 0;
            for (int i = 0; i < (decimal >= 0 ? decimal : InputLength()); ++i)
                if (IsDigit(m_input[static_cast<std::size_t>(i)])) ++integerDigits;
            if (m_nMaxIntegerDigits >= 0 && integerDigits >= m_nMaxIntegerDigits)
            {
                written = overwriteFrom(index);
                if (written >= 0 && decimal >= 0 && written > decimal) written = -1; // never spill into the decimals
            }
            else
            {
                written = insertAt(index);
            }
        }
    }
    if (written < 0)
    {
        m_input = before;
        return -1;
    }

    // The caret stays in front of the same digits to its right.
    int right = 0;
    for (int i = written + 1; i < InputLength(); ++i)
        if (m_input[static_cast<std::size_t>(i)] != m_chGroupSeparator) ++right;
    ReformatInput();
    // A digit that takes the number past what a double holds would leave infinity as the value.
    if (OverLimit() || !std::isfinite(m_dValue))
    {
        m_input = before;
        ReformatInput();
        m_strRefusal = qor::gui::kHintNoMoreDigits;
        return -1;
    }
    int pos = InputLength();
    for (int n = 0; n < right && pos > 0;)
    {
        --pos;
        if (m_input[static_cast<std::size_t>(pos)] != m_chGroupSeparator) ++n;
    }
    while (pos > 0 && m_input[static_cast<std::size_t>(pos - 1)] == m_chGroupSeparator) --pos;
    return PrefixLength() + pos - 1;
}

// ---- Keys ----------------------------------------------------------------------------------------------

void CNumericEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const wchar_t ch = static_cast<wchar_t>(nChar);
    if (!IsReadOnly() && ch >= 0x20)
    {
        if (HoldsBack(ch)) return;
        if (ch == L'-')
        {
            // The sign toggles wherever the caret is; the caret keeps to its digits.
            int start = 0, end = 0;
            GetSel(start, end);
            const int shift = SetNegative(!m_bNegative);
            SetSel(std::max(start + shift, 0), std::max(end + shift, 0));
            return;
        }
        // A key the number cannot take changes nothing (not even a selection).
        if ((!IsDigit(ch) && !IsDecimalKey(ch)) || (IsDecimalKey(ch) && m_nDecimalDigits <= 0))
        {
            RefuseKey(ch, RefusalHint(ch));
            return;
        }
    }
    CMaskedEdit::OnChar(nChar, nRepCnt, nFlags);
}

bool CNumericEdit::ParseNumber(const CString& text, double& value) const
{
    std::wstring s = text.GetString();
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!s.empty() && blank(s.front())) s.erase(0, 1);
    while (!s.empty() && blank(s.back())) s.pop_back();
    // The sign as the formats write it: "-1.1", "- 1.1", "1.1-", "1.1 -", "(1.1)".
    bool negative = false;
    if (s.size() >= 2 && s.front() == L'(' && s.back() == L')')
    {
        negative = true;
        s = s.substr(1, s.size() - 2);
    }
    else if (!s.empty() && s.front() == L'-')
    {
        negative = true;
        s.erase(0, 1);
    }
    else if (!s.empty() && s.back() == L'-')
    {
        negative = true;
        s.pop_back();
    }
    while (!s.empty() && blank(s.front())) s.erase(0, 1);
    while (!s.empty() && blank(s.back())) s.pop_back();
    if (s.empty() || !(IsDigit(s.front()) || IsDecimalKey(s.front()))) return false;
    // The integer digits up to the decimal separator (a point too, where the point key is one).
    std::size_t cut = 0;
    while (cut < s.size() && s[cut] != m_chDecimalSeparator &&
           !(s[cut] == L'.' && m_bPointKeyAccepted && m_chGroupSeparator != L'.'))
        ++cut;
    std::wstring integer = s.substr(0, cut);
    const std::wstring rest = cut < s.size() ? s.substr(cut + 1) : std::wstring();
    // Group separators only where the grouping puts them; any other is a typing error, not a
    // separator ("1,5" is not 15).
    if (integer.find(m_chGroupSeparator) != std::wstring::npos)
    {
        if (m_nGroupLength <= 0) return false;
        const std::size_t group = static_cast<std::size_t>(m_nGroupLength);
        std::wstring digits;
        std::size_t start = 0;
        for (bool first = true;; first = false)
        {
            const std::size_t sep = integer.find(m_chGroupSeparator, start);
            const std::wstring chunk =
                integer.substr(start, sep == std::wstring::npos ? std::wstring::npos : sep - start);
            if (chunk.empty() || (first ? chunk.size() > group : chunk.size() != group) ||
                !std::all_of(chunk.begin(), chunk.end(), IsDigit))
                return false;
            digits += chunk;
            if (sep == std::wstring::npos) break;
            start = sep + 1;
        }
        integer = digits;
    }
    std::wstring plain = integer;
    if (cut < s.size()) plain += L'.' + rest;
    // What remains is plain digits, one point and an exponent ("1e6", "2.5E-3").
    for (wchar_t c : plain)
        if (!(IsDigit(c) || c == L'.' || c == L'e' || c == L'E' || c == L'+' || c == L'-')) return false;
    double v = 0.0;
    if (plain.front() == L'+' || plain.front() == L'-' || !qor::gui::ParseWholeDouble(CString(plain.c_str()), v))
        return false;
    if (m_nMaxIntegerDigits >= 0 && std::fabs(v) >= std::pow(10.0, m_nMaxIntegerDigits)) return false;
    value = negative ? -v : v;
    return true;
}

// A number from outside is taken whole or refused whole: a text that is no number (for this
// field's separators) never has characters stripped into another number.
LRESULT CNumericEdit::OnSetTextNumber(WPARAM wParam, LPARAM lParam)
{
    if (m_nSetTextDepth > 0) return OnSetText(wParam, lParam);
    const CString text = lParam ? reinterpret_cast<LPCTSTR>(lParam) : L"";
    double value = 0.0;
    if (text.IsEmpty())
    {
        m_bNegative = FALSE;
        return OnSetText(wParam, lParam);
    }
    if (!ParseNumber(text, value))
    {
        NotifyBadInput();
        return FALSE;
    }
    const BOOL saved = m_bChangeNotify;
    m_bChangeNotify = FALSE;
    SetValue(value);
    m_bChangeNotify = saved;
    return TRUE;
}

LRESULT CNumericEdit::OnPasteNumber(WPARAM, LPARAM)
{
    if (IsReadOnly() || HoldsBackPaste()) return 0;
    CString clip;
    if (!qor::GetClipboardText(clip)) return 0;
    std::wstring text = clip.GetString();
    const std::size_t nl = text.find_first_of(L"\r\n");
    if (nl != std::wstring::npos) text.resize(nl);
    // The pasted text replaces the selected part of the number; what results must be a number.
    int start = 0, end = 0;
    GetSel(start, end);
    const bool whole = start <= PrefixLength() && end >= PrefixLength() + InputLength();
    std::wstring result = text;
    if (!whole)
    {
        const int from = std::clamp(start - PrefixLength(), 0, InputLength());
        const int to = std::clamp(end - PrefixLength(), from, InputLength());
        result =
            m_input.substr(0, static_cast<std::size_t>(from)) + text + m_input.substr(static_cast<std::size_t>(to));
        if (m_bNegative) result.insert(result.begin(), L'-');
    }
    double value = 0.0;
    if (!ParseNumber(CString(result.c_str()), value))
    {
        m_strRefusal = qor::gui::kHintNotANumber;
        NotifyBadInput();
        return 0;
    }
    SetValue(value);
    SetSel(PrefixLength() + InputLength(), PrefixLength() + InputLength());
    return 0;
}

// ---- Colours ---------------------------------------------------------------------------------------------

HBRUSH CNumericEdit::CtlColor(CDC* pDC, UINT nCtlColor)
{
    HBRUSH brush = CMaskedEdit::CtlColor(pDC, nCtlColor);
    if (pDC && m_bNegative && IsWindowEnabled() && !IsReadOnly()) pDC->SetTextColor(m_crNegative);
    return brush;
}

CString CNumericEdit::RefusalHint(TCHAR ch) const
{
    int start = 0, end = 0;
    GetSel(start, end);
    if ((IsDigit(ch) || IsDecimalKey(ch)) && start == end && !IsInsertPosition(start))
        return CMaskedEdit::RefusalHint(ch);
    // The sign toggles from anywhere, so '-' is never refused; the decimal key is, without decimals.
    qor::gui::NumberKeys keys;
    keys.decimal = m_nDecimalDigits > 0 ? m_chDecimalSeparator : 0;
    keys.negative = L'-';
    return qor::gui::RefusedKeyHint(ch, keys);
}
