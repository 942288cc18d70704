#include "framework/parameters/ParameterManager.h"

#include "framework/resources/Resources.h"
#include "framework/xml/XmlRules.h"

namespace
{
using XmlRules::getAttribute;
using XmlRules::getIntAttribute;

bool readFlag(const juce::String& text)
{
    const juce::String trimmed = text.trimStart();
    if (trimmed.isEmpty())
        return false;
    const juce::juce_wchar first = trimmed[0];
    return first == '1' || first == 't' || first == 'T' || first == 'y' || first == 'Y';
}
} // namespace

ParameterManager::~ParameterManager()
{
    clear();
}

void ParameterManager::loadFromResource(const juce::String& resourceFileName)
{
    if (auto xml = loadTextResource(resourceFileName))
        loadFromXml(*xml);
}

Parameter* ParameterManager::createFromXml(const juce::XmlElement& param)
{
    const int index = getIntAttribute(param, "index", -1);
    const juce::String name = getAttribute(param, "name");
    if (index == -1 || name.isEmpty())
        return nullptr;

    const juce::String value = getAttribute(param, "value");
    const juce::String type = getAttribute(param, "type", "float");
    const bool automatable = readFlag(getAttribute(param, "auto"));

    std::unique_ptr<Parameter> created;
    if (type == "float")
    {
        const float minimum = static_cast<float>(getAttribute(param, "min", "0").getDoubleValue());
        const float maximum = static_cast<float>(getAttribute(param, "max", "1").getDoubleValue());
        created = std::make_unique<FloatParameter>(index, name, automatable, minimum, maximum,
                                                   static_cast<float>(value.getDoubleValue()));
    }
    else if (type == "int")
    {
        const int minimum = getIntAttribute(param, "min", 0);
        const int maximum = getIntAttribute(param, "max", 1);
        created = std::make_unique<IntParameter>(index, name, automatable, minimum, maximum,
                                                 XmlRules::leadingInteger(value));
    }
    else if (type == "string")
        created = std::make_unique<StringParameter>(index, name, automatable, value);
    else if (type == "bool" || type == "state")
    {
        const int style = type == "bool" ? BoolParameter::trueFalse : BoolParameter::onOff;
        created = std::make_unique<BoolParameter>(index, name, automatable, style, false);
        created->setText(value, false);
    }
    else if (type == "enum")
    {
        created = std::make_unique<EnumParameter>(index, name, automatable, getAttribute(param, "enum"), 0);
        created->setText(value, false);
    }
    else if (type == "note")
        created = std::make_unique<NoteParameter>(index, name, automatable,
                                                  std::max(0, NoteParameter::parseNoteName(value)));

    return created.release();
}

void ParameterManager::loadFromXml(const juce::XmlElement& element)
{
    clear();
    if (!XmlRules::hasTag(element, "PluginParameters"))
        return;

    for (auto* child : element.getChildIterator())
        if (XmlRules::hasTag(*child, "param"))
            if (auto* parameter = createFromXml(*child))
                add(parameter);
}

void ParameterManager::clear()
{
    const juce::ScopedWriteLock writing(lock);
    indexMap.clear();
    nameMap.clear();
    parameters.clear();
}

bool ParameterManager::add(Parameter* parameter)
{
    if (parameter == nullptr)
        return false;

    const juce::ScopedWriteLock writing(lock);
    if (parameters.contains(parameter))
        return false;

    if (indexMap.contains(parameter->getIndex()) || nameMap.contains(parameter->getName()))
    {
        delete parameter;
        return false;
    }

    parameters.add(parameter);
    indexMap.set(parameter->getIndex(), parameter);
    nameMap.set(parameter->getName(), parameter);
    return true;
}

Parameter* ParameterManager::getParameterByIndex(int index) const
{
    const juce::ScopedReadLock reading(lock);
    return indexMap[index];
}

Parameter* ParameterManager::getParameterByName(const juce::String& name) const
{
    const juce::ScopedReadLock reading(lock);
    return nameMap[name];
}

juce::String ParameterManager::getName(int index) const
{
    const juce::ScopedReadLock reading(lock);
    auto* parameter = indexMap[index];
    return parameter != nullptr ? parameter->getName() : juce::String();
}

float ParameterManager::getValue(int index) const
{
    const juce::ScopedReadLock reading(lock);
    auto* parameter = indexMap[index];
    return parameter != nullptr ? parameter->getValue() : 0.0f;
}

float ParameterManager::getNormalizedValue(int index) const
{
    const juce::ScopedReadLock reading(lock);
    auto* parameter = indexMap[index];
    return parameter != nullptr ? parameter->getNormalizedValue() : 0.0f;
}

juce::String ParameterManager::getText(int index) const
{
    const juce::ScopedReadLock reading(lock);
    auto* parameter = indexMap[index];
    return parameter != nullptr ? parameter->getText() : juce::String();
}

void ParameterManager::setNormalizedValue(int index, float value)
{
    const juce::ScopedReadLock reading(lock);
    if (auto* parameter = indexMap[index])
        parameter->setNormalizedValue(value, true);
}

void ParameterManager::setCurrentPresetNumber(int number)
{
    const juce::ScopedReadLock reading(lock);
    if (auto* parameter = indexMap[currentPresetNumberIndex])
        parameter->setIntValue(number, true);
}

void ParameterManager::setCurrentPresetName(const juce::String& name)
{
    const juce::ScopedReadLock reading(lock);
    if (auto* parameter = indexMap[currentPresetNameIndex])
        parameter->setText(name, true);
}

void ParameterManager::addListenerToAll(Parameter::Listener* listener)
{
    const juce::ScopedReadLock reading(lock);
    for (auto* parameter : parameters)
        parameter->addListener(listener);
}

void ParameterManager::addAsyncListenerToAll(Parameter::Listener* listener)
{
    const juce::ScopedReadLock reading(lock);
    for (auto* parameter : parameters)
        parameter->addAsyncListener(listener);
}

void ParameterManager::removeAsyncListenerFromAll(Parameter::Listener* listener)
{
    const juce::ScopedReadLock reading(lock);
    for (auto* parameter : parameters)
        parameter->removeAsyncListener(listener);
}

void ParameterManager::addListener(int index, Parameter::Listener* listener)
{
    const juce::ScopedReadLock reading(lock);
    if (auto* parameter = indexMap[index])
        parameter->addListener(listener);
}

void ParameterManager::addAsyncListener(int index, Parameter::Listener* listener)
{
    const juce::ScopedReadLock reading(lock);
    if (auto* parameter = indexMap[index])
        parameter->addAsyncListener(listener);
}

void ParameterManager::removeAsyncListener(int index, Parameter::Listener* listener)
{
    const juce::ScopedReadLock reading(lock);
    if (auto* parameter = indexMap[index])
        parameter->removeAsyncListener(listener);
}

void ParameterManager::notifyAll()
{
    const juce::ScopedReadLock reading(lock);
    for (auto* parameter : parameters)
        parameter->notifyListeners();
}

int ParameterManager::size() const
{
    const juce::ScopedReadLock reading(lock);
    return parameters.size();
}

Parameter* ParameterManager::getParameterAt(int position) const
{
    const juce::ScopedReadLock reading(lock);
    return parameters[position];
}
