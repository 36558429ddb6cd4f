// Every text the engine throws, in one place. The engine reports bad input by throwing the
// constant narrow text itself; callers compare and show these texts.
#pragma once

// Beams and bridges.
inline constexpr const char* kSpanError = "Incorrect span information";
inline constexpr const char* kRestraintError = "Incorrect restraint information";
inline constexpr const char* kBridgeConfigError = "Error in bridge config";
inline constexpr const char* kTooManySpansError = "Too many spans in a bridge (more than 100)";

// Beam results.
inline constexpr const char* kResultsTypeError = "Error in choice of BeamResultsType";
inline constexpr const char* kResultsSizeError = "Results vectors different size";

// Value ranges and bridge sets.
inline constexpr const char* kRangeTooLargeError = "Too many values in range (more than 100000)";
inline constexpr const char* kRangeStepError = "Range step must be non-zero";
inline constexpr const char* kBridgeSetStepError = "Bridge set step must be greater than zero";
inline constexpr const char* kTooManyBridgesError = "Too many bridges in a bridge set (more than 1000)";

// Stepping of moving loads.
inline constexpr const char* kStepSizeError = "Step size must be greater than zero";
inline constexpr const char* kStepCountError = "Number of steps must be at least 1";
inline constexpr const char* kStepTooSmallError = "Step size too small: too many load positions";

// Load models and the standard library.
inline constexpr const char* kAxlesSpacingsError = "Wrong number of axles or spacings";
inline constexpr const char* kSpacingStepError = "The spacing step must be greater than zero.";
inline constexpr const char* kSpacingCountError = "Too many spacing values: at most 1000 are allowed.";
// A span rule that adjusts a load the model does not have.
inline constexpr const char* kA36RuleLoadsError =
    "The load model's span rule \"A36 UDL variation\" needs a UDL and a partial UDL, and the model has none";
inline constexpr const char* kPointLoadRuleLoadsError =
    "The load model's span rule adds a NAASRA/ABDC point load, and the model has no point load to copy";
inline constexpr const char* kBS5400RuleLoadsError =
    "The load model's span rule \"BS5400 UDL\" needs a UDL, and the model has none";
inline constexpr const char* kNonFiniteLoadError =
    "A load, factor or location of the load model is not a finite number";

// Results that overflowed or came out undefined (a huge factor, a singular beam).
inline constexpr const char* kNonFiniteResultError =
    "The analysis gave a load effect that is not a finite number (check the loads and factors)";
// Results so large that their decimals are lost (spans, loads or factors far beyond the ranges
// the dialogs take, from a case written elsewhere): a table would show them wrong or not at all.
inline constexpr double kMaxShownEffect = 1e13;
inline constexpr const char* kResultTooLargeError =
    "The analysis gave a load effect too large to show exactly (10^13 or more): check the spans, loads and factors";
// A multiplier of critical ratios or an overstress factor that is not a finite number.
inline constexpr const char* kNonFiniteFactorError = "The multiplier or overstress factor is not a finite number";

// A loaded case that the analyses could not use.
inline constexpr const char* kEmptyElementError = "The case holds an empty element";
inline constexpr const char* kElementTypeError = "An element of the case has the wrong type code";
inline constexpr const char* kLoadModelOptionError = "A load model has an unknown span rule or width factor";
