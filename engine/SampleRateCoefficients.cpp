#include "engine/SampleRateCoefficients.h"

#include <cmath>

SampleRateCoefficients::SampleRateCoefficients() noexcept
{
    setSampleRate (44100.0);
}

void SampleRateCoefficients::setSampleRate (double rate) noexcept
{
    sampleRate = rate;
    sampleRateFloat = (float) rate;

    if (rate == 44100.0)
        rateIndex = 0;
    else if (rate == 48000.0)
        rateIndex = 1;
    else if (rate == 88200.0)
        rateIndex = 2;
    else if (rate == 96000.0)
        rateIndex = 3;
    else if (rate == 192000.0)
        rateIndex = 4;

    inverseRate = 1.0 / rate;
    inverseRateFloat = (float) inverseRate;
    halfInverseRate = 1.0 / (2.0 * rate);
    rateRatio = rate * 2.2675736961451248e-05;
    rateRatioFloat = (float) rateRatio;
    inverseRateRatio = 44100.0 / rate;
    smoothing = (1.0 - std::pow (0.5, inverseRateRatio)) * 2.0;
    smoothingFloat = (float) smoothing;
    smoothingCubed = smoothing * smoothing * smoothing;
    smoothingCubedFloat = (float) smoothingCubed;
    halfRate = rate * 0.5;
    levelSmoothing = smoothing * 0.002;
    levelSmoothingFloat = (float) levelSmoothing;
    smoothingTimes0005Float = (float) (smoothing * 0.005);
    smoothingTimes00001Float = (float) (smoothing * 0.0001);
}
