#pragma once

#include <juce_graphics/juce_graphics.h>

// A skin bitmap and, for screens of high density, its twice-as-large sibling "NAME@2x.png".
// The large one is decoded only when first drawn at a scale of 1.5 or more, and only used
// when it is exactly twice the size of the normal one.
class SkinBitmap
{
public:
    // Loads the resource; true when it exists (the image may still be invalid).
    bool load(const juce::String& fileName);
    void reset();

    const juce::Image& getImage() const noexcept { return image; }
    bool isValid() const noexcept { return image.isValid(); }
    int getWidth() const noexcept { return image.getWidth(); }
    int getHeight() const noexcept { return image.getHeight(); }

    // Draws the source rectangle (in normal-size pixels) into the destination rectangle.
    void draw(juce::Graphics& g, juce::Rectangle<int> destination, juce::Rectangle<int> source) const;

    static juce::String hiDpiFileName(const juce::String& fileName);
    static constexpr float hiDpiScaleThreshold = 1.5f;

private:
    const juce::Image* imageForScale(float scale) const;

    juce::Image image;
    juce::String fileName;
    mutable juce::Image hiDpiImage;
    mutable bool hiDpiLoaded = false;
};
