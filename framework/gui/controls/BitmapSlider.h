#pragma once

#include "framework/gui/controls/BaseGFXController.h"

// What knobs and switches share: a library slider that shows a frame of its strip, writes
// its parameter when the user moves it and reports the drag to the host through the parameter.
class BitmapSlider : public BaseGFXController, public juce::Slider
{
public:
    BitmapSlider();

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void updateFromParameter(Parameter* parameter) override;

    void valueChanged() override;
    void startedDragging() override;
    void stoppedDragging() override;
    void paint(juce::Graphics& g) override;

    // The frame the slider shows now; frame 0 while disabled.
    int getShownFrame() const;

protected:
    virtual int frameForSliderValue() const = 0;

private:
    JUCE_DECLARE_NON_COPYABLE(BitmapSlider)
};

// A rotary knob dragged vertically over the whole 0..1 range without steps.
class GFXKnob : public BitmapSlider
{
public:
    GFXKnob();

protected:
    int frameForSliderValue() const override;
};

// A slider in steps of 0.005 whose shown frame is the rounded one; the parameter quantizes.
class GFXSwitch : public BitmapSlider
{
public:
    enum Mode
    {
        vertical = 0,
        horizontal = 1,
        rotary = 2
    };

    GFXSwitch();

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    Mode getMode() const noexcept { return mode; }

    static Mode modeFromStyle(const juce::String& style);

protected:
    int frameForSliderValue() const override;

private:
    Mode mode = rotary;
};
