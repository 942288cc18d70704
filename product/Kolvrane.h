#pragma once

#include "dsp/KolvraneParameters.h"
#include "framework/processor/QuarryOldCompatible.h"
#include "product/KolvraneVersion.h"

// The product: a stereo multiband distortion unit with 22 host parameters.
class Kolvrane : public QuarryOldCompatible
{
public:
    // Presets are written with this revision; those without one (or with 0) predate
    // "Distortion Function" and "FX" and are converted when read.
    static constexpr int presetRevision = 1;

    enum ProductEvent
    {
        toggleDistortionFunction = 0
    };

    Kolvrane();
    ~Kolvrane() override;

    BasePluginEditor* createEditorComponent() override;
    juce::String getProductName() const override { return "Kolvrane"; }
    juce::String getProductCode() const override { return "KV"; }
    int getNumHostParameters() const override { return KolvraneParameter::hostCount; }
    juce::String getParameterTextForIndex(int parameterIndex) override;
    void handleEvent(int eventId) override;

    void presetFromXml(const juce::XmlElement& element, Preset& preset) const override;
    std::unique_ptr<juce::XmlElement> presetToXml(const Preset& preset) const override;
    // The value an older revision stored for presetable parameter `index`, in today's meaning.
    static float convertLegacyPresetValue(int index, double value);

    Core* createCore() override;
    bool hasQualitySetting() const override { return true; }
    bool isQualityAppliedOnPrepare() const override { return true; }

    juce::String getDescription() const override { return "Multiband Distortion Unit"; }
    juce::String getVersionString() const override { return KolvraneVersion::text; }
    juce::String getFirstYear() const override { return "2008"; }
    juce::String getReleaseDate() const override { return "2012-02-09"; }
    juce::String getBuildString() const override { return "409.1304"; }
    juce::String getPluginFormat() const override { return "VST"; }
    juce::String getPlatform() const override { return "64bit"; }
};
