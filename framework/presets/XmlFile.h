#pragma once

#include <juce_core/juce_core.h>

// Whole-document XML files as the plug-in reads and writes them.
namespace XmlFile
{
// The document element of the file, or nothing if it cannot be read or is not well-formed.
std::unique_ptr<juce::XmlElement> read(const juce::File& file);

// Writes with an XML declaration (UTF-8), two-space indentation and a line-wrap length of 60.
// The text goes to a temporary file in the target's folder that is then renamed over the
// target, so a failed write leaves the previous file untouched. False if anything failed.
bool writeAtomically(const juce::XmlElement& element, const juce::File& file);
} // namespace XmlFile
