// The arithmetic of a linear chart axis, kept apart from any window so that it can be checked on its own:
// tick increments and first ticks, value/pixel mapping and tick labels.
#include "controls/chart/ChartScale.h"

#include <cmath>
#include <iomanip>
#include <sstream>

namespace qor::chart {

bool IsDegenerateRange(double min, double max)
{
    if (!std::isfinite(min) || !std::isfinite(max)) return true;
    return std::fabs(max - min) < kDegenerateRange;
}

int MiddlePixel(const SAxisSpan& span)
{
    const int half = static_cast<int>(span.Length() * 0.5);
    return span.horizontal ? span.start + half : span.start - half;
}

int ValueToPixel(double value, double min, double max, const SAxisSpan& span)
{
    if (IsDegenerateRange(min, max)) return MiddlePixel(span);
    // The tiny addend keeps a value that is a multiple of the increment but computed a
    // rounding error short of its pixel (0.3 as 3 x 0.1) on that pixel.
    double offset = std::floor(span.Length() * ((value - min) / (max - min)) + 1e-7);
    if (!(offset >= -kPixelLimit)) // also not a number
        offset = -kPixelLimit;
    else if (offset > kPixelLimit)
        offset = kPixelLimit;
    const int off = static_cast<int>(offset);
    if (span.horizontal) return span.inverted ? span.end - off : span.start + off;
    return span.inverted ? span.end + off : span.start - off;
}

double PixelToValue(int pixel, double min, double max, const SAxisSpan& span)
{
    if (IsDegenerateRange(min, max) || span.Length() == 0) return min;
    double d;
    if (span.horizontal)
        d = span.inverted ? span.end - pixel : pixel - span.start;
    else
        d = span.inverted ? pixel - span.end : span.start - pixel;
    return d / span.Length() * (max - min) + min;
}

bool TicksUsable(double min, double max, double increment)
{
    if (IsDegenerateRange(min, max)) return false;
    if (!(increment > 0.0) || !std::isfinite(increment)) return false;
    return min + increment != min && max + increment != max;
}

STickIncrement ComputeTickIncrement(double min, double max, int pixelLength, int spacing, int decimals)
{
    STickIncrement result{0.0, decimals};
    if (IsDegenerateRange(min, max)) return result;
    if (spacing <= 0) spacing = 1;
    int ticks = (pixelLength < 0 ? -pixelLength : pixelLength) / spacing;
    if (ticks < 1) ticks = 1;
    const double raw = std::fabs(max - min) / ticks;
    if (!(raw > 0.0) || !std::isfinite(raw)) return result;
    const double z = std::floor(std::log10(raw));
    const double base = std::pow(10.0, z);
    const int dec = z < 0 ? static_cast<int>(-z) : 0;
    double increment;
    if (base >= raw)
    {
        increment = base;
        result.decimals = dec;
    }
    else if (2 * base >= raw)
    {
        increment = 2 * base;
        result.decimals = dec;
    }
    else if (5 * base >= raw)
    {
        increment = 5 * base;
        result.decimals = dec;
    }
    else
    {
        increment = 10 * base;
        result.decimals = dec > 0 ? dec - 1 : 0;
    }
    if (!TicksUsable(min, max, increment)) return STickIncrement{0.0, decimals};
    result.increment = increment;
    return result;
}

double ComputeFirstTick(double min, double increment)
{
    if (increment == 0.0 || !std::isfinite(increment) || !std::isfinite(min)) return min;
    if (min == 0.0) return 0.0;
    const double k = std::ceil(min / increment - 1e-9);
    return k * increment;
}

bool TickWithinMax(double value, double max, double increment) { return value <= max + 1e-9 * std::fabs(increment); }

int MaxTickCount(int pixelLength, int spacing)
{
    if (spacing <= 0) spacing = 1;
    return (pixelLength < 0 ? -pixelLength : pixelLength) / spacing + 2;
}

std::wstring FormatTickLabel(double value, int decimals, double increment)
{
    if (std::fabs(value) <= 1e-9 * std::fabs(increment) || value == 0.0) value = 0.0; // also turns -0.0 into 0.0
    if (decimals < 0) decimals = 0;
    std::wostringstream out;
    out << std::fixed << std::setprecision(decimals) << value;
    std::wstring text = out.str();
    // A small negative value that rounds to zero must not read "-0.00".
    if (!text.empty() && text[0] == L'-' && text.find_first_not_of(L"0.", 1) == std::wstring::npos) text.erase(0, 1);
    return text;
}

} // namespace qor::chart
