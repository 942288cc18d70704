#include "framework/gui/skin/SkinBitmap.h"

#include "framework/gui/skin/ImageResource.h"

bool SkinBitmap::load(const juce::String& name)
{
    juce::Image loaded;
    if (!loadImageResource(name, loaded))
        return false;
    image = loaded;
    fileName = name;
    hiDpiImage = {};
    hiDpiLoaded = false;
    return true;
}

void SkinBitmap::reset()
{
    image = {};
    hiDpiImage = {};
    fileName.clear();
    hiDpiLoaded = false;
}

juce::String SkinBitmap::hiDpiFileName(const juce::String& name)
{
    const int dot = name.lastIndexOfChar('.');
    return dot < 0 ? name + "@2x" : name.substring(0, dot) + "@2x" + name.substring(dot);
}

const juce::Image* SkinBitmap::imageForScale(float scale) const
{
    if (scale < hiDpiScaleThreshold || !image.isValid())
        return &image;
    if (!hiDpiLoaded)
    {
        hiDpiLoaded = true;
        juce::Image large;
        if (loadImageResource(hiDpiFileName(fileName), large) && large.getWidth() == image.getWidth() * 2 &&
            large.getHeight() == image.getHeight() * 2)
            hiDpiImage = large;
    }
    return hiDpiImage.isValid() ? &hiDpiImage : &image;
}

void SkinBitmap::draw(juce::Graphics& g, juce::Rectangle<int> destination, juce::Rectangle<int> source) const
{
    const auto* chosen = imageForScale(g.getInternalContext().getPhysicalPixelScaleFactor());
    if (chosen == nullptr || !chosen->isValid())
        return;
    const int factor = chosen == &hiDpiImage ? 2 : 1;
    g.drawImage(*chosen, destination.getX(), destination.getY(), destination.getWidth(),
                destination.getHeight(), source.getX() * factor, source.getY() * factor,
                source.getWidth() * factor, source.getHeight() * factor);
}
