#include "framework/processor/QuarryEffect.h"

#include <gtest/gtest.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace
{
// A core that writes down every call it receives, in order.
struct RecordingCore : QuarryEffect::Core
{
    RecordingCore() : QuarryEffect::Core(nullptr) {}

    void setParameter(int index, float value) override
    {
        log.push_back("set " + std::to_string(index) + "=" + juce::String(value, 2).toStdString());
    }
    void processStereo(float* left, float* right, int count) override
    {
        log.push_back("stereo " + std::to_string(count));
        firstSamples.push_back(left[0]);
        (void)right;
    }
    void processMono(float* samples, int count) override
    {
        log.push_back("mono " + std::to_string(count));
        firstSamples.push_back(samples[0]);
    }
    void changePreset() override { log.push_back("changePreset"); }
    int setQuality(unsigned code) override
    {
        latency = code != 0 ? 17 : 0;
        return latency;
    }
    int getLatency() const override { return latency; }

    std::vector<std::string> log;
    std::vector<float> firstSamples;
    int latency = 0;
};

class RecordingEffect : public QuarryEffect
{
public:
    RecordingEffect() : QuarryEffect(22, 0) {}

    Core* createCore() override { return recordingCore = new RecordingCore(); }
    bool hasQualitySetting() const override { return true; }
    int getNumHostParameters() const override { return 22; }
    RecordingCore& core() { return *recordingCore; }

    juce::String getDescription() const override { return {}; }
    juce::String getVersionString() const override { return {}; }
    juce::String getFirstYear() const override { return {}; }
    juce::String getReleaseDate() const override { return {}; }
    juce::String getBuildString() const override { return {}; }
    juce::String getPluginFormat() const override { return {}; }
    juce::String getPlatform() const override { return {}; }

    // Every MIDI event goes into the core's log too, so the order of runs and events shows.
protected:
    void handleMidiEvent(const juce::MidiMessageMetadata& event) override
    {
        recordingCore->log.push_back("midi " + std::to_string(event.data[0]) + " " +
                                     std::to_string(event.numBytes > 1 ? event.data[1] : 0));
        QuarryEffect::handleMidiEvent(event);
    }

private:
    RecordingCore* recordingCore = nullptr;
};

struct AutomationRecorder : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        changes.emplace_back(index, value);
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override
    {
        gestures.push_back("begin " + std::to_string(index));
    }
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override
    {
        gestures.push_back("end " + std::to_string(index));
    }
    std::vector<std::pair<int, float>> changes;
    std::vector<std::string> gestures;
};

class ProcessorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        effect = std::make_unique<RecordingEffect>();
        effect->initialise();
        effect->setChangingType(BasePluginOldStyle::silentChanging); // program changes fade via the core
        effect->setPlayConfigDetails(2, 2, 44100.0, 512);
        effect->prepareToPlay(44100.0, 512);
        effect->core().log.clear();
    }

    void process(int numSamples, const juce::MidiBuffer& midi = {}, int channels = 2)
    {
        juce::AudioBuffer<float> buffer(channels, numSamples);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < numSamples; ++i)
                buffer.setSample(c, i, static_cast<float>(i));
        juce::MidiBuffer copy(midi);
        effect->processBlock(buffer, copy);
        lastBuffer = buffer;
    }

    static juce::MidiBuffer programChanges(std::initializer_list<std::pair<int, int>> events)
    {
        juce::MidiBuffer midi;
        for (auto [time, program] : events)
            midi.addEvent(juce::MidiMessage::programChange(1, program), time);
        return midi;
    }

    std::vector<std::string>& log() { return effect->core().log; }

    std::unique_ptr<RecordingEffect> effect;
    juce::AudioBuffer<float> lastBuffer;
};

using Log = std::vector<std::string>;
} // namespace

TEST_F(ProcessorTest, EventAtSampleZeroMakesNoEmptyRun)
{
    process(64, programChanges({{0, 3}}));
    EXPECT_EQ(log(), (Log{"midi 192 3", "changePreset", "stereo 64"}));
    EXPECT_EQ(effect->getCurrentPreset(), 3);
}

TEST_F(ProcessorTest, RunsAreCutAtEventsAndSameSampleEventsKeepHostOrder)
{
    juce::MidiBuffer midi = programChanges({{10, 1}, {10, 2}, {30, 127}, {40, 128 - 1}});
    midi.addEvent(juce::MidiMessage::noteOn(1, 60, 1.0f), 50); // not handled, but still cuts
    process(64, midi);
    EXPECT_EQ(log(), (Log{"stereo 10", "midi 192 1", "changePreset", "midi 192 2", "changePreset", "stereo 20",
                          "midi 192 127", "changePreset", "stereo 10", "midi 192 127", "changePreset",
                          "stereo 10", "midi 144 60", "stereo 14"}));
    // Each run starts where the previous one ended.
    EXPECT_EQ(effect->core().firstSamples, (std::vector<float>{0, 10, 30, 40, 50}));
}

TEST_F(ProcessorTest, LateEventsAreCarriedAndEarlyOnesDropped)
{
    process(32, programChanges({{-1, 9}, {32 + 5, 4}}));
    EXPECT_EQ(log(), (Log{"stereo 32"}));
    log().clear();
    process(32);
    EXPECT_EQ(log(), (Log{"stereo 5", "midi 192 4", "changePreset", "stereo 27"}));
}

TEST_F(ProcessorTest, LongRunsReachTheCoreInPiecesInOrder)
{
    process(10000);
    EXPECT_EQ(log(), (Log{"stereo 4096", "stereo 4096", "stereo 1808"}));
    EXPECT_EQ(effect->core().firstSamples, (std::vector<float>{0, 4096, 8192}));
}

TEST_F(ProcessorTest, MonoInputClearsTheSecondOutputAndProcessesMono)
{
    effect->setPlayConfigDetails(1, 2, 44100.0, 512);
    process(16);
    EXPECT_EQ(log(), (Log{"mono 16"}));
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(lastBuffer.getSample(1, i), 0.0f);
    EXPECT_EQ(lastBuffer.getSample(0, 5), 5.0f);
}

TEST_F(ProcessorTest, ProgramChangesBeyondTheSlotsAreIgnored)
{
    juce::MidiBuffer midi;
    midi.addEvent(juce::MidiMessage::programChange(1, 127), 1);
    const juce::uint8 outOfRange[] = {0xc0, 0x80};
    midi.addEvent(outOfRange, 2, 2);
    process(8, midi);
    EXPECT_EQ(effect->getCurrentPreset(), 127);
    EXPECT_EQ(std::count(log().begin(), log().end(), "changePreset"), 1);
}

TEST_F(ProcessorTest, HostWritesReachTheCoreButAreNotEchoed)
{
    AutomationRecorder host;
    effect->addListener(&host);

    effect->setParameter(5, 0.3f);
    EXPECT_EQ(log(), (Log{"set 5=0.30"}));
    EXPECT_TRUE(host.changes.empty());

    effect->setParameter(5, 0.3f); // unchanged: nobody hears of it
    EXPECT_EQ(log().size(), 1u);

    effect->getParameterSet().setNormalizedValue(5, 0.6f); // any other source is reported
    ASSERT_EQ(host.changes.size(), 1u);
    EXPECT_EQ(host.changes[0].first, 5);
    EXPECT_FLOAT_EQ(host.changes[0].second, 0.6f);

    auto* dynamics = effect->getParameterSet().getParameterByIndex(0);
    dynamics->beginGesture();
    dynamics->endGesture();
    EXPECT_EQ(host.gestures, (Log{"begin 0", "end 0"}));

    effect->getParameterSet().getParameterByIndex(22)->setNormalizedValue(1.0f, true);
    EXPECT_EQ(host.changes.size(), 1u); // Quality has no host index
    effect->removeListener(&host);
}

TEST_F(ProcessorTest, HostParameterTable)
{
    EXPECT_EQ(effect->getNumParameters(), 22);
    EXPECT_EQ(effect->getParameterName(0), "Dynamics");
    EXPECT_EQ(effect->getParameterName(21), "FX");
    EXPECT_EQ(effect->getParameterName(22), "");
    EXPECT_EQ(effect->getParameterName(-1), "");
    effect->getParameterSet().setNormalizedValue(21, 0.25f);
    EXPECT_FLOAT_EQ(effect->getParameter(21), 0.25f);
    EXPECT_FLOAT_EQ(effect->getParameter(22), 0.0f);
    EXPECT_EQ(effect->getParameterText(23), "");
    effect->setParameter(400, 1.0f); // out of range: ignored
    EXPECT_TRUE(effect->isParameterAutomatable(21));
    EXPECT_FALSE(effect->isParameterAutomatable(22));
}

TEST_F(ProcessorTest, QualityReachesTheCoreOnlyWhenPrepared)
{
    auto* quality = effect->getParameterSet().getParameterByName("Quality");
    ASSERT_NE(quality, nullptr);
    quality->setNormalizedValue(0.5f, true); // code 2
    EXPECT_EQ(effect->getQualityCode(), 2u);
    EXPECT_EQ(effect->getLatencySamples(), 0);

    effect->prepareToPlay(48000.0, 256);
    EXPECT_EQ(effect->getLatencySamples(), 17);
    quality->setNormalizedValue(0.0f, true);
    effect->prepareToPlay(48000.0, 256);
    EXPECT_EQ(effect->getLatencySamples(), 0);
}

TEST(QualityCode, RoundsToTheNearestLevel)
{
    struct Case
    {
        float normalized;
        unsigned code;
    };
    for (const auto& c : {Case{0.0f, 0}, Case{0.16f, 0}, Case{0.1667f, 1}, Case{0.33333334f, 1}, Case{0.5f, 2},
                          Case{0.6666667f, 2}, Case{0.84f, 3}, Case{1.0f, 3}})
        EXPECT_EQ(QuarryEffect::qualityCodeOf(c.normalized), c.code) << c.normalized;
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
