#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A click in the editor makes the windowing system give the plug-in's window the keyboard
// focus, and it stays there: the host's keys (transport, shortcuts, Escape) stop working. This
// hands the focus back to the host after a click that did not start a text edit.
class HostKeyboardFocus : public juce::MouseListener
{
public:
    // Watches the clicks on editor and all its children.
    explicit HostKeyboardFocus(juce::Component& editor);
    ~HostKeyboardFocus() override;

    void mouseEnter(const juce::MouseEvent&) override;
    void mouseUp(const juce::MouseEvent&) override;

private:
    juce::Component& editor;
    unsigned long hostWindow = 0; // the window that had the focus before the pointer came in
};
