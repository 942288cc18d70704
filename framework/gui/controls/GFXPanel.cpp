#include "framework/gui/controls/GFXPanel.h"

#include "framework/gui/skin/SkinLoader.h"
#include "framework/xml/XmlRules.h"

GFXPanel::GFXPanel() = default;

GFXPanel::~GFXPanel()
{
    // Nested controls go before the panel's own parts.
    removeAllChildren();
    controls.clear();
}

void GFXPanel::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                           const EventsMap& events, juce::Component* editor)
{
    BaseGFXController::loadFromXml(element, parameters, events, editor);
    if (const auto* gfx = findChild(element, "gfx"))
        transparent = XmlRules::getAttribute(*gfx, "transparent") == "true";
    setBounds(left, top, width, height);

    if (const auto* nested = findChild(element, "controls"))
    {
        const int offsetX = XmlRules::getIntAttribute(element, "ofsX", 0);
        const int offsetY = XmlRules::getIntAttribute(element, "ofsY", 0);
        for (auto* child : nested->getChildIterator())
        {
            auto built = createSkinControl(child->getTagName(), SkinScope::insidePanel);
            if (built.component == nullptr)
                continue;
            built.component->setName(XmlRules::getAttribute(*child, "name"));
            built.controller->loadFromXml(*child, parameters, events, editor);
            built.component->setTopLeftPosition(built.component->getPosition().translated(offsetX, offsetY));
            addAndMakeVisible(built.component.get());
            controllers.add(built.controller);
            controls.add(built.component.release());
        }
    }
    repaint();
}

void GFXPanel::addListener(Listener* listener)
{
    GUIController::addListener(listener);
    for (auto* controller : controllers)
        controller->addListener(listener);
}

void GFXPanel::paint(juce::Graphics& g)
{
    if (transparent)
        return;
    if (hasImage())
    {
        drawFrame(g, 0);
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(), Placeholder::boxGrey);
}
