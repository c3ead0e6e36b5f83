#include "engine/PulsaretSnareDrum.h"

#include "engine/StateVariableFilter.h"

#include <cmath>

namespace
{
// The tone knob sets how fast the snares' noise dies away, on an exponential curve from fast (0) to slow (1).
constexpr double toneCurveBase = 100.00000220003417;
constexpr double toneCurveScale = 0.010101009876539765;
constexpr double toneCurveOffset = 0.01010100987653858;
constexpr double toneReleaseRange = 0.0077;
constexpr double toneReleaseFloor = 0.0007;
// The tune knob moves the drum's pitch, in Hz, on a gentle parabola through 0 at the middle.
constexpr double tuneCurveSquare = 0.666;
constexpr double tuneCurveLinear = 1.667;
constexpr double tuneSpanHz = 52.75;
constexpr double tuneCurveResidue = 1.4046547603530019e-14;
// How fast the snares' noise swells during the strike, and how fast the pitch sweep falls.
constexpr double noiseAttackFactor = 0.02;
constexpr double pitchSweepFallFactor = 0.0028;
// The drum's resonance: its damping and its pitch at rest.
constexpr double drumDamping = 0.07;
constexpr double restingPitchHz = 204.0;
// The strike's click and the snares' noise are high-passed, and the noise band-passed around 4100 Hz
// (2 pi 4100, divided by the rate), at a Q of 1.
constexpr double strikeHighPassHz = 3000.0;
constexpr double noiseHighPassHz = 3400.0;
constexpr double noiseBandRadiansPerSecond = 25761.059759436303;
constexpr double noiseBandQ = 1.0;
} // namespace

double PulsaretSnareDrum::toneTermFor (double value) noexcept
{
    return (std::pow (toneCurveBase, 1.0 - value) * toneCurveScale - toneCurveOffset) * toneReleaseRange - toneReleaseFloor;
}

double PulsaretSnareDrum::tuneTermFor (double value) noexcept
{
    return ((value * tuneCurveSquare + tuneCurveLinear) * value * tuneSpanHz + tuneCurveResidue) - tuneSpanHz;
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

    const double d = velocity * (double) strikeDrive;
    PulsaretInstrument::trigger (velocity);
    driveAmount = d;
    inverseDriveAmount = 1.0 / d;
    drive = d;
    noiseEnvelopeCoefficient = coefficients.smoothing * noiseAttackFactor;
    driveCounter = (int32_t) (coefficients.sampleRate * gateSeconds);
    noiseEnvelope = 0.0;
    pitchEnvelope = 0.0;
}

void PulsaretSnareDrum::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    pitchEnvelopeCoefficient = coefficients.smoothing * pitchSweepFallFactor;
    drive = 0.0;
    driveCounter = 0;
    limitedExcitation = 0.0;
    lp = hp = bp = 0.0;
    q = drumDamping;
    f = StateVariableFilter::frequencyFactor (restingPitchHz, rate);
    sixthOfRate = rate * (1.0 / 6.0);
    piOverRate = 3.141592653589793 / rate;
    highPass1.setCutoff (strikeHighPassHz, rate);
    highPass2.setCutoff (noiseHighPassHz, rate);
    highPass2.gain = highPass1.gain; // the second stage shares the first one's gain
    highPass1.reset();
    highPass2.reset();
    bandPass.setBandPassQ (noiseBandRadiansPerSecond / rate, noiseBandQ);
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
