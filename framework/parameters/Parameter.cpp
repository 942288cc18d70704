#include "framework/parameters/Parameter.h"

#include "framework/xml/XmlRules.h"

#include <cmath>

namespace
{
void addUnique(juce::Array<Parameter::Listener*>& list, Parameter::Listener* listener)
{
    if (listener != nullptr)
        list.addIfNotAlreadyThere(listener);
}
} // namespace

//==============================================================================
Parameter::Parameter(int parameterIndex, const juce::String& parameterName, bool isAutomatable)
    : index(parameterIndex), name(parameterName), automatable(isAutomatable)
{
}

Parameter::~Parameter()
{
    stopAsyncUpdates();
}

void Parameter::handleAsyncUpdate()
{
    for (int i = asyncListeners.size(); --i >= 0;)
        if (auto* listener = asyncListeners[i])
            listener->parameterChanged(this);
}

void Parameter::addListener(Listener* listener) { addUnique(syncListeners, listener); }
void Parameter::removeListener(Listener* listener) { syncListeners.removeFirstMatchingValue(listener); }
void Parameter::addAsyncListener(Listener* listener) { addUnique(asyncListeners, listener); }
void Parameter::removeAsyncListener(Listener* listener) { asyncListeners.removeFirstMatchingValue(listener); }

void Parameter::notifyListeners()
{
    for (int i = syncListeners.size(); --i >= 0;)
        if (auto* listener = syncListeners[i])
            listener->parameterChanged(this);

    if (!asyncListeners.isEmpty())
        triggerAsyncUpdate();
}

void Parameter::beginGesture()
{
    for (int i = syncListeners.size(); --i >= 0;)
        syncListeners[i]->parameterGestureBegin(this);
}

void Parameter::endGesture()
{
    for (int i = syncListeners.size(); --i >= 0;)
        syncListeners[i]->parameterGestureEnd(this);
}

//==============================================================================
FloatParameter::FloatParameter(int index, const juce::String& name, bool automatable, float minimumValue,
                               float maximumValue, float initialValue)
    : Parameter(index, name, automatable), minimum(minimumValue), maximum(maximumValue), value(minimumValue)
{
    value = limit(initialValue);
}

Parameter* FloatParameter::clone() const
{
    return new FloatParameter(getIndex(), getName(), isAutomatable(), minimum, maximum, value.load());
}

float FloatParameter::limit(float x) const
{
    // A reversed range in a definition file must not make the clamp undefined.
    return juce::jlimit(std::min(minimum, maximum), std::max(minimum, maximum), x);
}

float FloatParameter::getNormalizedValue() const
{
    const float span = maximum - minimum;
    return span != 0.0f ? (value.load() - minimum) / span : 0.0f;
}

bool FloatParameter::getBoolValue() const
{
    const float v = value.load();
    return maximum - v <= v - minimum;
}

juce::String FloatParameter::getText() const
{
    return juce::String(value.load(), 9);
}

void FloatParameter::store(float newValue, bool notify)
{
    if (std::isnan(newValue))
        return;
    float old = value.load();
    if (std::isnan(old) || old == newValue)
        return;
    value.store(newValue);
    if (notify)
        notifyListeners();
}

void FloatParameter::setValue(float newValue, bool notify)
{
    if (!std::isnan(newValue))
        store(limit(newValue), notify);
}

void FloatParameter::setNormalizedValue(float newValue, bool notify)
{
    if (!std::isnan(newValue))
        store(minimum + (maximum - minimum) * juce::jlimit(0.0f, 1.0f, newValue), notify);
}

void FloatParameter::setIntValue(int newValue, bool notify) { store(limit(static_cast<float>(newValue)), notify); }
void FloatParameter::setBoolValue(bool newValue, bool notify) { store(newValue ? maximum : minimum, notify); }
void FloatParameter::setText(const juce::String& text, bool notify)
{
    setValue(static_cast<float>(text.getDoubleValue()), notify);
}
void FloatParameter::setValueFrom(const Parameter& other, bool notify) { setValue(other.getValue(), notify); }

//==============================================================================
IntParameter::IntParameter(int index, const juce::String& name, bool automatable, int minimumValue,
                           int maximumValue, int initialValue)
    : Parameter(index, name, automatable), minimum(minimumValue),
      maximum(std::max(minimumValue, maximumValue)), value(minimumValue)
{
    value = limit(initialValue);
}

Parameter* IntParameter::clone() const
{
    return new IntParameter(getIndex(), getName(), isAutomatable(), minimum, maximum, value.load());
}

int IntParameter::truncateToInt(float x)
{
    if (std::isnan(x))
        return 0;
    return static_cast<int>(juce::jlimit(-2147483648.0f, 2147483520.0f, x));
}

float IntParameter::getNormalizedValue() const
{
    const int span = maximum - minimum;
    return span != 0 ? static_cast<float>(value.load() - minimum) / static_cast<float>(span) : 0.0f;
}

void IntParameter::store(int newValue, bool notify)
{
    if (value.exchange(newValue) == newValue)
        return;
    if (notify)
        notifyListeners();
}

void IntParameter::setValue(float newValue, bool notify) { store(limit(truncateToInt(newValue)), notify); }

void IntParameter::setNormalizedValue(float newValue, bool notify)
{
    if (std::isnan(newValue))
        return;
    const float x = juce::jlimit(0.0f, 1.0f, newValue);
    store(limit(minimum + static_cast<int>(std::floor(static_cast<float>(maximum - minimum) * x + 0.5f))), notify);
}

void IntParameter::setIntValue(int newValue, bool notify) { store(limit(newValue), notify); }
void IntParameter::setBoolValue(bool newValue, bool notify) { store(newValue ? maximum : minimum, notify); }
void IntParameter::setText(const juce::String& text, bool notify) { store(limit(text.getIntValue()), notify); }
void IntParameter::setValueFrom(const Parameter& other, bool notify) { store(limit(other.getIntValue()), notify); }

//==============================================================================
BoolParameter::BoolParameter(int index, const juce::String& name, bool automatable, int style, bool initialValue)
    : Parameter(index, name, automatable), textStyle(style), value(initialValue ? 1 : 0)
{
}

Parameter* BoolParameter::clone() const
{
    return new BoolParameter(getIndex(), getName(), isAutomatable(), textStyle, getBoolValue());
}

juce::String BoolParameter::getText() const
{
    static const char* const texts[4][2] = {{"false", "true"}, {"off", "on"}, {"0", "1"}, {"no", "yes"}};
    const int style = juce::isPositiveAndBelow(textStyle, 4) ? textStyle : 0;
    return texts[style][getBoolValue() ? 1 : 0];
}

void BoolParameter::setText(const juce::String& text, bool notify)
{
    if (text == "true" || text == "1" || text == "on" || text == "yes")
        store(true, notify);
    else if (text == "false" || text == "0" || text == "off" || text == "no")
        store(false, notify);
    else
        setNormalizedValue(static_cast<float>(text.getDoubleValue()), notify);
}

void BoolParameter::store(bool newValue, bool notify)
{
    const int word = newValue ? 1 : 0;
    if (value.exchange(word) == word)
        return;
    if (notify)
        notifyListeners();
}

//==============================================================================
juce::StringArray EnumParameter::splitItems(const juce::String& itemList)
{
    juce::StringArray result;
    int start = 0;
    for (int separator = itemList.indexOfChar(';'); separator >= 0;
         separator = itemList.indexOfChar(start, ';'))
    {
        result.add(itemList.substring(start, separator));
        start = separator + 1;
    }
    if (start < itemList.length())
        result.add(itemList.substring(start));
    return result;
}

EnumParameter::EnumParameter(int index, const juce::String& name, bool automatable, const juce::String& list,
                             int initialValue)
    : IntParameter(index, name, automatable, 0, std::max(0, splitItems(list).size() - 1), initialValue),
      items(splitItems(list)), itemList(list)
{
}

Parameter* EnumParameter::clone() const
{
    return new EnumParameter(getIndex(), getName(), isAutomatable(), itemList, getIntValue());
}

juce::String EnumParameter::getText() const
{
    const int item = getIntValue();
    return juce::isPositiveAndBelow(item, items.size()) ? items[item] : juce::String();
}

void EnumParameter::setText(const juce::String& text, bool notify)
{
    const int item = items.indexOf(text);
    if (item >= 0)
        setIntValue(item, notify);
    else
        setNormalizedValue(static_cast<float>(text.getDoubleValue()), notify);
}

//==============================================================================
NoteParameter::NoteParameter(int index, const juce::String& name, bool automatable, int initialValue)
    : IntParameter(index, name, automatable, 0, 127, initialValue)
{
}

Parameter* NoteParameter::clone() const
{
    return new NoteParameter(getIndex(), getName(), isAutomatable(), getIntValue());
}

int NoteParameter::parseNoteName(const juce::String& text)
{
    if (text.length() != 3)
        return -1;

    static const int naturalPitch[] = {9, 11, 0, 2, 4, 5, 7}; // A .. G
    const juce::juce_wchar letter = text[0], sign = text[1], octaveChar = text[2];
    if (letter < 'A' || letter > 'G' || (sign != '-' && sign != '#'))
        return -1;

    int pitch = naturalPitch[letter - 'A'];
    // E and B have no sharp: either sign names the natural note.
    if (sign == '#' && letter != 'E' && letter != 'B')
        ++pitch;

    int octave;
    if (octaveChar >= '0' && octaveChar <= '9')
        octave = static_cast<int>(octaveChar - '0');
    else if (octaveChar == 'X')
        octave = 10;
    else
        return -1;

    return juce::jlimit(0, 127, pitch + 12 * octave);
}

juce::String NoteParameter::noteName(int noteNumber)
{
    if (!juce::isPositiveAndBelow(noteNumber, 128))
        return {};
    static const char* const names[] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    const int octave = noteNumber / 12;
    const juce::String octaveText = octave == 10 ? juce::String("X") : juce::String(octave);
    return juce::String(names[noteNumber % 12]) + octaveText;
}

void NoteParameter::setText(const juce::String& text, bool notify)
{
    const int note = parseNoteName(text);
    if (note >= 0)
        setIntValue(note, notify);
    else
        setNormalizedValue(static_cast<float>(text.getDoubleValue()), notify);
}

//==============================================================================
StringParameter::StringParameter(int index, const juce::String& name, bool automatable,
                                 const juce::String& initialText)
    : Parameter(index, name, automatable), text(initialText)
{
}

Parameter* StringParameter::clone() const
{
    return new StringParameter(getIndex(), getName(), isAutomatable(), getText());
}

juce::String StringParameter::getText() const
{
    const juce::ScopedReadLock reading(lock);
    return text;
}

void StringParameter::setValue(float newValue, bool notify)
{
    setText(XmlRules::formatNumber(static_cast<double>(newValue)), notify);
}

void StringParameter::setText(const juce::String& newText, bool notify)
{
    const juce::ScopedWriteLock writing(lock);
    if (text == newText)
        return;
    text = newText;
    if (notify)
        notifyListeners();
}
