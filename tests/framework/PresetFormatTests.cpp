#include "framework/presets/PresetXml.h"
#include "product/Kolvrane.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> parse(const juce::String& text)
{
    auto xml = juce::parseXML(text);
    EXPECT_NE(xml, nullptr) << text;
    return xml;
}

// A preset element with the given attributes and "param" children.
juce::String presetText(const juce::String& attributes,
                        std::initializer_list<std::pair<const char*, const char*>> params,
                        const juce::String& tag = "Preset")
{
    juce::String text = "<" + tag + " " + attributes + ">";
    for (auto [name, value] : params)
        text << "<param name=\"" << name << "\" value=\"" << value << "\"/>";
    return text + "</" + tag + ">";
}

juce::String presetsText(int count)
{
    juce::String text;
    for (int i = 0; i < count; ++i)
        text << "<Preset application=\"Kolvrane\" name=\"p" << i
             << "\" rev=\"1\"><param name=\"Dynamics\" value=\"" << juce::String(i / 1000.0)
             << "\"/></Preset>";
    return text;
}

class PresetFormatTest : public ::testing::Test
{
protected:
    void SetUp() override { plugin.initialise(); }

    Preset read(const juce::String& text, float initial = 0.25f)
    {
        Preset preset(KolvraneParameter::hostCount, "before");
        for (int i = 0; i < preset.getCount(); ++i)
            preset.setValue(i, initial);
        if (auto xml = parse(text))
            plugin.presetFromXml(*xml, preset);
        return preset;
    }

    std::vector<int> groupSizes() const
    {
        std::vector<int> sizes;
        for (int g = 0; g < plugin.getNumGroups(); ++g)
            sizes.push_back(plugin.getGroupSize(g));
        return sizes;
    }

    Kolvrane plugin;
};
} // namespace

TEST(PresetValueFormat, RoundsToSixPlacesInShortestForm)
{
    const std::pair<float, const char*> cases[] = {
        {0.5f, "0.5"},         {1.0f, "1"},   {0.98800104f, "0.988001"}, {0.0f, "0"},
        {0.1f, "0.1"},         {1.5f, "1.5"}, {0.3333333f, "0.333333"},  {1.0e-7f, "0"},
        {0.0000015f, "2e-06"},
    };
    for (auto [value, text] : cases)
        EXPECT_EQ(PresetXml::formatValue(value), text) << value;
}

TEST_F(PresetFormatTest, ElementTestsIgnoreLetterCaseAndCheckTheApplication)
{
    const std::pair<const char*, bool> presets[] = {
        {"<Preset application=\"Kolvrane\"/>", true},
        {"<PRESET APPLICATION=\"kolvrane\"/>", true},
        {"<Preset application=\"Other\"/>", false},
        {"<Preset/>", false},
        {"<kolvranepreset/>", true},
        {"<KolvranePreset application=\"Other\"/>", true},
        {"<OtherPreset application=\"Kolvrane\"/>", false},
        {"<PresetBank application=\"Kolvrane\"/>", false},
    };
    for (auto [text, accepted] : presets)
        EXPECT_EQ(plugin.isPresetXml(*parse(text)), accepted) << text;

    for (const char* text : {"<PresetBank/>", "<PRESETBANK/>", "<kolvranepresetbank/>"})
        EXPECT_TRUE(plugin.isPresetBankXml(*parse(text))) << text;
    for (const char* text : {"<PresetGroup/>", "<presetgroup/>", "<KOLVRANEPRESETGROUP/>"})
        EXPECT_TRUE(plugin.isPresetGroupXml(*parse(text))) << text;
    EXPECT_FALSE(plugin.isPresetBankXml(*parse("<Bank/>")));
    EXPECT_FALSE(plugin.isPresetGroupXml(*parse("<Group/>")));
}

TEST_F(PresetFormatTest, CurrentRevisionReadsNamesExactlyAndDoesNotClamp)
{
    const Preset preset = read(presetText("application=\"Kolvrane\" rev=\"1\"",
                                          {{"Dynamics", "1.5"},
                                           {"dynamics", "0.9"}, // parameter names match in exact case only
                                           {"Knee", "0.7"},     // no such parameter in this revision
                                           {"Filter 1 Type", "0.333"},
                                           {"Filter 1 Cutoff", "0.1"},
                                           {"Preamp", ""},
                                           {"Quality", "1"}}));
    EXPECT_EQ(preset.getName(), "unnamed");
    EXPECT_FLOAT_EQ(preset.getValue(0), 1.5f);
    EXPECT_FLOAT_EQ(preset.getValue(1), 0.0f);
    EXPECT_FLOAT_EQ(preset.getValue(3), 0.25f);
    EXPECT_FLOAT_EQ(preset.getValue(4), 0.333f);
    EXPECT_FLOAT_EQ(preset.getValue(6), 0.1f);
    EXPECT_FLOAT_EQ(preset.getValue(20), 0.25f); // untouched values are kept
    EXPECT_FLOAT_EQ(preset.getValue(21), 0.25f);
}

TEST_F(PresetFormatTest, OlderRevisionsAreConverted)
{
    struct Case
    {
        const char* name;
        const char* value;
        int index;
        float expected;
    };
    const Case cases[] = {
        {"Filter 1 Type", "0", 4, 0.25f},
        {"Filter 2 Type", "0.3333333", 9, 0.5f},
        {"Filter 3 Type", "0.6666667", 14, 0.75f},
        {"Filter 1 Type", "1", 4, 1.0f},
        {"Filter 1 Cutoff", "0", 6, 0.0f},
        {"Filter 2 Cutoff", "0.1", 11, 0.01f},
        {"Filter 3 Cutoff", "0.5", 16, 0.4f},
        {"Filter 1 Cutoff", "1", 6, 0.92f},
        {"Filter 1 Reso/Bandwidth", "0.5", 7, 0.15f},
        {"Filter 3 Reso/Bandwidth", "1", 17, 0.3f},
        {"Knee", "0.7", 3, 0.7f},
        {"Preamp", "0.8", 1, 0.8f},
        {"Filter 1 Volume", "1.25", 8, 1.25f},
    };
    for (const char* revision : {"", "rev=\"0\"", "rev=\"x\""})
        for (const auto& c : cases)
        {
            const Preset preset = read(presetText(
                juce::String("application=\"Kolvrane\" name=\"old\" ") + revision, {{c.name, c.value}}));
            EXPECT_NEAR(preset.getValue(c.index), c.expected, 2.0e-6f)
                << c.name << "=" << c.value << " " << revision;
            EXPECT_EQ(preset.getName(), "old");
        }
}

TEST_F(PresetFormatTest, OlderRevisionsStartWithFirstFunctionAndFullyWetUnlessTheFileSaysOtherwise)
{
    Preset preset = read(presetText("application=\"Kolvrane\"", {{"Shape", "0.1"}}));
    EXPECT_FLOAT_EQ(preset.getValue(20), 0.0f);
    EXPECT_FLOAT_EQ(preset.getValue(21), 1.0f);
    EXPECT_FLOAT_EQ(preset.getValue(19), 0.25f);

    preset = read(presetText("", {{"FX", "0.4"}, {"Distortion Function", "0.6"}}, "KolvranePreset"));
    EXPECT_FLOAT_EQ(preset.getValue(20), 0.6f);
    EXPECT_FLOAT_EQ(preset.getValue(21), 0.4f);
}

TEST_F(PresetFormatTest, ForeignPresetsChangeNothing)
{
    const Preset preset =
        read(presetText("application=\"Other\" name=\"x\" rev=\"1\"", {{"Dynamics", "0.9"}}));
    EXPECT_EQ(preset.getName(), "before");
    EXPECT_FLOAT_EQ(preset.getValue(0), 0.25f);
}

TEST_F(PresetFormatTest, WrittenPresetsReadBackToSixPlaces)
{
    Preset original(KolvraneParameter::hostCount, "Round <trip> & \"quotes\"");
    juce::Random random(3);
    for (int i = 0; i < original.getCount(); ++i)
        original.setValue(i, random.nextFloat());

    auto xml = plugin.presetToXml(original);
    ASSERT_EQ(xml->getNumAttributes(), 3);
    EXPECT_EQ(xml->getTagName(), "Preset");
    EXPECT_EQ(xml->getAttributeName(0), "application");
    EXPECT_EQ(xml->getAttributeValue(0), "Kolvrane");
    EXPECT_EQ(xml->getAttributeName(1), "name");
    EXPECT_EQ(xml->getAttributeName(2), "rev");
    EXPECT_EQ(xml->getAttributeValue(2), "1");
    ASSERT_EQ(xml->getNumChildElements(), 22);
    EXPECT_EQ(xml->getChildElement(7)->getStringAttribute("name"), "Filter 1 Reso/Bandwidth");
    EXPECT_EQ(xml->getChildElement(21)->getStringAttribute("name"), "FX");

    const Preset copy = read(xml->toString(), 0.0f);
    EXPECT_EQ(copy.getName(), original.getName());
    for (int i = 0; i < original.getCount(); ++i)
        EXPECT_NEAR(copy.getValue(i), original.getValue(i), 0.5e-6f) << i;
}

TEST_F(PresetFormatTest, DefaultPresetResourceHoldsTheDocumentedValues)
{
    const Preset& defaults = plugin.getDefaultPreset();
    EXPECT_EQ(defaults.getName(), "empty");
    for (int i = 0; i < defaults.getCount(); ++i)
    {
        const bool zero = i == 20 || (i >= 4 && i <= 15 && (i - 4) % 5 < 2);
        const float expected = i == 21 ? 1.0f : zero ? 0.0f : 0.5f;
        EXPECT_FLOAT_EQ(defaults.getValue(i), expected) << i;
    }
}

TEST_F(PresetFormatTest, FactoryBankFillsElevenGroupsAndLeavesTheRestUnused)
{
    EXPECT_EQ(plugin.getBankName(), "Default Bank");
    EXPECT_EQ(groupSizes(), (std::vector<int>{11, 19, 18, 13, 10, 4, 2, 13, 3, 10, 14, 11}));
    const char* names[] = {"_Acid lines", "_Drums", "_Guitars", "_Basses", "_Misc",
                           "_Organs",     "_Pads",  "_Pianos",  "_Synths"};
    for (int g = 0; g < 9; ++g)
        EXPECT_EQ(plugin.getGroupName(g), names[g]);
    EXPECT_EQ(plugin.getGroupName(11), "Not used");
    EXPECT_EQ(plugin.getPresetName(117), "Preset 117");
    EXPECT_EQ(plugin.getPresetName(127), "Preset 127");
}

TEST_F(PresetFormatTest, BankReadingCases)
{
    struct Case
    {
        const char* what;
        juce::String text;
        std::vector<int> sizes;
        std::vector<juce::String> groupNames;
    };
    const Case cases[] = {
        {"empty bank", "<PresetBank/>", {128}, {"Not used"}},
        {"unnamed groups",
         "<PresetBank><PresetGroup>" + presetsText(2) + "</PresetGroup><PresetGroup/></PresetBank>",
         {2, 0, 126},
         {"group 1", "group 2", "Not used"}},
        {"more than 128 presets",
         "<PresetBank><PresetGroup name=\"a\">" + presetsText(100) +
             "</PresetGroup><PresetGroup name=\"b\">" + presetsText(30) +
             "</PresetGroup><PresetGroup name=\"c\">" + presetsText(5) + "</PresetGroup></PresetBank>",
         {100, 28, 0},
         {"a", "b", "c"}},
        {"foreign presets and other children use no slot",
         "<presetbank><Other/><PRESETGROUP name=\"g\"><Preset application=\"Other\"/><Junk/>" +
             presetsText(1) + "</PRESETGROUP></presetbank>",
         {1, 127},
         {"g", "Not used"}},
        {"only foreign presets",
         "<PresetBank><PresetGroup name=\"g\"><Preset application=\"Other\" "
         "name=\"x\"/></PresetGroup></PresetBank>",
         {0, 128},
         {"g", "Not used"}},
    };
    for (const auto& c : cases)
    {
        plugin.bankFromXml(*parse(c.text));
        EXPECT_EQ(groupSizes(), c.sizes) << c.what;
        for (size_t g = 0; g < c.groupNames.size(); ++g)
            EXPECT_EQ(plugin.getGroupName(static_cast<int>(g)), c.groupNames[g]) << c.what;
        EXPECT_EQ(plugin.getBankName(), "Preset Bank") << c.what;
    }

    // The last case loaded nothing: every slot is cleared to the default preset.
    EXPECT_EQ(plugin.getPresetName(0), "Preset 0");
    EXPECT_EQ(plugin.getPresetName(127), "Preset 127");
    EXPECT_FLOAT_EQ(plugin.getPresetValue(0, 21), 1.0f);
    EXPECT_FLOAT_EQ(plugin.getPresetValue(127, 0), 0.5f);
}

TEST_F(PresetFormatTest, OverfullBankKeepsTheFirst128InOrder)
{
    plugin.bankFromXml(
        *parse("<PresetBank name=\"big\"><PresetGroup>" + presetsText(130) + "</PresetGroup></PresetBank>"));
    EXPECT_EQ(plugin.getBankName(), "big");
    EXPECT_EQ(groupSizes(), (std::vector<int>{128}));
    EXPECT_EQ(plugin.getPresetName(127), "p127");
    EXPECT_FLOAT_EQ(plugin.getPresetValue(127, 0), 0.127f);
}

TEST_F(PresetFormatTest, NonBankElementsChangeNothing)
{
    const auto before = plugin.bankToXml()->toString();
    for (const char* text : {"<Preset application=\"Kolvrane\"/>", "<PresetGroup/>", "<PluginState/>"})
        plugin.bankFromXml(*parse(text));
    EXPECT_EQ(plugin.bankToXml()->toString(), before);
}

TEST_F(PresetFormatTest, BankRoundTripKeepsGroupsNamesAndValues)
{
    plugin.setBankName("Mine");
    plugin.setPresetName(5, "five");
    plugin.addGroup(1);
    auto written = plugin.bankToXml();
    EXPECT_EQ(written->getTagName(), "PresetBank");
    EXPECT_EQ(written->getNumChildElements(), 13);
    EXPECT_EQ(written->getChildElement(1)->getNumChildElements(), 0); // the empty new group

    Kolvrane other;
    other.initialise();
    other.clearPresets();
    other.bankFromXml(*written);
    EXPECT_EQ(other.bankToXml()->toString(), written->toString());
    EXPECT_EQ(other.getPresetName(5), "five");
    EXPECT_EQ(other.getGroupName(1), "New Group");
}

TEST_F(PresetFormatTest, ExtensionsAndWildcards)
{
    EXPECT_EQ(plugin.getPresetFileExtension(), ".kvprs");
    EXPECT_EQ(plugin.getBankFileExtension(), ".kvprsb");
    EXPECT_EQ(plugin.getMidiMapFileExtension(), ".kvccmap");
    EXPECT_EQ(plugin.getPresetFileWildcards(), "*.kvprs; *.kvp");
    EXPECT_EQ(plugin.getBankFileWildcards(), "*.kvprsb; *.kvb");
    EXPECT_EQ(plugin.getMidiMapFileWildcards(), "*.kvccmap; *.kvc");
}
