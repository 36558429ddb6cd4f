// Evenly spaced value lists, used by bridge sets and the standard load-model library.
#pragma once

#include "engine/EngineErrors.h"

#include <vector>

// Largest number of values LinSpace and RangeByStep will produce; asking for more
// throws kRangeTooLargeError.
inline constexpr int kMaxRangeValues = 100000;

// n values evenly spaced from a to b inclusive; empty when n < 2.
// Throws kRangeTooLargeError when n > kMaxRangeValues.
std::vector<double> LinSpace(int n, double a, double b);

// start, start + step, ... up to the last grid value not beyond end, then end itself
// when the grid's last value falls short of it by more than 1e-9. The walk always goes
// from start towards end (the sign of step does not matter); the list always begins
// with start. Throws kRangeStepError for a zero (or non-finite) step and
// kRangeTooLargeError when more than kMaxRangeValues values would be produced.
std::vector<double> RangeByStep(double start, double end, double step);
