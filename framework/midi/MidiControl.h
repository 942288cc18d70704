#pragma once

#include "framework/parameters/ParameterManager.h"

#include <juce_audio_basics/juce_audio_basics.h>

// MIDI control changes driving mapped parameters.
class MidiControl
{
public:
    explicit MidiControl(ParameterManager& parameterSet);
    virtual ~MidiControl();

    // The product name: the application name that map files carry.
    void setApplicationName(const juce::String& name);
    const juce::String& getApplicationName() const noexcept { return applicationName; }

    // Audio thread: a control-change message at its sample position.
    void handleMidiMessage(const juce::MidiMessage& message);

private:
    ParameterManager& parameters;
    juce::String applicationName;
};
