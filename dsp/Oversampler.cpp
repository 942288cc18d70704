#include "dsp/Oversampler.h"

#include <cmath>
#include <cstring>

namespace
{
struct FilterTaps
{
    const double* interpolator;
    const double* decimator;
    const double* decimatorByAge;
};

#define OVERSAMPLER_PATH scalar
#define OVERSAMPLER_TARGET
#define OVERSAMPLER_VECTOR 0
#include "dsp/OversamplerPath.inc"
#undef OVERSAMPLER_PATH
#undef OVERSAMPLER_TARGET
#undef OVERSAMPLER_VECTOR

#if KOLVRANE_HAS_VECTOR_PATH
#define OVERSAMPLER_PATH avx2
#define OVERSAMPLER_TARGET __attribute__((target("avx2,fma")))
#define OVERSAMPLER_VECTOR 1
#include "dsp/OversamplerPath.inc"
#undef OVERSAMPLER_PATH
#undef OVERSAMPLER_TARGET
#undef OVERSAMPLER_VECTOR
#endif

struct KernelShape
{
    int factor;
    double cutoff;      // 0.9 * pi / L
    double windowStep;  // 2 * pi / (N - 1)
    double windowStep2; // 4 * pi / (N - 1)
};

constexpr KernelShape kernelShapes[3] = {
    {4, 0.7068583470577035, 0.09973310011396168, 0.19946620022792336},
    {8, 0.3534291735288517, 0.049473900056532176, 0.09894780011306435},
    {16, 0.17671458676442586, 0.024639942381096416, 0.04927988476219283},
};

std::vector<double> windowedSinc(const KernelShape& shape)
{
    const int length = OversamplerHistory::taps * shape.factor;
    const double centre = (length - 1) / 2.0; // never an integer, so no 0/0 at the centre
    const double pi = 3.141592653589793;
    std::vector<double> h(length);
    for (int n = 0; n < length; ++n)
    {
        const double t = n - centre;
        const double window =
            0.42 - 0.5 * std::cos(n * shape.windowStep) + 0.08 * std::cos(n * shape.windowStep2);
        h[n] = std::sin(t * shape.cutoff) / (t * pi) * window;
    }
    return h;
}

int bankOffset(int factor)
{
    // phases of factor 4 first, then 8, then 16
    return (factor == 4 ? 0 : factor == 8 ? 4 : 12) * OversamplerHistory::taps;
}
} // namespace

void OversamplerHistory::clear()
{
    std::memset(up, 0, sizeof(up));
    std::memset(down, 0, sizeof(down));
    std::memset(pending, 0, sizeof(pending));
    upPosition = downPosition = 0;
    pendingNeedsRebuild = false;
}

namespace
{
// The partial sums the direct form implies: the output k samples on reads the slot p > k places
// past the current one, not yet overwritten by then, as tap p - k. The slots shaped later add
// their shares as they come.
void rebuildPendingSums(OversamplerHistory& h, int factor, const double* decimatorTaps)
{
    constexpr int taps = OversamplerHistory::taps;
    for (int k = 0; k < taps; ++k)
    {
        double sum = 0.0;
        for (int p = k + 1; p < taps; ++p)
            for (int r = 0; r < factor; ++r)
                sum += decimatorTaps[(p - k) * factor + r] * h.down[h.downPosition + p][r];
        h.pending[k] = sum;
    }
    h.pendingNeedsRebuild = false;
}
} // namespace

OversamplerKernels::OversamplerKernels() : banks(28 * OversamplerHistory::taps)
{
    constexpr int taps = OversamplerHistory::taps;
    for (int k = 0; k < 3; ++k)
    {
        const KernelShape& shape = kernelShapes[k];
        kernels[k] = windowedSinc(shape);
        double* phases = banks.data() + bankOffset(shape.factor);
        const int factor = shape.factor;
        decimator[k].resize(kernels[k].size());
        decimatorByAge[k].resize(kernels[k].size());
        for (int r = 0; r < factor; ++r)
            for (int j = 0; j < taps; ++j)
            {
                phases[r * taps + j] = kernels[k][j * factor + r];
                decimator[k][j * factor + r] = kernels[k][j * factor + factor - 1 - r];
            }
        for (int r = 0; r < factor; ++r)
            for (int age = 0; age < taps; ++age)
                decimatorByAge[k][r * taps + age] = decimator[k][((taps - age) % taps) * factor + r];
    }
}

const double* OversamplerKernels::bank(int factor) const
{
    return banks.data() + bankOffset(factor);
}

Oversampler::Oversampler(const OversamplerKernels& kernelSet, const TanhTable& tanhTable)
    : kernels(kernelSet), tanh(tanhTable), useVector(processorHasVectorPath())
{
}

void Oversampler::process(int factor, OversamplerHistory& history, const ShaperBlock& block,
                          ClipFlags& flags) const
{
    if (factor != 4 && factor != 8 && factor != 16)
        return;
    const FilterTaps taps{kernels.interpolatorTaps(factor), kernels.decimatorTaps(factor),
                          kernels.decimatorTapsByAge(factor)};
#if KOLVRANE_HAS_VECTOR_PATH
    if (useVector)
    {
        if (factor == 16 && history.pendingNeedsRebuild)
            rebuildPendingSums(history, factor, taps.decimator);
        avx2::process(factor, history, taps, block, tanh, flags);
        return;
    }
#endif
    scalar::process(factor, history, taps, block, tanh, flags);
}
