#include "engine/PulsaretCymbal.h"

#include <algorithm>
#include <cmath>

void PulsaretCymbal::setLevel (double value) noexcept
{
    level = value;
    levelTarget = value;
}

void PulsaretCymbal::setTone (double value) noexcept
{
    toneValue = value;
    toneTarget = value;
}

void PulsaretCymbal::setDecay (double value) noexcept
{
    decay = value;
    decayFactor = (std::pow (2.0, (1.0 - value) * 2.0) - 1.0) * 2.333333333 + 1.0;
    if (gate == 0.0)
        setReleaseCoefficients();
}

void PulsaretCymbal::setReleaseCoefficients() noexcept
{
    const double d = decayFactor * coefficients.smoothing;
    coefficientA = d * 0.001;
    coefficientB = d * 1.3e-05;
    coefficientM = d * 2.5e-05;
    coefficientN = d * 0.0004;
}

void PulsaretCymbal::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    PulsaretInstrument::trigger (velocity);
    const double k = coefficients.smoothing;
    gate = 1.0;
    driveAmount = velocity * (double) 2.645f;
    gateCounter = coefficients.sampleRate * 0.001125;
    coefficientA = k * 0.05;
    coefficientB = k * 0.05;
    coefficientM = k * 0.1;
    coefficientN = k * 0.0004;
}

void PulsaretCymbal::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    rateGain = 192000.0 / rate;
    Biquad bright, body;
    bright.setHighPass (2.0 * 3.141592653589793 * 9200.0 / rate, 1.0 / 3.0);
    body.setHighPass (2.0 * 3.141592653589793 * 3300.0 / rate, 0.7142857142857143);
    const double k = coefficients.smoothing;
    using Pair = MetalShaperPair::Pair;
    shapers.prepare (bright, body, Pair{1.0 - k * 0.5, 1.0 - k * 0.3}, Pair{-0.002, -0.01}, Pair{15.0, 6.0}, Pair{1e-20, 1e-20}, rateGain);
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    tone = toneTarget;
}

double PulsaretCymbal::renderWithTwoInputs (double metalHigh, double metalLow)
{
    return renderRatios (MetalShaper::ratioOf<true> (metalHigh), MetalShaper::ratioOf<true> (metalLow));
}
