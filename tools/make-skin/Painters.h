#pragma once

#include "SkinTable.h"

#include <juce_graphics/juce_graphics.h>

// Each painter draws one bitmap of the skin at the given scale (1 or 2).
juce::Image paintBackground(int scale);
juce::Image paintKnob(const SkinControl& control, int scale);
juce::Image paintTypeSwitch(const SkinControl& control, int scale);
juce::Image paintRouteSwitch(const SkinControl& control, int scale);
juce::Image paintButton(const SkinControl& control, int scale);
juce::Image paintFunctionButton(const SkinControl& control, int scale);
juce::Image paintMeter(const SkinControl& control, int scale);
juce::Image paintClipLed(const SkinControl& control, int scale);
juce::Image paintPixelFont(int scale);

// Shared between the strips and the background so that marks line up with the controls.
namespace MeterGeometry
{
constexpr int segments = 11;
constexpr float bottom = 185.5f; // absolute y of the lowest segment's lower edge
constexpr float pitch = 7.5f;
constexpr float segmentHeight = 5.5f;
constexpr float leftBarX = 562.0f;
constexpr float rightBarX = 598.0f;
constexpr float barWidth = 12.0f;
// Absolute y of a level in dB on the meter curve (0 dB at 0.8 of the travel, -24 dB at 0).
float levelY(float decibels);
} // namespace MeterGeometry

// Knob centres and radii, so that the background can draw the scale around them.
juce::Point<float> knobCentre(const SkinControl& control);
float knobRadius(const SkinControl& control);
