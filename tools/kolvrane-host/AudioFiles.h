#pragma once

#include "kolvrane/vsthost/OfflineRenderer.h"

#include <string>

namespace kolvrane::cli
{

struct AudioFileContents
{
    vsthost::AudioChannels channels;
    double sampleRate = 0.0;
};

// Reads WAV or AIFF. Throws std::runtime_error when the file cannot be read.
AudioFileContents readAudioFile(const std::string& path);

// Writes a 32-bit float WAV. Throws std::runtime_error on failure.
void writeFloatWav(const std::string& path, const vsthost::AudioChannels& channels, double sampleRate);

} // namespace kolvrane::cli
