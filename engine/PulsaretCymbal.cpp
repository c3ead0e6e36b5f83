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
// Per band (bright, body): how fast the shaper's accumulator leaks (times K), the diode's depth and the clip gain.
constexpr double brightLeak = 0.5, bodyLeak = 0.3;
constexpr double brightDiodeScale = -0.002, bodyDiodeScale = -0.01;
constexpr double brightClipGain = 15.0, bodyClipGain = 6.0;
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
                     Pair{brightClipGain, bodyClipGain}, rateGain);
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    tone = toneTarget;
}

double PulsaretCymbal::renderWithTwoInputs (double metalHigh, double metalLow)
{
    return renderRatios (MetalShaper::ratioOf<true> (metalHigh) - 1.0, MetalShaper::ratioOf<true> (metalLow) - 1.0);
}

void PulsaretCymbal::renderBlock (const EngineMath::Pair* ratiosLessOne, double* out, int count) noexcept
{
    for (int n = 0; n < count;)
    {
        const int run = releaseRunLength (count - n);
        if (run == 0)
        {
            out[n] = renderRatios (ratiosLessOne[n][0], ratiosLessOne[n][1]);
            ++n;
        }
        else
        {
            n += renderRelease (ratiosLessOne + n, out + n, run);
        }
    }
}

int PulsaretCymbal::releaseRunLength (int count) const noexcept
{
    // The common case: sounding after the gate has ended, with level and tone settled.
    const double k = coefficients.levelSmoothing;
    const bool steady = active && gate == 0.0 && gateCounter <= -1.0 && staysPut (smoothedLevel, levelTarget, k) && staysPut (tone, toneTarget, k);
    return steady ? count : 0;
}

int PulsaretCymbal::renderRelease (const EngineMath::Pair* ratiosLessOne, double* out, int count) noexcept
{
    using Pair = EngineMath::Pair;
    auto s = shapers.state;
    const auto c = shapers.constants;

    // The envelopes fall towards 0: A and M by their own factors, B likewise, and N follows M.
    // As pairs {A, M} and {B, N}; the drive levels read {B, N} and A.
    Pair first = {envelopeA, envelopeM}, second = {envelopeB, envelopeN};
    const Pair firstKeeps = 1.0 - Pair{coefficientA, coefficientM};
    const Pair secondKeeps = 1.0 - Pair{coefficientB, coefficientN};
    const Pair secondFollows = {0.0, coefficientN};
    Pair drive = {driveLevel1, driveLevel2};

    const double brightWeight = tone * 3.0 * 0.026364, bodyWeight = (1.5 - tone * 0.5) * 0.65 * 0.026364;
    const double decay = peakDecay + 1e-20, gain = smoothedLevel;
    double peakLevel = peak, o = output;

    int n = 0;
    while (n < count)
    {
        const Pair y = MetalShaperPair::step (s, c, ratiosLessOne[n], drive);

        // The bright branch weighs its clipped signal by its drive level, the body cubes it.
        const Pair clipped = s.clipped;
        const Pair branches = clipped * Pair{drive[0] * 0.75, clipped[1] * clipped[1] * 0.125} + y;
        o = branches[0] * brightWeight + branches[1] * bodyWeight;

        first *= firstKeeps;
        second = second * secondKeeps + first * secondFollows;
        drive = EngineMath::maxOf (second * Pair{0.35, 1.26} + first * Pair{1.4, 0.0} - 0.1, Pair{0.0, 0.0});

        peakLevel = EngineMath::atLeast (std::abs (o), peakLevel) * decay;
        out[n++] = o * gain;
        if (peakLevel < 2e-05)
        {
            active = false;
            break;
        }
    }

    shapers.state = s;
    envelopeA = first[0];
    envelopeM = first[1];
    envelopeB = second[0];
    envelopeN = second[1];
    driveLevel1 = drive[0];
    driveLevel2 = drive[1];
    peak = peakLevel;
    output = o;
    gateCounter -= n;
    return n;
}
