#pragma once

#include <juce_core/juce_core.h>

// The identity texts of a plug-in, as the about window shows them.
class SoftwareDesignation
{
public:
    virtual ~SoftwareDesignation() = default;
    virtual juce::String getProductName() const = 0;
    virtual juce::String getDescription() const = 0;
    virtual juce::String getVersionString() const = 0;
    virtual juce::String getFirstYear() const = 0;
    virtual juce::String getPluginFile() const = 0;
    virtual juce::String getReleaseDate() const = 0;
    virtual juce::String getBuildString() const = 0;
    virtual juce::String getPluginFormat() const = 0;
    virtual juce::String getPlatform() const = 0;
};
