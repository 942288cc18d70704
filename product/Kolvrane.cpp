#include "product/Kolvrane.h"

#include "dsp/KolvraneCore.h"
#include "product/KolvraneEditor.h"

#include <cmath>

Kolvrane::Kolvrane() : QuarryOldCompatible(numHostParameters, 0) {}

Kolvrane::~Kolvrane() = default;

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

    auto* function = getParameterSet().getParameterByIndex(distortionFunctionIndex);
    if (function == nullptr)
        return;

    // Round to the nearest of the six positions, then step to the next, wrapping at the last.
    float next = std::floor(function->getNormalizedValue() * 5.0f + 0.5f) + 1.0f;
    if (next > 5.0f)
        next = 0.0f;
    function->setNormalizedValue(next * 0.2f, true);
}
