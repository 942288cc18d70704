#include "framework/midi/MidiControl.h"

#include <gtest/gtest.h>

namespace
{
const char* const parameterXml = R"(<PluginParameters>
  <param index="0" name="Dynamics" value="0.5" auto="1"/>
  <param index="1" name="Preamp" value="0.5" auto="1"/>
  <param index="2" name="Threshold" value="0.5" auto="1"/>
  <param index="3" name="Shape" value="0.5" auto="1"/>
  <param index="22" name="Quality" value="0.0" auto="0"/>
</PluginParameters>)";

using MapEntries = std::vector<std::pair<int, std::string>>;

// A small parameter set and a map in which "Preamp" already has controller 9.
class MidiControlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        parameters.loadFromXml(*juce::parseXML(parameterXml));
        midi.setApplicationName("Kolvrane");
        midi.assign(9, parameter("Preamp"), false);
    }

    Parameter* parameter(const char* name) { return parameters.getParameterByName(name); }

    MapEntries entries() const
    {
        MapEntries result;
        for (int c = 0; c < MidiControl::numControllers; ++c)
            if (auto* p = midi.getParameterOf(c))
                result.emplace_back(c, p->getName().toStdString());
        return result;
    }

    static juce::MidiMessage controlChange(int controller, int value, int channel = 1)
    {
        return juce::MidiMessage::controllerEvent(channel, controller, value);
    }

    ParameterManager parameters;
    MidiControl midi{parameters};
};

struct Recorder : MidiControl::Listener
{
    Recorder(std::string listenerName, std::vector<std::string>& sharedLog)
        : name(std::move(listenerName)), log(sharedLog)
    {
    }
    void midiMapChanged(MidiControl*) override { log.push_back(name + " map"); }
    void learnStateChanged(MidiControl*) override { log.push_back(name + " learn"); }
    void controllerMoved(MidiControl*) override { log.push_back(name + " moved"); }
    std::string name;
    std::vector<std::string>& log;
};

juce::File writeFile(const juce::File& folder, const char* name, const juce::String& text)
{
    auto file = folder.getChildFile(name);
    file.replaceWithText(text);
    return file;
}
} // namespace

TEST_F(MidiControlTest, ControlChangesOnAnyChannelSetTheAssignedParameter)
{
    auto* shape = parameter("Shape");
    midi.assign(74, shape, false);
    struct Case
    {
        int channel, value;
        float expected;
    };
    for (const auto& c : {Case{10, 127, 1.0f}, Case{1, 0, 0.0f}, Case{16, 64, 0.503937f}, Case{3, 127, 1.0f}})
    {
        midi.handleMidiMessage(controlChange(74, c.value, c.channel));
        EXPECT_NEAR(shape->getNormalizedValue(), c.expected, 1e-6f)
            << "channel " << c.channel << " value " << c.value;
        EXPECT_EQ(midi.getLastMovedParameter(), shape);
    }
    midi.handleMidiMessage(controlChange(74, 127));
    EXPECT_EQ(shape->getNormalizedValue(), 1.0f); // exactly, not nearly

    // Other controllers, and other messages with the same data bytes, change nothing.
    midi.handleMidiMessage(controlChange(75, 0));
    midi.handleMidiMessage(juce::MidiMessage::noteOn(1, 74, static_cast<juce::uint8>(0)));
    midi.handleMidiMessage(juce::MidiMessage::pitchWheel(1, 74));
    EXPECT_EQ(shape->getNormalizedValue(), 1.0f);
    EXPECT_FLOAT_EQ(parameter("Preamp")->getNormalizedValue(), 0.5f);
}

TEST_F(MidiControlTest, AssignMovesAndReplacesButNeverTakesQuality)
{
    auto* preamp = parameter("Preamp");
    auto* shape = parameter("Shape");

    midi.assign(20, preamp, true); // moves: 9 is freed, the count stays
    EXPECT_EQ(entries(), (MapEntries{{20, "Preamp"}}));
    EXPECT_EQ(midi.getAssignedCount(), 1);
    EXPECT_EQ(midi.getControllerOf(preamp), 20);

    midi.assign(20, shape, true); // replaces the controller's parameter
    midi.assign(5, preamp, true);
    EXPECT_EQ(entries(), (MapEntries{{5, "Preamp"}, {20, "Shape"}}));
    EXPECT_EQ(midi.getAssignedCount(), 2);

    midi.assign(30, parameter("Quality"), true);
    midi.assign(128, parameter("Dynamics"), true);
    midi.assign(-1, parameter("Dynamics"), true);
    EXPECT_EQ(midi.getAssignedCount(), 2);
    EXPECT_EQ(midi.getControllerOf(parameter("Quality")), -1);
    EXPECT_EQ(midi.getParameterOf(128), nullptr);

    midi.unassign(20);
    midi.unassign(20);
    midi.unassign(127);
    EXPECT_EQ(entries(), (MapEntries{{5, "Preamp"}}));
    EXPECT_EQ(midi.getAssignedCount(), 1);

    midi.clearAll();
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(midi.getAssignedCount(), 0);
}

// Each script starts in learn mode with "Preamp" on controller 9. A step moves a parameter
// (name given) or a controller (value 127), then the status text must read as given.
TEST_F(MidiControlTest, LearnStateMachine)
{
    struct Step
    {
        const char* parameterName; // or nullptr for a controller step
        int controller;
        const char* status;
    };
    struct Script
    {
        const char* what;
        std::vector<Step> steps;
        MapEntries mapAfter;
    };
    const char* waiting = "Waiting for a controller or parameter movement...";
    const Script scripts[] = {
        {"S0 -> S1 -> free controller assigns",
         {{"Shape", 0, "'Shape' parameter is free. Waiting for a free controller now..."},
          {nullptr, 20, "CC# 20 is assigned to parameter 'Shape'."}},
         {{9, "Preamp"}, {20, "Shape"}}},
        {"S0 -> S2 -> parameter with a controller moves to the free one",
         {{nullptr, 5, "CC# 5 is free. Waiting for a parameter now..."},
          {"Preamp", 0, "CC# 5 is assigned to parameter 'Preamp'."}},
         {{5, "Preamp"}}},
        {"S0 -> S3 by an owned controller, the same parameter again, then S1",
         {{nullptr, 9, "CC# 9 is assigned to parameter 'Preamp'."},
          {"Preamp", 0, "CC# 9 is assigned to parameter 'Preamp'."},
          {"Dynamics", 0, "'Dynamics' parameter is free. Waiting for a free controller now..."}},
         {{9, "Preamp"}}},
        {"S0 -> S3 by an owned parameter, then a free controller shows as free",
         {{"Preamp", 0, "CC# 9 is assigned to parameter 'Preamp'."},
          {nullptr, 40, "CC# 40 is free. Waiting for a parameter now..."},
          {"Threshold", 0, "CC# 40 is assigned to parameter 'Threshold'."}},
         {{9, "Preamp"}, {40, "Threshold"}}},
        {"S1 with an owned controller shows its owner and assigns nothing",
         {{"Dynamics", 0, "'Dynamics' parameter is free. Waiting for a free controller now..."},
          {nullptr, 9, "CC# 9 is assigned to parameter 'Preamp'."},
          {nullptr, 9, "CC# 9 is assigned to parameter 'Preamp'."}},
         {{9, "Preamp"}}},
        {"S2 then another controller replaces the waiting one",
         {{nullptr, 5, "CC# 5 is free. Waiting for a parameter now..."},
          {nullptr, 6, "CC# 6 is free. Waiting for a parameter now..."},
          {"Shape", 0, "CC# 6 is assigned to parameter 'Shape'."}},
         {{6, "Shape"}, {9, "Preamp"}}},
        {"Quality is not learnable",
         {{"Quality", 0, waiting},
          {nullptr, 20, "CC# 20 is free. Waiting for a parameter now..."},
          {"Quality", 0, "CC# 20 is free. Waiting for a parameter now..."}},
         {{9, "Preamp"}}},
    };

    for (const auto& script : scripts)
    {
        SCOPED_TRACE(script.what);
        midi.loadMap(*juce::parseXML(
            R"(<MidiControlMap name="Kolvrane"><assign CC="9" param="Preamp"/></MidiControlMap>)"));
        midi.setLearnMode(true);
        EXPECT_EQ(midi.getLearnStatusText(), waiting);
        for (const auto& step : script.steps)
        {
            if (step.parameterName != nullptr)
                midi.learnParameterMoved(parameter(step.parameterName));
            else
                midi.handleMidiMessage(controlChange(step.controller, 127));
            EXPECT_EQ(midi.getLearnStatusText(), step.status);
        }
        EXPECT_EQ(entries(), script.mapAfter);
    }
}

TEST_F(MidiControlTest, TheControllerCompletingALearnAppliesItsValue)
{
    auto* shape = parameter("Shape");
    midi.setLearnMode(true);
    midi.learnParameterMoved(shape);
    midi.handleMidiMessage(controlChange(20, 0, 7));
    EXPECT_EQ(midi.getParameterOf(20), shape);
    EXPECT_EQ(shape->getNormalizedValue(), 0.0f);
    midi.handleMidiMessage(controlChange(20, 127));
    EXPECT_EQ(shape->getNormalizedValue(), 1.0f);
}

TEST_F(MidiControlTest, LeavingLearnModeForgetsAHalfMadeAssignment)
{
    midi.setLearnMode(true);
    midi.learnParameterMoved(parameter("Shape"));
    midi.setLearnMode(false);
    EXPECT_EQ(midi.getLearnStatusText(), "");
    EXPECT_EQ(midi.getLearnParameter(), nullptr);

    midi.handleMidiMessage(controlChange(20, 127)); // learn is off: not fed
    midi.setLearnMode(true);
    midi.handleMidiMessage(controlChange(21, 127));
    EXPECT_EQ(midi.getLearnStatusText(), "CC# 21 is free. Waiting for a parameter now...");
    EXPECT_EQ(midi.getAssignedCount(), 1);

    // Removing assignments resets a learn state that may show them.
    midi.learnParameterMoved(parameter("Preamp"));
    midi.unassign(9);
    EXPECT_EQ(midi.getLearnStatusText(), "Waiting for a controller or parameter movement...");
}

TEST_F(MidiControlTest, ListenersGetOneCoalescedRoundInOrderLastAddedFirst)
{
    std::vector<std::string> log;
    Recorder first("A", log), second("B", log);
    midi.addListener(&first);
    midi.addListener(&second);
    midi.addListener(&first); // no duplicates
    midi.addListener(nullptr);

    midi.handleUpdateNowIfNeeded(); // the set-up's assignment did not notify
    EXPECT_TRUE(log.empty());

    midi.handleMidiMessage(controlChange(9, 1));
    midi.clearAll();
    midi.assign(3, parameter("Shape"), true);
    midi.handleMidiMessage(controlChange(3, 1));
    midi.handleUpdateNowIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"B map", "A map", "B moved", "A moved"}));

    // Switching learn mode tells at once; learn inputs go through the asynchronous round.
    log.clear();
    midi.setLearnMode(true);
    midi.setLearnMode(true); // unchanged: silent
    EXPECT_EQ(log, (std::vector<std::string>{"B learn", "A learn"}));
    midi.learnParameterMoved(parameter("Dynamics"));
    midi.handleMidiMessage(controlChange(4, 1)); // assigns Dynamics to 4 and moves it
    midi.handleUpdateNowIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"B learn", "A learn", "B map", "A map", "B learn", "A learn",
                                             "B moved", "A moved"}));

    log.clear();
    midi.removeListener(&second);
    midi.clearAll();
    midi.handleUpdateNowIfNeeded();
    EXPECT_EQ(log, (std::vector<std::string>{"A map", "A learn"}));
}

TEST_F(MidiControlTest, MapXmlListsAssignmentsInControllerOrder)
{
    midi.assign(3, parameter("Shape"), false);
    midi.assign(1, parameter("Dynamics"), false);
    const auto xml = midi.createMapXml();
    EXPECT_EQ(xml->toString(juce::XmlElement::TextFormat().singleLine().withoutHeader()),
              R"(<MidiControlMap name="Kolvrane"><assign CC="1" param="Dynamics"/>)"
              R"(<assign CC="3" param="Shape"/><assign CC="9" param="Preamp"/></MidiControlMap>)");

    MidiControl other(parameters);
    other.setApplicationName("Kolvrane");
    other.loadMap(*xml);
    for (int c = 0; c < MidiControl::numControllers; ++c)
        EXPECT_EQ(other.getParameterOf(c), midi.getParameterOf(c)) << c;
    EXPECT_EQ(other.getAssignedCount(), 3);
}

// Every case starts from "Preamp" on 9 in learn mode; loading always leaves learn mode off.
TEST_F(MidiControlTest, LoadingMapsTakesOnlyWhatFits)
{
    struct Case
    {
        const char* xml;
        MapEntries expected;
    };
    const Case cases[] = {
        {R"(<MidiCCMap application="KOLVRANE"><assign CC="2" param="Shape"/></MidiCCMap>)", {{2, "Shape"}}},
        {R"(<midicontrolmap NAME="kolvrane"><ASSIGN cc="2" Param="Shape"/></midicontrolmap>)",
         {{2, "Shape"}}},
        {R"(<MidiControlMap name="Other" application="Kolvrane"><assign CC="2" param="Shape"/></MidiControlMap>)",
         {{2, "Shape"}}},
        {R"(<MidiControlMap name="Other" application="Other"><assign CC="2" param="Shape"/></MidiControlMap>)",
         {}},
        {R"(<MidiControlMap><assign CC="2" param="Shape"/></MidiControlMap>)", {}},
        {R"(<PluginState name="Kolvrane"><assign CC="2" param="Shape"/></PluginState>)", {}},
        {R"(<MidiControlMap name="Kolvrane">
              <assign CC="-1" param="Shape"/><assign CC="128" param="Shape"/><assign CC="300" param="Dynamics"/>
              <assign CC="4" param="Quality"/><assign CC="5" param="Filter 9 Type"/><assign CC="6" param="shape"/>
              <assign CC="7"/><other CC="8" param="Dynamics"/><assign CC="10" param="Threshold"/>
            </MidiControlMap>)",
         {{10, "Threshold"}}},
        {R"(<MidiControlMap name="Kolvrane"><assign param="Shape"/></MidiControlMap>)", {{0, "Shape"}}},
        {R"(<MidiControlMap name="Kolvrane">
              <assign CC="1" param="Shape"/><assign CC="2" param="Shape"/>
              <assign CC="3" param="Dynamics"/><assign CC="3" param="Preamp"/>
            </MidiControlMap>)",
         {{2, "Shape"}, {3, "Preamp"}}},
    };
    for (const auto& c : cases)
    {
        midi.clearAll();
        midi.assign(9, parameter("Preamp"), false);
        midi.setLearnMode(true);
        midi.loadMap(*juce::parseXML(c.xml));
        EXPECT_EQ(entries(), c.expected) << c.xml;
        EXPECT_EQ(midi.getAssignedCount(), static_cast<int>(c.expected.size())) << c.xml;
        EXPECT_FALSE(midi.isLearnMode());
    }
}

TEST_F(MidiControlTest, MapFilesRoundTripAndReplaceTheTargetWhole)
{
    juce::TemporaryFile folderName;
    const auto folder = folderName.getFile();
    ASSERT_TRUE(folder.createDirectory());
    const auto file = folder.getChildFile("My map" + MidiControl::getMapFileExtension("KV"));
    EXPECT_EQ(file.getFileExtension(), ".kvccmap");
    EXPECT_EQ(MidiControl::getMapFileWildcard("KV"), "*.kvccmap;*.kvc");

    file.replaceWithText(juce::String::repeatedString("old text that is longer than the map ", 200));
    midi.assign(3, parameter("Shape"), false);
    ASSERT_TRUE(midi.saveMapFile(file));

    const auto text = file.loadFileAsString();
    EXPECT_TRUE(text.startsWith(R"(<?xml version="1.0" encoding="UTF-8"?>)")) << text;
    EXPECT_FALSE(text.contains("old text"));
    EXPECT_EQ(folder.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 1); // no temporary left

    MidiControl other(parameters);
    other.setApplicationName("Kolvrane");
    EXPECT_TRUE(other.loadMapFile(file));
    EXPECT_EQ(other.getParameterOf(3), parameter("Shape"));
    EXPECT_EQ(other.getParameterOf(9), parameter("Preamp"));

    EXPECT_FALSE(midi.saveMapFile(folder.getChildFile("missing folder").getChildFile("map.kvccmap")));
    EXPECT_TRUE(folder.deleteRecursively());
}

TEST_F(MidiControlTest, UnreadableMapFilesChangeNothing)
{
    juce::TemporaryFile folderName;
    const auto folder = folderName.getFile();
    ASSERT_TRUE(folder.createDirectory());
    const juce::File files[] = {
        folder.getChildFile("missing.kvccmap"),
        writeFile(folder, "empty.kvccmap", ""),
        writeFile(folder, "text.kvccmap", "CC 9 = Preamp"),
        writeFile(folder, "truncated.kvc", R"(<MidiControlMap name="Kolvrane"><assign CC="2" param="Sh)"),
        folder,
    };
    midi.setLearnMode(true);
    for (const auto& file : files)
    {
        EXPECT_FALSE(midi.loadMapFile(file)) << file.getFileName();
        EXPECT_EQ(entries(), (MapEntries{{9, "Preamp"}})) << file.getFileName();
        EXPECT_TRUE(midi.isLearnMode());
    }

    // Well-formed XML of another kind is a map that does not fit: it empties the map.
    EXPECT_TRUE(midi.loadMapFile(writeFile(folder, "other.kvccmap", "<UserSettings/>")));
    EXPECT_TRUE(entries().empty());
    EXPECT_TRUE(folder.deleteRecursively());
}

TEST_F(MidiControlTest, TheChosenUserMapLoadsOnRequest)
{
    juce::TemporaryFile file(".kvccmap");
    file.getFile().replaceWithText(
        R"(<MidiControlMap name="Kolvrane"><assign CC="1" param="Shape"/></MidiControlMap>)");

    EXPECT_FALSE(midi.isUserMapUsed());
    EXPECT_TRUE(midi.getUserMapFile().isEmpty());
    midi.setUserMapFile(file.getFile().getFullPathName());
    EXPECT_FALSE(midi.loadUserMap()); // chosen file, but not in use
    EXPECT_EQ(midi.getParameterOf(9), parameter("Preamp"));

    midi.setUseUserMap(true);
    EXPECT_TRUE(midi.loadUserMap());
    EXPECT_EQ(entries(), (MapEntries{{1, "Shape"}}));

    midi.setUserMapFile("relative/map.kvccmap");
    EXPECT_FALSE(midi.loadUserMap());
    EXPECT_EQ(entries(), (MapEntries{{1, "Shape"}}));
}
