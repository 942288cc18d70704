#include "framework/presets/PresetXml.h"

#include <cmath>
#include <cstdio>

namespace PresetXml
{
bool hasTag(const juce::XmlElement& element, const juce::String& tag)
{
    return element.getTagName().equalsIgnoreCase(tag);
}

bool hasAttribute(const juce::XmlElement& element, const juce::String& name)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName(i).equalsIgnoreCase(name))
            return true;
    return false;
}

juce::String getAttribute(const juce::XmlElement& element, const juce::String& name,
                          const juce::String& fallback)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName(i).equalsIgnoreCase(name))
            return element.getAttributeValue(i);
    return fallback;
}

juce::String formatValue(float value)
{
    // The scaling is done in single precision and the rounding ties to even, as older files were.
    const float scaled = value * 1000000.0f;
    const double rounded = static_cast<double>(std::nearbyint(scaled)) * 0.000001;
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%.9g", rounded);
    return juce::String(buffer).replaceCharacter(',', '.');
}

std::unique_ptr<juce::XmlElement> createPresetElement(const Preset& preset, const juce::String& application,
                                                      int revision,
                                                      const std::function<juce::String(int)>& nameOfIndex)
{
    auto element = std::make_unique<juce::XmlElement>("Preset");
    element->setAttribute("application", application);
    element->setAttribute("name", preset.getName());
    if (revision > 0)
        element->setAttribute("rev", revision);

    for (int i = 0; i < preset.getCount(); ++i)
    {
        auto* param = element->createNewChildElement("param");
        param->setAttribute("name", nameOfIndex(i));
        param->setAttribute("value", formatValue(preset.getValue(i)));
    }
    return element;
}

void forEachParam(const juce::XmlElement& element,
                  const std::function<void(const juce::String& name, const juce::String& value)>& visit)
{
    for (auto* child : element.getChildIterator())
        if (hasTag(*child, "param"))
            visit(getAttribute(*child, "name"), getAttribute(*child, "value"));
}
} // namespace PresetXml
