#include "TestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace e2e
{
namespace
{

uint32_t readLittleEndian(const std::vector<uint8_t>& bytes, size_t at, int count)
{
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | bytes.at(at + static_cast<size_t>(i));
    return value;
}

void putLittleEndian(std::string& out, uint32_t value, int count)
{
    for (int i = 0; i < count; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xffu);
}

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

WavContents readWav(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    WavContents wav;
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(&bytes[8], "WAVE", 4) != 0)
    {
        ADD_FAILURE() << path << " is not a RIFF WAVE file";
        return wav;
    }

    int channelCount = 0;
    for (size_t at = 12; at + 8 <= bytes.size();)
    {
        const std::string id(reinterpret_cast<const char*>(&bytes[at]), 4);
        const uint32_t size = readLittleEndian(bytes, at + 4, 4);
        const size_t body = at + 8;
        if (id == "fmt ")
        {
            wav.formatTag = static_cast<int>(readLittleEndian(bytes, body, 2));
            channelCount = static_cast<int>(readLittleEndian(bytes, body + 2, 2));
            wav.sampleRate = static_cast<int>(readLittleEndian(bytes, body + 4, 4));
            wav.bitsPerSample = static_cast<int>(readLittleEndian(bytes, body + 14, 2));
            if (wav.formatTag == 0xFFFE) // extensible: the sub-format GUID starts with the tag
                wav.formatTag = static_cast<int>(readLittleEndian(bytes, body + 24, 2));
        }
        else if (id == "data" && channelCount > 0)
        {
            const size_t frameBytes = static_cast<size_t>(channelCount * wav.bitsPerSample / 8);
            const size_t frames = std::min<size_t>(size, bytes.size() - body) / frameBytes;
            wav.channels.assign(static_cast<size_t>(channelCount), std::vector<float>(frames));
            for (size_t f = 0; f < frames; ++f)
                for (size_t c = 0; c < static_cast<size_t>(channelCount); ++c)
                {
                    const size_t offset =
                        body + f * frameBytes + c * static_cast<size_t>(wav.bitsPerSample / 8);
                    if (wav.formatTag == 3 && wav.bitsPerSample == 32)
                    {
                        const uint32_t bits = readLittleEndian(bytes, offset, 4);
                        std::memcpy(&wav.channels[c][f], &bits, 4);
                    }
                    else if (wav.formatTag == 1 && wav.bitsPerSample == 16)
                        wav.channels[c][f] =
                            static_cast<int16_t>(readLittleEndian(bytes, offset, 2)) / 32768.0f;
                    else
                        ADD_FAILURE() << "unsupported WAV sample format in " << path;
                }
        }
        at = body + size + (size & 1u);
    }
    return wav;
}

void writeFloatWav(const std::filesystem::path& path, const std::vector<std::vector<float>>& channels,
                   int sampleRate)
{
    const auto channelCount = static_cast<uint32_t>(channels.size());
    const auto frames = static_cast<uint32_t>(channels.front().size());
    const uint32_t dataBytes = frames * channelCount * 4;
    std::string out = "RIFF";
    putLittleEndian(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 3, 2);
    putLittleEndian(out, channelCount, 2);
    putLittleEndian(out, static_cast<uint32_t>(sampleRate), 4);
    putLittleEndian(out, static_cast<uint32_t>(sampleRate) * channelCount * 4, 4);
    putLittleEndian(out, channelCount * 4, 2);
    putLittleEndian(out, 32, 2);
    out += "data";
    putLittleEndian(out, dataBytes, 4);
    for (uint32_t f = 0; f < frames; ++f)
        for (const auto& channel : channels)
        {
            uint32_t bits = 0;
            std::memcpy(&bits, &channel[f], 4);
            putLittleEndian(out, bits, 4);
        }
    std::ofstream(path, std::ios::binary).write(out.data(), static_cast<std::streamsize>(out.size()));
}

ScratchFolder::ScratchFolder()
{
    static std::atomic<int> counter{0};
    folder = std::filesystem::temp_directory_path() /
             ("kolvrane-host-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(folder);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

CommandResult runCommand(const std::string& executable, const std::vector<std::string>& arguments)
{
    std::string command = shellQuoted(executable);
    for (const auto& argument : arguments)
        command += " " + shellQuoted(argument);
    command += " 2>&1";

    CommandResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    std::array<char, 4096> buffer{};
    while (size_t read = std::fread(buffer.data(), 1, buffer.size(), pipe))
        result.output.append(buffer.data(), read);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

} // namespace e2e
