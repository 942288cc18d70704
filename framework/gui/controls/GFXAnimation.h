#pragma once

#include "framework/gui/controls/BaseGFXController.h"

// A strip that shows a value (meters) or a frame (LEDs); its timer, when the owner starts it,
// returns it to the rest frame once.
class GFXAnimation : public BaseGFXController, public juce::Component, private juce::Timer
{
public:
    GFXAnimation();

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void updateFromParameter(Parameter* parameter) override;
    void applySize() override;
    void applyPosition() override;

    void setValue(float value);
    void setFrame(int frame);
    int getCurrentFrame() const noexcept { return currentFrame; }
    void startRestTimer(int milliseconds) { startTimer(milliseconds); }

    void paint(juce::Graphics& g) override;

private:
    void timerCallback() override;

    int currentFrame = 0;
    int restFrame = 0;
};
