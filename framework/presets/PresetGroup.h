#pragma once

#include <juce_core/juce_core.h>

// A named run of consecutive preset slots. Groups hold no presets: they partition the slots
// in order, so a group's first slot is the sum of the sizes before it.
struct PresetGroup
{
    juce::String name;
    int size = 0;
};
