#pragma once

class BasePlugin;

// Which processor sits behind which VST record. JUCE's wrapper keeps its processor to itself,
// and only stores some host requests until the next resume; the entry layer passes those on.
// Used on the host's threads that create, configure and close instances, never on the audio
// thread.
namespace PluginInstances
{
// The start-up sequence notes the processor it made; the entry layer takes it on the same
// thread once the wrapper exists.
void noteCreated(BasePlugin* plugin) noexcept;
BasePlugin* takeCreated() noexcept;

void add(const void* effect, BasePlugin* plugin);
void remove(const void* effect);

// Passes the host's new rate to the processor behind effect, if it is one of ours.
void sampleRateChanged(const void* effect, double newRate);
} // namespace PluginInstances
