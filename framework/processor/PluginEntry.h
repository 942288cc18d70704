#pragma once

#include "framework/platform/ModuleLocation.h"
#include "framework/processor/BasePlugin.h"
#include "framework/processor/PluginInstances.h"

// The start-up sequence after the host has answered the version query: construction, the
// post-construction step, `initialise`, then the persistent editor. JUCE's wrapper is created
// around the result by the caller.
template <typename Processor> juce::AudioProcessor* createInitialisedPlugin()
{
    auto processor = std::make_unique<Processor>();
    processor->setPluginLocation(getPluginModuleFile());
    processor->initialise();
    processor->createPersistentEditor();
    PluginInstances::noteCreated(processor.get());
    return processor.release();
}
