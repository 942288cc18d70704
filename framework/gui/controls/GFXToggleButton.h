#pragma once

#include "framework/gui/controls/GFXButton.h"

#include <map>

class GFXToggleButton;

// The process-wide registry of toggle-button groups: dragging across buttons of one group
// paints them all with the state of the first one clicked.
class GFXToggleButtonDragGroup : private juce::DeletedAtShutdown
{
public:
    struct Group
    {
        juce::Array<GFXToggleButton*> buttons;
        int dragStartX = 0;
        int dragStartY = 0;
        bool paintedState = false;
    };

    static GFXToggleButtonDragGroup& getInstance();

    Group& join(const juce::String& name, GFXToggleButton* button);
    void leave(const juce::String& name, GFXToggleButton* button);
    Group* find(const juce::String& name);

private:
    GFXToggleButtonDragGroup() = default;
    ~GFXToggleButtonDragGroup() override;

    std::map<juce::String, Group> groups;
    static GFXToggleButtonDragGroup* instance;
    static juce::CriticalSection creationLock;
};

// A two-state button bound to a boolean parameter.
class GFXToggleButton : public ClickEventButton
{
public:
    GFXToggleButton();
    ~GFXToggleButton() override;

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void updateFromParameter(Parameter* parameter) override;

    void mouseDown(const juce::MouseEvent& event) override;
    void mouseDrag(const juce::MouseEvent& event) override;
    void paintButton(juce::Graphics& g, bool isMouseOver, bool isButtonDown) override;

    int getShownFrame() const;
    const juce::String& getDragGroupName() const noexcept { return dragGroupName; }

protected:
    void clicked(const juce::ModifierKeys& modifiers) override;

private:
    bool is3D = false;
    GFXToggleButtonDragGroup::Group* dragGroup = nullptr;
    juce::String dragGroupName;
};
