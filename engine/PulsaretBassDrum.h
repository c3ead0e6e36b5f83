#pragma once

#include "engine/EngineMath.h"
#include "engine/OnePoleHighPass.h"
#include "engine/PulsaretInstrument.h"
#include "engine/StateVariableFilter.h"

/** Bass drum: a gate pulse rings two resonant filters (61.34 and 130 Hz at tune 0.5),
    mixed through a click low-pass, the step-hold kink and a DC blocker. */
class PulsaretBassDrum : public PulsaretInstrument
{
public:
    void setLevel (double value) noexcept;
    void setTune (double value) noexcept;
    void setAttack (double value) noexcept;
    void setDecay (double value) noexcept;

    double render() override;
    void trigger (double velocity) override;
    void setSampleRate (double rate) override;

    /** render, inline for the engine's loop; levelsMove false skips the level smoothers, for when
        they stay put. */
    template <bool levelsMove = true>
    double renderOne() noexcept;

    /** renderOne for count samples, maxRun at a time. */
    void renderRun (double* out, int count) noexcept;
    static constexpr int maxRun = 32;

    /** True when silent and every state the render still moves stands still: the next
        samples all give quietOutput until the voice is triggered or a parameter changes. */
    bool isQuiet() const noexcept
    {
        return !active && staysPut (smoothedLevel, levelTarget, coefficients.levelSmoothing) && staysPut (attackGain, attackGainTarget, coefficients.levelSmoothing) && dcBlocker.previous == 0.0 && (0.0 - 0.0) * dcBlocker.gain + dcBlocker.pole * dcBlocker.y + 1e-20 == dcBlocker.y;
    }
    double quietOutput() const noexcept { return dcBlocker.y * smoothedLevel * attackGain; }

    double getAttackGainTarget() const noexcept { return attackGainTarget; }
    double getClickCoefficient() const noexcept { return clickCoefficient; }

private:
    void updateTune() noexcept;
    void updateAttack() noexcept;

    double tune = 0.0, attack = 0.0, decay = 0.0, level = 0.0;
    double tuneTerm = 0.0, attackTerm = 0.0, decayTerm = 0.0;
    double levelTarget = 0.0, smoothedLevel = 0.0;
    double attackGainTarget = 0.0, attackGain = 0.0;
    double gateCounter = 0.0, gate = 0.0, drive = 0.0, smoothedGate = 0.0, gateSmoothing = 0.0;
    OnePoleHighPass dcBlocker;
    double click = 0.0, clickCoefficient = 0.0;
    StateVariableFilterPair svf; // the two resonances side by side
    double f1 = 0.0, q1 = 0.0, y1 = 0.0;
    double f2 = 0.0, q2 = 0.0, y2 = 0.0;
    double output = 0.0;
};

template <bool levelsMove>
inline double PulsaretBassDrum::renderOne() noexcept
{
    if (levelsMove)
    {
        const double k = coefficients.levelSmoothing;
        smoothTowards (smoothedLevel, levelTarget, k);
        smoothTowards (attackGain, attackGainTarget, k);
    }

    double out = 0.0;

    if (active)
    {
        const double c = gateCounter;
        gateCounter = c - 1.0;
        // Same as (int) c == 0, without converting a counter that may have run far below.
        if (c > -1.0 && c < 1.0 && gate != 0.0)
            gate = 0.0;

        const double x = (gate - smoothedGate) * drive;

        q1 = decayTerm * 0.13;
        q2 = 0.285;
        // The second resonance hears half the pulse.
        svf.process (EngineMath::Pair{x, x * 0.5}, EngineMath::Pair{f1, f2}, EngineMath::Pair{q1, q2});
        // min (1.1, y) keeps y where it is not above 1.1, as the branch did.
        const EngineMath::Pair y = EngineMath::minOf (EngineMath::Pair{1.1, 1.1}, svf.bp + x * 0.1);
        y1 = y[0];
        y2 = y[1];

        click = (y2 * 0.5 + y1) * (1.0 - clickCoefficient) + clickCoefficient * click + 1e-20;
        smoothTowards (smoothedGate, gate, gateSmoothing);

        out = smoothOutput (stepHold (click));
    }

    output = out * 0.2;
    const double y = dcBlocker.process (output);
    followPeak (y);
    return y * smoothedLevel * attackGain;
}
