#pragma once

#include "ExampleSong.h"

#include <string>

namespace kolvrane::example
{

// Writes 16-bit PCM stereo WAV (samples rounded, no dither, so the output is reproducible).
// Returns false when the file cannot be written.
bool writePcm16Wav(const std::string& path, const StereoSignal& signal);

} // namespace kolvrane::example
