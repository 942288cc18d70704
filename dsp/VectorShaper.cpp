#include "dsp/VectorShaper.h"

#if KOLVRANE_HAS_VECTOR_PATH
namespace vector_shaper
{
namespace
{
// The shaper at the base rate (quality 0), four samples at a time with their own settings.
template <int Function>
KOLVRANE_VECTOR_TARGET void shapeBaseRateWith(const ShaperBlock& block, const TanhTable& tanh,
                                              ClipFlags& flags)
{
    ClipFlags localFlags = flags;
    const double* const entries = tanh.data();
    const __m256d tiny = _mm256_set1_pd(shaper::tiny);
    const __m256d signBit = _mm256_set1_pd(-0.0);
    double* const buffer = block.buffer;
    const int count = block.count;
    int i = 0;
    for (; i + 4 <= count; i += 4)
    {
        const __m256d t = _mm256_loadu_pd(block.thresholds + i);
        const __m256d negativeT = _mm256_xor_pd(t, signBit);
        const VectorSettings s{t, negativeT, _mm256_loadu_pd(block.shapes + i),
                               _mm256_loadu_pd(block.inverseShapes + i), tiny};
        const __m256d x = _mm256_loadu_pd(buffer + i);
        __m256d above, below, y;
        if constexpr (Function == functionAsymmetricTanh)
        {
            const __m256d d =
                _mm256_sub_pd(tiny, _mm256_mul_pd(_mm256_set1_pd(2.0), _mm256_loadu_pd(block.rawShapes + i)));
            y = shapeAsymmetric(x, s, d, tanhLookup(d, entries), _mm256_sub_pd(t, d),
                                _mm256_sub_pd(negativeT, d), entries, above, below);
        }
        else
            y = shapeSymmetric<Function>(x, s, entries, above, below);
        _mm256_storeu_pd(buffer + i, y);
        const unsigned positive = static_cast<unsigned>(_mm256_movemask_pd(above));
        const unsigned negative = static_cast<unsigned>(_mm256_movemask_pd(below));
        updateClipFlags(positive, 0xFu & ~(positive | negative), negative, localFlags);
    }
    for (; i < count; ++i)
    {
        const ShaperSettings settings{block.thresholds[i], block.shapes[i], block.rawShapes[i],
                                      block.inverseShapes[i]};
        buffer[i] = shaper::shapeSample<Function, false>(buffer[i], settings, tanh, localFlags);
    }
    flags = localFlags;
}

KOLVRANE_VECTOR_TARGET void shapeBaseRate(const ShaperBlock& block, const TanhTable& tanh, ClipFlags& flags)
{
    switch (block.function)
    {
    case functionTanh:
        return shapeBaseRateWith<functionTanh>(block, tanh, flags);
    case functionHardClip:
        return shapeBaseRateWith<functionHardClip>(block, tanh, flags);
    case functionAsymmetricTanh:
        return shapeBaseRateWith<functionAsymmetricTanh>(block, tanh, flags);
    case functionMixedTanhClip:
        return shapeBaseRateWith<functionMixedTanhClip>(block, tanh, flags);
    default:
        return;
    }
}
} // namespace
} // namespace vector_shaper

void VectorShaper::shapeBlock(const ShaperBlock& block, const TanhTable& tanh, ClipFlags& flags)
{
    vector_shaper::shapeBaseRate(block, tanh, flags);
}
#else
void VectorShaper::shapeBlock(const ShaperBlock&, const TanhTable&, ClipFlags&) {}
#endif
