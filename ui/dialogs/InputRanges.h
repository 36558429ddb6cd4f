// The ranges of the quantities the program takes as typed numbers, one range a quantity
// wherever it is typed (the settings pane, the dialogs and pages, their cells). Inside them every
// analysis result stays a finite number, exact to the decimals shown: spans of at most a
// kilometre, loads of at most 1,000 of the model's units, factors of at most 100 (10 for the
// factor of a kind of load) whose product, the overall factor, is at most 1,000. The manual
// lists them.
#pragma once

#include "engine/settings/Settings.h"
#include "platform/gui/Afx.h"

class CGridCtrl;

namespace qor::dialogs {

struct InputRange
{
    double min;
    double max;
    const wchar_t* what;   // "span length", as the refusal names the field
    const wchar_t* unit;   // "m", or empty
    bool aboveMin = false; // the range begins just above min (min itself is refused)
};

inline constexpr InputRange kSpanRange{0.1, 1000.0, L"span length", L"m"};
inline constexpr InputRange kBridgeSetStepRange{0.01, 1000.0, L"step", L"m"};
// The stepping of the moving loads: what the settings take as defaults and files may hold; a run
// that would need more positions than the engine allows is refused when it starts.
inline constexpr InputRange kStepRange{CSettings::kMinStepSize, CSettings::kMaxStepSize, L"step distance", L"m", true};
inline constexpr InputRange kStepCountRange{1.0, CSettings::kMax16, L"number of steps", L""};
inline constexpr InputRange kPositionRange{-2000.0, 2000.0, L"location of the load model", L"m"};
inline constexpr InputRange kLoadRange{-1000.0, 1000.0, L"load", L""};
inline constexpr InputRange kLoadDistanceRange{-1000.0, 1000.0, L"distance", L"m"};
inline constexpr InputRange kLoadLengthRange{0.0, 1000.0, L"length", L"m"};
inline constexpr InputRange kFactorRange{0.0, 100.0, L"factor", L""};
inline constexpr InputRange kOverallFactorRange{0.0, 1000.0, L"overall factor", L""};
inline constexpr InputRange kKindFactorRange{0.0, 10.0, L"factor", L""};
inline constexpr InputRange kMultiplierRange{0.01, 100.0, L"global multiplier", L""};
inline constexpr InputRange kOverstressRange{0.01, 100.0, L"overstress factor", L""};
inline constexpr InputRange kApplicableLengthRange{0.0, 10000.0, L"length", L"m"};
// The standard library's entries: a dynamic allowance of the engineer's own is a factor like the
// others (and above 0), HB units carry 10 kN an axle each (so at most the 1,000 of an axle
// weight). The spacings of a generated ensemble, and the step between them, are lengths of at
// most a kilometre.
inline constexpr InputRange kHBUnitsRange{1.0, 100.0, L"number of HB units", L""};
inline constexpr InputRange kSpacingRange{0.0, 1000.0, L"spacing", L"m"};

// Zero, negative and non-finite values are outside any range that does not hold them.
inline bool InRange(double value, const InputRange& range)
{
    return (range.aboveMin ? value > range.min : value >= range.min) && value <= range.max;
}

// "The span length must be from 0.1 m to 1,000 m." (what: the field's name where it differs
// from the range's own).
CString RangeRefusal(const InputRange& range, LPCTSTR what = nullptr);

// A number field that still holds back keys after a refused one ("1,5" with the comma refused)
// holds no number: "The overstress factor was typed as 1,5: use '.' for the decimal point." (what:
// the field's name). Empty for a field that holds its number as typed, and for any other window.
CString TypingRefusal(const CWnd* field, LPCTSTR what);

// Shows the refusal (exclamation, OK) when the field id holds no number as typed or value is
// outside the range, and puts the focus on the field; true when the value is the one typed and
// in the range.
bool CheckRange(CWnd& dlg, int id, double value, const InputRange& range, LPCTSTR what = nullptr);
// The same for a field whose value has no range to keep to here.
bool CheckTyping(CWnd& dlg, int id, LPCTSTR what);

// While the fields are saved: a field that holds no number as typed, or a value outside the
// range, is refused with its message, the field gets the focus and the exchange fails (OK keeps
// the dialog open).
void ValidateRange(CDataExchange* pDX, int id, double value, const InputRange& range, LPCTSTR what = nullptr);
// The same for a field whose value has no range to keep to here.
void ValidateTyping(CDataExchange* pDX, int id, LPCTSTR what);

// A value stored before (a case written by an earlier version) that is outside its range: the
// field shows it as it is, and a message says so as the dialog opens.
void SayIfStoredOutside(double value, const InputRange& range, LPCTSTR what = nullptr);

// The end of a cell's edit: a value outside the range is refused with its message and the
// cell keeps what it held (the answer -1); true when the value is in the range.
bool AcceptCell(double value, const InputRange& range, LRESULT* pResult, LPCTSTR what = nullptr);
// The same for a refusal already worded (empty: accepted).
bool AcceptCell(const CString& refusal, LRESULT* pResult);
// The same for a cell whose editor still holds back keys after a refused one (what: the cell's
// name in the message); true when the edit holds the number as typed.
bool AcceptTyping(const CGridCtrl& grid, int row, int col, LRESULT* pResult, LPCTSTR what);

} // namespace qor::dialogs
