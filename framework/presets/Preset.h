#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// One preset: a name and the normalized values of the presetable parameters, indexed by
// parameter index. The value storage is sized once, so copying between presets of the same
// size never allocates.
class Preset
{
public:
    explicit Preset(int numValues, const juce::String& presetName = "Preset")
        : name(presetName), values(static_cast<size_t>(juce::jmax(0, numValues)), 0.0f)
    {
    }

    const juce::String& getName() const noexcept { return name; }
    void setName(const juce::String& newName) { name = newName; }

    int getCount() const noexcept { return static_cast<int>(values.size()); }

    // Out-of-range reads give 0 and out-of-range writes are ignored.
    float getValue(int index) const noexcept
    {
        return juce::isPositiveAndBelow(index, getCount()) ? values[static_cast<size_t>(index)] : 0.0f;
    }

    void setValue(int index, float value) noexcept
    {
        if (juce::isPositiveAndBelow(index, getCount()))
            values[static_cast<size_t>(index)] = value;
    }

    // Copies as many values as both records hold; the rest keep theirs.
    void copyValuesFrom(const Preset& other) noexcept
    {
        const int n = juce::jmin(getCount(), other.getCount());
        for (int i = 0; i < n; ++i)
            values[static_cast<size_t>(i)] = other.values[static_cast<size_t>(i)];
    }

    void copyFrom(const Preset& other)
    {
        name = other.name;
        copyValuesFrom(other);
    }

private:
    juce::String name;
    std::vector<float> values;
};
