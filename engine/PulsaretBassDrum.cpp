#include "engine/PulsaretBassDrum.h"

#include <algorithm>
#include <cmath>

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
    decayTerm = (1.0 - value) + 0.5;
}

void PulsaretBassDrum::updateTune() noexcept
{
    tuneTerm = tune + 0.5;
    // The two resonances only move with tune and rate, so their sines are taken here.
    f1 = StateVariableFilter::frequencyFactor (61.34 * tuneTerm, coefficients.sampleRate);
    f2 = StateVariableFilter::frequencyFactor (130.0 * tuneTerm, coefficients.sampleRate);
}

void PulsaretBassDrum::updateAttack() noexcept
{
    attackTerm = 1.0 - attack * attack;
    clickCoefficient = std::exp (-2.0 * 3.141592653589793 * (1600.0 - 1580.0 * attackTerm) / coefficients.sampleRate);
    attackGainTarget = std::pow (16321.433236935407, 1.0 - attack) * 0.0001838186496918834 + 0.999816181350308;
}

void PulsaretBassDrum::trigger (double velocity)
{
    if (velocity == 0.0)
        return;

    PulsaretInstrument::trigger (velocity);
    gate = 1.0;
    drive = velocity * 3.4385;
    gateCounter = coefficients.sampleRate * 0.001125;
    gateSmoothing = coefficients.smoothing * 0.006;
}

void PulsaretBassDrum::setSampleRate (double rate)
{
    PulsaretInstrument::setSampleRate (rate);
    dcBlocker.setCutoff (30.0, rate);
    dcBlocker.reset();
    click = 0.0;
    svf.reset();
    q1 = decayTerm * 0.13;
    q2 = 0.285;
    updateTune();
    updateAttack();
    levelTarget = level;
    // Silent until the next hit anyway: start the level where it is set, so the first hit after the host
    // (re)starts audio is not faded in.
    smoothedLevel = levelTarget;
    attackGain = attackGainTarget;
    decayTerm = (1.0 - decay) + 0.5;
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
