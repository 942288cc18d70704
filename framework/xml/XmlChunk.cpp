#include "framework/xml/XmlChunk.h"
#include "framework/xml/XmlFile.h"

namespace XmlChunk
{
void wrap(const juce::XmlElement& element, juce::MemoryBlock& destination)
{
    const juce::String text = element.toString(juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto length = text.getNumBytesAsUTF8();

    destination.setSize(length + 10, true);
    auto* bytes = static_cast<char*>(destination.getData());
    const juce::uint32 header[2] = {juce::ByteOrder::swapIfBigEndian(magic),
                                    juce::ByteOrder::swapIfBigEndian(static_cast<juce::uint32>(length))};
    std::memcpy(bytes, header, sizeof(header));
    text.copyToUTF8(bytes + 8, length + 1);
}

std::unique_ptr<juce::XmlElement> unwrap(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= 8)
        return nullptr;

    const auto* bytes = static_cast<const char*>(data);
    if (juce::ByteOrder::littleEndianInt(bytes) != magic)
        return nullptr;

    const auto length = static_cast<juce::int32>(juce::ByteOrder::littleEndianInt(bytes + 4));
    if (length <= 0)
        return nullptr;

    // The text is decoded as the XML files are: String::fromUTF8 trusts its input to be valid
    // UTF-8, and a truncated sequence from a corrupt chunk would walk the parser past its end.
    const int available = juce::jmin(length, sizeInBytes - 8);
    return XmlFile::parseUntrusted(juce::String::createStringFromData(bytes + 8, available));
}
} // namespace XmlChunk
