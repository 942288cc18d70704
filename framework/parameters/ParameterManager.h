#pragma once

#include "framework/parameters/Parameter.h"

#include <juce_core/juce_core.h>

// The parameter set: creates its parameters from a definition XML, owns them and finds them
// by index or name. After start-up only readers take the lock.
class ParameterManager
{
public:
    enum ReservedIndex
    {
        currentPresetNumberIndex = 110000,
        currentPresetNameIndex = 110001
    };

    ParameterManager() = default;
    virtual ~ParameterManager();

    void loadFromResource(const juce::String& resourceFileName);
    void loadFromXml(const juce::XmlElement& element);
    void clear();

    // Takes ownership; false (and the parameter deleted unless it is already in the set)
    // when its index or name is taken.
    bool add(Parameter* parameter);

    Parameter* getParameterByIndex(int index) const;
    Parameter* getParameterByName(const juce::String& name) const;
    juce::String getName(int index) const;
    float getValue(int index) const;
    float getNormalizedValue(int index) const;
    juce::String getText(int index) const;
    void setNormalizedValue(int index, float value);
    void setCurrentPresetNumber(int number);
    void setCurrentPresetName(const juce::String& name);

    void addListenerToAll(Parameter::Listener* listener);
    void addAsyncListenerToAll(Parameter::Listener* listener);
    void removeAsyncListenerFromAll(Parameter::Listener* listener);
    void addListener(int index, Parameter::Listener* listener);
    void addAsyncListener(int index, Parameter::Listener* listener);
    void removeAsyncListener(int index, Parameter::Listener* listener);

    // Every parameter tells its listeners its current value once, in set order.
    void notifyAll();

    int size() const;
    Parameter* getParameterAt(int position) const;
    juce::ReadWriteLock& getLock() const noexcept { return lock; }

private:
    static Parameter* createFromXml(const juce::XmlElement& param);

    juce::OwnedArray<Parameter> parameters;
    juce::HashMap<int, Parameter*> indexMap;
    juce::HashMap<juce::String, Parameter*> nameMap;
    mutable juce::ReadWriteLock lock;
};
