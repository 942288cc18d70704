#include "framework/gui/controls/BaseGFXController.h"

#include "framework/gui/skin/FrameGeometry.h"
#include "framework/xml/XmlRules.h"

const juce::XmlElement* BaseGFXController::findChild(const juce::XmlElement& element, juce::StringRef tag)
{
    for (auto* child : element.getChildIterator())
        if (XmlRules::hasTag(*child, tag))
            return child;
    return nullptr;
}

void BaseGFXController::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                                    const EventsMap& events, juce::Component* editor)
{
    GUIController::loadFromXml(element, parameters, events, editor);
    loadBitmap(element);
    if (!hasImage())
        loadSize(element);
    loadPosition(element);
}

void BaseGFXController::loadBitmap(const juce::XmlElement& element, int frameCount)
{
    const auto* gfx = findChild(element, "gfx");
    if (gfx == nullptr)
        return;
    const int count = frameCount > 0 ? frameCount : XmlRules::getIntAttribute(*gfx, "framesNum", 1);
    SkinBitmap loaded;
    // A strip that decodes to nothing, or a count below one, leaves the control without one.
    if (count < 1 || !loaded.load(XmlRules::getAttribute(*gfx, "resource")) || !loaded.isValid())
        return;
    image = loaded;
    frames = count;
    setFrameSize(image.getWidth(), FrameGeometry::frameHeight(image.getHeight(), frames));
}

void BaseGFXController::loadSize(const juce::XmlElement& element)
{
    if (const auto* size = findChild(element, "size"))
        setFrameSize(XmlRules::getIntAttribute(*size, "width", 0),
                     XmlRules::getIntAttribute(*size, "height", 0));
}

void BaseGFXController::loadPosition(const juce::XmlElement& element)
{
    const auto* pos = findChild(element, "pos");
    if (pos == nullptr)
        return;
    const int newLeft = XmlRules::getIntAttribute(*pos, "left", 0);
    const int newTop = XmlRules::getIntAttribute(*pos, "top", 0);
    if (newLeft == left && newTop == top)
        return;
    left = newLeft;
    top = newTop;
    applyPosition();
}

void BaseGFXController::setFrameSize(int newWidth, int newHeight)
{
    if (newWidth == width && newHeight == height)
        return;
    width = newWidth;
    height = newHeight;
    applySize();
}

void BaseGFXController::drawFrame(juce::Graphics& g, int frame) const
{
    if (!hasImage() || height <= 0)
        return;
    const int shown = juce::jlimit(0, frames - 1, frame);
    image.draw(g, {0, 0, width, height}, {0, shown * height, width, height});
}

namespace Placeholder
{
void drawBox(juce::Graphics& g, juce::Rectangle<int> area, float greyLevel)
{
    g.setColour(juce::Colour::greyLevel(greyLevel));
    g.fillRect(area);
    g.setColour(juce::Colours::black);
    g.drawRect(area);
}

void drawText(juce::Graphics& g, juce::Rectangle<int> area, const juce::String& text)
{
    g.setColour(juce::Colours::black);
    g.setFont(11.0f);
    g.drawFittedText(text, area.reduced(2), juce::Justification::centred, 3);
}

void drawParameter(juce::Graphics& g, juce::Rectangle<int> area, const Parameter* parameter,
                   const juce::String& fallbackName)
{
    if (parameter == nullptr)
    {
        drawText(g, area, fallbackName);
        return;
    }
    drawText(g, area, parameter->getName() + "\n" + parameter->getText());
}

void drawFrameIndicator(juce::Graphics& g, juce::Rectangle<int> area, int frame, int frames, float extra)
{
    const auto square = juce::Rectangle<float>(16.0f, 16.0f).withCentre(area.toFloat().getCentre());
    g.setColour(juce::Colours::black);
    g.drawRect(square);
    const float fraction = frames > 1 ? static_cast<float>(frame) / static_cast<float>(frames - 1) : 0.0f;
    const float diameter = fraction * 10.0f + extra;
    if (diameter > 0.0f)
        g.fillEllipse(juce::Rectangle<float>(diameter, diameter).withCentre(square.getCentre()));
}
} // namespace Placeholder
