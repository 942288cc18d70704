#include "framework/gui/controls/GFXButton.h"

#include "framework/xml/XmlRules.h"

ClickEventButton::ClickEventButton(const juce::String& name) : juce::Button(name) {}

void ClickEventButton::addAction(const juce::String& type, int eventId, const juce::String& displayName)
{
    if (type == "onClick")
    {
        clickEventId = eventId;
        clickDisplayName = displayName;
    }
    else if (type == "onClickWithCtrl")
    {
        ctrlClickEventId = eventId;
        ctrlClickDisplayName = displayName;
    }
}

void ClickEventButton::loadClickEvent(const juce::XmlElement& element)
{
    const auto clickEvent = XmlRules::getAttribute(element, "clickEvent", "onRelease");
    if (clickEvent == "onRelease")
        setTriggeredOnMouseDown(false);
    else if (clickEvent == "onPress")
        setTriggeredOnMouseDown(true);
}

void ClickEventButton::fireEvent(const juce::ModifierKeys& modifiers)
{
    const int id = modifiers.isCtrlDown() ? ctrlClickEventId : clickEventId;
    if (id != -1)
        sendEventTriggered(id);
}

GFXButton::GFXButton() : ClickEventButton({}) {}

void GFXButton::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                            const EventsMap& events, juce::Component* editor)
{
    BaseGFXController::loadFromXml(element, parameters, events, editor);
    if (XmlRules::hasTag(element, "Button"))
    {
        loadClickEvent(element);
        const auto autorepeat = XmlRules::getAttribute(element, "autorepeat", "no");
        if (autorepeat == "yes")
            setRepeatSpeed(repeatDelayMs, repeatIntervalMs, -1);
        else if (autorepeat == "no")
            setRepeatSpeed(-1, -1, -1);
    }
    setBounds(left, top, width, height);
    repaint();
}

void GFXButton::updateTooltip(const juce::ModifierKeys& modifiers)
{
    const bool ctrl = modifiers.isCtrlDown() && ctrlClickEventId != -1;
    setTooltip(ctrl ? ctrlClickDisplayName : clickDisplayName);
}

void GFXButton::mouseEnter(const juce::MouseEvent& event)
{
    juce::Button::mouseEnter(event);
    updateTooltip(event.mods);
}

void GFXButton::modifierKeysChanged(const juce::ModifierKeys& modifiers)
{
    juce::Button::modifierKeysChanged(modifiers);
    if (isMouseOver(true))
        updateTooltip(modifiers);
}

void GFXButton::paintButton(juce::Graphics& g, bool isMouseOver, bool isButtonDown)
{
    const bool pressed = isMouseOver && isButtonDown;
    if (hasImage())
    {
        drawFrame(g, pressed && !showsRestFrame() ? 1 : 0);
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(), pressed ? Placeholder::pressedGrey : Placeholder::boxGrey);
    Placeholder::drawText(g, getLocalBounds(), getButtonText());
}
