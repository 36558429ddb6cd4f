// Small checks shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace enginetest {

// Runs f and returns the engine text it throws, or "" when it throws no text.
template <class F>
std::string ThrownText(F&& f)
{
    try
    {
        f();
    }
    catch (const char* text)
    {
        return text;
    }
    catch (const std::exception& e)
    {
        return e.what();
    }
    return "";
}

// Runs f and returns what() of the std::out_of_range it throws, or "" when it throws none.
template <class F>
std::string OutOfRangeText(F&& f)
{
    try
    {
        f();
    }
    catch (const std::out_of_range& e)
    {
        return e.what();
    }
    return "";
}

inline bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

inline void ExpectValuesNear(const std::vector<double>& actual, const std::vector<double>& expected, double tol = 1e-12)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(actual[i], expected[i], tol) << "index " << i;
}

} // namespace enginetest
