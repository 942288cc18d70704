#include "framework/gui/controls/UnusedKinds.h"

GFXValueBox::GFXValueBox(const juce::String& kind) : kindName(kind) {}

void GFXValueBox::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                              const EventsMap& events, juce::Component* editor)
{
    BaseGFXController::loadFromXml(element, parameters, events, editor);
    setBounds(left, top, width, height);
    repaint();
}

void GFXValueBox::paint(juce::Graphics& g)
{
    Placeholder::drawBox(g, getLocalBounds(), Placeholder::boxGrey);
    Placeholder::drawParameter(g, getLocalBounds(), getConnectedParameter(), kindName);
}

SpringKnob::SpringKnob(double minimum, double rest) : restValue(rest)
{
    setRange(minimum, 1.0, 0.0);
    setValue(rest, juce::dontSendNotification);
}

void SpringKnob::stoppedDragging()
{
    GFXKnob::stoppedDragging();
    setValue(restValue, juce::sendNotificationSync);
}
