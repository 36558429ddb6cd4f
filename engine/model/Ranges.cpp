// Evenly spaced value lists, used by bridge sets and the standard load-model library.
#include "engine/model/Ranges.h"

#include <cmath>

std::vector<double> LinSpace(int n, double a, double b)
{
    if (n < 2) return {};
    if (n > kMaxRangeValues) throw kRangeTooLargeError;

    std::vector<double> v(static_cast<std::size_t>(n));
    const double step = (b - a) / (n - 1);
    if (step < 1e-6)
    {
        // Tiny or decreasing steps: interpolate, so the ends are a and b.
        for (int i = 0; i < n; ++i) v[i] = a + (static_cast<double>(i) / (n - 1)) * (b - a);
    }
    else
    {
        for (int i = 0; i < n; ++i) v[i] = a + i * step;
    }
    return v;
}

std::vector<double> RangeByStep(double start, double end, double step)
{
    if (step == 0.0 || !std::isfinite(step)) throw kRangeStepError;

    const double dir = (end >= start) ? 1.0 : -1.0;
    const double s = std::fabs(step) * dir;
    const double x = (end - start) / s; // >= 0, or NaN for non-finite ends
    if (!std::isfinite(x)) throw kRangeTooLargeError;

    // A small tolerance keeps a range that ends on the grid from losing its last
    // value to rounding (1.0 to 0.7 by 0.1 gives 1.0, 0.9, 0.8, 0.7).
    const double kf = std::floor(x + 1e-9);
    if (kf + 1.0 > kMaxRangeValues) throw kRangeTooLargeError;
    const int k = static_cast<int>(kf);

    std::vector<double> v;
    if (k == 0)
        v.push_back(start);
    else
        v = LinSpace(k + 1, start, start + k * s);

    if ((end - v.back()) * dir > 1e-9)
    {
        if (static_cast<int>(v.size()) >= kMaxRangeValues) throw kRangeTooLargeError;
        v.push_back(end);
    }
    return v;
}
