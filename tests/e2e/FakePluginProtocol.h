// How tests question the fake plug-in about what it saw: effVendorSpecific with one of these indices.
#pragma once

namespace fake_plugin
{

enum Query
{
    querySamplePosition = 0x46535031, // samplePos of the last audioMasterGetTime answer, -1 if none
    queryHostVersion = 0x46485631,    // what audioMasterVersion answered in VSTPluginMain
    queryEventCount = 0x46455631,     // MIDI events received so far
    queryLastDeltaFrames = 0x46444631 // deltaFrames of the last MIDI event received
};

enum Parameter
{
    gainParameter = 0,     // output = input * value * 2; MIDI CC 7 sets it sample-accurately
    latencyParameter = 1,  // initialDelay = round(value * 100), announced with audioMasterIOChanged
    longNameParameter = 2, // unused by the audio; its name and display text exceed the VST limits
    parameterCount = 3
};

constexpr int volumeController = 7;

} // namespace fake_plugin
