#include "engine/PulsaretBassDrum.h"

#include <algorithm>
#include <cmath>

namespace
{
// Tune and decay knobs map to factors from 0.5 to 1.5 around their middle.
constexpr double knobTermOffset = 0.5;
// The two resonances at the middle tune: the body and its overtone.
constexpr double bodyResonanceHz = 61.34;
constexpr double overtoneResonanceHz = 130.0;
// The click low-pass: 1600 Hz at full attack down to 20 Hz at none.
constexpr double clickCutoffHz = 1600.0;
constexpr double clickCutoffRangeHz = 1580.0;
// The gain that makes up for a softened attack: 1 at full attack up to 4 at none, on an exponential curve.
constexpr double attackGainCurveBase = 16321.433236935407;
constexpr double attackGainCurveScale = 0.0001838186496918834;
constexpr double attackGainCurveOffset = 0.999816181350308;
// How hard a full-velocity strike drives the resonances, and how fast the gate edge is smoothed.
constexpr double bassStrikeDrive = 3.4385;
constexpr double gateSmoothingFactor = 0.006;
// The DC blocker's corner, below the body resonance.
constexpr double dcBlockerHz = 30.0;
// The resonances' damping: the body's follows the decay knob, the overtone's is fixed.
constexpr double bodyDampingPerDecay = 0.13;
constexpr double overtoneDamping = 0.285;
} // namespace

void PulsaretBassDrum::setLevel (double value) noexcept
{
    level = value;
    levelTarget = value;
}

void PulsaretBassDrum::setTune (double value) noexcept
{
    tune = value;
    updateTune();
}

void PulsaretBassDrum::setAttack (double value) noexcept
{
    attack = value;
    updateAttack();
}

void PulsaretBassDrum::setDecay (double value) noexcept
{
    decay = value;
    decayTerm = (1.0 - value) + knobTermOffset;
}

void PulsaretBassDrum::updateTune() noexcept
{
    tuneTerm = tune + knobTermOffset;
    // The two resonances only move with tune and rate, so their sines are taken here.
    f1 = StateVariableFilter::frequencyFactor (bodyResonanceHz * tuneTerm, coefficients.sampleRate);
    f2 = StateVariableFilter::frequencyFactor (overtoneResonanceHz * tuneTerm, coefficients.sampleRate);
}

void PulsaretBassDrum::updateAttack() noexcept
{
    attackTerm = 1.0 - attack * attack;
    clickCoefficient = std::exp (-2.0 * 3.141592653589793 * (clickCutoffHz - clickCutoffRangeHz * attackTerm) / coefficients.sampleRate);
    attackGainTarget = std::pow (attackGainCurveBase, 1.0 - attack) * attackGainCurveScale + attackGainCurveOffset;
}

void PulsaretBassDrum::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    PulsaretInstrument::trigger (velocity);
    gate = 1.0;
    drive = velocity * bassStrikeDrive;
    gateCounter = coefficients.sampleRate * gateSeconds;
    gateSmoothing = coefficients.smoothing * gateSmoothingFactor;
}

void PulsaretBassDrum::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    dcBlocker.setCutoff (dcBlockerHz, rate);
    dcBlocker.reset();
    click = 0.0;
    svf.reset();
    q1 = decayTerm * bodyDampingPerDecay;
    q2 = overtoneDamping;
    updateTune();
    updateAttack();
    levelTarget = level;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    attackGain = attackGainTarget;
    decayTerm = (1.0 - decay) + knobTermOffset;
}

double PulsaretBassDrum::render()
{
    return renderOne();
}

void PulsaretBassDrum::renderRun (double* out, int count) noexcept
{
    // Nothing changes the targets within a run, so settled smoothers stay settled through it. The samples
    // go to a buffer of our own first, which the compiler knows the voice's fields are not part of.
    double run[maxRun];
    const double k = coefficients.levelSmoothing;
    for (int done = 0; done < count; done += maxRun)
    {
        const int length = std::min (maxRun, count - done);
        if (staysPut (smoothedLevel, levelTarget, k) && staysPut (attackGain, attackGainTarget, k))
            for (int n = 0; n < length; ++n)
                run[n] = renderOne<false>();
        else
            for (int n = 0; n < length; ++n)
                run[n] = renderOne();
        std::copy (run, run + length, out + done);
    }
}
