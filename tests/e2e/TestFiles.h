#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace e2e
{

struct WavContents
{
    int formatTag = 0; // 1 PCM, 3 IEEE float (the sub-format for WAVE_FORMAT_EXTENSIBLE)
    int bitsPerSample = 0;
    int sampleRate = 0;
    std::vector<std::vector<float>> channels;
};

// Reads PCM 16-bit and float 32-bit WAV files, plain or extensible; fails the current test otherwise.
WavContents readWav(const std::filesystem::path& path);
void writeFloatWav(const std::filesystem::path& path, const std::vector<std::vector<float>>& channels,
                   int sampleRate);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    std::filesystem::path file(const std::string& name) const { return folder / name; }

private:
    std::filesystem::path folder;
};

struct CommandResult
{
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

// Runs an executable with arguments (each quoted for the shell).
CommandResult runCommand(const std::string& executable, const std::vector<std::string>& arguments);

} // namespace e2e
