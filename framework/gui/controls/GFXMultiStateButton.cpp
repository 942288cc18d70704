#include "framework/gui/controls/GFXMultiStateButton.h"

#include "framework/gui/skin/FrameGeometry.h"
#include "framework/xml/XmlRules.h"

GFXMultiStateButton::GFXMultiStateButton() : ClickEventButton({}) {}

void GFXMultiStateButton::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                                      const EventsMap& events, juce::Component* editor)
{
    GUIController::loadFromXml(element, parameters, events, editor);
    loadPosition(element);
    loadSize(element);
    if (XmlRules::hasTag(element, "MultiStateButton"))
    {
        const auto style = XmlRules::getAttribute(element, "style", "2D");
        if (style == "2D")
            look = look2D;
        else if (style == "3D")
            look = look3D;
        const int states = XmlRules::getIntAttribute(element, "states", numStates);
        if (states > 1)
            numStates = states;
        loadBitmap(element, look == look3D ? numStates * 2 : numStates);
        loadClickEvent(element);
        const int group = XmlRules::getIntAttribute(element, "radioGroupId", 0);
        if (group != getRadioGroupId())
            setRadioGroupId(group);
    }
    setBounds(left, top, width, height);
    repaint();
}

void GFXMultiStateButton::addAction(const juce::String& type, int eventId, const juce::String&)
{
    // Ids only: this kind shows no tooltip.
    ClickEventButton::addAction(type, eventId, {});
}

void GFXMultiStateButton::updateFromParameter(Parameter* parameter)
{
    if (parameter != nullptr)
        setState(FrameGeometry::frameForClampedValue(numStates, parameter->getNormalizedValue()));
}

void GFXMultiStateButton::setState(int state)
{
    if (state == currentState)
        return;
    currentState = state;
    repaint();
}

int GFXMultiStateButton::getShownFrame() const
{
    if (showsRestFrame())
        return 0;
    const bool pressed = isOver() && isDown();
    return look == look3D ? currentState * 2 + (pressed ? 1 : 0) : currentState;
}

void GFXMultiStateButton::paintButton(juce::Graphics& g, bool, bool)
{
    if (hasImage())
    {
        drawFrame(g, getShownFrame());
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(), Placeholder::boxGrey);
    Placeholder::drawFrameIndicator(g, getLocalBounds(), currentState, numStates, 2.0f);
}
