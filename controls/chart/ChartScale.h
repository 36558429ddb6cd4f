// The arithmetic of a linear chart axis, kept apart from any window so that it can be
// checked on its own: tick increments and first ticks, value/pixel mapping and tick labels.
#pragma once

#include <cstddef>

#include <string>

namespace qor::chart {

// A range narrower than this (or with a bound that is not finite) cannot be mapped: its
// values are all drawn at the middle of the axis.
constexpr double kDegenerateRange = 1e-15;

// Pixels between two ticks that the automatic increment aims at.
constexpr int kHorizontalTickSpacing = 30;
constexpr int kVerticalTickSpacing = 20;

// A mapped offset never leaves this many pixels on either side of the axis start, so that
// far-away values (a zoomed chart, huge data) still give drawable integer coordinates.
constexpr int kPixelLimit = 1 << 22;

// The pixel run of an axis: horizontal axes run from start (left) to end (right),
// vertical ones from start (bottom) to end (top).
struct SAxisSpan
{
    int start = 0;
    int end = 0;
    bool horizontal = true;
    bool inverted = false;

    int Length() const { return end > start ? end - start : start - end; }
};

bool IsDegenerateRange(double min, double max);

// The pixel in the middle of the span, where a degenerate range draws everything.
int MiddlePixel(const SAxisSpan& span);

// Value to pixel: offset = floor(length * (value - min) / (max - min)), counted from the
// start (from the end on an inverted axis), leftwards/upwards as the axis runs. The offset
// is clamped to +/- kPixelLimit before it becomes an integer; a value that is not a number
// goes to the far low end. A degenerate range gives the middle pixel.
int ValueToPixel(double value, double min, double max, const SAxisSpan& span);
// ValueToPixel of count values at once, into pixels: the same pixels.
void ValuesToPixels(const double* values, std::size_t count, double min, double max, const SAxisSpan& span,
                    int* pixels);

// Pixel to value, the inverse of ValueToPixel (up to the pixel's width). A degenerate range
// or an empty span gives min.
double PixelToValue(int pixel, double min, double max, const SAxisSpan& span);

struct STickIncrement
{
    double increment = 0.0; // 0: no ticks but the single middle one
    int decimals = 0;       // digits after the point in the tick labels
};

// The automatic increment of an axis of the given pixel length: the first of 1, 2, 5, 10
// times a power of ten not below range / (length / spacing) (at least one tick interval).
// A degenerate range, a non-finite bound or an increment too small to move the bounds
// gives increment 0. 'decimals' comes back unchanged with increment 0.
STickIncrement ComputeTickIncrement(double min, double max, int pixelLength, int spacing, int decimals);

// The smallest multiple of the increment not below min (a multiple less than 1e-9
// increment below min counts as min); min itself for increment 0.
double ComputeFirstTick(double min, double increment);

// True when ticks can be drawn for this range and increment: the range is not degenerate,
// the increment is positive and finite, and it moves both bounds.
bool TicksUsable(double min, double max, double increment);

// The value of tick k: first + k * increment (never summed, so no drift).
inline double TickValue(double first, double increment, int k) { return first + k * increment; }

// Tick k is still on the axis: value <= max, with a tolerance of 1e-9 increment.
bool TickWithinMax(double value, double max, double increment);

// The most ticks an axis of this length ever draws: length / spacing + 2.
int MaxTickCount(int pixelLength, int spacing);

// A tick label in fixed notation with 'decimals' digits after the point. A value within
// 1e-9 increment of zero is written as zero, and no label reads as a negative zero.
std::wstring FormatTickLabel(double value, int decimals, double increment);

} // namespace qor::chart
