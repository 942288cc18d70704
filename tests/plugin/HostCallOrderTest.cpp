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

} // namespace

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
