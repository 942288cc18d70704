#include "AllocationCounter.h"
#include "product/Kolvrane.h"

#include <gtest/gtest.h>

namespace
{
// Stands in for the core: it only counts requests; the test calls applyCurrentPreset itself
// where the core would, once its fade-out is silent.
struct FadingChanger : BasePluginOldStyle::PresetChanger
{
    void changePreset() override { ++requests; }
    int requests = 0;
};

struct ChangeCounter : Parameter::Listener
{
    void parameterChanged(Parameter*) override { ++changes; }
    int changes = 0;
};

struct AppliedCounter : BasePluginOldStyle::PresetManagerListener
{
    void presetChanged() override { ++applied; }
    int applied = 0;
};

class PresetManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin.initialise();
        plugin.clearPresets();
        // Give each slot a recognisable Dynamics value: slot / 200.
        for (int slot = 0; slot < BasePluginOldStyle::numPresetSlots; ++slot)
        {
            dynamics()->setNormalizedValue(slot / 200.0f, false);
            plugin.storeParametersToPreset(slot);
        }
        plugin.selectPreset(0, false);
        plugin.applyCurrentPreset();
    }

    Parameter* parameter(int index) { return plugin.getParameterSet().getParameterByIndex(index); }
    Parameter* dynamics() { return parameter(0); }
    Parameter* number() { return parameter(ParameterManager::currentPresetNumberIndex); }
    Parameter* name() { return parameter(ParameterManager::currentPresetNameIndex); }

    void expectCurrent(int slot)
    {
        EXPECT_EQ(plugin.getCurrentPreset(), slot);
        EXPECT_EQ(number()->getIntValue(), slot);
        EXPECT_EQ(name()->getText(), plugin.getPresetName(slot));
        EXPECT_FLOAT_EQ(dynamics()->getNormalizedValue(), plugin.getPresetValue(slot, 0));
    }

    std::vector<juce::String> slotNames(int from, int to)
    {
        std::vector<juce::String> names;
        for (int slot = from; slot <= to; ++slot)
            names.push_back(plugin.getPresetName(slot));
        return names;
    }

    std::vector<int> groupSizes()
    {
        std::vector<int> sizes;
        for (int g = 0; g < plugin.getNumGroups(); ++g)
            sizes.push_back(plugin.getGroupSize(g));
        return sizes;
    }

    // Groups of the given sizes named "g0", "g1", ... and slots named by position.
    void makeGroups(std::initializer_list<int> sizes)
    {
        juce::String text = "<PresetBank>";
        int slot = 0;
        int g = 0;
        for (int size : sizes)
        {
            text << "<PresetGroup name=\"g" << g++ << "\">";
            for (int i = 0; i < size; ++i)
                text << "<Preset application=\"Kolvrane\" rev=\"1\" name=\"s" << slot++ << "\"/>";
            text << "</PresetGroup>";
        }
        plugin.bankFromXml(*juce::parseXML(text + "</PresetBank>"));
    }

    Kolvrane plugin;
};
} // namespace

TEST_F(PresetManagerTest, NextAndPreviousStopAtTheEnds)
{
    struct Case
    {
        int from;
        int event;
        int expected;
    };
    const Case cases[] = {
        {0, EventsMap::selectPreviousPreset, 0}, {0, EventsMap::selectNextPreset, 1},
        {127, EventsMap::selectNextPreset, 127}, {127, EventsMap::selectPreviousPreset, 126},
        {64, EventsMap::selectNextPreset, 65},
    };
    for (const auto& c : cases)
    {
        plugin.changePresetTo(c.from);
        plugin.handleEvent(c.event);
        expectCurrent(c.expected);
    }
}

TEST_F(PresetManagerTest, SelectionOutsideTheSlotsIsIgnored)
{
    plugin.changePresetTo(3);
    for (int slot : {-1, 128, 1000})
    {
        plugin.changePresetTo(slot);
        plugin.selectPreset(slot, true);
        plugin.selectPresetFromProgramChange(slot);
        expectCurrent(3);
    }
}

TEST_F(PresetManagerTest, UnstoredEditsSurviveOnlyInAutomaticMode)
{
    struct Case
    {
        int mode;
        float expected;
    };
    for (const auto& c :
         {Case{BasePluginOldStyle::onDemandStoring, 0.01f}, Case{BasePluginOldStyle::automaticStoring, 0.9f}})
    {
        plugin.setStoringMode(c.mode);
        plugin.changePresetTo(2);
        dynamics()->setNormalizedValue(0.9f, true);
        plugin.selectNextPreset();
        plugin.selectPreviousPreset();
        EXPECT_FLOAT_EQ(dynamics()->getNormalizedValue(), c.expected) << c.mode;
        EXPECT_FLOAT_EQ(plugin.getPresetValue(2, 0), c.expected) << c.mode;
    }
}

TEST_F(PresetManagerTest, SwitchingToAutomaticStoresAtOnce)
{
    plugin.changePresetTo(4);
    dynamics()->setNormalizedValue(0.7f, true);
    EXPECT_FLOAT_EQ(plugin.getPresetValue(4, 0), 0.02f);
    plugin.setStoringMode(BasePluginOldStyle::automaticStoring);
    EXPECT_FLOAT_EQ(plugin.getPresetValue(4, 0), 0.7f);
    EXPECT_EQ(plugin.getStoringMode(), BasePluginOldStyle::automaticStoring);
}

TEST_F(PresetManagerTest, StoreEventWritesTheLiveValuesIntoTheCurrentSlot)
{
    plugin.changePresetTo(6);
    parameter(21)->setNormalizedValue(0.3f, true);
    parameter(22)->setNormalizedValue(1.0f, true); // Quality is never part of a preset
    plugin.handleEvent(EventsMap::storeCurrentPreset);
    EXPECT_FLOAT_EQ(plugin.getPresetValue(6, 21), 0.3f);
    EXPECT_EQ(plugin.getPresetName(6), "Preset 6");
}

TEST_F(PresetManagerTest, ProgramChangeReappliesTheCurrentSlotButChangePresetToDoesNot)
{
    plugin.changePresetTo(5);
    dynamics()->setNormalizedValue(0.9f, true);
    plugin.changePresetTo(5);
    EXPECT_FLOAT_EQ(dynamics()->getNormalizedValue(), 0.9f);
    plugin.selectPresetFromProgramChange(5);
    EXPECT_FLOAT_EQ(dynamics()->getNormalizedValue(), 0.025f);
    for (int program : {0, 127})
    {
        plugin.selectPresetFromProgramChange(program);
        expectCurrent(program);
    }
}

TEST_F(PresetManagerTest, SilentChangesPublishTheNewPresetOnlyWhenTheFadeHasFinished)
{
    FadingChanger changer;
    plugin.setPresetChanger(&changer);
    plugin.setChangingType(BasePluginOldStyle::silentChanging);

    plugin.changePresetTo(9);
    EXPECT_EQ(changer.requests, 1);
    EXPECT_EQ(plugin.getCurrentPreset(), 9);
    EXPECT_EQ(number()->getIntValue(), 0);
    EXPECT_FLOAT_EQ(dynamics()->getNormalizedValue(), 0.0f);
    plugin.applyCurrentPreset(); // the core, once silent
    expectCurrent(9);

    plugin.selectPresetFromProgramChange(9);
    EXPECT_EQ(changer.requests, 2);

    plugin.setChangingType(BasePluginOldStyle::normalChanging);
    plugin.changePresetTo(10);
    EXPECT_EQ(changer.requests, 2);
    expectCurrent(10);

    plugin.setChangingType(BasePluginOldStyle::silentChanging);
    plugin.setPresetChanger(nullptr);
    plugin.changePresetTo(11);
    expectCurrent(11);
}

TEST_F(PresetManagerTest, ApplyingTellsListenersAndProgramChangesAllocateNothing)
{
    AppliedCounter listener;
    plugin.addPresetManagerListener(&listener);
    plugin.addPresetManagerListener(&listener);
    plugin.changePresetTo(1);
    EXPECT_EQ(listener.applied, 1);

    for (int program : {7, 7, 100, 0})
    {
        AllocationCounter counter;
        plugin.selectPresetFromProgramChange(program);
        EXPECT_EQ(counter.count(), 0) << program;
    }
    EXPECT_EQ(listener.applied, 5);
}

TEST_F(PresetManagerTest, CopyTakesLiveValuesAndPastesIntoAnySlot)
{
    plugin.changePresetTo(3);
    dynamics()->setNormalizedValue(0.8f, true); // unstored edit
    plugin.handleEvent(EventsMap::copyCurrentPreset);
    for (int target : {20, 40})
    {
        plugin.changePresetTo(target);
        plugin.handleEvent(EventsMap::pasteCopiedPreset);
        EXPECT_EQ(plugin.getPresetName(target), "Preset 3_copy");
        EXPECT_FLOAT_EQ(plugin.getPresetValue(target, 0), 0.8f);
        expectCurrent(target);
    }
    EXPECT_FLOAT_EQ(plugin.getPresetValue(3, 0), 0.015f);
}

TEST_F(PresetManagerTest, PasteWithoutCopyDoesNothing)
{
    plugin.changePresetTo(2);
    dynamics()->setNormalizedValue(0.8f, true);
    plugin.pasteCopiedPreset();
    EXPECT_FLOAT_EQ(dynamics()->getNormalizedValue(), 0.8f);
    EXPECT_EQ(plugin.getPresetName(2), "Preset 2");
}

TEST_F(PresetManagerTest, RenamingThroughTheNameParameterOrTheSlot)
{
    plugin.changePresetTo(8);
    name()->setText("Loud", true);
    EXPECT_EQ(plugin.getPresetName(8), "Loud");
    name()->setText({}, true);
    EXPECT_EQ(plugin.getPresetName(8), "");

    plugin.setPresetName(8, "Again");
    EXPECT_EQ(name()->getText(), "Again");
    plugin.setPresetName(9, "Other");
    EXPECT_EQ(name()->getText(), "Again");
    EXPECT_EQ(plugin.getPresetName(9), "Other");
    plugin.setPresetName(128, "nowhere");
    EXPECT_EQ(plugin.getPresetName(128), "");
}

TEST_F(PresetManagerTest, GroupQueries)
{
    makeGroups({3, 0, 5});
    EXPECT_EQ(groupSizes(), (std::vector<int>{3, 0, 5, 120}));
    struct Case
    {
        int group, start, end;
    };
    for (const auto& c :
         {Case{0, 0, 2}, Case{1, 3, 2}, Case{2, 3, 7}, Case{3, 8, 127}, Case{4, -1, -1}, Case{-1, -1, -1}})
    {
        EXPECT_EQ(plugin.getGroupStart(c.group), c.start) << c.group;
        EXPECT_EQ(plugin.getGroupEnd(c.group), c.end) << c.group;
    }
    EXPECT_EQ(plugin.getGroupOfPreset(3), 2);
    EXPECT_EQ(plugin.getGroupOfPreset(128), -1);
    EXPECT_EQ(plugin.getPresetIndexInGroup(2, 4), 7);
    EXPECT_EQ(plugin.getPresetIndexInGroup(2, 5), -1);
    EXPECT_EQ(plugin.getPresetIndexInGroup(1, 0), -1);
    EXPECT_EQ(plugin.getGroupName(9), "");
    EXPECT_EQ(plugin.getGroupSize(9), 0);
}

TEST_F(PresetManagerTest, AddingAndRemovingGroups)
{
    makeGroups({3, 5});
    plugin.addGroup(-1);
    plugin.addGroup(3);
    EXPECT_EQ(plugin.getNumGroups(), 3);
    plugin.addGroup(1);
    EXPECT_EQ(groupSizes(), (std::vector<int>{3, 0, 5, 120}));
    EXPECT_EQ(plugin.getGroupName(1), "New Group");
    plugin.setGroupName(1, "Renamed");
    EXPECT_EQ(plugin.getGroupName(1), "Renamed");
    plugin.removeGroup(1);
    EXPECT_EQ(groupSizes(), (std::vector<int>{3, 5, 120}));
}

TEST_F(PresetManagerTest, MovingThePresetKeepsItCurrentWithoutNotifying)
{
    makeGroups({3, 5});
    plugin.changePresetTo(1);
    ChangeCounter numberListener;
    number()->addListener(&numberListener);

    plugin.movePreset(1, 6, 0, 1);
    EXPECT_EQ(groupSizes(), (std::vector<int>{2, 6, 120}));
    EXPECT_EQ(slotNames(0, 7), (std::vector<juce::String>{"s0", "s2", "s3", "s4", "s5", "s6", "s1", "s7"}));
    EXPECT_EQ(plugin.getCurrentPreset(), 6);
    EXPECT_EQ(number()->getIntValue(), 6);
    EXPECT_EQ(numberListener.changes, 0);
    EXPECT_EQ(name()->getText(), "s1");

    // Moving another preset across the current one shifts it.
    plugin.movePreset(7, 0, 1, 0);
    EXPECT_EQ(plugin.getCurrentPreset(), 7);
    EXPECT_EQ(groupSizes(), (std::vector<int>{3, 5, 120}));

    for (auto [from, to, fromGroup, toGroup] : {std::tuple{1, 1, 0, 0}, {1, 128, 0, 0}, {1, 2, 0, 9}})
        plugin.movePreset(from, to, fromGroup, toGroup);
    EXPECT_EQ(groupSizes(), (std::vector<int>{3, 5, 120}));
    EXPECT_EQ(plugin.getCurrentPreset(), 7);
    number()->removeListener(&numberListener);
}

TEST_F(PresetManagerTest, MovingSelectionsToTheEndOfAnotherGroup)
{
    juce::SparseSet<int> selection;
    selection.addRange({0, 1});
    selection.addRange({2, 4});

    makeGroups({4, 2, 3});
    plugin.changePresetTo(2);
    plugin.movePresets(2, 0, selection); // down: rows 0, 2, 3 of g0
    EXPECT_EQ(groupSizes(), (std::vector<int>{1, 2, 6, 119}));
    EXPECT_EQ(slotNames(0, 8),
              (std::vector<juce::String>{"s1", "s4", "s5", "s6", "s7", "s8", "s0", "s2", "s3"}));
    EXPECT_EQ(plugin.getCurrentPreset(), 7);

    makeGroups({2, 4});
    plugin.movePresets(0, 1, selection); // up: rows 0, 2, 3 of g1
    EXPECT_EQ(groupSizes(), (std::vector<int>{5, 1, 122}));
    EXPECT_EQ(slotNames(0, 5), (std::vector<juce::String>{"s0", "s1", "s2", "s4", "s5", "s3"}));

    plugin.movePresets(0, 0, selection);
    plugin.movePresets(0, 1, {});
    EXPECT_EQ(groupSizes(), (std::vector<int>{5, 1, 122}));
}

TEST_F(PresetManagerTest, MovingGroupsMovesTheirBlocks)
{
    makeGroups({2, 3, 1});
    plugin.changePresetTo(0);
    plugin.moveGroup(0, 1); // down: lands after g1
    EXPECT_EQ(slotNames(0, 5), (std::vector<juce::String>{"s2", "s3", "s4", "s0", "s1", "s5"}));
    EXPECT_EQ(plugin.getGroupName(1), "g0");
    EXPECT_EQ(plugin.getCurrentPreset(), 3);

    plugin.moveGroup(2, 0); // up: g2 (s5) first
    EXPECT_EQ(slotNames(0, 5), (std::vector<juce::String>{"s5", "s2", "s3", "s4", "s0", "s1"}));
    EXPECT_EQ(plugin.getGroupName(0), "g2");
    EXPECT_EQ(groupSizes(), (std::vector<int>{1, 3, 2, 122}));
    EXPECT_EQ(plugin.getCurrentPreset(), 4);

    plugin.moveGroup(1, 1);
    plugin.moveGroup(-1, 0);
    EXPECT_EQ(groupSizes(), (std::vector<int>{1, 3, 2, 122}));
}

TEST_F(PresetManagerTest, StartUpModesChooseTheBank)
{
    plugin.setDefaultPresetsMode(BasePluginOldStyle::clearedPresets);
    plugin.setupPresets();
    EXPECT_EQ(plugin.getNumGroups(), 1);
    EXPECT_EQ(plugin.getPresetName(0), "Preset 0");

    plugin.setDefaultPresetsMode(BasePluginOldStyle::userDefinedPresets);
    plugin.setUserDefinedPresetsFile(juce::File::getCurrentWorkingDirectory().getChildFile("missing.kvprsb"));
    plugin.setupPresets();
    EXPECT_EQ(plugin.getNumGroups(), 12); // falls back to the factory bank
    EXPECT_EQ(name()->getText(), plugin.getPresetName(0));
    EXPECT_EQ(plugin.getDefaultPresetsMode(), BasePluginOldStyle::userDefinedPresets);

    juce::TemporaryFile bankFile(".kvprsb");
    makeGroups({1});
    plugin.setBankName("User bank");
    ASSERT_TRUE(plugin.saveBankFile(bankFile.getFile()));
    plugin.setUserDefinedPresetsFile(bankFile.getFile());
    plugin.setDefaultPresetsMode(BasePluginOldStyle::factoryPresets);
    plugin.setupPresets();
    EXPECT_EQ(plugin.getNumGroups(), 12);
    plugin.setDefaultPresetsMode(BasePluginOldStyle::userDefinedPresets);
    plugin.setupPresets();
    EXPECT_EQ(plugin.getBankName(), "User bank");
    EXPECT_EQ(groupSizes(), (std::vector<int>{1, 127}));
}
