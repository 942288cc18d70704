#pragma once

#include <juce_core/juce_core.h>

// The file of the loaded plug-in module (the library that contains this code).
juce::File getPluginModuleFile();

// Code linked statically into a program (the test suites) has no module of its own: this
// names the file to report instead, so its settings file lands in a folder of its choosing.
void overridePluginModuleFile(const juce::File& file);
