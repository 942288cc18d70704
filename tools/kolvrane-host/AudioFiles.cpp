#include "AudioFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <stdexcept>

namespace kolvrane::cli
{

AudioFileContents readAudioFile(const std::string& path)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(path);
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    if (reader == nullptr)
        throw std::runtime_error("cannot read audio file " + path);
    if (reader->lengthInSamples > std::numeric_limits<int>::max() || reader->numChannels == 0)
        throw std::runtime_error("unsupported audio file " + path);

    const int frames = static_cast<int>(reader->lengthInSamples);
    const int channelCount = static_cast<int>(reader->numChannels);
    juce::AudioBuffer<float> buffer(channelCount, frames);
    if (!reader->read(&buffer, 0, frames, 0, true, true))
        throw std::runtime_error("cannot read the samples of " + path);

    AudioFileContents contents;
    contents.sampleRate = reader->sampleRate;
    for (int c = 0; c < channelCount; ++c)
        contents.channels.emplace_back(buffer.getReadPointer(c), buffer.getReadPointer(c) + frames);
    return contents;
}

void writeFloatWav(const std::string& path, const vsthost::AudioChannels& channels, double sampleRate)
{
    const juce::File file = juce::File::getCurrentWorkingDirectory().getChildFile(path);
    file.deleteFile();
    auto stream = std::make_unique<juce::FileOutputStream>(file);
    if (!stream->openedOk())
        throw std::runtime_error("cannot create " + path);

    juce::WavAudioFormat wav;
    const auto channelCount = static_cast<unsigned int>(channels.size());
    // JUCE's WAV writer stores 32-bit samples as IEEE float.
    std::unique_ptr<juce::AudioFormatWriter> writer(
        wav.createWriterFor(stream.get(), sampleRate, channelCount, 32, {}, 0));
    if (writer == nullptr)
        throw std::runtime_error("cannot write WAV " + path);
    stream.release(); // the writer owns the stream now

    std::vector<const float*> pointers;
    for (const auto& channel : channels)
        pointers.push_back(channel.data());
    const int frames = channels.empty() ? 0 : static_cast<int>(channels.front().size());
    if (!writer->writeFromFloatArrays(pointers.data(), static_cast<int>(channelCount), frames))
        throw std::runtime_error("cannot write the samples of " + path);
    if (!writer->flush())
        throw std::runtime_error("cannot finish " + path);
}

} // namespace kolvrane::cli
