// Numbers in the locale's format, written as UTF-8 without a wide text or an allocation a number.
#include "platform/gui/draw/LocaleNumberWriter.h"

#include "platform/core/CString.h"
#include "platform/gui/draw/LocaleFormInternal.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace qor::gui {
namespace {

__extension__ using Wide = unsigned __int128;

constexpr std::uint64_t kNine = 1000000000u;               // 10^9
constexpr std::uint64_t kNineteen = 10000000000000000000u; // 10^19
// The digits of the largest double before its point, nine after it, and one for a carry.
constexpr std::size_t kMostDigits = 309 + 9 + 1;

// Writes n with exactly width digits, leading zeros included.
void Padded(std::uint64_t n, std::size_t width, char* at)
{
    for (std::size_t i = width; i-- > 0; n /= 10) at[i] = static_cast<char>('0' + n % 10);
}

std::size_t Whole(std::uint64_t n, char* at)
{
    return static_cast<std::size_t>(std::to_chars(at, at + 20, n).ptr - at);
}

} // namespace

LocaleNumberWriter::LocaleNumberWriter(Form form, std::size_t cchBuffer) : m_cchBuffer(cchBuffer)
{
    const LocaleProfile& p = CurrentLocaleProfile();
    const bool bCurrency = form == Form::Currency;
    // The locale's functions take these as unsigned numbers: a negative one is out of range.
    m_nDecimals = static_cast<unsigned>(bCurrency ? p.currencyDigits : p.digits);
    const auto negativeOrder = static_cast<unsigned>(bCurrency ? p.negativeCurrency : p.negativeNumber);
    const auto positiveOrder = static_cast<unsigned>(bCurrency ? p.currencyPosition : 0);
    m_bValid = m_nDecimals <= 100 && negativeOrder <= (bCurrency ? 15u : 4u) && positiveOrder <= 3;
    m_bLeadingZero = p.leadingZero != 0;
    m_grouping = GroupingFromText(bCurrency ? p.monGrouping : p.grouping);
    const std::wstring& decimal = bCurrency ? p.monDecimal : p.decimal;
    const std::wstring& thousand = bCurrency ? p.monThousand : p.thousand;
    m_strDecimal = WideToUtf8(decimal);
    m_strThousand = WideToUtf8(thousand);
    m_nDecimalChars = decimal.size();
    m_nThousandChars = thousand.size();

    // Every form is a prefix, the digits and a suffix.
    const NumberAffixes positive = AffixesOf(bCurrency, false, positiveOrder, p.currency, p.negativeSign);
    const NumberAffixes negative = AffixesOf(bCurrency, true, negativeOrder, p.currency, p.negativeSign);
    m_strPositivePrefix = WideToUtf8(positive.prefix);
    m_strPositiveSuffix = WideToUtf8(positive.suffix);
    m_strNegativePrefix = WideToUtf8(negative.prefix);
    m_strNegativeSuffix = WideToUtf8(negative.suffix);
    m_nPositiveChars = positive.prefix.size() + positive.suffix.size();
    m_nNegativeChars = negative.prefix.size() + negative.suffix.size();
}

std::size_t LocaleNumberWriter::FixedNine(double magnitude, char* digits)
{
    // magnitude = mantissa * 2^exponent, so magnitude * 10^9 = mantissa * 5^9 * 2^(exponent + 9):
    // a whole number shifted, which printf rounds half to even from its exact value.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int biased = static_cast<int>(bits >> 52);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biased != 0)
    {
        mantissa |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    const int shift = exponent + 9;
    if (shift > 53)
    {
        // Beyond 2^97 the scaled number needs more than 128 bits: the library writes it.
        char text[kMostDigits + 2];
        const char* end = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::fixed, 9).ptr;
        const std::size_t nWhole = static_cast<std::size_t>(end - text) - 10;
        std::memcpy(digits, text, nWhole);
        std::memcpy(digits + nWhole, text + nWhole + 1, 9);
        return nWhole;
    }
    const Wide product = static_cast<Wide>(mantissa) * 1953125u; // below 2^74
    Wide scaled = 0;
    if (shift >= 0)
        scaled = product << shift;
    else if (shift > -76) // from 2^-76 on, the product is below a quarter
    {
        const int k = -shift;
        scaled = product >> k;
        const Wide rest = product & ((Wide{1} << k) - 1);
        const Wide half = Wide{1} << (k - 1);
        if (rest > half || (rest == half && (scaled & 1) != 0)) ++scaled;
    }
    std::size_t nWhole = 0;
    if (scaled >> 64 == 0)
    {
        const auto small = static_cast<std::uint64_t>(scaled);
        nWhole = Whole(small / kNine, digits);
        Padded(small % kNine, 9, digits + nWhole);
        return nWhole;
    }
    const Wide whole = scaled / kNine;
    const auto nine = static_cast<std::uint64_t>(scaled % kNine);
    if (whole >> 64 == 0)
        nWhole = Whole(static_cast<std::uint64_t>(whole), digits);
    else
    {
        // Below 2^98: at most ten digits above the nineteen.
        nWhole = Whole(static_cast<std::uint64_t>(whole / kNineteen), digits);
        Padded(static_cast<std::uint64_t>(whole % kNineteen), 19, digits + nWhole);
        nWhole += 19;
    }
    Padded(nine, 9, digits + nWhole);
    return nWhole;
}

bool LocaleNumberWriter::Append(double value, std::string& out) const
{
    if (!m_bValid || !std::isfinite(value)) return false;
    // digits[0] is room for a carry out of the first digit.
    char buffer[kMostDigits + 1];
    char* digits = buffer + 1;
    std::size_t nWhole = FixedNine(std::fabs(value), digits);

    // Rounded half away from zero at the decimals shown, from the nine decimals written.
    std::size_t nFraction = 9;
    if (m_nDecimals < 9)
    {
        nFraction = m_nDecimals;
        if (digits[nWhole + nFraction] >= '5')
        {
            std::ptrdiff_t i = static_cast<std::ptrdiff_t>(nWhole + nFraction) - 1;
            for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
            if (i >= 0)
                ++digits[i];
            else
            {
                *--digits = '1';
                ++nWhole;
            }
        }
    }
    std::size_t first = 0;
    while (first < nWhole && digits[first] == '0') ++first;
    const char* whole = digits + first;
    const std::size_t nWholeShown = nWhole - first;
    const char* fraction = digits + nWhole;
    // No "negative zero": a value that rounds to nothing shows without a sign.
    bool bNegative = std::signbit(value);
    if (bNegative && nWholeShown == 0)
    {
        bNegative = false;
        for (std::size_t i = 0; i < nFraction; i++)
            if (fraction[i] != '0') bNegative = true;
    }

    // The groups of the whole part, from its right end leftwards.
    std::size_t groups[kMostDigits];
    const std::size_t nGroups = GroupBlocks(nWholeShown, m_grouping, groups);

    const std::string& prefix = bNegative ? m_strNegativePrefix : m_strPositivePrefix;
    const std::string& suffix = bNegative ? m_strNegativeSuffix : m_strPositiveSuffix;
    const std::size_t nLeadingZero = nWholeShown == 0 && m_bLeadingZero ? 1 : 0;
    const std::size_t nSeparators = nGroups > 1 ? nGroups - 1 : 0;
    // The text in wide characters, as the cell's buffer counts them.
    const std::size_t nChars = (bNegative ? m_nNegativeChars : m_nPositiveChars) + nWholeShown + nLeadingZero +
                               nSeparators * m_nThousandChars + (m_nDecimals > 0 ? m_nDecimalChars + m_nDecimals : 0);
    if (nChars + 1 > m_cchBuffer) return false;

    const std::size_t nBytes = prefix.size() + nWholeShown + nLeadingZero + nSeparators * m_strThousand.size() +
                               (m_nDecimals > 0 ? m_strDecimal.size() + m_nDecimals : 0) + suffix.size();
    const std::size_t at = out.size();
    out.resize(at + nBytes);
    char* p = out.data() + at;
    auto put = [&p](const char* text, std::size_t n) {
        std::memcpy(p, text, n);
        p += n;
    };
    put(prefix.data(), prefix.size());
    if (nLeadingZero) *p++ = '0';
    const char* next = whole;
    for (std::size_t g = nGroups; g-- > 0;)
    {
        put(next, groups[g]);
        next += groups[g];
        if (g > 0) put(m_strThousand.data(), m_strThousand.size());
    }
    if (m_nDecimals > 0)
    {
        put(m_strDecimal.data(), m_strDecimal.size());
        put(fraction, nFraction);
        std::memset(p, '0', m_nDecimals - nFraction);
        p += m_nDecimals - nFraction;
    }
    put(suffix.data(), suffix.size());
    return true;
}

} // namespace qor::gui
