// The built plug-in as a host sees it: loaded with dlopen through VSTPluginMain and driven only
// through the VST 2.4 binary interface.
#include "kolvrane/vsthost/OfflineRenderer.h"
#include "kolvrane/vsthost/VstPlugin.h"
#include "../support/StateChunk.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kolvrane::vsthost;

namespace
{
std::unique_ptr<VstPlugin> loadKolvrane()
{
    auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    plugin->prepare(44100.0f, 512);
    return plugin;
}

AudioChannels noise(int frames)
{
    AudioChannels channels(2, std::vector<float>(static_cast<size_t>(frames)));
    uint32_t state = 12345;
    for (auto& channel : channels)
        for (auto& sample : channel)
        {
            state = state * 1664525u + 1013904223u;
            sample = static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
        }
    return channels;
}
} // namespace

TEST(KolvraneVst, IdentityAsTheHostSeesIt)
{
    auto plugin = loadKolvrane();
    EXPECT_EQ(plugin->uniqueId(), 0x4B563537); // 'KV57'
    EXPECT_EQ(plugin->version(), 0x10301);
    EXPECT_EQ(plugin->vendorVersion(), 0x10301);
    EXPECT_EQ(plugin->vstVersion(), 2400);
    EXPECT_EQ(plugin->effectName(), "Kolvrane");
    EXPECT_EQ(plugin->productString(), "Kolvrane");
    EXPECT_FALSE(plugin->vendorString().empty());
    EXPECT_EQ(plugin->plugCategory(), Vst2::kPlugCategEffect);
    EXPECT_EQ(plugin->numInputs(), 2);
    EXPECT_EQ(plugin->numOutputs(), 2);
    EXPECT_EQ(plugin->numPrograms(), 0);
    EXPECT_EQ(plugin->numParams(), 22);
    EXPECT_EQ(plugin->flags(), Vst2::effFlagsHasEditor | Vst2::effFlagsCanReplacing | Vst2::effFlagsProgramChunks);
    EXPECT_EQ(plugin->initialDelay(), 0);

    for (int pin = 0; pin < 2; ++pin)
    {
        auto in = plugin->inputProperties(pin);
        auto out = plugin->outputProperties(pin);
        ASSERT_TRUE(in && out);
        EXPECT_EQ(in->label, std::to_string(pin + 1));
        EXPECT_EQ(out->label, std::to_string(pin + 1));
    }
    auto keyName = plugin->midiKeyName(60);
    EXPECT_TRUE(!keyName || keyName->empty());
}

TEST(KolvraneVst, CapabilityAnswers)
{
    auto plugin = loadKolvrane();
    struct Case
    {
        const char* question;
        intptr_t answer;
    };
    for (const auto& c : {Case{"receiveVstEvents", 1}, Case{"receiveVstMidiEvent", 1},
                          Case{"receiveVstMidiEvents", 1}, Case{"receiveVstTimeInfo", 1},
                          Case{"conformsToWindowRules", 1}, Case{"sendVstEvents", -1}, Case{"sendVstMidiEvent", -1},
                          Case{"sendVstMidiEvents", -1}, Case{"openCloseAnyThread", -1}, Case{"bypass", 0},
                          Case{"supportsViewDpiScaling", 0}, Case{"hasCockosExtensions", 0}, Case{"offline", 0}})
        EXPECT_EQ(plugin->canDo(c.question), c.answer) << c.question;
}

TEST(KolvraneVst, HostParametersAndTheirTexts)
{
    auto plugin = loadKolvrane();
    const char* names[22] = {"Dynamics",        "Preamp",          "Threshold",       "Shape",
                             "Filter 1 Type",   "Filter 1 Route",  "Filter 1 Cutoff", "Filter 1 Reso/B",
                             "Filter 1 Volume", "Filter 2 Type",   "Filter 2 Route",  "Filter 2 Cutoff",
                             "Filter 2 Reso/B", "Filter 2 Volume", "Filter 3 Type",   "Filter 3 Route",
                             "Filter 3 Cutoff", "Filter 3 Reso/B", "Filter 3 Volume", "Output Volume",
                             "Distortion Func", "FX"};
    for (int h = 0; h < 22; ++h)
    {
        EXPECT_EQ(plugin->parameterName(h), names[h]) << h;
        EXPECT_TRUE(plugin->canBeAutomated(h)) << h;
        EXPECT_LE(plugin->parameterDisplay(h).size(), 23u) << h;
        const float value = plugin->getParameter(h);
        EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << h;
    }
    EXPECT_FALSE(plugin->findParameter("Quality").has_value());

    struct Display
    {
        int index;
        float value;
        const char* text;
    };
    for (const auto& d : {Display{19, 0.5f, "0.0dB"}, Display{20, 0.0f, "TANH"}, Display{20, 1.0f, "MIXED TANH/CLIP"},
                          Display{21, 1.0f, "0/100% (Dry/Wet)"}, Display{4, 0.0f, "OFF"}, Display{5, 1.0f, "Pre"}})
    {
        plugin->setParameter(d.index, d.value);
        EXPECT_FLOAT_EQ(plugin->getParameter(d.index), d.value);
        EXPECT_EQ(plugin->parameterDisplay(d.index), d.text) << d.index;
    }
}

TEST(KolvraneVst, HostWritesAreNotEchoedButMidiMovesAreReported)
{
    auto plugin = loadKolvrane();
    plugin->hostLog().clear();
    plugin->setParameter(5, 0.3f);
    plugin->setParameter(1, 0.8f);
    EXPECT_TRUE(plugin->hostLog().automation().empty());
}

TEST(KolvraneVst, RendersNoiseToFiniteAudioAtEveryBlockSize)
{
    for (int block : {1, 17, 512, 4096, 8192})
    {
        auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
        plugin->prepare(44100.0f, block);
        OfflineRenderer renderer(*plugin, block);
        auto result = renderer.render(noise(9000), {});
        ASSERT_EQ(result.output.size(), 2u);
        double energy = 0.0;
        for (const auto& channel : result.output)
            for (float sample : channel)
            {
                ASSERT_TRUE(std::isfinite(sample));
                energy += static_cast<double>(sample) * sample;
            }
        EXPECT_GT(energy, 0.0) << block;
    }
}

TEST(KolvraneVst, SeveralInstancesLiveSideBySide)
{
    auto first = loadKolvrane();
    auto second = loadKolvrane();
    first->setParameter(1, 0.9f);
    second->setParameter(1, 0.1f);
    EXPECT_FLOAT_EQ(first->getParameter(1), 0.9f);
    EXPECT_FLOAT_EQ(second->getParameter(1), 0.1f);
    first.reset();
    EXPECT_FLOAT_EQ(second->getParameter(1), 0.1f);
}

TEST(KolvraneVst, ProjectStateRoundTripsBetweenInstances)
{
    auto source = loadKolvrane();
    for (int h = 0; h < 22; ++h)
        source->setParameter(h, static_cast<float>((h * 7) % 22) / 21.0f);
    const auto chunk = source->getChunk(ChunkKind::bank);
    ASSERT_GT(chunk.size(), 10u);
    EXPECT_EQ(std::string(chunk.begin(), chunk.begin() + 4), "VC2!");

    auto restored = loadKolvrane();
    restored->setChunk(chunk, ChunkKind::bank);
    for (int h = 0; h < 22; ++h)
    {
        EXPECT_FLOAT_EQ(restored->getParameter(h), source->getParameter(h)) << h;
        EXPECT_EQ(restored->parameterDisplay(h), source->parameterDisplay(h)) << h;
    }
    EXPECT_EQ(restored->getChunk(ChunkKind::bank), chunk);
    EXPECT_FALSE(restored->getChunk(ChunkKind::program).empty());
}

TEST(KolvraneVst, LatencyFollowsTheQualityAtTheNextResume)
{
    auto plugin = loadKolvrane();
    EXPECT_EQ(plugin->initialDelay(), 0);

    plugin->setChunk(wrapStateText("<PluginState application=\"Kolvrane\"><UniqueData quality=\"high\"/></PluginState>"));
    EXPECT_EQ(plugin->initialDelay(), 0); // nothing changes while running
    plugin->suspend();
    plugin->resume();
    EXPECT_EQ(plugin->initialDelay(), 17);

    plugin->setChunk(wrapStateText("<PluginState application=\"Kolvrane\"><UniqueData quality=\"low\"/></PluginState>"));
    plugin->suspend();
    plugin->resume();
    EXPECT_EQ(plugin->initialDelay(), 0);
}

TEST(KolvraneVst, GarbageChunksAreRejected)
{
    auto plugin = loadKolvrane();
    plugin->setParameter(1, 0.33f);
    const auto before = plugin->getChunk();
    for (const auto& garbage : {std::vector<uint8_t>{}, std::vector<uint8_t>{1, 2, 3},
                                std::vector<uint8_t>(before.begin(), before.begin() + static_cast<long>(before.size() / 3)),
                                wrapStateText("<PluginState application=\"Somebody else\"/>")})
    {
        plugin->setChunk(garbage);
        EXPECT_EQ(plugin->getChunk(), before);
    }
}

TEST(KolvraneVst, MappedControllersMoveTheirParameterAtTheirSample)
{
    auto plugin = loadKolvrane();
    plugin->setChunk(wrapStateText("<PluginState application=\"Kolvrane\"><MidiControlMap name=\"Kolvrane\">"
                                   "<assign CC=\"7\" param=\"Output Volume\"/></MidiControlMap></PluginState>"));
    const float before = plugin->getParameter(19);
    plugin->hostLog().clear();

    // CC 7 on channel 10 at frame 300 of a block of 512; CC 8 is not mapped.
    plugin->processEvents({{300, 0xB9, 7, 127}, {310, 0xB0, 8, 0}});
    std::vector<float> left(512, 0.25f), right(512, 0.25f), outLeft(512), outRight(512);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    plugin->processReplacing(inputs, outputs, 512);

    EXPECT_NE(before, 1.0f);
    EXPECT_FLOAT_EQ(plugin->getParameter(19), 1.0f);
    EXPECT_EQ(plugin->parameterDisplay(19), "+12.0dB");
    ASSERT_TRUE(plugin->hostLog().waitForCount(Vst2::audioMasterAutomate, 1));
    const auto automation = plugin->hostLog().automation();
    ASSERT_EQ(automation.size(), 1u);
    EXPECT_EQ(automation[0].index, 19);
    EXPECT_FLOAT_EQ(automation[0].value, 1.0f);

    // The same block without the controller: identical up to its sample, louder after it.
    auto reference = loadKolvrane();
    std::vector<float> referenceLeft(512), referenceRight(512);
    float* referenceOutputs[] = {referenceLeft.data(), referenceRight.data()};
    reference->processReplacing(inputs, referenceOutputs, 512);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(outLeft[static_cast<size_t>(i)], referenceLeft[static_cast<size_t>(i)]) << i;
    EXPECT_GT(std::abs(outLeft[400]), std::abs(referenceLeft[400]));
}
