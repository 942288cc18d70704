#include "framework/xml/XmlRules.h"

#include <cstdio>

namespace XmlRules
{
namespace
{
int findAttributeIndex(const juce::XmlElement& element, juce::StringRef name)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName(i).equalsIgnoreCase(name))
            return i;
    return -1;
}

int hexDigitValue(juce::juce_wchar c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a') + 10;
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A') + 10;
    return -1;
}
} // namespace

bool hasTag(const juce::XmlElement& element, juce::StringRef tag)
{
    return element.getTagName().equalsIgnoreCase(tag);
}

bool hasAttribute(const juce::XmlElement& element, juce::StringRef name)
{
    return findAttributeIndex(element, name) >= 0;
}

juce::String getAttribute(const juce::XmlElement& element, juce::StringRef name, const juce::String& fallback)
{
    const int index = findAttributeIndex(element, name);
    return index >= 0 ? element.getAttributeValue(index) : fallback;
}

int getIntAttribute(const juce::XmlElement& element, juce::StringRef name, int fallback)
{
    const int index = findAttributeIndex(element, name);
    return index >= 0 ? leadingInteger(element.getAttributeValue(index)) : fallback;
}

juce::uint32 getColourAttribute(const juce::XmlElement& element, juce::StringRef name, juce::uint32 fallback)
{
    juce::uint32 argb = 0;
    return parseArgb(getAttribute(element, name), argb) ? argb : fallback;
}

int leadingInteger(const juce::String& text)
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    const bool negative = *p == '-';
    if (negative || *p == '+')
        ++p;
    juce::uint32 magnitude = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        magnitude = magnitude * 10u + static_cast<juce::uint32>(*p - '0');
    return static_cast<int>(negative ? 0u - magnitude : magnitude);
}

bool parseArgb(const juce::String& text, juce::uint32& argb)
{
    if (text.isEmpty() || text.length() > 8)
        return false;
    juce::uint32 value = 0;
    for (auto p = text.getCharPointer(); !p.isEmpty(); ++p)
    {
        const int digit = hexDigitValue(*p);
        if (digit < 0)
            return false;
        value = (value << 4) | static_cast<juce::uint32>(digit);
    }
    argb = value;
    return true;
}

juce::String formatNumber(double value)
{
    char buffer[48];
    std::snprintf(buffer, sizeof(buffer), "%.9g", value);
    // A host may have switched the C locale to one with a decimal comma.
    return juce::String(buffer).replaceCharacter(',', '.');
}
} // namespace XmlRules
