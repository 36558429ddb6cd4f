// National-language support: locale items and number / currency formatting.
// Answers come from a fixed locale profile (en-US by default), so that what the program
// shows and what tests expect do not depend on the desktop's regional settings. Tests may
// put another profile in force (SetLocaleProfile).
#pragma once

#include "platform/core/Types.h"

#include <string>
#include <vector>

using LCID = DWORD;
using LCTYPE = DWORD;

// ---- Locale ids ------------------------------------------------------------------------------
#define LOCALE_USER_DEFAULT 0x0400u
#define LOCALE_SYSTEM_DEFAULT 0x0800u
#define LOCALE_INVARIANT 0x007Fu

// ---- Flags of an item request ------------------------------------------------------------------
#define LOCALE_NOUSEROVERRIDE 0x80000000u
#define LOCALE_USE_CP_ACP 0x40000000u
#define LOCALE_RETURN_NUMBER 0x20000000u

// ---- Items --------------------------------------------------------------------------------
#define LOCALE_SLIST 0x0000000Cu
#define LOCALE_IMEASURE 0x0000000Du
#define LOCALE_SDECIMAL 0x0000000Eu
#define LOCALE_STHOUSAND 0x0000000Fu
#define LOCALE_SGROUPING 0x00000010u
#define LOCALE_IDIGITS 0x00000011u
#define LOCALE_ILZERO 0x00000012u
#define LOCALE_SNATIVEDIGITS 0x00000013u
#define LOCALE_SCURRENCY 0x00000014u
#define LOCALE_SINTLSYMBOL 0x00000015u
#define LOCALE_SMONDECIMALSEP 0x00000016u
#define LOCALE_SMONTHOUSANDSEP 0x00000017u
#define LOCALE_SMONGROUPING 0x00000018u
#define LOCALE_ICURRDIGITS 0x00000019u
#define LOCALE_IINTLCURRDIGITS 0x0000001Au
#define LOCALE_ICURRENCY 0x0000001Bu
#define LOCALE_INEGCURR 0x0000001Cu
#define LOCALE_SPOSITIVESIGN 0x00000050u
#define LOCALE_SNEGATIVESIGN 0x00000051u
#define LOCALE_INEGNUMBER 0x00001010u
#define LOCALE_IDIGITSUBSTITUTION 0x00001014u

// Formats for GetNumberFormatW / GetCurrencyFormatW in place of the locale's.
struct NUMBERFMTW
{
    UINT NumDigits;   // decimals
    UINT LeadingZero; // 1: "0.5", 0: ".5"
    UINT Grouping;    // 0-9 digits per group, or 32 for 3 then 2 (12,34,56,789)
    LPWSTR lpDecimalSep;
    LPWSTR lpThousandSep;
    UINT NegativeOrder; // 0 (1.1), 1 -1.1, 2 - 1.1, 3 1.1-, 4 1.1 -
};
struct CURRENCYFMTW
{
    UINT NumDigits;
    UINT LeadingZero;
    UINT Grouping;
    LPWSTR lpDecimalSep;
    LPWSTR lpThousandSep;
    UINT NegativeOrder; // 0-15, the locale's LOCALE_INEGCURR values
    UINT PositiveOrder; // 0 $1.1, 1 1.1$, 2 $ 1.1, 3 1.1 $
    LPWSTR lpCurrencySymbol;
};
using NUMBERFMT = NUMBERFMTW;
using CURRENCYFMT = CURRENCYFMTW;

// The item's text into lpLCData (cchData characters with the terminator); returns the
// characters written with the terminator, the size needed when cchData is 0, and 0 for an
// unknown item or a buffer too small. With LOCALE_RETURN_NUMBER a numeric item (I...) is
// written as a DWORD into the buffer (cchData at least sizeof(DWORD) / sizeof(WCHAR)),
// and that count is returned.
int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);
int GetLocaleInfo(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData);

// lpValue: digits with an optional leading '-' and at most one '.'; anything else is an
// error (0). Rounds half away from zero to the number of decimals, groups, and applies the
// negative (and for currency the positive) order. lpFormat null: the locale's values, with
// dwFlags LOCALE_NOUSEROVERRIDE allowed; with a format, dwFlags must be 0. Returns the
// characters written with the terminator, or the size needed when cchNumber is 0; 0 when
// the buffer is too small.
int GetNumberFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const NUMBERFMTW* lpFormat, LPWSTR lpNumberStr,
                     int cchNumber);
int GetNumberFormat(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const NUMBERFMTW* lpFormat, LPWSTR lpNumberStr,
                    int cchNumber);
int GetCurrencyFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat, LPWSTR lpCurrencyStr,
                       int cchCurrency);
int GetCurrencyFormat(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat, LPWSTR lpCurrencyStr,
                      int cchCurrency);

LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();

namespace qor::gui {

// The values every locale query answers from. The default is en-US.
struct LocaleProfile
{
    std::wstring decimal = L".";
    std::wstring thousand = L",";
    std::wstring grouping = L"3;0";
    int digits = 2;
    int leadingZero = 1;
    int negativeNumber = 1;
    std::wstring negativeSign = L"-";
    std::wstring positiveSign = L"";
    std::wstring currency = L"$";
    std::wstring intlSymbol = L"USD";
    int currencyDigits = 2;
    int intlCurrencyDigits = 2;
    int currencyPosition = 0;
    int negativeCurrency = 0;
    std::wstring monDecimal = L".";
    std::wstring monThousand = L",";
    std::wstring monGrouping = L"3;0";
    std::wstring nativeDigits = L"0123456789";
    int digitSubstitution = 1;
    std::wstring list = L",";
    int measure = 1;
};

// The profile in force (en-US unless a test replaced it).
const LocaleProfile& CurrentLocaleProfile();
// Puts a profile in force for every later query; returns the previous one.
LocaleProfile SetLocaleProfile(const LocaleProfile& profile);
// Back to en-US.
void ResetLocaleProfile();

// The digit groups of a grouping text, from the integer part's right end leftwards: "3;0" threes
// throughout, "3;2;0" three then twos, "3" one group of three, "0" none. With repeat the last size
// applies to the rest, otherwise the rest stays one block.
struct DigitGrouping
{
    std::vector<int> sizes;
    bool repeat = false;
};
DigitGrouping GroupingFromText(const std::wstring& text);

} // namespace qor::gui
