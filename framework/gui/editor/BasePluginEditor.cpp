#include "framework/gui/editor/BasePluginEditor.h"

#include "framework/processor/BasePlugin.h"

BasePluginEditor::BasePluginEditor(BasePlugin& owner) : plugin(owner)
{
    setOpaque(true);
}

BasePluginEditor::~BasePluginEditor()
{
    stopTimer();
}

void BasePluginEditor::setup()
{
    setSize(640, 360);
}

void BasePluginEditor::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff202124));
    g.setColour(juce::Colours::white);
    g.setFont(28.0f);
    g.drawText(plugin.getProductName(), getLocalBounds(), juce::Justification::centred);
}
