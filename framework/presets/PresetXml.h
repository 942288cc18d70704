#pragma once

#include "framework/presets/Preset.h"

#include <juce_core/juce_core.h>

#include <functional>

// Reading and writing the "Preset" and "PresetBank" elements by the XML rules; parameter names
// in "param" children compare exactly.
namespace PresetXml
{
// round(v * 1e6) * 1e-6 printed with "%.9g": the value to six decimal places, in its shortest
// form ("0.5", "1", "0.988001").
juce::String formatValue(float value);

// A new "Preset" element: application, name, the revision when it is above 0, and one "param"
// child per value with the name that nameOfIndex gives.
std::unique_ptr<juce::XmlElement> createPresetElement(const Preset& preset, const juce::String& application,
                                                      int revision,
                                                      const std::function<juce::String(int)>& nameOfIndex);

// Calls visit(name, value text) for every "param" child in document order.
void forEachParam(const juce::XmlElement& element,
                  const std::function<void(const juce::String& name, const juce::String& value)>& visit);
} // namespace PresetXml
