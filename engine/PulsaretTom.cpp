#include "engine/PulsaretTom.h"

#include <cmath>

namespace
{
// The tune knob multiplies the pitch from 0.75 (0) to 1.33 (1), on an exponential curve.
constexpr double tuneCurveBase = 1.7774222400038204;
constexpr double tuneCurveScale = 0.7503001200463707;
constexpr double tuneCurveOffset = 0.0003001200472511946;
// The decay knob sets the resonance's damping, from 0.25 (0, short) to 0.01 (1, long).
constexpr double dampingCurveBase = 24.99999999995606;
constexpr double dampingCurveScale = 0.010000000000017375;
constexpr double dampingCurveOffset = 1.5827973089844548e-14;
// ... and how fast the noise's envelope falls, longer with the decay.
constexpr double noiseFallCurveSlope = -3.3928985789910066;
constexpr double noiseFallCurveScale = 0.0014693877550699854;
constexpr double noiseFallCurveFloor = 3.0612244943244945e-05;
constexpr double noiseFallShare = 0.5;
// How fast the noise swells during the strike.
constexpr double noiseAttackFactor = 0.2;
// The resonance's pitch at rest, and the strike's click high-pass.
constexpr double restingPitchHz = 204.0;
constexpr double strikeHighPassHz = 3000.0;
// The noise: a quarter-octave band at 230 Hz; the bandwidth term is ln(2) / 2 * 0.25.
constexpr double noiseBandHz = 230.0;
constexpr double noiseBandwidthTerm = 0.08664339756999316;
} // namespace

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
    tuneMultiplier = std::pow (tuneCurveBase, value) * tuneCurveScale - tuneCurveOffset;
}

void PulsaretTom::setDecay (double value) noexcept
{
    decay = value;
    damping = std::pow (dampingCurveBase, 1.0 - value) * dampingCurveScale - dampingCurveOffset;
    decayCoefficient = (std::exp (noiseFallCurveSlope * value) * noiseFallCurveScale + noiseFallCurveFloor) * noiseFallShare;
}

void PulsaretTom::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    const double d = velocity * (double) strikeDrive;
    PulsaretInstrument::trigger (velocity);
    pitchEnvelope = 1.0;
    driveAmount = d;
    drive = d;
    noiseDrive = d;
    driveCounter = (int32_t) (coefficients.sampleRate * gateSeconds);
    noiseEnvelopeCoefficient = coefficients.rateRatio * noiseAttackFactor;
}

void PulsaretTom::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    drive = 0.0;
    driveCounter = 0;
    pitchEnvelopeCoefficient = coefficients.smoothing * sweepDecay;
    f = StateVariableFilter::frequencyFactor (restingPitchHz, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    setDecay (decay);
    svf.reset();
    highPass.setCutoff (strikeHighPassHz, rate);
    highPass.reset();
    noiseBandPass.setBandPassBandwidth (2.0 * 3.141592653589793 * noiseBandHz / rate, noiseBandwidthTerm);
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
