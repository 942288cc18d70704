#pragma once

#include "dsp/QuarryEffectCore.h"
#include "framework/processor/BasePluginOldStyle.h"
#include "framework/processor/MidiEventQueue.h"

// What every effect of the product line has: one DSP core driven in sample-accurate runs cut
// at MIDI events, the processor lock, and the quality setting.
class QuarryEffect : public BasePluginOldStyle
{
public:
    using Core = QuarryEffectCore;

    QuarryEffect(int numPresetableParameters, int numOtherParameters);
    ~QuarryEffect() override;

    void prepareToPlay(double sampleRate, int estimatedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midiMessages) override;
    // While running, the core is prepared for the new rate on the calling thread, between two
    // runs, as a resume at that rate would prepare it.
    void hostSampleRateChanged(double newRate) override;

    void initialise() override;
    void parameterChanged(Parameter* parameter) override;

    // State and settings documents: the quality and the preset manager's parts.
    void loadStateXml(const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createStateXml() override;
    void loadCurrentProgramXml(const juce::XmlElement& element) override;
    std::unique_ptr<juce::XmlElement> createCurrentProgramXml() override;
    std::unique_ptr<juce::XmlElement> createUserSettings() override;
    void loadUserSettingsXml(const juce::XmlElement& element) override;

    // "UniqueData": the current quality level as text.
    virtual std::unique_ptr<juce::XmlElement> createUniqueDataXml();
    virtual void loadUniqueDataXml(const juce::XmlElement& element);
    static juce::String qualityLevelText(int level);
    static int qualityLevelFromText(const juce::String& text); // -1 when unknown

    virtual Core* createCore() { return nullptr; }
    virtual int getNumClocks() const { return 0; }
    virtual bool hasQualitySetting() const = 0;
    virtual bool isQualityAppliedOnPrepare() const { return true; }

    // floor(q * 3 + 0.5): the nearest of the four levels, halves rounding up.
    static unsigned qualityCodeOf(float normalizedQuality);
    unsigned getQualityCode() const;
    int getDefaultQualityLevel() const noexcept { return defaultQualityLevel; }
    void setDefaultQualityLevel(int level) noexcept { defaultQualityLevel = juce::jlimit(0, 3, level); }

    bool isActive() const noexcept { return active.load() != 0; }
    Core* getCore() noexcept { return core.get(); }
    juce::CriticalSection& getProcessorLock() noexcept { return processorLock; }

protected:
    void loadUserSettings() override;

    // Handles one MIDI event between two runs: control changes and program changes.
    virtual void handleMidiEvent(const juce::MidiMessageMetadata& event);

private:
    // Lets the core call back into the preset layer without the core knowing the processor.
    struct CoreCallback : CoreOwner
    {
        explicit CoreCallback(QuarryEffect& effect) : owner(effect) {}
        void applyCurrentPreset() override { owner.applyCurrentPreset(); }
        QuarryEffect& owner;
    };

    // The core prepared for rate with the current quality; the latency reported where it changed.
    void prepareCore(double sampleRate, int estimatedSamplesPerBlock);
    void flushRun();

    // Per-block run state, audio thread only.
    int pendingSamples = 0;
    bool stereo = false;
    float* leftPointer = nullptr;
    float* rightPointer = nullptr;

    int defaultQualityLevel = 0;
    Parameter* qualityParameter = nullptr;
    std::atomic<int> active{0};
    MidiEventQueue midiQueue;
    juce::CriticalSection processorLock;
    // Guarded by the processor lock. Values that reach the core after a prepare and before the
    // first run would glide from the old ones; the first run prepares the core again instead,
    // so it starts at them.
    double preparedSampleRate = 0.0;
    bool audioHasFlowed = false;
    bool valuesChangedBeforeFirstRun = false;
    CoreCallback coreCallback{*this};
    std::unique_ptr<Core> core;
};
