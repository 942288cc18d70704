#pragma once

#include <juce_graphics/juce_graphics.h>

// Resources are addressed by file name ("skin.xml", "OptionsButton.png"): the part after the
// last "." is the type, the part before it the name, both compared without regard to case.
// A missing or empty resource yields nothing.
bool loadResource(const juce::String& fileName, juce::MemoryBlock& destination);
std::unique_ptr<juce::XmlElement> loadTextResource(const juce::String& fileName);
juce::Image loadImageResource(const juce::String& fileName);
