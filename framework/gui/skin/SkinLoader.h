#pragma once

#include "framework/gui/controls/GUIController.h"

#include <memory>

enum class SkinScope
{
    editor,
    // A panel's "controls" also accept the kinds that live only inside panels.
    insidePanel
};

// A control made for a skin element: the component (owned by the caller) and its controller
// part (the same object).
struct BuiltSkinControl
{
    std::unique_ptr<juce::Component> component;
    GUIController* controller = nullptr;
};

// The control kind for a tag (names compared without regard to case); empty for an unknown tag.
BuiltSkinControl createSkinControl(const juce::String& tag, SkinScope scope = SkinScope::editor);

// Looks through the root's direct children for the name, then through each child's
// children in order; the first match wins.
juce::Component* findControlByName(juce::Component& root, const juce::String& name);
