#include "framework/events/EventsMap.h"

#include "framework/resources/Resources.h"
#include "framework/xml/XmlRules.h"

void EventsMap::loadFromResource(const juce::String& resourceFileName)
{
    if (auto xml = loadTextResource(resourceFileName))
        loadFromXml(*xml);
}

void EventsMap::loadFromXml(const juce::XmlElement& element)
{
    clear();
    if (!XmlRules::hasTag(element, "EventsMap"))
        return;

    for (auto* child : element.getChildIterator())
        if (XmlRules::hasTag(*child, "event"))
            add(XmlRules::getIntAttribute(*child, "uid", 0), XmlRules::getAttribute(*child, "name"));
}

void EventsMap::clear()
{
    nameToId.clear();
    idToName.clear();
}

bool EventsMap::add(int id, const juce::String& name)
{
    if (idToName.count(id) != 0 || nameToId.count(name) != 0)
        return false;
    idToName.emplace(id, name);
    nameToId.emplace(name, id);
    return true;
}

void EventsMap::addBuiltInEvents()
{
    static const char* const names[] = {"Options",
                                        "About",
                                        "Select next preset",
                                        "Select previous preset",
                                        "Browse presets",
                                        "Save Preset",
                                        "Save Preset As",
                                        "Copy current preset",
                                        "Paste copied preset",
                                        "Store current preset",
                                        "Toggle Midi Learn"};
    for (int i = 0; i < 11; ++i)
        add(options + i, names[i]);
}

juce::String EventsMap::getName(int id) const
{
    auto found = idToName.find(id);
    return found != idToName.end() ? found->second : juce::String();
}

int EventsMap::findId(const juce::String& name) const
{
    auto found = nameToId.find(name);
    return found != nameToId.end() ? found->second : -1;
}

juce::String EventsMap::getDisplayName(int id) const
{
    const juce::String name = getName(id);
    return name.substring(0, 1).toUpperCase() + name.substring(1).toLowerCase();
}
