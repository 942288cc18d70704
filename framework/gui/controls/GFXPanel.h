#pragma once

#include "framework/gui/controls/BaseGFXController.h"

// A container of nested skin controls, with its own bitmap behind them unless transparent.
// Listeners given to the panel reach every nested control.
class GFXPanel : public BaseGFXController, public juce::Component
{
public:
    GFXPanel();
    ~GFXPanel() override;

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void addListener(Listener* listener) override;
    void paint(juce::Graphics& g) override;

    int getNumControls() const noexcept { return controls.size(); }
    GUIController* getController(int index) const { return controllers[index]; }
    bool isTransparent() const noexcept { return transparent; }

private:
    juce::OwnedArray<juce::Component> controls;
    juce::Array<GUIController*> controllers;
    bool transparent = false;
};
