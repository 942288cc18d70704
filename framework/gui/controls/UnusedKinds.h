#pragma once

#include "framework/gui/controls/BitmapSlider.h"

// Kinds the skin language accepts but this plug-in's skin does not use. They are built and
// wired like the others and show their value as a placeholder, so a skin that names them
// still loads and works; their bitmap drawing comes when a product needs it.
class GFXValueBox : public BaseGFXController, public juce::Component
{
public:
    explicit GFXValueBox(const juce::String& kindName);

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void updateFromParameter(Parameter*) override { repaint(); }
    void paint(juce::Graphics& g) override;

    const juce::String& getKindName() const noexcept { return kindName; }

private:
    const juce::String kindName;
};

class NumericDisplay : public GFXValueBox
{
public:
    NumericDisplay() : GFXValueBox("NumericDisplay") {}
};

class PatternNumberDisplay : public GFXValueBox
{
public:
    PatternNumberDisplay() : GFXValueBox("PatternNumberDisplay") {}
};

class NoteDisplay : public GFXValueBox
{
public:
    NoteDisplay() : GFXValueBox("NoteDisplay") {}
};

class MusicKeyboard : public GFXValueBox
{
public:
    MusicKeyboard() : GFXValueBox("MusicKeyboard") {}
};

class ParameterModulator : public GFXValueBox
{
public:
    ParameterModulator() : GFXValueBox("ParameterModulator") {}
};

// A knob that springs back to its rest value when the drag ends.
class SpringKnob : public GFXKnob
{
public:
    SpringKnob(double minimum, double rest);
    void stoppedDragging() override;

private:
    const double restValue;
};

class PitchBender : public SpringKnob
{
public:
    PitchBender() : SpringKnob(-1.0, 0.0) {}
};

class ModWheel : public SpringKnob
{
public:
    ModWheel() : SpringKnob(0.0, 0.0) {}
};
