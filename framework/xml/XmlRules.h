#pragma once

#include <juce_core/juce_core.h>

// The rules every document of the plug-in is read and written by: element and attribute names
// compare without regard to case, integers are read by their leading digits, colours are
// hexadecimal ARGB and numbers are written with "%.9g". Attribute values compare exactly
// unless a reader says otherwise, so that stays with the readers.
namespace XmlRules
{
bool hasTag(const juce::XmlElement& element, juce::StringRef tag);

bool hasAttribute(const juce::XmlElement& element, juce::StringRef name);
// The first attribute of that name, or the fallback when there is none.
juce::String getAttribute(const juce::XmlElement& element, juce::StringRef name,
                          const juce::String& fallback = {});
// The attribute by the leading-integer rule; the fallback only when the attribute is absent.
int getIntAttribute(const juce::XmlElement& element, juce::StringRef name, int fallback);
// The attribute as an ARGB colour; the fallback when it is absent or no colour.
juce::uint32 getColourAttribute(const juce::XmlElement& element, juce::StringRef name, juce::uint32 fallback);

// Leading white space, an optional sign and the digits that follow; anything else stops the
// number, and no digits read as 0. Wraps on overflow as 32-bit integers do.
int leadingInteger(const juce::String& text);

// One to eight hexadecimal digits, nothing else ("FF232224" is an opaque dark grey).
bool parseArgb(const juce::String& text, juce::uint32& argb);

// "%.9g" with a "." decimal point whatever the C locale: the shortest text that reads back as
// the same float.
juce::String formatNumber(double value);
} // namespace XmlRules
