#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

// One control of the skin: where it sits, which strip it shows and what it is wired to.
// The painters and skin.xml are both driven from this table, so they cannot disagree.
struct SkinControl
{
    struct Attribute
    {
        const char* name;
        const char* value;
    };
    struct Action
    {
        const char* type;
        const char* event;
    };

    const char* tag;
    const char* name;
    const char* resource;
    int frames;
    int left, top, width, height;
    const char* parameter; // nullptr: not linked
    std::vector<Attribute> attributes;
    std::vector<Action> actions;
    std::vector<Attribute> gfxAttributes;

    juce::Rectangle<int> bounds() const { return {left, top, width, height}; }
};

const std::vector<SkinControl>& getSkinControls();
const SkinControl& findSkinControl(const char* name);

// The strip's file: the "gfx" resource, by default the control's name with ".png".
juce::String getResourceFileName(const SkinControl& control);

constexpr int backgroundWidth = 633;
constexpr int backgroundHeight = 207;

// skin.xml as written into the resources: fixed text, so regeneration is byte-identical.
juce::String createSkinXml();
