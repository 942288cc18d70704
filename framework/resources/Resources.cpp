#include "framework/resources/Resources.h"

#include "framework/resources/ResourceTable.h"

bool splitResourceFileName(const juce::String& fileName, juce::String& name, juce::String& type)
{
    const int dot = fileName.lastIndexOfChar('.');
    if (dot < 0)
        return false;
    name = fileName.substring(0, dot);
    type = fileName.substring(dot + 1);
    return true;
}

bool loadResource(const juce::String& fileName, juce::MemoryBlock& destination)
{
    juce::String name, type;
    if (!splitResourceFileName(fileName, name, type))
        return false;
    const auto* resource = findEmbeddedResource(type.toRawUTF8(), name.toRawUTF8());
    if (resource == nullptr)
        return false;

    destination.replaceAll(resource->data, resource->size);
    return true;
}

std::unique_ptr<juce::XmlElement> loadTextResource(const juce::String& fileName)
{
    juce::MemoryBlock block;
    if (!loadResource(fileName, block))
        return nullptr;
    return juce::parseXML(block.toString());
}
