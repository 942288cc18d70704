#include "framework/gui/controls/GFXAnimation.h"

#include "framework/gui/skin/FrameGeometry.h"

GFXAnimation::GFXAnimation()
{
    setInterceptsMouseClicks(false, false);
}

void GFXAnimation::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                               const EventsMap& events, juce::Component* editor)
{
    BaseGFXController::loadFromXml(element, parameters, events, editor);
    currentFrame = 0;
    repaint();
}

void GFXAnimation::updateFromParameter(Parameter* parameter)
{
    if (parameter != nullptr)
        setValue(parameter->getNormalizedValue());
}

void GFXAnimation::applySize()
{
    setBounds(left, top, width, height);
}

void GFXAnimation::applyPosition()
{
    setBounds(left, top, width, height);
}

void GFXAnimation::setValue(float value)
{
    setFrame(FrameGeometry::frameForClampedValue(frames, value));
}

void GFXAnimation::setFrame(int frame)
{
    if (frame == currentFrame)
        return;
    currentFrame = frame;
    repaint();
}

void GFXAnimation::timerCallback()
{
    stopTimer();
    setFrame(restFrame);
}

void GFXAnimation::paint(juce::Graphics& g)
{
    const int frame = showsRestFrame() ? restFrame : currentFrame;
    if (hasImage())
    {
        drawFrame(g, frame);
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(), Placeholder::boxGrey);
    Placeholder::drawFrameIndicator(g, getLocalBounds(), frame, frames, 0.0f);
}
