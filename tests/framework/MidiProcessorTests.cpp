#include "AllocationCounter.h"
#include "framework/processor/PluginEntry.h"
#include "product/Kolvrane.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace
{
constexpr int outputVolumeIndex = 19;

std::unique_ptr<Kolvrane> createKolvrane()
{
    auto plugin = std::unique_ptr<Kolvrane>(static_cast<Kolvrane*>(createInitialisedPlugin<Kolvrane>()));
    plugin->setPlayConfigDetails(2, 2, 44100.0, 512);
    plugin->prepareToPlay(44100.0, 512);
    return plugin;
}

juce::AudioBuffer<float> noise(int numSamples)
{
    juce::Random random(11);
    juce::AudioBuffer<float> buffer(2, numSamples);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < numSamples; ++i)
            buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
    return buffer;
}

// What the host hears: automation from the plug-in, with the value the parameter has then.
struct HostRecorder : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override
    {
        changes.emplace_back(index, value);
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}
    std::vector<std::pair<int, float>> changes;
};

void process(Kolvrane& plugin, juce::AudioBuffer<float>& buffer, int start, int count,
             juce::MidiBuffer midi = {})
{
    juce::AudioBuffer<float> part(buffer.getArrayOfWritePointers(), 2, start, count);
    plugin.processBlock(part, midi);
}
} // namespace

// The core is deterministic, so a control change at sample j must give exactly the output of
// stopping at j, setting the parameter, and going on; one sample earlier or later must not.
TEST(MidiControlProcessing, ControlChangeMovesItsParameterAtItsSample)
{
    constexpr int blockSize = 256, eventSample = 100;
    const auto input = noise(blockSize);

    auto reference = input;
    auto expected = createKolvrane();
    process(*expected, reference, 0, eventSample);
    expected->getParameterSet().setNormalizedValue(outputVolumeIndex, 0.0f);
    process(*expected, reference, eventSample, blockSize - eventSample);

    const auto renderWithControlChangeAt = [&](int sample, HostRecorder* host)
    {
        auto output = input;
        auto plugin = createKolvrane();
        if (host != nullptr)
            plugin->addListener(host);
        plugin->getMidiControl().assign(74, plugin->getParameterSet().getParameterByIndex(outputVolumeIndex),
                                        false);
        juce::MidiBuffer events;
        events.addEvent(juce::MidiMessage::controllerEvent(10, 74, 0), sample);
        events.addEvent(juce::MidiMessage::controllerEvent(3, 75, 127), sample - 40); // unassigned
        process(*plugin, output, 0, blockSize, events);
        EXPECT_EQ(plugin->getParameterSet().getNormalizedValue(outputVolumeIndex), 0.0f);
        if (host != nullptr)
            plugin->removeListener(host);
        return output;
    };
    const auto sameSamples =
        [](const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int count)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < count; ++i)
                if (a.getSample(c, i) != b.getSample(c, i))
                    return false;
        return true;
    };

    HostRecorder host;
    const auto viaMidi = renderWithControlChangeAt(eventSample, &host);
    EXPECT_EQ(host.changes, (std::vector<std::pair<int, float>>{{outputVolumeIndex, 0.0f}}));
    EXPECT_TRUE(sameSamples(viaMidi, reference, blockSize));
    EXPECT_FALSE(sameSamples(renderWithControlChangeAt(eventSample - 1, nullptr), reference, blockSize));
    EXPECT_FALSE(sameSamples(renderWithControlChangeAt(eventSample + 1, nullptr), reference, blockSize));

    auto untouched = input;
    auto plain = createKolvrane();
    process(*plain, untouched, 0, blockSize);
    EXPECT_TRUE(sameSamples(viaMidi, untouched, eventSample));
    EXPECT_FALSE(sameSamples(viaMidi, untouched, blockSize));
}

// Updates already pending on the message thread are the steady state between two of its
// rounds; what is counted here is MidiControl's own work on the audio path.
TEST(MidiControlProcessing, HandlingControlChangesAllocatesNothing)
{
    auto plugin = createKolvrane();
    auto& midi = plugin->getMidiControl();
    auto& set = plugin->getParameterSet();
    for (int index = 0; index < KolvraneParameter::hostCount; ++index)
        midi.assign(index, set.getParameterByIndex(index), false);

    const auto controlChange = [](int controller, int value)
    { return juce::MidiMessage::controllerEvent(5, controller, value); };
    for (bool learning : {false, true})
    {
        midi.setLearnMode(learning);
        midi.learnParameterMoved(set.getParameterByIndex(3));
        for (int controller = 0; controller < MidiControl::numControllers; ++controller)
            midi.handleMidiMessage(controlChange(controller, 1)); // warm: every update now pending

        AllocationCounter counter;
        for (int round = 0; round < 3; ++round)
            for (int controller = 0; controller < MidiControl::numControllers; ++controller)
                midi.handleMidiMessage(controlChange(controller, (controller + round) & 0x7f));
        EXPECT_EQ(counter.count(), 0) << (learning ? "learning" : "playing");
    }
}

// The audio thread plays control changes through processBlock while the message thread swaps
// maps, toggles learn mode, learns and writes parameters. Every map seen must be one of the
// two loaded, whole.
TEST(MidiControlProcessing, ConcurrentPlayingAndMapChangesStayConsistent)
{
    auto plugin = createKolvrane();
    auto& midi = plugin->getMidiControl();
    auto& set = plugin->getParameterSet();

    constexpr int numAssigned = 20;
    juce::XmlElement forward("MidiControlMap"), backward("MidiControlMap");
    for (auto* map : {&forward, &backward})
        map->setAttribute("name", "Kolvrane");
    for (int c = 0; c < numAssigned; ++c)
    {
        auto* f = forward.createNewChildElement("assign");
        f->setAttribute("CC", c + 1);
        f->setAttribute("param", set.getName(c));
        auto* b = backward.createNewChildElement("assign");
        b->setAttribute("CC", c + 1);
        b->setAttribute("param", set.getName(numAssigned - 1 - c));
    }

    // Like the editor, which reads display texts (processor lock) when the learn state changes.
    struct TextReader : MidiControl::Listener
    {
        explicit TextReader(Kolvrane& p) : plugin(p) {}
        void learnStateChanged(MidiControl* control) override
        {
            texts += control->getLearnStatusText().length() + plugin.getParameterText(1).length();
        }
        Kolvrane& plugin;
        int texts = 0;
    } reader(*plugin);
    midi.addListener(&reader);
    midi.loadMap(forward);

    const auto isWholeMap = [&](bool& forwardMap)
    {
        const juce::ScopedLock locked(midi.getLock());
        int count = 0;
        bool matchesForward = true, matchesBackward = true;
        for (int c = 0; c < MidiControl::numControllers; ++c)
            if (auto* p = midi.getParameterOf(c))
            {
                ++count;
                matchesForward = matchesForward && p->getIndex() == c - 1;
                matchesBackward = matchesBackward && p->getIndex() == numAssigned - c;
            }
        forwardMap = matchesForward;
        return count == numAssigned && count == midi.getAssignedCount() &&
               (matchesForward || matchesBackward);
    };

    std::atomic<bool> stop{false};
    std::atomic<int> tornMaps{0};
    std::atomic<int> blocks{0};
    std::thread audio(
        [&]
        {
            juce::AudioBuffer<float> buffer(2, 64);
            juce::MidiBuffer events;
            events.ensureSize(2048);
            for (int round = 0; !stop.load(); ++round)
            {
                buffer.clear();
                events.clear();
                for (int i = 0; i < 32; ++i)
                    events.addEvent(juce::MidiMessage::controllerEvent(
                                        1 + i % 16, 1 + (round + i) % numAssigned, (round * 7 + i) & 0x7f),
                                    i * 2);
                plugin->processBlock(buffer, events);
                bool forwardMap = false;
                if (!isWholeMap(forwardMap))
                    tornMaps.fetch_add(1);
                blocks.fetch_add(1);
            }
        });

    // At least 400 rounds, and long enough for the audio thread to play a few thousand blocks.
    int rounds = 0, forwardSeen = 0;
    for (; rounds < 400 || blocks.load() < 3000; ++rounds)
    {
        midi.loadMap(rounds % 2 == 0 ? backward : forward);
        midi.setLearnMode(true);
        midi.learnParameterMoved(set.getParameterByIndex(rounds % numAssigned));
        plugin->setParameter(rounds % KolvraneParameter::hostCount, static_cast<float>(rounds % 10) / 10.0f);
        bool forwardMap = false;
        ASSERT_TRUE(isWholeMap(forwardMap)) << "round " << rounds;
        forwardSeen += forwardMap ? 1 : 0;
        midi.setLearnMode(false);
        midi.handleUpdateNowIfNeeded();
    }
    stop.store(true);
    audio.join();

    EXPECT_EQ(tornMaps.load(), 0);
    EXPECT_EQ(forwardSeen, rounds / 2);
    EXPECT_GT(reader.texts, 0);
    midi.removeListener(&reader);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
