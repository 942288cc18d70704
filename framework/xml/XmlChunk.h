#pragma once

#include <juce_core/juce_core.h>

// The binary envelope of host chunks: "VC2!", the text length L (little-endian), the XML text
// on one line without declaration, a terminating zero and one spare byte: L + 10 bytes.
namespace XmlChunk
{
constexpr juce::uint32 magic = 0x21324356;

void wrap(const juce::XmlElement& element, juce::MemoryBlock& destination);

// Nothing for 8 bytes or fewer, a wrong magic number or L <= 0; otherwise at most the bytes
// actually handed over are parsed, whatever L claims. Text that is not valid UTF-8 is read as
// Windows-1252, as in the XML files.
std::unique_ptr<juce::XmlElement> unwrap(const void* data, int sizeInBytes);
} // namespace XmlChunk
