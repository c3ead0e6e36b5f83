#pragma once

#include "engine/Biquad.h"
#include "engine/EngineMath.h"
#include "engine/OnePoleHighPass.h"
#include "engine/PulsaretInstrument.h"
#include "engine/StateVariableFilter.h"

#include <cstdint>

/** A tom: a resonant filter struck by a short pulse, its pitch falling from
    base + sweep depth towards the base, with a band-passed noise layer, followed
    by the bass drum's step-hold and output smoothing. */
class PulsaretTom : public PulsaretInstrument
{
public:
    PulsaretTom (double sweepDecay, double baseFrequency, double sweepDepth, double outputGain) noexcept;

    void setLevel (double value) noexcept;
    void setTune (double value) noexcept;
    void setDecay (double value) noexcept;

    double renderWithInput (double noise) override;
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    /** renderWithInput, inline for the engine's loop. */
    double renderOne (double noise) noexcept;

    /** True when both toms are silent and their levels settled, as the engine renders them
        linked (the hi tom takes the low tom's level before each sample) or not: every next
        sample gives 0. */
    static bool pairIsQuiet (const PulsaretTom& low, const PulsaretTom& hi, bool linked) noexcept
    {
        const double k = low.coefficients.levelSmoothing;
        if (low.active || hi.active || !staysPut (low.smoothedLevel, low.levelTarget, k))
            return false;
        if (linked)
            return hi.smoothedLevel == low.smoothedLevel && hi.levelTarget == low.levelTarget;
        return hi.levelTarget == hi.level && staysPut (hi.smoothedLevel, hi.level, k);
    }

    /** Renders both toms for count samples from the same noise, as the engine hears them: linked, the hi
        tom takes the low tom's level before each sample and lowOut gets their sum (hiOut 0). While either
        rings they step together in the two lanes of a vector, with renderOne's arithmetic in renderOne's
        order, so the samples are the very same. */
    static void renderPair (PulsaretTom& low, PulsaretTom& hi, const double* noise, double* lowOut, double* hiOut, int count, bool linked) noexcept;

    /** Linked toms: this tom takes the other's smoothed level and target, so one level rules both. */
    void followLevelOf (const PulsaretTom& other) noexcept
    {
        smoothedLevel = other.smoothedLevel;
        levelTarget = other.levelTarget;
    }

    /** Unlinked again: the target returns to this tom's own level. */
    void restoreLevelTarget() noexcept { levelTarget = level; }

    double getTuneMultiplier() const noexcept { return tuneMultiplier; }
    double getDamping() const noexcept { return damping; }
    double getDecayCoefficient() const noexcept { return decayCoefficient; }

private:
    struct PairLanes;

    double tune = 0.0, decay = 0.0, level = 0.0;
    double tuneMultiplier = 0.0, decayCoefficient = 0.0;
    double levelTarget = 0.0, smoothedLevel = 0.0;
    int32_t driveCounter = 0;
    double drive = 0.0, driveAmount = 0.0;
    double pitchEnvelope = 0.0, pitchEnvelopeCoefficient = 0.0;
    double sweepDecay, baseFrequency, sweepDepth, outputGain; // fixed at construction
    OnePoleHighPass highPass;
    Biquad noiseBandPass;
    double noiseDrive = 0.0, noiseEnvelope = 0.0, noiseEnvelopeCoefficient = 0.0;
    double excitation = 0.0;
    double f = 0.0, damping = 0.0;
    double sixthOfRate = 0.0, piOverRate = 0.0;
    StateVariableFilter svf;
    double output = 0.0;
};

inline double PulsaretTom::renderOne (double noise) noexcept
{
    const double k = coefficients.smoothing;
    smoothTowards (smoothedLevel, levelTarget, coefficients.levelSmoothing);

    output = 0.0;

    if (active)
    {
        if (drivePulseEnds (driveCounter))
        {
            drive = 0.0;
            noiseDrive = 0.0;
        }

        const double dr = drive;
        if (dr == 0.0)
            noiseEnvelopeCoefficient = decayCoefficient * k;

        excitation = highPass.process (dr) * 6.5;

        f = StateVariableFilter::movingFrequencyFactor (baseFrequency * tuneMultiplier + pitchEnvelope * sweepDepth, sixthOfRate, piOverRate);
        svf.process (excitation, f, damping);
        // Below -1 the folded value is the larger, so the fold is a maximum; from -1 up it is not above
        // the value. A branch keeps the fold off the recursion's path while it does not bite.
        if (svf.bp < -1.0)
            svf.bp = EngineMath::atLeast (svf.bp, (svf.bp + 1.0) * 0.4 - 1.0);

        const double yb = noiseBandPass.process (noise);
        double out = (noiseEnvelope * yb * 0.15 + svf.bp) * outputGain;

        smoothTowards (noiseEnvelope, noiseDrive, noiseEnvelopeCoefficient);
        pitchEnvelope = pitchEnvelope - (pitchEnvelope * pitchEnvelopeCoefficient + 1e-20);

        out = stepHold (out);
        output = smoothOutput (out) * 0.2;
    }

    followPeak (output);
    return output * smoothedLevel;
}
