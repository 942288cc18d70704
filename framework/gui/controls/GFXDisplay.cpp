#include "framework/gui/controls/GFXDisplay.h"

#include "framework/xml/XmlRules.h"

namespace
{
constexpr int caretPeriodMs = 500;
}

GFXDisplay::GFXDisplay()
{
    setWantsKeyboardFocus(true);
    setMouseClickGrabsKeyboardFocus(true);
}

GFXDisplay::~GFXDisplay()
{
    stopTimer();
}

void GFXDisplay::loadFromXml(const juce::XmlElement& element, ParameterManager& parameters,
                             const EventsMap& events, juce::Component* editor)
{
    GUIController::loadFromXml(element, parameters, events, editor);
    text = XmlRules::getAttribute(element, "name");
    setColour(juce::CaretComponent::caretColourId,
              juce::Colour(XmlRules::getColourAttribute(element, "caretColour", 0)));
    backgroundColour = juce::Colour(XmlRules::getColourAttribute(element, "backgroundColour", 0));
    setEnabled(XmlRules::getAttribute(element, "readonly", "no") != "yes");

    for (auto* child : element.getChildIterator())
    {
        if (XmlRules::hasTag(*child, "gfx"))
        {
            SkinBitmap loaded;
            if (loaded.load(XmlRules::getAttribute(*child, "resource")) && loaded.isValid())
                font = loaded;
            glyphHeight = XmlRules::getIntAttribute(*child, "fontHeight", 0);
            const auto first = XmlRules::getAttribute(*child, "firstASCII", " ");
            firstCharacter = first.isNotEmpty() ? static_cast<int>(first[0]) : 0;
        }
        else if (XmlRules::hasTag(*child, "pos"))
        {
            setTopLeftPosition(XmlRules::getIntAttribute(*child, "left", 0),
                               XmlRules::getIntAttribute(*child, "top", 0));
        }
        else if (XmlRules::hasTag(*child, "size"))
        {
            setSize(XmlRules::getIntAttribute(*child, "width", 0),
                    XmlRules::getIntAttribute(*child, "height", 0));
        }
    }
    computeFontMetrics();
    repaint();
}

void GFXDisplay::computeFontMetrics()
{
    if (font.isValid())
        cellWidth = font.getWidth();
    if (glyphHeight < 1 || !font.isValid())
    {
        lastCharacter = firstCharacter;
        characterCount = 1;
        return;
    }
    characterCount = juce::jmax(1, font.getHeight() / (2 * glyphHeight));
    lastCharacter = firstCharacter + characterCount - 1;
}

void GFXDisplay::updateFromParameter(Parameter* parameter)
{
    if (parameter != nullptr)
        setText(parameter->getText());
}

void GFXDisplay::setText(const juce::String& newText)
{
    text = newText;
    repaint();
}

void GFXDisplay::addDisplayListener(GFXDisplayListener* listener)
{
    if (listener != nullptr)
        displayListeners.addIfNotAlreadyThere(listener);
}

int GFXDisplay::getVisibleCells() const
{
    return cellWidth > 0 ? getWidth() / cellWidth : 0;
}

juce::Point<int> GFXDisplay::getTextOrigin() const
{
    return {cellWidth > 0 ? (getWidth() % cellWidth) / 2 : 0, (getHeight() - glyphHeight) / 2};
}

void GFXDisplay::paint(juce::Graphics& g)
{
    g.fillAll(backgroundColour);
    if (!font.isValid())
    {
        g.setColour(juce::Colours::black);
        g.setFont(juce::jmax(8.0f, getHeight() * 0.8f));
        g.drawText(text, getLocalBounds(), juce::Justification::centredLeft, false);
        return;
    }
    if (cellWidth < 1 || glyphHeight < 1)
        return;

    const int cells = getVisibleCells();
    const auto origin = getTextOrigin();
    const int caretIndex = hasKeyboardFocus(false) && caretVisible ? caretPosition : -1;
    for (int k = 0; k < cells; ++k)
    {
        const int i = firstVisible + k;
        int character = i >= 0 && i < text.length() ? static_cast<int>(text[i]) : ' ';
        character = juce::jlimit(firstCharacter, lastCharacter, character);
        int glyphTop = (character - firstCharacter) * glyphHeight;
        if (caretHighlight && i == caretIndex)
            glyphTop += characterCount * glyphHeight;
        font.draw(g, {origin.x + k * cellWidth, origin.y, cellWidth, glyphHeight},
                  {0, glyphTop, cellWidth, glyphHeight});
    }
}

void GFXDisplay::mouseDown(const juce::MouseEvent&)
{
    if (isEnabled() && !editing)
        beginEdit();
}

void GFXDisplay::focusGained(FocusChangeType cause)
{
    // Only a click on the display edits it: the window taking the focus hands it to the first
    // component that wants keys, and that is no reason to start editing.
    if (!editing && cause == focusChangedByMouseClick)
        beginEdit();
}

void GFXDisplay::focusLost(FocusChangeType)
{
    // Moving onto the desktop takes the focus away for a moment; that is not the end of an edit.
    if (editing && !movingToDesktop)
        endEdit();
}

void GFXDisplay::beginEdit()
{
    editing = true;
    firstVisible = 0;
    caretPosition = text.length();
    startingText = text;
    restartCaret();
    savedBounds = getBounds();
    savedParent = getParentComponent();
    if (savedParent != nullptr && juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr)
    {
        savedIndex = savedParent->getIndexOfChildComponent(this);
        const auto onScreen = getScreenBounds();
        const juce::ScopedValueSetter<bool> moving(movingToDesktop, true);
        savedParent->removeChildComponent(this);
        setBounds(onScreen);
        addToDesktop(juce::ComponentPeer::windowIsTemporary);
        setVisible(true);
        toFront(true);
    }
    else
    {
        savedParent = nullptr;
    }
    scrollToCaret();
    if (!hasKeyboardFocus(false) && isShowing())
        grabKeyboardFocus();
    repaint();
}

void GFXDisplay::endEdit()
{
    if (!editing)
        return;
    editing = false;
    if (isOnDesktop() && savedParent != nullptr)
    {
        firstVisible = 0;
        caretPosition = 0;
        removeFromDesktop();
        savedParent->addAndMakeVisible(this, savedIndex);
        setBounds(savedBounds);
        stopTimer();
        moveKeyboardFocusToSibling(true);
    }
    else
    {
        firstVisible = 0;
        caretPosition = 0;
        stopTimer();
    }
    savedParent = nullptr;
    caretVisible = false;
    repaint();
    if (text != startingText)
        for (int i = displayListeners.size(); --i >= 0;)
            displayListeners.getUnchecked(i)->displayTextEdited(this);
}

void GFXDisplay::insertCharacter(juce::juce_wchar character)
{
    text = text.substring(0, caretPosition) + juce::String::charToString(character) +
           text.substring(caretPosition);
    ++caretPosition;
}

bool GFXDisplay::keyPressed(const juce::KeyPress& key)
{
    const int code = key.getKeyCode();
    if (key == juce::KeyPress::returnKey)
    {
        endEdit();
        return true;
    }
    if (key == juce::KeyPress::escapeKey)
    {
        text = startingText;
        endEdit();
        return true;
    }
    if (key == juce::KeyPress::backspaceKey)
    {
        if (caretPosition > 0)
            text = text.substring(0, caretPosition - 1) + text.substring(caretPosition);
        --caretPosition;
    }
    else if (key == juce::KeyPress::deleteKey)
        text = text.substring(0, caretPosition) + text.substring(caretPosition + 1);
    else if (key == juce::KeyPress::homeKey)
        caretPosition = 0;
    else if (key == juce::KeyPress::endKey)
        caretPosition = text.length();
    else if (key == juce::KeyPress::leftKey)
        --caretPosition;
    else if (key == juce::KeyPress::rightKey)
        ++caretPosition;
    else if (code >= firstCharacter && code <= lastCharacter && key.getTextCharacter() >= firstCharacter &&
             static_cast<int>(key.getTextCharacter()) <= lastCharacter)
        insertCharacter(key.getTextCharacter());

    caretPosition = juce::jlimit(0, text.length(), caretPosition);
    scrollToCaret();
    restartCaret();
    repaint();
    return true;
}

void GFXDisplay::scrollToCaret()
{
    const int cells = getVisibleCells();
    if (firstVisible + cells - 1 <= caretPosition)
        firstVisible = caretPosition - (cells - 1) + (caretPosition != text.length() ? 1 : 0);
    if (firstVisible >= caretPosition)
        firstVisible = caretPosition > 0 ? caretPosition - 1 : 0;
}

void GFXDisplay::restartCaret()
{
    caretVisible = true;
    startTimer(caretPeriodMs);
}

void GFXDisplay::timerCallback()
{
    if (!hasKeyboardFocus(false))
        return;
    caretVisible = !caretVisible;
    repaint();
}

void GFXDisplayFloat::updateFromParameter(Parameter* parameter)
{
    if (parameter != nullptr)
        setText(formatForCells(parameter->getValue(), getVisibleCells()));
}

juce::String GFXDisplayFloat::formatForCells(float value, int cells)
{
    auto number = XmlRules::formatNumber(value);
    if (cells > 0 && number.length() >= cells && number[cells - 1] == '.')
        number = " " + number;
    return number;
}
