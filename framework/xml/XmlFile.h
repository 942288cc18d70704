#pragma once

#include <juce_core/juce_core.h>

// Whole-document XML files as the plug-in reads and writes them.
namespace XmlFile
{
// The document element of the file, or nothing if it cannot be read or is not well-formed.
std::unique_ptr<juce::XmlElement> read(const juce::File& file);

// Parses text that comes from outside (files, host chunks). A processing instruction anywhere
// but in the leading declaration makes the text malformed: none of the plug-in's documents has
// one, and JUCE's parser loops forever on one that is followed by text inside an element.
std::unique_ptr<juce::XmlElement> parseUntrusted(const juce::String& text);

// Writes with an XML declaration (UTF-8), two-space indentation and a line-wrap length of 60.
// The text goes to a temporary file in the target's folder that is then renamed over the
// target, so a failed write leaves the previous file untouched. False if anything failed.
bool writeAtomically(const juce::XmlElement& element, const juce::File& file);
} // namespace XmlFile
