#pragma once

// Kolvrane's parameter indices and counts, shared by the processor, the DSP core and the tests.
// They are the "index" attributes of parameters.xml and, below hostCount, the host's parameter
// numbers; every host parameter is presetable.
namespace KolvraneParameter
{
enum Index : int
{
    dynamics = 0,
    preamp = 1,
    threshold = 2,
    shape = 3,
    filter1Type = 4, // the filters' parameters follow, filterFieldCount for each
    outputVolume = 19,
    distortionFunction = 20,
    fx = 21,
    quality = 22 // internal, not seen by the host
};

constexpr int hostCount = 22;
constexpr int filterCount = 3;

// The parameters of one filter, in index order.
enum FilterField : int
{
    filterType = 0,
    filterRoute = 1,
    filterCutoff = 2,
    filterResonance = 3, // "Reso/Bandwidth"
    filterVolume = 4,
    filterFieldCount = 5
};

constexpr int ofFilter(int filter, FilterField field)
{
    return filter1Type + filterFieldCount * filter + field;
}

static_assert(ofFilter(filterCount, filterType) == outputVolume,
              "the filters' parameters end at Output Volume");
static_assert(fx + 1 == hostCount, "FX is the last host parameter");
} // namespace KolvraneParameter
