#pragma once

// Branch-free forms of the comparisons the per-sample code makes on the signal. Each computes
// exactly the expression in its comment (NaN and signed-zero cases included), as the SSE2
// instruction that is defined that way; compilers keep such ternaries as branches, which loud
// material mispredicts.

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace branchless
{
// x > y ? x : y
inline double greater(double x, double y)
{
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_max_sd(_mm_set_sd(x), _mm_set_sd(y)));
#else
    return x > y ? x : y;
#endif
}

// x < y ? x : y
inline double lesser(double x, double y)
{
#if defined(__SSE2__)
    return _mm_cvtsd_f64(_mm_min_sd(_mm_set_sd(x), _mm_set_sd(y)));
#else
    return x < y ? x : y;
#endif
}

// a > b ? ifGreater : otherwise
inline double ifGreater(double a, double b, double ifGreater, double otherwise)
{
#if defined(__SSE2__)
    const __m128d mask = _mm_cmpgt_sd(_mm_set_sd(a), _mm_set_sd(b));
    return _mm_cvtsd_f64(
        _mm_or_pd(_mm_and_pd(mask, _mm_set_sd(ifGreater)), _mm_andnot_pd(mask, _mm_set_sd(otherwise))));
#else
    return a > b ? ifGreater : otherwise;
#endif
}
} // namespace branchless
