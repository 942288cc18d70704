#pragma once

#include "framework/gui/controls/BaseGFXController.h"

// What the skin's buttons share: firing on press or release, the Ctrl variant of the event.
class ClickEventButton : public BaseGFXController, public juce::Button
{
public:
    explicit ClickEventButton(const juce::String& name);

    void addAction(const juce::String& type, int eventId, const juce::String& displayName) override;
    int getClickEventId() const noexcept { return clickEventId; }
    int getCtrlClickEventId() const noexcept { return ctrlClickEventId; }

protected:
    // "clickEvent": "onPress" fires on the press, "onRelease" on the release.
    void loadClickEvent(const juce::XmlElement& element);
    // The event of a click: the Ctrl one with Ctrl held, else the plain one; -1 fires nothing.
    void fireEvent(const juce::ModifierKeys& modifiers);
    void clicked(const juce::ModifierKeys& modifiers) override { fireEvent(modifiers); }

    int clickEventId = -1;
    juce::String clickDisplayName;
    int ctrlClickEventId = -1;
    juce::String ctrlClickDisplayName;
};

// A push button with a two-frame strip: frame 1 while held under the mouse. Its tooltip names
// the event that a click would raise now.
class GFXButton : public ClickEventButton
{
public:
    GFXButton();

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;

    void mouseEnter(const juce::MouseEvent& event) override;
    void modifierKeysChanged(const juce::ModifierKeys& modifiers) override;
    void paintButton(juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;

    static constexpr int repeatDelayMs = 1000;
    static constexpr int repeatIntervalMs = 100;

private:
    void updateTooltip(const juce::ModifierKeys& modifiers);
};
