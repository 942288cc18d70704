#include "framework/gui/skin/ImageResource.h"

#include "framework/resources/Resources.h"

juce::Image loadImageResource(const juce::String& fileName)
{
    juce::MemoryBlock block;
    // Four bytes or fewer cannot hold any image header.
    if (!loadResource(fileName, block) || block.getSize() <= 4)
        return {};
    return juce::ImageFileFormat::loadFrom(block.getData(), block.getSize());
}
