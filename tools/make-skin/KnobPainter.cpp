#include "Painters.h"
#include "SkinStyle.h"

namespace
{
void drawArc(juce::Graphics& g, juce::Point<float> centre, float radius, float from, float to,
             float thickness)
{
    juce::Path arc;
    arc.addCentredArc(centre.x, centre.y, radius, radius, 0.0f, from, to, true);
    g.strokePath(
        arc, juce::PathStrokeType(thickness, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
}

void drawKnobBody(juce::Graphics& g, juce::Point<float> centre, float radius)
{
    const auto circle = [&](float r)
    { return juce::Rectangle<float>(r * 2.0f, r * 2.0f).withCentre(centre); };

    // Shadow on the panel, then a knurled dark skirt and a brushed cap.
    g.setColour(juce::Colours::black.withAlpha(0.45f));
    g.fillEllipse(circle(radius + 0.8f).translated(0.0f, 1.2f));
    g.setGradientFill(juce::ColourGradient(juce::Colour(0xff55585e), centre.x, centre.y - radius,
                                           juce::Colour(0xff141518), centre.x, centre.y + radius, false));
    g.fillEllipse(circle(radius));

    const float cap = radius * 0.78f;
    g.setGradientFill(juce::ColourGradient(juce::Colour(0xff3c3f45), centre.x, centre.y - cap,
                                           juce::Colour(0xff202125), centre.x, centre.y + cap, false));
    g.fillEllipse(circle(cap));
    g.setGradientFill(juce::ColourGradient(juce::Colours::white.withAlpha(0.16f), centre.x - cap * 0.3f,
                                           centre.y - cap * 0.6f, juce::Colours::transparentWhite, centre.x,
                                           centre.y + cap * 0.2f, true));
    g.fillEllipse(circle(cap));
    g.setColour(juce::Colours::black.withAlpha(0.55f));
    g.drawEllipse(circle(cap), 0.6f);
    g.setColour(juce::Colours::white.withAlpha(0.10f));
    g.drawEllipse(circle(radius - 0.4f), 0.6f);
}

void drawPointer(juce::Graphics& g, juce::Point<float> centre, float radius, float angle)
{
    const auto along = [&](float distance) { return centre.getPointOnCircumference(distance, angle); };
    g.setColour(juce::Colours::black.withAlpha(0.5f));
    g.drawLine(juce::Line<float>(along(radius * 0.25f), along(radius * 0.92f)).withShortenedStart(0.0f),
               2.6f);
    g.setColour(juce::Colour(0xfff4f4f2));
    g.drawLine(juce::Line<float>(along(radius * 0.3f), along(radius * 0.9f)), 1.7f);
}
} // namespace

juce::Point<float> knobCentre(const SkinControl& control)
{
    return {control.left + control.width * 0.5f, control.top + control.height * 0.5f};
}

float knobRadius(const SkinControl& control)
{
    return juce::jmin(control.width, control.height) * 0.5f;
}

juce::Image paintKnob(const SkinControl& control, int scale)
{
    const int frames = control.frames;
    const juce::Point<float> centre(control.width * 0.5f, control.height * 0.5f);
    const float outer = knobRadius(control);
    const float arcRadius = outer - 2.2f;
    const float bodyRadius = outer - 5.2f;

    return paintStrip(control.width, control.height, frames, scale,
                      [&](juce::Graphics& g, int frame)
                      {
                          const float value = static_cast<float>(frame) / static_cast<float>(frames - 1);
                          const float angle = arcStart + value * (arcEnd - arcStart);

                          g.setColour(Palette::engraveDark);
                          drawArc(g, centre, arcRadius, arcStart, arcEnd, 2.6f);
                          g.setColour(Palette::accentDim);
                          drawArc(g, centre, arcRadius, arcStart, arcEnd, 1.2f);
                          if (frame > 0)
                          {
                              g.setColour(Palette::accent.withAlpha(0.3f));
                              drawArc(g, centre, arcRadius, arcStart, angle, 3.2f);
                              g.setColour(Palette::accent);
                              drawArc(g, centre, arcRadius, arcStart, angle, 1.6f);
                          }
                          drawKnobBody(g, centre, bodyRadius);
                          drawPointer(g, centre, bodyRadius, angle);
                      });
}
