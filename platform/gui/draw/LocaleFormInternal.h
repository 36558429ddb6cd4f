// The parts a number's locale format is put together from, shared by the locale's formatting
// functions and the writer of numbers into UTF-8 so that both make the same text.
// Internal to platform/gui/draw.
#pragma once

#include "platform/gui/draw/Locale.h"

#include <cstddef>
#include <string>

namespace qor::gui {

// The lengths of the blocks an integer part of nDigits digits falls into, from its right end
// leftwards, into blocks (room for nDigits); returns how many (none for no digits).
std::size_t GroupBlocks(std::size_t nDigits, const DigitGrouping& grouping, std::size_t* blocks);

// What stands before and after the digits of a formatted number or currency amount: order is the
// locale's negative order (for a positive currency amount its positive order; a positive number
// has none), symbol the currency symbol, sign the negative sign. An order out of range gives none.
struct NumberAffixes
{
    std::wstring prefix, suffix;
};
NumberAffixes AffixesOf(bool currency, bool negative, unsigned order, const std::wstring& symbol,
                        const std::wstring& sign);

} // namespace qor::gui
