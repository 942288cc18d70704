#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>

// The look shared by every bitmap: a dark anodised panel, light engraved labels, amber accents.
namespace Palette
{
const juce::Colour panelTop{0xff34373c};
const juce::Colour panelBottom{0xff1f2024};
const juce::Colour plate{0xff18191c};
const juce::Colour engraveDark{0xff0c0d0f};
const juce::Colour engraveLight{0x30ffffff};
const juce::Colour label{0xffd9dbde};
const juce::Colour dimLabel{0xff8b9097};
const juce::Colour accent{0xfff2a23a};
const juce::Colour accentDim{0xff5a3a14};
const juce::Colour lcd{0xff232224};
const juce::Colour lcdText{0xffbef6ff};
const juce::Colour ledRed{0xffff3b30};
const juce::Colour ledGreen{0xff5fe35a};
const juce::Colour ledYellow{0xfff5d33b};
} // namespace Palette

// Typefaces read from the font files themselves, never by family name, so that another
// installed variant (condensed, light) can never be picked instead.
struct SkinFonts
{
    juce::Typeface::Ptr bold;
    juce::Typeface::Ptr regular;

    bool load(const juce::File& folder);
    juce::Font labelFont(float height) const;
    juce::Font plainFont(float height) const;
};

const SkinFonts& getSkinFonts();
bool loadSkinFonts(const juce::File& folder);
void releaseSkinFonts();

// Paints a vertical strip of frames. The painter draws frame n in logical frame coordinates
// (0, 0, width, height); the image is scale times larger and transparent where nothing is drawn.
using FramePainter = std::function<void(juce::Graphics&, int frame)>;
juce::Image paintStrip(int width, int height, int frames, int scale, const FramePainter& painter);

// Light text with a dark engraving below it, as silk-screen on anodised metal.
void drawEngravedText(juce::Graphics& g, const juce::String& text, juce::Rectangle<float> area,
                      const juce::Font& font, juce::Colour colour,
                      juce::Justification justification = juce::Justification::centred);

// Knob geometry: angles of the arc's ends, clockwise from twelve o'clock.
constexpr float arcStart = -0.75f * juce::MathConstants<float>::pi;
constexpr float arcEnd = 0.75f * juce::MathConstants<float>::pi;

// A flat round LED with a bezel; glow only when lit.
void drawLed(juce::Graphics& g, juce::Point<float> centre, float radius, juce::Colour colour, bool lit);

bool writePng(const juce::Image& image, const juce::File& file);
