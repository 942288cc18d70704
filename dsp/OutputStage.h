#pragma once

#include "dsp/Branchless.h"
#include "dsp/Tables.h"

#include <cmath>

// Removes the DC that the shaper (notably ASIM. TANH) leaves; pole 1 - 0.005 * b.
struct DcBlocker
{
    double previousInput = 0.0;
    double previousOutput = 0.0;

    double process(double s, double pole)
    {
        previousOutput = s - previousInput + 1e-20 + pole * previousOutput + 1e-20;
        previousInput = s;
        return previousOutput;
    }
};

// Dry/wet crossfade against the latency-aligned dry sample, then the output gain.
inline double mixDryWet(double wet, double dry, double fx, double outputGain)
{
    return ((wet - dry) * fx + dry) * outputGain + 1e-20;
}

// Peak-hold meter on the meter curve, decaying by D per sample.
struct LevelMeter
{
    double state = 0.0;

    void update(double output, const MeterCurve& curve, double decay)
    {
        state = branchless::greater(curve.lookup(output), state) * decay + 1e-20;
    }
};

// Switches a channel off once its input is silent and its output has decayed below 2e-5.
struct ChannelActivity
{
    static constexpr double silenceLevel = 2e-5;

    bool active = true;
    double peak = 0.0;

    // Any non-zero input wakes the channel. The peak is raised by the magnitude: a block that
    // starts on a negative half-wave must not be taken for silence and dropped in pass 3.
    void noteInput(double x)
    {
        if (x != 0.0)
        {
            active = true;
            const double magnitude = std::abs(x);
            if (magnitude > peak)
                peak = magnitude;
        }
    }

    void noteOutput(double output, double decay)
    {
        // The peak carries no denormal guard; far below the silence level its exact value no
        // longer matters, so it is flushed before it reaches the slow denormal range.
        peak = (decay + 1e-20) * peak;
        if (peak < 1e-30)
            peak = 0.0;
        peak = branchless::greater(std::abs(output), peak);
        if (peak < silenceLevel)
            active = false;
    }
};
