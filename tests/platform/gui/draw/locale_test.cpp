// Locale items and number / currency formatting from the fixed profile.
#include "platform/gui/draw/Locale.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Item(LCTYPE type)
{
    wchar_t buf[64] = {};
    const int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buf, 64);
    if (n == 0) return L"<error>";
    EXPECT_EQ(n, static_cast<int>(std::wcslen(buf)) + 1);
    return buf;
}

std::wstring Number(const wchar_t* value, const NUMBERFMTW* fmt = nullptr)
{
    wchar_t buf[128] = {};
    const int n = GetNumberFormatW(LOCALE_USER_DEFAULT, 0, value, fmt, buf, 128);
    if (n == 0) return L"<error>";
    EXPECT_EQ(n, static_cast<int>(std::wcslen(buf)) + 1);
    return buf;
}

std::wstring Currency(const wchar_t* value, const CURRENCYFMTW* fmt = nullptr)
{
    wchar_t buf[128] = {};
    const int n = GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, value, fmt, buf, 128);
    if (n == 0) return L"<error>";
    return buf;
}

// Puts a profile in force for one test and restores en-US afterwards.
struct ProfileScope
{
    explicit ProfileScope(const qor::gui::LocaleProfile& p) { qor::gui::SetLocaleProfile(p); }
    ~ProfileScope() { qor::gui::ResetLocaleProfile(); }
};

TEST(LocaleInfo, EnUsItemsAsText)
{
    EXPECT_EQ(Item(LOCALE_SDECIMAL), L".");
    EXPECT_EQ(Item(LOCALE_STHOUSAND), L",");
    EXPECT_EQ(Item(LOCALE_SGROUPING), L"3;0");
    EXPECT_EQ(Item(LOCALE_IDIGITS), L"2");
    EXPECT_EQ(Item(LOCALE_ILZERO), L"1");
    EXPECT_EQ(Item(LOCALE_INEGNUMBER), L"1");
    EXPECT_EQ(Item(LOCALE_SNEGATIVESIGN), L"-");
    EXPECT_EQ(Item(LOCALE_SPOSITIVESIGN), L"");
    EXPECT_EQ(Item(LOCALE_SCURRENCY), L"$");
    EXPECT_EQ(Item(LOCALE_ICURRDIGITS), L"2");
    EXPECT_EQ(Item(LOCALE_ICURRENCY), L"0");
    EXPECT_EQ(Item(LOCALE_INEGCURR), L"0");
    EXPECT_EQ(Item(LOCALE_SMONDECIMALSEP), L".");
    EXPECT_EQ(Item(LOCALE_SMONTHOUSANDSEP), L",");
    EXPECT_EQ(Item(LOCALE_SMONGROUPING), L"3;0");
    EXPECT_EQ(Item(LOCALE_SNATIVEDIGITS), L"0123456789");
    EXPECT_EQ(Item(LOCALE_IDIGITSUBSTITUTION), L"1");
    // The flags and the locale id do not change the answer.
    wchar_t buf[8] = {};
    EXPECT_EQ(GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_SDECIMAL | LOCALE_NOUSEROVERRIDE, buf, 8), 2);
    EXPECT_STREQ(buf, L".");
}

TEST(LocaleInfo, SizeQueryBufferTooSmallAndUnknownItem)
{
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVEDIGITS, nullptr, 0), 11);
    wchar_t small[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVEDIGITS, small, 4), 0);
    EXPECT_EQ(small[0], L'x') << "a refused request writes nothing";
    wchar_t buf[16];
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x7777, buf, 16), 0);
}

TEST(LocaleInfo, ReturnNumberWritesADword)
{
    DWORD v = 99;
    const int cch = static_cast<int>(sizeof(DWORD) / sizeof(WCHAR));
    EXPECT_EQ(
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDIGITS | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&v), cch),
        cch);
    EXPECT_EQ(v, 2u);
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_INEGNUMBER | LOCALE_RETURN_NUMBER,
                             reinterpret_cast<LPWSTR>(&v), cch),
              cch);
    EXPECT_EQ(v, 1u);
    // A text item cannot be returned as a number.
    EXPECT_EQ(
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL | LOCALE_RETURN_NUMBER, reinterpret_cast<LPWSTR>(&v), cch),
        0);
}

TEST(NumberFormat, LocaleDefaultsRoundGroupAndSign)
{
    EXPECT_EQ(Number(L"1234567.891"), L"1,234,567.89");
    EXPECT_EQ(Number(L"1234567.895"), L"1,234,567.90");
    EXPECT_EQ(Number(L"999.995"), L"1,000.00");
    EXPECT_EQ(Number(L"-999999.999"), L"-1,000,000.00");
    EXPECT_EQ(Number(L"0"), L"0.00");
    EXPECT_EQ(Number(L".5"), L"0.50");
    EXPECT_EQ(Number(L"12."), L"12.00");
    EXPECT_EQ(Number(L"000123"), L"123.00");
    EXPECT_EQ(Number(L"123"), L"123.00");
    EXPECT_EQ(Number(L"1234"), L"1,234.00");
    EXPECT_EQ(Number(L"-0.004"), L"0.00") << "no negative zero";
    EXPECT_EQ(Number(L"-0.005"), L"-0.01");
}

TEST(NumberFormat, RefusesBadValues)
{
    for (const wchar_t* bad : {L"", L"-", L".", L"1,234", L"1.2.3", L"+5", L" 5", L"5-", L"1e5", L"--1"})
        EXPECT_EQ(Number(bad), L"<error>") << "value \"" << std::wstring(bad).size() << "\"";
    wchar_t buf[8];
    EXPECT_EQ(GetNumberFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buf, 8), 0);
}

TEST(NumberFormat, SizeQueryAndShortBuffer)
{
    EXPECT_EQ(GetNumberFormatW(LOCALE_USER_DEFAULT, 0, L"1234", nullptr, nullptr, 0), 9); // "1,234.00"
    wchar_t buf[8];
    EXPECT_EQ(GetNumberFormatW(LOCALE_USER_DEFAULT, 0, L"1234", nullptr, buf, 8), 0);
    wchar_t exact[9];
    EXPECT_EQ(GetNumberFormatW(LOCALE_USER_DEFAULT, 0, L"1234", nullptr, exact, 9), 9);
    EXPECT_STREQ(exact, L"1,234.00");
}

TEST(NumberFormat, ExplicitFormat)
{
    wchar_t dec[] = L",";
    wchar_t thou[] = L" ";
    NUMBERFMTW f{3, 0, 3, dec, thou, 0};
    EXPECT_EQ(Number(L"-1234567.12345", &f), L"(1 234 567,123)");
    EXPECT_EQ(Number(L"0.25", &f), L",250");
    f.LeadingZero = 1;
    f.NumDigits = 0;
    EXPECT_EQ(Number(L"2.5", &f), L"3");
    EXPECT_EQ(Number(L"0.4", &f), L"0");

    const wchar_t* expected[] = {L"(5.0)", L"-5.0", L"- 5.0", L"5.0-", L"5.0 -"};
    wchar_t point[] = L".";
    NUMBERFMTW g{1, 1, 0, point, thou, 0};
    for (UINT order = 0; order < 5; ++order)
    {
        g.NegativeOrder = order;
        EXPECT_EQ(Number(L"-5", &g), expected[order]) << order;
    }
    g.NegativeOrder = 5;
    EXPECT_EQ(Number(L"-5", &g), L"<error>");

    // Grouping 32: three, then twos; 0: none.
    wchar_t comma[] = L",";
    NUMBERFMTW h{0, 1, 32, point, comma, 1};
    EXPECT_EQ(Number(L"123456789", &h), L"12,34,56,789");
    h.Grouping = 0;
    EXPECT_EQ(Number(L"123456789", &h), L"123456789");
    // With a format the flags must be 0.
    wchar_t buf[32];
    EXPECT_EQ(GetNumberFormatW(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, L"1", &h, buf, 32), 0);
    EXPECT_GT(GetNumberFormatW(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, L"1", nullptr, buf, 32), 0);
}

TEST(CurrencyFormat, LocaleDefaultsAndOrders)
{
    EXPECT_EQ(Currency(L"1234.5"), L"$1,234.50");
    EXPECT_EQ(Currency(L"-1234.5"), L"($1,234.50)");

    wchar_t dec[] = L".";
    wchar_t thou[] = L",";
    wchar_t sym[] = L"EUR";
    CURRENCYFMTW f{1, 1, 3, dec, thou, 0, 0, sym};
    const wchar_t* positive[] = {L"EUR1.5", L"1.5EUR", L"EUR 1.5", L"1.5 EUR"};
    for (UINT order = 0; order < 4; ++order)
    {
        f.PositiveOrder = order;
        EXPECT_EQ(Currency(L"1.5", &f), positive[order]) << order;
    }
    const wchar_t* negative[] = {L"(EUR1.5)", L"-EUR1.5",  L"EUR-1.5",   L"EUR1.5-",  L"(1.5EUR)", L"-1.5EUR",
                                 L"1.5-EUR",  L"1.5EUR-",  L"-1.5 EUR",  L"-EUR 1.5", L"1.5 EUR-", L"EUR 1.5-",
                                 L"EUR -1.5", L"1.5- EUR", L"(EUR 1.5)", L"(1.5 EUR)"};
    for (UINT order = 0; order < 16; ++order)
    {
        f.NegativeOrder = order;
        EXPECT_EQ(Currency(L"-1.5", &f), negative[order]) << order;
    }
    f.NegativeOrder = 16;
    EXPECT_EQ(Currency(L"-1.5", &f), L"<error>");
    EXPECT_EQ(GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, L"7", nullptr, nullptr, 0), 6); // "$7.00"
    EXPECT_EQ(Currency(L"x"), L"<error>");
}

TEST(LocaleProfileOverride, GermanStyleProfileAnswersEverywhere)
{
    qor::gui::LocaleProfile de;
    de.decimal = L",";
    de.thousand = L".";
    de.negativeNumber = 1;
    de.currency = L"\u20ac";
    de.currencyPosition = 3;
    de.negativeCurrency = 8;
    de.monDecimal = L",";
    de.monThousand = L".";
    {
        ProfileScope scope(de);
        EXPECT_EQ(Item(LOCALE_SDECIMAL), L",");
        EXPECT_EQ(Item(LOCALE_STHOUSAND), L".");
        EXPECT_EQ(Number(L"1234.5"), L"1.234,50");
        EXPECT_EQ(Currency(L"-1234.5"), L"-1.234,50 \u20ac");
        EXPECT_EQ(Currency(L"3"), L"3,00 \u20ac");
    }
    EXPECT_EQ(Item(LOCALE_SDECIMAL), L".");
    EXPECT_EQ(Number(L"1234.5"), L"1,234.50");
}

TEST(LocaleProfileOverride, GroupingTextForms)
{
    qor::gui::LocaleProfile p;
    ProfileScope scope(p);
    auto with = [](const wchar_t* grouping) {
        qor::gui::LocaleProfile q;
        q.grouping = grouping;
        q.digits = 0;
        qor::gui::SetLocaleProfile(q);
        return Number(L"1234567890");
    };
    EXPECT_EQ(with(L"3;0"), L"1,234,567,890");
    EXPECT_EQ(with(L"3;2;0"), L"1,23,45,67,890");
    EXPECT_EQ(with(L"3"), L"1234567,890");
    EXPECT_EQ(with(L"0"), L"1234567890");
    EXPECT_EQ(with(L"4;0"), L"12,3456,7890");
}

} // namespace
