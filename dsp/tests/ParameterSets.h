#pragma once

#include "dsp/KolvraneCore.h"
#include "dsp/KolvraneParameters.h"

#include <array>

// Normalized host-parameter settings shared by the core's tests, the golden arrays and the
// benchmarks, written with the parameters' names.
namespace test_support
{
using ParameterValues = std::array<float, KolvraneParameter::hostCount>;

// The defaults of parameters.xml: filters off and Post, TANH, fully wet, the rest centred.
inline ParameterValues defaultParameters()
{
    using namespace KolvraneParameter;
    ParameterValues values;
    values.fill(0.5f);
    for (int filter = 0; filter < filterCount; ++filter)
    {
        values[ofFilter(filter, filterType)] = 0.0f;
        values[ofFilter(filter, filterRoute)] = 0.0f;
    }
    values[distortionFunction] = 0.0f;
    values[fx] = 1.0f;
    return values;
}

// The defaults with the preamp at +38 dB: the shaper works on most samples.
inline ParameterValues loudParameters()
{
    auto values = defaultParameters();
    values[KolvraneParameter::preamp] = 0.8f;
    return values;
}

// The loud setting with a resonant Pre low-pass and a Post high-pass switched on.
inline ParameterValues filteredParameters()
{
    using namespace KolvraneParameter;
    auto values = loudParameters();
    values[ofFilter(0, filterType)] = 0.25f; // LP
    values[ofFilter(0, filterRoute)] = 1.0f; // Pre
    values[ofFilter(0, filterCutoff)] = 0.6f;
    values[ofFilter(0, filterVolume)] = 0.8f;
    values[ofFilter(1, filterType)] = 0.75f; // HP, Post
    values[ofFilter(1, filterCutoff)] = 0.3f;
    return values;
}

// A busy setting: compression, a resonant Pre low-pass, a Post high-pass and band-pass, partial
// dry, with the given distortion function (0..5).
inline ParameterValues busyParameters(int function)
{
    using namespace KolvraneParameter;
    auto values = defaultParameters();
    values[dynamics] = 0.3f;
    values[preamp] = 0.7f;
    values[threshold] = 0.4f;
    values[shape] = 0.6f;
    values[ofFilter(0, filterType)] = 0.25f; // LP
    values[ofFilter(0, filterRoute)] = 1.0f; // Pre
    values[ofFilter(0, filterCutoff)] = 0.6f;
    values[ofFilter(0, filterResonance)] = 0.6f;
    values[ofFilter(0, filterVolume)] = 0.8f;
    values[ofFilter(1, filterType)] = 0.75f; // HP, Post
    values[ofFilter(1, filterCutoff)] = 0.3f;
    values[ofFilter(1, filterVolume)] = 0.9f;
    values[ofFilter(2, filterType)] = 0.5f; // BP, Post
    values[ofFilter(2, filterCutoff)] = 0.7f;
    values[ofFilter(2, filterResonance)] = 0.8f;
    values[outputVolume] = 0.45f;
    values[distortionFunction] = function * 0.2f;
    values[fx] = 0.85f;
    return values;
}

// Delivers every host parameter in index order, as the processor does at start-up.
inline void applyParameters(KolvraneCore& core, const ParameterValues& values)
{
    for (int index = 0; index < KolvraneParameter::hostCount; ++index)
        core.setParameter(index, values[static_cast<size_t>(index)]);
}
} // namespace test_support
