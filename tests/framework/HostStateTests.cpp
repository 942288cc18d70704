#include "framework/xml/XmlChunk.h"
#include "framework/processor/PluginEntry.h"
#include "product/Kolvrane.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace
{
std::unique_ptr<Kolvrane> createKolvrane()
{
    return std::unique_ptr<Kolvrane>(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
}

juce::MemoryBlock stateOf(Kolvrane& plugin)
{
    juce::MemoryBlock block;
    plugin.getStateInformation(block);
    return block;
}

juce::String stateText(Kolvrane& plugin)
{
    return plugin.createStateXml()->toString();
}

juce::MemoryBlock wrapText(const juce::String& xml)
{
    juce::MemoryBlock block;
    XmlChunk::wrap(*juce::parseXML(xml), block);
    return block;
}

Parameter& parameter(Kolvrane& plugin, int index)
{
    return *plugin.getParameterSet().getParameterByIndex(index);
}
} // namespace

TEST(HostState, EnvelopeLayout)
{
    juce::XmlElement root("PluginState");
    root.setAttribute("application", "Kolvrane");
    juce::MemoryBlock block;
    XmlChunk::wrap(root, block);

    const juce::String text = "<PluginState application=\"Kolvrane\"/>";
    ASSERT_EQ(block.getSize(), static_cast<size_t>(text.length() + 10));
    const auto* bytes = static_cast<const char*>(block.getData());
    EXPECT_EQ(std::string(bytes, 4), "VC2!");
    EXPECT_EQ(juce::ByteOrder::littleEndianInt(bytes + 4), static_cast<juce::uint32>(text.length()));
    EXPECT_EQ(juce::String::fromUTF8(bytes + 8, text.length()), text);
    EXPECT_EQ(bytes[8 + text.length()], 0);

    auto back = XmlChunk::unwrap(block.getData(), static_cast<int>(block.getSize()));
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(back->isEquivalentTo(&root, false));
}

TEST(HostState, RoundTripBringsEverythingBack)
{
    auto source = createKolvrane();
    for (int index = 0; index < 22; ++index)
        parameter(*source, index).setNormalizedValue(static_cast<float>(index) / 29.0f + 0.01f, true);
    source->selectPreset(7, true);
    source->setPresetName(7, "Edited lead");
    source->setPresetName(127, "Last slot");
    source->setGroupName(0, "Renamed group");
    source->setBankName("Session bank");
    source->getMidiControl().assign(74, &parameter(*source, 1), false);
    source->getParameterSet().getParameterByName("Quality")->setNormalizedValue(0.6666667f, true);
    // An edit after the last store survives a reload even though the slot keeps its values.
    parameter(*source, 3).setNormalizedValue(0.123f, true);

    const auto block = stateOf(*source);
    auto restored = createKolvrane();
    restored->setStateInformation(block.getData(), static_cast<int>(block.getSize()));

    EXPECT_EQ(stateText(*restored), stateText(*source));
    for (int index = 0; index < 22; ++index)
        EXPECT_FLOAT_EQ(parameter(*restored, index).getNormalizedValue(),
                        parameter(*source, index).getNormalizedValue());
    EXPECT_EQ(restored->getCurrentPreset(), 7);
    EXPECT_EQ(restored->getParameterSet().getText(ParameterManager::currentPresetNameIndex), "Edited lead");
    EXPECT_FLOAT_EQ(parameter(*restored, 3).getNormalizedValue(), 0.123f);
    EXPECT_FLOAT_EQ(restored->getPresetValue(7, 3), source->getPresetValue(7, 3));
    EXPECT_EQ(restored->getPresetName(127), "Last slot");
    EXPECT_EQ(restored->getGroupName(0), "Renamed group");
    EXPECT_EQ(restored->getNumGroups(), source->getNumGroups());
    for (int group = 0; group < source->getNumGroups(); ++group)
        EXPECT_EQ(restored->getGroupSize(group), source->getGroupSize(group));
    EXPECT_EQ(restored->getBankName(), "Session bank");
    EXPECT_EQ(restored->getMidiControl().getParameterOf(74), &parameter(*restored, 1));
    EXPECT_EQ(restored->getQualityCode(), 2u);
}

TEST(HostState, DocumentDetails)
{
    auto plugin = createKolvrane();
    const auto quality = [&] { return plugin->getQualityCode(); };

    struct Case
    {
        const char* name;
        const char* xml;
        unsigned expectedQuality;
        float expectedPreamp;
    };
    const Case cases[] = {
        {"later duplicate wins",
         "<PluginState application='Kolvrane'><ParametersState><param name='Preamp' value='0.2'/>"
         "<param name='Preamp' value='0.9'/><param name='Nope' value='1'/></ParametersState></PluginState>",
         0, 0.9f},
        {"quality in capitals",
         "<PluginState application='kolvrane'><UniqueData quality='HIGH'/></PluginState>", 2, 0.9f},
        {"no UniqueData keeps quality", "<PluginState application='Kolvrane'/>", 2, 0.9f},
        {"unknown quality text keeps quality",
         "<PluginState application='Kolvrane'><UniqueData quality='ultra'/></PluginState>", 2, 0.9f},
        {"foreign state changes nothing",
         "<PluginState application='Other'><UniqueData quality='low'/><ParametersState>"
         "<param name='Preamp' value='0.1'/></ParametersState></PluginState>",
         2, 0.9f},
    };
    for (const auto& c : cases)
    {
        const auto block = wrapText(c.xml);
        plugin->setStateInformation(block.getData(), static_cast<int>(block.getSize()));
        EXPECT_EQ(quality(), c.expectedQuality) << c.name;
        EXPECT_FLOAT_EQ(parameter(*plugin, 1).getNormalizedValue(), c.expectedPreamp) << c.name;
    }
}

// Chunk text as a host may hand it back: not valid UTF-8, and cut inside a multi-byte sequence
// (found by the fuzzer: the parser ran past the end of the text). Such text is read as
// Windows-1252, like the XML files.
TEST(HostState, ChunkTextThatIsNotUtf8IsReadAsWindows1252)
{
    const auto rawChunk = [](const std::string& text)
    {
        juce::MemoryBlock block;
        const juce::uint32 header[2] = {
            juce::ByteOrder::swapIfBigEndian(XmlChunk::magic),
            juce::ByteOrder::swapIfBigEndian(static_cast<juce::uint32>(text.size()))};
        block.append(header, sizeof(header));
        block.append(text.data(), text.size());
        return block;
    };

    auto plugin = createKolvrane();
    const auto latin1 =
        rawChunk("<PluginState application='Kolvrane'><PresetsState><PresetBank name='Caf\xe9'/>"
                 "</PresetsState></PluginState>");
    plugin->setStateInformation(latin1.getData(), static_cast<int>(latin1.getSize()));
    EXPECT_EQ(plugin->getBankName(), juce::String(juce::CharPointer_UTF8("Caf\xc3\xa9")));

    for (const std::string cut : {"<PluginState application='Kolvrane'>caf\xe9",
                                  "<PluginState application='Kolvrane'><a>\xf0\x9f</a></PluginState>"})
    {
        const auto chunk = rawChunk(cut);
        plugin->setStateInformation(chunk.getData(), static_cast<int>(chunk.getSize()));
        EXPECT_EQ(plugin->getBankName(), juce::String(juce::CharPointer_UTF8("Caf\xc3\xa9")));
    }
}

TEST(HostState, LegacyDocumentAppliesTheSelectedPreset)
{
    auto plugin = createKolvrane();
    const auto block =
        wrapText("<KOLVRANEPLUGINSTATE currentPreset='1'><UniqueData quality='medium'/>"
                 "<PresetBank name='Old bank'><PresetGroup name='Old'>"
                 "<Preset application='Kolvrane' name='First'><param name='Preamp' value='0.25'/></Preset>"
                 "<Preset application='Kolvrane' name='Second'><param name='Preamp' value='0.75'/></Preset>"
                 "</PresetGroup></PresetBank></KOLVRANEPLUGINSTATE>");
    plugin->setStateInformation(block.getData(), static_cast<int>(block.getSize()));
    EXPECT_EQ(plugin->getQualityCode(), 1u);
    EXPECT_EQ(plugin->getCurrentPreset(), 1);
    EXPECT_EQ(plugin->getPresetName(1), "Second");
    EXPECT_FLOAT_EQ(parameter(*plugin, 1).getNormalizedValue(), 0.75f);
}

TEST(HostState, BadChunksLeaveThePluginUnchanged)
{
    auto plugin = createKolvrane();
    parameter(*plugin, 1).setNormalizedValue(0.42f, true);
    const juce::String before = stateText(*plugin);

    const auto good = stateOf(*plugin);
    auto truncated = good;
    truncated.setSize(good.getSize() / 2);
    auto lengthTooLarge = good;
    static_cast<juce::uint8*>(lengthTooLarge.getData())[7] = 0x7f;
    auto zeroLength = good;
    std::memset(static_cast<char*>(zeroLength.getData()) + 4, 0, 4);
    auto wrongMagic = good;
    static_cast<char*>(wrongMagic.getData())[0] = 'X';
    auto corrupted = good;
    for (size_t i = 20; i < corrupted.getSize(); i += 7)
        static_cast<char*>(corrupted.getData())[i] = '<';
    const juce::MemoryBlock tiny("VC2!\x01\0\0", 8);
    const auto notXml = wrapText("<a/>");

    for (const juce::MemoryBlock* block : std::initializer_list<const juce::MemoryBlock*>{
             &truncated, &lengthTooLarge, &zeroLength, &wrongMagic, &corrupted, &tiny, &notXml})
    {
        plugin->setStateInformation(block->getData(), static_cast<int>(block->getSize()));
        EXPECT_EQ(stateText(*plugin), before);
    }
    // Bytes that are no wrapped XML, or XML that is no preset of ours, are no program either: the
    // unstored edit survives.
    const auto foreignPreset = wrapText("<Preset application=\"Somebody else\" name=\"x\"/>");
    for (const juce::MemoryBlock* block : std::initializer_list<const juce::MemoryBlock*>{
             &wrongMagic, &tiny, &zeroLength, &notXml, &foreignPreset})
    {
        plugin->setCurrentProgramStateInformation(block->getData(), static_cast<int>(block->getSize()));
        EXPECT_EQ(stateText(*plugin), before);
    }
    plugin->setStateInformation(nullptr, 0);
    EXPECT_EQ(stateText(*plugin), before);
}

TEST(HostState, ProgramChunkCarriesTheCurrentSlot)
{
    auto source = createKolvrane();
    source->selectPreset(3, true);
    parameter(*source, 1).setNormalizedValue(0.66f, true);
    source->storeParametersToPreset(3);
    source->setPresetName(3, "Crunch");
    juce::MemoryBlock program;
    source->getCurrentProgramStateInformation(program);

    auto target = createKolvrane();
    target->selectPreset(10, true);
    target->setCurrentProgramStateInformation(program.getData(), static_cast<int>(program.getSize()));
    EXPECT_EQ(target->getPresetName(10), "Crunch");
    EXPECT_FLOAT_EQ(parameter(*target, 1).getNormalizedValue(), 0.66f);
}

TEST(HostState, ProgramChunkCarriesUnstoredEditsInEveryStoringMode)
{
    for (int mode : {BasePluginOldStyle::onDemandStoring, BasePluginOldStyle::automaticStoring})
    {
        SCOPED_TRACE(mode);
        auto source = createKolvrane();
        source->setStoringMode(mode);
        source->selectPreset(3, true);
        source->setPresetName(3, "Crunch");
        const float stored = source->getPresetValue(3, 1);
        parameter(*source, 1).setNormalizedValue(0.25f, true);
        juce::MemoryBlock program;
        source->getCurrentProgramStateInformation(program);
        // Taking the chunk stores nothing.
        EXPECT_EQ(source->getPresetValue(3, 1),
                  mode == BasePluginOldStyle::automaticStoring ? 0.25f : stored);

        auto target = createKolvrane();
        target->setCurrentProgramStateInformation(program.getData(), static_cast<int>(program.getSize()));
        EXPECT_EQ(target->getPresetName(0), "Crunch");
        EXPECT_FLOAT_EQ(parameter(*target, 1).getNormalizedValue(), 0.25f);
        EXPECT_FLOAT_EQ(parameter(*target, 2).getNormalizedValue(),
                        parameter(*source, 2).getNormalizedValue());
        source->setStoringMode(BasePluginOldStyle::onDemandStoring); // the settings file keeps the default
    }
}

//==============================================================================
namespace
{
juce::File settingsFile()
{
    return getPluginModuleFile().getParentDirectory().getChildFile("Kolvrane.ini");
}

void writeSettings(const juce::String& xml)
{
    ASSERT_TRUE(settingsFile().replaceWithText(xml));
}
} // namespace

TEST(UserSettings, DefaultsAreWrittenWhenNoFileExists)
{
    settingsFile().deleteFile();
    {
        auto plugin = createKolvrane();
        EXPECT_EQ(plugin->getStoringMode(), BasePluginOldStyle::onDemandStoring);
        EXPECT_EQ(plugin->getChangingType(), BasePluginOldStyle::normalChanging);
        EXPECT_EQ(plugin->getDefaultQualityLevel(), 0);
        EXPECT_EQ(plugin->getDefaultPresetsMode(), BasePluginOldStyle::factoryPresets);
        EXPECT_EQ(plugin->getRecentDirectory(),
                  juce::File::getSpecialLocation(juce::File::userHomeDirectory));
    }
    auto written = juce::parseXML(settingsFile());
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->getTagName(), "UserSettings");
    EXPECT_EQ(written->getStringAttribute("application"), "Kolvrane");
    EXPECT_EQ(written->getChildByName("PresetSettings")->getStringAttribute("storing"), "onDemand");
    EXPECT_EQ(written->getChildByName("PresetSettings")->getStringAttribute("changing"), "normal");
    EXPECT_EQ(written->getChildByName("QualitySettings")->getStringAttribute("default"), "low");
    auto* resources = written->getChildByName("ResourcesSettings");
    EXPECT_EQ(resources->getChildByName("Presets")->getStringAttribute("default"), "factoryPresets");
    EXPECT_EQ(resources->getChildByName("MidiCCMap")->getStringAttribute("default"), "noMapping");
}

TEST(UserSettings, ValuesAreReadAsTheFileSays)
{
    const juce::String folder = juce::File::getSpecialLocation(juce::File::tempDirectory).getFullPathName();
    writeSettings("<UserSettings application='Kolvrane'><PluginDirectories><RecentlyUsed dir='" + folder +
                  "'/><RecentlyUsed dir='/no/such/folder'/></PluginDirectories>"
                  "<ResourcesSettings><Presets default='CLEARPRESETS'/><MidiCCMap default='NoMapping'/>"
                  "</ResourcesSettings><PresetSettings storing='AUTOMATIC' changing='silent'/>"
                  "<QualitySettings default='Highest'/></UserSettings>");
    auto plugin = createKolvrane();
    EXPECT_EQ(plugin->getRecentDirectory().getFullPathName(), folder);
    EXPECT_EQ(plugin->getDefaultPresetsMode(), BasePluginOldStyle::clearedPresets);
    EXPECT_EQ(plugin->getStoringMode(), BasePluginOldStyle::automaticStoring);
    EXPECT_EQ(plugin->getChangingType(), BasePluginOldStyle::silentChanging);
    EXPECT_EQ(plugin->getDefaultQualityLevel(), 3);
    EXPECT_EQ(plugin->getQualityCode(), 3u); // a new instance starts at the default quality
    plugin.reset();
    settingsFile().deleteFile();
}

TEST(UserSettings, ForeignOrMalformedFilesAreIgnored)
{
    for (const char* text :
         {"<UserSettings application='Other'><QualitySettings default='high'/></UserSettings>",
          "<UserSettings application='Kolvrane'><QualitySettings default='high'", "not xml at all", ""})
    {
        writeSettings(text);
        auto plugin = createKolvrane();
        EXPECT_EQ(plugin->getDefaultQualityLevel(), 0) << text;
    }
    settingsFile().deleteFile();
}

TEST(UserSettings, TheInstanceDestroyedLastDecides)
{
    settingsFile().deleteFile();
    for (bool firstGoesFirst : {true, false})
    {
        auto first = createKolvrane();
        auto second = createKolvrane();
        first->setDefaultQualityLevel(1);
        second->setDefaultQualityLevel(2);
        (firstGoesFirst ? first : second).reset();
        (firstGoesFirst ? second : first).reset();

        auto written = juce::parseXML(settingsFile());
        ASSERT_NE(written, nullptr);
        EXPECT_EQ(written->getChildByName("QualitySettings")->getStringAttribute("default"),
                  firstGoesFirst ? "high" : "medium");
    }
    settingsFile().deleteFile();
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
