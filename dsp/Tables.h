#pragma once

#include "dsp/Branchless.h"

#include <memory>

// Lookup tables that replace transcendental functions on the per-sample path.
// Indices are clamped in floating point first so that NaN or infinite samples cannot
// produce an out-of-range integer conversion.

class TanhTable
{
public:
    static constexpr int size = 128000;

    TanhTable();

    // tanh(y) at y truncated to a multiple of 1/6400, saturating outside [-10, 10).
    double lookup(double y) const
    {
        // below 0 or NaN: 0 (-0 stays, and truncates to 0 too); above the last entry: the last
        const double position = branchless::lesser(branchless::greater((y + offset) * scale, 0.0), size - 1);
        return entries[static_cast<int>(position)];
    }

    double at(int index) const { return entries[index]; }
    const double* data() const { return entries.get(); }

    // The position lookup() reads, before truncation; for the vector paths.
    static constexpr double offset = 10.0;
    static constexpr double scale = 6400.0;

private:
    std::unique_ptr<double[]> entries;
};

class LevelToDbTable
{
public:
    static constexpr int size = 32768;

    LevelToDbTable();

    // amplitude must already be limited to 0..1
    double lookup(double amplitude) const { return entries[static_cast<int>(amplitude * 32767.0 + 1e-20)]; }
    double at(int index) const { return entries[index]; }

private:
    std::unique_ptr<double[]> entries;
};

class DbToGainTable
{
public:
    static constexpr int size = 32768;

    DbToGainTable();

    // entry i is the gain of -40 * i / 32767 dB
    double at(int index) const { return entries[index]; }

private:
    std::unique_ptr<double[]> entries;
};

// Maps an output sample to a meter position: 0.8 + dB / 30, limited to 0..1.
class MeterCurve
{
public:
    static constexpr int size = 400;

    MeterCurve();

    double lookup(double output) const
    {
        const double position =
            branchless::lesser(branchless::greater(output * 100.0 + 200.0, 0.0), size - 1);
        return entries[static_cast<int>(position)];
    }

    double at(int index) const { return entries[index]; }

private:
    double entries[size];
};
