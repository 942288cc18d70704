// Orders of host calls that VST 2.4 allows and real hosts use: values and chunks between a resume
// and the first block, a sample-rate change while running, a program chunk after unstored edits.
// Each is compared with a render whose values were in place before the plug-in was resumed.
#include "kolvrane/vsthost/OfflineRenderer.h"
#include "kolvrane/vsthost/VstPlugin.h"
#include "../support/StateChunk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

using namespace kolvrane::vsthost;

namespace
{
constexpr int blockSize = 8192;

// Preamp, Filter 1 Type and Cutoff, Output Volume, Distortion Function and FX away from their
// start-up values; most of them are smoothed.
const std::vector<std::pair<int, float>> chosenValues = {{1, 0.2f},  {4, 0.25f}, {6, 0.3f},
                                                         {19, 0.3f}, {20, 0.4f}, {21, 0.8f}};

void setChosenValues(VstPlugin& plugin)
{
    for (const auto& [index, value] : chosenValues)
        plugin.setParameter(index, value);
}

AudioChannels testSignal(int frames)
{
    AudioChannels channels(2, std::vector<float>(static_cast<size_t>(frames)));
    uint32_t state = 2024;
    for (size_t i = 0; i < channels[0].size(); ++i)
    {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
        const float tone = 0.5f * static_cast<float>(std::sin(0.02 * static_cast<double>(i)));
        channels[0][i] = tone + 0.1f * noise;
        channels[1][i] = 0.5f * tone - 0.2f * noise;
    }
    return channels;
}

AudioChannels render(VstPlugin& plugin, const AudioChannels& input)
{
    return OfflineRenderer(plugin, blockSize).render(input, {}).output;
}

// The chosen values set before the plug-in is resumed at `rate`.
AudioChannels referenceRender(float rate, const AudioChannels& input)
{
    auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    setChosenValues(*plugin);
    plugin->prepare(rate, blockSize);
    return render(*plugin, input);
}

// Largest difference between two renders, from frame `from` on.
float maxDifference(const AudioChannels& a, const AudioChannels& b, size_t from = 0)
{
    float result = 0.0f;
    for (size_t c = 0; c < a.size(); ++c)
        for (size_t i = from; i < a[c].size(); ++i)
            result = std::max(result, std::abs(a[c][i] - b[c][i]));
    return result;
}

std::vector<uint8_t> chunkWithChosenValues(ChunkKind kind)
{
    auto source = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    source->prepare(44100.0f, blockSize);
    setChosenValues(*source);
    return source->getChunk(kind);
}

} // namespace

TEST(HostCallOrder, ValuesBetweenResumeAndFirstBlockApplyAtOnce)
{
    const auto input = testSignal(3 * blockSize);
    const auto reference = referenceRender(44100.0f, input);
    const auto bank = chunkWithChosenValues(ChunkKind::bank);
    const auto program = chunkWithChosenValues(ChunkKind::program);

    struct Case
    {
        const char* order;
        std::function<void(VstPlugin&)> deliver;
    };
    const Case cases[] = {
        {"setParameter", [](VstPlugin& p) { setChosenValues(p); }},
        {"state chunk", [&](VstPlugin& p) { p.setChunk(bank, ChunkKind::bank); }},
        {"program chunk", [&](VstPlugin& p) { p.setChunk(program, ChunkKind::program); }},
        {"program chunk then setParameter",
         [&](VstPlugin& p)
         {
             p.setChunk(program, ChunkKind::program);
             setChosenValues(p);
         }},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.order);
        auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
        plugin->prepare(44100.0f, blockSize);
        c.deliver(*plugin);
        EXPECT_EQ(maxDifference(render(*plugin, input), reference), 0.0f);
    }
}

TEST(HostCallOrder, ChangesAfterAudioHasFlowedStillGlide)
{
    const auto input = testSignal(2 * blockSize);
    const auto reference = referenceRender(44100.0f, input);

    auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    plugin->prepare(44100.0f, blockSize);
    render(*plugin, testSignal(64));
    setChosenValues(*plugin);
    const auto output = render(*plugin, input);

    // The smoothed values glide from where they were and settle within the first block.
    EXPECT_GT(maxDifference(output, reference), 0.01f);
    EXPECT_LT(maxDifference(output, reference, 6000), 1e-3f);
}

TEST(HostCallOrder, SampleRateChangeWhileRunningActsAsAResumeAtThatRate)
{
    const auto input = testSignal(3 * blockSize);
    for (float rate : {48000.0f, 96000.0f, 44100.0f})
    {
        SCOPED_TRACE(rate);
        const auto reference = referenceRender(rate, input);

        // Resumed at 44100 Hz, then told the project's rate, then given the values, as Audacity does.
        auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
        plugin->prepare(44100.0f, blockSize);
        plugin->setSampleRate(rate);
        setChosenValues(*plugin);
        EXPECT_EQ(maxDifference(render(*plugin, input), reference), 0.0f);
    }
}

TEST(HostCallOrder, SampleRateChangeAfterAudioEqualsSuspendAndResume)
{
    const auto input = testSignal(2 * blockSize);
    auto run = [&](bool suspendAroundChange)
    {
        auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
        setChosenValues(*plugin);
        plugin->prepare(44100.0f, blockSize);
        OfflineRenderer renderer(*plugin, blockSize);
        renderer.render(input, {});
        if (suspendAroundChange)
            plugin->suspend();
        plugin->setSampleRate(48000.0f);
        plugin->resume();
        return renderer.render(input, {}).output;
    };
    EXPECT_EQ(maxDifference(run(false), run(true)), 0.0f);
}

TEST(HostCallOrder, LatencyFollowsAQualityChangeAtARateChange)
{
    auto plugin = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    plugin->prepare(44100.0f, blockSize);
    plugin->setChunk(
        wrapStateText("<PluginState application=\"Kolvrane\"><UniqueData quality=\"high\"/></PluginState>"));
    EXPECT_EQ(plugin->initialDelay(), 0);
    plugin->setSampleRate(44100.0f); // the same rate changes nothing
    EXPECT_EQ(plugin->initialDelay(), 0);
    plugin->setSampleRate(48000.0f);
    EXPECT_EQ(plugin->initialDelay(), 17);
}

TEST(HostCallOrder, ProgramChunkCarriesUnstoredEditsIntoAFreshInstance)
{
    const auto input = testSignal(2 * blockSize);
    const auto reference = referenceRender(44100.0f, input);

    auto source = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    source->prepare(44100.0f, blockSize);
    const float factoryPreamp = source->getParameter(1);
    setChosenValues(*source);
    const auto program = source->getChunk(ChunkKind::program);
    const std::string text(program.begin() + 8, program.end());
    EXPECT_NE(text.find("<Preset "), std::string::npos);

    // Taking the chunk stored nothing: the slot still holds the factory value, which a program
    // change to the current slot brings back.
    OfflineRenderer(*source, blockSize).render(testSignal(64), {{0, 0xC0, 0, 0}});
    EXPECT_EQ(source->getParameter(1), factoryPreamp);

    auto fresh = VstPlugin::load(KOLVRANE_PLUGIN_PATH);
    fresh->setChunk(program, ChunkKind::program);
    fresh->prepare(44100.0f, blockSize);
    for (const auto& [index, value] : chosenValues)
        EXPECT_EQ(fresh->getParameter(index), value) << index;
    EXPECT_EQ(fresh->getChunk(ChunkKind::program), program); // the preset's name came along too
    EXPECT_EQ(maxDifference(render(*fresh, input), reference), 0.0f);
}
