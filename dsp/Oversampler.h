#pragma once

#include "dsp/Shaper.h"
#include "dsp/Tables.h"
#include "dsp/VectorShaper.h"

#include <vector>

// Per-channel histories, stored twice so that a read of 16 consecutive slots from any position
// never wraps. Every phase of the interpolator reads the same base samples, so one input ring
// serves them all; slot k of the shaped ring holds the L phases of one base sample, so that the
// decimator reads one contiguous run. The transposed decimator (16x, vector path) keeps the
// partial sums of its next 16 outputs, rebuilt from the shaped ring when they fell behind it.
struct OversamplerHistory
{
    static constexpr int maxFactor = 16;
    static constexpr int taps = 16;
    static constexpr int ringLength = 2 * taps;

    alignas(32) double up[ringLength];
    alignas(32) double down[ringLength][maxFactor];
    alignas(32) double pending[taps];
    int upPosition = 0;
    int downPosition = 0;
    bool pendingNeedsRebuild = false;

    OversamplerHistory() { clear(); }
    void clear();
    // The rings are read from slot 0 on again, with their contents where they lie.
    void resetPositions()
    {
        upPosition = downPosition = 0;
        pendingNeedsRebuild = true;
    }
};

// Blackman-windowed sinc kernels of 16 * L taps (cut-off at 90 % of the base Nyquist) and their
// polyphase banks: phase r of factor L holds h[j * L + r] for j = 0..15.
class OversamplerKernels
{
public:
    OversamplerKernels();

    static int factorIndex(int factor) { return factor == 4 ? 0 : factor == 8 ? 1 : 2; }
    const std::vector<double>& kernel(int factor) const { return kernels[factorIndex(factor)]; }
    const double* phase(int factor, int r) const { return bank(factor) + r * OversamplerHistory::taps; }
    const double* bank(int factor) const;

    // The kernel as the interpolator reads it: tap j of every phase together, h[j * L + r].
    const double* interpolatorTaps(int factor) const { return kernels[factorIndex(factor)].data(); }
    // The decimator's: tap j of phase r at j * L + r is h[j * L + L - 1 - r]; slot j of the
    // shaped ring, read from the current one on, is j base samples ahead (16 - j behind).
    const double* decimatorTaps(int factor) const { return decimator[factorIndex(factor)].data(); }
    // The same by the age a of the output a value adds to: phase r at r * 16 + a holds tap
    // j = (16 - a) % 16.
    const double* decimatorTapsByAge(int factor) const { return decimatorByAge[factorIndex(factor)].data(); }

private:
    std::vector<double> kernels[3];
    std::vector<double> decimator[3];
    std::vector<double> decimatorByAge[3];
    std::vector<double> banks; // 4 + 8 + 16 phases of 16 coefficients
};

// Interpolates each base sample to L values, shapes them and decimates back with the same filter.
// The chain is a linear-phase filter delayed by exactly 17 base samples at every factor.
class Oversampler
{
public:
    static constexpr int latency = 17;

    Oversampler(const OversamplerKernels& kernels, const TanhTable& tanh);

    // factor is 4, 8 or 16; the buffer is replaced in place.
    // The block's inverse shapes are not read.
    void process(int factor, OversamplerHistory& history, const ShaperBlock& block, ClipFlags& flags) const;

    // The AVX2/FMA path is chosen at run time where the processor has it.
    bool isUsingVectorPath() const { return useVector; }
    void setUseVectorPath(bool enable) { useVector = enable && processorHasVectorPath(); }

private:
    const OversamplerKernels& kernels;
    const TanhTable& tanh;
    bool useVector;
};
