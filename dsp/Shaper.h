#pragma once

#include "dsp/Tables.h"

#include <cmath>
#include <cstdint>

enum DistortionFunction : int
{
    functionTanh = 0,
    functionAtan = 1,
    functionHardClip = 2,
    functionCrossover = 3,
    functionAsymmetricTanh = 4,
    functionMixedTanhClip = 5,
    functionCount = 6
};

// One pair serves both channels; the zone branch clears both, the knees OR theirs in.
struct ClipFlags
{
    std::uint8_t positive = 0;
    std::uint8_t negative = 0;
};

// Threshold T (linear), shape factor S (1..41) and raw Shape value R (0..1) of one base sample.
struct ShaperSettings
{
    ShaperSettings(double t, double s, double r) : threshold(t), shape(s), rawShape(r), inverseShape(1.0 / s)
    {
    }
    ShaperSettings(double t, double s, double r, double inverse)
        : threshold(t), shape(s), rawShape(r), inverseShape(inverse)
    {
    }

    double threshold;
    double shape;
    double rawShape;
    double inverseShape; // the oversampler shapes L values per setting: divide once
};

namespace shaper
{
constexpr double tiny = 1e-20;

inline double crossoverArgument(double u, double shape)
{
    const double a = 0.2 * shape;
    const double normaliserDenominator = 1.0 + a * a;
    const double normaliser = 1.0 - 1.0 / (normaliserDenominator * normaliserDenominator);
    const double au = a * u;
    const double denominator = 1.0 + au * au;
    const double g = u * (1.0 - 1.0 / (denominator * denominator));
    return 0.05 * g / normaliser;
}

// The memoryless curve of each function. Oversampled selects the table-based CROSSOVER tanh.
template <int Function, bool Oversampled>
inline double shapeSample(double x, const ShaperSettings& s, const TanhTable& tanh, ClipFlags& flags)
{
    const double t = s.threshold;
    if (Function == functionAsymmetricTanh)
    {
        const double d = tiny - 2.0 * s.rawShape;
        const double t0 = tanh.lookup(d);
        if (x > t - d)
        {
            flags.positive = 1;
            return t + tanh.lookup(x - t + d) - t0 + tiny;
        }
        if (x >= -t - d)
        {
            flags.positive = 0;
            flags.negative = 0;
            return x + d - t0;
        }
        flags.negative = 1;
        return tanh.lookup(x + t + d) - t - t0 + tiny;
    }

    const double sh = s.shape;
    const double inverse = s.inverseShape;
    if (x > t)
    {
        flags.positive = 1;
        switch (Function)
        {
        case functionTanh:
            return t + tanh.lookup((x - t) * sh) * inverse + tiny;
        case functionAtan:
            return 0.6366 * (t + std::atan((x - t) * sh) * inverse + tiny);
        case functionHardClip:
        case functionMixedTanhClip:
            return (x - t) * inverse + t + tiny;
        case functionCrossover:
        {
            const double f = crossoverArgument(x - t, sh);
            if (Oversampled)
                return tanh.lookup(f) + tiny;
            return 1.0 - 2.0 / (std::exp(2.0 * f) + 1.0) + tiny + tiny;
        }
        default:
            return 0.0;
        }
    }
    if (x < -t)
    {
        flags.negative = 1;
        switch (Function)
        {
        case functionTanh:
        case functionMixedTanhClip:
            return tanh.lookup((x + t) * sh) * inverse - t + tiny;
        case functionAtan:
            return 0.6366 * (std::atan((x + t) * sh) * inverse - t + tiny);
        case functionHardClip:
            return (x + t) * inverse - t + tiny;
        case functionCrossover:
        {
            const double f = crossoverArgument(x + t, sh);
            if (Oversampled)
                return tanh.lookup(f) + tiny;
            return 1.0 - 2.0 / (std::exp(2.0 * f) + 1.0) + tiny + tiny;
        }
        default:
            return 0.0;
        }
    }
    flags.positive = 0;
    flags.negative = 0;
    switch (Function)
    {
    case functionTanh:
    case functionHardClip:
    case functionMixedTanhClip:
        return x;
    case functionAtan:
        return 0.6366 * x;
    case functionCrossover:
        // f is zero inside the zone: only the denormal guards remain
        return Oversampled ? tanh.lookup(0.0) + tiny : tiny + tiny;
    default:
        return 0.0;
    }
}
} // namespace shaper

// A buffer shaped in place with per-sample settings: thresholds T, shape factors S and raw
// Shape values R, and 1 / S where the caller has it (the oversampler derives it itself).
struct ShaperBlock
{
    double* buffer;
    int count;
    const double* thresholds;
    const double* shapes;
    const double* rawShapes;
    const double* inverseShapes;
    int function;
};

class Shaper
{
public:
    // One sample of any function; an index outside 0..5 yields 0 (flags untouched).
    static double shape(int function, bool oversampled, double x, const ShaperSettings& settings,
                        const TanhTable& tanh, ClipFlags& flags);

    // Shapes a base-rate buffer in place with per-sample settings.
    static void shapeBlock(int function, double* buffer, int count, const double* thresholds,
                           const double* shapes, const double* rawShapes, const TanhTable& tanh,
                           ClipFlags& flags);

    // The same with 1 / shape already known per sample.
    static void shapeBlock(int function, double* buffer, int count, const double* thresholds,
                           const double* shapes, const double* inverseShapes, const double* rawShapes,
                           const TanhTable& tanh, ClipFlags& flags);
};
