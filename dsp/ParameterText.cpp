#include "dsp/ParameterText.h"

#include <cmath>
#include <cstdio>

namespace parameter_text
{
namespace
{
std::string integerText(long long value)
{
    return std::to_string(value);
}

std::string splitPercent(double share, const char* labels)
{
    const int c = static_cast<int>(std::floor(share * 100.0 + 0.5));
    char text[64];
    std::snprintf(text, sizeof(text), "%d/%d%% (%s)", 100 - c, c, labels);
    return text;
}
} // namespace

std::string oneDecimal(double value)
{
    const double magnitude = std::abs(value);
    if (!(magnitude <= 1e20))
    {
        char text[32];
        std::snprintf(text, sizeof(text), "%.9g", value);
        return text;
    }
    const auto tenths = static_cast<long long>(magnitude * 10.0 + 0.5);
    std::string text = value < 0.0 ? "-" : "";
    text += std::to_string(tenths / 10);
    text += '.';
    text += static_cast<char>('0' + tenths % 10);
    return text;
}

long long nearest(double value)
{
    return static_cast<long long>(value >= 0.0 ? value + 0.5 : value - 0.5);
}

std::string dynamics(double storedOneMinusV)
{
    return splitPercent(storedOneMinusV, "Hard/Normal");
}

std::string preamp(double v)
{
    return oneDecimal(v * 48.0) + "dB";
}

std::string threshold(double storedOneMinusV)
{
    return oneDecimal(storedOneMinusV * -48.0) + "dB";
}

std::string percent(double v)
{
    return integerText(nearest(v * 100.0)) + "%";
}

std::string filterTypeName(int type)
{
    static const char* const names[] = {"OFF", "LP", "BP", "HP", "BR"};
    return type >= 0 && type < 5 ? names[type] : "";
}

std::string filterRouteName(int route)
{
    return route == 0 ? "Post" : route == 1 ? "Pre" : "";
}

std::string cutoffFrequency(double v)
{
    const double hertz = std::exp(-13.852681569539453 / (v + 1.0)) * 12216728.08026351 + 8.229043838885561;
    return integerText(nearest(hertz)) + "Hz";
}

std::string outputVolume(float v)
{
    const float gain = v * v * 4.0f;
    if (gain > 0.0f)
    {
        const double decibels = 20.0 * std::log10(static_cast<double>(gain));
        if (decibels > -320.0)
            return (decibels > 0.01 ? "+" : "") + oneDecimal(decibels) + "dB";
    }
    return "-Inf.";
}

std::string distortionFunctionName(int function)
{
    static const char* const names[] = {"TANH",      "ATAN",       "HARD CLIP",
                                        "CROSSOVER", "ASIM. TANH", "MIXED TANH/CLIP"};
    return function >= 0 && function < 6 ? names[function] : "";
}

std::string dryWet(double v)
{
    return splitPercent(v, "Dry/Wet");
}
} // namespace parameter_text
