#include "framework/gui/controls/GFXRocker.h"

#include "framework/xml/XmlRules.h"

GFXRocker::GFXRocker() = default;

void GFXRocker::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                            const EventsMap& events, juce::Component* editor)
{
    BaseGFXController::loadFromXml(element, parameters, events, editor);
    horizontal = XmlRules::getAttribute(element, "type", "vertical") == "horizontal";
    setBounds(left, top, width, height);
    repaint();
}

void GFXRocker::addAction(const juce::String& type, int eventId, const juce::String&)
{
    static const char* const types[] = {"onLessClick", "onMoreClick", "onLessClickWithCtrl",
                                        "onMoreClickWithCtrl"};
    for (int i = 0; i < 4; ++i)
        if (type == types[i])
            eventIds[i] = eventId;
}

void GFXRocker::mouseDown(const juce::MouseEvent& event)
{
    const bool more = horizontal ? event.x >= getWidth() / 2 : event.y < getHeight() / 2;
    shownFrame = more ? morePressed : lessPressed;
    repaint();
    const int id = eventIds[(more ? 1 : 0) + (event.mods.isCtrlDown() ? 2 : 0)];
    if (id != -1)
        sendEventTriggered(id);
}

void GFXRocker::mouseUp(const juce::MouseEvent&)
{
    shownFrame = rest;
    repaint();
}

void GFXRocker::paint(juce::Graphics& g)
{
    if (hasImage())
    {
        drawFrame(g, showsRestFrame() ? static_cast<int>(rest) : shownFrame);
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(),
                         shownFrame == rest ? Placeholder::boxGrey : Placeholder::pressedGrey);
    Placeholder::drawText(g, getLocalBounds(), horizontal ? "< >" : "^\nv");
}
