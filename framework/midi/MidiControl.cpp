#include "framework/midi/MidiControl.h"

MidiControl::MidiControl(ParameterManager& parameterSet) : parameters(parameterSet) {}

MidiControl::~MidiControl() = default;

void MidiControl::setApplicationName(const juce::String& name)
{
    applicationName = name;
}

void MidiControl::handleMidiMessage(const juce::MidiMessage&) {}
