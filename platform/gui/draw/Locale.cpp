// National-language support over a fixed locale profile.
#include "platform/gui/draw/Locale.h"

#include "platform/gui/draw/LocaleFormInternal.h"

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace qor::gui {
namespace {

LocaleProfile& Profile()
{
    static LocaleProfile profile;
    return profile;
}

} // namespace

const LocaleProfile& CurrentLocaleProfile() { return Profile(); }

LocaleProfile SetLocaleProfile(const LocaleProfile& profile)
{
    LocaleProfile previous = Profile();
    Profile() = profile;
    return previous;
}

void ResetLocaleProfile() { Profile() = LocaleProfile(); }

DigitGrouping GroupingFromText(const std::wstring& text)
{
    DigitGrouping g;
    std::size_t start = 0;
    while (start <= text.size())
    {
        std::size_t end = text.find(L';', start);
        if (end == std::wstring::npos) end = text.size();
        int n = 0;
        for (std::size_t i = start; i < end; ++i)
            if (text[i] >= L'0' && text[i] <= L'9') n = n * 10 + (text[i] - L'0');
        g.sizes.push_back(n);
        start = end + 1;
    }
    if (!g.sizes.empty() && g.sizes.back() == 0)
    {
        g.sizes.pop_back();
        g.repeat = true;
    }
    return g;
}

std::size_t GroupBlocks(std::size_t nDigits, const DigitGrouping& grouping, std::size_t* blocks)
{
    if (nDigits == 0) return 0;
    const std::vector<int>& sizes = grouping.sizes;
    if (sizes.empty() || sizes.front() <= 0)
    {
        blocks[0] = nDigits;
        return 1;
    }
    std::size_t n = 0;
    for (std::size_t end = nDigits, index = 0; end > 0; ++index)
    {
        int size = 0;
        if (index < sizes.size())
            size = sizes[index];
        else if (grouping.repeat)
            size = sizes.back();
        if (size <= 0 || static_cast<std::size_t>(size) >= end)
        {
            blocks[n++] = end;
            break;
        }
        blocks[n++] = static_cast<std::size_t>(size);
        end -= static_cast<std::size_t>(size);
    }
    return n;
}

NumberAffixes AffixesOf(bool currency, bool negative, unsigned order, const std::wstring& symbol,
                        const std::wstring& sign)
{
    const std::wstring& s = symbol;
    const std::wstring& m = sign;
    NumberAffixes a;
    std::wstring& before = a.prefix;
    std::wstring& after = a.suffix;
    if (!currency)
    {
        if (!negative) return a;
        switch (order)
        {
        case 0: before = L"(", after = L")"; break;
        case 1: before = m; break;
        case 2: before = m + L" "; break;
        case 3: after = m; break;
        case 4: after = L" " + m; break;
        }
        return a;
    }
    if (!negative)
    {
        switch (order)
        {
        case 0: before = s; break;
        case 1: after = s; break;
        case 2: before = s + L" "; break;
        case 3: after = L" " + s; break;
        }
        return a;
    }
    switch (order)
    {
    case 0: before = L"(" + s, after = L")"; break;
    case 1: before = m + s; break;
    case 2: before = s + m; break;
    case 3: before = s, after = m; break;
    case 4: before = L"(", after = s + L")"; break;
    case 5: before = m, after = s; break;
    case 6: after = m + s; break;
    case 7: after = s + m; break;
    case 8: before = m, after = L" " + s; break;
    case 9: before = m + s + L" "; break;
    case 10: after = L" " + s + m; break;
    case 11: before = s + L" ", after = m; break;
    case 12: before = s + L" " + m; break;
    case 13: after = m + L" " + s; break;
    case 14: before = L"(" + s + L" ", after = L")"; break;
    case 15: before = L"(", after = L" " + s + L")"; break;
    }
    return a;
}

} // namespace qor::gui

namespace {

using qor::gui::LocaleProfile;

// Copies text (with its terminator) into the caller's buffer by the national-language
// rules: 0 characters asked = the size needed; too small = 0.
int CopyOut(const std::wstring& text, LPWSTR out, int cch)
{
    const int needed = static_cast<int>(text.size()) + 1;
    if (cch < 0 || (cch > 0 && out == nullptr)) return 0;
    if (cch == 0) return needed;
    if (cch < needed) return 0;
    std::wmemcpy(out, text.c_str(), text.size() + 1);
    return needed;
}

bool NumberItem(const LocaleProfile& p, LCTYPE item, int& value)
{
    switch (item)
    {
    case LOCALE_IMEASURE: value = p.measure; return true;
    case LOCALE_IDIGITS: value = p.digits; return true;
    case LOCALE_ILZERO: value = p.leadingZero; return true;
    case LOCALE_ICURRDIGITS: value = p.currencyDigits; return true;
    case LOCALE_IINTLCURRDIGITS: value = p.intlCurrencyDigits; return true;
    case LOCALE_ICURRENCY: value = p.currencyPosition; return true;
    case LOCALE_INEGCURR: value = p.negativeCurrency; return true;
    case LOCALE_INEGNUMBER: value = p.negativeNumber; return true;
    case LOCALE_IDIGITSUBSTITUTION: value = p.digitSubstitution; return true;
    default: return false;
    }
}

bool TextItem(const LocaleProfile& p, LCTYPE item, std::wstring& text)
{
    switch (item)
    {
    case LOCALE_SLIST: text = p.list; return true;
    case LOCALE_SDECIMAL: text = p.decimal; return true;
    case LOCALE_STHOUSAND: text = p.thousand; return true;
    case LOCALE_SGROUPING: text = p.grouping; return true;
    case LOCALE_SNATIVEDIGITS: text = p.nativeDigits; return true;
    case LOCALE_SCURRENCY: text = p.currency; return true;
    case LOCALE_SINTLSYMBOL: text = p.intlSymbol; return true;
    case LOCALE_SMONDECIMALSEP: text = p.monDecimal; return true;
    case LOCALE_SMONTHOUSANDSEP: text = p.monThousand; return true;
    case LOCALE_SMONGROUPING: text = p.monGrouping; return true;
    case LOCALE_SPOSITIVESIGN: text = p.positiveSign; return true;
    case LOCALE_SNEGATIVESIGN: text = p.negativeSign; return true;
    default: return false;
    }
}

using Grouping = qor::gui::DigitGrouping;
using qor::gui::GroupingFromText;

// The format record's number: its decimal digits are the group sizes, the last repeating
// (3 = threes, 32 = three then twos, 0 = none).
Grouping GroupingFromNumber(UINT n)
{
    Grouping g;
    g.repeat = true;
    const std::wstring digits = std::to_wstring(n);
    for (wchar_t c : digits) g.sizes.push_back(c - L'0');
    while (!g.sizes.empty() && g.sizes.back() == 0) g.sizes.pop_back();
    return g;
}

std::wstring Group(const std::wstring& integer, const Grouping& g, const std::wstring& sep)
{
    std::vector<std::size_t> blocks(integer.size());
    const std::size_t n = qor::gui::GroupBlocks(integer.size(), g, blocks.data());
    std::wstring out;
    std::size_t at = 0;
    for (std::size_t b = n; b-- > 0;)
    {
        out.append(integer, at, blocks[b]);
        at += blocks[b];
        if (b > 0) out += sep;
    }
    return out;
}

// The common part of a number and a currency amount: the digits (integer part without
// leading zeros, rounded fraction), and the sign. False for a value the rules refuse.
struct Digits
{
    std::wstring integer;
    std::wstring fraction;
    bool negative = false;
};

bool ParseAndRound(LPCWSTR value, UINT numDigits, Digits& d)
{
    if (value == nullptr) return false;
    const wchar_t* s = value;
    if (*s == L'-')
    {
        d.negative = true;
        ++s;
    }
    std::wstring integer, fraction;
    bool point = false;
    for (; *s; ++s)
    {
        if (*s >= L'0' && *s <= L'9')
            (point ? fraction : integer) += *s;
        else if (*s == L'.' && !point)
            point = true;
        else
            return false;
    }
    if (integer.empty() && fraction.empty()) return false;

    // Round half away from zero at numDigits decimals, carrying into the integer part.
    if (fraction.size() > numDigits)
    {
        const bool up = fraction[numDigits] >= L'5';
        fraction.resize(numDigits);
        if (up)
        {
            std::wstring all = integer + fraction;
            int i = static_cast<int>(all.size()) - 1;
            for (; i >= 0; --i)
            {
                if (all[i] == L'9')
                {
                    all[i] = L'0';
                }
                else
                {
                    ++all[i];
                    break;
                }
            }
            if (i < 0) all.insert(all.begin(), L'1');
            integer = all.substr(0, all.size() - numDigits);
            fraction = all.substr(all.size() - numDigits);
        }
    }
    fraction.append(numDigits - fraction.size(), L'0');

    std::size_t first = integer.find_first_not_of(L'0');
    integer = first == std::wstring::npos ? std::wstring() : integer.substr(first);

    // No "negative zero": a value that rounds to nothing shows without a sign.
    if (integer.empty() && fraction.find_first_not_of(L'0') == std::wstring::npos) d.negative = false;
    d.integer = integer;
    d.fraction = fraction;
    return true;
}

std::wstring Body(const Digits& d, bool leadingZero, const Grouping& g, const std::wstring& thousand,
                  const std::wstring& decimal)
{
    std::wstring out =
        d.integer.empty() ? (leadingZero ? std::wstring(L"0") : std::wstring()) : Group(d.integer, g, thousand);
    if (!d.fraction.empty()) out += decimal + d.fraction;
    return out;
}

bool ValidFlags(DWORD dwFlags, bool hasFormat)
{
    if (hasFormat) return dwFlags == 0;
    return (dwFlags & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP)) == 0;
}

} // namespace

int GetLocaleInfoW(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    UNREFERENCED_PARAMETER(Locale);
    const LocaleProfile& p = qor::gui::CurrentLocaleProfile();
    const bool asNumber = (LCType & LOCALE_RETURN_NUMBER) != 0;
    const LCTYPE item = LCType & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP | LOCALE_RETURN_NUMBER);

    int number = 0;
    if (NumberItem(p, item, number))
    {
        if (!asNumber) return CopyOut(std::to_wstring(number), lpLCData, cchData);
        // The DWORD takes sizeof(DWORD) / sizeof(WCHAR) characters (one with 32-bit WCHARs).
        constexpr int kCch = static_cast<int>((sizeof(DWORD) + sizeof(WCHAR) - 1) / sizeof(WCHAR));
        if (cchData == 0) return kCch;
        if (lpLCData == nullptr || cchData < kCch) return 0;
        const DWORD v = static_cast<DWORD>(number);
        std::memcpy(lpLCData, &v, sizeof v);
        return kCch;
    }
    std::wstring text;
    if (asNumber || !TextItem(p, item, text)) return 0;
    return CopyOut(text, lpLCData, cchData);
}

int GetLocaleInfo(LCID Locale, LCTYPE LCType, LPWSTR lpLCData, int cchData)
{
    return GetLocaleInfoW(Locale, LCType, lpLCData, cchData);
}

int GetNumberFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const NUMBERFMTW* lpFormat, LPWSTR lpNumberStr,
                     int cchNumber)
{
    UNREFERENCED_PARAMETER(Locale);
    if (!ValidFlags(dwFlags, lpFormat != nullptr)) return 0;
    const LocaleProfile& p = qor::gui::CurrentLocaleProfile();

    UINT numDigits, leadingZero, negativeOrder;
    Grouping grouping;
    std::wstring decimal, thousand;
    if (lpFormat)
    {
        if (lpFormat->lpDecimalSep == nullptr || lpFormat->lpThousandSep == nullptr) return 0;
        numDigits = lpFormat->NumDigits;
        leadingZero = lpFormat->LeadingZero;
        negativeOrder = lpFormat->NegativeOrder;
        grouping = GroupingFromNumber(lpFormat->Grouping);
        decimal = lpFormat->lpDecimalSep;
        thousand = lpFormat->lpThousandSep;
    }
    else
    {
        numDigits = static_cast<UINT>(p.digits);
        leadingZero = static_cast<UINT>(p.leadingZero);
        negativeOrder = static_cast<UINT>(p.negativeNumber);
        grouping = GroupingFromText(p.grouping);
        decimal = p.decimal;
        thousand = p.thousand;
    }
    if (negativeOrder > 4 || numDigits > 100) return 0;

    Digits d;
    if (!ParseAndRound(lpValue, numDigits, d)) return 0;
    const qor::gui::NumberAffixes a =
        qor::gui::AffixesOf(false, d.negative, negativeOrder, std::wstring(), p.negativeSign);
    const std::wstring out = a.prefix + Body(d, leadingZero != 0, grouping, thousand, decimal) + a.suffix;
    return CopyOut(out, lpNumberStr, cchNumber);
}

int GetNumberFormat(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const NUMBERFMTW* lpFormat, LPWSTR lpNumberStr,
                    int cchNumber)
{
    return GetNumberFormatW(Locale, dwFlags, lpValue, lpFormat, lpNumberStr, cchNumber);
}

int GetCurrencyFormatW(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat, LPWSTR lpCurrencyStr,
                       int cchCurrency)
{
    UNREFERENCED_PARAMETER(Locale);
    if (!ValidFlags(dwFlags, lpFormat != nullptr)) return 0;
    const LocaleProfile& p = qor::gui::CurrentLocaleProfile();

    UINT numDigits, leadingZero, negativeOrder, positiveOrder;
    Grouping grouping;
    std::wstring decimal, thousand, symbol;
    if (lpFormat)
    {
        if (lpFormat->lpDecimalSep == nullptr || lpFormat->lpThousandSep == nullptr ||
            lpFormat->lpCurrencySymbol == nullptr)
            return 0;
        numDigits = lpFormat->NumDigits;
        leadingZero = lpFormat->LeadingZero;
        negativeOrder = lpFormat->NegativeOrder;
        positiveOrder = lpFormat->PositiveOrder;
        grouping = GroupingFromNumber(lpFormat->Grouping);
        decimal = lpFormat->lpDecimalSep;
        thousand = lpFormat->lpThousandSep;
        symbol = lpFormat->lpCurrencySymbol;
    }
    else
    {
        numDigits = static_cast<UINT>(p.currencyDigits);
        leadingZero = static_cast<UINT>(p.leadingZero);
        negativeOrder = static_cast<UINT>(p.negativeCurrency);
        positiveOrder = static_cast<UINT>(p.currencyPosition);
        grouping = GroupingFromText(p.monGrouping);
        decimal = p.monDecimal;
        thousand = p.monThousand;
        symbol = p.currency;
    }
    if (negativeOrder > 15 || positiveOrder > 3 || numDigits > 100) return 0;

    Digits d;
    if (!ParseAndRound(lpValue, numDigits, d)) return 0;
    const qor::gui::NumberAffixes a =
        qor::gui::AffixesOf(true, d.negative, d.negative ? negativeOrder : positiveOrder, symbol, p.negativeSign);
    const std::wstring out = a.prefix + Body(d, leadingZero != 0, grouping, thousand, decimal) + a.suffix;
    return CopyOut(out, lpCurrencyStr, cchCurrency);
}

int GetCurrencyFormat(LCID Locale, DWORD dwFlags, LPCWSTR lpValue, const CURRENCYFMTW* lpFormat, LPWSTR lpCurrencyStr,
                      int cchCurrency)
{
    return GetCurrencyFormatW(Locale, dwFlags, lpValue, lpFormat, lpCurrencyStr, cchCurrency);
}

LCID GetUserDefaultLCID() { return 0x0409u; }
LCID GetSystemDefaultLCID() { return 0x0409u; }
