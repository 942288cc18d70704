#pragma once

#include "framework/midi/MidiControl.h"
#include "framework/processor/BasePluginOldStyle.h"

// The preset manager's parts of the host state: "ParametersState" with the parameters' present
// values, "PresetsState" with the bank and the current preset, and the legacy document that
// older versions wrote.
class HostStateXml
{
public:
    HostStateXml(BasePluginOldStyle& plugin, MidiControl& midiControl);

    std::unique_ptr<juce::XmlElement> createParametersState() const;
    std::unique_ptr<juce::XmlElement> createPresetsState() const;

    void loadParametersState(const juce::XmlElement& element);
    // Selects the saved current preset without applying it: the parameters keep the values of
    // "ParametersState", so an edit never stored into its slot survives a project reload.
    void loadPresetsState(const juce::XmlElement& element);

    bool isLegacyState(const juce::XmlElement& root) const;
    // UniqueData children are handed to the caller, which owns the quality.
    void loadLegacyState(const juce::XmlElement& root,
                         const std::function<void(const juce::XmlElement&)>& loadUniqueData);

private:
    void selectSavedPreset(const juce::XmlElement& element);

    BasePluginOldStyle& plugin;
    MidiControl& midi;
};

// The preset manager's parts of the user settings file: "PluginDirectories", "ResourcesSettings"
// (with the MIDI map choice) and "PresetSettings".
class PresetSettingsXml
{
public:
    PresetSettingsXml(BasePluginOldStyle& plugin, MidiControl& midiControl);

    void appendTo(juce::XmlElement& root) const;
    void loadFrom(const juce::XmlElement& root);

private:
    void loadDirectories(const juce::XmlElement& element);
    void loadResources(const juce::XmlElement& element);
    void loadPresetSettings(const juce::XmlElement& element);

    BasePluginOldStyle& plugin;
    MidiControl& midi;
};
