#pragma once

#include "engine/Biquad.h"
#include "engine/EngineMath.h"
#include "engine/OnePoleHighPass.h"
#include "engine/PulsaretInstrument.h"
#include "engine/StateVariableFilter.h"

#include <cstdint>

/** Snare drum: a pitched resonant body swept down from the strike, plus the engine's
    noise chopped into a decaying burst ("Snappy") whose tail length "Tone" sets. */
class PulsaretSnareDrum : public PulsaretInstrument
{
public:
    void setLevel (double value) noexcept;
    void setTune (double value) noexcept;
    void setTone (double value) noexcept;
    void setSnappy (double value) noexcept;

    double renderWithInput (double noise) override;
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    /** renderWithInput, inline for the engine's loop. */
    double renderOne (double noise) noexcept;

    /** True when silent with its level settled: every next sample gives 0. */
    bool isQuiet() const noexcept { return !active && staysPut (smoothedLevel, levelTarget, coefficients.levelSmoothing); }

    double getToneTerm() const noexcept { return toneTerm; }
    double getTuneTerm() const noexcept { return tuneTerm; }

private:
    static double toneTermFor (double value) noexcept;
    static double tuneTermFor (double value) noexcept;

    double tone = 0.0, snappy = 0.0, tune = 0.0, level = 0.0;
    double toneTerm = 0.0, snappyInUse = 0.0, tuneTerm = 0.0;
    double levelTarget = 0.0, smoothedLevel = 0.0;
    int32_t driveCounter = 0;
    double drive = 0.0, driveAmount = 0.0;
    double noiseEnvelope = 0.0, noiseEnvelopeCoefficient = 0.0;
    double pitchEnvelope = 0.0, pitchEnvelopeCoefficient = 0.0;
    double noiseGate = 0.0, gatedNoise = 0.0;
    OnePoleHighPass highPass1, highPass2;
    Biquad bandPass;
    double excitation = 0.0, limitedExcitation = 0.0;
    double f = 0.0, q = 0.0, lp = 0.0, hp = 0.0, bp = 0.0;
    double sixthOfRate = 0.0, piOverRate = 0.0, inverseDriveAmount = 0.0;
    double tonal = 0.0, output = 0.0;
};

inline double PulsaretSnareDrum::renderOne (double noise) noexcept
{
    const double k = coefficients.smoothing;
    smoothTowards (smoothedLevel, levelTarget, coefficients.levelSmoothing);

    output = 0.0;

    if (active)
    {
        if (drivePulseEnds (driveCounter))
        {
            drive = 0.0;
            noiseEnvelopeCoefficient = k * 0.0008;
        }

        const double dr = drive;
        const double da = driveAmount;

        excitation = da * highPass1.process (dr) * 2.2;
        limitedExcitation = EngineMath::atLeast (excitation - 0.07 * bp, -1.0);

        f = StateVariableFilter::movingFrequencyFactor (pitchEnvelope * 462.0 + tuneTerm + 211.0, sixthOfRate, piOverRate);

        const double x = limitedExcitation + 1e-20;
        lp = f * bp + lp + 1e-20;
        hp = (x - lp) + 1e-20;
        bp = hp * f + bp + 1e-20;
        // Below -1 the folded value is the larger, so the fold is a maximum.
        bp = EngineMath::atLeast (bp, (bp + 1.0) * 0.5 - 1.0);

        tonal = bp * inverseDriveAmount;

        // The noise's sign is random: a select, not a branch.
        noiseGate = EngineMath::selectIfLess (noise, 0.0, 0.0, noiseGate - (noiseGate - 1.0) * k * 0.2);

        gatedNoise = noiseEnvelope <= 0.0001 ? 0.0 : (noiseEnvelope - 0.0001) * noiseGate;
        const double yb = bandPass.process (highPass2.process (gatedNoise));

        output = (-tonal - 2.0 * yb * snappyInUse) * 0.14896;

        if (dr == 0.0)
            noiseEnvelopeCoefficient = (toneTerm + 0.0008) * k;

        smoothTowards (pitchEnvelope, da * dr, pitchEnvelopeCoefficient);
        smoothTowards (noiseEnvelope, dr, noiseEnvelopeCoefficient);
    }

    followPeak (output);
    return output * smoothedLevel;
}
