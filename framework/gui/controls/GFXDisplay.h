#pragma once

#include "framework/gui/controls/GUIController.h"
#include "framework/gui/skin/SkinBitmap.h"

class GFXDisplay;

class GFXDisplayListener
{
public:
    virtual ~GFXDisplayListener() = default;
    // An edit ended with a text other than the one it started with.
    virtual void displayTextEdited(GFXDisplay* display) = 0;
};

// A line of text in a bitmap font, editable in place. The font strip is one cell wide: the
// glyphs from the first to the last character, then the same glyphs inverted for the caret.
// While editing, the display floats on the desktop as a temporary window over its place, so
// that it gets the keyboard even inside hosts that keep it from plug-in windows.
class GFXDisplay : public GUIController, public juce::Component, private juce::Timer
{
public:
    GFXDisplay();
    ~GFXDisplay() override;

    void loadFromXml(const juce::XmlElement& element, ParameterManager& parameters, const EventsMap& events,
                     juce::Component* editor) override;
    void updateFromParameter(Parameter* parameter) override;

    void setText(const juce::String& newText);
    const juce::String& getText() const noexcept { return text; }
    void addDisplayListener(GFXDisplayListener* listener);

    // The font metrics (valid once loaded).
    int getCellWidth() const noexcept { return cellWidth; }
    int getGlyphHeight() const noexcept { return glyphHeight; }
    int getFirstCharacter() const noexcept { return firstCharacter; }
    int getLastCharacter() const noexcept { return lastCharacter; }
    int getVisibleCells() const;
    juce::Point<int> getTextOrigin() const;
    int getFirstVisibleCharacter() const noexcept { return firstVisible; }
    int getCaretPosition() const noexcept { return caretPosition; }
    bool isEditing() const noexcept { return editing; }
    juce::Colour getBackgroundColour() const noexcept { return backgroundColour; }

    // Editing, as the focus drives it; public so that a test can drive it directly.
    void beginEdit();
    void endEdit();
    bool keyPressed(const juce::KeyPress& key) override;

    void paint(juce::Graphics& g) override;
    void focusGained(FocusChangeType cause) override;
    void focusLost(FocusChangeType cause) override;
    void mouseDown(const juce::MouseEvent& event) override;

protected:
    juce::String text;

private:
    void timerCallback() override;
    void computeFontMetrics();
    void scrollToCaret();
    void restartCaret();
    void insertCharacter(juce::juce_wchar character);

    SkinBitmap font;
    int cellWidth = 8;
    int glyphHeight = 0;
    int firstCharacter = 32;
    int lastCharacter = 160;
    int characterCount = 129;
    bool caretVisible = false;
    int caretPosition = 0;
    int firstVisible = 0;
    juce::Array<GFXDisplayListener*> displayListeners;
    juce::String startingText;
    juce::Component::SafePointer<juce::Component> savedParent;
    int savedIndex = -1;
    juce::Rectangle<int> savedBounds;
    bool caretHighlight = true;
    bool editing = false;
    bool movingToDesktop = false;
    juce::Colour backgroundColour{0x00000000};
};

// A display that shows its parameter's plain value as a number.
class GFXDisplayFloat : public GFXDisplay
{
public:
    void updateFromParameter(Parameter* parameter) override;
    // The number text, with a space in front when its last visible cell would be a lone ".".
    static juce::String formatForCells(float value, int cells);
};
