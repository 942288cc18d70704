#pragma once

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
        for (int i = 0; i < count; ++i)
        {
            advanceEnvelope(values[i]);
            values[i] = envelope;
        }
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
    double levelOverThreshold(double detector) const
    {
        double amplitude = detector > 1.0 ? 1.0 : detector;
        if (!(amplitude >= 0.0))
            amplitude = 0.0;
        const double over = levelToDb.lookup(amplitude) - threshold;
        return over < 0.0 ? 0.0 : over;
    }

    void advanceEnvelope(double over)
    {
        const double coefficient = over > envelope ? attack : release;
        envelope = (envelope - over) * coefficient + over + 1e-20;
    }

    static int reductionIndexFor(double level)
    {
        const double index = level * 737.2800000000001 + 1e-20;
        return index > 32767.0 ? 32767 : static_cast<int>(index);
    }

    double gainFor(double level, double makeup) const { return dbToGain.at(reductionIndexFor(level)) * makeup; }

    const LevelToDbTable& levelToDb;
    const DbToGainTable& dbToGain;
    double threshold = 0.0;
    double envelope = 1e-20;
    double attack = 0.0;
    double release = 0.0;
};
