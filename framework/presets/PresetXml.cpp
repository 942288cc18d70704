#include "framework/presets/PresetXml.h"

#include "framework/xml/XmlRules.h"

#include <cmath>

namespace PresetXml
{

juce::String formatValue(float value)
{
    // The scaling is done in single precision and the rounding ties to even, as older files were.
    const float scaled = value * 1000000.0f;
    return XmlRules::formatNumber(static_cast<double>(std::nearbyint(scaled)) * 0.000001);
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
        if (XmlRules::hasTag(*child, "param"))
            visit(XmlRules::getAttribute(*child, "name"), XmlRules::getAttribute(*child, "value"));
}
} // namespace PresetXml
