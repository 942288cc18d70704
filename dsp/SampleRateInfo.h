#pragma once

// Rate-derived constants shared by the cores of the product line.
struct SampleRateInfo
{
    double rate = 44100.0;
    float rateFloat = 44100.0f;
    int rateClass = 0; // 0: 44100, 1: 48000, 2: 88200, 3: 96000, 4: 192000
    double inverseRate = 1.0 / 44100.0;
    float inverseRateFloat = 1.0f / 44100.0f;
    double halfInverseRate = 0.5 / 44100.0;
    double rateRatio = 1.0; // rate / 44100
    float rateRatioFloat = 1.0f;
    double timingFactor = 1.0; // b = 2 * (1 - 0.5^(44100 / rate))
    float timingFactorFloat = 1.0f;
    double baseRateRatio = 1.0; // 44100 / rate
    double timingFactorCubed = 1.0;
    float timingFactorCubedFloat = 1.0f;
    double halfRate = 22050.0;
    double smoothingStep = 0.002; // 0.002 * b
    float smoothingStepFloat = 0.002f;
    float dcStepFloat = 0.005f;     // 0.005 * b
    float meterStepFloat = 0.0001f; // 0.0001 * b

    void update(double newRate);
};
