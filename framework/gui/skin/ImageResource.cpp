#include "framework/gui/skin/ImageResource.h"

#include "framework/gui/skin/PngDecoder.h"
#include "framework/resources/Resources.h"

namespace
{
juce::Image decode(const juce::MemoryBlock& block)
{
    // Four bytes or fewer cannot hold any image header.
    if (block.getSize() <= 4)
        return {};
    if (PngDecoder::hasPngSignature(block.getData(), block.getSize()))
        return PngDecoder::decode(block.getData(), block.getSize());
    return juce::ImageFileFormat::loadFrom(block.getData(), block.getSize());
}
} // namespace

juce::Image loadImageResource(const juce::String& fileName)
{
    juce::Image image;
    loadImageResource(fileName, image);
    return image;
}

bool loadImageResource(const juce::String& fileName, juce::Image& image)
{
    juce::MemoryBlock block;
    if (!loadResource(fileName, block))
        return false;
    image = decode(block);
    return true;
}
