#pragma once

#include <juce_core/juce_core.h>

// The file of the loaded plug-in module (the library that contains this code).
juce::File getPluginModuleFile();
