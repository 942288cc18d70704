#pragma once

#include <juce_graphics/juce_graphics.h>

// PNG bytes decoded through libpng's own error-safe interface. JUCE 7.0.5's PNG reader
// mishandles libpng's error jump with the system libpng, so a truncated or corrupt file would
// crash it; here it gives a null image instead. Pixels match JUCE's decoder (premultiplied ARGB).
namespace PngDecoder
{
bool hasPngSignature(const void* data, size_t size);
juce::Image decode(const void* data, size_t size);
} // namespace PngDecoder
