#include "framework/gui/controls/BitmapSlider.h"

#include "framework/gui/skin/FrameGeometry.h"
#include "framework/xml/XmlRules.h"

BitmapSlider::BitmapSlider()
{
    setTextBoxStyle(juce::Slider::NoTextBox, false, 0, 0);
}

void BitmapSlider::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                               const EventsMap& events, juce::Component* editor)
{
    BaseGFXController::loadFromXml(element, parameters, events, editor);
    setBounds(left, top, width, height);
    repaint();
}

void BitmapSlider::updateFromParameter(Parameter* parameter)
{
    if (parameter != nullptr)
        setValue(parameter->getNormalizedValue(), juce::dontSendNotification);
}

void BitmapSlider::valueChanged()
{
    auto* parameter = getConnectedParameter();
    if (parameter == nullptr)
        return;
    parameter->setNormalizedValue(static_cast<float>(getValue()), true);
    sendValueChanged();
}

void BitmapSlider::startedDragging()
{
    sendGestureBegan();
}

void BitmapSlider::stoppedDragging()
{
    sendGestureEnded();
}

int BitmapSlider::getShownFrame() const
{
    if (!isEnabled() || showsRestFrame())
        return 0;
    return frameForSliderValue();
}

void BitmapSlider::paint(juce::Graphics& g)
{
    if (hasImage())
    {
        drawFrame(g, getShownFrame());
        return;
    }
    Placeholder::drawBox(g, getLocalBounds(), Placeholder::valueControlGrey);
    Placeholder::drawParameter(g, getLocalBounds(), getConnectedParameter(), getName());
}

GFXKnob::GFXKnob()
{
    setSliderStyle(juce::Slider::RotaryVerticalDrag);
    setRange(0.0, 1.0, 0.0);
    setValue(0.0, juce::dontSendNotification);
}

int GFXKnob::frameForSliderValue() const
{
    const double range = getMaximum() - getMinimum();
    const double position = range > 0.0 ? (getValue() - getMinimum()) / range : 0.0;
    return FrameGeometry::frameForValue(frames, static_cast<float>(position));
}

GFXSwitch::GFXSwitch()
{
    setSliderStyle(juce::Slider::RotaryVerticalDrag);
    setRange(0.0, 1.0, 0.005);
    setValue(0.0, juce::dontSendNotification);
}

GFXSwitch::Mode GFXSwitch::modeFromStyle(const juce::String& style)
{
    if (style.equalsIgnoreCase("Vertical"))
        return vertical;
    if (style.equalsIgnoreCase("Horizontal"))
        return horizontal;
    return rotary;
}

void GFXSwitch::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                            const EventsMap& events, juce::Component* editor)
{
    BitmapSlider::loadFromXml(element, parameters, events, editor);
    mode = modeFromStyle(XmlRules::getAttribute(element, "style"));
    static const juce::Slider::SliderStyle styles[] = {
        juce::Slider::LinearVertical, juce::Slider::LinearHorizontal, juce::Slider::RotaryVerticalDrag};
    setSliderStyle(styles[mode]);
    repaint();
}

int GFXSwitch::frameForSliderValue() const
{
    return FrameGeometry::frameForValue(frames, static_cast<float>(getValue()));
}
