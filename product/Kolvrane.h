#pragma once

#include "framework/processor/QuarryOldCompatible.h"

// The product: a stereo multiband distortion unit with 22 host parameters.
class Kolvrane : public QuarryOldCompatible
{
public:
    enum ParameterIndex
    {
        distortionFunctionIndex = 20,
        qualityIndex = 22
    };

    enum ProductEvent
    {
        toggleDistortionFunction = 0
    };

    static constexpr int numHostParameters = 22;

    Kolvrane();
    ~Kolvrane() override;

    BasePluginEditor* createEditorComponent() override;
    juce::String getProductName() const override { return "Kolvrane"; }
    juce::String getProductCode() const override { return "KV"; }
    int getNumHostParameters() const override { return numHostParameters; }
    juce::String getParameterTextForIndex(int parameterIndex) override;
    void handleEvent(int eventId) override;

    Core* createCore() override;
    bool hasQualitySetting() const override { return true; }
    bool isQualityAppliedOnPrepare() const override { return true; }

    juce::String getDescription() const override { return "Multiband Distortion Unit"; }
    juce::String getVersionString() const override { return "1.3.1"; }
    juce::String getFirstYear() const override { return "2008"; }
    juce::String getReleaseDate() const override { return "2012-02-09"; }
    juce::String getBuildString() const override { return "409.1304"; }
    juce::String getPluginFormat() const override { return "VST"; }
    juce::String getPlatform() const override { return "64bit"; }
};
