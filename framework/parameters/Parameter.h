#pragma once

#include "framework/parameters/RealtimeAsyncUpdater.h"

#include <juce_events/juce_events.h>

#include <atomic>

// A value that the host, presets, MIDI, controls and the core exchange, always as a
// normalized float in 0..1. Each kind keeps its value in one atomic word (StringParameter
// excepted), so any thread may read or write it without a lock.
class Parameter : public RealtimeAsyncUpdater
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;
        virtual void parameterChanged(Parameter* parameter) = 0;
        virtual void parameterGestureBegin(Parameter*) {}
        virtual void parameterGestureEnd(Parameter*) {}
    };

    Parameter(int index, const juce::String& name, bool automatable);
    ~Parameter() override;

    void handleAsyncUpdate() override;

    virtual Parameter* clone() const = 0;
    virtual float getValue() const = 0;
    virtual float getNormalizedValue() const = 0;
    virtual int getIntValue() const = 0;
    virtual bool getBoolValue() const = 0;
    virtual juce::String getText() const = 0;
    virtual void setValue(float value, bool notify) = 0;
    virtual void setNormalizedValue(float value, bool notify) = 0;
    virtual void setIntValue(int value, bool notify) = 0;
    virtual void setBoolValue(bool value, bool notify) = 0;
    virtual void setText(const juce::String& text, bool notify) = 0;
    virtual void setValueFrom(const Parameter& other, bool notify) = 0;

    int getIndex() const noexcept { return index; }
    const juce::String& getName() const noexcept { return name; }
    bool isAutomatable() const noexcept { return automatable; }
    void setAutomatable(bool shouldBeAutomatable) noexcept { automatable = shouldBeAutomatable; }

    // Listener lists hold no duplicates and own nothing; they change only on the message
    // thread (the synchronous list only during start-up).
    void addListener(Listener* listener);
    void removeListener(Listener* listener);
    void addAsyncListener(Listener* listener);
    void removeAsyncListener(Listener* listener);
    const juce::Array<Listener*>& getSynchronousListeners() const noexcept { return syncListeners; }

    // Tells every listener of a change (synchronous ones at once, last added first, then one
    // coalesced asynchronous round on the message thread).
    void notifyListeners();

    // Edit gestures of a control that drags a value: told to each synchronous listener.
    void beginGesture();
    void endGesture();

private:
    const int index;
    const juce::String name;
    bool automatable;
    juce::Array<Listener*> syncListeners;
    juce::Array<Listener*> asyncListeners;

    JUCE_DECLARE_NON_COPYABLE(Parameter)
};

class FloatParameter : public Parameter
{
public:
    FloatParameter(int index, const juce::String& name, bool automatable, float minimum, float maximum,
                   float initialValue);

    Parameter* clone() const override;
    float getValue() const override { return value.load(); }
    float getNormalizedValue() const override;
    int getIntValue() const override { return static_cast<int>(value.load()); }
    bool getBoolValue() const override;
    juce::String getText() const override;
    void setValue(float newValue, bool notify) override;
    void setNormalizedValue(float newValue, bool notify) override;
    void setIntValue(int newValue, bool notify) override;
    void setBoolValue(bool newValue, bool notify) override;
    void setText(const juce::String& text, bool notify) override;
    void setValueFrom(const Parameter& other, bool notify) override;

    float getMinimum() const noexcept { return minimum; }
    float getMaximum() const noexcept { return maximum; }

private:
    void store(float newValue, bool notify);
    float limit(float x) const;

    const float minimum, maximum;
    std::atomic<float> value;
};

class IntParameter : public Parameter
{
public:
    IntParameter(int index, const juce::String& name, bool automatable, int minimum, int maximum, int initialValue);

    Parameter* clone() const override;
    float getValue() const override { return static_cast<float>(value.load()); }
    float getNormalizedValue() const override;
    int getIntValue() const override { return value.load(); }
    bool getBoolValue() const override { return value.load() != minimum; }
    juce::String getText() const override { return juce::String(value.load()); }
    void setValue(float newValue, bool notify) override;
    void setNormalizedValue(float newValue, bool notify) override;
    void setIntValue(int newValue, bool notify) override;
    void setBoolValue(bool newValue, bool notify) override;
    void setText(const juce::String& text, bool notify) override;
    void setValueFrom(const Parameter& other, bool notify) override;

    int getMinimum() const noexcept { return minimum; }
    int getMaximum() const noexcept { return maximum; }

protected:
    void store(int newValue, bool notify);
    int limit(int x) const { return juce::jlimit(minimum, maximum, x); }
    static int truncateToInt(float x);

private:
    const int minimum, maximum;
    std::atomic<int> value;
};

class BoolParameter : public Parameter
{
public:
    enum TextStyle
    {
        trueFalse = 0,
        onOff = 1,
        oneZero = 2,
        yesNo = 3
    };

    BoolParameter(int index, const juce::String& name, bool automatable, int textStyle, bool initialValue);

    Parameter* clone() const override;
    float getValue() const override { return value.load() == 1 ? 1.0f : 0.0f; }
    float getNormalizedValue() const override { return getValue(); }
    int getIntValue() const override { return value.load(); }
    bool getBoolValue() const override { return value.load() == 1; }
    juce::String getText() const override;
    void setValue(float newValue, bool notify) override { store(newValue != 0.0f, notify); }
    void setNormalizedValue(float newValue, bool notify) override { store(newValue >= 0.5f, notify); }
    void setIntValue(int newValue, bool notify) override { store(newValue != 0, notify); }
    void setBoolValue(bool newValue, bool notify) override { store(newValue, notify); }
    void setText(const juce::String& text, bool notify) override;
    void setValueFrom(const Parameter& other, bool notify) override { store(other.getBoolValue(), notify); }

    int getTextStyle() const noexcept { return textStyle; }

private:
    void store(bool newValue, bool notify);

    const int textStyle;
    std::atomic<int> value;
};

class EnumParameter : public IntParameter
{
public:
    EnumParameter(int index, const juce::String& name, bool automatable, const juce::String& itemList,
                  int initialValue);

    Parameter* clone() const override;
    juce::String getText() const override;
    void setText(const juce::String& text, bool notify) override;

    const juce::StringArray& getItems() const noexcept { return items; }
    const juce::String& getItemList() const noexcept { return itemList; }

    // Splits at every ";": empty pieces between separators count, a trailing empty one does not.
    static juce::StringArray splitItems(const juce::String& itemList);

private:
    const juce::StringArray items;
    const juce::String itemList;
};

class NoteParameter : public IntParameter
{
public:
    NoteParameter(int index, const juce::String& name, bool automatable, int initialValue);

    Parameter* clone() const override;
    juce::String getText() const override { return noteName(getIntValue()); }
    void setText(const juce::String& text, bool notify) override;

    // "C-0" is 0, "C#0" is 1, "G-X" is 127; returns -1 for a text that is not a note name.
    static int parseNoteName(const juce::String& text);
    static juce::String noteName(int noteNumber);
};

class StringParameter : public Parameter
{
public:
    StringParameter(int index, const juce::String& name, bool automatable, const juce::String& initialText);

    Parameter* clone() const override;
    float getValue() const override { return static_cast<float>(getText().getDoubleValue()); }
    float getNormalizedValue() const override { return juce::jlimit(0.0f, 1.0f, getValue()); }
    int getIntValue() const override { return getText().getIntValue(); }
    bool getBoolValue() const override { return getValue() != 0.0f; }
    juce::String getText() const override;
    void setValue(float newValue, bool notify) override;
    void setNormalizedValue(float newValue, bool notify) override { setValue(newValue, notify); }
    void setIntValue(int newValue, bool notify) override { setText(juce::String(newValue), notify); }
    void setBoolValue(bool newValue, bool notify) override { setText(newValue ? "true" : "false", notify); }
    void setText(const juce::String& text, bool notify) override;
    void setValueFrom(const Parameter& other, bool notify) override { setText(other.getText(), notify); }

private:
    mutable juce::ReadWriteLock lock;
    juce::String text;
};
