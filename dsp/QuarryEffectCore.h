#pragma once

#include "dsp/CoreInterfaces.h"
#include "dsp/PresetFade.h"
#include "dsp/SampleRateInfo.h"
#include "dsp/Tables.h"

#include <mutex>
#include <shared_mutex>

// Base of the product line's DSP cores: sample-rate record, meter publication, meter curve,
// core lock and the preset fade. The virtual operations do nothing here.
class QuarryEffectCore : public PresetChanger, public PresetManagerListener
{
public:
    // The most samples one process call takes; the processor cuts longer runs into pieces.
    static constexpr int maxSamplesPerCall = 4096;

    explicit QuarryEffectCore(CoreOwner* owner);
    ~QuarryEffectCore() override = default;

    QuarryEffectCore(const QuarryEffectCore&) = delete;
    QuarryEffectCore& operator=(const QuarryEffectCore&) = delete;

    void setOwner(CoreOwner* newOwner) { owner = newOwner; }
    CoreOwner* getOwner() const { return owner; }

    // Asks for a faded preset change; safe to call from any thread.
    void changePreset() override;
    void presetChanged() override {}

    virtual void setBlockSize(int expectedBlockSize);
    virtual void prepare(float sampleRate);
    virtual void setParameter(int index, float normalizedValue);
    virtual void setTempo(double tempo);
    virtual int setQuality(unsigned code);
    virtual void clockHook();
    virtual int getLatency() const;
    virtual void processStereo(float* left, float* right, int count);
    virtual void processMono(float* samples, int count);

    // The owner holds this lock around every process call.
    std::recursive_mutex& getCoreLock() { return coreLock; }

    void getMeterLevels(float& left, float& right) const;

    const SampleRateInfo& getSampleRateInfo() const { return sampleRateInfo; }
    const MeterCurve& getMeterCurve() const { return meterCurve; }
    bool isPresetFadeActive() const { return presetFade.isActive(); }

protected:
    void updateSampleRateInfo(double rate) { sampleRateInfo.update(rate); }
    void publishMeterLevels(double left, double right);

    // One sample of the preset fade; returns the factor for this sample's outputs.
    double advancePresetFade() { return presetFade.isActive() ? advanceActivePresetFade() : 1.0; }

private:
    double advanceActivePresetFade();

    CoreOwner* owner;
    SampleRateInfo sampleRateInfo;
    mutable std::shared_mutex meterLock;
    float meterLeft = 0.0f;
    float meterRight = 0.0f;
    MeterCurve meterCurve;
    std::recursive_mutex coreLock;
    PresetFade presetFade;
};
