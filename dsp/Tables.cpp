#include "dsp/Tables.h"

#include <cmath>

TanhTable::TanhTable() : entries(new double[size])
{
    for (int i = 0; i < size; ++i)
        entries[i] = std::tanh((i - 64000) * 0.00015625) + 1e-20;
}

LevelToDbTable::LevelToDbTable() : entries(new double[size])
{
    entries[0] = -320.0;
    for (int i = 1; i < size; ++i)
        entries[i] = 20.0 * std::log10(i * 3.051850947599719e-05);
}

DbToGainTable::DbToGainTable() : entries(new double[size])
{
    for (int i = 0; i < size; ++i)
        entries[i] = std::pow(10.0, -2.0 * i / 32767.0);
}

MeterCurve::MeterCurve()
{
    for (int i = 0; i < size; ++i)
    {
        const double amplitude = std::abs((i - 200) * 0.01);
        const double decibels = amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -320.0;
        double position = decibels * 0.03333333333333333 + 0.8;
        if (position < 0.0)
            position = 0.0;
        if (position > 1.0)
            position = 1.0;
        entries[i] = position;
    }
}
