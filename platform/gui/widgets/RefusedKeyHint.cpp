// The words of a number field's refusal of a key, and the tip that shows them.
#include "platform/gui/widgets/RefusedKeyHint.h"

#include <cwctype>

namespace qor::gui {

namespace {

bool IsDigit(TCHAR c) { return c >= L'0' && c <= L'9'; }

// A key that someone means as a decimal point.
bool LooksDecimal(TCHAR c) { return c == L'.' || c == L',' || c == 0x066B || c == 0x00B7; }

CString Quoted(TCHAR c)
{
    CString s;
    s.Format(L"'%c'", c);
    return s;
}

} // namespace

CString RefusedKeyHint(TCHAR ch, const NumberKeys& keys)
{
    CString hint;
    if (LooksDecimal(ch) || ch == keys.decimal)
    {
        if (!keys.decimal) return L"This field takes whole numbers only";
        if (ch == keys.decimal) return kHintDecimalTwice;
        hint.Format(L"Use %s for the decimal point", Quoted(keys.decimal).GetString());
        return hint;
    }
    if (ch == L'-' || ch == L'(' || ch == L')' || (keys.negative && ch == keys.negative))
    {
        if (!keys.negative) return L"This field takes no negative numbers";
        if (keys.parentheses && (ch == L'(' || ch == L')'))
            return L"Put a negative number in parentheses, or type the sign in front";
        hint.Format(keys.signAfter ? L"The %s sign goes after the number" : L"The %s sign goes in front of the number",
                    Quoted(keys.negative).GetString());
        return hint;
    }
    if (ch == L'+') return L"Type the number without a '+' sign";
    if (ch == L' ' || ch == 0xA0) return L"Type the number without spaces";
    if (IsDigit(ch)) return kHintNoMoreDigits;
    // Anything else: say what the field takes.
    if (keys.decimal && keys.negative)
        hint.Format(L"Only digits, %s and %s can be typed here", Quoted(keys.decimal).GetString(),
                    Quoted(keys.negative).GetString());
    else if (keys.decimal)
        hint.Format(L"Only digits and %s can be typed here", Quoted(keys.decimal).GetString());
    else if (keys.negative)
        hint.Format(L"Only digits and %s can be typed here", Quoted(keys.negative).GetString());
    else
        hint = L"Only digits can be typed here";
    return hint;
}

CString TypedRefusal(LPCTSTR what, const CString& typed, const CString& hint)
{
    if (!what) what = L"number";
    // The hint is said on its own as a sentence; here it follows a colon.
    CString reason = hint;
    if (!reason.IsEmpty()) reason.SetAt(0, static_cast<wchar_t>(std::towlower(reason[0])));
    CString text;
    text.Format(L"The %s was typed as %s: %s.", what, typed.GetString(), reason.GetString());
    return text;
}

void ShowRefusal(CEdit& edit, const CString& hint, bool stay)
{
    if (!hint.IsEmpty() && edit.m_hWnd) ShowEditBalloon(edit.m_hWnd, CString(), hint, stay);
}

} // namespace qor::gui
