#include "framework/gui/skin/SkinLoader.h"

#include "framework/gui/controls/BitmapSlider.h"
#include "framework/gui/controls/GFXAnimation.h"
#include "framework/gui/controls/GFXButton.h"
#include "framework/gui/controls/GFXDisplay.h"
#include "framework/gui/controls/GFXMultiStateButton.h"
#include "framework/gui/controls/GFXPanel.h"
#include "framework/gui/controls/GFXRocker.h"
#include "framework/gui/controls/GFXToggleButton.h"
#include "framework/gui/controls/UnusedKinds.h"

namespace
{
template <typename Kind> BuiltSkinControl make()
{
    auto control = std::make_unique<Kind>();
    BuiltSkinControl built;
    built.controller = control.get();
    built.component = std::move(control);
    return built;
}

struct Factory
{
    const char* tag;
    BuiltSkinControl (*create)();
    bool panelOnly;
};

// In the order the tags are tried.
const Factory factories[] = {
    {"Knob", make<GFXKnob>, false},
    {"Switch", make<GFXSwitch>, false},
    {"Animation", make<GFXAnimation>, false},
    {"Button", make<GFXButton>, false},
    {"ToggleButton", make<GFXToggleButton>, false},
    {"MultiStateButton", make<GFXMultiStateButton>, false},
    {"Display", make<GFXDisplay>, false},
    {"DisplayFloat", make<GFXDisplayFloat>, false},
    {"Rocker", make<GFXRocker>, false},
    {"Panel", make<GFXPanel>, false},
    {"NumericDisplay", make<NumericDisplay>, false},
    {"PatternNumberDisplay", make<PatternNumberDisplay>, false},
    {"NoteDisplay", make<NoteDisplay>, true},
    {"MusicKeyboard", make<MusicKeyboard>, true},
    {"PitchBender", make<PitchBender>, true},
    {"ModWheel", make<ModWheel>, true},
    {"ParameterModulator", make<ParameterModulator>, true},
};
} // namespace

BuiltSkinControl createSkinControl(const juce::String& tag, SkinScope scope)
{
    for (const auto& factory : factories)
        if (tag.equalsIgnoreCase(factory.tag) && (!factory.panelOnly || scope == SkinScope::insidePanel))
            return factory.create();
    return {};
}

juce::Component* findControlByName(juce::Component& root, const juce::String& name)
{
    for (auto* child : root.getChildren())
        if (child->getName() == name)
            return child;
    for (auto* child : root.getChildren())
        if (auto* found = findControlByName(*child, name))
            return found;
    return nullptr;
}
