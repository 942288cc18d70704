#include "framework/parameters/ParameterManager.h"

#include <gtest/gtest.h>

namespace
{
struct RecordingListener : Parameter::Listener
{
    explicit RecordingListener(std::vector<int>* sharedLog = nullptr, int tag = 0) : log(sharedLog), id(tag) {}
    void parameterChanged(Parameter* p) override
    {
        ++calls;
        lastValue = p->getNormalizedValue();
        if (log != nullptr)
            log->push_back(id);
    }
    int calls = 0;
    float lastValue = -1.0f;
    std::vector<int>* log;
    int id;
};

std::unique_ptr<juce::XmlElement> parse(const char* text)
{
    return juce::parseXML(juce::String(text));
}
} // namespace

TEST(Parameter, SettingTheSameValueNotifiesNobody)
{
    FloatParameter p(0, "Dynamics", true, 0.0f, 1.0f, 0.5f);
    RecordingListener listener;
    p.addListener(&listener);

    p.setNormalizedValue(0.5f, true);
    p.setValue(0.5f, true);
    p.setNormalizedValue(std::nanf(""), true);
    EXPECT_EQ(listener.calls, 0);

    p.setNormalizedValue(0.25f, true);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_FLOAT_EQ(listener.lastValue, 0.25f);

    p.setNormalizedValue(0.75f, false);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_FLOAT_EQ(p.getValue(), 0.75f);
}

TEST(Parameter, SynchronousListenersRunLastAddedFirstWithoutDuplicates)
{
    std::vector<int> log;
    RecordingListener first(&log, 1), second(&log, 2);
    IntParameter p(1, "Steps", true, 0, 4, 0);
    p.addListener(&first);
    p.addListener(&second);
    p.addListener(&first);
    p.addListener(nullptr);

    p.setIntValue(3, true);
    EXPECT_EQ(log, (std::vector<int>{2, 1}));
}

TEST(Parameter, AsynchronousListenersAreCoalescedOnTheMessageThread)
{
    FloatParameter p(0, "Preamp", true, 0.0f, 1.0f, 0.0f);
    RecordingListener later;
    p.addAsyncListener(&later);

    p.setNormalizedValue(0.1f, true);
    p.setNormalizedValue(0.2f, true);
    p.setNormalizedValue(0.3f, true);
    EXPECT_EQ(later.calls, 0);

    p.handleUpdateNowIfNeeded();
    EXPECT_EQ(later.calls, 1);
    EXPECT_FLOAT_EQ(later.lastValue, 0.3f);
}

TEST(Parameter, KindsReadAndWriteTheirOwnTerms)
{
    FloatParameter f(0, "f", true, -10.0f, 10.0f, 0.0f);
    EXPECT_FLOAT_EQ(f.getNormalizedValue(), 0.5f);
    EXPECT_TRUE(f.getBoolValue()); // the midpoint counts as the upper half
    f.setNormalizedValue(1.5f, false);
    EXPECT_FLOAT_EQ(f.getValue(), 10.0f);
    f.setText("-3.75xyz", false);
    EXPECT_FLOAT_EQ(f.getValue(), -3.75f);
    EXPECT_EQ(f.getIntValue(), -3);
    FloatParameter half(0, "h", true, 0.0f, 1.0f, 0.5f);
    EXPECT_EQ(half.getText(), "0.500000000");

    IntParameter i(1, "i", true, 0, 4, 0);
    i.setNormalizedValue(0.125f, false);
    EXPECT_EQ(i.getIntValue(), 1);
    i.setNormalizedValue(0.124f, false);
    EXPECT_EQ(i.getIntValue(), 0);
    i.setValue(3.9f, false);
    EXPECT_EQ(i.getIntValue(), 3);
    i.setText("99", false);
    EXPECT_EQ(i.getIntValue(), 4);

    BoolParameter b(2, "b", true, BoolParameter::onOff, false);
    b.setText("on", false);
    EXPECT_EQ(b.getText(), "on");
    b.setText("0.7", false); // not a keyword: read as a normalized number
    EXPECT_TRUE(b.getBoolValue());
    b.setText("False", false); // keywords are case-sensitive, so this reads as 0
    EXPECT_FALSE(b.getBoolValue());

    StringParameter s(3, "s", false, "");
    s.setValue(0.1f, false);
    EXPECT_EQ(s.getText(), "0.100000001");
    s.setText("0.75", false);
    EXPECT_FLOAT_EQ(s.getNormalizedValue(), 0.75f);

    std::unique_ptr<Parameter> copy(f.clone());
    EXPECT_FLOAT_EQ(copy->getValue(), -3.75f);
    EXPECT_EQ(copy->getName(), "f");
}

TEST(Parameter, EnumItemsAndNoteNames)
{
    struct Split
    {
        const char* list;
        juce::StringArray items;
    };
    for (const auto& c : {Split{"a;b;c", {"a", "b", "c"}}, Split{"a;;b", {"a", "", "b"}},
                          Split{"a;b;", {"a", "b"}}, Split{"", {}}, Split{";", {""}}})
        EXPECT_EQ(EnumParameter::splitItems(c.list), c.items) << c.list;

    EnumParameter e(0, "e", true, "Off;LP;BP", 0);
    e.setText("BP", false);
    EXPECT_EQ(e.getIntValue(), 2);
    e.setText("0.5", false);
    EXPECT_EQ(e.getText(), "LP");
    EnumParameter empty(1, "empty", true, "", 0); // no items must not break the range
    empty.setIntValue(5, false);
    EXPECT_EQ(empty.getIntValue(), 0);
    EXPECT_EQ(empty.getText(), "");

    struct Note
    {
        const char* text;
        int number;
    };
    for (const auto& c : {Note{"C-0", 0}, Note{"C#0", 1}, Note{"E#1", 16}, Note{"B#2", 35}, Note{"A-4", 57},
                          Note{"G-X", 127}, Note{"G#X", 127}, Note{"c-1", -1}, Note{"C-", -1}, Note{"C+1", -1},
                          Note{"C-Y", -1}})
        EXPECT_EQ(NoteParameter::parseNoteName(c.text), c.number) << c.text;
    EXPECT_EQ(NoteParameter::noteName(61), "C#5");
    EXPECT_EQ(NoteParameter::noteName(127), "G-X");
    EXPECT_EQ(NoteParameter::noteName(128), "");
}

TEST(ParameterManager, LoadsDefinitionsAndSkipsWhatIsMalformed)
{
    auto xml = parse(R"(<pluginparameters application="Kolvrane">
        <!-- comments are allowed -->
        <param index="0" name="A" value="0.25" auto="yes"/>
        <PARAM INDEX="1" NAME="B" TYPE="int" MIN="2" MAX="8" VALUE="5"/>
        <param index="2" name="C" type="Float" value="0.5"/>
        <param index="3" name="A" value="0.9"/>
        <param index="0" name="D" value="0.9"/>
        <param name="NoIndex"/>
        <param index="4"/>
        <param index="5" name="E" type="enum" enum="x;y;z" value="z" auto=" t"/>
        <param index="6" name="F" type="note" value="A-4"/>
        <param index="7" name="G" type="state" value="on"/>
        <param index="8" name="H" type="string" value="hello"/>
        <other index="9" name="I"/>
        <param index="10" name="J" value="12abc" max="20"/>
    </pluginparameters>)");
    ParameterManager set;
    set.loadFromXml(*xml);

    EXPECT_EQ(set.size(), 7);
    EXPECT_EQ(set.getName(0), "A");
    EXPECT_FLOAT_EQ(set.getValue(0), 0.25f);
    EXPECT_TRUE(set.getParameterByIndex(0)->isAutomatable());
    EXPECT_FALSE(set.getParameterByIndex(1)->isAutomatable());
    EXPECT_EQ(set.getParameterByIndex(1)->getIntValue(), 5);
    EXPECT_EQ(set.getParameterByIndex(2), nullptr); // "Float" is not a known type
    EXPECT_EQ(set.getParameterByIndex(3), nullptr); // name "A" taken
    EXPECT_EQ(set.getParameterByName("D"), nullptr); // index 0 taken
    EXPECT_EQ(set.getText(5), "z");
    EXPECT_TRUE(set.getParameterByIndex(5)->isAutomatable());
    EXPECT_EQ(set.getParameterByIndex(6)->getIntValue(), 57);
    EXPECT_EQ(set.getText(7), "on");
    EXPECT_EQ(set.getText(8), "hello");
    EXPECT_FLOAT_EQ(set.getValue(10), 12.0f);
    EXPECT_EQ(set.getParameterByName("a"), nullptr); // names are case-sensitive

    set.loadFromXml(*parse("<Parameters><param index='0' name='A'/></Parameters>"));
    EXPECT_EQ(set.size(), 0);
}

TEST(ParameterManager, RejectsDuplicatesAndUnknownLookups)
{
    ParameterManager set;
    auto* first = new FloatParameter(3, "Shape", true, 0.0f, 1.0f, 0.5f);
    EXPECT_TRUE(set.add(first));
    EXPECT_FALSE(set.add(first));
    EXPECT_FALSE(set.add(new FloatParameter(3, "Other", true, 0.0f, 1.0f, 0.0f)));
    EXPECT_FALSE(set.add(new FloatParameter(4, "Shape", true, 0.0f, 1.0f, 0.0f)));
    EXPECT_FALSE(set.add(nullptr));
    EXPECT_EQ(set.size(), 1);
    EXPECT_EQ(set.getParameterByIndex(3), first);
    EXPECT_EQ(set.getName(99), "");
    EXPECT_FLOAT_EQ(set.getNormalizedValue(99), 0.0f);
    set.setNormalizedValue(99, 1.0f); // no parameter: nothing happens
}

TEST(ParameterManager, ProductDefinitionHasTwentyThreeParameters)
{
    ParameterManager set;
    set.loadFromResource("parameters.xml");
    ASSERT_EQ(set.size(), 23);

    struct Expected
    {
        int index;
        const char* name;
        float value;
        bool automatable;
    };
    for (const auto& e : {Expected{0, "Dynamics", 0.5f, true}, Expected{4, "Filter 1 Type", 0.0f, true},
                          Expected{7, "Filter 1 Reso/Bandwidth", 0.5f, true}, Expected{19, "Output Volume", 0.5f, true},
                          Expected{20, "Distortion Function", 0.0f, true}, Expected{21, "FX", 1.0f, true},
                          Expected{22, "Quality", 0.0f, false}})
    {
        auto* p = set.getParameterByIndex(e.index);
        ASSERT_NE(p, nullptr) << e.index;
        EXPECT_EQ(p->getName(), e.name);
        EXPECT_FLOAT_EQ(p->getNormalizedValue(), e.value);
        EXPECT_EQ(p->isAutomatable(), e.automatable);
    }
}
