#pragma once

#include <string>

// Display texts of the host parameters, built from the values the core stores.
namespace parameter_text
{
// Value with exactly one decimal place, '-' only for negative values (e.g. "-24.0").
std::string oneDecimal(double value);
// Nearest integer, halves away from zero.
long long nearest(double value);

std::string dynamics(double storedOneMinusV); // "50/50% (Hard/Normal)"
std::string preamp(double v);                 // "24.0dB"
std::string threshold(double storedOneMinusV);
std::string percent(double v); // "50%"
std::string filterTypeName(int type);
std::string filterRouteName(int route);
std::string cutoffFrequency(double v); // "1200Hz"
std::string outputVolume(float v);     // "+12.0dB", "-Inf."
std::string distortionFunctionName(int function);
std::string dryWet(double v); // "0/100% (Dry/Wet)"
} // namespace parameter_text
