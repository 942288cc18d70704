#pragma once

#include "framework/gui/controls/GUIController.h"
#include "framework/gui/skin/SkinBitmap.h"

#include <juce_gui_basics/juce_gui_basics.h>

class BasePlugin;

// The persistent editor component: built once at start-up and kept for the life of the
// plug-in, whether or not the host has a window open. Host windows only wrap it. It builds
// its controls from the skin resource, or lays out generic ones when there is no skin.
class BasePluginEditor : public juce::Component, public juce::Timer, public GUIController::Listener
{
public:
    explicit BasePluginEditor(BasePlugin& owner);
    ~BasePluginEditor() override;

    // Called once by the processor right after construction: the generic layout when no skin
    // was loaded.
    virtual void setup();

    void paint(juce::Graphics& g) override;
    void timerCallback() override {}

    BasePlugin& getPlugin() noexcept { return plugin; }

    // Builds the controls of a skin document (the skin counts as loaded when there is one,
    // whatever its root); the constructor does this with "skin.xml".
    void buildFromSkin(const juce::XmlElement* document);
    void buildGenericLayout();

    bool isSkinLoaded() const noexcept { return skinLoaded; }
    bool hasBackground() const noexcept { return background.isValid(); }
    int getContentHeight() const noexcept { return contentHeight; }
    void setEditorSize(int width, int newContentHeight);

    int getNumControllers() const;
    GUIController* getController(int index) const;
    juce::Component* findControl(const juce::String& name) { return findControlByNameIn(*this, name); }

    // GUIController::Listener
    void controllerValueChanged(GUIController* controller) override;
    void controllerEventTriggered(GUIController* controller, int eventId) override;

    static constexpr int refreshIntervalMs = 25;
    static constexpr int defaultWidth = 1024;
    static constexpr int defaultContentHeight = 800;

protected:
    virtual bool leavesGapAfterParameter(int /*parameterIndex*/) const { return false; }
    virtual bool startsRowAfterParameter(int /*parameterIndex*/) const { return false; }
    // Tells the user a parameter's new value (the status bar shows it once there is one).
    virtual void showParameterValue(Parameter* /*parameter*/) {}

private:
    static juce::Component* findControlByNameIn(juce::Component& root, const juce::String& name);
    void addControl(std::unique_ptr<juce::Component> component, GUIController* controller,
                    juce::OwnedArray<juce::Component>& owner);

    BasePlugin& plugin;
    juce::Array<GUIController*> controllers;
    juce::CriticalSection controllerLock;
    juce::OwnedArray<juce::Component> skinControls;
    juce::OwnedArray<juce::Component> genericControls;
    SkinBitmap background;
    bool skinLoaded = false;
    // How many of the editor's own children lie beneath the skin controls (none yet).
    int ownChildrenBeneathControls = 0;
    int contentHeight = 0;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(BasePluginEditor)
};
