#pragma once

#include "kolvrane/vsthost/MidiEvent.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kolvrane::vsthost
{

class VstPlugin;

using AudioChannels = std::vector<std::vector<float>>;

struct RenderResult
{
    AudioChannels output; // one vector per plug-in output
    size_t eventsDelivered = 0;
    size_t eventsOutsideRender = 0; // at or after the last rendered frame, never sent
};

// Runs a whole signal through a plug-in block by block, as a host's audio thread would: each block's
// MIDI events go out through effProcessEvents first, with deltaFrames relative to the block, and the
// host transport's sample position follows the rendered frames. The plug-in must be prepared
// (sample rate, block size, resumed) before render().
class OfflineRenderer
{
public:
    OfflineRenderer(VstPlugin& plugin, int32_t blockSize);

    // Input channels are of equal length; plug-in input k reads input channel k modulo the channel
    // count, so a mono signal feeds every input. `tailFrames` of silence follow the input.
    RenderResult render(const AudioChannels& input, std::vector<MidiEvent> events, int64_t tailFrames = 0);

private:
    void renderBlock(const AudioChannels& input, int64_t start, int32_t frames, RenderResult& result);

    VstPlugin& plugin;
    int32_t blockSize;
    AudioChannels inputBlock;
    AudioChannels outputBlock;
    std::vector<float*> inputPointers;
    std::vector<float*> outputPointers;
};

} // namespace kolvrane::vsthost
