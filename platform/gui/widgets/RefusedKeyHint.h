// Why a number field or a numeric grid cell refused a key, said at once beside it: the same
// words in every dialog field and every cell ("Use '.' for the decimal point" for a comma).
#pragma once

#include "platform/gui/widgets/Controls.h"

namespace qor::gui {

// What a number field takes besides the digits.
struct NumberKeys
{
    TCHAR decimal = 0;        // the decimal separator; 0: whole numbers only
    TCHAR negative = 0;       // the sign; 0: no negative numbers
    bool signAfter = false;   // the sign stands after the number
    bool parentheses = false; // negative numbers may be put in parentheses
};

// The hint for the refused key ch.
CString RefusedKeyHint(TCHAR ch, const NumberKeys& keys);

// Hints for refusals that are not about the key itself.
inline constexpr const wchar_t* kHintDecimalTwice = L"The number has a decimal point already";
inline constexpr const wchar_t* kHintNoMoreDigits = L"No more digits fit in this field";
inline constexpr const wchar_t* kHintLeadingZero = L"No zero goes in front of the other digits";
inline constexpr const wchar_t* kHintNotANumber = L"That is not a number this field takes";

// The message that refuses a number typed with a refused key, at OK or at the end of a cell's edit:
// "The overstress factor was typed as 1,5: use '.' for the decimal point." (what: the field's name;
// typed: the keys as typed, the refused ones among them; hint: why the key was refused). Without a
// name it is "the number".
CString TypedRefusal(LPCTSTR what, const CString& typed, const CString& hint);

// Shows the hint in a tip just below the edit, at once (nothing for an empty hint). A hint that
// holds back the digits after a refused key stays in view until the field hides it, also while
// the focus is elsewhere.
void ShowRefusal(CEdit& edit, const CString& hint, bool stay = false);

} // namespace qor::gui
