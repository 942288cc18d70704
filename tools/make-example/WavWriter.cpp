#include "WavWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace kolvrane::example
{
namespace
{

// WAV fields are little-endian whatever the machine.
void putLittleEndian(std::string& bytes, uint32_t value, int byteCount)
{
    for (int i = 0; i < byteCount; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xffu);
}

int16_t toPcm16(float sample)
{
    const double scaled = std::round(static_cast<double>(sample) * 32767.0);
    return static_cast<int16_t>(std::clamp(scaled, -32768.0, 32767.0));
}

} // namespace

bool writePcm16Wav(const std::string& path, const StereoSignal& signal)
{
    constexpr uint32_t channels = 2;
    constexpr uint32_t bytesPerSample = 2;
    const auto frames = static_cast<uint32_t>(signal.left.size());
    const uint32_t dataBytes = frames * channels * bytesPerSample;
    const auto rate = static_cast<uint32_t>(signal.sampleRate);

    std::string bytes = "RIFF";
    putLittleEndian(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    putLittleEndian(bytes, 16, 4);
    putLittleEndian(bytes, 1, 2); // PCM
    putLittleEndian(bytes, channels, 2);
    putLittleEndian(bytes, rate, 4);
    putLittleEndian(bytes, rate * channels * bytesPerSample, 4);
    putLittleEndian(bytes, channels * bytesPerSample, 2);
    putLittleEndian(bytes, bytesPerSample * 8, 2);
    bytes += "data";
    putLittleEndian(bytes, dataBytes, 4);
    for (uint32_t i = 0; i < frames; ++i)
    {
        putLittleEndian(bytes, static_cast<uint16_t>(toPcm16(signal.left[i])), 2);
        putLittleEndian(bytes, static_cast<uint16_t>(toPcm16(signal.right[i])), 2);
    }

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

} // namespace kolvrane::example
