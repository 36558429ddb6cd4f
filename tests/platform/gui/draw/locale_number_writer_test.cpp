// Numbers written straight into UTF-8 in the locale's number and currency formats: the bytes a
// cell has had from printf("%.9f") and the locale's formatting functions, in every profile.
#include "platform/gui/draw/LocaleNumberWriter.h"

#include "platform/core/CString.h"
#include "platform/gui/draw/Locale.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

namespace {

using qor::gui::LocaleNumberWriter;
using qor::gui::LocaleProfile;

// What a cell has shown: the value with nine decimals, in the locale's format, in its 256-character
// buffer (nothing where that fails).
std::string Formatted(double value, LocaleNumberWriter::Form form)
{
    if (!std::isfinite(value)) return std::string();
    wchar_t plain[400];
    wchar_t shown[256];
    std::swprintf(plain, 400, L"%.9f", value);
    const int n = form == LocaleNumberWriter::Form::Currency
                      ? GetCurrencyFormatW(LOCALE_USER_DEFAULT, 0, plain, nullptr, shown, 256)
                      : GetNumberFormatW(LOCALE_USER_DEFAULT, 0, plain, nullptr, shown, 256);
    return n > 0 ? WideToUtf8(shown) : std::string();
}

std::string Written(double value, LocaleNumberWriter::Form form = LocaleNumberWriter::Form::Number)
{
    std::string out = "|";
    const bool ok = LocaleNumberWriter(form).Append(value, out);
    EXPECT_TRUE(ok || out == "|") << "nothing is written where no text is made: " << value;
    return out.substr(1);
}

// Rounding ties at the decimals shown and at the ninth, every grouping width, the largest and
// smallest numbers, the edges of the writer's own arithmetic, and random numbers of every size.
std::vector<double> Sample()
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.125,
                                  -0.125,
                                  2.675,
                                  -2.675,
                                  1.005,
                                  0.005,
                                  -0.005,
                                  0.0049999999995,
                                  0.995,
                                  9.995,
                                  99999.995,
                                  999999.999999999,
                                  -0.004,
                                  1e-12,
                                  -1e-12,
                                  0.5,
                                  1.5,
                                  2.5,
                                  0.0009765625,
                                  0.0029296875,
                                  1.0000000005,
                                  0.0000000005,
                                  -0.0000000015,
                                  1234567.891,
                                  -1234567.891,
                                  1e15,
                                  123456789012345678.0,
                                  9.2e9,
                                  1.8446744073709552e10,
                                  1.85e10,
                                  std::ldexp(1.0, 97),
                                  std::nextafter(std::ldexp(1.0, 97), 0.0),
                                  std::ldexp(1.0, 98),
                                  3e29,
                                  1e100,
                                  1e300,
                                  -1e300,
                                  DBL_MAX,
                                  -DBL_MAX,
                                  DBL_MIN,
                                  -DBL_MIN,
                                  DBL_TRUE_MIN,
                                  -DBL_TRUE_MIN,
                                  DBL_EPSILON,
                                  NAN,
                                  INFINITY,
                                  -INFINITY};
    std::mt19937_64 random(51);
    for (int i = 0; i < 2500; i++)
    {
        // Exact binary fractions: ties at the ninth decimal and at the shown ones.
        values.push_back(std::ldexp(static_cast<double>(random() % 100000000), -(i % 24)));
        values.push_back((static_cast<double>(random() % 2000000) + 0.5) / 100.0);
        const double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(random);
        values.push_back((i % 2 ? -1 : 1) * mantissa * std::pow(10.0, static_cast<int>(random() % 40) - 14));
        const double any = std::bit_cast<double>(static_cast<std::uint64_t>(random()));
        if (std::isfinite(any)) values.push_back(any);
    }
    return values;
}

struct ProfileScope
{
    ~ProfileScope() { qor::gui::ResetLocaleProfile(); }
};

} // namespace

TEST(LocaleNumberWriter, WritesTheBytesOfTheLocaleFormattingInEveryProfile)
{
    ProfileScope scope;
    // By hand: ties at the decimals shown go away from zero from the nine decimals printf writes
    // (2.675 is 2.67499999999999982..., written 2.675000000); the ninth rounds half to even.
    EXPECT_EQ(Written(0.125), "0.13");
    EXPECT_EQ(Written(2.675), "2.68");
    EXPECT_EQ(Written(-1234567.891), "-1,234,567.89");
    EXPECT_EQ(Written(-0.004), "0.00");
    EXPECT_EQ(Written(DBL_MAX), ""); // 414 characters: more than a cell holds
    EXPECT_EQ(Written(-DBL_TRUE_MIN), "0.00");

    std::vector<LocaleProfile> profiles(8);
    profiles[1].decimal = profiles[1].monDecimal = L",";
    profiles[1].thousand = profiles[1].monThousand = L".";
    profiles[1].negativeNumber = 0;
    profiles[1].digits = profiles[1].currencyDigits = 3;
    profiles[1].currency = L"\u20ac";
    profiles[2].thousand = profiles[2].monThousand = L"\u202f";
    profiles[2].decimal = L",";
    profiles[2].grouping = profiles[2].monGrouping = L"3;2;0";
    profiles[2].negativeNumber = 4;
    profiles[2].leadingZero = 0;
    profiles[2].digits = profiles[2].currencyDigits = 0;
    profiles[3].digits = profiles[3].currencyDigits = 12;
    profiles[3].negativeNumber = 2;
    profiles[3].negativeSign = L"\u2212\u2212";
    profiles[3].grouping = profiles[3].monGrouping = L"3";
    profiles[3].thousand = L"\u00a0\u00a0";
    profiles[4].digits = 9;
    profiles[4].grouping = L"4;0";
    profiles[4].negativeNumber = 3;
    profiles[4].currency = L"CHF";
    profiles[5].grouping = profiles[5].monGrouping = L"0";
    profiles[5].digits = 1;
    profiles[6].negativeNumber = 5; // formats the locale's functions refuse: no text
    profiles[6].currencyPosition = 4;
    profiles[7].digits = profiles[7].currencyDigits = 101;

    const std::vector<double> values = Sample();
    for (std::size_t p = 0; p < profiles.size(); p++)
    {
        qor::gui::SetLocaleProfile(profiles[p]);
        for (const double value : values)
            ASSERT_EQ(Written(value), Formatted(value, LocaleNumberWriter::Form::Number)) << p << ": " << value;
        // The currency form in each of its negative and positive orders.
        for (int order = 0; order < 16; order++)
        {
            LocaleProfile currency = profiles[p];
            currency.negativeCurrency = order;
            currency.currencyPosition = p == 6 ? 4 : order % 4;
            qor::gui::SetLocaleProfile(currency);
            for (std::size_t i = 0; i < values.size(); i += 23)
                ASSERT_EQ(Written(values[i], LocaleNumberWriter::Form::Currency),
                          Formatted(values[i], LocaleNumberWriter::Form::Currency))
                    << p << ", order " << order << ": " << values[i];
        }
    }
}
