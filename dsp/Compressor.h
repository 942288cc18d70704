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
        double amplitude = detector > 1.0 ? 1.0 : detector;
        if (!(amplitude >= 0.0))
            amplitude = 0.0;
        double over = levelToDb.lookup(amplitude) - threshold;
        if (over < 0.0)
            over = 0.0;
        const double coefficient = over > envelope ? attack : release;
        envelope = (envelope - over) * coefficient + over + 1e-20;
        return dbToGain.at(reductionIndex()) * makeup;
    }

    // Index into the dB-to-gain table for the current envelope (0.9 dB of reduction per dB).
    int reductionIndex() const
    {
        const double index = envelope * 737.2800000000001 + 1e-20;
        return index > 32767.0 ? 32767 : static_cast<int>(index);
    }

    double getEnvelope() const { return envelope; }

    // Makeup in dB for a threshold: 0 at 0 dB, 22 dB at -40 dB.
    static double makeupDbForThreshold(double thresholdDb);

private:
    const LevelToDbTable& levelToDb;
    const DbToGainTable& dbToGain;
    double threshold = 0.0;
    double envelope = 1e-20;
    double attack = 0.0;
    double release = 0.0;
};
