#include "engine/PulsaretCymbal.h"

#include <algorithm>
#include <cmath>

namespace
{
// The decay knob stretches the release: its speeds are multiplied by 1 (1, long) up to 8 (0, short).
constexpr double decayCurveOctaves = 2.0;
constexpr double decayCurveScale = 2.333333333;
// The four envelopes' speeds after the strike (release) and during it (attack): A and B shape the
// shimmer, M the body and N, following M, the tail.
constexpr double releaseFactorA = 0.001, releaseFactorB = 1.3e-05, releaseFactorM = 2.5e-05, releaseFactorN = 0.0004;
constexpr double attackFactorA = 0.05, attackFactorB = 0.05, attackFactorM = 0.1, attackFactorN = 0.0004;
// The shapers' drive is scaled to the rate, as if the metal ran at 192 kHz.
constexpr double shaperRate = 192000.0;
// The two bands of metal: the bright one high-passed at 9200 Hz, the body at 3300 Hz.
constexpr double brightHighPassHz = 9200.0, brightHighPassQ = 1.0 / 3.0;
constexpr double bodyHighPassHz = 3300.0, bodyHighPassQ = 0.7142857142857143;
// Per band (bright, body): how fast the shaper's accumulator leaks (times K), the diode's depth, the clip
// gain and the guard that keeps the accumulator off denormals.
constexpr double brightLeak = 0.5, bodyLeak = 0.3;
constexpr double brightDiodeScale = -0.002, bodyDiodeScale = -0.01;
constexpr double brightClipGain = 15.0, bodyClipGain = 6.0;
constexpr double shaperGuard = 1e-20;
} // namespace

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
    decayFactor = (std::pow (2.0, (1.0 - value) * decayCurveOctaves) - 1.0) * decayCurveScale + 1.0;
    if (gate == 0.0)
        setReleaseCoefficients();
}

void PulsaretCymbal::setReleaseCoefficients() noexcept
{
    const double d = decayFactor * coefficients.smoothing;
    coefficientA = d * releaseFactorA;
    coefficientB = d * releaseFactorB;
    coefficientM = d * releaseFactorM;
    coefficientN = d * releaseFactorN;
}

void PulsaretCymbal::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    PulsaretInstrument::trigger (velocity);
    const double k = coefficients.smoothing;
    gate = 1.0;
    driveAmount = velocity * (double) strikeDrive;
    gateCounter = coefficients.sampleRate * gateSeconds;
    coefficientA = k * attackFactorA;
    coefficientB = k * attackFactorB;
    coefficientM = k * attackFactorM;
    coefficientN = k * attackFactorN;
}

void PulsaretCymbal::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    rateGain = shaperRate / rate;
    Biquad bright, body;
    bright.setHighPass (2.0 * 3.141592653589793 * brightHighPassHz / rate, brightHighPassQ);
    body.setHighPass (2.0 * 3.141592653589793 * bodyHighPassHz / rate, bodyHighPassQ);
    const double k = coefficients.smoothing;
    using Pair = MetalShaperPair::Pair;
    shapers.prepare (bright, body, Pair{1.0 - k * brightLeak, 1.0 - k * bodyLeak}, Pair{brightDiodeScale, bodyDiodeScale},
                     Pair{brightClipGain, bodyClipGain}, Pair{shaperGuard, shaperGuard}, rateGain);
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    tone = toneTarget;
}

double PulsaretCymbal::renderWithTwoInputs (double metalHigh, double metalLow)
{
    return renderRatios (MetalShaper::ratioOf<true> (metalHigh), MetalShaper::ratioOf<true> (metalLow));
}
