#include <juce_events/juce_events.h>
#include <gtest/gtest.h>

// JUCE's message manager must exist for asynchronous notifications and components.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    juce::ScopedJuceInitialiser_GUI juceRuntime;
    return RUN_ALL_TESTS();
}
