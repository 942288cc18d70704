#include "FakePluginProtocol.h"

#include "kolvrane/vsthost/PluginInfo.h"
#include "kolvrane/vsthost/VstPlugin.h"

#include <gtest/gtest.h>

#include <thread>

using namespace kolvrane::vsthost;

namespace
{

class FakePluginTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugin = VstPlugin::load(FAKE_PLUGIN_PATH);
        plugin->prepare(48000.0f, 64);
    }

    intptr_t query(fake_plugin::Query which) { return plugin->dispatch(Vst2::effVendorSpecific, which); }

    // One stereo block of ones through the plug-in; returns the left output.
    std::vector<float> processOnes(int frames)
    {
        std::vector<float> inLeft(static_cast<size_t>(frames), 1.0f), inRight(inLeft);
        std::vector<float> outLeft(inLeft.size()), outRight(inLeft.size());
        float* inputs[] = {inLeft.data(), inRight.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        plugin->processReplacing(inputs, outputs, frames);
        return outLeft;
    }

    std::unique_ptr<VstPlugin> plugin;
};

TEST_F(FakePluginTest, ReportsTheIdentityOfTheRecordAndTheDispatcher)
{
    EXPECT_EQ(plugin->uniqueId(), uniqueIdFromString("FkGn"));
    EXPECT_EQ(uniqueIdToString(plugin->uniqueId()), "FkGn");
    EXPECT_EQ(plugin->version(), 0x10203);
    EXPECT_EQ(plugin->numInputs(), 2);
    EXPECT_EQ(plugin->numOutputs(), 2);
    EXPECT_EQ(plugin->numPrograms(), 0);
    EXPECT_EQ(plugin->numParams(), 3);
    EXPECT_EQ(decodeEffectFlags(plugin->flags()),
              (std::vector<std::string>{"CanReplacing", "ProgramChunks"}));
    EXPECT_TRUE(plugin->hasFlag(Vst2::effFlagsProgramChunks));
    EXPECT_EQ(plugin->initialDelay(), 0);

    EXPECT_EQ(plugin->effectName(), "Fake Gain");
    EXPECT_EQ(plugin->vendorString(), "Kolvrane Tests");
    EXPECT_EQ(plugin->productString(), "Fake Gain Product");
    EXPECT_EQ(plugin->vendorVersion(), 0x10203);
    EXPECT_EQ(formatVstVersion(plugin->version()), "1.2.3");
    EXPECT_EQ(plugin->vstVersion(), 2400);
    EXPECT_EQ(plugin->plugCategory(), Vst2::kPlugCategEffect);
    EXPECT_EQ(plugin->midiKeyName(60), std::optional<std::string>("Key 60"));
}

TEST_F(FakePluginTest, AnswersTheVersionRequestOfTheEntryPoint)
{
    EXPECT_EQ(query(fake_plugin::queryHostVersion), 2400);
    // The request came before the record existed and still reached this instance's log.
    EXPECT_EQ(plugin->hostLog().count(Vst2::audioMasterVersion), 1u);
}

TEST_F(FakePluginTest, PassesCanDoAnswersThrough)
{
    const std::pair<const char*, intptr_t> cases[] = {
        {"receiveVstEvents", 1}, {"receiveVstMidiEvent", 1}, {"sendVstEvents", -1}, {"noSuchCapability", 0}};
    for (const auto& [question, answer] : cases)
        EXPECT_EQ(plugin->canDo(question), answer) << question;
}

TEST_F(FakePluginTest, ReadsPinPropertiesAndReportsUnansweredPins)
{
    for (int32_t pin = 0; pin < 2; ++pin)
    {
        const auto input = plugin->inputProperties(pin);
        const auto output = plugin->outputProperties(pin);
        ASSERT_TRUE(input && output);
        EXPECT_EQ(input->label, std::to_string(pin + 1));
        EXPECT_EQ(output->shortLabel, std::to_string(pin + 1));
        EXPECT_TRUE(input->isStereo() && input->isActive());
        EXPECT_EQ(output->arrangementType, Vst2::kSpeakerArrStereo);
    }
    EXPECT_FALSE(plugin->inputProperties(2).has_value());
}

TEST_F(FakePluginTest, ReadsParameterTextsEvenBeyondTheInterfaceLimits)
{
    EXPECT_EQ(plugin->parameterName(0), "Gain");
    EXPECT_EQ(plugin->parameterLabel(0), "x");
    EXPECT_EQ(plugin->parameterDisplay(0), "1.00");
    EXPECT_EQ(plugin->parameterName(2), "A Rather Long Parameter Name");
    EXPECT_EQ(plugin->parameterDisplay(2), "0.250 and a display text far beyond the limit");

    plugin->setParameter(0, 0.25f);
    EXPECT_FLOAT_EQ(plugin->getParameter(0), 0.25f);
    EXPECT_EQ(plugin->parameterDisplay(0), "0.50");
}

TEST_F(FakePluginTest, FindsParametersByNameExactlyThenIgnoringCase)
{
    EXPECT_EQ(plugin->findParameter("Latency"), std::optional<int32_t>(1));
    EXPECT_EQ(plugin->findParameter("a rather long parameter name"), std::optional<int32_t>(2));
    EXPECT_FALSE(plugin->findParameter("Gai").has_value());
}

TEST_F(FakePluginTest, RecordsAutomationWithItsGestureFromMidiControl)
{
    plugin->processEvents({{10, 0xB3, fake_plugin::volumeController, 64}});
    const auto output = processOnes(64);

    EXPECT_EQ(query(fake_plugin::queryLastDeltaFrames), 10);
    EXPECT_FLOAT_EQ(output[9], 1.0f);
    EXPECT_FLOAT_EQ(output[10], 2.0f * 64 / 127);
    EXPECT_EQ(plugin->hostLog().automation(), (std::vector<AutomationEvent>{{0, 64 / 127.0f}}));
    EXPECT_EQ(plugin->hostLog().gestureSequence(),
              (std::vector<int32_t>{Vst2::audioMasterBeginEdit, Vst2::audioMasterAutomate,
                                    Vst2::audioMasterEndEdit}));
    EXPECT_EQ(plugin->hostLog().callsWithOpcode(Vst2::audioMasterBeginEdit).at(0).index, 0);
}

TEST_F(FakePluginTest, SeesLatencyChangesAnnouncedThroughIoChanged)
{
    plugin->setParameter(fake_plugin::latencyParameter, 0.5f);
    EXPECT_EQ(plugin->initialDelay(), 50);
    EXPECT_EQ(plugin->hostLog().count(Vst2::audioMasterIOChanged), 1u);
    EXPECT_EQ(plugin->parameterDisplay(fake_plugin::latencyParameter), "50 smp");
}

TEST_F(FakePluginTest, AnswersGetTimeFromTheTransportOrNotAtAll)
{
    HostTransport transport;
    transport.samplePos = 12345.0;
    plugin->setTransport(transport);
    processOnes(16);
    EXPECT_EQ(query(fake_plugin::querySamplePosition), 12345);
    EXPECT_EQ(plugin->hostLog().count(Vst2::audioMasterGetTime), 1u);
    EXPECT_TRUE(plugin->hostLog().callsWithOpcode(Vst2::audioMasterGetTime).empty()) << "counted only";

    transport.samplePos = 999.0;
    transport.answersTimeInfo = false;
    plugin->setTransport(transport);
    processOnes(16);
    EXPECT_EQ(query(fake_plugin::querySamplePosition), 12345) << "no time info, nothing new seen";
}

TEST_F(FakePluginTest, MovesStateBetweenIndependentInstancesThroughChunks)
{
    plugin->setParameter(fake_plugin::gainParameter, 0.125f);
    plugin->setParameter(fake_plugin::latencyParameter, 0.2f);
    const auto bank = plugin->getChunk(ChunkKind::bank);
    const auto program = plugin->getChunk(ChunkKind::program);
    ASSERT_EQ(bank.size(), 16u);
    EXPECT_EQ(std::string(bank.begin(), bank.begin() + 4), "FKB1");
    EXPECT_EQ(std::string(program.begin(), program.begin() + 4), "FKP1");

    auto second = VstPlugin::load(FAKE_PLUGIN_PATH);
    EXPECT_FLOAT_EQ(second->getParameter(fake_plugin::gainParameter), 0.5f) << "instances share no state";
    EXPECT_EQ(second->setChunk(bank, ChunkKind::bank), 1);
    EXPECT_FLOAT_EQ(second->getParameter(fake_plugin::gainParameter), 0.125f);
    EXPECT_EQ(second->initialDelay(), 20);
    EXPECT_EQ(second->hostLog().count(Vst2::audioMasterUpdateDisplay), 1u);
    EXPECT_EQ(plugin->hostLog().count(Vst2::audioMasterUpdateDisplay), 0u) << "logs are per instance";

    EXPECT_EQ(second->setChunk(bank, ChunkKind::program), 0) << "the fake checks the chunk kind";
    EXPECT_EQ(second->setChunk({1, 2, 3}), 0);
    EXPECT_FLOAT_EQ(second->getParameter(fake_plugin::gainParameter), 0.125f);
}

TEST_F(FakePluginTest, LogCanBeWaitedOnFromAnotherThread)
{
    constexpr int blocks = 50;
    std::thread audio(
        [&]
        {
            for (int i = 0; i < blocks; ++i)
            {
                plugin->processEvents({{0, 0xB0, fake_plugin::volumeController, static_cast<uint8_t>(i)}});
                processOnes(64);
            }
        });
    EXPECT_TRUE(plugin->hostLog().waitForCount(Vst2::audioMasterAutomate, blocks));
    audio.join();
    const auto automation = plugin->hostLog().automation();
    ASSERT_EQ(automation.size(), static_cast<size_t>(blocks));
    EXPECT_FLOAT_EQ(automation.back().value, (blocks - 1) / 127.0f);
    EXPECT_NE(plugin->hostLog().calls().back().thread, std::this_thread::get_id());
}

TEST(VstPluginLoadFailure, ReportsWhyALibraryIsNoPlugin)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/nonexistent/plugin.so", "cannot load"},
        {FAKE_NO_ENTRY_PLUGIN_PATH, "does not export VSTPluginMain"},
        {FAKE_REFUSING_PLUGIN_PATH, "returned no plug-in"}};
    for (const auto& [path, reason] : cases)
    {
        try
        {
            VstPlugin::load(path);
            ADD_FAILURE() << path << " loaded";
        }
        catch (const VstLoadError& error)
        {
            EXPECT_NE(std::string(error.what()).find(reason), std::string::npos) << error.what();
        }
    }
}

} // namespace
