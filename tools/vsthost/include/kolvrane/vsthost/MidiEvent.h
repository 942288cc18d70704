#pragma once

#include <cstdint>

namespace kolvrane::vsthost
{

// A short MIDI message at a frame position. For VstPlugin::processEvents the position is relative to the
// next processed block; for OfflineRenderer it counts from the start of the render.
struct MidiEvent
{
    int64_t frame = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

} // namespace kolvrane::vsthost
