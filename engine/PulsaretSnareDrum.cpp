#include "engine/PulsaretSnareDrum.h"

#include "engine/StateVariableFilter.h"

#include <cmath>

double PulsaretSnareDrum::toneTermFor (double value) noexcept
{
    return (std::pow (100.00000220003417, 1.0 - value) * 0.010101009876539765 - 0.01010100987653858) * 0.0077 - 0.0007;
}

double PulsaretSnareDrum::tuneTermFor (double value) noexcept
{
    return ((value * 0.666 + 1.667) * value * 52.75 + 1.4046547603530019e-14) - 52.75;
}

void PulsaretSnareDrum::setLevel (double value) noexcept
{
    level = value;
    levelTarget = value;
}

void PulsaretSnareDrum::setTune (double value) noexcept
{
    tune = value;
    tuneTerm = tuneTermFor (value);
}

void PulsaretSnareDrum::setTone (double value) noexcept
{
    tone = value;
    toneTerm = toneTermFor (value);
}

void PulsaretSnareDrum::setSnappy (double value) noexcept
{
    snappy = value;
    snappyInUse = value;
}

void PulsaretSnareDrum::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    const double d = velocity * (double) 2.645f;
    PulsaretInstrument::trigger (velocity);
    driveAmount = d;
    inverseDriveAmount = 1.0 / d;
    drive = d;
    noiseEnvelopeCoefficient = coefficients.smoothing * 0.02;
    driveCounter = (int32_t) (coefficients.sampleRate * 0.001125);
    noiseEnvelope = 0.0;
    pitchEnvelope = 0.0;
}

void PulsaretSnareDrum::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    pitchEnvelopeCoefficient = coefficients.smoothing * 0.0028;
    drive = 0.0;
    driveCounter = 0;
    limitedExcitation = 0.0;
    lp = hp = bp = 0.0;
    q = 0.07;
    f = StateVariableFilter::frequencyFactor (204.0, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    highPass1.setCutoff (3000.0, rate);
    highPass2.setCutoff (3400.0, rate);
    highPass2.gain = highPass1.gain; // the second stage shares the first one's gain
    highPass1.reset();
    highPass2.reset();
    bandPass.setBandPassQ (25761.059759436303 / rate, 1.0);
    bandPass.reset();
    toneTerm = toneTermFor (tone);
    tuneTerm = tuneTermFor (tune);
    snappyInUse = snappy;
    levelTarget = level;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
}

double PulsaretSnareDrum::renderWithInput (double noise)
{
    return renderOne (noise);
}
