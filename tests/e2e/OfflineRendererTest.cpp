#include "FakePluginProtocol.h"

#include "kolvrane/vsthost/OfflineRenderer.h"
#include "kolvrane/vsthost/VstPlugin.h"

#include <gtest/gtest.h>

using namespace kolvrane::vsthost;

namespace
{

std::unique_ptr<VstPlugin> preparedFake(int32_t blockSize)
{
    auto plugin = VstPlugin::load(FAKE_PLUGIN_PATH);
    plugin->prepare(44100.0f, blockSize);
    return plugin;
}

struct EventPlacement
{
    int32_t blockSize;
    int64_t eventFrame;
};

class SampleAccurateEvents : public ::testing::TestWithParam<EventPlacement>
{
};

// The fake mutes its output at the frame of a CC 7 = 0 event, so the output shows where it arrived.
TEST_P(SampleAccurateEvents, ArriveAtTheirFrameWhateverTheBlockSize)
{
    const auto [blockSize, eventFrame] = GetParam();
    auto plugin = preparedFake(blockSize);
    OfflineRenderer renderer(*plugin, blockSize);
    const AudioChannels ones(2, std::vector<float>(300, 1.0f));

    const auto result = renderer.render(ones, {{eventFrame, 0xB0, fake_plugin::volumeController, 0}});

    EXPECT_EQ(result.eventsDelivered, 1u);
    for (const auto& channel : result.output)
    {
        EXPECT_FLOAT_EQ(channel[static_cast<size_t>(eventFrame - 1)], 1.0f);
        EXPECT_FLOAT_EQ(channel[static_cast<size_t>(eventFrame)], 0.0f);
    }
    EXPECT_EQ(plugin->dispatch(Vst2::effVendorSpecific, fake_plugin::queryLastDeltaFrames),
              eventFrame % blockSize);
}

INSTANTIATE_TEST_SUITE_P(Placements, SampleAccurateEvents,
                         ::testing::Values(EventPlacement{64, 100}, EventPlacement{64, 128},
                                           EventPlacement{64, 127}, EventPlacement{1, 5},
                                           EventPlacement{512, 299}));

TEST(OfflineRenderer, FeedsMonoToEveryInputAndAppendsTheTail)
{
    auto plugin = preparedFake(32);
    OfflineRenderer renderer(*plugin, 32);
    const AudioChannels mono{std::vector<float>(100, 0.5f)};

    const auto result = renderer.render(mono, {}, 50);

    ASSERT_EQ(result.output.size(), 2u);
    for (const auto& channel : result.output)
    {
        ASSERT_EQ(channel.size(), 150u);
        EXPECT_FLOAT_EQ(channel[99], 0.5f);
        EXPECT_FLOAT_EQ(channel[100], 0.0f);
    }
}

TEST(OfflineRenderer, KeepsEventsOutsideTheRenderAndOrdersTheRest)
{
    auto plugin = preparedFake(16);
    OfflineRenderer renderer(*plugin, 16);
    const AudioChannels ones(2, std::vector<float>(64, 1.0f));

    // Given out of order: the later event (CC 7 = 127, full gain 2) must win over the earlier mute.
    const auto result = renderer.render(ones, {{40, 0xB0, fake_plugin::volumeController, 127},
                                               {20, 0xB0, fake_plugin::volumeController, 0},
                                               {64, 0xB0, fake_plugin::volumeController, 0},
                                               {1000, 0x90, 60, 100}});

    EXPECT_EQ(result.eventsDelivered, 2u);
    EXPECT_EQ(result.eventsOutsideRender, 2u);
    EXPECT_EQ(plugin->dispatch(Vst2::effVendorSpecific, fake_plugin::queryEventCount), 2);
    EXPECT_FLOAT_EQ(result.output[0][30], 0.0f);
    EXPECT_FLOAT_EQ(result.output[0][63], 2.0f);
}

TEST(OfflineRenderer, AdvancesTheTransportBlockByBlock)
{
    auto plugin = preparedFake(256);
    OfflineRenderer renderer(*plugin, 256);

    renderer.render(AudioChannels(2, std::vector<float>(1000)), {});

    EXPECT_EQ(plugin->dispatch(Vst2::effVendorSpecific, fake_plugin::querySamplePosition), 768)
        << "last block start";
    EXPECT_DOUBLE_EQ(plugin->transport().samplePos, 1000.0);
    EXPECT_EQ(plugin->hostLog().count(Vst2::audioMasterGetTime), 4u);
}

} // namespace
