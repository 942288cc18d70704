#pragma once

#include "dsp/Branchless.h"
#include "dsp/Tables.h"

// Feed-forward compressor with a 10:1 ratio above the Dynamics threshold; one gain for all channels.
class Compressor
{
public:
    Compressor(const LevelToDbTable& levelToDb, const DbToGainTable& dbToGain);

    void setThresholdDb(double thresholdDb) { threshold = thresholdDb; }
    double getThresholdDb() const { return threshold; }

    // Resets the envelope and derives the 1 ms attack and 50 ms release from the rate.
    void prepare(double rate);

    // detector: the largest absolute input sample; makeup: the smoothed linear makeup gain.
    double computeGain(double detector, double makeup)
    {
        advanceEnvelope(levelOverThreshold(detector));
        return gainFor(envelope, makeup);
    }

    // The same for a block: values holds the detectors on entry and the gains on return.
    // The table lookups are taken off the envelope's per-sample dependency chain.
    void computeGains(double* values, const double* makeups, int count)
    {
        for (int i = 0; i < count; ++i)
            values[i] = levelOverThreshold(values[i]);
        // The envelope in a local: its chain stays in registers and the attack/release choice
        // is a select, not a branch that loud material mispredicts.
        double level = envelope;
        for (int i = 0; i < count; ++i)
        {
            level = nextEnvelope(level, values[i], attack, release);
            values[i] = level;
        }
        envelope = level;
        for (int i = 0; i < count; ++i)
            values[i] = gainFor(values[i], makeups[i]);
    }

    // Envelope over count samples of exact silence, whose level never reaches the threshold.
    // Stops once the release has settled on its fixed point.
    void releaseInSilence(int count)
    {
        for (int i = 0; i < count; ++i)
        {
            const double previous = envelope;
            advanceEnvelope(0.0);
            if (envelope == previous)
                return;
        }
    }

    // Index into the dB-to-gain table for the current envelope (0.9 dB of reduction per dB).
    int reductionIndex() const { return reductionIndexFor(envelope); }

    double getEnvelope() const { return envelope; }

    // Makeup in dB for a threshold: 0 at 0 dB, 22 dB at -40 dB.
    static double makeupDbForThreshold(double thresholdDb);

private:
    // The amplitude limited to 0..1 (NaN reads as 0) and the level above the threshold, as
    // selects rather than branches on the signal. A detector of -0 reads entry 0 either way, and
    // the table's finite levels never give a NaN or -0 difference.
    double levelOverThreshold(double detector) const
    {
        const double amplitude = branchless::lesser(branchless::greater(detector, 0.0), 1.0);
        const double over = levelToDb.lookup(amplitude) - threshold;
        return branchless::greater(over, 0.0);
    }

    static double nextEnvelope(double level, double over, double attackCoefficient, double releaseCoefficient)
    {
        const double coefficient = branchless::ifGreater(over, level, attackCoefficient, releaseCoefficient);
        return (level - over) * coefficient + over + 1e-20;
    }

    void advanceEnvelope(double over) { envelope = nextEnvelope(envelope, over, attack, release); }

    static int reductionIndexFor(double level)
    {
        const double index = level * 737.2800000000001 + 1e-20;
        return index > 32767.0 ? 32767 : static_cast<int>(index);
    }

    double gainFor(double level, double makeup) const
    {
        return dbToGain.at(reductionIndexFor(level)) * makeup;
    }

    const LevelToDbTable& levelToDb;
    const DbToGainTable& dbToGain;
    double threshold = 0.0;
    double envelope = 1e-20;
    double attack = 0.0;
    double release = 0.0;
};
