#pragma once

#include <juce_core/juce_core.h>

// Resources are addressed by file name ("skin.xml", "OptionsButton.png"): the part after the
// last "." is the type, the part before it the name, both compared without regard to case.
// A missing or empty resource yields nothing. Images are decoded on the GUI side
// (framework/gui/skin/ImageResource.h), so this stays free of the graphics modules.
// Splits at the last ".": "OptionsButton.png" gives "OptionsButton" and "png"; false without a dot.
bool splitResourceFileName(const juce::String& fileName, juce::String& name, juce::String& type);
bool loadResource(const juce::String& fileName, juce::MemoryBlock& destination);
std::unique_ptr<juce::XmlElement> loadTextResource(const juce::String& fileName);
