#pragma once

#include "framework/gui/controls/GUIController.h"
#include "framework/gui/skin/SkinBitmap.h"

// A controller that shows frames of a vertical bitmap strip at a position of the editor.
class BaseGFXController : public GUIController
{
public:
    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;

    // Called when the frame size or the position changed while loading.
    virtual void applySize() {}
    virtual void applyPosition() {}

    bool hasImage() const noexcept { return image.isValid(); }
    int getFrames() const noexcept { return frames; }
    int getFrameWidth() const noexcept { return width; }
    int getFrameHeight() const noexcept { return height; }
    int getLeft() const noexcept { return left; }
    int getTop() const noexcept { return top; }
    juce::Rectangle<int> getSkinBounds() const noexcept { return {left, top, width, height}; }

protected:
    // The parts of loadFromXml, for kinds that read them in another order or with their own
    // frame count (which, when positive, replaces "framesNum").
    void loadBitmap(const juce::XmlElement& element, int frameCount = 0);
    void loadSize(const juce::XmlElement& element);
    void loadPosition(const juce::XmlElement& element);
    static const juce::XmlElement* findChild(const juce::XmlElement& element, juce::StringRef tag);

    // Draws frame n (clamped to the strip) at the control's origin.
    void drawFrame(juce::Graphics& g, int frame) const;
    void setFrameSize(int newWidth, int newHeight);

    SkinBitmap image;
    int frames = 1;
    int width = 0, height = 0;
    int left = 0, top = 0;
};

// The drawings of controls without a bitmap: they show the kind, and for value controls the
// parameter's name and value, so skins under construction and the generic layout stay usable.
namespace Placeholder
{
constexpr float boxGrey = 0.9f;
constexpr float valueControlGrey = 0.7f;
constexpr float pressedGrey = 0.4f;

void drawBox(juce::Graphics& g, juce::Rectangle<int> area, float greyLevel);
void drawParameter(juce::Graphics& g, juce::Rectangle<int> area, const Parameter* parameter,
                   const juce::String& fallbackName);
void drawText(juce::Graphics& g, juce::Rectangle<int> area, const juce::String& text);
// The frame as a circle growing inside a 16 x 16 square at the centre.
void drawFrameIndicator(juce::Graphics& g, juce::Rectangle<int> area, int frame, int frames, float extra);
} // namespace Placeholder
