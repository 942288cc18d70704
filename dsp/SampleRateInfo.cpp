#include "dsp/SampleRateInfo.h"

#include <cmath>

namespace
{
int rateClassFor(double rate, int previous)
{
    if (rate == 44100.0)
        return 0;
    if (rate == 48000.0)
        return 1;
    if (rate == 88200.0)
        return 2;
    if (rate == 96000.0)
        return 3;
    if (rate == 192000.0)
        return 4;
    return previous;
}
} // namespace

void SampleRateInfo::update(double newRate)
{
    rate = newRate;
    rateFloat = static_cast<float>(newRate);
    rateClass = rateClassFor(newRate, rateClass);
    inverseRate = 1.0 / newRate;
    inverseRateFloat = static_cast<float>(inverseRate);
    halfInverseRate = 1.0 / (2.0 * newRate);
    rateRatio = newRate * 2.2675736961451248e-05;
    rateRatioFloat = static_cast<float>(rateRatio);
    timingFactor = 2.0 * (1.0 - std::pow(0.5, 44100.0 / newRate));
    timingFactorFloat = static_cast<float>(timingFactor);
    baseRateRatio = 44100.0 / newRate;
    timingFactorCubed = timingFactor * timingFactor * timingFactor;
    timingFactorCubedFloat = static_cast<float>(timingFactorCubed);
    halfRate = newRate / 2.0;
    smoothingStep = 0.002 * timingFactor;
    smoothingStepFloat = static_cast<float>(smoothingStep);
    dcStepFloat = static_cast<float>(0.005 * timingFactor);
    meterStepFloat = static_cast<float>(0.0001 * timingFactor);
}
