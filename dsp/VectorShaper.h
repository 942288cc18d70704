#pragma once

#include "dsp/Shaper.h"
#include "dsp/VectorPath.h"

// The shaper four values at a time (AVX2 and FMA), with exactly the scalar shaper's operations,
// so the results are the same bit for bit. It takes the functions whose curves are table
// lookups and plain arithmetic; the others stay with the scalar shaper.
class VectorShaper
{
public:
    static constexpr bool shapesFunction(int function)
    {
        return function == functionTanh || function == functionHardClip ||
               function == functionMixedTanhClip || function == functionAsymmetricTanh;
    }

    // A base-rate block in place, as Shaper::shapeBlock does with the block's inverse shapes;
    // a function it does not shape leaves the block alone. Only where processorHasVectorPath().
    static void shapeBlock(const ShaperBlock& block, const TanhTable& tanh, ClipFlags& flags);
};

#if KOLVRANE_HAS_VECTOR_PATH
// The pieces the oversampler's vector path shapes its phases with.
namespace vector_shaper
{
// Clip flags after L shaped values in order, from bit masks of the values above the zone, in it
// and below it: a value in the zone clears both flags, one outside sets its own.
inline void updateClipFlags(unsigned positive, unsigned zone, unsigned negative, ClipFlags& flags)
{
    const int lastZone = zone != 0 ? 31 - __builtin_clz(zone) : -1;
    const unsigned after = ~0u << (lastZone + 1);
    const std::uint8_t keep = zone == 0 ? 1 : 0;
    flags.positive = static_cast<std::uint8_t>(((positive & after) != 0) | (flags.positive & keep));
    flags.negative = static_cast<std::uint8_t>(((negative & after) != 0) | (flags.negative & keep));
}

// TanhTable::lookup on four values, with the same clamping (NaN reads entry 0).
KOLVRANE_VECTOR_TARGET inline __m256d tanhLookup(__m256d y, const double* entries)
{
    __m256d position =
        _mm256_mul_pd(_mm256_add_pd(y, _mm256_set1_pd(TanhTable::offset)), _mm256_set1_pd(TanhTable::scale));
    position = _mm256_max_pd(position, _mm256_setzero_pd()); // the second operand wins for NaN
    position = _mm256_min_pd(position, _mm256_set1_pd(TanhTable::size - 1));
    // Four scalar loads: faster than a gather on the processors measured.
    alignas(16) int index[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm256_cvttpd_epi32(position));
    const __m128d low = _mm_loadh_pd(_mm_load_sd(entries + index[0]), entries + index[1]);
    const __m128d high = _mm_loadh_pd(_mm_load_sd(entries + index[2]), entries + index[3]);
    return _mm256_set_m128d(high, low);
}

struct VectorSettings
{
    __m256d threshold, negativeThreshold, shape, inverse, tiny;
};

// One vector of the symmetric functions: the values above t, below -t, and x in the zone.
template <int Function>
KOLVRANE_VECTOR_TARGET inline __m256d shapeSymmetric(__m256d x, const VectorSettings& s,
                                                     const double* entries, __m256d& above, __m256d& below)
{
    above = _mm256_cmp_pd(x, s.threshold, _CMP_GT_OQ);
    below = _mm256_cmp_pd(x, s.negativeThreshold, _CMP_LT_OQ);
    const __m256d overTop = _mm256_sub_pd(x, s.threshold);
    const __m256d overBottom = _mm256_add_pd(x, s.threshold);
    __m256d upper, lower;
    if (Function == functionTanh)
    {
        const __m256d argument =
            _mm256_blendv_pd(_mm256_mul_pd(overBottom, s.shape), _mm256_mul_pd(overTop, s.shape), above);
        const __m256d curve = _mm256_mul_pd(tanhLookup(argument, entries), s.inverse);
        upper = _mm256_add_pd(_mm256_add_pd(s.threshold, curve), s.tiny);
        lower = _mm256_add_pd(_mm256_sub_pd(curve, s.threshold), s.tiny);
    }
    else
    {
        upper = _mm256_add_pd(_mm256_add_pd(_mm256_mul_pd(overTop, s.inverse), s.threshold), s.tiny);
        const __m256d bottomCurve = Function == functionHardClip
                                        ? overBottom
                                        : tanhLookup(_mm256_mul_pd(overBottom, s.shape), entries);
        lower = _mm256_add_pd(_mm256_sub_pd(_mm256_mul_pd(bottomCurve, s.inverse), s.threshold), s.tiny);
    }
    return _mm256_blendv_pd(_mm256_blendv_pd(x, lower, below), upper, above);
}

// ASIM. TANH: the zone is shifted by d = tiny - 2 R and the curve offset by t0 = tanh(d).
KOLVRANE_VECTOR_TARGET inline __m256d shapeAsymmetric(__m256d x, const VectorSettings& s, __m256d d,
                                                      __m256d t0, __m256d upperEdge, __m256d lowerEdge,
                                                      const double* entries, __m256d& above, __m256d& below)
{
    above = _mm256_cmp_pd(x, upperEdge, _CMP_GT_OQ);
    const __m256d inZone = _mm256_andnot_pd(above, _mm256_cmp_pd(x, lowerEdge, _CMP_GE_OQ));
    below = _mm256_andnot_pd(_mm256_or_pd(above, inZone), _mm256_castsi256_pd(_mm256_set1_epi64x(-1)));
    const __m256d argument =
        _mm256_blendv_pd(_mm256_add_pd(x, s.threshold), _mm256_sub_pd(x, s.threshold), above);
    const __m256d curve = tanhLookup(_mm256_add_pd(argument, d), entries);
    const __m256d upper = _mm256_add_pd(_mm256_sub_pd(_mm256_add_pd(s.threshold, curve), t0), s.tiny);
    const __m256d lower = _mm256_add_pd(_mm256_sub_pd(_mm256_sub_pd(curve, s.threshold), t0), s.tiny);
    const __m256d zone = _mm256_sub_pd(_mm256_add_pd(x, d), t0);
    return _mm256_blendv_pd(_mm256_blendv_pd(zone, lower, below), upper, above);
}

} // namespace vector_shaper
#endif
