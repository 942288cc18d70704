#include "product/Kolvrane.h"

#include "dsp/KolvraneCore.h"
#include "framework/xml/XmlRules.h"
#include "product/KolvraneEditor.h"

#include <cmath>

Kolvrane::Kolvrane() : QuarryOldCompatible(KolvraneParameter::hostCount, 0) {}

Kolvrane::~Kolvrane()
{
    // The settings go first, while every layer still holds its values.
    writeUserSettingsFile();
}

BasePluginEditor* Kolvrane::createEditorComponent()
{
    return new KolvraneEditor(*this);
}

QuarryEffect::Core* Kolvrane::createCore()
{
    return new KolvraneCore(nullptr);
}

juce::String Kolvrane::getParameterTextForIndex(int parameterIndex)
{
    if (auto* core = dynamic_cast<KolvraneCore*>(getCore()))
    {
        const juce::ScopedLock locked(getProcessorLock());
        return juce::String(core->getParameterText(parameterIndex));
    }
    return QuarryOldCompatible::getParameterTextForIndex(parameterIndex);
}

void Kolvrane::handleEvent(int eventId)
{
    if (eventId != toggleDistortionFunction)
    {
        QuarryOldCompatible::handleEvent(eventId);
        return;
    }

    auto* function = getParameterSet().getParameterByIndex(KolvraneParameter::distortionFunction);
    if (function == nullptr)
        return;

    // Round to the nearest of the six positions, then step to the next, wrapping at the last.
    float next = std::floor(function->getNormalizedValue() * 5.0f + 0.5f) + 1.0f;
    if (next > 5.0f)
        next = 0.0f;
    function->setNormalizedValue(next * 0.2f, true);
}

//==============================================================================
void Kolvrane::presetFromXml(const juce::XmlElement& element, Preset& preset) const
{
    if (!isPresetXml(element))
        return;
    if (XmlRules::getIntAttribute(element, "rev", 0) != 0)
    {
        QuarryOldCompatible::presetFromXml(element, preset);
        return;
    }

    // Older presets had no distortion function (so the first one) and were always fully wet.
    preset.setName(XmlRules::getAttribute(element, "name", "unnamed"));
    preset.setValue(KolvraneParameter::distortionFunction, 0.0f);
    preset.setValue(KolvraneParameter::fx, 1.0f);
    readPresetParams(
        element, preset,
        [this](const juce::String& name)
        { return name == "Knee" ? int(KolvraneParameter::shape) : findPresetParameterIndex(name); },
        [](int index, const juce::String& value)
        { return convertLegacyPresetValue(index, value.getDoubleValue()); });
}

std::unique_ptr<juce::XmlElement> Kolvrane::presetToXml(const Preset& preset) const
{
    auto element = QuarryOldCompatible::presetToXml(preset);
    element->setAttribute("rev", presetRevision);
    return element;
}

float Kolvrane::convertLegacyPresetValue(int index, double v)
{
    using namespace KolvraneParameter;
    const int offset = index - filter1Type;
    if (offset < 0 || offset >= filterCount * filterFieldCount)
        return static_cast<float>(v);

    switch (offset % filterFieldCount)
    {
    case filterType:
        // Four old filter types become positions 1..4; the new "OFF" at 0 is never produced.
        return static_cast<float>((std::floor(v * 3.0 + 0.5) + 1.0) * 0.25);
    case filterCutoff:
    {
        // The cutoff scale changed; this polynomial maps old positions onto the new scale.
        const double p = (((2.1349206349206535 - 1.3095238095238149 * v) * v - 0.8424603174603378) * v +
                          1.0229365079365162) *
                             v -
                         0.08587301587301681;
        return static_cast<float>(p >= 0.0 ? p : 0.0);
    }
    case filterResonance:
        return static_cast<float>(0.3 * v);
    default:
        return static_cast<float>(v);
    }
}
