#pragma once

#include <juce_graphics/juce_graphics.h>

// The resource of that file name decoded by the image-format detection; a null image when it is
// missing or too short to hold an image. No cache: each caller decodes its own copy.
juce::Image loadImageResource(const juce::String& fileName);

// True and the decoded image (invalid when the bytes are no image) when the resource exists;
// false and the image unchanged when it does not.
bool loadImageResource(const juce::String& fileName, juce::Image& image);
