// LocaleNumberWriter: numbers written in the locale's number (or currency) format straight into
// a UTF-8 buffer, for copies and files of millions of cells. The bytes are those of
// GetNumberFormatW (GetCurrencyFormatW) applied to the text printf("%.9f") makes of the number,
// converted to UTF-8; the locale is read once, when the writer is made, and nothing is allocated
// a number.
//
//     qor::gui::LocaleNumberWriter numbers;     // the locale profile in force now
//     std::string out;
//     numbers.Append(-1234.5, out);             // en-US: "-1,234.50"
#pragma once

#include "platform/gui/draw/Locale.h"

#include <cstddef>
#include <string>

namespace qor::gui {

class LocaleNumberWriter
{
public:
    enum class Form
    {
        Number,
        Currency
    };

    // The characters a cell's text buffer holds, its terminator included: a longer text is none.
    static constexpr std::size_t kCellBuffer = 256;

    explicit LocaleNumberWriter(Form form = Form::Number, std::size_t cchBuffer = kCellBuffer);

    // Appends the value's text; false, with nothing appended, where the locale's formatting gives
    // no text: a value that is not finite, a text that does not fit the buffer, or a format the
    // locale's functions refuse.
    bool Append(double value, std::string& out) const;

private:
    // The text printf("%.9f") makes of |value| without its point: the integer digits, then nine.
    static std::size_t FixedNine(double magnitude, char* digits);

    bool m_bValid = false;
    unsigned m_nDecimals = 0;
    bool m_bLeadingZero = true;
    DigitGrouping m_grouping;
    std::string m_strDecimal, m_strThousand;
    std::size_t m_nDecimalChars = 0, m_nThousandChars = 0;
    // What stands before and after the digits of a positive and of a negative number.
    std::string m_strPositivePrefix, m_strPositiveSuffix, m_strNegativePrefix, m_strNegativeSuffix;
    std::size_t m_nPositiveChars = 0, m_nNegativeChars = 0;
    std::size_t m_cchBuffer;
};

} // namespace qor::gui
