#include "engine/PulsaretTom.h"

#include <cmath>

PulsaretTom::PulsaretTom (double sweepDecayToUse, double baseFrequencyToUse, double sweepDepthToUse, double outputGainToUse) noexcept
    : sweepDecay (sweepDecayToUse)
    , baseFrequency (baseFrequencyToUse)
    , sweepDepth (sweepDepthToUse)
    , outputGain (outputGainToUse)
{
}

void PulsaretTom::setLevel (double value) noexcept
{
    level = value;
    levelTarget = value;
}

void PulsaretTom::setTune (double value) noexcept
{
    tune = value;
    tuneMultiplier = std::pow (1.7774222400038204, value) * 0.7503001200463707 - 0.0003001200472511946;
}

void PulsaretTom::setDecay (double value) noexcept
{
    decay = value;
    damping = std::pow (24.99999999995606, 1.0 - value) * 0.010000000000017375 - 1.5827973089844548e-14;
    decayCoefficient = (std::exp (-3.3928985789910066 * value) * 0.0014693877550699854 + 3.0612244943244945e-05) * 0.5;
}

void PulsaretTom::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    const double d = velocity * (double) 2.645f;
    PulsaretInstrument::trigger (velocity);
    pitchEnvelope = 1.0;
    driveAmount = d;
    drive = d;
    noiseDrive = d;
    driveCounter = (int32_t) (coefficients.sampleRate * 0.001125);
    noiseEnvelopeCoefficient = coefficients.rateRatio * 0.2;
}

void PulsaretTom::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    drive = 0.0;
    driveCounter = 0;
    pitchEnvelopeCoefficient = coefficients.smoothing * sweepDecay;
    f = StateVariableFilter::frequencyFactor (204.0, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    setDecay (decay);
    svf.reset();
    highPass.setCutoff (3000.0, rate);
    highPass.reset();
    // A quarter-octave band at 230 Hz: the bandwidth term is ln(2) / 2 * 0.25.
    noiseBandPass.setBandPassBandwidth (2.0 * 3.141592653589793 * 230.0 / rate, 0.08664339756999316);
    noiseBandPass.reset();
    noiseEnvelope = 0.0;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    noiseEnvelopeCoefficient = coefficients.smoothing * decayCoefficient;
}

double PulsaretTom::renderWithInput (double noise)
{
    return renderOne (noise);
}
