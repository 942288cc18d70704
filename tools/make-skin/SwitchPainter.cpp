#include "Painters.h"
#include "SkinStyle.h"

namespace
{
const char* const filterTypeNames[] = {"OFF", "LP", "BP", "HP", "BR"};
constexpr int windowHeight = 10;

void drawTypeWindow(juce::Graphics& g, float width, int state)
{
    const auto window = juce::Rectangle<float>(3.0f, 0.5f, width - 6.0f, windowHeight - 1.0f);
    g.setColour(Palette::lcd);
    g.fillRoundedRectangle(window, 1.5f);
    g.setColour(juce::Colours::black);
    g.drawRoundedRectangle(window, 1.5f, 0.6f);
    g.setColour(juce::Colours::white.withAlpha(0.08f));
    g.drawHorizontalLine(static_cast<int>(window.getBottom()), window.getX() + 1.0f,
                         window.getRight() - 1.0f);

    g.setFont(getSkinFonts().labelFont(8.0f));
    g.setColour(state == 0 ? Palette::dimLabel : Palette::accent);
    g.drawText(filterTypeNames[state], window.translated(0.0f, 0.2f), juce::Justification::centred, false);
}

void drawSelector(juce::Graphics& g, juce::Point<float> centre, float radius, int state)
{
    const auto circle = [&](float r)
    { return juce::Rectangle<float>(r * 2.0f, r * 2.0f).withCentre(centre); };

    for (int position = 0; position < 5; ++position)
    {
        const float angle =
            -juce::MathConstants<float>::halfPi + position * juce::MathConstants<float>::pi / 4.0f;
        const auto dot = centre.getPointOnCircumference(radius + 2.0f, angle);
        g.setColour(position == state ? Palette::accent : Palette::dimLabel.withAlpha(0.6f));
        g.fillEllipse(juce::Rectangle<float>(1.6f, 1.6f).withCentre(dot));
    }

    g.setColour(juce::Colours::black.withAlpha(0.45f));
    g.fillEllipse(circle(radius).translated(0.0f, 1.0f));
    g.setGradientFill(juce::ColourGradient(juce::Colour(0xff5b5e64), centre.x, centre.y - radius,
                                           juce::Colour(0xff17181b), centre.x, centre.y + radius, false));
    g.fillEllipse(circle(radius));
    g.setGradientFill(juce::ColourGradient(juce::Colour(0xff393c42), centre.x, centre.y - radius,
                                           juce::Colour(0xff222327), centre.x, centre.y + radius, false));
    g.fillEllipse(circle(radius * 0.74f));

    const float angle = -juce::MathConstants<float>::halfPi + state * juce::MathConstants<float>::pi / 4.0f;
    g.setColour(juce::Colour(0xfff4f4f2));
    g.drawLine(juce::Line<float>(centre.getPointOnCircumference(radius * 0.2f, angle),
                                 centre.getPointOnCircumference(radius * 0.92f, angle)),
               1.7f);
}
} // namespace

juce::Image paintTypeSwitch(const SkinControl& control, int scale)
{
    const float width = static_cast<float>(control.width);
    const float height = static_cast<float>(control.height);
    const float knobArea = height - windowHeight;
    const float radius = juce::jmin(width, knobArea) * 0.5f - 3.2f;
    const juce::Point<float> centre(width * 0.5f, windowHeight + knobArea * 0.5f + 1.5f);

    return paintStrip(control.width, control.height, control.frames, scale,
                      [&](juce::Graphics& g, int frame)
                      {
                          drawTypeWindow(g, width, frame);
                          drawSelector(g, centre, radius, frame);
                      });
}

juce::Image paintRouteSwitch(const SkinControl& control, int scale)
{
    const float width = static_cast<float>(control.width);
    const float height = static_cast<float>(control.height);
    const float centreX = width * 0.5f;
    const auto slot = juce::Rectangle<float>(centreX - 4.5f, 4.0f, 9.0f, height - 8.0f);

    return paintStrip(
        control.width, control.height, control.frames, scale,
        [&](juce::Graphics& g, int frame)
        {
            // Frame 1 is the lever up (the upper end of the slider's travel).
            const bool up = frame == 1;

            g.setColour(juce::Colours::white.withAlpha(0.07f));
            g.fillRoundedRectangle(slot.expanded(1.0f).translated(0.0f, 0.6f), 4.0f);
            g.setColour(Palette::engraveDark);
            g.fillRoundedRectangle(slot, 4.0f);
            g.setColour(juce::Colour(0xff050506));
            g.fillRoundedRectangle(slot.reduced(2.5f, 3.0f), 2.0f);

            const float leverHeight = 18.0f;
            const auto lever = juce::Rectangle<float>(
                centreX - 7.0f, up ? slot.getY() + 1.0f : slot.getBottom() - leverHeight - 1.0f, 14.0f,
                leverHeight);
            g.setColour(juce::Colours::black.withAlpha(0.5f));
            g.fillRoundedRectangle(lever.translated(0.0f, 1.5f), 2.5f);
            g.setGradientFill(juce::ColourGradient(juce::Colour(0xff6a6d73), lever.getX(), lever.getY(),
                                                   juce::Colour(0xff26282c), lever.getX(), lever.getBottom(),
                                                   false));
            g.fillRoundedRectangle(lever, 2.5f);
            g.setColour(juce::Colours::black.withAlpha(0.45f));
            for (int ridge = 0; ridge < 4; ++ridge)
                g.fillRect(juce::Rectangle<float>(lever.getX() + 3.0f, lever.getY() + 5.0f + ridge * 2.6f,
                                                  8.0f, 1.0f));
            g.setColour(Palette::accent);
            const float mark = up ? lever.getY() + 2.0f : lever.getBottom() - 3.2f;
            g.fillRoundedRectangle(juce::Rectangle<float>(lever.getX() + 3.0f, mark, 8.0f, 1.3f), 0.6f);
        });
}
