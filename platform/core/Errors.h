// The engine's error reporting helpers.
#pragma once

#include <cstddef>
#include <stdexcept>

namespace qor {

// Text of the out-of-range error raised by every checked index into the engine's lists.
inline constexpr const char* kSubscriptError = "invalid vector<T> subscript";

[[noreturn]] inline void ThrowSubscriptError() { throw std::out_of_range(kSubscriptError); }

// Checked element access with the engine's out-of-range text.
template <class Container>
auto& At(Container& c, std::size_t i)
{
    if (i >= c.size()) ThrowSubscriptError();
    return c[i];
}

// Checked access for signed indices: negative indices are out of range too.
template <class Container>
auto& At(Container& c, long long i)
{
    if (i < 0 || static_cast<std::size_t>(i) >= c.size()) ThrowSubscriptError();
    return c[static_cast<std::size_t>(i)];
}
template <class Container>
auto& At(Container& c, int i)
{
    return At(c, static_cast<long long>(i));
}

} // namespace qor
