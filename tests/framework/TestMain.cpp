#include "framework/platform/ModuleLocation.h"

#include <juce_events/juce_events.h>
#include <gtest/gtest.h>

// JUCE's message manager must exist for asynchronous notifications and components.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    juce::ScopedJuceInitialiser_GUI juceRuntime;

    // Each test process gets a plug-in folder of its own, so settings files never leak
    // from one test into another.
    const juce::TemporaryFile folder;
    folder.getFile().createDirectory();
    overridePluginModuleFile(folder.getFile().getChildFile("Kolvrane.so"));
    const int result = RUN_ALL_TESTS();
    folder.getFile().deleteRecursively();
    return result;
}
