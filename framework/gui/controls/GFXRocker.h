#pragma once

#include "framework/gui/controls/BaseGFXController.h"

// A two-way rocker: frame 0 with its lower (or left) half pressed, 1 at rest, 2 with its upper
// (or right) half pressed; a press raises the "less" or "more" event at once.
class GFXRocker : public BaseGFXController, public juce::Component
{
public:
    enum Frame
    {
        lessPressed = 0,
        rest = 1,
        morePressed = 2
    };

    GFXRocker();

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void addAction(const juce::String& type, int eventId, const juce::String& displayName) override;

    void mouseDown(const juce::MouseEvent& event) override;
    void mouseUp(const juce::MouseEvent& event) override;
    void paint(juce::Graphics& g) override;

    int getShownFrame() const noexcept { return shownFrame; }
    bool isHorizontal() const noexcept { return horizontal; }

private:
    bool horizontal = false;
    int shownFrame = rest;
    // less, more, less with Ctrl, more with Ctrl
    int eventIds[4] = {-1, -1, -1, -1};
};
