#include "AllocationCounter.h"
#include "framework/gui/editor/BasePluginEditor.h"
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

void fillWithNoise(juce::AudioBuffer<float>& buffer, juce::Random& random)
{
    for (int c = 0; c < buffer.getNumChannels(); ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
}
} // namespace

TEST(Kolvrane, IdentityAndStartUpState)
{
    auto plugin = createKolvrane();
    EXPECT_EQ(plugin->getName(), "Kolvrane");
    EXPECT_EQ(plugin->getProductCode(), "KV");
    EXPECT_EQ(plugin->getDescription(), "Multiband Distortion Unit");
    EXPECT_EQ(plugin->getVersionString(), "1.3.1");
    EXPECT_EQ(plugin->getBuildString(), "409.1304");
    EXPECT_TRUE(plugin->getPluginFile().isNotEmpty());
    EXPECT_EQ(plugin->getNumParameters(), 22);
    EXPECT_EQ(plugin->getNumPrograms(), 0);
    EXPECT_EQ(plugin->getInputChannelName(1), "2");
    EXPECT_NE(plugin->getCore(), nullptr);
    EXPECT_EQ(plugin->getEventsMap().findId("Toggle Distortion Function"), 0);
    EXPECT_EQ(plugin->getEventsMap().findId("Options"), 1000);
}

TEST(Kolvrane, EditorComponentOutlivesHostWindows)
{
    auto plugin = createKolvrane();
    auto* component = plugin->getEditorComponent();
    ASSERT_NE(component, nullptr);
    EXPECT_TRUE(component->isTimerRunning());

    for (int round = 0; round < 2; ++round)
    {
        std::unique_ptr<juce::AudioProcessorEditor> window(plugin->createEditor());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->getNumChildComponents(), 1);
        EXPECT_EQ(window->getChildComponent(0), component);
        EXPECT_TRUE(component->isVisible());
        EXPECT_EQ(window->getWidth(), component->getWidth());
    }
    EXPECT_EQ(plugin->getEditorComponent(), component);
    EXPECT_FALSE(component->isVisible());
    EXPECT_EQ(component->getParentComponent(), nullptr);
}

TEST(Kolvrane, ToggleDistortionFunctionStepsThroughSixPositions)
{
    auto plugin = createKolvrane();
    auto* function = plugin->getParameterSet().getParameterByIndex(KolvraneParameter::distortionFunction);
    struct Case
    {
        float from, to;
    };
    for (const auto& c : {Case{1.0f, 0.0f}, Case{0.0f, 0.2f}, Case{0.55f, 0.8f}, Case{0.4f, 0.6f}})
    {
        function->setNormalizedValue(c.from, true);
        plugin->handleEvent(Kolvrane::toggleDistortionFunction);
        EXPECT_FLOAT_EQ(function->getNormalizedValue(), c.to) << c.from;
    }
    plugin->handleEvent(EventsMap::savePreset); // no action
    EXPECT_FLOAT_EQ(function->getNormalizedValue(), 0.6f);
}

TEST(Kolvrane, ProcessBlockAllocatesNothing)
{
    auto plugin = createKolvrane();
    plugin->setPlayConfigDetails(2, 2, 44100.0, 512);
    plugin->prepareToPlay(44100.0, 512);

    // Controls listening later and a mapped controller: the MIDI path notifies them all.
    struct Control : Parameter::Listener
    {
        void parameterChanged(Parameter*) override {}
    } control;
    plugin->getParameterSet().addAsyncListenerToAll(&control);
    plugin->getMidiControl().assign(7, plugin->getParameterSet().getParameterByIndex(1), false);

    juce::Random random(7);
    juce::AudioBuffer<float> buffer(2, 8192);
    juce::MidiBuffer midi;
    midi.ensureSize(4096);

    for (int round = 0; round < 2; ++round)
        for (int size : {1, 17, 512, 4096, 8192})
        {
            buffer.setSize(2, size, false, false, true);
            fillWithNoise(buffer, random);
            midi.clear();
            midi.addEvent(juce::MidiMessage::programChange(1, 3), 0);
            midi.addEvent(juce::MidiMessage::controllerEvent(1, 7, 64), size / 2);
            midi.addEvent(juce::MidiMessage::noteOn(1, 64, 1.0f), size + 3); // carried over

            AllocationCounter counter;
            plugin->processBlock(buffer, midi);
            EXPECT_EQ(counter.count(), 0) << "block of " << size;
        }
    plugin->getParameterSet().removeAsyncListenerFromAll(&control);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
