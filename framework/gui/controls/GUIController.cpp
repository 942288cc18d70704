#include "framework/gui/controls/GUIController.h"

#include "framework/events/EventsMap.h"
#include "framework/parameters/ParameterManager.h"
#include "framework/xml/XmlRules.h"

namespace
{
const juce::XmlElement* firstChild(const juce::XmlElement& element, juce::StringRef tag)
{
    for (auto* child : element.getChildIterator())
        if (XmlRules::hasTag(*child, tag))
            return child;
    return nullptr;
}
} // namespace

GUIController::~GUIController()
{
    if (connectedParameter != nullptr)
        connectedParameter->removeAsyncListener(this);
}

void GUIController::addListener(Listener* listener)
{
    if (listener != nullptr)
        listeners.addIfNotAlreadyThere(listener);
}

void GUIController::connectTo(Parameter* parameter)
{
    if (parameter == connectedParameter)
        return;
    if (connectedParameter != nullptr)
        connectedParameter->removeAsyncListener(this);
    connectedParameter = parameter;
    if (connectedParameter != nullptr)
        connectedParameter->addAsyncListener(this);
}

void GUIController::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                                const EventsMap& events, juce::Component*)
{
    if (const auto* links = firstChild(element, "links"))
        for (auto* link : links->getChildIterator())
        {
            if (!XmlRules::hasTag(*link, "link"))
                continue;
            Parameter* found = nullptr;
            {
                const juce::ScopedReadLock locked(parameters.getLock());
                found = parameters.getParameterByName(XmlRules::getAttribute(*link, "param"));
            }
            if (found != nullptr && XmlRules::getAttribute(*link, "as") == "connectedTo")
                connectTo(found);
        }

    if (const auto* actions = firstChild(element, "actions"))
        for (auto* action : actions->getChildIterator())
        {
            if (!XmlRules::hasTag(*action, "action"))
                continue;
            const auto type = XmlRules::getAttribute(*action, "type");
            const int id = events.findId(XmlRules::getAttribute(*action, "event"));
            if (type.isNotEmpty() && id != -1)
                addAction(type, id, events.getDisplayName(id));
        }
}

template <typename Call> void GUIController::callListeners(Call call)
{
    for (int i = listeners.size(); --i >= 0;)
        if (i < listeners.size())
            call(*listeners.getUnchecked(i));
}

void GUIController::sendEventTriggered(int eventId)
{
    callListeners([this, eventId](Listener& listener) { listener.controllerEventTriggered(this, eventId); });
}

void GUIController::sendValueChanged()
{
    callListeners([this](Listener& listener) { listener.controllerValueChanged(this); });
}

void GUIController::sendGestureBegan()
{
    if (connectedParameter == nullptr)
        return;
    connectedParameter->beginGesture();
    callListeners([this](Listener& listener) { listener.controllerGestureBegan(this); });
}

void GUIController::sendGestureEnded()
{
    if (connectedParameter == nullptr)
        return;
    connectedParameter->endGesture();
    callListeners([this](Listener& listener) { listener.controllerGestureEnded(this); });
}
