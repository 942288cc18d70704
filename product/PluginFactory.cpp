// JUCE's wrapper asks for the processor here, once the host has answered the version query.
#include "framework/processor/PluginEntry.h"
#include "product/Kolvrane.h"

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return createInitialisedPlugin<Kolvrane>();
}
