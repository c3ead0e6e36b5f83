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

    /** renderWithInput for count samples of the noise. */
    void renderRun (const double* noise, double* out, int count) noexcept;

    /** True when silent with its level settled: every next sample gives 0. */
    bool isQuiet() const noexcept { return !active && staysPut (smoothedLevel, levelTarget, coefficients.levelSmoothing); }

    double getToneTerm() const noexcept { return toneTerm; }
    double getTuneTerm() const noexcept { return tuneTerm; }

private:
    struct RunState;

    template <bool levelMoves, bool struck>
    void renderRunWith (const double* noise, double* out, int count) noexcept;

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
