#include "dsp/Shaper.h"

namespace
{
template <int Function>
void shapeBlockWith(double* buffer, int count, const double* thresholds, const double* shapes,
                    const double* rawShapes, const TanhTable& tanh, ClipFlags& flags)
{
    ClipFlags localFlags = flags; // keeps the byte stores from aliasing the buffers
    for (int i = 0; i < count; ++i)
    {
        const ShaperSettings settings{thresholds[i], shapes[i], rawShapes[i]};
        buffer[i] = shaper::shapeSample<Function, false>(buffer[i], settings, tanh, localFlags);
    }
    flags = localFlags;
}

template <int Function>
void shapeBlockWithInverse(double* buffer, int count, const double* thresholds, const double* shapes,
                           const double* inverseShapes, const double* rawShapes, const TanhTable& tanh,
                           ClipFlags& flags)
{
    ClipFlags localFlags = flags;
    for (int i = 0; i < count; ++i)
    {
        const ShaperSettings settings{thresholds[i], shapes[i], rawShapes[i], inverseShapes[i]};
        buffer[i] = shaper::shapeSample<Function, false>(buffer[i], settings, tanh, localFlags);
    }
    flags = localFlags;
}

template <bool Oversampled>
double shapeWith(int function, double x, const ShaperSettings& s, const TanhTable& tanh, ClipFlags& flags)
{
    switch (function)
    {
    case functionTanh:
        return shaper::shapeSample<functionTanh, Oversampled>(x, s, tanh, flags);
    case functionAtan:
        return shaper::shapeSample<functionAtan, Oversampled>(x, s, tanh, flags);
    case functionHardClip:
        return shaper::shapeSample<functionHardClip, Oversampled>(x, s, tanh, flags);
    case functionCrossover:
        return shaper::shapeSample<functionCrossover, Oversampled>(x, s, tanh, flags);
    case functionAsymmetricTanh:
        return shaper::shapeSample<functionAsymmetricTanh, Oversampled>(x, s, tanh, flags);
    case functionMixedTanhClip:
        return shaper::shapeSample<functionMixedTanhClip, Oversampled>(x, s, tanh, flags);
    default:
        return 0.0;
    }
}
} // namespace

double Shaper::shape(int function, bool oversampled, double x, const ShaperSettings& settings,
                     const TanhTable& tanh, ClipFlags& flags)
{
    return oversampled ? shapeWith<true>(function, x, settings, tanh, flags)
                       : shapeWith<false>(function, x, settings, tanh, flags);
}

void Shaper::shapeBlock(int function, double* buffer, int count, const double* thresholds,
                        const double* shapes, const double* rawShapes, const TanhTable& tanh,
                        ClipFlags& flags)
{
    switch (function)
    {
    case functionTanh:
        return shapeBlockWith<functionTanh>(buffer, count, thresholds, shapes, rawShapes, tanh, flags);
    case functionAtan:
        return shapeBlockWith<functionAtan>(buffer, count, thresholds, shapes, rawShapes, tanh, flags);
    case functionHardClip:
        return shapeBlockWith<functionHardClip>(buffer, count, thresholds, shapes, rawShapes, tanh, flags);
    case functionCrossover:
        return shapeBlockWith<functionCrossover>(buffer, count, thresholds, shapes, rawShapes, tanh, flags);
    case functionAsymmetricTanh:
        return shapeBlockWith<functionAsymmetricTanh>(buffer, count, thresholds, shapes, rawShapes, tanh,
                                                      flags);
    case functionMixedTanhClip:
        return shapeBlockWith<functionMixedTanhClip>(buffer, count, thresholds, shapes, rawShapes, tanh,
                                                     flags);
    default:
        for (int i = 0; i < count; ++i)
            buffer[i] = 0.0;
    }
}

void Shaper::shapeBlock(int function, double* buffer, int count, const double* thresholds,
                        const double* shapes, const double* inverseShapes, const double* rawShapes,
                        const TanhTable& tanh, ClipFlags& flags)
{
    switch (function)
    {
    case functionTanh:
        return shapeBlockWithInverse<functionTanh>(buffer, count, thresholds, shapes, inverseShapes, rawShapes,
                                                   tanh, flags);
    case functionAtan:
        return shapeBlockWithInverse<functionAtan>(buffer, count, thresholds, shapes, inverseShapes, rawShapes,
                                                   tanh, flags);
    case functionHardClip:
        return shapeBlockWithInverse<functionHardClip>(buffer, count, thresholds, shapes, inverseShapes,
                                                       rawShapes, tanh, flags);
    case functionCrossover:
        return shapeBlockWithInverse<functionCrossover>(buffer, count, thresholds, shapes, inverseShapes,
                                                        rawShapes, tanh, flags);
    case functionAsymmetricTanh:
        return shapeBlockWithInverse<functionAsymmetricTanh>(buffer, count, thresholds, shapes, inverseShapes,
                                                             rawShapes, tanh, flags);
    case functionMixedTanhClip:
        return shapeBlockWithInverse<functionMixedTanhClip>(buffer, count, thresholds, shapes, inverseShapes,
                                                            rawShapes, tanh, flags);
    default:
        for (int i = 0; i < count; ++i)
            buffer[i] = 0.0;
    }
}
