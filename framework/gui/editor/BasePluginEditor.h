#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class BasePlugin;

// The persistent editor component: built once at start-up and kept for the life of the
// plug-in, whether or not the host has a window open. Host windows only wrap it.
class BasePluginEditor : public juce::Component, public juce::Timer
{
public:
    explicit BasePluginEditor(BasePlugin& owner);
    ~BasePluginEditor() override;

    // Builds the content; called once, right after construction.
    virtual void setup();

    void paint(juce::Graphics& g) override;
    void timerCallback() override {}

    BasePlugin& getPlugin() noexcept { return plugin; }

    static constexpr int refreshIntervalMs = 25;

private:
    BasePlugin& plugin;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BasePluginEditor)
};
