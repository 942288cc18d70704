#include "framework/gui/controls/GFXToggleButton.h"

#include "framework/xml/XmlRules.h"

GFXToggleButtonDragGroup* GFXToggleButtonDragGroup::instance = nullptr;
juce::CriticalSection GFXToggleButtonDragGroup::creationLock;

GFXToggleButtonDragGroup& GFXToggleButtonDragGroup::getInstance()
{
    const juce::ScopedLock locked(creationLock);
    if (instance == nullptr)
        instance = new GFXToggleButtonDragGroup();
    return *instance;
}

GFXToggleButtonDragGroup::~GFXToggleButtonDragGroup()
{
    const juce::ScopedLock locked(creationLock);
    instance = nullptr;
}

GFXToggleButtonDragGroup::Group& GFXToggleButtonDragGroup::join(const juce::String& name,
                                                                GFXToggleButton* button)
{
    auto& group = groups[name];
    group.buttons.addIfNotAlreadyThere(button);
    return group;
}

void GFXToggleButtonDragGroup::leave(const juce::String& name, GFXToggleButton* button)
{
    auto found = groups.find(name);
    if (found == groups.end())
        return;
    found->second.buttons.removeFirstMatchingValue(button);
    if (found->second.buttons.isEmpty())
        groups.erase(found);
}

GFXToggleButtonDragGroup::Group* GFXToggleButtonDragGroup::find(const juce::String& name)
{
    auto found = groups.find(name);
    return found != groups.end() ? &found->second : nullptr;
}

GFXToggleButton::GFXToggleButton() : ClickEventButton({})
{
    setClickingTogglesState(true);
}

GFXToggleButton::~GFXToggleButton()
{
    if (dragGroup != nullptr)
        GFXToggleButtonDragGroup::getInstance().leave(dragGroupName, this);
}

void GFXToggleButton::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                                  const EventsMap& events, juce::Component* editor)
{
    GUIController::loadFromXml(element, parameters, events, editor);
    loadPosition(element);
    loadSize(element);
    if (XmlRules::hasTag(element, "ToggleButton"))
    {
        const auto style = XmlRules::getAttribute(element, "style", "2D");
        if (style == "2D")
            is3D = false;
        else if (style == "3D")
            is3D = true;
        loadBitmap(element, is3D ? 4 : 2);
        loadClickEvent(element);
        const int group = XmlRules::getIntAttribute(element, "radioGroupId", 0);
        if (group != getRadioGroupId())
            setRadioGroupId(group);
        if (XmlRules::hasAttribute(element, "dragGroup"))
        {
            auto& registry = GFXToggleButtonDragGroup::getInstance();
            if (dragGroup != nullptr)
                registry.leave(dragGroupName, this);
            dragGroupName = XmlRules::getAttribute(element, "dragGroup");
            dragGroup = &registry.join(dragGroupName, this);
        }
    }
    setBounds(left, top, width, height);
    repaint();
}

void GFXToggleButton::updateFromParameter(Parameter* parameter)
{
    if (parameter != nullptr)
        setToggleState(parameter->getBoolValue(), juce::dontSendNotification);
}

void GFXToggleButton::clicked(const juce::ModifierKeys& modifiers)
{
    if (auto* parameter = getConnectedParameter())
    {
        parameter->setBoolValue(getToggleState(), true);
        sendValueChanged();
    }
    if (dragGroup != nullptr)
        dragGroup->paintedState = getToggleState();
    fireEvent(modifiers);
}

void GFXToggleButton::mouseDown(const juce::MouseEvent& event)
{
    ClickEventButton::mouseDown(event);
    if (dragGroup == nullptr)
        return;
    const auto start = event.getScreenPosition();
    dragGroup->dragStartX = start.x;
    dragGroup->dragStartY = start.y;
}

void GFXToggleButton::mouseDrag(const juce::MouseEvent& event)
{
    ClickEventButton::mouseDrag(event);
    if (dragGroup == nullptr)
        return;
    const int from = juce::jmin(dragGroup->dragStartX, event.getScreenX());
    const int to = juce::jmax(dragGroup->dragStartX, event.getScreenX());
    const bool painted = dragGroup->paintedState;
    // A copy: a button may leave the group while being set (its listener may rebuild things).
    const auto buttons = dragGroup->buttons;
    for (auto* button : buttons)
    {
        const int x = button->getScreenX();
        if (x <= to && x + button->getWidth() - 1 >= from)
            button->setToggleState(painted, juce::sendNotificationSync);
    }
}

int GFXToggleButton::getShownFrame() const
{
    if (!isEnabled() || showsRestFrame() || !getToggleState())
        return 0;
    if (!is3D)
        return 1;
    return isOver() && isDown() ? 3 : 2;
}

void GFXToggleButton::paintButton(juce::Graphics& g, bool, bool)
{
    if (hasImage())
    {
        drawFrame(g, getShownFrame());
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(), Placeholder::valueControlGrey);
    Placeholder::drawParameter(g, getLocalBounds(), getConnectedParameter(), getName());
}
