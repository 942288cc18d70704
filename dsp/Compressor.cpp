#include "dsp/Compressor.h"

#include <cmath>

Compressor::Compressor(const LevelToDbTable& levelTable, const DbToGainTable& gainTable)
    : levelToDb(levelTable), dbToGain(gainTable)
{
}

void Compressor::prepare(double rate)
{
    envelope = 1e-20;
    attack = std::exp(-1000.0 / rate);
    release = std::exp(-20.0 / rate);
}

double Compressor::makeupDbForThreshold(double thresholdDb)
{
    return std::exp(thresholdDb * -0.07520386983871591) * 1.1428571428605396 - 1.1428571428718515;
}
