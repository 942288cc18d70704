#include "Painters.h"
#include "SkinStyle.h"

namespace
{
using juce::Rectangle;

// Horizontal brushing: each row gets its own slight shade plus fine grain, from a fixed seed.
void brushMetal(juce::Image& image)
{
    juce::Image::BitmapData pixels(image, juce::Image::BitmapData::readWrite);
    juce::uint32 state = 0x2545f491u;
    const auto next = [&state]
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>((state >> 8) & 0xffff) / 65535.0f;
    };
    for (int y = 0; y < pixels.height; ++y)
    {
        const float rowShade = (next() - 0.5f) * 0.035f;
        for (int x = 0; x < pixels.width; ++x)
        {
            const float grain = (next() - 0.5f) * 0.03f + rowShade;
            const auto colour = pixels.getPixelColour(x, y);
            pixels.setPixelColour(
                x, y, grain > 0.0f ? colour.brighter(grain * 1.2f) : colour.darker(-grain * 1.2f));
        }
    }
}

void drawScrew(juce::Graphics& g, juce::Point<float> centre)
{
    const auto head = Rectangle<float>(7.0f, 7.0f).withCentre(centre);
    g.setColour(juce::Colours::black.withAlpha(0.5f));
    g.fillEllipse(head.translated(0.0f, 0.8f));
    g.setGradientFill(juce::ColourGradient(juce::Colour(0xff6b6e74), head.getX(), head.getY(),
                                           juce::Colour(0xff26282b), head.getRight(), head.getBottom(),
                                           false));
    g.fillEllipse(head);
    g.setColour(juce::Colour(0xff121315));
    const auto slot = juce::Line<float>(centre.translated(-2.4f, 1.2f), centre.translated(2.4f, -1.2f));
    g.drawLine(slot, 1.1f);
}

void drawRecess(juce::Graphics& g, Rectangle<float> area, float corner, juce::Colour fill)
{
    g.setColour(juce::Colours::white.withAlpha(0.08f));
    g.drawRoundedRectangle(area.expanded(0.5f).translated(0.0f, 0.8f), corner, 1.0f);
    g.setColour(fill);
    g.fillRoundedRectangle(area, corner);
    g.setGradientFill(juce::ColourGradient(juce::Colours::black.withAlpha(0.45f), area.getX(), area.getY(),
                                           juce::Colours::transparentBlack, area.getX(), area.getY() + 6.0f,
                                           false));
    g.fillRoundedRectangle(area, corner);
    g.setColour(juce::Colours::black.withAlpha(0.7f));
    g.drawRoundedRectangle(area, corner, 0.8f);
}

void drawDivider(juce::Graphics& g, float x, float top, float bottom)
{
    g.setColour(Palette::engraveDark.withAlpha(0.9f));
    g.fillRect(Rectangle<float>(x - 0.5f, top, 1.0f, bottom - top));
    g.setColour(Palette::engraveLight);
    g.fillRect(Rectangle<float>(x + 0.5f, top, 1.0f, bottom - top));
}

// A section's name in the accent colour with a rule either side of it.
void drawHeader(juce::Graphics& g, const juce::String& text, float left, float right, float top)
{
    const auto font = getSkinFonts().labelFont(9.0f).withExtraKerningFactor(0.14f);
    const float textWidth = font.getStringWidthFloat(text);
    const float centre = (left + right) * 0.5f;
    const float y = top + 4.5f;
    g.setColour(Palette::accent.withAlpha(0.45f));
    g.fillRect(Rectangle<float>(left + 5.0f, y, centre - textWidth * 0.5f - 4.0f - (left + 5.0f), 1.0f));
    g.fillRect(Rectangle<float>(centre + textWidth * 0.5f + 4.0f, y,
                                right - 5.0f - (centre + textWidth * 0.5f + 4.0f), 1.0f));
    drawEngravedText(g, text, Rectangle<float>(centre - textWidth, top, textWidth * 2.0f, 9.0f), font,
                     Palette::accent);
}

void drawLabel(juce::Graphics& g, const juce::String& text, float centreX, float top,
               juce::Colour colour = Palette::label)
{
    drawEngravedText(g, text, Rectangle<float>(centreX - 40.0f, top, 80.0f, 9.0f),
                     getSkinFonts().labelFont(8.0f), colour);
}

void drawLabelAbove(juce::Graphics& g, const char* control, const juce::String& text, float gap = 2.0f)
{
    const auto& c = findSkinControl(control);
    drawLabel(g, text, c.left + c.width * 0.5f, c.top - 9.0f - gap);
}

void drawPresetBar(juce::Graphics& g)
{
    drawRecess(g, {70.0f, 5.0f, 482.0f, 56.0f}, 5.0f, juce::Colour(0xff1b1c1f));

    const auto& display = findSkinControl("PresetNameDisplay");
    const auto bezel = display.bounds().toFloat().expanded(4.0f, 5.0f);
    g.setColour(juce::Colour(0xff0b0b0c));
    g.fillRoundedRectangle(bezel, 3.0f);
    g.setColour(juce::Colours::white.withAlpha(0.1f));
    g.drawRoundedRectangle(bezel.expanded(0.7f), 3.5f, 0.7f);
    g.setColour(Palette::lcd);
    g.fillRect(display.bounds().toFloat().expanded(1.0f));
    drawEngravedText(g, "PRESET", {bezel.getX(), 12.0f, 80.0f, 9.0f}, getSkinFonts().labelFont(8.0f),
                     Palette::dimLabel, juce::Justification::centredLeft);

    drawLabel(g, "OPTIONS", 97.0f, 48.0f, Palette::dimLabel);
    drawLabel(g, "PREV", 313.5f, 48.0f, Palette::dimLabel);
    drawLabel(g, "NEXT", 352.0f, 48.0f, Palette::dimLabel);
    drawLabel(g, "BROWSE", 388.5f, 48.0f, Palette::dimLabel);

    const auto logo = Rectangle<float>(414.0f, 13.0f, 132.0f, 20.0f);
    const auto logoFont = juce::Font(getSkinFonts().bold).withHeight(19.0f).withExtraKerningFactor(0.16f);
    drawEngravedText(g, "KOLVRANE", logo, logoFont, Palette::label);
    g.setColour(Palette::accent);
    g.fillRect(Rectangle<float>(424.0f, 36.0f, 112.0f, 1.2f));
    drawEngravedText(g, "MULTIBAND DISTORTION UNIT", {410.0f, 40.0f, 140.0f, 8.0f},
                     getSkinFonts().labelFont(6.6f).withExtraKerningFactor(0.1f), Palette::dimLabel);
}

void drawFilterSection(juce::Graphics& g, int number, float left, float right)
{
    const juce::String n(number);
    drawHeader(g, "FILTER " + n, left, right, 68.0f);
    drawLabelAbove(g, ("Filter" + n + "CutoffKnob").toRawUTF8(), "CUTOFF", 1.0f);
    drawLabelAbove(g, ("Filter" + n + "FilterTypeKnob").toRawUTF8(), "TYPE", 1.0f);
    drawLabelAbove(g, ("Filter" + n + "ResoKnob").toRawUTF8(), "RESO/BW", 1.0f);
    drawLabelAbove(g, ("Filter" + n + "VolumeKnob").toRawUTF8(), "VOLUME", 1.0f);

    const auto& route = findSkinControl(("Filter" + n + "PrePostSwitch").toRawUTF8());
    const float centre = route.left + route.width * 0.5f;
    drawLabel(g, "PRE", centre, route.top - 9.5f);
    drawLabel(g, "POST", centre, static_cast<float>(route.top + route.height) + 1.5f);
}

void drawMeterScale(juce::Graphics& g)
{
    using namespace MeterGeometry;
    const float middle = (leftBarX + barWidth + rightBarX) * 0.5f;
    const auto font = getSkinFonts().labelFont(6.5f).withExtraKerningFactor(0.0f);
    for (const int decibels : {6, 0, -6, -12, -18, -24})
    {
        const float y = levelY(static_cast<float>(decibels)) - segmentHeight * 0.5f;
        const juce::String text = decibels > 0 ? "+" + juce::String(decibels) : juce::String(decibels);
        g.setColour(decibels > 0 ? Palette::ledRed.withAlpha(0.8f) : Palette::dimLabel);
        g.fillRect(Rectangle<float>(leftBarX + barWidth + 2.0f, y - 0.4f, 2.0f, 0.8f));
        g.fillRect(Rectangle<float>(rightBarX - 4.0f, y - 0.4f, 2.0f, 0.8f));
        drawEngravedText(g, text, {middle - 8.0f, y - 3.5f, 16.0f, 7.0f}, font,
                         decibels > 0 ? Palette::ledRed.interpolatedWith(Palette::label, 0.3f)
                                      : Palette::label);
    }
    drawLabel(g, "L", leftBarX + barWidth * 0.5f, 190.0f);
    drawLabel(g, "R", rightBarX + barWidth * 0.5f, 190.0f);
    drawLabel(g, "dB", middle, 190.0f, Palette::dimLabel);
}

void paintPanel(juce::Graphics& g)
{
    const auto bounds = Rectangle<float>(0.0f, 0.0f, backgroundWidth, backgroundHeight);
    // Edge bevel of the faceplate.
    g.setColour(juce::Colours::white.withAlpha(0.12f));
    g.fillRect(bounds.withHeight(1.0f));
    g.fillRect(bounds.withWidth(1.0f));
    g.setColour(juce::Colours::black.withAlpha(0.6f));
    g.fillRect(bounds.withTop(bounds.getBottom() - 1.0f));
    g.fillRect(bounds.withLeft(bounds.getRight() - 1.0f));

    for (const auto centre :
         {juce::Point<float>(7.5f, 7.5f), {625.5f, 7.5f}, {7.5f, 199.5f}, {625.5f, 199.5f}})
        drawScrew(g, centre);

    drawPresetBar(g);

    const float sectionTop = 68.0f;
    const float sectionBottom = 201.0f;
    for (const float x : {118.0f, 245.5f, 375.5f, 507.0f})
        drawDivider(g, x, sectionTop, sectionBottom);
    drawDivider(g, 555.5f, 6.0f, sectionBottom);

    drawHeader(g, "DRIVE", 10.0f, 68.0f, 6.0f);
    drawLabelAbove(g, "DynamicsKnob", "DYNAMICS");
    drawLabelAbove(g, "PreampKnob", "PREAMP");
    drawLabelAbove(g, "ThresholdKnob", "THRESHOLD", 1.0f);
    drawLabelAbove(g, "ShapeKnob", "SHAPE", 1.0f);
    drawLabel(g, "FUNCTION", 93.5f, 100.5f);
    drawLabel(g, "CLIP", 95.0f, 70.0f);

    drawFilterSection(g, 1, 118.0f, 245.5f);
    drawFilterSection(g, 2, 245.5f, 375.5f);
    drawFilterSection(g, 3, 375.5f, 507.0f);

    drawHeader(g, "FX", 507.0f, 555.5f, 68.0f);
    drawLabelAbove(g, "FXKnob", "MIX");
    const auto& fx = findSkinControl("FXKnob");
    const auto small = getSkinFonts().labelFont(6.0f).withExtraKerningFactor(0.02f);
    drawEngravedText(g, "DRY", {fx.left - 6.0f, fx.top + fx.height + 1.0f, 20.0f, 7.0f}, small,
                     Palette::dimLabel);
    drawEngravedText(g, "WET", {fx.left + fx.width - 14.0f, fx.top + fx.height + 1.0f, 20.0f, 7.0f}, small,
                     Palette::dimLabel);

    drawHeader(g, "OUTPUT", 555.5f, 633.0f, 6.0f);
    drawLabelAbove(g, "OutputVolumeKnob", "VOLUME");
    drawMeterScale(g);
}
} // namespace

juce::Image paintBackground(int scale)
{
    juce::Image image(juce::Image::ARGB, backgroundWidth * scale, backgroundHeight * scale, true,
                      juce::SoftwareImageType());
    {
        juce::Graphics g(image);
        g.setGradientFill(juce::ColourGradient(Palette::panelTop, 0.0f, 0.0f, Palette::panelBottom, 0.0f,
                                               static_cast<float>(image.getHeight()), false));
        g.fillAll();
    }
    brushMetal(image);
    juce::Graphics g(image);
    g.addTransform(juce::AffineTransform::scale(static_cast<float>(scale)));
    paintPanel(g);
    return image.convertedToFormat(juce::Image::RGB);
}
