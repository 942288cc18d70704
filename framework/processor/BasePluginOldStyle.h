#pragma once

#include "dsp/CoreInterfaces.h"
#include "framework/processor/BasePlugin.h"

// The preset layer: 128 preset slots in groups, the two preset parameters, copy and paste and
// MIDI program changes.
class BasePluginOldStyle : public BasePlugin
{
public:
    using PresetChanger = ::PresetChanger;
    using PresetManagerListener = ::PresetManagerListener;

    static constexpr int numPresetSlots = 128;

    BasePluginOldStyle(int numPresetableParameters, int numOtherParameters);
    ~BasePluginOldStyle() override;

    void initialise() override;
    void handleEvent(int eventId) override;
    void parameterChanged(Parameter* parameter) override;

    // Faded preset changes go through the changer (the DSP core) when one is installed.
    void setPresetChanger(PresetChanger* changer) noexcept { presetChanger = changer; }
    void addPresetManagerListener(PresetManagerListener* listener);

    int getNumPresetSlots() const noexcept { return numPresetSlots; }
    int getCurrentPresetNumber() const noexcept { return currentPreset; }
    int getNumPresetableParameters() const noexcept { return numPresetable; }

    // Makes slot `number` current and applies it, faded when a changer is installed.
    void selectPresetFromProgramChange(int number);

    // Sets the presetable parameters from the current slot. Called on the audio thread by
    // the core once a fade-out is silent.
    virtual void applyCurrentPreset();

private:
    const int numPresetable;
    const int numOther;
    int currentPreset = 0;
    PresetChanger* presetChanger = nullptr;
    juce::Array<PresetManagerListener*> presetListeners;
};
