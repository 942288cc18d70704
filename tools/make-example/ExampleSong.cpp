#include "ExampleSong.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kolvrane::example
{
namespace
{

constexpr double pi = 3.14159265358979323846;
constexpr double tempo = 120.0;
constexpr int bars = 2;
constexpr double ringOutSeconds = 0.5;
constexpr double peakLevel = 0.89; // about -1 dBFS

// A fixed-seed generator, so the noise of the drums is identical everywhere.
class NoiseSource
{
public:
    double next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state = 0x2545F491u;
};

double midiToHz(int note)
{
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

class Mixer
{
public:
    Mixer(int frames) : left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames)) {}

    void add(int64_t frame, double sample, double pan)
    {
        if (frame < 0 || frame >= static_cast<int64_t>(left.size()))
            return;
        left[static_cast<size_t>(frame)] += sample * std::cos((pan + 1.0) * pi / 4.0);
        right[static_cast<size_t>(frame)] += sample * std::sin((pan + 1.0) * pi / 4.0);
    }

    std::vector<double> left;
    std::vector<double> right;
};

class SongRenderer
{
public:
    SongRenderer(int sampleRate, Mixer& mixer) : rate(sampleRate), mixer(mixer) {}

    int64_t frameOfSixteenth(int sixteenth) const
    {
        return static_cast<int64_t>(std::llround(sixteenth * 60.0 / tempo / 4.0 * rate));
    }

    void kick(int64_t start)
    {
        double phase = 0.0;
        const int length = rate / 2;
        for (int i = 0; i < length; ++i)
        {
            const double t = static_cast<double>(i) / rate;
            const double frequency = 48.0 + 110.0 * std::exp(-t * 30.0);
            phase += 2.0 * pi * frequency / rate;
            mixer.add(start + i, 0.9 * std::sin(phase) * std::exp(-t * 7.0), 0.0);
        }
    }

    void snare(int64_t start)
    {
        double lowpassed = 0.0;
        const int length = rate / 4;
        for (int i = 0; i < length; ++i)
        {
            const double t = static_cast<double>(i) / rate;
            const double white = noise.next();
            lowpassed += 0.35 * (white - lowpassed);
            const double body = std::sin(2.0 * pi * 185.0 * t) * std::exp(-t * 25.0);
            const double rattle = (white - lowpassed) * std::exp(-t * 14.0);
            mixer.add(start + i, 0.35 * body + 0.45 * rattle, -0.25);
        }
    }

    void hat(int64_t start, bool open)
    {
        double previous = 0.0;
        const double decay = open ? 9.0 : 45.0;
        const int length = open ? rate / 3 : rate / 12;
        for (int i = 0; i < length; ++i)
        {
            const double t = static_cast<double>(i) / rate;
            const double white = noise.next();
            const double highpassed = white - previous; // first difference: mostly highs
            previous = white;
            mixer.add(start + i, 0.12 * highpassed * std::exp(-t * decay), 0.35);
        }
    }

    // A band-limited saw through two one-pole low-passes whose cutoff follows a decaying envelope.
    void bassNote(int64_t start, int note, int64_t length)
    {
        const double frequency = midiToHz(note);
        const int harmonics = std::max(1, static_cast<int>(rate / 2.0 / frequency) - 1);
        double stage1 = 0.0;
        double stage2 = 0.0;
        for (int64_t i = 0; i < length + rate / 50; ++i)
        {
            const double t = static_cast<double>(i) / rate;
            double saw = 0.0;
            for (int h = 1; h <= std::min(harmonics, 40); ++h)
                saw += std::sin(2.0 * pi * frequency * h * t) / h;
            const double cutoff = 180.0 + 1400.0 * std::exp(-t * 12.0);
            const double coefficient = 1.0 - std::exp(-2.0 * pi * cutoff / rate);
            stage1 += coefficient * (saw - stage1);
            stage2 += coefficient * (stage1 - stage2);
            const double attack = std::min(1.0, t / 0.004);
            const double release = i < length ? 1.0 : 1.0 - static_cast<double>(i - length) / (rate / 50.0);
            mixer.add(start + i, 0.45 * stage2 * attack * release, 0.0);
        }
    }

private:
    int rate;
    Mixer& mixer;
    NoiseSource noise;
};

void renderPattern(SongRenderer& song)
{
    // Eighth-note bass line in E minor, one entry per eighth; 0 is a rest.
    static const int bassLine[bars * 8] = {40, 40, 52, 40, 43, 40, 47, 45, 40, 40, 52, 40, 43, 45, 47, 50};
    for (int eighth = 0; eighth < bars * 8; ++eighth)
    {
        if (bassLine[eighth] == 0)
            continue;
        const int64_t start = song.frameOfSixteenth(eighth * 2);
        const int64_t length = song.frameOfSixteenth(eighth * 2 + 2) - start - song.frameOfSixteenth(1) / 4;
        song.bassNote(start, bassLine[eighth], length);
    }

    for (int bar = 0; bar < bars; ++bar)
    {
        const int first = bar * 16;
        song.kick(song.frameOfSixteenth(first));
        song.kick(song.frameOfSixteenth(first + 8));
        if (bar == bars - 1)
            song.kick(song.frameOfSixteenth(first + 10));
        song.snare(song.frameOfSixteenth(first + 4));
        song.snare(song.frameOfSixteenth(first + 12));
        for (int eighth = 0; eighth < 8; ++eighth)
            song.hat(song.frameOfSixteenth(first + eighth * 2), bar == bars - 1 && eighth == 7);
    }
}

std::vector<float> normalized(const std::vector<double>& channel, double gain)
{
    std::vector<float> out(channel.size());
    std::transform(channel.begin(), channel.end(), out.begin(),
                   [gain](double sample) { return static_cast<float>(sample * gain); });
    return out;
}

} // namespace

StereoSignal renderBasslineAndDrums(int sampleRate)
{
    const double seconds = bars * 4 * 60.0 / tempo + ringOutSeconds;
    Mixer mixer(static_cast<int>(std::llround(seconds * sampleRate)));
    SongRenderer song(sampleRate, mixer);
    renderPattern(song);

    double peak = 1.0e-9;
    for (size_t i = 0; i < mixer.left.size(); ++i)
        peak = std::max({peak, std::abs(mixer.left[i]), std::abs(mixer.right[i])});

    StereoSignal signal;
    signal.sampleRate = sampleRate;
    signal.left = normalized(mixer.left, peakLevel / peak);
    signal.right = normalized(mixer.right, peakLevel / peak);
    return signal;
}

} // namespace kolvrane::example
