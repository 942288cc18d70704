#include "dsp/QuarryEffectCore.h"

#include <algorithm>

namespace
{
float clampToUnit(double value)
{
    if (!(value > 0.0))
        return 0.0f;
    return static_cast<float>(std::min(value, 1.0));
}
} // namespace

QuarryEffectCore::QuarryEffectCore(CoreOwner* coreOwner) : owner(coreOwner)
{
    sampleRateInfo.update(44100.0);
}

void QuarryEffectCore::changePreset()
{
    std::lock_guard<std::recursive_mutex> guard(coreLock);
    presetFade.start();
}

void QuarryEffectCore::setBlockSize(int) {}
void QuarryEffectCore::prepare(float) {}
void QuarryEffectCore::setParameter(int, float) {}
void QuarryEffectCore::setTempo(double) {}
int QuarryEffectCore::setQuality(unsigned)
{
    return 0;
}
void QuarryEffectCore::clockHook() {}
int QuarryEffectCore::getLatency() const
{
    return 0;
}
void QuarryEffectCore::processStereo(float*, float*, int) {}
void QuarryEffectCore::processMono(float*, int) {}

void QuarryEffectCore::getMeterLevels(float& left, float& right) const
{
    std::shared_lock<std::shared_mutex> reader(meterLock);
    left = meterLeft;
    right = meterRight;
}

void QuarryEffectCore::publishMeterLevels(double left, double right)
{
    std::unique_lock<std::shared_mutex> writer(meterLock);
    meterLeft = clampToUnit(left);
    meterRight = clampToUnit(right);
}

double QuarryEffectCore::advanceActivePresetFade()
{
    // At least one silent sample, so that a very low rate cannot leave the fade waiting forever.
    const int silenceSamples = std::max(1, static_cast<int>(sampleRateInfo.rateRatio * 4000.0));
    return presetFade.advance(sampleRateInfo.smoothingStep, silenceSamples, owner);
}
