#pragma once

#include "dsp/KolvraneParameters.h"

#include <cmath>

enum FilterType : int
{
    filterOff = 0,
    filterLowPass = 1,
    filterBandPass = 2,
    filterHighPass = 3,
    filterBandReject = 4,
    filterTypeCount = 5
};

enum FilterRoute : int
{
    routePost = 0,
    routePre = 1
};

// State of one filter on one channel; it belongs to the filter, so a route change keeps it.
struct FilterRecord
{
    double input = 0.0;
    double notch = 0.0;
    double low = 0.0;
    double high = 0.0;
    double band = 0.0;
    double output = 0.0;

    void reset() { input = notch = low = high = band = 0.0; }
};

// Chamberlin state-variable filter run twice per sample on the same input; the input is
// scaled by sqrt(damping) so that the resonance peak stays near unity gain at low damping.
class BandFilter
{
public:
    static double process(FilterRecord& r, double x, double cutoff, double damping, int type)
    {
        return process(r, x, cutoff, damping, std::sqrt(damping), type);
    }

    // inputScale is sqrt(damping), shared by both channels of a sample.
    static double process(FilterRecord& r, double x, double cutoff, double damping, double inputScale,
                          int type)
    {
        if (type == filterOff)
        {
            r.output = x;
            return x;
        }
        constexpr double e = 1e-20;
        const double scaled = inputScale * x;
        r.input = x;
        r.low = cutoff * r.band + r.low + e;
        r.band = (scaled - r.low - r.band * damping + e) * cutoff + r.band + e;
        r.low = cutoff * r.band + r.low + e;
        r.high = scaled - r.low - r.band * damping + e;
        r.band = cutoff * r.high + r.band + e;
        r.notch = r.high + r.low + e;
        switch (type)
        {
        case filterLowPass:
            r.output = r.low;
            break;
        case filterBandPass:
            r.output = r.band;
            break;
        case filterHighPass:
            r.output = r.high;
            break;
        default:
            r.output = r.notch;
            break;
        }
        return r.output;
    }

    // Cutoff coefficient c: 0.001 at v = 0, 0.085 at 0.5, 0.83 at 1 (independent of the rate).
    static double cutoffCoefficient(double v)
    {
        return std::exp(v * 4.365134839032704) * 0.010674735250057944 - 0.009674735250774223;
    }

    // Damping q = 0.01 * 100^(1 - v): 1.0 at v = 0, 0.01 at v = 1.
    static double damping(double v)
    {
        return std::exp((1.0 - v) * 4.60517018598809 - 8.439068612150077) * 46.24246011657401;
    }
};

// The filters of the bank, one per filter parameter group.
constexpr int filterBankSize = KolvraneParameter::filterCount;

// The per-sample values of the three filters that both banks read.
struct FilterBankValues
{
    double volume[filterBankSize];
    double cutoff[filterBankSize];
    double damping[filterBankSize];
    double inputScale[filterBankSize]; // sqrt(damping), only for filters that are switched on
};

// The filters routed to one bank, in filter order, with their types: gathered once for a run of
// samples in which no route or type can change.
struct RoutedFilters
{
    int count = 0;
    int index[filterBankSize] = {};
    int type[filterBankSize] = {};

    static RoutedFilters gather(int route, const int types[filterBankSize], const int routes[filterBankSize])
    {
        RoutedFilters bank;
        for (int f = 0; f < filterBankSize; ++f)
            if (routes[f] == route)
            {
                bank.index[bank.count] = f;
                bank.type[bank.count] = types[f];
                ++bank.count;
            }
        return bank;
    }
};

// Sum of the bank's filters, each scaled by its volume; the input itself when the bank is empty.
inline double processFilterBank(const RoutedFilters& bank, FilterRecord* records, double x,
                                const FilterBankValues& values)
{
    if (bank.count == 0)
        return x;
    double sum = 0.0;
    for (int k = 0; k < bank.count; ++k)
    {
        const int f = bank.index[k];
        const double output = BandFilter::process(records[f], x, values.cutoff[f], values.damping[f],
                                                  values.inputScale[f], bank.type[k]);
        sum = output * values.volume[f] + sum + 1e-20;
    }
    return sum;
}
