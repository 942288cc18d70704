#include "SkinStyle.h"

namespace
{
SkinFonts fonts;

juce::Typeface::Ptr loadTypeface(const juce::File& file)
{
    juce::MemoryBlock data;
    if (!file.loadFileAsData(data) || data.getSize() == 0)
        return nullptr;
    return juce::Typeface::createSystemTypefaceFor(data.getData(), data.getSize());
}
} // namespace

bool SkinFonts::load(const juce::File& folder)
{
    bold = loadTypeface(folder.getChildFile("DejaVuSans-Bold.ttf"));
    regular = loadTypeface(folder.getChildFile("DejaVuSans.ttf"));
    return bold != nullptr && regular != nullptr;
}

juce::Font SkinFonts::labelFont(float height) const
{
    return juce::Font(bold).withHeight(height).withHorizontalScale(0.9f).withExtraKerningFactor(0.06f);
}

juce::Font SkinFonts::plainFont(float height) const
{
    return juce::Font(regular).withHeight(height);
}

const SkinFonts& getSkinFonts()
{
    return fonts;
}

bool loadSkinFonts(const juce::File& folder)
{
    return fonts.load(folder);
}

void releaseSkinFonts()
{
    fonts = {};
}

juce::Image paintStrip(int width, int height, int frames, int scale, const FramePainter& painter)
{
    juce::Image image(juce::Image::ARGB, width * scale, height * frames * scale, true,
                      juce::SoftwareImageType());
    juce::Graphics g(image);
    for (int frame = 0; frame < frames; ++frame)
    {
        juce::Graphics::ScopedSaveState state(g);
        g.addTransform(juce::AffineTransform::translation(0.0f, static_cast<float>(frame * height))
                           .scaled(static_cast<float>(scale)));
        g.reduceClipRegion(0, 0, width, height);
        painter(g, frame);
    }
    return image;
}

void drawEngravedText(juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area,
                      const juce::Font& font, juce::Colour colour, juce::Justification justification)
{
    g.setFont(font);
    g.setColour(Palette::engraveDark.withAlpha(0.85f));
    g.drawText(text, area.translated(0.0f, 0.7f), justification, false);
    g.setColour(colour);
    g.drawText(text, area, justification, false);
}

void drawLed(juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit)
{
    const auto bezel = juce::Rectangle<float>(radius * 2.0f + 3.0f, radius * 2.0f + 3.0f).withCentre(centre);
    g.setGradientFill(juce::ColourGradient(juce::Colour(0xff0a0a0b), bezel.getX(), bezel.getY(),
                                           juce::Colour(0xff4a4d52), bezel.getX(), bezel.getBottom(), false));
    g.fillEllipse(bezel);

    const auto lens = juce::Rectangle<float>(radius * 2.0f, radius * 2.0f).withCentre(centre);
    if (lit)
    {
        const float glowRadius = radius * 2.2f;
        g.setGradientFill(juce::ColourGradient(colour.withAlpha(0.45f), centre.x, centre.y,
                                               colour.withAlpha(0.0f), centre.x + glowRadius, centre.y,
                                               true));
        g.fillEllipse(juce::Rectangle<float>(glowRadius * 2.0f, glowRadius * 2.0f).withCentre(centre));
        g.setGradientFill(juce::ColourGradient(colour.interpolatedWith(juce::Colours::white, 0.65f), centre.x,
                                               centre.y - radius * 0.3f, colour, centre.x + radius, centre.y,
                                               true));
    }
    else
    {
        g.setGradientFill(
            juce::ColourGradient(colour.withMultipliedBrightness(0.38f), centre.x, centre.y - radius * 0.4f,
                                 colour.withMultipliedBrightness(0.16f), centre.x + radius, centre.y, true));
    }
    g.fillEllipse(lens);
    g.setColour(juce::Colours::white.withAlpha(lit ? 0.55f : 0.18f));
    g.fillEllipse(juce::Rectangle<float>(radius * 0.8f, radius * 0.5f)
                      .withCentre(centre.translated(-radius * 0.2f, -radius * 0.45f)));
}

bool writePng(const juce::Image& image, const juce::File& file)
{
    juce::MemoryOutputStream bytes;
    juce::PNGImageFormat png;
    if (!png.writeImageToStream(image, bytes))
        return false;
    // Written beside the target and moved over it, so a reader never sees half a file.
    juce::TemporaryFile temporary(file);
    if (!temporary.getFile().replaceWithData(bytes.getData(), bytes.getDataSize()))
        return false;
    return temporary.overwriteTargetFileWithTemporary();
}
