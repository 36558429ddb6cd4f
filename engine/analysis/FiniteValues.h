// Whether a line of values holds finite numbers only, tested four at a time (and copied on the way
// where the values are kept).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qor {

// The bits of v - v or-ed over the n values at p: none set when every value is a finite number, those
// of a NaN otherwise. With bCopy the values are copied to `to` as well (in the same pass).
template <bool bCopy>
inline std::uint64_t NonFiniteBits(const double* p, std::size_t n, [[maybe_unused]] double* to = nullptr)
{
    std::size_t j = 0;
    std::uint64_t bits = 0;
#if defined(__SSE2__)
    __m128d a = _mm_setzero_pd();
    __m128d b = _mm_setzero_pd();
    for (; j + 4 <= n; j += 4)
    {
        const __m128d v0 = _mm_loadu_pd(p + j);
        const __m128d v1 = _mm_loadu_pd(p + j + 2);
        if constexpr (bCopy)
        {
            _mm_storeu_pd(to + j, v0);
            _mm_storeu_pd(to + j + 2, v1);
        }
        a = _mm_or_pd(a, _mm_sub_pd(v0, v0));
        b = _mm_or_pd(b, _mm_sub_pd(v1, v1));
    }
    alignas(16) std::uint64_t lanes[2];
    _mm_store_pd(reinterpret_cast<double*>(lanes), _mm_or_pd(a, b));
    bits = lanes[0] | lanes[1];
#endif
    for (; j < n; ++j)
    {
        if constexpr (bCopy) to[j] = p[j];
        const double d = p[j] - p[j];
        std::uint64_t one = 0;
        std::memcpy(&one, &d, sizeof one);
        bits |= one;
    }
    return bits;
}

} // namespace qor
