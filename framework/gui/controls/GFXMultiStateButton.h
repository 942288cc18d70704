#pragma once

#include "framework/gui/controls/GFXButton.h"

// Shows one of several states (the distortion function) and raises its event when clicked;
// the click does not change the state: the event's handler changes the parameter, and the
// parameter brings the new state back.
class GFXMultiStateButton : public ClickEventButton, private juce::Timer
{
public:
    enum Look
    {
        look2D = 0,
        look3D = 1
    };

    GFXMultiStateButton();

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void addAction(const juce::String& type, int eventId, const juce::String& displayName) override;
    void updateFromParameter(Parameter* parameter) override;

    void setState(int state);
    int getState() const noexcept { return currentState; }
    int getNumStates() const noexcept { return numStates; }
    Look getLook() const noexcept { return look; }
    int getShownFrame() const;

    void paintButton(juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;

private:
    void timerCallback() override {}

    int currentState = 0;
    int numStates = 2;
    Look look = look2D;
};
