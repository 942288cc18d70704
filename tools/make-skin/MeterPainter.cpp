#include "Painters.h"
#include "SkinStyle.h"

namespace
{
juce::Colour segmentColour(int segment)
{
    if (segment >= 9)
        return Palette::ledRed;
    if (segment >= 7)
        return Palette::ledYellow;
    return Palette::ledGreen;
}
} // namespace

float MeterGeometry::levelY(float decibels)
{
    const float position = 0.8f + decibels / 30.0f;
    return bottom - position * segments * pitch + (pitch - segmentHeight);
}

juce::Image paintMeter(const SkinControl& control, int scale)
{
    using namespace MeterGeometry;
    const bool left = juce::String(control.name).startsWith("Left");
    const float barX = (left ? leftBarX : rightBarX) - control.left;
    const float base = bottom - control.top;

    return paintStrip(
        control.width, control.height, control.frames, scale,
        [&](juce::Graphics& g, int frame)
        {
            const auto well = juce::Rectangle<float>(barX - 1.5f, base - segments * pitch - 0.5f,
                                                     barWidth + 3.0f, segments * pitch + 2.5f);
            g.setColour(juce::Colours::white.withAlpha(0.07f));
            g.fillRoundedRectangle(well.translated(0.0f, 0.7f), 2.0f);
            g.setColour(juce::Colour(0xff070708));
            g.fillRoundedRectangle(well, 2.0f);

            for (int segment = 0; segment < segments; ++segment)
            {
                const auto cell = juce::Rectangle<float>(barX, base - segment * pitch - segmentHeight,
                                                         barWidth, segmentHeight);
                const auto colour = segmentColour(segment);
                if (segment < frame)
                {
                    g.setColour(colour.withAlpha(0.35f));
                    g.fillRoundedRectangle(cell.expanded(1.0f), 1.5f);
                    g.setGradientFill(juce::ColourGradient(
                        colour.interpolatedWith(juce::Colours::white, 0.35f), cell.getCentreX(), cell.getY(),
                        colour, cell.getCentreX(), cell.getBottom(), false));
                }
                else
                {
                    g.setColour(colour.withMultipliedBrightness(0.2f).withMultipliedSaturation(0.7f));
                }
                g.fillRoundedRectangle(cell, 0.8f);
            }
        });
}

juce::Image paintClipLed(const SkinControl& control, int scale)
{
    const juce::Point<float> centre(control.width * 0.5f, control.height * 0.5f);
    return paintStrip(control.width, control.height, control.frames, scale,
                      [&](juce::Graphics& g, int frame)
                      { drawLed(g, centre, 3.6f, Palette::ledRed, frame == 1); });
}
