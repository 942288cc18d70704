#include "framework/gui/skin/PngDecoder.h"

#include <png.h>

#include <cstring>

namespace PngDecoder
{
bool hasPngSignature(const void* data, size_t size)
{
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return size >= sizeof(signature) && std::memcmp(data, signature, sizeof(signature)) == 0;
}

juce::Image decode(const void* data, size_t size)
{
    png_image png;
    std::memset(&png, 0, sizeof(png));
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, data, size))
        return {};

    constexpr png_uint_32 largestSide = 16384;
    if (png.width == 0 || png.height == 0 || png.width > largestSide || png.height > largestSide)
    {
        png_image_free(&png);
        return {};
    }

    // Little-endian ARGB pixels are stored B, G, R, A.
    png.format = PNG_FORMAT_BGRA;
    juce::Image image(juce::Image::ARGB, static_cast<int>(png.width), static_cast<int>(png.height), false,
                      juce::SoftwareImageType());
    {
        juce::Image::BitmapData pixels(image, juce::Image::BitmapData::writeOnly);
        if (!png_image_finish_read(&png, nullptr, pixels.data, static_cast<png_int_32>(pixels.lineStride),
                                   nullptr))
        {
            png_image_free(&png);
            return {};
        }
        for (int y = 0; y < pixels.height; ++y)
        {
            auto* line = reinterpret_cast<juce::PixelARGB*>(pixels.getLinePointer(y));
            for (int x = 0; x < pixels.width; ++x)
                line[x].premultiply();
        }
    }
    return image;
}
} // namespace PngDecoder
