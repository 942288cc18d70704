#include "Painters.h"
#include "SkinStyle.h"

#include <cmath>

namespace
{
// Every preset-bar button face sits on the same line, whatever its strip's own top.
constexpr float faceTop = 17.0f;
constexpr float faceSize = 28.0f;

void drawFace(juce::Graphics& g, juce::Rectangle<float> face, bool pressed)
{
    g.setColour(juce::Colours::black.withAlpha(0.55f));
    g.fillRoundedRectangle(face.translated(0.0f, pressed ? 0.6f : 1.6f), 3.5f);
    const auto top = pressed ? juce::Colour(0xff2b2d31) : juce::Colour(0xff53565c);
    const auto bottom = pressed ? juce::Colour(0xff1c1d20) : juce::Colour(0xff27292d);
    g.setGradientFill(
        juce::ColourGradient(top, face.getX(), face.getY(), bottom, face.getX(), face.getBottom(), false));
    g.fillRoundedRectangle(face, 3.5f);
    g.setColour(juce::Colours::white.withAlpha(pressed ? 0.04f : 0.14f));
    g.drawRoundedRectangle(face.reduced(0.6f), 3.0f, 0.7f);
    g.setColour(juce::Colours::black.withAlpha(0.8f));
    g.drawRoundedRectangle(face, 3.5f, 0.6f);
}

juce::Path gearIcon(juce::Point<float> centre)
{
    juce::Path gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 2; ++i)
    {
        const float angle = i * juce::MathConstants<float>::pi / teeth;
        const float next = (i + 1) * juce::MathConstants<float>::pi / teeth;
        const float radius = (i % 2 == 0) ? 7.0f : 5.4f;
        const auto a = centre.getPointOnCircumference(radius, angle);
        const auto b = centre.getPointOnCircumference(radius, next);
        if (i == 0)
            gear.startNewSubPath(a);
        else
            gear.lineTo(a);
        gear.lineTo(b);
    }
    gear.closeSubPath();
    gear.addEllipse(juce::Rectangle<float>(5.0f, 5.0f).withCentre(centre));
    gear.setUsingNonZeroWinding(false);
    return gear;
}

juce::Path arrowIcon(juce::Point<float> centre, bool pointsRight)
{
    juce::Path arrow;
    const float direction = pointsRight ? 1.0f : -1.0f;
    arrow.addTriangle(centre.x - 4.0f * direction, centre.y - 6.0f, centre.x - 4.0f * direction,
                      centre.y + 6.0f, centre.x + 5.0f * direction, centre.y);
    return arrow;
}

juce::Path listIcon(juce::Point<float> centre)
{
    juce::Path list;
    for (int row = 0; row < 3; ++row)
    {
        const float y = centre.y - 5.0f + row * 4.5f;
        list.addRoundedRectangle(centre.x - 7.0f, y, 2.4f, 2.4f, 0.6f);
        list.addRoundedRectangle(centre.x - 3.0f, y + 0.2f, 10.0f, 2.0f, 0.6f);
    }
    return list;
}

juce::Path iconFor(const juce::String& name, juce::Point<float> centre)
{
    if (name == "OptionsButton")
        return gearIcon(centre);
    if (name == "PrevPresetButton")
        return arrowIcon(centre, false);
    if (name == "NextPresetButton")
        return arrowIcon(centre, true);
    return listIcon(centre);
}

// Transfer curves of the six functions, drawn as the player knows them, not to scale.
float transfer(int function, float x)
{
    const float threshold = 0.35f;
    const float knee = 3.0f;
    const auto bend = [&](float over) { return std::tanh(over * knee) / knee; };
    switch (function)
    {
    case 0:
        return std::abs(x) <= threshold ? x : std::copysign(threshold + bend(std::abs(x) - threshold), x);
    case 1:
        return 0.75f *
               (std::abs(x) <= threshold
                    ? x
                    : std::copysign(threshold + std::atan((std::abs(x) - threshold) * knee) / knee, x));
    case 2:
        return std::abs(x) <= threshold ? x : std::copysign(threshold + (std::abs(x) - threshold) * 0.08f, x);
    case 3:
        return std::abs(x) <= 0.25f ? 0.0f
                                    : std::copysign(std::tanh((std::abs(x) - 0.25f) * 2.5f) * 0.55f, x);
    case 4:
        return x > 0.1f ? 0.1f + bend(x - 0.1f) * 1.6f : (x >= -0.6f ? x : -0.6f + bend(x + 0.6f) * 0.6f);
    default:
        return x > threshold ? threshold + (x - threshold) * 0.08f
                             : (x < -threshold ? -threshold - bend(-x - threshold) : x);
    }
}

void drawFunctionFace(juce::Graphics& g, juce::Rectangle<float> face, int function)
{
    static const char* const shortNames[] = {"TANH", "ATAN", "HARD", "XOVER", "ASYM", "MIX"};

    g.setColour(juce::Colours::black.withAlpha(0.55f));
    g.fillRoundedRectangle(face.translated(0.0f, 1.2f), 3.0f);
    g.setColour(Palette::lcd);
    g.fillRoundedRectangle(face, 3.0f);
    g.setColour(juce::Colours::black);
    g.drawRoundedRectangle(face, 3.0f, 0.7f);
    g.setColour(juce::Colours::white.withAlpha(0.12f));
    g.drawRoundedRectangle(face.expanded(0.8f), 3.6f, 0.6f);

    const auto plot =
        juce::Rectangle<float>(face.getX() + 4.0f, face.getY() + 2.5f, face.getWidth() - 8.0f, 12.5f);
    g.setColour(Palette::lcdText.withAlpha(0.14f));
    g.drawHorizontalLine(static_cast<int>(plot.getCentreY()), plot.getX(), plot.getRight());
    g.drawVerticalLine(static_cast<int>(plot.getCentreX()), plot.getY(), plot.getBottom());

    juce::Path curve;
    const int steps = 48;
    for (int step = 0; step <= steps; ++step)
    {
        const float x = -1.0f + 2.0f * step / steps;
        const auto point = juce::Point<float>(plot.getX() + (x + 1.0f) * 0.5f * plot.getWidth(),
                                              plot.getCentreY() - transfer(function, x) * plot.getHeight());
        if (step == 0)
            curve.startNewSubPath(point);
        else
            curve.lineTo(point);
    }
    g.setColour(Palette::accent.withAlpha(0.3f));
    g.strokePath(curve,
                 juce::PathStrokeType(2.4f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));
    g.setColour(Palette::accent);
    g.strokePath(curve,
                 juce::PathStrokeType(1.1f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded));

    g.setFont(getSkinFonts().labelFont(7.5f));
    g.setColour(Palette::lcdText);
    g.drawText(shortNames[function],
               juce::Rectangle<float>(face.getX(), plot.getBottom() + 0.5f, face.getWidth(), 7.5f),
               juce::Justification::centred, false);

    for (int dot = 0; dot < 6; ++dot)
    {
        const float x = face.getCentreX() + (dot - 2.5f) * 5.0f;
        g.setColour(dot == function ? Palette::accent : Palette::lcdText.withAlpha(0.2f));
        g.fillEllipse(juce::Rectangle<float>(2.2f, 2.2f).withCentre({x, face.getBottom() - 2.6f}));
    }
}
} // namespace

juce::Image paintButton(const SkinControl& control, int scale)
{
    const auto face = juce::Rectangle<float>(faceSize, faceSize)
                          .withCentre({control.width * 0.5f, faceTop - control.top + faceSize * 0.5f});
    const auto icon = iconFor(control.name, face.getCentre());

    return paintStrip(control.width, control.height, control.frames, scale,
                      [&](juce::Graphics& g, int frame)
                      {
                          const bool pressed = frame == 1;
                          drawFace(g, face, pressed);
                          const auto shift = juce::AffineTransform::translation(0.0f, pressed ? 0.8f : 0.0f);
                          g.setColour(juce::Colours::black.withAlpha(0.6f));
                          g.fillPath(icon, shift.translated(0.0f, 0.8f));
                          g.setColour(pressed ? Palette::accent : Palette::label);
                          g.fillPath(icon, shift);
                      });
}

juce::Image paintFunctionButton(const SkinControl& control, int scale)
{
    const auto face = juce::Rectangle<float>(1.5f, 8.0f, control.width - 3.0f, 28.5f);
    return paintStrip(control.width, control.height, control.frames, scale,
                      [&](juce::Graphics& g, int frame) { drawFunctionFace(g, face, frame); });
}
