#pragma once

#include <juce_core/juce_core.h>

#include <map>

// Named, parameterless commands raised by skin controls: names from the skin become ids once,
// when the skin is loaded, and only ids travel afterwards.
class EventsMap
{
public:
    enum BuiltInEvent
    {
        options = 1000,
        about = 1001,
        selectNextPreset = 1002,
        selectPreviousPreset = 1003,
        browsePresets = 1004,
        savePreset = 1005,
        savePresetAs = 1006,
        copyCurrentPreset = 1007,
        pasteCopiedPreset = 1008,
        storeCurrentPreset = 1009,
        toggleMidiLearn = 1010
    };

    void loadFromResource(const juce::String& resourceFileName);
    void loadFromXml(const juce::XmlElement& element);
    void clear();
    bool add(int id, const juce::String& name);
    void addBuiltInEvents();

    juce::String getName(int id) const;
    int findId(const juce::String& name) const;
    juce::String getDisplayName(int id) const;
    int size() const noexcept { return static_cast<int>(idToName.size()); }

private:
    std::map<juce::String, int> nameToId;
    std::map<int, juce::String> idToName;
};
